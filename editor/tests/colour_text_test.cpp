#include "editor/colour_text.h"

#include <gtest/gtest.h>

namespace {

struct TRgbCase {
  const char* Text;
  bool Valid;
  bool HasColour;
  uint32_t Colour;  // 0x00BBGGRR
};

TEST(ParseRGB, Table) {
  const TRgbCase cases[] = {
      {"255 128 0", true, true, 0x0080FF},
      {"255,128,0", true, true, 0x0080FF},
      {"255 - 128 - 0", true, true, 0x0080FF},
      {"   255   128    0  ", true, true, 0x0080FF},
      {"\t255 128 0\r\n", true, true, 0x0080FF},
      {"200 100", true, true, 0x0000C8},  // a last number is only ever the third
      {"200", true, true, 0x000000},
      {"200 100 ", true, true, 0x0000C8},  // trimmed first: as "200 100"
      {"200 100;", true, true, 0x0064C8},  // ended by a separator: second component
      {"300 0 0", true, true, 0x00002C},
      {"256 512 257", true, true, 0x010000},
      {"1 2 3 4", true, true, 0x030201},  // a fourth number is ignored
      {"1 2 3 4 5 ", true, true, 0x030201},
      {"abc", true, true, 0x000000},
      {"", true, false, 0},
      {"   ", true, false, 0},
      {"2147483647 0 0", true, true, 0x0000FF},
      {"2147483648 0 0", false, false, 0},
      {"0 0 99999999999999999999", false, false, 0},
      {"0 99999999999999999999999 0", false, false, 0},
      {"0 0 0 99999999999999999999 ", true, true, 0},  // past the third: ignored
      {"10 20 99999999999999999999", false, false, 0},
  };
  for (const TRgbCase& c : cases) {
    std::optional<uint32_t> colour = 0xDEADBEEFu;
    EXPECT_EQ(ParseRGB(c.Text, colour), c.Valid) << c.Text;
    EXPECT_EQ(colour.has_value(), c.HasColour) << c.Text;
    if (c.HasColour && colour) {
      EXPECT_EQ(*colour, c.Colour) << c.Text;
    }
  }
}

TEST(ParseRGB, FormatReadsBack) {
  for (uint32_t c : {0x000000u, 0xFFFFFFu, 0x0080FFu, 0x123456u}) {
    std::optional<uint32_t> back;
    ASSERT_TRUE(ParseRGB(FormatRGB(c), back));
    EXPECT_EQ(back, c);
  }
  EXPECT_EQ(FormatRGB(0x0080FF), "255 128 0");
  EXPECT_EQ(FormatRGB(0xFF0080FF), "255 128 0");  // the high byte is not a component
}

}  // namespace
