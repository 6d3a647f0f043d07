// Writes done the program's way: each a read of the file whole into the INI document, a change
// and a whole-file replacement.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_file.h"

namespace kv::contract {

struct IniWrite {
  const wchar_t *section, *key, *value;
};

inline bool WriteEach(OsServices& os, const std::wstring& file, const std::vector<IniWrite>& ws) {
  for (const auto& w : ws) {
    IniFile ini = ReadIniFile(os, file);
    if (ini.state == FileState::Unreadable) return false;
    ini.doc.Set(w.section, w.key, w.value);
    if (!WriteIniFile(os, file, ini.doc)) return false;
  }
  return true;
}

}  // namespace kv::contract
