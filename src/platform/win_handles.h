// Move-only owners for the handles the program holds. Copying is deleted so
// that a handle can never be closed twice.
#pragma once

#include <windows.h>

namespace pavrelin {

template <typename T, void (*Close)(T)>
class Unique {
 public:
  Unique() = default;
  explicit Unique(T value) : value_(value) {}
  ~Unique() { reset(); }
  Unique(Unique&& other) noexcept : value_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  T get() const { return value_; }
  explicit operator bool() const { return value_ != T{}; }
  T release() {
    T value = value_;
    value_ = T{};
    return value;
  }
  void reset(T value = T{}) {
    if (value_ != T{}) Close(value_);
    value_ = value;
  }

 private:
  T value_{};
};

inline void CloseKernelHandle(HANDLE handle) { ::CloseHandle(handle); }
inline void DeleteGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
template <typename T>
void DeleteTypedGdiObject(T object) {
  ::DeleteObject(object);
}
inline void DeleteMemoryDc(HDC dc) { ::DeleteDC(dc); }
inline void DestroyIconHandle(HICON icon) { ::DestroyIcon(icon); }
template <typename T>
void ReleaseComObject(T* object) {
  object->Release();
}

using UniqueHandle = Unique<HANDLE, CloseKernelHandle>;
using UniqueFont = Unique<HFONT, DeleteTypedGdiObject<HFONT>>;
using UniqueBrush = Unique<HBRUSH, DeleteTypedGdiObject<HBRUSH>>;
using UniqueBitmap = Unique<HBITMAP, DeleteTypedGdiObject<HBITMAP>>;
using UniqueIcon = Unique<HICON, DestroyIconHandle>;
// A DC of CreateCompatibleDC; a window's DC is a WindowDc below.
using UniqueMemoryDc = Unique<HDC, DeleteMemoryDc>;
template <typename T>
using UniqueCom = Unique<T*, ReleaseComObject<T>>;

// The DC of a window, given back with ReleaseDC: its client area (GetDC),
// the whole window (GetWindowDC), or GetDCEx with the given flags.
class WindowDc {
 public:
  enum Area { kClient, kWhole };
  WindowDc(HWND window, Area area)
      : window_(window), dc_(area == kClient ? ::GetDC(window) : ::GetWindowDC(window)) {}
  WindowDc(HWND window, DWORD flags) : window_(window), dc_(::GetDCEx(window, nullptr, flags)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a DC for one scope; the DC's previous object comes
// back before either is deleted (a selected bitmap cannot be deleted). A null
// object leaves the DC as it is.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  explicit operator bool() const { return previous_ && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// CreateFileA reports failure as INVALID_HANDLE_VALUE, not as null.
inline UniqueHandle OwnFileHandle(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

inline void UnhookHook(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
using UniqueHook = Unique<HHOOK, UnhookHook>;

// BeginPaint ... EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintDc() { ::EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace pavrelin
