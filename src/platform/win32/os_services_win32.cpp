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

FileRead Win32OsServices::ReadWholeFile(const std::wstring& path) {
  bool lossy = false;
  const std::string acp = ToAcp(path, &lossy);
  if (lossy) return {FileState::Missing, {}};  // no file can have that name here
  UniqueFile f{::CreateFileA(acp.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!f) {
    const DWORD e = ::GetLastError();
    const bool missing = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
    return {missing ? FileState::Missing : FileState::Unreadable, {}};
  }
  FileRead out{FileState::Ok, {}};
  if (LARGE_INTEGER size{}; ::GetFileSizeEx(f.get(), &size) && size.QuadPart < (1ll << 31))
    out.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(f.get(), buffer, sizeof buffer, &n, nullptr))
      return {FileState::Unreadable, {}};
    if (n == 0) return out;
    out.bytes.append(buffer, n);
  }
}

bool Win32OsServices::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  bool lossy = false;
  std::string target = ToAcp(path, &lossy);
  if (lossy) return false;
  // Links are followed: the file's final path names the real file (through symbolic links
  // and junctions, and under Wine through Unix links, which it shows as plain files), and the
  // scratch file is written beside it and renamed over it there, so the link stays a link.
  if (UniqueFile existing{
          ::CreateFileA(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)}) {
    std::string resolved(MAX_PATH, '\0');
    DWORD n = ::GetFinalPathNameByHandleA(existing.get(), resolved.data(),
                                          static_cast<DWORD>(resolved.size()), VOLUME_NAME_DOS);
    if (n >= resolved.size()) {
      resolved.resize(n + 1);
      n = ::GetFinalPathNameByHandleA(existing.get(), resolved.data(),
                                      static_cast<DWORD>(resolved.size()), VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= resolved.size()) return false;
    resolved.resize(n);
    // "\\?\C:\…" and "\\?\UNC\server\…" back to the forms every ANSI call takes.
    if (resolved.starts_with("\\\\?\\UNC\\")) {
      resolved = "\\\\" + resolved.substr(8);
    } else if (resolved.starts_with("\\\\?\\")) {
      resolved.erase(0, 4);
    }
    target = std::move(resolved);
  }
  const std::string scratch = target + ".new";
  ::DeleteFileA(scratch.c_str());  // left by an interrupted save; CREATE_ALWAYS copes if not
  bool ok;
  {
    UniqueFile f{::CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!f) return false;
    // A full disk can accept part of a write and say so only in the count.
    ok = true;
    for (std::string_view rest = bytes; ok && !rest.empty();) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 20));
      DWORD written = 0;
      ok = ::WriteFile(f.get(), rest.data(), chunk, &written, nullptr) && written == chunk;
      rest.remove_prefix(chunk);
    }
    LARGE_INTEGER size{};
    ok = ok && ::FlushFileBuffers(f.get()) && ::GetFileSizeEx(f.get(), &size) &&
         static_cast<std::uint64_t>(size.QuadPart) == bytes.size();
    ok = ::CloseHandle(f.release()) && ok;
  }
  ok = ok && ::MoveFileExA(scratch.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) ::DeleteFileA(scratch.c_str());
  return ok;
}

std::wstring Win32OsServices::DecodeFileText(std::string_view bytes) {
  // As the profile functions read a file: a UTF-8 mark means UTF-8 (the mark kept as U+FEFF).
  if (!bytes.starts_with("\xEF\xBB\xBF")) return FromAcp(bytes);
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string Win32OsServices::EncodeFileText(std::wstring_view text) {
  if (!text.starts_with(L'\uFEFF')) return ToAcp(text);
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

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
