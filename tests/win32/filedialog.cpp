// A program with a real Open dialog for the end-to-end scripts, and a clipboard reader.
//   classic DIR NAME STATE   GetOpenFileNameW in DIR with NAME typed in its file-name box
//   item DIR NAME STATE      the same with the common item dialog (IFileOpenDialog)
//   clipboard                prints the clipboard's text
//   foreground               prints the window class of the foreground window
// While a dialog is up, STATE holds its folder and the text of its file-name box, one per line
// (UTF-8), rewritten every 100 ms; the dialog's title is "KV Open Test".
#include <shobjidl.h>

#include <string>

#include "open_dialog.h"

namespace {

constexpr wchar_t kTitle[] = L"KV Open Test";
std::wstring g_state;
IFileDialog* g_item = nullptr;

std::string Utf8(const std::wstring& s) {
  std::string out(s.size() * 4, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

void WriteState(const std::wstring& folder, const std::wstring& name) {
  const std::string text = Utf8(folder + L"\n" + name + L"\n");
  const std::wstring scratch = g_state + L".new";
  HANDLE f = CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD n = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  CloseHandle(f);
  MoveFileExW(scratch.c_str(), g_state.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void CALLBACK Report(HWND, UINT, UINT_PTR, DWORD) {
  if (g_item) {
    std::wstring folder, name;
    IShellItem* item = nullptr;
    if (SUCCEEDED(g_item->GetFolder(&item))) {
      PWSTR path = nullptr;
      if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) folder = path;
      CoTaskMemFree(path);
      item->Release();
    }
    PWSTR typed = nullptr;
    if (SUCCEEDED(g_item->GetFileName(&typed)) && typed) name = typed;
    CoTaskMemFree(typed);
    WriteState(folder, name);
    return;
  }
  HWND dialog = FindWindowW(L"#32770", kTitle);
  if (!dialog) return;
  wchar_t folder[MAX_PATH * 2] = {}, name[MAX_PATH * 2] = {};
  SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(folder));
  SendMessageW(dialog, CDM_GETSPEC, MAX_PATH * 2, reinterpret_cast<LPARAM>(name));
  WriteState(folder, name);
}

int Classic(const std::wstring& dir, const std::wstring& name) {
  SetTimer(nullptr, 0, 100, Report);
  return kv::test::ShowOpenDialog(dir, name, kTitle) ? 0 : 2;
}

int Item(const std::wstring& dir, const std::wstring& name) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&dialog))))
    return 3;  // this system has no item dialog
  IShellItem* folder = nullptr;
  if (SUCCEEDED(SHCreateItemFromParsingName(dir.c_str(), nullptr, IID_PPV_ARGS(&folder)))) {
    dialog->SetFolder(folder);
    folder->Release();
  }
  dialog->SetFileName(name.c_str());
  dialog->SetTitle(kTitle);
  g_item = dialog;
  SetTimer(nullptr, 0, 100, Report);
  const HRESULT hr = dialog->Show(nullptr);
  g_item = nullptr;
  dialog->Release();
  return SUCCEEDED(hr) ? 0 : 2;
}

int Print(const std::wstring& s) {
  const std::string out = Utf8(s);
  DWORD n = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &n,
            nullptr);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring cmd = argc > 1 ? argv[1] : L"";
  if (cmd == L"clipboard") {
    const auto text = kv::test::ClipboardText();
    return text ? Print(*text) : 1;
  }
  if (cmd == L"foreground") {
    wchar_t cls[128] = {};
    GetClassNameW(GetForegroundWindow(), cls, 128);
    return Print(cls);
  }
  if (argc < 5) return 1;
  g_state = argv[4];
  if (cmd == L"classic") return Classic(argv[2], argv[3]);
  if (cmd == L"item") return Item(argv[2], argv[3]);
  return 1;
}
