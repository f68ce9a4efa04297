// The browser box: a child window hosting the platform's WebBrowser control
// through OLE in-place activation.
#pragma once

#include <windows.h>

#include "ui/control_model.h"

namespace pavrelin {

// Creates the box at place inside parent with the given extra styles. When
// the running message loop next gets to it, the box makes its WebBrowser
// control, applies offline, silent and the text size, and starts loading the
// address once; where the control cannot be made, the box destroys itself and
// the window goes on without it. OLE must be initialised.
HWND CreateBrowserBox(HWND parent, int id, const Rect& place, DWORD style,
                      const BrowserSettings& settings);

}  // namespace pavrelin
