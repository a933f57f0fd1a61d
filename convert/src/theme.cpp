#include "convert/theme.h"

#include <algorithm>
#include <limits>

#include "format/text.h"

const char* const kPartSections[kPartCount] = {"Window.FrameLeft",
                                               "Window.FrameRight",
                                               "Window.caption",
                                               "Window.Framebottom",
                                               "Window.MaxButton",
                                               "Window.MinButton",
                                               "Window.RestoreButton",
                                               "Window.HelpButton",
                                               "Window.SysButton",
                                               "Window.CloseButton",
                                               "button.checkbox",
                                               "Button.Radiobutton",
                                               "Progress.Bar",
                                               "Progress.Chunk",
                                               "Tab.TabItem",
                                               "Tab.Pane",
                                               "Combobox.DropDownButton",
                                               "Status",
                                               "Header.HeaderItem",
                                               "ScrollBar.ArrowBtn",
                                               "ScrollBar.ThumbBtnHorz",
                                               "ScrollBar.ThumbBtnVert",
                                               "ScrollBar.LowerTrackHorz",
                                               "ScrollBar.LowerTrackVert",
                                               "MenuBackground",
                                               "MenuBackground",
                                               "TrackBar.Thumb",
                                               "TrackBar.ThumbBottom",
                                               "TrackBar.Track",
                                               "TrackBar.TrackVert",
                                               "Spin.Up",
                                               "Spin.Downhorz",
                                               "Window.MinCaption",
                                               "*****",
                                               "Window.MDIMinButton",
                                               "button.pushbutton"};

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A digit run as a 32-bit value; 0 when it is too long for one.
int32_t RunValue(std::string_view run) {
  int64_t v = 0;
  for (char c : run) {
    v = v * 10 + (c - '0');
    if (v > std::numeric_limits<int32_t>::max()) return 0;
  }
  return static_cast<int32_t>(v);
}

int Half(int x) {
  return x / 2;  // rounds toward zero
}

// Blends c over k by a/256, rounding toward minus infinity.
uint8_t Blend(int k, int c, int a) {
  int d = (c - k) * a;
  int q = d >= 0 ? d / 256 : -((-d + 255) / 256);
  return static_cast<uint8_t>(k + q);
}

bool NearMagenta(const uint8_t* p) {
  return p[2] >= 252 && p[0] >= 252 && p[1] <= 3;
}

// 32-bit → flattened, other formats but 24-bit → 24 bits.
void Make24(TPixmap& image, uint32_t background) {
  if (image.BitsPerPixel == 32) {
    FlattenAlpha(image, background);
  } else {
    To24(image);
  }
}

}  // namespace

TSizingMargins ParseMargins(std::string_view text) {
  TSizingMargins m;
  text = TrimView(text);
  if (text.empty()) return m;
  int32_t slots[5] = {0, 0, 0, 0, 0};
  int s = 1;
  std::string run;
  for (char c : text) {
    if (IsDigit(c)) {
      run += c;
      continue;
    }
    if (!run.empty()) {
      if (s <= 4) slots[s] = RunValue(run);
      ++s;
      run.clear();
    }
  }
  if (s == 4 && !run.empty()) slots[4] = RunValue(run);
  m.Left = slots[1];
  m.Right = slots[2];
  m.Top = slots[3];
  m.Bottom = slots[4];
  return m;
}

std::vector<std::string> SplitNumbers(std::string_view text) {
  std::vector<std::string> out;
  text = TrimView(text);
  if (text.empty()) return out;
  std::string run;
  for (char c : text) {
    if (IsDigit(c)) {
      run += c;
    } else if (!run.empty()) {
      out.push_back(run);
      run.clear();
    }
  }
  out.push_back(run);
  return out;
}

uint32_t ParseColour(std::string_view text) {
  text = TrimView(text);
  int32_t slots[4] = {0, 0, 0, 0};
  int s = 1;
  std::string run;
  for (char c : text) {
    if (IsDigit(c)) {
      run += c;
      continue;
    }
    if (!run.empty() && s <= 3) slots[s] = RunValue(run);
    run.clear();
    ++s;
  }
  if (s == 3 && !run.empty()) slots[3] = RunValue(run);
  return static_cast<uint32_t>(slots[1] % 256) | static_cast<uint32_t>(slots[2] % 256) << 8 |
         static_cast<uint32_t>(slots[3] % 256) << 16;
}

