// The Win32 system services, each one ANSI call with CP_ACP conversion around it.
#include "os_services_win32.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "codepage.h"
#include "unique_handle.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

HWND ToHwnd(NativeHandle h) { return reinterpret_cast<HWND>(h); }

// The per-user half of the classes lives below HKCU\Software\Classes.
std::pair<HKEY, std::string> ResolveKey(RegRoot root, const std::wstring& subkey) {
  if (root == RegRoot::CurrentUserClasses)
    return {HKEY_CURRENT_USER, "Software\\Classes\\" + ToAcp(subkey)};
  return {HKEY_CLASSES_ROOT, ToAcp(subkey)};
}

}  // namespace

std::int32_t Win32OsServices::GetPrivateProfileInt(const std::wstring& section,
                                                   const std::wstring& key, std::int32_t def,
                                                   const std::wstring& file) {
  return static_cast<std::int32_t>(::GetPrivateProfileIntA(
      ToAcp(section).c_str(), ToAcp(key).c_str(), def, ToAcp(file).c_str()));
}

std::wstring Win32OsServices::GetPrivateProfileString(const std::wstring& section,
                                                      const std::wstring& key,
                                                      const std::wstring& def,
                                                      const std::wstring& file) {
  const std::string s = ToAcp(section), k = ToAcp(key), d = ToAcp(def), f = ToAcp(file);
  // Wine garbles a multibyte value that does not fit and cuts one character too many from a
  // quoted value at an exact fit, so a read only counts when it left room to spare.
  constexpr DWORD kSlack = 8;
  constexpr DWORD kMax = 64u << 20;
  for (DWORD size = 512;; size *= 2) {
    std::vector<char> buffer(size, '\0');
    const DWORD n =
        ::GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer.data(), size, f.c_str());
    if (n + kSlack < size || size >= kMax) return FromAcpBuffer(buffer.data(), size);
  }
}

bool Win32OsServices::WritePrivateProfileString(const std::wstring& section,
                                                const std::wstring& key, const std::wstring& value,
                                                const std::wstring& file) {
  return ::WritePrivateProfileStringA(ToAcp(section).c_str(), ToAcp(key).c_str(),
                                      ToAcp(value).c_str(), ToAcp(file).c_str()) != FALSE;
}

bool Win32OsServices::ReplaceFile(const std::wstring& source, const std::wstring& target) {
  return ::MoveFileExA(ToAcp(source).c_str(), ToAcp(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void Win32OsServices::RemoveFile(const std::wstring& path) { ::DeleteFileA(ToAcp(path).c_str()); }

std::wstring Win32OsServices::GetLogicalDriveStrings() {
  std::array<char, 1024> buffer{};
  DWORD n = ::GetLogicalDriveStringsA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (n >= buffer.size()) n = 0;  // would not fit: report nothing rather than a cut list
  return FromAcp(std::string_view(buffer.data(), n ? n + 1 : 0));
}

void QuietDriveErrors() {
  ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

unsigned DriveTypeOf(const std::wstring& root) { return ::GetDriveTypeA(ToAcp(root).c_str()); }

std::wstring VolumeLabelOf(const std::wstring& root) {
  std::array<char, 1024> label{};
  ::GetVolumeInformationA(ToAcp(root).c_str(), label.data(), static_cast<DWORD>(label.size()),
                          nullptr, nullptr, nullptr, nullptr, 0);
  label.back() = '\0';
  return FromAcpBuffer(label.data(), label.size());
}

Win32OsServices::Win32OsServices() : makeQuery_(&Win32OsServices::SystemDriveQuery) {}

DriveQuery Win32OsServices::SystemDriveQuery(const std::wstring& root) {
  // Holds its own copy of the root and touches nothing else of this process's state.
  return [root](DriveReport& report) {
    report.Type(DriveTypeOf(root));
    report.Label(VolumeLabelOf(root));
  };
}

void Win32OsServices::ShellOpen(const std::wstring& path) {
  ::ShellExecuteA(nullptr, "open", ToAcp(path).c_str(), nullptr, nullptr, SW_SHOW);
}

void Win32OsServices::SetForegroundWindow(NativeHandle window) {
  ::SetForegroundWindow(ToHwnd(window));
}

Point Win32OsServices::GetCursorPos() {
  POINT pt{};
  ::GetCursorPos(&pt);
  return {pt.x, pt.y};
}

int Win32OsServices::LBItemFromPt(NativeHandle list, Point screen, bool autoScroll) {
  return ::LBItemFromPt(ToHwnd(list), POINT{screen.x, screen.y}, autoScroll ? TRUE : FALSE);
}

std::wstring Win32OsServices::BrowseForFolder(NativeHandle owner, const std::wstring& title) {
  const std::string acpTitle = ToAcp(title);
  BROWSEINFOA bi{};
  bi.hwndOwner = ToHwnd(owner);
  bi.pidlRoot = nullptr;
  bi.pszDisplayName = nullptr;
  bi.lpszTitle = acpTitle.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  bi.lpfn = nullptr;
  bi.lParam = 0;
  UniquePidl pidl{::SHBrowseForFolderA(&bi)};
  // The shell writes up to MAX_PATH bytes; one more keeps a NUL whatever it does.
  std::array<char, MAX_PATH + 1> path{};
  if (pidl) ::SHGetPathFromIDListA(pidl.get(), path.data());
  // The shell's free routine takes a null list too, and is called in every case.
  FreePidl(pidl.release());
  return FromAcpBuffer(path.data(), path.size());
}

std::optional<std::wstring> Win32OsServices::RegQueryString(RegRoot root,
                                                            const std::wstring& subkey,
                                                            const std::wstring& name) {
  const auto [base, path] = ResolveKey(root, subkey);
  UniqueKey key;
  if (::RegOpenKeyA(base, path.c_str(), key.put()) != ERROR_SUCCESS) return std::nullopt;
  std::array<char, 1024> data{};
  DWORD size = static_cast<DWORD>(data.size());
  if (::RegQueryValueExA(key.get(), ToAcp(name).c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  return FromAcpBuffer(data.data(), std::min<std::size_t>(size, data.size()));
}

bool Win32OsServices::RegSetString(RegRoot root, const std::wstring& subkey,
                                   const std::wstring& name, const std::wstring& value) {
  const auto [base, path] = ResolveKey(root, subkey);
  UniqueKey key;
  if (::RegCreateKeyA(base, path.c_str(), key.put()) != ERROR_SUCCESS) return false;
  const std::string data = ToAcp(value);
  return ::RegSetValueExA(key.get(), ToAcp(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool Win32OsServices::RegDeleteKey(RegRoot root, const std::wstring& subkey) {
  const auto [base, path] = ResolveKey(root, subkey);
  const LONG rc = ::RegDeleteKeyA(base, path.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace kv::win32
