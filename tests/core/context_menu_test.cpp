// The folder context-menu entry: its command line, detection, adding and removing.
#include "shell/context_menu.h"

#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

// Only this copy's exact command is its entry; a removal that is refused is reported.
TEST(ContextMenuTest, AddDetectRemove) {
  Harness h;
  EXPECT_EQ(ContextMenuCommand(h.ctx), L"\"C:\\Tools\\launch.exe\" \"%1\"");
  for (const wchar_t* other : {L"\"D:\\Tools\\launch.exe\" \"%1\"", L""}) {
    h.os.entries[kContextMenuVerb] = {kContextMenuText, other};
    EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx)) << other;
  }
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
  EXPECT_EQ(h.os.entries[kContextMenuVerb].first, L"キヴォレットに登録(&F)");
  EXPECT_TRUE(IsContextMenuEntryRegistered(h.ctx));
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, false));
  EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx));
  EXPECT_TRUE(SetContextMenuEntry(h.ctx, false)) << "removing an absent entry is no failure";
  h.os.failEntries = true;
  EXPECT_FALSE(SetContextMenuEntry(h.ctx, true));
  h.os.entries[kContextMenuVerb] = {};
  EXPECT_FALSE(SetContextMenuEntry(h.ctx, false)) << "a machine-wide entry we may not delete";
}

}  // namespace
}  // namespace kv::test
