// The contract's operations done the program's way: the file read whole into the INI document,
// each write a read, a change and a whole-file replacement.
#pragma once

#include <string>
#include <vector>

#include "contract/ini_cases.h"
#include "settings/settings_file.h"

namespace kv::contract {

inline std::wstring ReadString(OsServices& os, const std::wstring& file, const IniReadCase& c) {
  return GetIniString(ReadIniFile(os, file), c.section, c.key, c.def);
}

inline std::int32_t ReadInt(OsServices& os, const std::wstring& file, const IniIntCase& c) {
  return GetIniInt(ReadIniFile(os, file), c.section, c.key, c.def);
}

inline bool WriteEach(OsServices& os, const std::wstring& file,
                      const std::vector<IniWrite>& writes) {
  for (const auto& w : writes) {
    IniFile ini = ReadIniFile(os, file);
    if (ini.state == FileState::Unreadable) return false;
    ini.doc.Set(w.section, w.key, w.value);
    if (!WriteIniFile(os, file, ini.doc)) return false;
  }
  return true;
}

}  // namespace kv::contract
