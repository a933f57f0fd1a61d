#include "editor/bitmap_panel.h"

#include <algorithm>
#include <climits>

#include "format/text.h"

TFrameCut CutOf(int bitmap_frames) {
  if (bitmap_frames >= kStackedFrames) return {bitmap_frames - kStackedFrames, true};
  return {bitmap_frames, false};
}

namespace {

struct TFixedCount {
  const char* Caption;
  int Frames;
};

// Elements whose frame layout the engine fixes whatever the skin says.
constexpr TFixedCount kFixedCounts[] = {
    {"MDIButton", 12},
    {"Button", 5},
    {"MenuItem", 5},
    {"TrackBar Horz", 5},
    {"TrackBar Bottom", 5},
    {"Combobox Button Arrow", 5},
    {"Tab", 5},
    {"Combobox Border", 4},
    {"Combobox Button", 4},
    {"HorzScroll", 4},
    {"VertScroll", 4},
    {"StatusBar", 3},
    {"MainMenuBar", kStackedFrames + 2},
    {"Caption", kStackedFrames + 2},
    {"Spin Horz", 8},
    {"Spin Vert", 8},
    {"MenuItem Background", 1},
    {"TabSheet", 1},
    {"Progress Chunk", 1},
    {"Arrow", 23},
};

// A title button's frames as the engine counts them: its "frame" key, or
// when that is 0, 3 for a bitmap at most 3.8 times as wide as high and 6
// otherwise, and 6 for a button without an action.
int TitleButtonFrames(const TMemIniFile& skin, const std::string& section, int width, int height) {
  const int frames = skin.ReadInteger(section, "frame", 0);
  if (frames != 0) return frames;
  if (skin.ReadInteger(section, "Action", 0) < 0) return 6;
  if (width > 0 && height > 0 && int64_t{5} * width <= int64_t{19} * height) return 3;
  return 6;
}

// The progress bar's frames as the engine sets them: none without a
// bitmap, 1 for a chunked bar (Style not 0), else 2.
int ProgressFrames(const TMemIniFile& skin) {
  if (Trim(skin.ReadString("Progress", "Bitmap", "")).empty()) return kNoFrameLayout;
  return skin.ReadInteger("Progress", "Style", 0) != 0 ? 1 : 2;
}

}  // namespace

int GetFrameCount(std::string_view caption, bool title_button, const TMemIniFile& skin,
                  const TEditorSchema& schema, int bitmap_width, int bitmap_height) {
  if (title_button) {
    const std::string section = schema.SkinSection(caption);
    if (section.empty()) return 6;
    return TitleButtonFrames(skin, section, bitmap_width, bitmap_height);
  }
  static constexpr std::string_view kP = "Personality";
  if (caption == "Left Border") return skin.ReadInteger(kP, "LeftFrame", 1);
  if (caption == "Right Border") return skin.ReadInteger(kP, "RightFrame", 1);
  if (caption == "Top Border") return skin.ReadInteger(kP, "TopFrame", 1) + kStackedFrames;
  if (caption == "Bottom Border") return skin.ReadInteger(kP, "BottomFrame", 1) + kStackedFrames;
  for (const TFixedCount& f : kFixedCounts)
    if (caption == f.Caption) return f.Frames;
  if (caption == "Progress") return ProgressFrames(skin);
  if (caption == "Header Control") {
    const int frames = skin.ReadInteger("Headerbar", "Frame", 0);
    return frames == 0 ? 5 : frames;
  }
  if (caption == "HorzScrollThumb") return skin.ReadInteger("HorzScrollThumb", "FrameCount", 3);
  if (caption == "VertScrollThumb") return skin.ReadInteger("VertScrollThumb", "FrameCount", 3);
  return kNoFrameLayout;
}

TPanelLayout LayoutBitmapPage(int client_width, int client_height, int bitmap_width,
                              int bitmap_height) {
  constexpr int kEdge = 3, kGap = 3;
  const int half_w = std::max(0, (client_width - 10) / 2);
  const int half_h = std::max(0, (client_height - 10) / 2);
  TPanelLayout l;
  if (bitmap_width > bitmap_height) {
    l.Bitmap = {kEdge, kEdge, 2 * half_w, half_h};
    l.Margins = {kEdge, kEdge + half_h + kGap, 2 * half_w, half_h};
  } else {
    l.Bitmap = {kEdge, kEdge, half_w, 2 * half_h};
    l.Margins = {kEdge + half_w + kGap, kEdge, half_w, 2 * half_h};
  }
  return l;
}

