// Thunar's shared uca.xml: our action added and removed, every other byte kept. The other
// drop-ins are run by their consumers in the end-to-end scripts.
#include "dropins.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "locations.h"
#include "toolkit_qt.h"

namespace kv::lnx {
namespace {

TEST(ThunarActions, AddedBeforeTheEndAndRemovedOnlyOurs) {
  const std::string id = "kivoret-kivoret", ours = ThunarActionText(id, "登録", "'/p' %f");
  const std::string other =
      "<action>\n\t<name>A &amp; B</name>\n\t<unique-id>1-1</unique-id>\n"
      "\t<command>exo-open %f</command>\n</action>\n";
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n";
  const std::string crlf = "<actions>\r\n  " + other + "  <!-- <action><unique-id>" + id +
                           "</unique-id></action> -->\r\n</actions>";
  const std::string old = ThunarActionText(id, "登録", "'/old place/kivoret' %f");
  const std::string lookalike = "<action><unique-id>" + id + "2</unique-id></action>\n";
  const std::tuple<std::string, std::optional<std::string>, std::string> cases[] = {
      // before, with ours added (nullopt: refused), with ours removed again
      {crlf, crlf.substr(0, crlf.size() - 10) + ours + "</actions>", crlf},
      {head + old + other + "</actions>\n", head + ours + other + "</actions>\n",
       head + other + "</actions>\n"},
      {head + lookalike + "</actions>\n", head + lookalike + ours + "</actions>\n",
       head + lookalike + "</actions>\n"},
      {"<actions>" + other + "x</actions>", "<actions>" + other + "x\n" + ours + "</actions>",
       "<actions>" + other + "x\n</actions>"},
      {"<?xml?>\n<actions/>\n", "<?xml?>\n<actions>\n" + ours + "</actions>\n",
       "<?xml?>\n<actions>\n</actions>\n"},
      {"<html></html>\n", std::nullopt, ""}};
  for (const auto& [before, added, removed] : cases) {
    const auto got = WithThunarAction(before, id, ours);
    ASSERT_EQ(got, added) << before;
    if (!got) continue;
    EXPECT_TRUE(HasThunarAction(*got, id));
    EXPECT_EQ(WithoutThunarAction(*got, id), removed);
    EXPECT_EQ(WithThunarAction(*got, id, ours), got) << "adding twice changes nothing";
  }
  EXPECT_FALSE(HasThunarAction(head + lookalike + "</actions>\n", id));
}

TEST(ThunarActions, CommandAndEscapes) {
  EXPECT_EQ(ThunarCommand("/opt/it's/kivoret", "/s/x"), "'/opt/it'\\''s/kivoret' %f");
  // "%" in the program and the script's path: doubled, as Thunar reads "%%" (filemanagers.sh
  // runs a program with a "%", through the script).
  EXPECT_EQ(ThunarCommand("/a%/k", "/b%/s"), "'/a%%/k' %f");
  EXPECT_EQ(DesktopExecArg("/a $b"), "\"/a \\\\$b\"") << "a shell would expand $b";
  const std::string action = ThunarActionText("id", "A<&>B", "'/a&b' %f");
  EXPECT_NE(action.find("<name>A&lt;&amp;&gt;B</name>"), std::string::npos);
  EXPECT_NE(action.find("<command>'/a&amp;b' %f</command>"), std::string::npos);
}

// Only an absolute XDG directory counts (a relative one is ignored, as the XDG rules say), and
// the command line is the arguments joined by blanks, as on Windows.
TEST(Environment, XdgDirectoriesAndTheCommandLine) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
  setenv("HOME", "/h", 1);
  for (const auto& [value, expected] : {std::pair{"rel/cfg", "/h/.config"}, {"/c//", "/c"}}) {
    setenv("XDG_CONFIG_HOME", value, 1);
    EXPECT_EQ(ConfigHome(), expected) << value;
  }
  setenv("HOME", home.c_str(), 1), unsetenv("XDG_CONFIG_HOME");
  char* argv[] = {const_cast<char*>("k"), const_cast<char*>("/a"), const_cast<char*>("b c")};
  EXPECT_EQ(QtToolkit(3, argv).CommandLine(), L"/a b c");
}

}  // namespace
}  // namespace kv::lnx
