// The accessors on live windows. A form that is not live or a name that it
// does not hold leaves everything as it is and reads as empty.
#include <windows.h>

#include "ui/controls.h"
#include "ui/live_window_win.h"

namespace pavrelin {

namespace {

LiveControl* Lookup(Form form, const char* control) {
  LiveWindow* window = FindLiveWindow(form);
  if (!window || !control) return nullptr;
  LiveControl* found = window->Find(control);
  return found && found->hwnd ? found : nullptr;
}

bool HoldsText(const LiveControl& control) {
  return control.entry.kind == Kind::EditBox || control.entry.kind == Kind::Label;
}

}  // namespace

std::string GetText(Form form, const char* control) {
  const LiveControl* found = Lookup(form, control);
  if (!found || !HoldsText(*found)) return std::string();
  return WindowTextOf(found->hwnd);
}

void SetText(Form form, const char* control, const std::string& text) {
  const LiveControl* found = Lookup(form, control);
  if (!found || !HoldsText(*found)) return;
  // An edit control sends EN_CHANGE for WM_SETTEXT itself; a label stores
  // the caption as its window text and repaints.
  SetWindowTextA(found->hwnd, text.c_str());
}

void SetVisible(Form form, const char* control, bool visible) {
  const LiveControl* found = Lookup(form, control);
  if (!found || found->entry.kind == Kind::Timer) return;
  ShowWindow(found->hwnd, visible ? SW_SHOWNA : SW_HIDE);
  // "At once": a handler may keep the thread busy after this call, so the
  // change is painted now rather than when the loop next runs.
  RedrawWindow(GetParent(found->hwnd), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void SetTimerPeriod(Form form, const char* control, int milliseconds) {
  LiveControl* found = Lookup(form, control);
  if (!found || found->entry.kind != Kind::Timer) return;
  found->window.SetTimerPeriod(*found, milliseconds);
}

}  // namespace pavrelin