void FlattenAlpha(TPixmap& image, uint32_t background) {
  if (image.BitsPerPixel != 32) return;
  TPixmap out = NewImage(image.Width, image.Height, 24);
  int k[3] = {static_cast<int>((background >> 16) & 0xFF),
              static_cast<int>((background >> 8) & 0xFF),
              static_cast<int>(background & 0xFF)};  // blue, green, red
  for (int y = 0; y < image.Height; ++y) {
    const uint8_t* s = image.Row(y);
    uint8_t* d = out.Row(y);
    for (int x = 0; x < image.Width; ++x, s += 4, d += 3) {
      bool magenta = s[0] == 255 && s[1] == 0 && s[2] == 255;
      if (magenta || s[3] <= 20) continue;  // stays magenta
      for (int c = 0; c < 3; ++c)
        d[c] = Blend(k[c], s[c], s[3]);
    }
  }
  image = std::move(out);
}

void MagentaToBackground(TPixmap& image, uint32_t background) {
  Make24(image, background);
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      if (ColourAt(image, x, y) == kMagentaKey) SetColourAt(image, x, y, background);
    }
  }
}

TPixmap NineSlice(int width, int height, const TPixmap& bitmap, TSizingMargins m, bool vertical,
                  int frame_count, int frame_number) {
  TPixmap out = NewImage(width, height, 24);
  if (frame_count <= 0) frame_count = 1;
  int fw = vertical ? bitmap.Width : bitmap.Width / frame_count;
  int fh = vertical ? bitmap.Height / frame_count : bitmap.Height;
  int ox = vertical ? 0 : fw * (frame_number - 1);
  int oy = vertical ? fh * (frame_number - 1) : 0;
  int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
  if (width < L + R) L = R = 0;
  if (height < T + B) T = B = 0;
  // Margins wider than the source frame would turn the source rectangles
  // inside out: they are held to the frame.
  L = std::clamp(L, 0, std::max(fw, 0));
  R = std::clamp(R, 0, std::max(fw - L, 0));
  T = std::clamp(T, 0, std::max(fh, 0));
  B = std::clamp(B, 0, std::max(fh - T, 0));
  auto copy = [&](int l, int t, int r, int b, int sl, int st, int sr, int sb) {
    StretchCopy(out, l, t, r - l, b - t, bitmap, ox + sl, oy + st, sr - sl, sb - st);
  };
  if (L * T > 0) copy(0, 0, L, T, 0, 0, L, T);
  if (L * B > 0) copy(0, height - B, L, height, 0, fh - B, L, fh);
  if (R * T > 0) copy(width - R, 0, width, T, fw - R, 0, fw, T);
  if (L > 0) copy(0, T, L, height - B, 0, T, L, fh - B);
  if (T > 0) copy(L, 0, width - R, T, L, 0, fw - R, T);
  copy(L, T, width - R, height - B, L, T, fw - R, fh - B);
  if (R * B > 0) copy(width - R, height - B, width, height, fw - R, fh - B, fw, fh);
  if (R > 0) copy(width - R, T, width, height - B, fw - R, T, fw, fh - B);
  if (B > 0) copy(L, height - B, width - R, height, L, fh - B, fw - R, fh);
  return out;
}

// ------------------------------------------------------------ TThemeContext

void TThemeContext::LoadTheme(const TResourceItem& text) {
  std::span<const uint8_t> data = text.Data();
  size_t units = data.size() / 2;
  std::string ansi = units ? WideToAnsi(data, units) : std::string();
  // A byte-order mark is not part of the first line.
  if (units && data[0] == 0xFF && data[1] == 0xFE) ansi.erase(0, 1);
  LoadThemeText(ansi);
}

void TThemeContext::LoadThemeText(std::string_view text) {
  // Every comment, also one after a value, gets a line of its own, which the
  // INI loader drops.
  std::string t;
  t.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == ';') t += '\r';
    t += c;
  }
  ThemeIni.SetText(t);
}

bool TThemeContext::LoadThemeImage(std::string_view section, std::string_view key,
                                   TPixmap& bitmap) {
  std::string v = ThemeIni.ReadString(section, key, "");
  // A part that chooses its image by screen resolution lists ImageFile1,
  // ImageFile2, ... instead of ImageFile; the first is the one for 96 dots
  // per inch.
  if (v.empty() && EqualsIgnoreCase(key, "ImageFile") &&
      EqualsIgnoreCase(ThemeIni.ReadString(section, "ImageSelectType", ""), "dpi")) {
    v = ThemeIni.ReadString(section, "ImageFile1", "");
  }
  if (v.empty() || !BitmapList) return false;
  for (char& c : v) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c == '\\' || c == '.') c = '_';
  }
  if (!names_built_) {
    names_built_ = true;
    for (const auto& item : BitmapList->Entries())
      names_.emplace(item->DisplayName(), item.get());  // the first of a name wins
  }
  auto it = names_.find(v);
  if (it == names_.end()) return false;
  try {
    TPixmap loaded;
    it->second->AssignTo(loaded);
    bitmap = std::move(loaded);
    return true;
  } catch (const std::exception&) {
    if (OnMessage) OnMessage("Read Image error:" + std::string(section) + "-" + std::string(key));
    return false;
  }
}

