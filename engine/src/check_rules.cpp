#include "engine/check_rules.h"

#include <algorithm>

namespace {

constexpr int kUnchecked = 1, kChecked = 2, kGrayed = 4;

bool Contains(const std::string& s, const char* part) {
  return s.find(part) != std::string::npos;
}

int Clamp(int cell, int cells) {
  return std::clamp(cell, 1, CheckStripCells(cells));
}

// Grey from the framework's State, or from a remembered request.
int FrameworkCheckState(const TCheckFacts& f, int state) {
  if (f.HasState) {
    if (Contains(f.StateIdent, "uncheck"))
      state = kUnchecked;
    else if (Contains(f.StateIdent, "check"))
      state = kChecked;
    else if (Contains(f.StateIdent, "gray"))
      state = kGrayed;
  } else if (f.HasChecked) {
    state = f.CheckedIdent == "true" ? kChecked : kUnchecked;
  }
  if (f.HasDataField && f.LastCheck != 0) state = f.LastCheck == 3 ? kGrayed : f.LastCheck;
  if (f.HasDataBinding) state = kUnchecked;
  return state;
}

}  // namespace

int CheckStripCells(int cells) {
  return std::max(cells, 1);
}

int CheckStripCellWidth(int bitmap_width, int cells) {
  if (bitmap_width <= 0) return 0;
  return bitmap_width / CheckStripCells(cells);
}

int CheckBoxCell(const TCheckFacts& f, int cells) {
  int state = FrameworkCheckState(f, f.WindowChecked ? kChecked : kUnchecked);
  // A grey state from the properties counts as indeterminate like the
  // window's own, so being disabled never moves it past the grey cell.
  const bool grey = f.WindowIndeterminate || state == kGrayed;
  if (grey) {
    if (cells == 12) return f.Disabled ? 12 : 9;
    return Clamp(kGrayed, cells);
  }
  state = std::clamp(state, kUnchecked, kChecked);
  if (f.Disabled) state += 2;
  if (cells == 12) {
    static const int kTwelve[] = {0, 1, 5, 4, 8};
    state = kTwelve[state];
  }
  return Clamp(state, cells);
}

int RadioButtonCell(const TRadioFacts& f, int cells) {
  bool checked = f.WindowChecked;
  if (f.HasChecked) checked = f.CheckedIdent == "true";
  int state = checked ? kChecked : kUnchecked;
  if (f.Disabled) state += 2;
  if (cells == 8) {
    static const int kEight[] = {0, 1, 5, 4, 8};
    state = kEight[state];
  }
  return Clamp(state, cells);
}

TCheckLayout PlaceCheckGlyph(const TRect& rect, TPoint cell, bool right_button, bool radio,
                             bool rtl) {
  TCheckLayout l;
  const int top = rect.Top + (rect.Height() - cell.Y) / 2;
  l.Text = rect;
  if (right_button) {
    const int inset = radio ? 1 : 0;
    l.Glyph = {rect.Right - cell.X - inset, top, rect.Right - inset, top + cell.Y};
    l.Text.Right = rect.Right - cell.X - 2 - inset;
    l.Flags = rtl ? (kCheckTextRight | kCheckTextRtl) : 0;
  } else {
    l.Glyph = {rect.Left, top, rect.Left + cell.X, top + cell.Y};
    l.Text.Left = rect.Left + cell.X + 2;
    l.Flags = rtl ? kCheckTextRtl : 0;
  }
  return l;
}

TRect CentreCheckCaption(const TRect& area, int measured_height) {
  return area.Offset(0, (area.Height() - measured_height) / 2);
}

bool CheckFocusCues(int os_major_version) {
  return os_major_version != 6;
}

std::vector<int> ObjImageCells(int kind, int skin_cells) {
  const int grayed = skin_cells == 5 ? 4 : -1;
  std::vector<int> cells;
  switch (kind) {
    case 1:
      cells = {0, 1, grayed, 0, 1, grayed, 2, 3, grayed};
      break;
    case 2:
      cells = {0, 1, 0, 1, 2, 3};
      break;
    case 3:
      cells = {0, 1, grayed, 0, 1, grayed};
      break;
    default:
      return {};
  }
  for (int& cell : cells)
    if (cell >= skin_cells) cell = -1;
  return cells;
}

TPixmap BuildObjImageStrip(const TPixmap& skin_strip, int skin_cells, int kind) {
  const std::vector<int> cells = ObjImageCells(kind, skin_cells);
  const int w = CheckStripCellWidth(skin_strip.Width, CheckStripCells(skin_cells));
  const int h = skin_strip.Height;
  if (cells.empty() || w <= 0 || h <= 0) return {};
  TPixmap strip = SolidImage(w * static_cast<int>(cells.size()), h, kMagenta);
  for (size_t i = 0; i < cells.size(); ++i) {
    if (cells[i] < 0) continue;
    const int dx = static_cast<int>(i) * w, sx = cells[i] * w;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        SetPixel(strip, dx + x, y, GetPixel(skin_strip, sx + x, y));
  }
  return strip;
}
