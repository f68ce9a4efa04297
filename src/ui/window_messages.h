// The program's own window messages and timer ids, in one place so that no
// two parts pick the same number.
#pragma once

#include <windows.h>

namespace pavrelin {

// Posted to a live window by DestroyFormWindow; handled only while the
// window's destroy-pending flag is set.
constexpr UINT kMsgCloseRequest = WM_APP + 1;

// The one system timer that a timer control's hidden window owns.
constexpr UINT_PTR kPeriodicTimerId = 1;

// A new browser box's own timer: the WebBrowser control is made when the loop
// that is running gets to it. A timer rather than a posted message: a message
// box whose loop ends drops the message it has just taken from the queue
// (Wine does when the closing click is sent from another thread), and a
// posted message lost so would leave the box empty for good, while a timer
// fires again.
constexpr UINT_PTR kStartBrowserTimerId = 1;

// The id under which the standard controls of a live window are subclassed.
constexpr UINT_PTR kControlSubclassId = 1;

}  // namespace pavrelin
