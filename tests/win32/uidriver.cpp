// Drives the program's windows from outside for the end-to-end scripts (one command per run).
//   wait TITLE [MS]          wait for a visible top-level window; prints its handle
//   gone TITLE [MS]          wait until no such window is left
//   text TITLE N             text of the window's N-th child (creation order = tab order)
//   settext TITLE N TEXT     set it
//   click TITLE N            press the N-th child (a button or check box)
//   check TITLE N            0 or 1: the check box state
//   items TITLE N            the list box lines, one per line
//   select TITLE N I         select line I of the list box as a user click would
//   rect TITLE               client area's screen rectangle: x y w h
//   msgbox [MS]              wait for a message box titled キヴォレット; prints its text
//   answer ID                press the button ID (1 OK, 6 Yes, 7 No) of that message box
//   procs NAME               how many processes run the program NAME (e.g. kivoret.exe)
//   run COMMANDLINE          start a process with exactly this command line
//   show MS                  show a screen-filling window for MS milliseconds (pointer tracking)
// Output is UTF-8; exit status 1 when the awaited thing did not come.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <cwchar>
#include <string>
#include <vector>

namespace {

void Print(const std::wstring& s) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(), n, nullptr,
                      nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written,
            nullptr);
}

std::wstring TextOf(HWND h) {
  wchar_t buf[4096] = {};
  SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return buf;
}

HWND FindTop(const std::wstring& title, const wchar_t* cls = nullptr) {
  HWND h = FindWindowW(cls, title.c_str());
  return h && IsWindowVisible(h) ? h : nullptr;
}

HWND WaitTop(const std::wstring& title, DWORD ms, const wchar_t* cls = nullptr) {
  for (DWORD t = 0;; t += 100) {
    if (HWND h = FindTop(title, cls)) return h;
    if (t >= ms) return nullptr;
    Sleep(100);
  }
}

HWND Child(HWND parent, int n) {
  HWND h = GetWindow(parent, GW_CHILD);
  while (h && n-- > 0) h = GetWindow(h, GW_HWNDNEXT);
  return h;
}

int Fail(const wchar_t* what) {
  Print(std::wstring(L"uidriver: ") + what + L"\n");
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Fail(L"no command");
  const std::wstring cmd = argv[1];
  auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
  auto num = [&](int i, long def) { return i < argc ? std::wcstol(argv[i], nullptr, 10) : def; };

  if (cmd == L"wait") {
    HWND h = WaitTop(arg(2), static_cast<DWORD>(num(3, 10000)));
    if (!h) return Fail(L"window did not appear");
    Print(std::to_wstring(reinterpret_cast<UINT_PTR>(h)) + L"\n");
    return 0;
  }
  if (cmd == L"gone") {
    for (long t = 0; t <= num(3, 10000); t += 100) {
      if (!FindWindowW(nullptr, arg(2).c_str())) return 0;
      Sleep(100);
    }
    return Fail(L"window still there");
  }
  if (cmd == L"msgbox") {
    HWND box = WaitTop(L"キヴォレット", static_cast<DWORD>(num(2, 10000)), L"#32770");
    if (!box) return Fail(L"no message box");
    Print(TextOf(GetDlgItem(box, 0xFFFF)));
    return 0;
  }
  if (cmd == L"answer") {
    HWND box = WaitTop(L"キヴォレット", 5000, L"#32770");
    if (!box) return Fail(L"no message box");
    const int id = static_cast<int>(num(2, IDOK));
    HWND button = GetDlgItem(box, id);
    if (!button) return Fail(L"no such button");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return 0;
  }
  if (cmd == L"procs") {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof(pe);
    int count = 0;
    for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe))
      if (_wcsicmp(pe.szExeFile, arg(2).c_str()) == 0) ++count;
    CloseHandle(snap);
    Print(std::to_wstring(count) + L"\n");
    return 0;
  }
  if (cmd == L"run") {
    std::wstring line = arg(2);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      return Fail(L"cannot start");
    Print(std::to_wstring(pi.dwProcessId) + L"\n");
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
  }
  if (cmd == L"show") {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"UiDriverTracker";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"tracker", WS_POPUP | WS_VISIBLE, 0,
                             0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                             nullptr, nullptr, wc.hInstance, nullptr);
    const DWORD end = GetTickCount() + static_cast<DWORD>(num(2, 2000));
    MSG msg;
    while (GetTickCount() < end) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(20);
    }
    DestroyWindow(w);
    return 0;
  }

  HWND form = WaitTop(arg(2), 5000);
  if (!form) return Fail(L"window not found");
  if (cmd == L"rect") {
    RECT rc{};
    GetClientRect(form, &rc);
    POINT pt{0, 0};
    ClientToScreen(form, &pt);
    Print(std::to_wstring(pt.x) + L" " + std::to_wstring(pt.y) + L" " + std::to_wstring(rc.right) +
          L" " + std::to_wstring(rc.bottom) + L"\n");
    return 0;
  }
  HWND child = Child(form, static_cast<int>(num(3, -1)));
  if (!child) return Fail(L"no such child");
  if (cmd == L"text") {
    Print(TextOf(child));
    return 0;
  }
  if (cmd == L"settext") {
    const std::wstring text = arg(4);
    SendMessageTimeoutW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return 0;
  }
  if (cmd == L"click") {
    // Posted: the handler may open a modal message box, which a sent message would wait for.
    PostMessageW(child, BM_CLICK, 0, 0);
    return 0;
  }
  if (cmd == L"check") {
    Print(std::to_wstring(SendMessageW(child, BM_GETCHECK, 0, 0)) + L"\n");
    return 0;
  }
  if (cmd == L"items") {
    const LRESULT n = SendMessageW(child, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      wchar_t buf[4096] = {};
      SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
      Print(std::wstring(buf) + L"\n");
    }
    return 0;
  }
  if (cmd == L"select") {
    SendMessageW(child, LB_SETCURSEL, static_cast<WPARAM>(num(4, 0)), 0);
    PostMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(child));
    return 0;
  }
  return Fail(L"unknown command");
}
