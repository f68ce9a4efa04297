#include "win/picture_box_window.h"

#include <utility>

#include "support/win_test_support.h"

namespace pavrelin::test {

namespace {

// What a box is made from; the box window's creation parameter.
struct BoxContent {
  PictureSettings settings;
  Bytes bytes;
};

LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* view = reinterpret_cast<PictureView*>(::GetWindowLongPtrA(box, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE: {
      const auto* content = static_cast<const BoxContent*>(
          reinterpret_cast<const CREATESTRUCTA*>(lparam)->lpCreateParams);
      view = new PictureView(box, content->settings, content->bytes);
      ::SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the view paints every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(box, &paint);
      RECT client;
      ::GetClientRect(box, &client);
      if (view) view->Paint(dc, client);
      ::EndPaint(box, &paint);
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wparam && view) view->OnShown();
      break;
    case WM_DESTROY:
      ::SetWindowLongPtrA(box, GWLP_USERDATA, 0);
      delete view;
      break;
  }
  return ::DefWindowProcA(box, message, wparam, lparam);
}

const char* RegisteredClass(const char* name, WNDPROC procedure, HBRUSH brush) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = ::GetModuleHandleA(nullptr);
  window_class.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  window_class.hbrBackground = brush;
  window_class.lpszClassName = name;
  ::RegisterClassA(&window_class);
  return name;
}

}  // namespace

void Pump() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  return WaitUntil(
      [&] {
        Pump();
        return condition();
      },
      timeout_ms);
}

BoxWindow::BoxWindow(const PictureSettings& settings, Bytes bytes, int width, int height, int left,
                     int top) {
  static const char* const frame_class = RegisteredClass(
      "PictureTestFrame", DefWindowProcA, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  static const char* const box_class = RegisteredClass("PictureTestBox", BoxProc, nullptr);
  const BoxContent content{settings, std::move(bytes)};
  frame_ = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, frame_class, "", WS_POPUP, left, top,
                             width, height, nullptr, nullptr, nullptr, nullptr);
  box_ = ::CreateWindowExA(0, box_class, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, width, height,
                           frame_, nullptr, nullptr, const_cast<BoxContent*>(&content));
  ::ShowWindow(box_, SW_SHOW);
  ::ShowWindow(frame_, SW_SHOWNOACTIVATE);
  ::UpdateWindow(frame_);
}

PictureView* BoxWindow::view() const {
  return reinterpret_cast<PictureView*>(::GetWindowLongPtrA(box_, GWLP_USERDATA));
}

void BoxWindow::Destroy() {
  if (frame_) ::DestroyWindow(frame_);
  frame_ = box_ = nullptr;
}

}  // namespace pavrelin::test
