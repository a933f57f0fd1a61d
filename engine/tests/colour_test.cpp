#include <gtest/gtest.h>

#include "engine/colour.h"

namespace {

TEST(Colour, BlendUsesPercentBelow100AndPerMilleAbove) {
  struct {
    TColor a, b;
    int w;
    TColor want;
  } cases[] = {
      {kWhite, kBlack, 50, 0x808080},   // (255*50 + 50) / 100 = 128
      {kWhite, kBlack, 150, 0x262626},  // (255*150 + 500) / 1000 = 38
      {kWhite, kBlack, 0, 0x000000},
      {kWhite, kBlack, 99, 0xFCFCFC},   // (255*99 + 50) / 100 = 252
      {kWhite, kBlack, 100, 0x1A1A1A},  // per mille: (25500 + 500) / 1000 = 26
      {kWhite, kBlack, 1000, 0xFFFFFF},
      {RGBColour(200, 0, 0), RGBColour(0, 0, 100), 25, RGBColour(50, 0, 75)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Blend(c.a, c.b, c.w), c.want) << c.w;
}

TEST(Colour, SystemReferencesResolveThroughTheHook) {
  EXPECT_EQ(ResolveColour(SystemColourRef(kSysBtnFace)), DefaultSystemColour(kSysBtnFace));
  SetSystemColourResolver([](int i) { return i == kSysBtnFace ? RGBColour(1, 2, 3) : kWhite; });
  EXPECT_EQ(ResolveColour(SystemColourRef(kSysBtnFace)), RGBColour(1, 2, 3));
  EXPECT_EQ(Blend(SystemColourRef(kSysBtnFace), kBlack, 1000), RGBColour(1, 2, 3));
  EXPECT_EQ(ResolveColour(RGBColour(9, 9, 9)), RGBColour(9, 9, 9));
  SetSystemColourResolver(nullptr);
}

TEST(Colour, SaturationMeasure) {
  EXPECT_EQ(SaturationMeasure(0x808080), 200);  // every channel below 160
  EXPECT_EQ(SaturationMeasure(0x0000FF), 255);  // pure red
  EXPECT_EQ(SaturationMeasure(0xA0A0A0), 0);
  EXPECT_EQ(SaturationMeasure(RGBColour(255, 0, 0)), 255);
  EXPECT_EQ(SaturationMeasure(RGBColour(200, 100, 100)), 128);  // 0.5 * 255 = 127.5 -> 128
  EXPECT_EQ(SaturationMeasure(RGBColour(159, 159, 0)), 200);
}

TEST(Colour, ParseColourValue) {
  struct {
    const char* text;
    TColor want;
  } cases[] = {
      {"", 0},
      {"255 255 255", 0xFFFFFF},
      {"255,255,255", 0xFFFFFF},
      {"  1 2 3  ", RGBColour(1, 2, 3)},
      {"7 8", RGBColour(7, 0, 0)},  // the trailing 8 is pending, not the third number
      {"7 8 9", RGBColour(7, 8, 9)},
      {"7 8 9 10", RGBColour(7, 8, 9)},
      {"256 257 511", RGBColour(0, 1, 255)},
      {"R10G20B30", RGBColour(10, 20, 30)},
      {"10;20;", RGBColour(10, 20, 0)},
      {"abc", 0},
      {"99999999999999999999 1 2 3", RGBColour(1, 2, 3)},  // does not convert: skipped
      {"-5 6 7", RGBColour(5, 6, 7)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseColourValue(c.text), c.want) << '"' << c.text << '"';
}

TEST(Colour, RampValues) {
  TRampCache cache;
  EXPECT_EQ(cache.Ramp(cache.GetRamp(3, kBlack, kWhite)),
            (std::vector<TColor>{0x000000, 0x808080, 0xFFFFFF}));
  EXPECT_EQ(cache.Ramp(cache.GetRamp(1, kBlack, kWhite)), (std::vector<TColor>{0x7F7F7F}));
  EXPECT_EQ(cache.Ramp(cache.GetRamp(2, RGBColour(10, 0, 0), RGBColour(20, 0, 0))),
            (std::vector<TColor>{RGBColour(10, 0, 0), RGBColour(20, 0, 0)}));
  EXPECT_TRUE(cache.Ramp(cache.GetRamp(0, kBlack, kWhite)).empty());
}

TEST(Colour, RampCacheReusesAndWrapsRoundRobin) {
  TRampCache cache;
  const int first = cache.GetRamp(10, kBlack, kWhite);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(cache.GetRamp(10, kBlack, kWhite), first);  // found again, no new slot
  EXPECT_EQ(cache.NextSlot(), 1);
  for (int i = 1; i < TRampCache::kSlots; ++i)
    EXPECT_EQ(cache.GetRamp(10 + i, kBlack, kWhite), i);
  EXPECT_EQ(cache.NextSlot(), 0);
  EXPECT_EQ(cache.GetRamp(99, kBlack, kWhite), 0);  // evicts the oldest
  EXPECT_EQ(cache.GetRamp(10, kBlack, kWhite), 1);  // gone: made again in the next slot
  EXPECT_EQ(cache.Ramp(1).size(), 10u);
}

TEST(Colour, FallingRampThatEndsShortIsMadeAgainEachTime) {
  TRampCache cache;
  // 255 -> 0 over 4 entries: (3 * -255 + 1) / 3 truncates to -254, so the
  // last entry is 1, not 0, and the ramp is never found by its end colour.
  const int a = cache.GetRamp(4, kWhite, kBlack);
  EXPECT_EQ(cache.Ramp(a).back(), 0x010101u);
  const int b = cache.GetRamp(4, kWhite, kBlack);
  EXPECT_NE(a, b);
}

}  // namespace
