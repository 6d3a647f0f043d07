// Move-only owners of Win32 handles, one line each: the handle type, its close function, and
// whether "none" is INVALID_HANDLE_VALUE rather than null.
#pragma once

#include <utility>

#include "windows_api.h"

namespace kv::win32 {

template <typename T, auto Close, bool kNoneIsMinusOne = false>
class UniqueAny {
 public:
  using pointer = T;

  UniqueAny() noexcept = default;
  explicit UniqueAny(pointer h) noexcept : h_(h) {}
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : h_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueAny() { reset(); }

  pointer get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != None(); }
  // For out-parameters of the API: frees what is held first.
  pointer* put() noexcept {
    reset();
    return &h_;
  }
  pointer release() noexcept { return std::exchange(h_, None()); }
  void reset(pointer h = None()) noexcept {
    if (h_ != None()) Close(h_);
    h_ = h;
  }

 private:
  static pointer None() noexcept {
    if constexpr (kNoneIsMinusOne) {
      return INVALID_HANDLE_VALUE;
    } else {
      return nullptr;
    }
  }
  pointer h_ = None();
};

// The browse dialog's item list goes back through the shell's own routine (shell32 ordinal
// 195), which also takes a null list.
inline void FreePidl(PIDLIST_ABSOLUTE pidl) noexcept {
  using FreeFn = void(WINAPI*)(void*);
  static const auto fn = reinterpret_cast<FreeFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("shell32"), MAKEINTRESOURCEA(195))));
  if (fn) fn(pidl);
}

using UniqueKey = UniqueAny<HKEY, ::RegCloseKey>;
using UniqueMenu = UniqueAny<HMENU, ::DestroyMenu>;
using UniqueWindow = UniqueAny<HWND, ::DestroyWindow>;
using UniqueFont = UniqueAny<HFONT, ::DeleteObject>;
using UniqueFile = UniqueAny<HANDLE, ::CloseHandle, true>;
using UniqueFind = UniqueAny<HANDLE, ::FindClose, true>;
using UniquePidl = UniqueAny<PIDLIST_ABSOLUTE, FreePidl>;

}  // namespace kv::win32
