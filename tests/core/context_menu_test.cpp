// The folder context-menu entry: its command line, detection, adding and removing.
#include "shell/context_menu.h"

#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

TEST(ContextMenuTest, CommandLineAtRootAndElsewhere) {
  Harness h;
  EXPECT_EQ(ContextMenuCommand(h.ctx), L"\"C:\\Tools\\launch.exe\" \"%1\"");
  h.ctx.AppDir = L"C:\\";
  EXPECT_EQ(ContextMenuCommand(h.ctx), L"\"C:\\launch.exe\" \"%1\"");
  h.tk.exeExtension = L"";
  h.ctx.AppDir = L"/opt/kivoret/bin/";
  h.tk.exeName = L"kivoret";
  EXPECT_EQ(ContextMenuCommand(h.ctx), L"\"/opt/kivoret/bin/kivoret\" \"%1\"");
}

TEST(ContextMenuTest, AddWritesBothKeysPerUser) {
  Harness h;
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
  EXPECT_EQ(h.os.FolderEntryText(kContextMenuVerb), L"キヴォレットに登録(&F)");
  EXPECT_EQ(h.os.FolderEntryCommand(kContextMenuVerb), ContextMenuCommand(h.ctx));
  EXPECT_TRUE(IsContextMenuEntryRegistered(h.ctx));
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true)) << "adding twice overwrites";
  EXPECT_TRUE(IsContextMenuEntryRegistered(h.ctx));
}

// Only this copy's exact command counts, and the per-user value before the machine-wide one.
TEST(ContextMenuTest, OtherCopiesCaseDifferencesAndAnotherPerUserValueAreNotThisEntry) {
  for (const wchar_t* stored :
       {L"\"D:\\Tools\\launch.exe\" \"%1\"", L"\"C:\\Tools\\other.exe\" \"%1\"",
        L"\"C:\\TOOLS\\launch.exe\" \"%1\"", L""}) {
    Harness h;
    h.os.folderEntries[kContextMenuVerb] = {kContextMenuText, stored};
    EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx)) << stored;
  }
}

TEST(ContextMenuTest, OverlongStoredCommandReadsAsNotRegistered) {
  Harness h;
  h.ctx.AppDir = L"C:\\" + std::wstring(1100, L'd') + L"\\";
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
  EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx));
}

TEST(ContextMenuTest, RemoveFromWhereverItStands) {
  Harness h;
  h.os.folderEntries[kContextMenuVerb] = {kContextMenuText, ContextMenuCommand(h.ctx)};
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, false));
  EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx));
  EXPECT_FALSE(h.os.FolderEntryText(kContextMenuVerb));
  EXPECT_TRUE(SetContextMenuEntry(h.ctx, false)) << "removing an absent entry is no failure";
}

TEST(ContextMenuTest, RefusedChangesAreReported) {
  Harness h;
  h.os.failFolderEntry = true;
  EXPECT_FALSE(SetContextMenuEntry(h.ctx, true));
  h.os.failFolderEntry = true;
  h.os.folderEntries[kContextMenuVerb] = {kContextMenuText, L""};
  EXPECT_FALSE(SetContextMenuEntry(h.ctx, false)) << "a machine-wide entry we may not delete";
}

}  // namespace
}  // namespace kv::test
