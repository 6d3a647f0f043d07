// "Setting.ini": the drive option and the registered folders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ini_document.h"
#include "settings/program_state.h"

namespace kv {

// A settings file read once; every GetIni* of a load is answered from the document.
struct IniFile {
  FileState state = FileState::Missing;
  IniDocument doc;  // empty unless the file was read
};
IniFile ReadIniFile(OsServices& os, const std::wstring& file);
// The document's text in the file's code page, replacing the file in one step.
bool WriteIniFile(OsServices& os, const std::wstring& file, const IniDocument& doc);

std::int32_t GetIniInt(const IniFile& ini, const std::wstring& section, const std::wstring& key,
                       std::int32_t def);
std::wstring GetIniString(const IniFile& ini, const std::wstring& section, const std::wstring& key,
                          const std::wstring& def);
// False for a value that would not stay on its line: a CR, an LF or a NUL inside.
bool FitsOnIniLine(std::wstring_view value);

std::wstring SettingsPath(const ProgramState& ctx);
// "Folder" and the index with at least three digits.
std::wstring FolderSection(int k);

// A missing or unreadable file gives the defaults.
void LoadSettings(ProgramState& ctx);
// True when the settings file is no longer what LoadSettings read: other content, gone, or
// there now (one that cannot be read now is left to SaveSettings). Saving then would undo a
// change this run never saw.
bool SettingsFileChanged(ProgramState& ctx);
// True when "Setting.ini" now holds the state; false leaves the previous file as it was, and
// so does a file that exists but cannot be read (it may hold a list this program never saw).
bool SaveSettings(ProgramState& ctx);

}  // namespace kv
