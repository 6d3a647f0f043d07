// Baseline: a bare Win32 program that pops a menu of the program-name item, a line and N items
// at the cursor from a hidden window, and nothing else.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR args, int) {
  const int n = std::wcstol(args, nullptr, 10);
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"BarePopup";
  RegisterClassExW(&wc);
  HWND owner = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                               CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"キヴォレット Ver.1.0");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (int i = 1; i <= n; ++i) {
    wchar_t text[32];
    std::swprintf(text, 32, L"Folder %03d", i);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(i) + 1, text);
  }
  POINT pt{};
  GetCursorPos(&pt);
  SetForegroundWindow(owner);
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, pt.x, pt.y,
                   owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  DestroyWindow(owner);
  return 0;
}
