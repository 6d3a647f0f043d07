#include "settings/settings_file.h"

#include <cwchar>

namespace kv::Module1 {

std::int32_t GetIniInt(Context& ctx, const std::wstring& file, const std::wstring& section,
                       const std::wstring& key, std::int32_t def) {
  return ctx.os.GetPrivateProfileInt(section, key, def, file);
}

std::wstring GetIniString(Context& ctx, const std::wstring& file, const std::wstring& section,
                          const std::wstring& key, const std::wstring& def) {
  std::wstring s = ctx.os.GetPrivateProfileString(section, key, def, file);
  if (auto nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
  return s;
}

bool WriteIniString(Context& ctx, const std::wstring& file, const std::wstring& section,
                    const std::wstring& key, const std::wstring& value) {
  return ctx.os.WritePrivateProfileString(section, key, value, file);
}

bool TruncateFile(Context& ctx, const std::wstring& file) { return ctx.tk.TruncateFile(file); }

std::wstring SettingsPath(const Context& ctx) {
  return (ctx.SettingsDir.empty() ? ctx.AppDir : ctx.SettingsDir) + L"Setting.ini";
}

std::wstring FolderSection(int k) {
  wchar_t digits[16];
  std::swprintf(digits, 16, L"%03d", k);
  return L"Folder" + std::wstring(digits);
}

void LoadSettings(Context& ctx) {
  const std::wstring file = SettingsPath(ctx);
  ctx.FolderList = EmptyFolderList();
  // A hand-edited 256 must not wrap to 0 and hide the drives.
  ctx.ShowDrives = GetIniInt(ctx, file, L"Main", L"Drive", 1) != 0 ? 1 : 0;
  // Saving numbers on past 999, so loading does too: up to the first missing title.
  for (int k = 1;; ++k) {
    const std::wstring section = FolderSection(k);
    std::wstring title = GetIniString(ctx, file, section, L"Title", L"");
    if (title.empty()) break;
    ctx.FolderList.push_back({std::move(title), GetIniString(ctx, file, section, L"Path", L"")});
  }
}

bool SaveSettings(Context& ctx) {
  // The same keys, in the same order, go to a scratch file beside the real one, which then
  // takes its place in one step: an interrupted save never leaves a half-written list.
  const std::wstring file = SettingsPath(ctx);
  const std::wstring temp = file + L".new";
  bool ok = TruncateFile(ctx, temp);
  ok = ok && WriteIniString(ctx, temp, L"Main", L"Drive", L" " + std::to_wstring(ctx.ShowDrives));
  const int n = UBound(ctx.FolderList);
  for (int k = 1; ok && k <= n; ++k) {
    const std::wstring section = FolderSection(k);
    ok = WriteIniString(ctx, temp, section, L"Title", ctx.FolderList[k].Title) &&
         WriteIniString(ctx, temp, section, L"Path", ctx.FolderList[k].Path);
  }
  ok = ok && ctx.os.ReplaceFile(temp, file);
  if (!ok) ctx.os.RemoveFile(temp);
  return ok;
}

}  // namespace kv::Module1
