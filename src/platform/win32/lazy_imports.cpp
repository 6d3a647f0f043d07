// comctl32 and shell32 loaded on first use: the launcher needs neither before the popup, and
// Wine's comctl32 alone makes a bare popup's process a seventh larger. Each import slot the
// libraries' calls go through points at a stub that loads the DLL, fills the slot and calls on.
// (MSVC builds get the same from /DELAYLOAD.)
#include "windows_api.h"

#if defined(__MINGW32__)

namespace {

template <typename Fn>
Fn Resolve(Fn* slot, const wchar_t* dll, const char* name) {
  HMODULE m = ::LoadLibraryW(dll);
  auto fn = m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m, name))) : nullptr;
  // A system DLL without one of its documented functions: nothing sensible is left to do.
  if (!fn) ::FatalAppExitW(0, dll);
  *slot = fn;
  return fn;
}

}  // namespace

// Functions the headers declare dllimport are called through their __imp_ slot; the others
// call the plain name, which is then defined here.
#define KV_LAZY_SLOT(dll, ret, name, params, args) \
  extern "C" ret WINAPI Lazy##name params;         \
  extern "C" {                                     \
  ret(WINAPI* __imp_##name) params = Lazy##name;   \
  }                                                \
  ret WINAPI Lazy##name params { return Resolve(&__imp_##name, dll, #name) args; }
#define KV_LAZY_NAME(dll, ret, name, params, args)   \
  ret WINAPI name params {                           \
    static ret(WINAPI* fn) params = nullptr;         \
    return (fn ? fn : Resolve(&fn, dll, #name))args; \
  }

KV_LAZY_SLOT(L"comctl32.dll", BOOL, InitCommonControlsEx, (const INITCOMMONCONTROLSEX* icc), (icc))
KV_LAZY_SLOT(L"comctl32.dll", int, LBItemFromPt, (HWND list, POINT pt, BOOL autoScroll),
             (list, pt, autoScroll))
KV_LAZY_NAME(L"comctl32.dll", BOOL, SetWindowSubclass,
             (HWND h, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data), (h, proc, id, data))
KV_LAZY_NAME(L"comctl32.dll", BOOL, RemoveWindowSubclass, (HWND h, SUBCLASSPROC proc, UINT_PTR id),
             (h, proc, id))
KV_LAZY_NAME(L"comctl32.dll", LRESULT, DefSubclassProc, (HWND h, UINT msg, WPARAM wp, LPARAM lp),
             (h, msg, wp, lp))
KV_LAZY_SLOT(L"shell32.dll", HINSTANCE, ShellExecuteA,
             (HWND h, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show),
             (h, verb, file, params, dir, show))
KV_LAZY_SLOT(L"shell32.dll", PIDLIST_ABSOLUTE, SHBrowseForFolderA, (LPBROWSEINFOA info), (info))
KV_LAZY_SLOT(L"shell32.dll", BOOL, SHGetPathFromIDListA, (PCIDLIST_ABSOLUTE pidl, LPSTR path),
             (pidl, path))

#endif