TPos CentreInBox(int box_width, int box_height, int image_width, int image_height) {
  TPos p;
  p.X = box_width - image_width > 0 ? (box_width - image_width) / 2 : 1;
  const int below = box_height - image_height - kBoxImageTop;
  p.Y = below > 0 ? kBoxImageTop + below / 2 : kBoxImageTop;
  return p;
}

bool ReadMargins(std::span<const TMarginCell> cells, TMargins& margins, std::string& error) {
  margins = {};
  for (const TMarginCell& c : cells) {
    if (!IsMarginType(c.Type) || c.Text.empty()) continue;
    const std::string text = Trim(c.Text);
    const int32_t low = IniStrToIntDef(text, INT32_MIN), high = IniStrToIntDef(text, INT32_MAX);
    if (low != high) {
      error = "'" + c.Text + "' is not a valid integer value";
      return false;
    }
    switch (c.Type) {
      case vtLeftMargin:
        margins.Left = low;
        break;
      case vtRightMargin:
        margins.Right = low;
        break;
      case vtTopMargin:
        margins.Top = low;
        break;
      default:
        margins.Bottom = low;
        break;
    }
  }
  return true;
}

std::string FormatMargins(const TMargins& m) {
  return std::to_string(m.Left) + "," + std::to_string(m.Top) + "," + std::to_string(m.Right) +
         "," + std::to_string(m.Bottom);
}

namespace {

void PutRGB(TPixmap& p, int x, int y, uint32_t rgb) {
  uint8_t* px = p.Row(y) + static_cast<size_t>(x) * 3;
  px[0] = static_cast<uint8_t>(rgb);
  px[1] = static_cast<uint8_t>(rgb >> 8);
  px[2] = static_cast<uint8_t>(rgb >> 16);
}

// Fills [x1, x2) by [y1, y2), clipped to the picture; coordinates may be
// anywhere (a margin can be larger than the frame).
void FillBox(TPixmap& p, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t rgb) {
  x1 = std::max<int64_t>(x1, 0);
  y1 = std::max<int64_t>(y1, 0);
  x2 = std::min<int64_t>(x2, p.Width);
  y2 = std::min<int64_t>(y2, p.Height);
  for (int64_t y = y1; y < y2; ++y)
    for (int64_t x = x1; x < x2; ++x)
      PutRGB(p, static_cast<int>(x), static_cast<int>(y), rgb);
}

void DrawMarginBars(TPixmap& p, const TMargins& m) {
  const int64_t w = p.Width, h = p.Height, in = kPreviewInset;
  const int64_t l = m.Left, r = m.Right, t = m.Top, b = m.Bottom;
  if (l > 0) {
    FillBox(p, 0, 0, l + in, in, kMarginBarRGB);
    FillBox(p, 0, h - in, l + in, h, kMarginBarRGB);
  }
  if (r > 0) {
    FillBox(p, w - r - in, 0, w, in, kMarginBarRGB);
    FillBox(p, w - r - in, h - in, w, h, kMarginBarRGB);
  }
  if (t > 0) {
    FillBox(p, 0, 0, in, t + in, kMarginBarRGB);
    FillBox(p, w - in, 0, w, t + in, kMarginBarRGB);
  }
  if (b > 0) {
    FillBox(p, 0, h - b - in, in, h, kMarginBarRGB);
    FillBox(p, w - in, h - b - in, w, h, kMarginBarRGB);
  }
}

}  // namespace

