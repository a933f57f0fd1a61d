#include "engine/container_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

constexpr const char* kIdents[kMediaButtons] = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                "btStep", "btBack",  "btRecord", "btEject"};
constexpr const char* kResourceNames[kMediaButtons] = {
    "MPPLAY", "MPPAUSE", "MPSTOP", "MPNEXT", "MPPREV", "MPSTEP", "MPBACK", "MPRECORD", "MPEJECT"};
constexpr const char* kGlyphPrefixes[kMediaGlyphs] = {"EN", "DI", "CL"};

bool SameIdent(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '['))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == ']'))
    s.remove_suffix(1);
  return s;
}

// Marks every button the set text names.
std::array<bool, kMediaButtons> ReadSet(std::string_view text) {
  std::array<bool, kMediaButtons> out{};
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view member = Trimmed(text.substr(0, comma));
    for (int i = 0; i < kMediaButtons; ++i)
      if (SameIdent(member, kIdents[i])) out[static_cast<size_t>(i)] = true;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return out;
}

bool Valid(int button) {
  return button >= 0 && button < kMediaButtons;
}

// ---- the engine's glyph pictures ----

constexpr int kGlyphSize = 12;

// Whether pixel (x, y) of a 12 by 12 cell belongs to the button's mark.
bool TriangleRight(int x, int y, int left, int width) {  // tip at the right
  const int dx = x - left;
  return dx >= 0 && dx < width && std::abs(2 * y - 11) <= 10 - 2 * dx * 10 / (2 * width);
}
bool TriangleLeft(int x, int y, int left, int width) {
  return TriangleRight(2 * left + width - 1 - x, y, left, width);
}
bool Bar(int x, int y, int left, int width) {
  return x >= left && x < left + width && y >= 1 && y <= 10;
}

bool InMark(int button, int x, int y) {
  switch (button) {
    case btPlay:
      return TriangleRight(x, y, 3, 7);
    case btPause:
      return Bar(x, y, 2, 3) || Bar(x, y, 7, 3);
    case btStop:
      return x >= 2 && x <= 9 && y >= 2 && y <= 9;
    case btNext:
      return TriangleRight(x, y, 1, 6) || Bar(x, y, 8, 2);
    case btPrev:
      return Bar(x, y, 2, 2) || TriangleLeft(x, y, 5, 6);
    case btStep:
      return TriangleRight(x, y, 2, 4) || TriangleRight(x, y, 6, 4);
    case btBack:
      return TriangleLeft(x, y, 2, 4) || TriangleLeft(x, y, 6, 4);
    case btRecord:
      return (2 * x - 11) * (2 * x - 11) + (2 * y - 11) * (2 * y - 11) <= 81;
    case btEject:
      return (y >= 1 && y <= 6 && std::abs(2 * x - 11) <= 2 * (y - 1) + 1) ||
             (y >= 8 && y <= 10 && x >= 1 && x <= 10);
    default:
      return false;
  }
}

uint32_t MarkColour(int glyph, int button) {
  if (glyph == kGlyphDisabled) return 0x808080;
  if (glyph == kGlyphEnabled) return 0x000000;
  switch (button) {
    case btRecord:
      return 0xC00000;
    case btStop:
    case btEject:
      return 0x0000C0;
    default:
      return 0x008000;
  }
}

void PutPixel(TPixmap& p, int x, int y, uint32_t rgb) {
  uint8_t* px = p.Row(y) + x * 3;
  px[0] = static_cast<uint8_t>(rgb);
  px[1] = static_cast<uint8_t>(rgb >> 8);
  px[2] = static_cast<uint8_t>(rgb >> 16);
}

}  // namespace

// ---- group boxes ---------------------------------------------------------------

