// Damaged skin packages through the portable engine: each one parses (or is
// refused when the reader refuses it), every element it gives paints every
// frame into rectangles large and tiny with the portable painter, and the
// skin checker reports on it; none of it crashes or reads out of bounds (the
// sanitizer build runs the same cases).
#include <gtest/gtest.h>

#include <limits>

#include "damaged_corpus.h"
#include "engine/raster.h"
#include "engine/skin_checker.h"
#include "engine/skin_parse.h"

namespace {

// Every element of the content that has a bitmap.
std::vector<std::pair<const TDataSkinObject*, bool>> Elements(const TSkinContent& c) {
  std::vector<std::pair<const TDataSkinObject*, bool>> out;
  auto add = [&](const TDataSkinObject* e) {
    if (e && e->Bitmap.Width > 0) out.emplace_back(e, c.IsVerticalStrip(e));
  };
  const TDataSkinObject* fixed[] = {&c.Title,       &c.Buttons,   &c.LeftBorder,
                                    &c.RightBorder, &c.TopBorder, &c.BottomBorder};
  for (const TDataSkinObject* e : fixed)
    add(e);
  for (const auto& b : c.TitleButtons)
    add(b.get());
  for (const auto& s : c.Slots)
    add(s.get());
  return out;
}

// Frames 0, 1, 2, the last and one past it: the painter clamps the rest.
std::vector<int> FramesToPaint(int count) {
  return {0, 1, 2, count, count < std::numeric_limits<int>::max() ? count + 1 : count};
}

TEST(DamagedSkin, ParsesAndPaintsEveryElementOrIsRefused) {
  const auto packages = PackagesUnderTest(TestCorpus());
  ASSERT_FALSE(packages.empty());
  for (const std::string& note : TestCorpus().Notes)
    std::printf("note: %s\n", note.c_str());
  for (const TDamagedSkin* s : packages) {
    SCOPED_TRACE(s->Name);
    TSkinContent content;
    ASSERT_EQ(LoadSkinPackage(content, s->Package), s->Readable);
    EXPECT_EQ(content.SkinEmpty, !s->Readable);
    EXPECT_EQ(CheckSkinPackage(s->Package).Readable, s->Readable);
    if (!s->Readable) continue;
    EXPECT_FALSE(DumpSkinContent(content).empty());
    for (const auto& [e, vertical] : Elements(content)) {
      const TMargins m{e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight};
      for (const TRect r : {TRect{0, 0, 120, 40}, TRect{1, 1, 3, 2}, TRect{5, 5, 5, 9}}) {
        TPixmap target(130, 50, 24);
        for (int k : FramesToPaint(e->FrameCount))
          DrawElementImage(target, r, e->Bitmap, vertical, e->Tile != 0, e->Trans != 0,
                           e->FrameCount, k, m);
        DrawFrameScaledImage(target, r, e->Bitmap, true, e->FrameCount, 1);
        DrawFrameCentredImage(target, r, e->Bitmap, false, e->FrameCount, e->FrameCount);
      }
    }
  }
}

}  // namespace
