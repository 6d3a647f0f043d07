// Drives the program's windows from outside for the end-to-end scripts (one command per run).
//   wait TITLE [MS]          wait for a visible top-level window
//   gone TITLE [MS]          wait until no such window is left
//   text TITLE N             text of the window's N-th child (creation order = tab order)
//   settext TITLE N TEXT     set it
//   click TITLE N            press the N-th child (a button or check box)
//   check TITLE N            0 or 1: the check box state
//   items TITLE N            the list box lines, one per line
//   rect TITLE               client area's screen rectangle: x y w h
//   msgbox [MS]              wait for a message box titled キヴォレット; prints its text
//   answer ID                press the button ID (1 OK, 6 Yes, 7 No) of that message box
//   procs NAME               how many processes run the program NAME (e.g. kivoret.exe)
//   run COMMANDLINE          start a process with exactly this command line; prints its id
//   show MS                  show a screen-filling window for MS milliseconds (pointer tracking)
// Output is UTF-8; exit status 1 when the awaited thing did not come.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <cwchar>
#include <string>

namespace {

int Print(const std::wstring& s) {  // 0, to return
  std::string out(s.size() * 4, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  DWORD n = static_cast<DWORD>(out.size());
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), n, &n, nullptr);
  return 0;
}

std::wstring TextOf(HWND h) {
  wchar_t buf[4096] = {};
  SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return buf;
}

HWND Visible(HWND h) { return h && IsWindowVisible(h) ? h : nullptr; }

// Waits up to MS for a visible top-level window (or, with present false, for none).
HWND WaitTop(const std::wstring& title, long ms, const wchar_t* cls = nullptr,
             bool present = true) {
  for (long t = 0;; t += 100, Sleep(100))
    if (HWND h = Visible(FindWindowW(cls, title.c_str())); !h != present || t >= ms) return h;
}

int Fail(const wchar_t* what) { return Print(std::wstring(L"uidriver: ") + what + L"\n"), 1; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Fail(L"no command");
  const std::wstring cmd = argv[1];
  auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
  auto num = [&](int i, long def) { return i < argc ? std::wcstol(argv[i], nullptr, 10) : def; };

  if (cmd == L"wait") return WaitTop(arg(2), num(3, 10000)) ? 0 : Fail(L"window did not appear");
  if (cmd == L"gone")
    return WaitTop(arg(2), num(3, 10000), nullptr, false) ? Fail(L"window still there") : 0;
  if (cmd == L"msgbox" || cmd == L"answer") {
    HWND box = WaitTop(L"キヴォレット", cmd == L"msgbox" ? num(2, 10000) : 5000, L"#32770");
    if (!box) return Fail(L"no message box");
    if (cmd == L"msgbox") return Print(TextOf(GetDlgItem(box, 0xFFFF)));
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
      count += _wcsicmp(pe.szExeFile, arg(2).c_str()) == 0;
    CloseHandle(snap);
    return Print(std::to_wstring(count) + L"\n");
  }
  if (cmd == L"run") {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, argv[2], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return Fail(L"cannot start");
    for (HANDLE h : {pi.hThread, pi.hProcess}) CloseHandle(h);
    return Print(std::to_wstring(pi.dwProcessId) + L"\n");
  }
  if (cmd == L"show") {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"UiDriverTracker";
    CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(RegisterClassW(&wc)), L"tracker",
                    WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                    GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, wc.hInstance, nullptr);
    const DWORD end = GetTickCount() + static_cast<DWORD>(num(2, 2000));
    for (MSG msg; GetTickCount() < end; Sleep(20))
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return 0;
  }

  HWND form = WaitTop(arg(2), 5000);
  if (!form) return Fail(L"window not found");
  if (cmd == L"rect") {
    RECT rc{};
    GetClientRect(form, &rc);
    MapWindowPoints(form, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return Print(std::to_wstring(rc.left) + L" " + std::to_wstring(rc.top) + L" " +
                 std::to_wstring(rc.right - rc.left) + L" " + std::to_wstring(rc.bottom - rc.top) +
                 L"\n");
  }
  HWND child = GetWindow(form, GW_CHILD);
  for (long n = num(3, -1); child && n-- > 0;) child = GetWindow(child, GW_HWNDNEXT);
  if (!child) return Fail(L"no such child");
  if (cmd == L"text") return Print(TextOf(child));
  if (cmd == L"settext")  // and then 0
    SendMessageTimeoutW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(4).c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
  // Posted: the handler may open a modal message box, which a sent message would wait for.
  if (cmd == L"click") return PostMessageW(child, BM_CLICK, 0, 0), 0;
  if (cmd == L"check")
    return Print(std::to_wstring(SendMessageW(child, BM_GETCHECK, 0, 0)) + L"\n");
  for (LRESULT i = 0, n = SendMessageW(child, LB_GETCOUNT, 0, 0); cmd == L"items" && i < n; ++i) {
    wchar_t buf[4096] = {};
    SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    Print(std::wstring(buf) + L"\n");
  }
  return cmd == L"settext" || cmd == L"items" ? 0 : Fail(L"unknown command");
}