bool MakeMarginPreview(const TPixmap& bitmap, int bitmap_frames, const TMargins& margins,
                       uint32_t face_rgb, TPixmap& out) {
  const TFrameCut cut = CutOf(bitmap_frames);
  if (bitmap.Width <= 0 || bitmap.Height <= 0 || cut.Count < 1) return false;
  const int fw = cut.Stacked ? bitmap.Width : bitmap.Width / cut.Count;
  const int fh = cut.Stacked ? bitmap.Height / cut.Count : bitmap.Height;
  if (fw < 1 || fh < 1) return false;
  TPixmap p(fw + 2 * kPreviewInset, fh + 2 * kPreviewInset, 24);
  FillBox(p, 0, 0, p.Width, p.Height, face_rgb);
  DrawMarginBars(p, margins);
  FillBox(p, 0, 0, p.Width, 1, kPreviewBorderRGB);
  FillBox(p, 0, p.Height - 1, p.Width, p.Height, kPreviewBorderRGB);
  FillBox(p, 0, 0, 1, p.Height, kPreviewBorderRGB);
  FillBox(p, p.Width - 1, 0, p.Width, p.Height, kPreviewBorderRGB);
  for (int y = 0; y < fh; ++y)
    for (int x = 0; x < fw; ++x)
      PutRGB(p, x + kPreviewInset, y + kPreviewInset, bitmap.PixelRGB(x, y));
  out = std::move(p);
  return true;
}

TPos ReadOutPosition(int x, int y, int width, int height, int corner, bool margin_preview) {
  if (corner == kTopRight || corner == kBottomRight) x = width - x - 1;
  if (corner == kBottomLeft || corner == kBottomRight) y = height - y - 1;
  if (margin_preview) {
    x -= kPreviewInset - 1;
    y -= kPreviewInset - 1;
  }
  return {x, y};
}

TZoomView ZoomViewAt(int screen_x, int screen_y, int box_width, int box_height) {
  const int q = box_width / 4, r = box_height / 4;
  TZoomView v;
  v.Source = {screen_x - q / 2, screen_y - r / 2, q, r};
  v.VertFrom = {2 * q + 2, r};
  v.VertTo = {2 * q + 2, 3 * r};
  v.HorzFrom = {q, 2 * r + 1};
  v.HorzTo = {3 * q, 2 * r + 1};
  return v;
}

TBox FitPicture(int box_width, int box_height, int picture_width, int picture_height) {
  if (box_width < 1 || box_height < 1 || picture_width < 1 || picture_height < 1) return {};
  int64_t w = picture_width, h = picture_height;
  if (w <= box_width && h <= box_height) {
    const int64_t factor = std::min<int64_t>({4, box_width / w, box_height / h});
    w *= factor;
    h *= factor;
  } else if (w * box_height > h * box_width) {
    h = std::max<int64_t>(1, h * box_width / w);
    w = box_width;
  } else {
    w = std::max<int64_t>(1, w * box_height / h);
    h = box_height;
  }
  return {static_cast<int>((box_width - w) / 2), static_cast<int>((box_height - h) / 2),
          static_cast<int>(w), static_cast<int>(h)};
}

namespace {

uint32_t Le(std::span<const uint8_t> b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = (v << 8) | b[at + static_cast<size_t>(i)];
  return v;
}

void CheckBitmapSize(int64_t width, int64_t height) {
  if (width > kMaxEditorBitmapSide || height > kMaxEditorBitmapSide ||
      width * height > kMaxEditorBitmapPixels)
    throw EBmpError("The bitmap is too large (" + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels)");
}

}  // namespace

TPixmap DecodeEditorBitmap(std::span<const uint8_t> bytes) {
  // The size is checked from the header before any pixel is decoded.
  if (bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
    const uint32_t header = Le(bytes, 14, 4);
    int64_t w = 0, h = 0;
    if (header == 12) {
      w = Le(bytes, 18, 2);
      h = Le(bytes, 20, 2);
    } else {
      w = static_cast<int32_t>(Le(bytes, 18, 4));
      h = static_cast<int32_t>(Le(bytes, 22, 4));
    }
    CheckBitmapSize(w < 0 ? -w : w, h < 0 ? -h : h);
  }
  TPixmap image = DecodeBmp(bytes);
  CheckBitmapSize(image.Width, image.Height);
  return image;
}

TPixmap To24BitPixmap(const TPixmap& image) {
  if (image.BitsPerPixel == 24) return image;
  TPixmap out(image.Width, image.Height, 24);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x)
      PutRGB(out, x, y, image.PixelRGB(x, y));
  return out;
}
