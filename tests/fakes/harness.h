// A program on fakes: the context, the services and helpers shared by the core tests.
#pragma once

#include "app/settings_window.h"
#include "fakes/fake_toolkit.h"
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
  void AddFolders(const std::vector<FolderEntry>& entries) {
    ctx.FolderList.insert(ctx.FolderList.end(), entries.begin(), entries.end());
  }
};

}  // namespace kv::test
