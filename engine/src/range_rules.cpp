#include "engine/range_rules.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// a * b / c rounded half away from zero, in 64 bits; c must not be 0.
int64_t MulDivWide(int64_t a, int64_t b, int64_t c) {
  const bool negative = ((a < 0) ^ (b < 0)) ^ (c < 0);
  const uint64_t ua = static_cast<uint64_t>(a < 0 ? -a : a);
  const uint64_t ub = static_cast<uint64_t>(b < 0 ? -b : b);
  const uint64_t uc = static_cast<uint64_t>(c < 0 ? -c : c);
  // |a| and |b| are at most 2^31, so the product fits.
  const uint64_t q = (ua * ub + uc / 2) / uc;
  const auto v = static_cast<int64_t>(q);
  return negative ? -v : v;
}

TBlit Piece(TRect dst, TRect src) {
  return {dst, src, false};
}

void AddIfDrawn(std::vector<TBlit>& plan, const TBlit& b) {
  if (!b.Dst.IsEmpty() && !b.Src.IsEmpty()) plan.push_back(b);
}

}  // namespace

int RangeMulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t v = MulDivWide(a, b, c);
  if (v > INT_MAX || v < INT_MIN) return -1;
  return static_cast<int>(v);
}

int ProgressFillLength(int length, int pos, int low, int high) {
  if (length <= 0 || high <= low) return 0;
  const int64_t span = static_cast<int64_t>(high) - low;
  const int64_t done = static_cast<int64_t>(std::clamp(pos, low, high)) - low;
  // span may reach 2^32 - 1: the product length * done stays below 2^63.
  const uint64_t q = (static_cast<uint64_t>(length) * static_cast<uint64_t>(done) +
                      static_cast<uint64_t>(span) / 2) /
                     static_cast<uint64_t>(span);
  return static_cast<int>(std::min<uint64_t>(q, static_cast<uint64_t>(length)));
}

TRect ProgressWorkRect(const TRect& rect, bool vertical) {
  if (!vertical) return rect;
  return {0, 0, rect.Height(), rect.Width()};
}

TRect ProgressFillRect(const TRect& bar, int pos, int low, int high) {
  TRect f = bar;
  f.Right = bar.Left + ProgressFillLength(bar.Width(), pos, low, high);
  return f;
}

TChunkStrip PlanChunkStrip(const TRect& bar, int fill_right, TPoint chunk_size, int chunk_left,
                           bool tiled) {
  TChunkStrip s;
  const int strip_w = fill_right - bar.Left;
  if (strip_w <= 0 || chunk_size.X <= 0 || chunk_size.Y <= 0 || bar.IsEmpty()) return s;
  if (!tiled) {
    s.Area = {bar.Left + 2, bar.Top + 2, bar.Left + 2 + strip_w, bar.Bottom - 2};
    if (s.Area.IsEmpty()) s.Area = {};
    return s;
  }
  const int x = bar.Left + std::max(chunk_left, 0) + 2;
  const int y = bar.Top + (bar.Height() - chunk_size.Y) / 2;
  s.Area = {x, y, x + strip_w, y + chunk_size.Y};
  const int copies = strip_w / chunk_size.X + 1;
  s.Copies.reserve(static_cast<size_t>(copies));
  for (int i = 0; i < copies; ++i)
    s.Copies.push_back(i * chunk_size.X);
  return s;
}

TRect VerticalChannelRect(const TRect& reported) {
  if (reported.Width() <= reported.Height()) return reported;
  return {reported.Top, reported.Left, reported.Bottom, reported.Right};
}

std::vector<TBlit> PlanTrackChannel(const TRect& c, int image_w, int image_h, TMargins m,
                                    bool vertical) {
  std::vector<TBlit> plan;
  if (image_w <= 0 || image_h <= 0) return plan;
  const int w = image_w, h = image_h;
  m = FitMargins(m, w, h);
  if (vertical) {
    const int x = w < c.Width() ? c.Left + (c.Width() - w) / 2 : c.Left;
    const int tm = m.Top, bm = m.Bottom;
    AddIfDrawn(plan, Piece({x, c.Top, x + w, c.Top + tm}, {0, 0, w, tm}));
    AddIfDrawn(plan, Piece({x, c.Top + tm, x + w, c.Bottom - bm}, {0, tm, w, h - bm}));
    AddIfDrawn(plan, Piece({x, c.Bottom - bm, x + w, c.Bottom}, {0, h - bm, w, h}));
    return plan;
  }
  const int y = h < c.Height() ? c.Top + c.Height() / 2 : c.Top;
  const int lm = m.Left, rm = m.Right;
  AddIfDrawn(plan, Piece({c.Left, y, c.Left + lm, y + h}, {0, 0, lm, h}));
  AddIfDrawn(plan, Piece({c.Left + lm, y, c.Right - rm, y + h}, {lm, 0, w - rm, h}));
  AddIfDrawn(plan, Piece({c.Right - rm, y, c.Right, y + h}, {w - rm, 0, w, h}));
  return plan;
}

