// Move-only owner of one Win32 handle; the traits say what "none" is and how to free it.
#pragma once

#include <utility>

#include "windows_api.h"

namespace kv::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::pointer;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(pointer h) noexcept : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  pointer get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Traits::invalid(); }
  // For out-parameters of the API: frees what is held first.
  pointer* put() noexcept {
    reset();
    return &h_;
  }
  pointer release() noexcept { return std::exchange(h_, Traits::invalid()); }
  void reset(pointer h = Traits::invalid()) noexcept {
    if (h_ != Traits::invalid()) Traits::close(h_);
    h_ = h;
  }

 private:
  pointer h_ = Traits::invalid();
};

struct KeyTraits {
  using pointer = HKEY;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { ::RegCloseKey(h); }
};
struct MenuTraits {
  using pointer = HMENU;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { ::DestroyMenu(h); }
};
struct WindowTraits {
  using pointer = HWND;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { ::DestroyWindow(h); }
};
struct IconTraits {
  using pointer = HICON;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { ::DestroyIcon(h); }
};
struct FontTraits {
  using pointer = HFONT;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { ::DeleteObject(h); }
};
struct FileTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer h) noexcept { ::CloseHandle(h); }
};
struct FindTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer h) noexcept { ::FindClose(h); }
};
// The browse dialog's item list; freed by the shell's own routine (shell32 ordinal 195).
struct PidlTraits {
  using pointer = PIDLIST_ABSOLUTE;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept;
  static void free(pointer h) noexcept;  // also for a null list
};

using UniqueKey = UniqueHandle<KeyTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniquePidl = UniqueHandle<PidlTraits>;

inline void PidlTraits::free(pointer h) noexcept {
  using FreeFn = void(WINAPI*)(void*);
  static const auto fn = reinterpret_cast<FreeFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("shell32"), MAKEINTRESOURCEA(195))));
  if (fn) fn(h);
}
inline void PidlTraits::close(pointer h) noexcept { free(h); }

}  // namespace kv::win32
