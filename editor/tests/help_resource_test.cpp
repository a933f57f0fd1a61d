// The editor's "HELP" resource: one entry per schema key, marked "<*key*>" and
// "</key/>", every line ended with CR LF. The editor finds an entry by exact
// search for its markers, so the byte layout matters as much as the words.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The keys, in the order the resource holds them.
constexpr std::array<std::string_view, 125> kKeys = {
    "Left Border-Left",
    "Left Border-LeftTopHeight",
    "RadioButton-RadioButton",
    "CheckBox-CheckButton",
    "Button2-Bitmap",
    "Button2-LeftWidth",
    "Button2-BottomHeight",
    "Button2-RightWidth",
    "Button2-TopHeight",
    "Button2-Trans",
    "Button2-NormalColour2",
    "Button2-MouseOverColour2",
    "Button2-PressedColour2",
    "Control-LeftWidth",
    "Control-BottomHeight",
    "Control-RightWidth",
    "Control-TopHeight",
    "Control-Trans",
    "MainMenuBar-MenuBar-MainMenuBar",
    "Control-Image-MenuItem",
    "Control-Image-MenuItem Background",
    "Control-Image-Combobox Border",
    "Control-Image-Combobox Button",
    "ExtraImages-Image",
    "Control-Image-StatusBar",
    "Tab-Image-Tab",
    "Tab-Border-Tab",
    "Progress-Bitmap-Progress",
    "BUTTON-ButtonImage",
    "BUTTON-XCoord",
    "BUTTON-YCoord",
    "BUTTON-Align",
    "BUTTON-Action",
    "BUTTON-Visibility",
    "Top Border-Top",
    "Right Border-Right",
    "Bottom Border-Bottom",
    "Top Border-TopTopHeight",
    "Top Border-TopBotHeight",
    "Top Border-TopFrame",
    "Left Border-LeftFrame",
    "Right Border-RightFrame",
    "Bottom Border-BottomFrame",
    "Bottom Border-BottomTopHeight",
    "Bottom Border-BottomBotHeight",
    "Top Border-TopStretch",
    "Left Border-LeftStretch",
    "Right Border-RightStretch",
    "Bottom Border-BottomStretch",
    "Left Border-LeftBotHeight",
    "Right Border-RightTopHeight",
    "Right Border-RightBotHeight",
    "Tab-LeftWidth",
    "Tab-RightWidth",
    "Tab-TopHeight",
    "Tab-BottomHeight",
    "Progress-LeftWidth",
    "Progress-RightWidth",
    "Progress-TopHeight",
    "Progress-BottomHeight",
    "Control-Tile",
    "Progress-Tile",
    "Tab-Tile",
    "Colors-ButtonFace",
    "Colors-WindowText",
    "Colors-HilightText",
    "Colors-MenuText",
    "Colors-ButtonText",
    "Colors-Hilight",
    "Colors-ButtonHilight",
    "Colors-Menu",
    "Colors-MenuBarText",
    "Colors-TitleTextActive",
    "Colors-TitleTextNoActive",
    "Colors-Menubar",
    "Tab-Trans",
    "Progress-Trans",
    "Progress-Style",
    "Progress-Chunk",
    "Caption-Textbackground",
    "Caption-TextBack",
    "Caption-TextAlignment",
    "Caption-TextShift",
    "Caption-TextShiftVert",
    "Caption-TextRightClip",
    "Caption-TXTBackleft",
    "Caption-TXTBackRight",
    "Tab-NormalColour2",
    "Tab-MouseOverColour2",
    "StatusBar-NormalColour2",
    "StatusBar-Image",
    "StatusBar-LeftWidth",
    "StatusBar-RightWidth",
    "StatusBar-TopHeight",
    "StatusBar-BottomHeight",
    "StatusBar-Trans",
    "StatusBar-Tile",
    "BUTTON-Frame",
    "CheckBox-CheckButtonFrame",
    "RadioButton-RadioButtonFrame",
    "Button2-Tile",
    "Colors-Buttonlight",
    "Colors-Buttonshadow",
    "Colors-ButtonDkshadow",
    "Button2-Bitmap-Button",
    "Control-Image-Arrow",
    "Control-Image-HorzScroll",
    "Control-Image-HorzScrollThumb",
    "Control-Image-VertScroll",
    "Control-Image-VertScrollThumb",
    "BUTTON-Visibility1",
    "MDIButton-Image",
    "Left Border-LeftTrans-Left Border",
    "Top Border-TopTrans-Top Border",
    "Left Border-LeftStretch-Left Border",
    "MainMenuBar-TileLeftMenu",
    "MainMenuBar-TileRightMenu",
    "Tracker-Image-TrackBar Horz",
    "Tracker-Image-TrackBar Vert",
    "Updown-Image-Spin Horz",
    "Updown-Image-Spin Vert",
    "Customcolors-Color0",
    "Customcolors-Color1",
    "Customcolors-Color2",
    "Control-Image-Header Control",
};