TRect ThumbCellRect(int bitmap_w, int bitmap_h) {
  return FrameRect(bitmap_w, bitmap_h, kThumbCells, kThumbCell, false);
}

TSpinHalves SplitSpin(const TRect& r, bool horizontal) {
  if (horizontal) {
    const int mid = r.Left + r.Width() / 2;
    return {{{r.Left, r.Top, mid, r.Bottom}, TSpinDirection::Left},
            {{mid, r.Top, r.Right, r.Bottom}, TSpinDirection::Right}};
  }
  const int mid = r.Top + r.Height() / 2;
  return {{{r.Left, r.Top, r.Right, mid}, TSpinDirection::Up},
          {{r.Left, mid, r.Right, r.Bottom}, TSpinDirection::Down}};
}

int SpinHalfState(const TSpinHalfFacts& f) {
  if (!f.Enabled) return kSpinDisabled;
  if (f.Pressed) return f.CursorInHalf ? kSpinPressed : kSpinNormal;
  return f.Hot && f.CursorInHalf ? kSpinHot : kSpinNormal;
}

int SpinFrame(TSpinDirection d, int state) {
  state = std::clamp(state, kSpinNormal, kSpinHot);
  const bool second = d == TSpinDirection::Down || d == TSpinDirection::Right;
  return second ? state + 4 : state;
}

TRect EmbeddedSpinRect(const TRect& rect, const TRect& spin_screen, const TRect& parent_screen) {
  TRect r = rect;
  const int top_gap = spin_screen.Top - parent_screen.Top;
  const int bottom_gap = parent_screen.Bottom - spin_screen.Bottom;
  const int right_gap = parent_screen.Right - spin_screen.Right;
  if (top_gap < kEmbeddedClearance) r.Top += kEmbeddedClearance - top_gap;
  if (bottom_gap < kEmbeddedClearance) r.Bottom -= kEmbeddedClearance - bottom_gap;
  if (right_gap < kEmbeddedClearance) r.Right -= kEmbeddedClearance - right_gap;
  // Nothing left to draw in: an empty rectangle where the spin starts.
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

std::vector<std::vector<TPoint>> ClassicSpinArrow(const TRect& half, TSpinDirection d) {
  const int x = half.Left + half.Width() / 2;
  int y = half.Top + half.Height() / 2;
  switch (d) {
    case TSpinDirection::Up:
      y -= 2;
      return {{{x, y}, {x, y - 1}},
              {{x + 1, y + 1}, {x + 4, y + 4}},
              {{x, y + 1}, {x + 3, y + 4}},
              {{x, y + 2}, {x + 2, y + 4}},
              {{x - 1, y + 1}, {x - 4, y + 4}},
              {{x, y + 2}, {x - 3, y + 4}},
              {{x, y + 1}, {x - 2, y + 4}}};
    case TSpinDirection::Down:
      y -= 2;
      return {{{x, y + 3}, {x, y + 4}},         {{x + 1, y + 2}, {x + 4, y - 1}},
              {{x, y + 2}, {x + 3, y - 1}},     {{x, y + 1}, {x + 2, y}},
              {{x - 1, y + 2}, {x - 4, y - 1}}, {{x, y + 2}, {x - 3, y - 1}},
              {{x, y + 1}, {x - 2, y}}};
    case TSpinDirection::Left:
      return {{{x, y}, {x + 1, y + 2}, {x + 1, y - 2}, {x - 1, y}, {x + 1, y + 2}}};
    case TSpinDirection::Right:
      return {{{x, y}, {x - 1, y + 2}, {x - 1, y - 2}, {x + 1, y}, {x - 1, y + 2}}};
  }
  return {};
}

bool ClassicSpinShaded(int state) {
  return state == kSpinPressed || state == kSpinHot;
}
