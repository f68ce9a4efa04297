// A window holding one picture box, for the picture view's tests and
// benchmark. The box hosts its view the way the window builder does: made at
// WM_CREATE, painted at WM_PAINT, told at WM_SHOWWINDOW, destroyed at
// WM_DESTROY.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/text.h"
#include "ui/control_model.h"
#include "ui/picture_view_win.h"

namespace pavrelin::test {

// Serves the thread's windows until no message is left.
void Pump();
// Keeps the thread's windows served while waiting for a condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeout_ms);

// A top-level window, always on top and without frame, at (left, top) on the
// screen, whose picture box fills it; the box is created hidden and shown
// before its window, as a built window's controls are.
class BoxWindow {
 public:
  BoxWindow(const PictureSettings& settings, Bytes bytes, int width, int height, int left = 40,
            int top = 40);
  ~BoxWindow() { Destroy(); }
  BoxWindow(const BoxWindow&) = delete;
  BoxWindow& operator=(const BoxWindow&) = delete;

  HWND box() const { return box_; }
  PictureView* view() const;
  void Destroy();

 private:
  HWND frame_ = nullptr;
  HWND box_ = nullptr;
};

}  // namespace pavrelin::test
