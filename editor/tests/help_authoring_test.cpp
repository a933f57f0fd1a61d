#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/help_text.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kHelp =
    "<*Left Border-Left*>\r\nLeft Border Bitmap\r\n\r\nTwo images.\r\n</Left Border-Left/>\r\n"
    "<*Colors-Menu*>\r\nMenu colour\r\n</Colors-Menu/>\r\n";

size_t EntryCount(const std::string& help) {
  size_t n = 0;
  for (size_t at = help.find("<*"); at != std::string::npos; at = help.find("<*", at + 2))
    ++n;
  return n;
}

TEST(HelpAuthoring, EntriesAreAppendedOrReplaced) {
  const struct {
    const char* Name;
    std::string Help;
    const char* Key;
    Lines Text;
    THelpWrite Result;
    std::string After;
  } cases[] = {
      {"into an empty text",
       "",
       "Tab-Style",
       {"Tab style", "0 = flat"},
       THelpWrite::hwAppended,
       "<*Tab-Style*>\r\nTab style\r\n0 = flat\r\n\r\n</Tab-Style/>\r\n"},
      {"after the last entry",
       kHelp,
       "Tab-Style",
       {"One"},
       THelpWrite::hwAppended,
       kHelp + "<*Tab-Style*>\r\nOne\r\n\r\n</Tab-Style/>\r\n"},
      {"a text without its last line break",
       "x",
       "K",
       {"t"},
       THelpWrite::hwAppended,
       "x\r\n<*K*>\r\nt\r\n\r\n</K/>\r\n"},
      {"over the entry that is there",
       kHelp,
       "Left Border-Left",
       {"New"},
       THelpWrite::hwReplaced,
       "<*Left Border-Left*>\r\nNew\r\n\r\n</Left Border-Left/>\r\n"
       "<*Colors-Menu*>\r\nMenu colour\r\n</Colors-Menu/>\r\n"},
      {"over an entry without lines",
       "<*K*>\r\n</K/>\r\nrest\r\n",
       "K",
       {"a"},
       THelpWrite::hwReplaced,
       "<*K*>\r\na\r\n\r\n</K/>\r\nrest\r\n"},
      {"a key that only starts like one there",
       kHelp,
       "Colors-Men",
       {"m"},
       THelpWrite::hwAppended,
       kHelp + "<*Colors-Men*>\r\nm\r\n\r\n</Colors-Men/>\r\n"},
      {"a damaged closing marker",
       "<*K*>\r\nold\r\n</K/\r\n",
       "K",
       {"new"},
       THelpWrite::hwRefused,
       "<*K*>\r\nold\r\n</K/\r\n"},
      {"a closing marker of another key only",
       "<*K*>\r\nold\r\n</J/>\r\n",
       "K",
       {"new"},
       THelpWrite::hwRefused,
       "<*K*>\r\nold\r\n</J/>\r\n"},
  };
  for (const auto& c : cases) {
    std::string help = c.Help;
    EXPECT_EQ(WriteHelpEntry(help, c.Key, c.Text), c.Result) << c.Name;
    EXPECT_EQ(help, c.After) << c.Name;
  }
}

TEST(HelpAuthoring, AWrittenEntryIsFoundAtOnceAndCountsOnce) {
  std::string help = kHelp;
  ASSERT_EQ(WriteHelpEntry(help, "Tab-Style", {"First"}), THelpWrite::hwAppended);
  EXPECT_EQ(EntryCount(help), 3u);
  EXPECT_EQ(FindHelp(help, "Tab-Style", "Tab"), "First\r\n");
  // The text shown is what a second write takes back; it stays as it is.
  ASSERT_EQ(WriteHelpEntry(help, "Tab-Style", {"Second", "", "lines"}), THelpWrite::hwReplaced);
  EXPECT_EQ(EntryCount(help), 3u);
  EXPECT_EQ(FindHelp(help, "Tab-Style", "Tab"), "Second\r\n\r\nlines\r\n");
  const std::string once = help;
  WriteHelpEntry(help, "Tab-Style", {"Second", "", "lines"});
  EXPECT_EQ(help, once);
  // The three-part key of a display name, as WriteHelp2 writes it.
  ASSERT_EQ(WriteHelpEntry(help, "Control-Image-Arrow", {"Arrow"}), THelpWrite::hwAppended);
  EXPECT_EQ(FindHelp(help, "Control-Image", "Arrow"), "Arrow\r\n");
  EXPECT_EQ(FindHelp(help, "Colors-Menu", ""), "Menu colour");
}

TEST(HelpAuthoring, ADamagedEntryRefusesEveryLaterWrite) {
  std::string help = kHelp + "<*K*>\r\nold\r\n</K\r\n";
  const std::string damaged = help;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(WriteHelpEntry(help, "K", {"new"}), THelpWrite::hwRefused);
    EXPECT_EQ(help, damaged);
  }
  // Other keys are still written.
  EXPECT_EQ(WriteHelpEntry(help, "Colors-Menu", {"m"}), THelpWrite::hwReplaced);
}

TEST(HelpAuthoring, TheHelpFileIsBesideTheProgramFolder) {
  const struct {
    const char* ProgramFolder;
    const char* File;
  } cases[] = {
      {"C:\\Tessaly\\bin\\", "C:\\Tessaly\\help.txt"},
      {"C:\\Tessaly\\bin", "C:\\Tessaly\\help.txt"},
      {"C:\\Tessaly\\", "C:\\help.txt"},
      {"C:\\", "C:\\help.txt"},
      {"/opt/tessaly/bin/", "/opt/tessaly/help.txt"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HelpFilePath(c.ProgramFolder), c.File) << c.ProgramFolder;
}

}  // namespace
