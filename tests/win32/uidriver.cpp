// Reads and drives the controls of the program's windows, which no X tool can see (Wine draws
// them inside one X window). One command per run; output UTF-8; status 1 when it fails.
//   text|settext|click|items TITLE N [TEXT]   the window's N-th child (creation = tab order)
//   rect TITLE                                client area on screen: x y w h
//   msgbox [MS] | answer ID                   the キヴォレット box: its text; press ID (1, 6, 7)
#include <windows.h>

#include <string>

namespace {

int Print(const std::wstring& s) {
  std::string out(s.size() * 4, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  DWORD n = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &n, 0);
  return 0;
}

std::wstring TextOf(HWND h) {
  wchar_t buf[4096] = {};
  SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), 0, 5000, nullptr);
  return buf;
}

HWND WaitTop(const wchar_t* cls, const std::wstring& title, long ms) {
  for (long t = 0;; t += 100, Sleep(100))
    if (HWND h = FindWindowW(cls, title.c_str()); (h && IsWindowVisible(h)) || t >= ms)
      return h && IsWindowVisible(h) ? h : nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring cmd = argc > 1 ? argv[1] : L"";
  const long n = argc > 2 ? wcstol(argv[argc > 3 ? 3 : 2], nullptr, 10) : 10000;
  if (cmd == L"msgbox" || cmd == L"answer") {
    HWND box = WaitTop(L"#32770", L"キヴォレット", cmd == L"msgbox" ? n : 5000);
    if (!box) return 1;
    if (cmd == L"msgbox") return Print(TextOf(GetDlgItem(box, 0xFFFF)));
    // Posted: a sent click would wait for whatever the answer opens next.
    return !PostMessageW(box, WM_COMMAND, MAKEWPARAM(n, BN_CLICKED), (LPARAM)GetDlgItem(box, n));
  }
  HWND form = argc > 2 ? WaitTop(nullptr, argv[2], 15000) : nullptr;
  if (!form) return 1;
  RECT r{};
  GetClientRect(form, &r);
  MapWindowPoints(form, nullptr, reinterpret_cast<POINT*>(&r), 2);
  if (cmd == L"rect")
    return Print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                 std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
  HWND child = GetWindow(form, GW_CHILD);
  for (long i = n; child && i-- > 0;) child = GetWindow(child, GW_HWNDNEXT);
  if (!child) return 1;
  if (cmd == L"text") return Print(TextOf(child));
  if (cmd == L"settext")
    return !SendMessageTimeoutW(child, WM_SETTEXT, 0, (LPARAM)argv[4], 0, 5000, nullptr);
  if (cmd == L"click") return !PostMessageW(child, BM_CLICK, 0, 0);
  if (cmd != L"items") return 1;
  std::wstring items, buf(4096, L'\0');
  for (LRESULT i = 0; i < SendMessageW(child, LB_GETCOUNT, 0, 0); ++i)
    items +=
        std::wstring(buf.data(), SendMessageW(child, LB_GETTEXT, i, (LPARAM)buf.data())) + L"|";
  return Print(items);
}
