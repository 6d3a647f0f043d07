// File dialogs and Explorer windows of other programs, driven from outside; the clipboard.
#include "window_handover.h"

#include <exdisp.h>
#include <shlguid.h>
#include <wrl/client.h>

#include <cstring>
#include <optional>

#include "os_services_win32.h"
#include "unique_handle.h"

namespace kv::win32 {
namespace {

using Microsoft::WRL::ComPtr;

constexpr int kFileNameCombo = 0x47C;  // cmb13: the file-name box of both dialog kinds
constexpr int kFileNameEdit = 0x480;   // edt1: the same box in dialogs without the combo
constexpr int kFileList = 0x460;       // lst1: the classic dialog's file list
constexpr UINT kSendTimeoutMs = 2000;
constexpr DWORD kNavigationTimeoutMs = 3000;

std::wstring ClassOf(HWND h) {
  wchar_t name[128] = {};
  ::GetClassNameW(h, name, 128);
  return name;
}

// Messages to another program's window: one that hangs, or that refuses us (an elevated
// window), reads as a failure instead of blocking.
bool Send(HWND h, UINT msg, WPARAM w, LPARAM l, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs,
                               result ? result : &ignored) != 0;
}

std::optional<std::wstring> TextOf(HWND h) {
  DWORD_PTR length = 0;
  if (!Send(h, WM_GETTEXTLENGTH, 0, 0, &length)) return std::nullopt;
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!Send(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied))
    return std::nullopt;
  text.resize(copied);
  return text;
}

// Set and read back: a box that did not take the text exactly has not taken it.
bool SetTextOf(HWND h, const std::wstring& text) {
  return Send(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) && TextOf(h) == text;
}

struct Search {
  int id;
  const wchar_t* cls;  // or null: any class
  HWND found = nullptr;
};

HWND FindDescendant(HWND parent, int id, const wchar_t* cls) {
  Search s{id, cls};
  ::EnumChildWindows(
      parent,
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if ((s->id < 0 || ::GetDlgCtrlID(h) == s->id) && (!s->cls || ClassOf(h) == s->cls) &&
            ::IsWindowVisible(h)) {
          s->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// The file-name box of a file dialog, or null when `dialog` is no file dialog.
HWND FileNameBox(HWND dialog) {
  if (ClassOf(dialog) != L"#32770") return nullptr;
  // A dialog that merely reuses the control id is not one: a file dialog shows the files.
  if (!FindDescendant(dialog, -1, L"SHELLDLL_DefView") &&
      !FindDescendant(dialog, kFileList, nullptr))
    return nullptr;
  for (int id : {kFileNameCombo, kFileNameEdit}) {
    HWND box = FindDescendant(dialog, id, nullptr);
    if (!box) continue;
    const std::wstring cls = ClassOf(box);
    if (cls == L"ComboBox" || cls == L"ComboBoxEx32" || cls == L"Edit") return box;
  }
  return nullptr;
}

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool NavigateFileDialog(HWND dialog, const std::wstring& path) {
  if (!dialog || !::IsWindow(dialog) || path.empty()) return false;
  // A path the dialog cannot go to would make it show an error box of its own.
  if (!IsDirectory(path)) return false;
  HWND box = FileNameBox(dialog);
  if (!box || !::IsWindowEnabled(dialog)) return false;  // disabled: its own modal box is up
  const std::optional<std::wstring> typed = TextOf(box);
  if (!typed) return false;
  if (!SetTextOf(box, path)) {
    SetTextOf(box, *typed);
    return false;
  }
  // The folder view is made anew for each folder the dialog shows.
  HWND view = FindDescendant(dialog, -1, L"SHELLDLL_DefView");
  DWORD_PTR def = 0;
  int button = IDOK;
  if (Send(dialog, DM_GETDEFID, 0, 0, &def) && HIWORD(def) == DC_HASDEFID) button = LOWORD(def);
  // As a click on the button: the dialog reads the box and goes to the folder.
  Send(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
  // Having gone there, a dialog shows a new folder view, or empties the box (some do both);
  // one that did neither has not taken the path.
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (!::IsWindow(box)) return ::IsWindow(dialog) == FALSE;  // the dialog closed on it
    const std::optional<std::wstring> now = TextOf(box);
    if (now && *now != path) break;
    if (view && !::IsWindow(view)) break;
    if (HWND shown = FindDescendant(dialog, -1, L"SHELLDLL_DefView"); shown && shown != view) break;
    if (::GetTickCount() - start > kNavigationTimeoutMs) {
      SetTextOf(box, *typed);
      return false;
    }
    ::Sleep(30);
  }
  if (TextOf(box) != typed) SetTextOf(box, *typed);
  ::SetForegroundWindow(dialog);
  return true;
}

bool IsExplorerWindow(HWND window) {
  const std::wstring cls = window ? ClassOf(window) : std::wstring();
  return cls == L"CabinetWClass" || cls == L"ExploreWClass" || cls == L"ExplorerWClass";
}

std::vector<ShellBrowserTab> ShellBrowserTabs() {
  std::vector<ShellBrowserTab> tabs;
  ComPtr<IShellWindows> windows;
  if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&windows))))
    return tabs;
  long count = 0;
  if (FAILED(windows->get_Count(&count))) return tabs;
  for (long i = 0; i < count; ++i) {
    VARIANT index{};
    index.vt = VT_I4;
    index.lVal = i;
    ComPtr<IDispatch> item;
    ComPtr<IWebBrowser2> browser;
    if (windows->Item(index, &item) != S_OK || !item || FAILED(item.As(&browser))) continue;
    SHANDLE_PTR top = 0;
    if (FAILED(browser->get_HWND(&top))) continue;
    // Several tabs share one top-level window; only the one in view shows its folder view.
    bool current = false;
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> shellBrowser;
    ComPtr<IShellView> view;
    HWND viewWindow = nullptr;
    if (SUCCEEDED(browser.As(&services)) &&
        SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&shellBrowser))) &&
        SUCCEEDED(shellBrowser->QueryActiveShellView(&view)) &&
        SUCCEEDED(view->GetWindow(&viewWindow)))
      current = ::IsWindowVisible(viewWindow) != FALSE;
    tabs.push_back({reinterpret_cast<HWND>(top), current, [browser](const std::wstring& path) {
                      // oleaut32 for this rare path only: the launcher loads no more at start
                      // than it needs.
                      HMODULE oleaut = ::LoadLibraryW(L"oleaut32.dll");
                      const auto alloc = reinterpret_cast<BSTR(WINAPI*)(const OLECHAR*)>(
                          reinterpret_cast<void*>(::GetProcAddress(oleaut, "SysAllocString")));
                      const auto release = reinterpret_cast<void(WINAPI*)(BSTR)>(
                          reinterpret_cast<void*>(::GetProcAddress(oleaut, "SysFreeString")));
                      if (!alloc || !release) return false;
                      VARIANT target{}, empty{};  // VT_EMPTY
                      target.vt = VT_BSTR;
                      target.bstrVal = alloc(path.c_str());
                      if (!target.bstrVal) return false;
                      const HRESULT hr =
                          browser->Navigate2(&target, &empty, &empty, &empty, &empty);
                      release(target.bstrVal);
                      return SUCCEEDED(hr);
                    }});
  }
  return tabs;
}

