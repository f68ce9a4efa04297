// A window built from its layout: the frame, every control with the handles
// it owns, the keyboard rules, and the routing of control events to the
// wiring. One LiveWindow object per live window; the window services own it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win_handles.h"
#include "ui/control_model.h"

namespace pavrelin {

class LiveWindow;
class PictureView;

// One control of a live window, in stored order. hwnd stays null for a kind
// that has no window of its own here (the browser box).
struct LiveControl {
  LiveControl(LiveWindow& owner, const ControlEntry& control_entry);
  ~LiveControl();
  LiveControl(const LiveControl&) = delete;
  LiveControl& operator=(const LiveControl&) = delete;

  LiveWindow& window;
  const ControlEntry& entry;
  HWND hwnd = nullptr;
  bool attempted = false;
  UniqueFont own_font;  // null: the default GUI font
  UniqueBrush background;
  COLORREF text_colour = 0;
  COLORREF background_colour = 0;
  int timer_period = 0;
  std::unique_ptr<PictureView> picture;
  bool picture_shown = false;

  HFONT Font() const;
};

class LiveWindow {
 public:
  // Creates the window and all its controls, hidden, as the layout says; null
  // when the window or any control cannot be created. The layout must outlive
  // the window. The owner is ignored when null.
  static std::unique_ptr<LiveWindow> Build(Form form, const Layout& layout, HWND owner);
  ~LiveWindow();
  LiveWindow(const LiveWindow&) = delete;
  LiveWindow& operator=(const LiveWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  Form form() const { return form_; }
  const Layout& layout() const { return layout_; }

  // The control with this name, or null.
  LiveControl* Find(const char* name);
  // The control whose window this is, or null.
  LiveControl* FromHwnd(HWND hwnd);

  // Shows the frame in its layout's start state (normal, minimised, maximised).
  void ShowInStartState();

  // Property 8 of a timer: negative counts as 0, the current period changes
  // nothing, anything else restarts the count.
  void SetTimerPeriod(LiveControl& timer, int milliseconds);

  // Modal bookkeeping: the windows this one disabled, with their state before.
  void DisableWhileModal(HWND other);
  // DestroyFormWindow: flag the request and post it to the window.
  void RequestClose();

  // Tab, Shift+Tab, Esc and Enter on a window of this one; true when the key
  // was consumed by the window's rules. Esc may destroy this object.
  bool HandleKey(WPARAM key, HWND focus);

 private:
  LiveWindow(Form form, const Layout& layout);

  bool CreateFrame(HWND owner);
  bool CreateControl(std::size_t index);
  void Stack();
  void ShowControls();
  void ReEnableDisabled();
  void CloseNow();
  void MoveFocus(HWND focus, bool backwards);

  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnFrameMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnNcDestroy();

  Form form_;
  const Layout& layout_;
  HWND hwnd_ = nullptr;
  bool building_ = true;  // no after-destroy work for a window that never went live
  bool destroy_pending_ = false;
  UniqueBrush background_;
  UniqueIcon big_icon_;
  UniqueIcon small_icon_;
  std::vector<std::pair<HWND, bool>> disabled_;
  std::vector<std::unique_ptr<LiveControl>> controls_;
};

// The whole text of a window, in the ANSI code page.
std::string WindowTextOf(HWND hwnd);

// The keyboard rules for a message the loop is about to dispatch; true when
// the message was consumed and must not be dispatched.
bool TranslateWindowKeys(const MSG& msg);

// Provided by the window services: the live window of a form, the wiring, and
// the bookkeeping once a live window's frame is gone.
LiveWindow* FindLiveWindow(Form form);
void RaiseEvent(Form form, const char* control, Event event);
void AfterWindowDestroyed(Form form);

}  // namespace pavrelin
