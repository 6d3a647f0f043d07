// Registry services in scratch keys, then the context-menu entry on the real Folder keys.
#include <gtest/gtest.h>

#include <string>

#include "codepage.h"
#include "os_services_win32.h"
#include "shell/context_menu.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

// The default value's raw bytes in the system code page, empty when missing.
std::string RawDefault(HKEY root, const char* path) {
  char data[2048] = {};
  DWORD size = sizeof(data);
  RegGetValueA(root, path, nullptr, RRF_RT_REG_SZ, nullptr, data, &size);
  return data;
}

// Scratch keys go below both roots: the per-user classes live below HKCU\Software\Classes.
void DeleteTrees(const char* key) {
  RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Classes\\" + std::string(key)).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
}

class RegistryTest : public testing::TestWithParam<RegRoot> {
 protected:
  void SetUp() override { DeleteTrees("KivoretTest"); }
  void TearDown() override { SetUp(); }
  bool Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return os.RegSetString(GetParam(), L"KivoretTest" + key, name, value);
  }
  std::optional<std::wstring> Query(const std::wstring& key, const wchar_t* name = L"") {
    return os.RegQueryString(GetParam(), L"KivoretTest" + key, name);
  }
  bool Delete(const std::wstring& key) { return os.RegDeleteKey(GetParam(), L"KivoretTest" + key); }
  win32::Win32OsServices os;
};

TEST_P(RegistryTest, SetOverwritesDeleteTakesLeavesOnlyOver1024BytesIsNulloptTextEndsAtNul) {
  for (auto [name, value] : {std::pair{L"", L"first"}, {L"", L"既定の値"}, {L"Named", L"other"}})
    ASSERT_TRUE(Set(L"\\a\\b", name, value));
  EXPECT_EQ(Query(L"\\a\\b"), L"既定の値");
  EXPECT_EQ(Query(L"\\a\\b", L"Named"), L"other");
  EXPECT_EQ(Query(L"\\a"), std::nullopt) << "no value on the way";
  EXPECT_EQ(Query(L"\\a\\b", L"Other"), std::nullopt);
  EXPECT_FALSE(Delete(L"\\a")) << "a key with subkeys stays";
  EXPECT_EQ(Query(L"\\a\\b"), L"既定の値");
  EXPECT_TRUE(Delete(L"\\a\\b"));
  EXPECT_EQ(Query(L"\\a\\b"), std::nullopt) << "a missing key";
  EXPECT_TRUE(Delete(L"\\a\\b")) << "a missing key counts as deleted";
  // Data needing more than 1024 bytes (with the NUL), also in CP932, is nullopt.
  const std::wstring fits(1023, L'a'), over(1024, L'a'), overInCp932(512, L'字');
  ASSERT_TRUE(Set(L"", L"Fits", fits) && Set(L"", L"Over", over) &&
              Set(L"", L"Cp932", overInCp932));
  EXPECT_EQ((std::vector{Query(L"", L"Fits"), Query(L"", L"Over"), Query(L"", L"Cp932")}),
            (std::vector<std::optional<std::wstring>>{fits, std::nullopt, std::nullopt}));
  // Text ends at the first NUL; raw, below the root's real place.
  const bool machine = GetParam() == RegRoot::ClassesRoot;
  RegSetKeyValueA(machine ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER,
                  machine ? "KivoretTest" : "Software\\Classes\\KivoretTest", nullptr, REG_SZ,
                  "abc\0def", 8);
  EXPECT_EQ(Query(L""), L"abc");
}

INSTANTIATE_TEST_SUITE_P(Roots, RegistryTest,
                         testing::Values(RegRoot::ClassesRoot, RegRoot::CurrentUserClasses),
                         [](const auto& i) { return i.index ? "User" : "Machine"; });

// The real entry below Folder\shell, as the settings window writes it.
TEST(ContextMenuEntryTest, AddDetectRemoveRoundTripInCp932AndAMachineWideEntryIsOurs) {
  DeleteTrees("Folder\\shell\\Kivoret");  // what a failed run left
  win32::Win32OsServices os;
  win32::Win32Toolkit tk;
  ProgramState ctx{os, tk};
  ctx.AppDir = L"C:\\Program Files\\キヴォレット\\";
  const std::string user = "Software\\Classes\\Folder\\shell\\Kivoret";
  ASSERT_FALSE(IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(SetContextMenuEntry(ctx, true));
  EXPECT_EQ(RawDefault(HKEY_CURRENT_USER, user.c_str()),
            "\x83\x4c\x83\x94\x83\x48\x83\x8c\x83\x62\x83\x67\x82\xc9\x93\x6f\x98\x5e(&F)");
  // The test program's own name stands in for kivoret.
  EXPECT_EQ(RawDefault(HKEY_CURRENT_USER, (user + "\\command").c_str()),
            "\"C:\\Program Files\\\x83\x4c\x83\x94\x83\x48\x83\x8c\x83\x62\x83\x67\\" +
                win32::ToAcp(tk.EXEName()) + ".exe\" \"%1\"");
  ASSERT_TRUE(SetContextMenuEntry(ctx, false));
  EXPECT_FALSE(IsContextMenuEntryRegistered(ctx));
  // A machine-wide entry of this copy is ours too.
  ASSERT_TRUE(os.RegSetString(RegRoot::ClassesRoot, folder_entry::CommandKey(kContextMenuVerb), L"",
                              ContextMenuCommand(ctx)));
  EXPECT_TRUE(IsContextMenuEntryRegistered(ctx));
  // Unless another copy's per-user entry hides it.
  ASSERT_TRUE(os.RegSetString(RegRoot::CurrentUserClasses,
                              folder_entry::CommandKey(kContextMenuVerb), L"",
                              L"\"D:\\Other\\launch.exe\" \"%1\""));
  EXPECT_FALSE(IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(SetContextMenuEntry(ctx, false));
  EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "Folder\\shell\\Kivoret"), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace kv::win32