TGroupBoxLayout PlaceGroupBox(const TRect& rect, int digit_height, bool right_aligned,
                              bool rtl_reading) {
  TGroupBoxLayout l;
  const int line = std::max(digit_height, 0) / 2 - 1;
  l.Frame = {1, line, rect.Right - 1, rect.Bottom - 1};
  if (right_aligned) {
    l.Caption = {rect.Left, rect.Top, rect.Right - kGroupCaptionInset, rect.Bottom};
    l.Flags = kGroupTextRight | kGroupTextExpandTabs | (rtl_reading ? kGroupTextRtlReading : 0u);
  } else {
    l.Caption = {rect.Left + kGroupCaptionInset, rect.Top, rect.Right, rect.Bottom};
    l.Flags = kGroupTextExpandTabs;
  }
  return l;
}

std::wstring GroupBoxCaption(const std::wstring& window_text, const std::wstring& property) {
  return window_text.empty() ? property : window_text;
}

// ---- media players -------------------------------------------------------------

const char* MediaButtonIdent(int button) {
  return Valid(button) ? kIdents[button] : "";
}

std::string MediaGlyphResource(int glyph, int button) {
  if (!Valid(button) || glyph < 0 || glyph >= kMediaGlyphs) return {};
  return std::string(kGlyphPrefixes[glyph]) + "_" + kResourceNames[button];
}

TMediaButtonSets ReadMediaButtonSets(std::string_view visible, std::string_view enabled,
                                     std::string_view coloured) {
  TMediaButtonSets s;
  s.Visible = ReadSet(visible);
  s.Enabled = ReadSet(enabled);
  s.Coloured = ReadSet(coloured);
  s.VisibleCount = static_cast<int>(std::count(s.Visible.begin(), s.Visible.end(), true));
  return s;
}

int MediaCellWidth(int width, int visible_count) {
  if (visible_count <= 0 || width <= 0) return 0;
  return width / visible_count;
}

TRect MediaButtonCell(const TMediaButtonSets& sets, int button, int width, int height) {
  if (!Valid(button) || !sets.Visible[static_cast<size_t>(button)]) return {};
  const int w = MediaCellWidth(width, sets.VisibleCount);
  int x = 0;
  for (int i = 0; i < button; ++i)
    if (sets.Visible[static_cast<size_t>(i)]) x += w;
  return {x, 0, x + w, std::max(height, 0)};
}

int MediaHitTest(const TMediaButtonSets& sets, int cell_width, unsigned x) {
  long long sum = 0;
  for (int i = 0; i < kMediaButtons; ++i) {
    if (!sets.Visible[static_cast<size_t>(i)]) continue;
    if (sum <= x && x <= sum + cell_width) return i;
    sum += cell_width;
  }
  return kNoMediaButton;
}

TMediaButtonLook MediaButtonLook(const TMediaButtonSets& sets, int button, bool pressed,
                                 int down_button) {
  TMediaButtonLook look;
  if (!Valid(button)) return look;
  const auto b = static_cast<size_t>(button);
  look.Glyph = !sets.Enabled[b]   ? kGlyphDisabled
               : sets.Coloured[b] ? kGlyphColoured
                                  : kGlyphEnabled;
  look.Frame = pressed && button == down_button ? 2 : 1;
  if (look.Glyph == kGlyphDisabled) look.Frame = 3;
  return look;
}

TPoint MediaGlyphPosition(const TRect& cell, TPoint glyph, int frame) {
  const int push = frame == 2 ? 1 : 0;
  return {cell.Left + (cell.Width() - glyph.X) / 2 + push, (cell.Height() - glyph.Y) / 2 + push};
}

TPixmap MakeMediaGlyph(int glyph, int button) {
  if (!Valid(button) || glyph < 0 || glyph >= kMediaGlyphs) return {};
  TPixmap p(kGlyphSize, kGlyphSize, 24);
  const uint32_t ink = MarkColour(glyph, button);
  for (int y = 0; y < kGlyphSize; ++y)
    for (int x = 0; x < kGlyphSize; ++x)
      PutPixel(p, x, y, InMark(button, x, y) ? ink : kMediaGlyphKey);
  return p;
}
