// Where a picture box puts its picture: the rectangle, in the box's client
// area, that the picture is drawn into for each display mode.
#pragma once

#include "ui/control_model.h"

namespace pavrelin {

// display_mode 0: natural size at the top-left corner; 1: stretched over the
// whole box; 2: natural size centred, or shrunk by one factor for both
// directions until it fits, centred. Any other mode draws as 0. The result
// may reach past the box (mode 0), where the box clips it.
Rect PicturePlace(int display_mode, int box_width, int box_height, int picture_width,
                  int picture_height);

}  // namespace pavrelin
