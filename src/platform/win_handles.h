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

inline void CloseFont(HFONT font) { ::DeleteObject(font); }
inline void CloseBrush(HBRUSH brush) { ::DeleteObject(brush); }
inline void CloseIcon(HICON icon) { ::DestroyIcon(icon); }

using UniqueHandle = Unique<HANDLE, CloseKernelHandle>;
using UniqueFont = Unique<HFONT, CloseFont>;
using UniqueBrush = Unique<HBRUSH, CloseBrush>;
using UniqueIcon = Unique<HICON, CloseIcon>;

// CreateFileA reports failure as INVALID_HANDLE_VALUE, not as null.
inline UniqueHandle OwnFileHandle(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace pavrelin
