#include "editor/recent_files.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentFiles, NewPathGoesFirstAndRepeatsAreRemoved) {
  std::vector<std::string> list;
  list = AddRecentFile(list, "C:\\a.skn");
  list = AddRecentFile(list, "C:\\b.skn");
  list = AddRecentFile(list, "C:\\a.skn");
  EXPECT_EQ(list, (std::vector<std::string>{"C:\\a.skn", "C:\\b.skn"}));
  // Letter case is significant: a second entry.
  list = AddRecentFile(list, "C:\\A.skn");
  EXPECT_EQ(list, (std::vector<std::string>{"C:\\A.skn", "C:\\a.skn", "C:\\b.skn"}));
}

TEST(RecentFiles, KeepsTwentyMostRecent) {
  std::vector<std::string> list;
  for (int i = 1; i <= 25; ++i)
    list = AddRecentFile(list, "p" + std::to_string(i));
  ASSERT_EQ(list.size(), 20u);
  EXPECT_EQ(list.front(), "p25");
  EXPECT_EQ(list.back(), "p6");
  // Re-opening an entry from the middle moves it up without losing one.
  list = AddRecentFile(list, "p10");
  ASSERT_EQ(list.size(), 20u);
  EXPECT_EQ(list[0], "p10");
  EXPECT_EQ(list[1], "p25");
  EXPECT_EQ(list.back(), "p6");
}

TEST(RecentFiles, KeysAndCaptions) {
  EXPECT_EQ(RecentFileKey(1), "File1");
  EXPECT_EQ(RecentFileKey(20), "File20");
  EXPECT_EQ(RecentFileCaption("C:\\skins\\blue.skn"), "blue.skn");
  EXPECT_EQ(RecentFileCaption("blue.skn"), "blue.skn");
}

}  // namespace