bool NavigateShellWindow(std::span<const ShellBrowserTab> tabs, HWND window,
                         const std::wstring& path) {
  std::vector<const ShellBrowserTab*> ofWindow;
  for (const ShellBrowserTab& tab : tabs)
    if (window && tab.topLevel == window) ofWindow.push_back(&tab);
  const ShellBrowserTab* chosen = ofWindow.size() == 1 ? ofWindow.front() : nullptr;
  // Several tabs: the one in view; when none says so, which one the user sees is a guess.
  for (const ShellBrowserTab* tab : ofWindow)
    if (!chosen && tab->current) chosen = tab;
  if (!chosen) return false;
  return chosen->navigate && chosen->navigate(path);
}

bool PutClipboardText(const std::wstring& text) {
  // Without an owner window the clipboard takes no data.
  UniqueWindow owner(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr));
  if (!owner) return false;
  bool open = false;
  // Another program may hold it open for a moment.
  for (int attempt = 0; attempt < 20 && !(open = ::OpenClipboard(owner.get())); ++attempt)
    ::Sleep(25);
  if (!open) return false;
  bool done = false;
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (::EmptyClipboard()) {
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      if (void* p = ::GlobalLock(memory)) {
        std::memcpy(p, text.c_str(), bytes);
        ::GlobalUnlock(memory);
        done = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      }
      if (!done) ::GlobalFree(memory);  // the clipboard owns it only once it took it
    }
  }
  ::CloseClipboard();
  return done;
}

// The services of the window the user came from, on top of the above.
NativeHandle Win32OsServices::GetForegroundWindow() {
  return reinterpret_cast<NativeHandle>(::GetForegroundWindow());
}

bool Win32OsServices::NavigateWindow(NativeHandle window, const std::wstring& path) {
  HWND h = reinterpret_cast<HWND>(window);
  if (!h || !::IsWindow(h)) return false;
  if (IsExplorerWindow(h)) return NavigateShellWindow(ShellBrowserTabs(), h, path);
  return NavigateFileDialog(h, path);
}

bool Win32OsServices::SetClipboardText(const std::wstring& text) { return PutClipboardText(text); }

}  // namespace kv::win32