std::string Join(const std::vector<std::string_view>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += kCrLf;
    out += lines[i];
  }
  return out;
}

// Entries whose codes the editor itself relies on: their text is fixed to the byte
// (trailing blanks and the tab after the last Visibility line included).
struct FixedEntry {
  std::string_view key;
  std::vector<std::string_view> lines;
};

const std::vector<FixedEntry>& FixedEntries() {
  static const std::vector<FixedEntry> entries = {
      {"BUTTON-Action",
       {
           "Caption Button Action Code",
           "",
           "Action when caption is pressed.",
           "",
           "value:",
           " - -1 = Do nothing. Just show an image.",
           " - 0 = Close window",
           " - 1 = Maximize / Restore window ",
           " - 2 = Minimize window ",
           " - 3 = SystemMenu",
           " - 4 = Help",
       }},
      {"BUTTON-Align",
       {
           "Caption Button Alignment",
           "",
           "values",
           " - 0 = relative to top left of window",
           " - 1 = relative to the top right of window",
           " - 2 = left of caption text.",
           " - 3 = right of caption text.",
       }},
      {"BUTTON-Visibility",
       {
           "Caption Button Visible",
           "",
           "button.visible = Visibilit and Visibility1",
           "",
           "Values",
           "  0 = Always show button",
           "  1 = Show if window is maximized",
           "  2 = Show if window is NOT maximized",
           "  3 = Show if window is active",
           "  4 = Show if window is inactive",
           "  ",
           "  6 = Show if window has a maximize button",
           "  7 = Show if window does NOT have a maximize button",
           "  8 = Show if window has a minimize button",
           "  9 = Show if window does NOT have a minimize button",
           "  10= Show if window has help button\t",
       }},
  };
  return entries;
}