void TThemeContext::ReadPart(TStyleObj& part) {
  part.Bitmap = TPixmap();
  part.Bitmap.Width = part.Bitmap.Height = 0;
  LoadThemeImage(part.Section, "imagefile", part.Bitmap);
  if (part.Bitmap.BitsPerPixel < 24) To24(part.Bitmap);
  part.Margins = ParseMargins(ThemeIni.ReadString(part.Section, "sizingmargins", ""));
  std::string count = ThemeIni.ReadString(part.Section, "imageCount", "1");
  int32_t a = StrToIntDef(count, 0), b = StrToIntDef(count, 1);
  if (a != b) throw EConvertError("\"" + count + "\" is not a valid integer value");
  part.FrameCount = a;
  part.Tiled = LowerAscii(ThemeIni.ReadString(part.Section, "sizingtype", "stretch")) != "stretch";
  part.Vertical =
      LowerAscii(ThemeIni.ReadString(part.Section, "imagelayout", "vertical")) == "vertical";
  part.Transparent =
      LowerAscii(ThemeIni.ReadString(part.Section, "transparent", "false")) != "false";
}

bool TThemeContext::HasVisibleImage(std::string_view section, std::string_view key) {
  TPixmap image;
  image.Width = image.Height = 0;
  if (!LoadThemeImage(section, key, image)) return false;
  Make24(image, BackgroundColour);
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      if (ColourAt(image, x, y) != kMagentaKey) return true;
    }
  }
  return false;
}

void TThemeContext::ReorderFrames(TStyleObj& part, TPixmap& bitmap, bool transparent_fill) {
  if (bitmap.BitsPerPixel == 32) {
    FlattenAlpha(bitmap, BackgroundColour);
    part.Transparent = 1;
  } else if (bitmap.BitsPerPixel != 24) {
    To24(bitmap);
  }
  int frames = Frames(part);
  TPixmap source = std::move(bitmap);
  int w = part.Vertical ? source.Width : source.Width / frames;
  int h = part.Vertical ? source.Height / frames : source.Height;
  bitmap = NewImage(static_cast<int>(FrameMap.size()) * w, h, 24);
  uint32_t key = ColourAt(source, 0, 0);
  for (size_t i = 0; i < FrameMap.size(); ++i) {
    int m = FrameMap[i];
    int sx = part.Vertical ? 0 : w * (m - 1);
    int sy = part.Vertical ? h * (m - 1) : 0;
    int dx = w * static_cast<int>(i);
    if (transparent_fill) {
      DrawTransparent(bitmap, dx, 0, source, sx, sy, w, h, key);
    } else {
      CopyRect(bitmap, dx, 0, source, sx, sy, w, h);
    }
  }
}

void TThemeContext::ComposeGlyph(TStyleObj& part, std::string_view key) {
  TPixmap glyph;
  glyph.Width = glyph.Height = 0;
  if (!LoadThemeImage(part.Section, key, glyph)) return;
  Make24(part.Bitmap, BackgroundColour);
  int frames = Frames(part);
  if (part.Section.find("Window.") != std::string::npos &&
      (part.Bitmap.Width < glyph.Width || part.Bitmap.Height < glyph.Height)) {
    // The button grows to the glyph's size; each state frame is scaled with
    // the part's sizing margins, so that a small sliced background keeps its
    // border instead of smearing it across the button.
    TPixmap old = std::move(part.Bitmap);
    int fw = part.Vertical ? glyph.Width : glyph.Width / frames;
    int fh = part.Vertical ? glyph.Height / frames : glyph.Height;
    part.Bitmap = NewImage(glyph.Width, glyph.Height);
    for (int k = 0; k < frames; ++k) {
      TPixmap frame = NineSlice(fw, fh, old, part.Margins, part.Vertical != 0, frames, k + 1);
      CopyRect(part.Bitmap, part.Vertical ? 0 : k * fw, part.Vertical ? k * fh : 0, frame, 0, 0, fw,
               fh);
    }
  }
  int bw = part.Vertical ? part.Bitmap.Width : part.Bitmap.Width / frames;
  int bh = part.Vertical ? part.Bitmap.Height / frames : part.Bitmap.Height;
  int gw = part.Vertical ? glyph.Width : glyph.Width / frames;
  int gh = part.Vertical ? glyph.Height / frames : glyph.Height;
  int w = std::min(gw, bw), h = std::min(gh, bh);
  bool alpha = glyph.BitsPerPixel == 32;
  if (!alpha) To24(glyph);
  int gb = glyph.BitsPerPixel / 8;
  for (int k = 0; k < frames; ++k) {
    int tx, ty, sx, sy;
    if (part.Vertical) {
      tx = Half(bw - w);
      ty = k * bh + Half(bh - h);
      sx = Half(gw - w);
      sy = k * gh + Half(gh - h);
    } else {
      tx = k * bw + Half(bw - w);
      ty = Half(bh - h);
      sx = k * gw + Half(gw - w);
      sy = Half(gh - h);
    }
    for (int j = 0; j < h; ++j) {
      int y = ty + j, v = sy + j;
      if (y < 0 || y >= part.Bitmap.Height || v < 0 || v >= glyph.Height) continue;
      for (int i = 0; i < w; ++i) {
        int x = tx + i, u = sx + i;
        if (x < 0 || x >= part.Bitmap.Width || u < 0 || u >= glyph.Width) continue;
        const uint8_t* s = glyph.Row(v) + static_cast<size_t>(u) * static_cast<size_t>(gb);
        if (NearMagenta(s)) continue;
        uint8_t* d = part.Bitmap.Row(y) + static_cast<size_t>(x) * 3;
        for (int c = 0; c < 3; ++c)
          d[c] = alpha ? Blend(d[c], s[c], s[3]) : s[c];
      }
    }
  }
}

