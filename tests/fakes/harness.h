// A program on fakes: the context, the services and helpers shared by the core tests.
#pragma once

#include <memory>

#include "app/settings_window.h"
#include "fakes/fake_os.h"
#include "fakes/fake_toolkit.h"
#include "settings/program_state.h"
#include "settings/settings_file.h"

namespace kv::test {

struct Harness {
  FakeOs os;
  FakeToolkit tk{os};
  ProgramState ctx{os, tk};

  Harness() { ctx.AppDir = L"C:\\Tools\\"; }

  std::wstring SettingsFile() const { return ctx.AppDir + L"Setting.ini"; }
  // Writes keys into the settings file, as the profile functions would.
  void WriteIni(std::initializer_list<std::tuple<std::wstring, std::wstring, std::wstring>> keys) {
    IniFile ini = ReadIniFile(os, SettingsFile());
    for (const auto& [s, k, v] : keys) ini.doc.Set(s, k, v);
    WriteIniFile(os, SettingsFile(), ini.doc);
  }
  void AddFolders(std::initializer_list<FolderEntry> entries) {
    for (const auto& e : entries) ctx.FolderList.push_back(e);
  }
};

}  // namespace kv::test
