// The contract's operations done the program's way: the file read whole into the INI document,
// each write a read, a change and a whole-file replacement.
#pragma once

#include <string>
#include <vector>

#include "contract/ini_cases.h"
#include "settings/settings_file.h"

namespace kv::contract {

inline std::wstring ReadString(OsServices& os, const std::wstring& file, const IniReadCase& c) {
  return Module1::GetIniString(Module1::ReadIniFile(os, file), c.section, c.key, c.def);
}

inline std::int32_t ReadInt(OsServices& os, const std::wstring& file, const IniIntCase& c) {
  return Module1::GetIniInt(Module1::ReadIniFile(os, file), c.section, c.key, c.def);
}

inline bool WriteEach(OsServices& os, const std::wstring& file,
                      const std::vector<IniWrite>& writes) {
  for (const auto& w : writes) {
    Module1::IniFile ini = Module1::ReadIniFile(os, file);
    if (ini.state == FileState::Unreadable) return false;
    ini.doc.Set(w.section, w.key, w.value);
    if (!Module1::WriteIniFile(os, file, ini.doc)) return false;
  }
  return true;
}

}  // namespace kv::contract