void TThemeContext::ComposeMdiGlyphs(TStyleObj& part) {
  if (!part.GlyphBitmap) return;
  TPixmap& glyph = *part.GlyphBitmap;
  Make24(part.Bitmap, BackgroundColour);
  Make24(glyph, BackgroundColour);
  if (part.Bitmap.Width < glyph.Width && part.Bitmap.Height < glyph.Height)
    ResizeStretched(part.Bitmap, glyph.Width, glyph.Height);
  int frames = Frames(part);
  int gw = glyph.Width, gh = glyph.Height / frames;
  int bw = part.Bitmap.Width, bh = part.Bitmap.Height / frames;
  for (int k = 0; k < frames; ++k) {
    DrawTransparent(part.Bitmap, Half(bw - gw), k * bh + Half(bh - gh), glyph, 0, gh * k, gw, gh,
                    kMagentaKey);
  }
}

namespace {

// Appends `extra` below (or beside) `image`.
void Append(TPixmap& image, const TPixmap& extra, bool below) {
  if (IsEmpty(extra)) return;
  int x = below ? 0 : image.Width, y = below ? image.Height : 0;
  int w = below ? std::max(image.Width, extra.Width) : image.Width + extra.Width;
  int h = below ? image.Height + extra.Height : std::max(image.Height, extra.Height);
  ResizeCanvas(image, w, h);
  CopyRect(image, x, y, extra, 0, 0, extra.Width, extra.Height);
}

}  // namespace

void TThemeContext::AppendMdiButton(TStyleObj& part, std::string_view section) {
  TPixmap extra;
  extra.Width = extra.Height = 0;
  LoadThemeImage(section, "ImageFile", extra);
  Make24(extra, BackgroundColour);
  Make24(part.Bitmap, BackgroundColour);
  Append(part.Bitmap, extra, true);
  TPixmap glyph;
  glyph.Width = glyph.Height = 0;
  LoadThemeImage(section, GlyphKey(section), glyph);
  Make24(glyph, BackgroundColour);
  if (!part.GlyphBitmap) part.GlyphBitmap = std::make_unique<TPixmap>(0, 0, 24);
  Make24(*part.GlyphBitmap, BackgroundColour);
  Append(*part.GlyphBitmap, glyph, true);
  part.FrameCount += 4;
}

std::string TThemeContext::GlyphKey(std::string_view section) const {
  // Styles that choose their glyphs by screen resolution list them as
  // ImageFile1, ImageFile2, ...; the first is the one for 96 dots per inch.
  if (ThemeIni.ReadString(section, "GlyphImageFile", "").empty() &&
      LowerAscii(ThemeIni.ReadString(section, "GlyphType", "")) == "imageglyph" &&
      !ThemeIni.ReadString(section, "ImageFile1", "").empty()) {
    return "ImageFile1";
  }
  return "GlyphImageFile";
}

void TThemeContext::JoinSpinImages(TStyleObj& part, std::string_view other_section) {
  part.GlyphBitmap = std::make_unique<TPixmap>(0, 0, 24);
  LoadThemeImage(part.Section, GlyphKey(part.Section), *part.GlyphBitmap);
  TPixmap other;
  other.Width = other.Height = 0;
  LoadThemeImage(other_section, "ImageFile", other);
  Make24(other, BackgroundColour);
  Make24(part.Bitmap, BackgroundColour);
  Make24(*part.GlyphBitmap, BackgroundColour);
  bool below = part.Vertical != 0;
  Append(part.Bitmap, other, below);
  TPixmap other_glyph;
  other_glyph.Width = other_glyph.Height = 0;
  LoadThemeImage(other_section, GlyphKey(other_section), other_glyph);
  Make24(other_glyph, BackgroundColour);
  Append(*part.GlyphBitmap, other_glyph, below);
  part.FrameCount *= 2;
}