std::string ReadHelpText() {
  std::ifstream in(std::string(MV_SOURCE_DIR) + "/editor/resources/help.txt", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The lines of a text whose every line ends with CR LF (the terminators removed).
std::vector<std::string> SplitCrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(kCrLf, start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + kCrLf.size();
  }
  return lines;
}

struct Entry {
  std::string key;
  std::vector<std::string> lines;  // between the markers
};

bool IsOpening(const std::string& line, std::string* key) {
  if (line.size() < 4 || !line.starts_with("<*") || !line.ends_with("*>")) return false;
  *key = line.substr(2, line.size() - 4);
  return true;
}

bool IsClosing(const std::string& line, std::string* key) {
  if (line.size() < 4 || !line.starts_with("</") || !line.ends_with("/>")) return false;
  *key = line.substr(2, line.size() - 4);
  return true;
}

// Reads the entries; any line outside an entry, an entry opened inside another, a closing
// marker of another key or an entry left open is reported in `error`.
std::vector<Entry> ParseEntries(const std::string& text, std::string* error) {
  std::vector<Entry> entries;
  bool open = false;
  int line_no = 0;
  for (const std::string& line : SplitCrLfLines(text)) {
    ++line_no;
    std::string key;
    if (!open) {
      if (!IsOpening(line, &key)) {
        *error = "line " + std::to_string(line_no) + " is outside any entry: \"" + line + "\"";
        return entries;
      }
      entries.push_back({key, {}});
      open = true;
    } else if (IsClosing(line, &key)) {
      if (key != entries.back().key) {
        *error = "line " + std::to_string(line_no) + " closes \"" + key + "\" inside \"" +
                 entries.back().key + "\"";
        return entries;
      }
      open = false;
    } else if (IsOpening(line, &key)) {
      *error = "line " + std::to_string(line_no) + " opens \"" + key + "\" before \"" +
               entries.back().key + "\" is closed";
      return entries;
    } else {
      entries.back().lines.push_back(line);
    }
  }
  if (open) *error = "entry \"" + entries.back().key + "\" is never closed";
  return entries;
}

// The lookup the editor's help memo does: the opening marker with its line break, then the
// first closing marker (with the line breaks around it) at or after it; what lies between.
bool LookUpEntry(const std::string& help, std::string_view key, std::string* text) {
  const std::string open = "<*" + std::string(key) + "*>" + std::string(kCrLf);
  const std::string close =
      std::string(kCrLf) + "</" + std::string(key) + "/>" + std::string(kCrLf);
  const size_t start = help.find(open);
  if (start == std::string::npos) return false;
  const size_t body = start + open.size();
  const size_t end = help.find(close, start);
  if (end == std::string::npos) return false;
  *text = end < body ? std::string() : help.substr(body, end - body);
  return true;
}

bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

class HelpResource : public ::testing::Test {
 protected:
  void SetUp() override {
    help_ = ReadHelpText();
    ASSERT_FALSE(help_.empty()) << "editor/resources/help.txt is missing or empty";
    entries_ = ParseEntries(help_, &parse_error_);
  }

  const Entry* Find(std::string_view key) const {
    for (const Entry& e : entries_)
      if (e.key == key) return &e;
    return nullptr;
  }

  std::string help_;
  std::vector<Entry> entries_;
  std::string parse_error_;
};

TEST_F(HelpResource, EveryLineEndsWithCrLf) {
  ASSERT_TRUE(help_.ends_with(kCrLf)) << "the last line has no CR LF";
  for (size_t i = 0; i < help_.size(); ++i) {
    if (help_[i] == '\r') {
      ASSERT_TRUE(i + 1 < help_.size() && help_[i + 1] == '\n') << "bare CR at byte " << i;
    } else if (help_[i] == '\n') {
      ASSERT_TRUE(i > 0 && help_[i - 1] == '\r') << "bare LF at byte " << i;
    }
  }
}

TEST_F(HelpResource, PlainAsciiText) {
  for (size_t i = 0; i < help_.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(help_[i]);
    const bool ok = (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\r' || c == '\n';
    ASSERT_TRUE(ok) << "byte " << i << " is 0x" << std::hex << static_cast<int>(c);
  }
}

TEST_F(HelpResource, EntriesAreWellFormedWithNothingOutside) {
  EXPECT_EQ(parse_error_, "");
}

TEST_F(HelpResource, KeysInResourceOrder) {
  ASSERT_EQ(parse_error_, "");
  ASSERT_EQ(entries_.size(), kKeys.size());
  for (size_t i = 0; i < kKeys.size(); ++i)
    EXPECT_EQ(entries_[i].key, kKeys[i]) << "entry " << i + 1;
}

TEST_F(HelpResource, EachOpeningMarkerOccursOnce) {
  for (std::string_view key : kKeys) {
    const std::string open = "<*" + std::string(key) + "*>" + std::string(kCrLf);
    const size_t first = help_.find(open);
    ASSERT_NE(first, std::string::npos) << key;
    EXPECT_EQ(help_.find(open, first + 1), std::string::npos) << key << " appears twice";
  }
}

// What the editor's lookup shows is exactly the entry's own lines, for every key.
TEST_F(HelpResource, LookupFindsEachEntrysText) {
  ASSERT_EQ(parse_error_, "");
  for (const Entry& e : entries_) {
    std::string shown;
    ASSERT_TRUE(LookUpEntry(help_, e.key, &shown)) << e.key;
    std::string expected;
    for (size_t i = 0; i < e.lines.size(); ++i) {
      if (i > 0) expected += kCrLf;
      expected += e.lines[i];
    }
    EXPECT_EQ(shown, expected) << e.key;
  }
}

TEST_F(HelpResource, FixedEntriesAreExact) {
  for (const FixedEntry& f : FixedEntries()) {
    std::string shown;
    ASSERT_TRUE(LookUpEntry(help_, f.key, &shown)) << f.key;
    EXPECT_EQ(shown, Join(f.lines)) << f.key;
  }
}

TEST_F(HelpResource, LeftBorderBitmapTitle) {
  const Entry* e = Find("Left Border-Left");
  ASSERT_NE(e, nullptr);
  ASSERT_FALSE(e->lines.empty());
  EXPECT_EQ(e->lines[0], "Left Border Bitmap");
}

// Every entry: a title line, an empty line, then at least one line of description.
TEST_F(HelpResource, EntriesHaveTitleAndDescription) {
  ASSERT_EQ(parse_error_, "");
  for (const Entry& e : entries_) {
    ASSERT_GE(e.lines.size(), 3u) << e.key;
    EXPECT_FALSE(IsBlank(e.lines[0])) << e.key << ": no title";
    EXPECT_EQ(e.lines[1], "") << e.key << ": no empty line after the title";
    bool described = false;
    for (size_t i = 2; i < e.lines.size(); ++i)
      described = described || !IsBlank(e.lines[i]);
    EXPECT_TRUE(described) << e.key << ": title only";
  }
}

}  // namespace
