#include "engine/scroll_rules.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>

namespace {

// a * b / c rounded half away from zero (c > 0).
int64_t RoundedMulDiv(int64_t a, int64_t b, int64_t c) {
  const int64_t p = a * b;
  return p >= 0 ? (p + c / 2) / c : (p - c / 2) / c;
}

int64_t Divisor(const TScrollRange& r) {
  const int64_t d = static_cast<int64_t>(r.Max) - r.Min;
  return d > 0 ? d : kEmptyRangeDivisor;
}

TRect Along(int from, int to, int thickness, bool vertical) {
  return vertical ? TRect{0, from, thickness, to} : TRect{from, 0, to, thickness};
}

}  // namespace

int ScrollPartOfRequest(int request) {
  switch (request) {
    case kScrollFirstArrow:
    case kScrollLastArrow:
    case kScrollPageBefore:
    case kScrollPageAfter:
    case kScrollThumb:
      return request;
    default:
      return kScrollPartNone;
  }
}

int ScrollMulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t x = a, y = b, z = c;
  if (z < 0) {
    x = -x;
    z = -z;
  }
  const int64_t r = RoundedMulDiv(x, y, z);
  return r > INT_MAX || r < -INT_MAX ? -1 : static_cast<int>(r);
}

int ScrollRangeDivisor(const TScrollRange& range) {
  return static_cast<int>(std::min<int64_t>(Divisor(range), INT_MAX));
}

TThumbExtent EmulateThumb(int length, int arrow, const TScrollRange& range) {
  const int64_t divisor = Divisor(range);
  const int track = length - 2 * arrow;
  const int64_t pos = std::clamp<int64_t>(range.Pos, range.Min, std::max(range.Min, range.Max));
  const int64_t travel = pos - range.Min;
  int start = arrow, thumb = 0;
  if (range.Page != 0) {
    thumb = static_cast<int>(RoundedMulDiv(track, static_cast<int64_t>(range.Page) - 1, divisor));
    if (thumb > 7) {
      if (travel != 0) start = arrow + static_cast<int>(RoundedMulDiv(track, travel, divisor));
    } else {
      thumb = 8;
      if (travel != 0) start = arrow + static_cast<int>(RoundedMulDiv(track - 8, travel, divisor));
    }
  } else {
    thumb = arrow;
    if (travel != 0)
      start = arrow + static_cast<int>(RoundedMulDiv(length - 3 * arrow, travel, divisor));
  }
  // Rounding twice can push a thumb at the end one pixel onto the arrow.
  if (thumb <= track) start = std::clamp(start, arrow, arrow + track - thumb);
  return {start, start + thumb};
}

int ScrollHitPart(int p, int arrow, int length, TThumbExtent thumb) {
  if (p < arrow) return kScrollFirstArrow;
  if (p < thumb.Start) return kScrollPageBefore;
  if (p < thumb.End) return kScrollThumb;
  if (p < length - arrow) return kScrollPageAfter;
  return kScrollLastArrow;
}

TArrowRects ScrollArrowRects(int length, int arrow, int thickness, bool vertical) {
  length = std::max(length, 0);
  const int a = length < 2 * arrow ? length / 2 : arrow;
  return {Along(0, a, thickness, vertical), Along(length - a, length, thickness, vertical)};
}

TRect ScrollShaftRect(int length, int arrow, int thickness, bool vertical) {
  if (length < 2 * arrow) return {};
  return Along(arrow, length - arrow, thickness, vertical);
}

int ScrollArrowCell(bool vertical, bool last, int hot_part, bool pressed) {
  int cell = vertical ? (last ? 13 : 9) : (last ? 5 : 1);
  if (hot_part == (last ? kScrollLastArrow : kScrollFirstArrow)) cell += pressed ? 1 : 3;
  return cell;
}

int ScrollShaftFrame(bool enabled) {
  return enabled ? 1 : 3;
}

int ScrollThumbFrame(int hot_part, bool pressed) {
  if (hot_part != kScrollThumb) return 1;
  return pressed ? 2 : 3;
}

int ScrollGripperCell(bool vertical, int hot_part, bool pressed) {
  int cell = vertical ? 20 : 17;
  if (hot_part == kScrollThumb) cell += pressed ? 1 : 2;
  return cell;
}

TRect ScrollThumbRect(TThumbExtent thumb, int thickness, bool vertical) {
  return Along(thumb.Start, thumb.End, thickness, vertical);
}

TRect ScrollGripperRect(TThumbExtent thumb, int grip, int thickness, bool vertical) {
  if (grip <= 0 || grip + 2 > thumb.Length()) return {};
  const int from = thumb.Start + (thumb.Length() - grip) / 2;
  return Along(from, from + grip, thickness, vertical);
}

TThumbExtent DragScrollThumb(int start_at_press, int travel, int arrow, int length,
                             TThumbExtent current) {
  const int thumb = current.Length();
  int start = std::min(start_at_press + travel, length - arrow - thumb);
  start = std::max(start, arrow);
  return {start, start + thumb};
}

int ScrollBarThickness(int strip_height, int system_width) {
  return std::abs(strip_height - system_width) > 2 ? system_width : strip_height;
}

int ComboThumbPosition(int offset, int track, int thumb, const TScrollRange& r) {
  const int room = track - thumb;
  if (room <= 0) return r.Min;
  offset = std::max(offset, 0);
  const int64_t span = static_cast<int64_t>(r.Max) - r.Min;
  int64_t pos;
  if (r.Page == 0) {
    offset = std::min(offset, room);
    pos = r.Min + RoundedMulDiv(offset, span, room);
    pos = std::min<int64_t>(pos, r.Max);
  } else {
    if (offset > room) offset = room + 1;
    const int64_t last = static_cast<int64_t>(r.Max) - r.Page + 1;
    pos = r.Min + RoundedMulDiv(offset, span - r.Page, room);
    if (pos >= last - 1) pos = last;
  }
  pos = std::max<int64_t>(pos, r.Min);
  return static_cast<int>(std::clamp<int64_t>(pos, INT_MIN, INT_MAX));
}

TRect ScrollCornerRect(const TRect& v, const TRect& h, TPoint off) {
  return {v.Left + off.X, h.Top + off.Y, v.Right + off.X, h.Bottom + off.Y};
}
