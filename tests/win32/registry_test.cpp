// Registry services in a scratch key, then the folder entry where no reg query of the
// end-to-end run looks: a machine-wide entry, and a per-user one hiding it.
#include <gtest/gtest.h>

#include <string>

#include "os_services_win32.h"
#include "shell/context_menu.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

// Both roots: the per-user classes live below HKCU\Software\Classes.
void DeleteTrees(const char* key) {
  RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Classes\\" + std::string(key)).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
}

TEST(RegistryTest, OverwritesDeletesOnlyLeavesReadsCp932ToTheNulAndNothingOver1024Bytes) {
  DeleteTrees("KivoretTest");
  Win32OsServices os;
  const RegRoot user = RegRoot::CurrentUserClasses;
  const std::wstring a = L"KivoretTest\\a", b = a + L"\\b", fits(1023, L'a'), over(1024, L'a');
  const auto query = [&](const std::wstring& key, const wchar_t* name = L"") {
    return os.RegQueryString(user, key, name);
  };
  for (auto [name, value] : {std::pair{L"", L"first"},
                             {L"", L"既定"},
                             {L"Named", L"other"},
                             {L"Fits", fits.c_str()},
                             {L"Over", over.c_str()}})
    ASSERT_TRUE(os.RegSetString(user, b, name, value));
  ASSERT_TRUE(os.RegSetString(user, b, L"Cp932", std::wstring(512, L'字')));
  EXPECT_EQ((std::vector{query(b), query(b, L"Named"), query(a), query(b, L"Other"),
                         query(b, L"Fits"), query(b, L"Over"), query(b, L"Cp932")}),
            (std::vector<std::optional<std::wstring>>{L"既定", L"other", std::nullopt, std::nullopt,
                                                      fits, std::nullopt, std::nullopt}));
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Classes\\KivoretTest\\a", nullptr, REG_SZ,
                  "\x8a\xf9\0def", 6);
  EXPECT_EQ(query(a), L"既");
  EXPECT_FALSE(os.RegDeleteKey(user, a)) << "a key with subkeys stays";
  EXPECT_TRUE(os.RegDeleteKey(user, b) && os.RegDeleteKey(user, b)) << "missing counts as gone";
  EXPECT_EQ(query(b), std::nullopt);
  DeleteTrees("KivoretTest");
}

TEST(ContextMenuEntryTest, AMachineWideEntryIsOursUnlessAnotherPerUserOneHidesIt) {
  DeleteTrees("Folder\\shell\\Kivoret");  // what a failed run left
  Win32OsServices os;
  Win32Toolkit tk;
  ProgramState ctx{os, tk};
  ctx.AppDir = L"C:\\Program Files\\キヴォレット\\";
  const auto command = folder_entry::CommandKey(kContextMenuVerb);
  ASSERT_FALSE(IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(os.RegSetString(RegRoot::ClassesRoot, command, L"", ContextMenuCommand(ctx)));
  EXPECT_TRUE(IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(os.RegSetString(RegRoot::CurrentUserClasses, command, L"", L"\"D:\\k.exe\" \"%1\""));
  EXPECT_FALSE(IsContextMenuEntryRegistered(ctx));
  ASSERT_TRUE(SetContextMenuEntry(ctx, false));
  EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "Folder\\shell\\Kivoret"), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace kv::win32
