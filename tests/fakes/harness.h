// A program on fakes: the context and the services the core tests share.
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
  void AddFolders(const std::vector<FolderEntry>& entries) {
    ctx.FolderList.insert(ctx.FolderList.end(), entries.begin(), entries.end());
  }
};

}  // namespace kv::test
