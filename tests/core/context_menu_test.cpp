// The folder context-menu entry: its command line, detection, adding and removing.
#include "shell/context_menu.h"

#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

TEST(ContextMenuTest, CommandLine) {
  Harness h;
  EXPECT_EQ(ContextMenuCommand(h.ctx), L"\"C:\\Tools\\launch.exe\" \"%1\"");
  h.tk.exeExtension = L"";
  h.ctx.AppDir = L"/opt/kivoret/bin/";
  h.tk.exeName = L"kivoret";
  EXPECT_EQ(ContextMenuCommand(h.ctx), L"\"/opt/kivoret/bin/kivoret\" \"%1\"");
}

// Added per user, found, removed from wherever it stands (machine-wide too).
TEST(ContextMenuTest, AddDetectRemove) {
  Harness h;
  h.os.folderEntries[kContextMenuVerb] = {kContextMenuText, ContextMenuCommand(h.ctx)};
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
  EXPECT_EQ(h.os.FolderEntryText(kContextMenuVerb), L"キヴォレットに登録(&F)");
  EXPECT_TRUE(IsContextMenuEntryRegistered(h.ctx));
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, false));
  EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx));
  EXPECT_FALSE(h.os.FolderEntryText(kContextMenuVerb));
  EXPECT_TRUE(SetContextMenuEntry(h.ctx, false)) << "removing an absent entry is no failure";
}

// Only this copy's exact command counts, and the per-user value before the machine-wide one.
TEST(ContextMenuTest, OtherCopiesAreNotThisEntry) {
  for (const wchar_t* stored :
       {L"\"D:\\Tools\\launch.exe\" \"%1\"", L"\"C:\\TOOLS\\launch.exe\" \"%1\"", L""}) {
    Harness h;
    h.os.folderEntries[kContextMenuVerb] = {kContextMenuText, stored};
    EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx)) << stored;
  }
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
