#include "settings/settings_file.h"

#include <cwchar>

namespace kv {

namespace {

IniFile ParseIniFile(OsServices& os, const FileRead& read) {
  IniFile ini{read.state, {}};
  if (read.state == FileState::Ok) ini.doc = IniDocument::Parse(os.DecodeFileText(read.bytes));
  return ini;
}

}  // namespace

IniFile ReadIniFile(OsServices& os, const std::wstring& file) {
  return ParseIniFile(os, os.ReadWholeFile(file));
}

bool WriteIniFile(OsServices& os, const std::wstring& file, const IniDocument& doc) {
  return os.ReplaceWholeFile(file, os.EncodeFileText(doc.Serialize()));
}

std::int32_t GetIniInt(const IniFile& ini, const std::wstring& section, const std::wstring& key,
                       std::int32_t def) {
  const auto value = ini.doc.Get(section, key);
  return value ? ParseProfileInt(*value, def) : def;
}

std::wstring GetIniString(const IniFile& ini, const std::wstring& section, const std::wstring& key,
                          const std::wstring& def) {
  std::wstring s = ini.doc.Get(section, key).value_or(def);
  // The profile functions hand back a C string: it ends at the first NUL.
  if (auto nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
  return s;
}

bool FitsOnIniLine(std::wstring_view value) {
  return value.find_first_of(std::wstring_view(L"\r\n\0", 3)) == std::wstring_view::npos;
}

std::wstring SettingsPath(const ProgramState& ctx) {
  return (ctx.SettingsDir.empty() ? ctx.AppDir : ctx.SettingsDir) + L"Setting.ini";
}

std::wstring FolderSection(int k) {
  wchar_t digits[16];
  std::swprintf(digits, 16, L"%03d", k);
  return L"Folder" + std::wstring(digits);
}

void LoadSettings(ProgramState& ctx) {
  ctx.SettingsAsLoaded = ctx.os.ReadWholeFile(SettingsPath(ctx));
  const IniFile ini = ParseIniFile(ctx.os, ctx.SettingsAsLoaded);
  ctx.FolderList = EmptyFolderList();
  // A hand-edited 256 must not wrap to 0 and hide the drives.
  ctx.ShowDrives = GetIniInt(ini, L"Main", L"Drive", 1) != 0 ? 1 : 0;
  // Saving numbers on past 999, so loading does too: up to the first missing title.
  for (int k = 1;; ++k) {
    const std::wstring section = FolderSection(k);
    std::wstring title = GetIniString(ini, section, L"Title", L"");
    if (title.empty()) break;
    ctx.FolderList.push_back({std::move(title), GetIniString(ini, section, L"Path", L"")});
  }
}

bool SettingsFileChanged(ProgramState& ctx) {
  // The whole content, not the time stamp: a copy synced in keeps its own time, and a save
  // within the file system's time resolution would not show.
  const FileRead now = ctx.os.ReadWholeFile(SettingsPath(ctx));
  // Unreadable now: the save refuses it and says so; a question first would only delay that.
  if (now.state == FileState::Unreadable) return false;
  return now.state != ctx.SettingsAsLoaded.state || now.bytes != ctx.SettingsAsLoaded.bytes;
}

bool SaveSettings(ProgramState& ctx) {
  const std::wstring file = SettingsPath(ctx);
  if (ctx.os.ReadWholeFile(file).state == FileState::Unreadable) return false;
  // The keys of the step-by-step save from an empty file, in its order; the file then takes
  // the whole text in one step, so an interrupted save never leaves a half-written list.
  IniDocument ini;
  ini.Set(L"Main", L"Drive", L" " + std::to_wstring(ctx.ShowDrives));
  const int n = UBound(ctx.FolderList);
  for (int k = 1; k <= n; ++k) {
    const FolderEntry& e = ctx.FolderList[k];
    if (!FitsOnIniLine(e.Title) || !FitsOnIniLine(e.Path)) return false;
    const std::wstring section = FolderSection(k);
    ini.Set(section, L"Title", e.Title);
    ini.Set(section, L"Path", e.Path);
  }
  return WriteIniFile(ctx.os, file, ini);
}

}  // namespace kv
