// One settings window per settings file on Win32: a message-only window named after the file,
// which later starts find and send their command line to with WM_COPYDATA.
#include <cstdint>
#include <cwchar>

#include "toolkit_win32.h"

namespace kv::win32 {
namespace {

constexpr wchar_t kOneWindowClass[] = L"KivoretOneWindow";
constexpr ULONG_PTR kCommandLineData = 0x4B56;  // WM_COPYDATA's dwData for a command line
constexpr UINT kTakeStart = WM_APP + 1;
using UniqueMutex = UniqueAny<HANDLE, ::CloseHandle>;

// The settings file's path as Windows compares it (case aside), as an FNV-1a hash: a name
// that fits a window title and a mutex name, neither of which takes every path.
std::wstring NameFor(std::wstring settingsFile) {
  ::CharLowerBuffW(settingsFile.data(), static_cast<DWORD>(settingsFile.size()));
  std::uint64_t h = 14695981039346656037ull;
  for (const wchar_t c : settingsFile) h = (h ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
  wchar_t name[32];
  std::swprintf(name, 32, L"Kivoret.%016llx", static_cast<unsigned long long>(h));
  return name;
}

}  // namespace

bool Win32Toolkit::JoinOpenWindow(const std::wstring& settingsFile,
                                  const std::wstring& commandLine) {
  const std::wstring name = NameFor(settingsFile);
  // Held from the look until this run's own window exists, so that two starts at once cannot
  // both open a window. One whose holder died comes back abandoned, which still gives it to us.
  UniqueMutex mutex(::CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str()));
  const bool owned = mutex && ::WaitForSingleObject(mutex.get(), 5000) != WAIT_TIMEOUT;
  bool joined = false;
  // A run that died took its windows with it: what is found here is alive.
  if (HWND other = ::FindWindowExW(HWND_MESSAGE, nullptr, kOneWindowClass, name.c_str())) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(other, &pid);
    ::AllowSetForegroundWindow(pid);  // the foreground is this new run's to pass on
    COPYDATASTRUCT data{kCommandLineData, static_cast<DWORD>((commandLine.size() + 1) * 2),
                        const_cast<wchar_t*>(commandLine.c_str())};
    DWORD_PTR taken = 0;
    // A hung window counts as gone: this run opens its own.
    joined = ::SendMessageTimeoutW(other, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                   SMTO_ABORTIFHUNG, 3000, &taken) != 0 &&
             taken == 1;
  }
  if (!joined) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = OneWindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kOneWindowClass;
    ::RegisterClassExW(&wc);  // fails harmlessly when registered already
    oneWindow_.reset(::CreateWindowExW(0, kOneWindowClass, name.c_str(), 0, 0, 0, 0, 0,
                                       HWND_MESSAGE, nullptr, instance_, this));
  }
  if (owned) ::ReleaseMutex(mutex.get());
  return joined;
}

LRESULT CALLBACK Win32Toolkit::OneWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    ::SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Toolkit*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    if (data->dwData != kCommandLineData || data->cbData < 2 || data->cbData % 2 != 0) return 0;
    self->starts_.emplace_back(static_cast<const wchar_t*>(data->lpData), data->cbData / 2 - 1);
    // Answered at once: the sender must not wait on a question the window may ask.
    ::PostMessageW(hwnd, kTakeStart, 0, 0);
    return 1;
  }
  if (self && msg == kTakeStart && !self->starts_.empty()) {
    const std::wstring commandLine = std::move(self->starts_.front());
    self->starts_.pop_front();
    if (self->events_ && self->form_) self->events_->OnAnotherStart(commandLine);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32Toolkit::BringToFront() {
  if (!form_) return;
  if (::IsIconic(form_)) ::ShowWindow(form_, SW_RESTORE);
  ::SetForegroundWindow(form_);
}

}  // namespace kv::win32
