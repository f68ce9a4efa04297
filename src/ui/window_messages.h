// The program's own window messages and timer ids, in one place so that no
// two parts pick the same number.
#pragma once

#include <windows.h>

namespace pavrelin {

// Posted to a live window by DestroyFormWindow; handled only while the
// window's destroy-pending flag is set.
constexpr UINT kMsgCloseRequest = WM_APP + 1;

// Posted by a new browser box to itself: the WebBrowser control is made when
// the loop that is running gets to it.
constexpr UINT kMsgStartBrowser = WM_APP + 2;

// The one system timer that a timer control's hidden window owns.
constexpr UINT_PTR kPeriodicTimerId = 1;

// The id under which the standard controls of a live window are subclassed.
constexpr UINT_PTR kControlSubclassId = 1;

}  // namespace pavrelin
