// Registry services in scratch keys, then the context-menu entry on the real Folder keys.
#include <gtest/gtest.h>

#include <string>

#include "codepage.h"
#include "os_services_win32.h"
#include "shell/context_menu.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::test {
namespace {

// The default value's raw bytes in the system code page, empty when missing.
std::string RawDefault(HKEY root, const char* path) {
  char data[2048] = {};
  DWORD size = sizeof(data);
  RegGetValueA(root, path, nullptr, RRF_RT_REG_SZ, nullptr, data, &size);
  return data;
}

class RegistryTest : public testing::TestWithParam<RegRoot> {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\KivoretTest");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "KivoretTest");
  }
  bool Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return os.RegSetString(GetParam(), L"KivoretTest" + key, name, value);
  }
  std::optional<std::wstring> Query(const std::wstring& key, const wchar_t* name = L"") {
    return os.RegQueryString(GetParam(), L"KivoretTest" + key, name);
  }
  bool Delete(const std::wstring& key) { return os.RegDeleteKey(GetParam(), L"KivoretTest" + key); }
  win32::Win32OsServices os;
};

TEST_P(RegistryTest, SetCreatesThePathAndOverwritesQueryReadsBackDeleteTakesLeavesOnly) {
  ASSERT_TRUE(Set(L"\\a\\b", L"", L"first"));
  ASSERT_TRUE(Set(L"\\a\\b", L"", L"既定の値"));
  ASSERT_TRUE(Set(L"\\a\\b", L"Named", L"other"));
  EXPECT_EQ(Query(L"\\a\\b"), L"既定の値");
  EXPECT_EQ(Query(L"\\a\\b", L"Named"), L"other");
  EXPECT_EQ(Query(L"\\a"), std::nullopt) << "no value on the way";
  EXPECT_EQ(Query(L"\\a\\b", L"Other"), std::nullopt);
  EXPECT_FALSE(Delete(L"\\a")) << "a key with subkeys stays";
  EXPECT_EQ(Query(L"\\a\\b"), L"既定の値");
  EXPECT_TRUE(Delete(L"\\a\\b"));
  EXPECT_EQ(Query(L"\\a\\b"), std::nullopt) << "a missing key";
  EXPECT_TRUE(Delete(L"\\a\\b")) << "a missing key counts as deleted";
}

TEST_P(RegistryTest, DataNeedingMoreThan1024BytesIsNulloptAndTextEndsAtTheFirstNul) {
  ASSERT_TRUE(Set(L"", L"Fits", std::wstring(1023, L'a')));  // + NUL = 1024
  ASSERT_TRUE(Set(L"", L"Over", std::wstring(1024, L'a')));
  ASSERT_TRUE(Set(L"", L"OverInCp932", std::wstring(512, L'字')));
  EXPECT_EQ(Query(L"", L"Fits"), std::wstring(1023, L'a'));
  EXPECT_EQ(Query(L"", L"Over"), std::nullopt);
  EXPECT_EQ(Query(L"", L"OverInCp932"), std::nullopt);
  // Raw, below the root's real place: the per-user classes live below HKCU\Software\Classes.
  const bool machine = GetParam() == RegRoot::ClassesRoot;
  const char data[] = "abc\0def";
  RegSetKeyValueA(machine ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER,
                  machine ? "KivoretTest" : "Software\\Classes\\KivoretTest", nullptr, REG_SZ, data,
                  sizeof(data));
  EXPECT_EQ(Query(L""), L"abc");
}

INSTANTIATE_TEST_SUITE_P(Roots, RegistryTest,
                         testing::Values(RegRoot::ClassesRoot, RegRoot::CurrentUserClasses),
                         [](const auto& i) { return i.index ? "User" : "Machine"; });

// The real entry below Folder\shell, as the settings window writes it.
class ContextMenuEntryTest : public testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\Folder\\shell\\Kivoret");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Folder\\shell\\Kivoret");
  }
  win32::Win32OsServices os;
  win32::Win32Toolkit tk;
  Module1::Context ctx{os, tk};
};

TEST_F(ContextMenuEntryTest, AddDetectRemoveRoundTripInCp932AndAMachineWideEntryIsOurs) {
  ctx.AppDir = L"C:\\Program Files\\キヴォレット\\";
  const std::string user = "Software\\Classes\\Folder\\shell\\Kivoret";
  ASSERT_FALSE(Module1::IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(Module1::SetContextMenuEntry(ctx, true));
  EXPECT_TRUE(Module1::IsContextMenuEntryRegistered(ctx));
  EXPECT_EQ(RawDefault(HKEY_CURRENT_USER, user.c_str()),
            "\x83\x4c\x83\x94\x83\x48\x83\x8c\x83\x62\x83\x67\x82\xc9\x93\x6f\x98\x5e(&F)");
  // The test program's own name stands in for kivoret.
  EXPECT_EQ(RawDefault(HKEY_CURRENT_USER, (user + "\\command").c_str()),
            "\"C:\\Program Files\\\x83\x4c\x83\x94\x83\x48\x83\x8c\x83\x62\x83\x67\\" +
                win32::ToAcp(tk.EXEName()) + ".exe\" \"%1\"");
  ASSERT_TRUE(Module1::SetContextMenuEntry(ctx, false));
  EXPECT_FALSE(Module1::IsContextMenuEntryRegistered(ctx));
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, user.c_str()), ERROR_FILE_NOT_FOUND) << "key gone";
  // A machine-wide entry of this copy is ours too.
  ASSERT_TRUE(os.RegSetString(RegRoot::ClassesRoot, Module1::kContextMenuCommandKey, L"",
                              Module1::ContextMenuCommand(ctx)));
  EXPECT_TRUE(Module1::IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(Module1::SetContextMenuEntry(ctx, false));
  EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "Folder\\shell\\Kivoret"), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace kv::test
