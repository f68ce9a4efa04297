#include "ui/picture_geometry.h"

#include <algorithm>
#include <cstdint>

namespace pavrelin {

namespace {
// a * b / c rounded to the nearest integer, without overflow for any int sizes.
int ScaleRounded(int a, int b, int c) {
  return static_cast<int>((std::int64_t{a} * b + c / 2) / c);
}
}  // namespace

Rect PicturePlace(int display_mode, int box_width, int box_height, int picture_width,
                  int picture_height) {
  if (display_mode == 1) return {0, 0, box_width, box_height};
  if (display_mode != 2 || picture_width <= 0 || picture_height <= 0)
    return {0, 0, picture_width, picture_height};

  int width = picture_width;
  int height = picture_height;
  if (width > box_width || height > box_height) {
    // The direction that overflows more sets the one factor for both.
    if (std::int64_t{picture_width} * box_height > std::int64_t{picture_height} * box_width) {
      width = box_width;
      height = ScaleRounded(picture_height, box_width, picture_width);
    } else {
      height = box_height;
      width = ScaleRounded(picture_width, box_height, picture_height);
    }
    // A sliver of a picture stays visible as at least one pixel.
    width = std::max(width, 1);
    height = std::max(height, 1);
  }
  return {(box_width - width) / 2, (box_height - height) / 2, width, height};
}

}  // namespace pavrelin
