// The browser box: a child window hosting the platform's WebBrowser control
// through OLE in-place activation.
#pragma once

#include <windows.h>

#include "ui/control_model.h"

namespace pavrelin {

// Creates the box hidden at place inside parent with the given extra styles,
// applies offline, silent and the text size, and starts loading the address
// once. Null when the WebBrowser control cannot be created on this machine:
// the window is then built without the box. OLE must be initialised.
HWND CreateBrowserBox(HWND parent, int id, const Rect& place, DWORD style,
                      const BrowserSettings& settings);

}  // namespace pavrelin
