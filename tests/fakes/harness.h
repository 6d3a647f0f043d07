// A program on fakes: the context, the services and helpers shared by the core tests.
#pragma once

#include "app/form1.h"
#include "fakes/fake_toolkit.h"
#include "settings/settings_file.h"

namespace kv::test {

struct Harness {
  FakeOs os;
  FakeToolkit tk{os};
  Module1::Context ctx{os, tk};

  Harness() { ctx.AppDir = L"C:\\Tools\\"; }
  std::wstring SettingsFile() const { return ctx.AppDir + L"Setting.ini"; }
  // Writes keys into the settings file, as the profile functions would.
  void WriteIni(std::initializer_list<std::tuple<std::wstring, std::wstring, std::wstring>> keys) {
    Module1::IniFile ini = Module1::ReadIniFile(os, SettingsFile());
    for (const auto& [s, k, v] : keys) ini.doc.Set(s, k, v);
    Module1::WriteIniFile(os, SettingsFile(), ini.doc);
  }
  void AddFolders(const std::vector<FolderEntry>& entries) {
    ctx.FolderList.insert(ctx.FolderList.end(), entries.begin(), entries.end());
  }
};

}  // namespace kv::test
