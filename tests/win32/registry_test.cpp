// Registry services in scratch keys, then the context-menu entry on the real Folder keys.
#include <gtest/gtest.h>

#include <string>

#include "codepage.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
#include "shell/context_menu.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::test {
namespace {

constexpr wchar_t kScratch[] = L"KivoretTest";

void DeleteTree(HKEY root, const char* path) { RegDeleteTreeA(root, path); }

bool KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::string RawDefault(HKEY root, const char* path) {
  char data[2048] = {};
  DWORD size = sizeof(data);
  if (RegGetValueA(root, path, nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return "<missing>";
  return data;
}

class RegistryTest : public testing::TestWithParam<RegRoot> {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    DeleteTree(HKEY_CURRENT_USER, "Software\\Classes\\KivoretTest");
    DeleteTree(HKEY_CLASSES_ROOT, "KivoretTest");
  }
  std::wstring Key(const std::wstring& below = L"") const {
    return below.empty() ? std::wstring(kScratch) : std::wstring(kScratch) + L"\\" + below;
  }
  win32::Win32OsServices os;
};

TEST_P(RegistryTest, SetThenQueryGivesTheText) {
  const RegRoot root = GetParam();
  ASSERT_TRUE(os.RegSetString(root, Key(), L"", L"既定の値"));
  ASSERT_TRUE(os.RegSetString(root, Key(), L"Named", L"other"));
  EXPECT_EQ(os.RegQueryString(root, Key(), L""), L"既定の値");
  EXPECT_EQ(os.RegQueryString(root, Key(), L"Named"), L"other");
}

TEST_P(RegistryTest, SetCreatesTheMissingKeysOnThePath) {
  const RegRoot root = GetParam();
  ASSERT_TRUE(os.RegSetString(root, Key(L"a\\b\\c"), L"", L"deep"));
  EXPECT_EQ(os.RegQueryString(root, Key(L"a\\b\\c"), L""), L"deep");
  EXPECT_EQ(os.RegQueryString(root, Key(L"a\\b"), L""), std::nullopt) << "no value on the way";
}

TEST_P(RegistryTest, SetOverwritesTheValue) {
  const RegRoot root = GetParam();
  ASSERT_TRUE(os.RegSetString(root, Key(), L"", L"first"));
  ASSERT_TRUE(os.RegSetString(root, Key(), L"", L"second"));
  EXPECT_EQ(os.RegQueryString(root, Key(), L""), L"second");
}

TEST_P(RegistryTest, MissingKeyOrValueIsNullopt) {
  const RegRoot root = GetParam();
  EXPECT_EQ(os.RegQueryString(root, Key(L"none"), L""), std::nullopt);
  ASSERT_TRUE(os.RegSetString(root, Key(), L"Named", L"x"));
  EXPECT_EQ(os.RegQueryString(root, Key(), L"Other"), std::nullopt);
}

TEST_P(RegistryTest, DataNeedingMoreThan1024BytesIsNullopt) {
  const RegRoot root = GetParam();
  ASSERT_TRUE(os.RegSetString(root, Key(), L"Fits", std::wstring(1023, L'a')));  // + NUL = 1024
  ASSERT_TRUE(os.RegSetString(root, Key(), L"Over", std::wstring(1024, L'a')));
  ASSERT_TRUE(os.RegSetString(root, Key(), L"OverInCp932", std::wstring(512, L'字')));
  EXPECT_EQ(os.RegQueryString(root, Key(), L"Fits"), std::wstring(1023, L'a'));
  EXPECT_EQ(os.RegQueryString(root, Key(), L"Over"), std::nullopt);
  EXPECT_EQ(os.RegQueryString(root, Key(), L"OverInCp932"), std::nullopt);
}

TEST_P(RegistryTest, TextEndsAtTheFirstNul) {
  const RegRoot root = GetParam();
  ASSERT_TRUE(os.RegSetString(root, Key(), L"", L"x"));
  const std::string path =
      root == RegRoot::ClassesRoot ? "KivoretTest" : "Software\\Classes\\KivoretTest";
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(root == RegRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER,
                          path.c_str(), 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const char data[] = "abc\0def";
  RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof(data));
  RegCloseKey(key);
  EXPECT_EQ(os.RegQueryString(root, Key(), L""), L"abc");
}

TEST_P(RegistryTest, DeleteRemovesAKeyAndAMissingKeyCountsAsDeleted) {
  const RegRoot root = GetParam();
  ASSERT_TRUE(os.RegSetString(root, Key(L"leaf"), L"", L"x"));
  EXPECT_TRUE(os.RegDeleteKey(root, Key(L"leaf")));
  EXPECT_EQ(os.RegQueryString(root, Key(L"leaf"), L""), std::nullopt);
  EXPECT_TRUE(os.RegDeleteKey(root, Key(L"leaf")));
  EXPECT_TRUE(os.RegDeleteKey(root, Key(L"never\\was")));
}

TEST_P(RegistryTest, DeleteRefusesAKeyWithSubkeys) {
  const RegRoot root = GetParam();
  ASSERT_TRUE(os.RegSetString(root, Key(L"parent\\child"), L"", L"x"));
  EXPECT_FALSE(os.RegDeleteKey(root, Key(L"parent")));
  EXPECT_EQ(os.RegQueryString(root, Key(L"parent\\child"), L""), L"x");
}

INSTANTIATE_TEST_SUITE_P(Roots, RegistryTest,
                         testing::Values(RegRoot::ClassesRoot, RegRoot::CurrentUserClasses),
                         [](const testing::TestParamInfo<RegRoot>& info) {
                           return info.param == RegRoot::ClassesRoot ? "ClassesRoot"
                                                                     : "CurrentUserClasses";
                         });

TEST(RegistryRootTest, PerUserClassesLiveBelowHkcuSoftwareClasses) {
  win32::Win32OsServices os;
  DeleteTree(HKEY_CURRENT_USER, "Software\\Classes\\KivoretTest");
  ASSERT_TRUE(os.RegSetString(RegRoot::CurrentUserClasses, L"KivoretTest", L"", L"here"));
  EXPECT_EQ(RawDefault(HKEY_CURRENT_USER, "Software\\Classes\\KivoretTest"), "here");
  DeleteTree(HKEY_CURRENT_USER, "Software\\Classes\\KivoretTest");
}

// The real entry below Folder\shell, as the settings window writes it.
class ContextMenuEntryTest : public testing::Test {
 protected:
  void SetUp() override {
    Clean();
    ctx.AppDir = L"C:\\Program Files\\キヴォレット\\";
  }
  void TearDown() override { Clean(); }
  static void Clean() {
    DeleteTree(HKEY_CURRENT_USER, "Software\\Classes\\Folder\\shell\\Kivoret");
    DeleteTree(HKEY_CLASSES_ROOT, "Folder\\shell\\Kivoret");
  }
  std::string ExpectedCommand() {
    // The test program's own name stands in for kivoret.
    return "\"C:\\Program Files\\\x83\x4c\x83\x94\x83\x48\x83\x8c\x83\x62\x83\x67\\" +
           win32::ToAcp(tk.EXEName()) + ".exe\" \"%1\"";
  }

  win32::Win32OsServices os;
  win32::Win32Toolkit tk;
  Module1::Context ctx{os, tk};
};

TEST_F(ContextMenuEntryTest, AddDetectRemoveRoundTrip) {
  ASSERT_FALSE(Module1::IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(Module1::SetContextMenuEntry(ctx, true));
  EXPECT_TRUE(Module1::IsContextMenuEntryRegistered(ctx));
  EXPECT_EQ(RawDefault(HKEY_CURRENT_USER, "Software\\Classes\\Folder\\shell\\Kivoret"),
            "\x83\x4c\x83\x94\x83\x48\x83\x8c\x83\x62\x83\x67\x82\xc9\x93\x6f\x98\x5e(&F)");
  EXPECT_EQ(RawDefault(HKEY_CURRENT_USER, "Software\\Classes\\Folder\\shell\\Kivoret\\command"),
            ExpectedCommand());

  ASSERT_TRUE(Module1::SetContextMenuEntry(ctx, false));
  EXPECT_FALSE(Module1::IsContextMenuEntryRegistered(ctx));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\Folder\\shell\\Kivoret"));
}

TEST_F(ContextMenuEntryTest, AMachineWideEntryIsDetectedAndRemoved) {
  ASSERT_TRUE(os.RegSetString(RegRoot::ClassesRoot, Module1::kContextMenuCommandKey, L"",
                              Module1::ContextMenuCommand(ctx)));
  EXPECT_TRUE(Module1::IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(Module1::SetContextMenuEntry(ctx, false));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Folder\\shell\\Kivoret"));
  EXPECT_FALSE(Module1::IsContextMenuEntryRegistered(ctx));
}

TEST_F(ContextMenuEntryTest, AnEntryOfAnotherCopyIsNotOurs) {
  ASSERT_TRUE(os.RegSetString(RegRoot::CurrentUserClasses, Module1::kContextMenuCommandKey, L"",
                              L"\"C:\\Other\\kivoret.exe\" \"%1\""));
  EXPECT_FALSE(Module1::IsContextMenuEntryRegistered(ctx));
}

}  // namespace
}  // namespace kv::test
