// The converted skin: the prepared parts mapped onto the skin INI's sections
// and keys, each image stored as a bitmap member, the INI member last.
#include <algorithm>

#include "convert/style_convert.h"
#include "format/skin_package.h"

namespace {

// How a written image is divided into frames.
struct TGeometry {
  int Frames = 1;
  bool Vertical = false;
};

TGeometry OwnGeometry(const TStyleObj& part) {
  return {TThemeContext::Frames(part), part.Vertical != 0};
}

// Margins held inside one frame of the image they describe.
TSizingMargins FitMargins(const TStyleObj& part, TGeometry g) {
  int frames = std::max(g.Frames, 1);
  int fw = g.Vertical ? part.Bitmap.Width : part.Bitmap.Width / frames;
  int fh = g.Vertical ? part.Bitmap.Height / frames : part.Bitmap.Height;
  TSizingMargins m = part.Margins;
  m.Left = std::clamp(m.Left, 0, std::max(fw, 0));
  m.Right = std::clamp(m.Right, 0, std::max(fw - m.Left, 0));
  m.Top = std::clamp(m.Top, 0, std::max(fh, 0));
  m.Bottom = std::clamp(m.Bottom, 0, std::max(fh - m.Top, 0));
  return m;
}

}  // namespace

std::vector<uint8_t> TStyle::BuildPackage() {
  TQuickIni& ini = out_ini_;
  ini = TQuickIni();
  Members.clear();
  const uint32_t background = ctx_.BackgroundColour;
  auto save = [&](TPixmap image, const std::string& name) {
    // Members hold 24-bit images: an alpha channel would mean nothing to the
    // skin, whose transparency is the magenta key.
    std::vector<uint8_t> bytes;
    if (!IsEmpty(image)) {
      if (image.BitsPerPixel == 32) FlattenAlpha(image, background);
      bytes = EncodeBmp(image);
    }
    Members.emplace_back(name, std::move(bytes));
  };
  auto has = [&](int n) { return !IsEmpty(parts_[static_cast<size_t>(n)].Bitmap); };
  auto margins = [&](const char* section, int n, TGeometry g) {
    TSizingMargins m = FitMargins(parts_[static_cast<size_t>(n)], g);
    ini.WriteInteger(section, "TopHeight", m.Top);
    ini.WriteInteger(section, "BottomHeight", m.Bottom);
    ini.WriteInteger(section, "LeftWidth", m.Left);
    ini.WriteInteger(section, "Rightwidth", m.Right);
  };

  ini.WriteString("TitlebarSkin", "SkinName", SkinName);
  ini.WriteString("TitlebarSkin", "SkinAuthor", "Styles");
  ini.WriteString("Skins", "Version", "200");

  if (has(35)) {
    ini.WriteString("Buttons", "Bitmap", "Buttons.bmp");
    margins("Buttons", 35, {5, false});
    ini.WriteInteger("Buttons", "Trans", parts_[35].Transparent);
    ini.WriteInteger("Buttons", "CheckButtonFrame", 12);
    ini.WriteInteger("Buttons", "RadioButtonFrame", 8);
    save(parts_[35].Bitmap, "Buttons.bmp");
  }
  if (has(10)) {
    save(parts_[10].Bitmap, "CheckBox.bmp");
    ini.WriteString("Buttons", "CheckButton", "Checkbox.bmp");
  }
  if (has(11)) {
    save(parts_[11].Bitmap, "RadioButton.bmp");
    ini.WriteString("Buttons", "RadioButton", "RadioButton.bmp");
  }

  enum Extra {
    kNone,
    kMarginsTransTileStyle,
    kTransStyle,
    kMarginsTile,
    kHeader,
    kThumb,
    kMenuItem,
    kMargins,
    kTrack,
    kSpin
  };
  struct TRow {
    const char* Section;
    const char* Key;
    const char* Member;
    int Part;
    Extra Keys;
    TGeometry Geometry;  // frames of the written image; Frames 0: the part's own
    const char* GlyphMember;
  };
  const TRow rows[] = {
      {"Progress", "Bitmap", "Progress.bmp", 12, kMarginsTransTileStyle, {0, false}, nullptr},
      {"Progress.Chunk",
       "Image",
       "ProgressChunk.bmp",
       13,
       kMarginsTransTileStyle,
       {0, false},
       nullptr},
      {"Tabs", "Image", "Tab.bmp", 14, kMarginsTransTileStyle, {5, false}, nullptr},
      {"Tab.Pane", "Image", "TabSheet.bmp", 15, kMarginsTransTileStyle, {0, false}, nullptr},
      {"ComboButton", "Image", "ComboboxBtn.bmp", 16, kTransStyle, {4, false}, nullptr},
      {"StatusBarEdges", "Image", "StatusBar.bmp", 17, kMarginsTile, {3, false}, nullptr},
      {"Headerbar", "Image", "Header.bmp", 18, kHeader, {5, false}, nullptr},
      {"Scrollbar", "Image", "ScrollbarArrow.bmp", 19, kNone, {23, false}, nullptr},
      {"HorzScrollThumb", "Image", "ScrollbarHThumb.bmp", 20, kThumb, {4, false}, nullptr},
      {"VertScrollThumb", "Image", "ScrollbarVThumb.bmp", 21, kThumb, {4, false}, nullptr},
      {"HorzScroll", "Image", "ScrollbarHBar.bmp", 22, kMarginsTile, {4, false}, nullptr},
      {"VertScroll", "Image", "ScrollbarVBar.bmp", 23, kMarginsTile, {4, false}, nullptr},
      {"MenuBackground", "Image", "MenuBackground.bmp", 24, kMargins, {1, false}, nullptr},
      {"MenuItem", "Image", "MenuItem.bmp", 33, kMenuItem, {5, false}, nullptr},
      {"ExtraImages", "Image", "ExtraImages.bmp", 25, kNone, {1, false}, nullptr},
      {"Trackbar.ThumbHorz", "Image", "TrackThumbH.bmp", 26, kNone, {5, false}, nullptr},
      {"Trackbar.ThumbDown", "Image", "TrackBot.bmp", 27, kNone, {5, false}, nullptr},
      {"Track", "Image", "TrackBar.bmp", 28, kTrack, {0, false}, nullptr},
      {"TRACKVERT", "Image", "TrackBarV.bmp", 29, kTrack, {0, false}, nullptr},
      {"MDICONTROLS", "Image", "Mdibutton.bmp", 34, kNone, {12, false}, nullptr},
      {"UpDown.Vert", "Image", "Spin.bmp", 30, kSpin, {8, false}, "SpinArrow.bmp"},
      {"UpDown.Horz", "Image", "Spinh.bmp", 31, kSpin, {8, false}, "SpinhArrow.bmp"},
  };
  for (const TRow& row : rows) {
    if (!has(row.Part)) continue;
    TStyleObj& part = parts_[static_cast<size_t>(row.Part)];
    TGeometry g = row.Geometry.Frames == 0 ? OwnGeometry(part) : row.Geometry;
    const char* s = row.Section;
    ini.WriteString(s, row.Key, row.Member);
    switch (row.Keys) {
      case kNone:
        break;
      case kMarginsTransTileStyle:
        margins(s, row.Part, g);
        ini.WriteInteger(s, "Trans", part.Transparent);
        ini.WriteInteger(s, "Tile", part.Tiled);
        ini.WriteInteger(s, "Style", 1);
        break;
      case kTransStyle:
        ini.WriteInteger(s, "Trans", part.Transparent);
        ini.WriteInteger(s, "Style", 1);
        break;
      case kMarginsTile:
        margins(s, row.Part, g);
        ini.WriteInteger(s, "Tile", part.Tiled);
        break;
      case kHeader:
        margins(s, row.Part, g);
        ini.WriteInteger(s, "Tile", part.Tiled);
        ini.WriteInteger(s, "Trans", part.Transparent);
        ini.WriteInteger(s, "Frame", 5);
        break;
      case kThumb:
        margins(s, row.Part, g);
        ini.WriteInteger(s, "FrameCount", 4);
        break;
      case kMenuItem:
        margins(s, row.Part, g);
        ini.WriteInteger(s, "Frame", 5);
        ini.WriteInteger(s, "Trans", 1);
        break;
      case kMargins:
        margins(s, row.Part, g);
        break;
      case kTrack:
        margins(s, row.Part, g);
        ini.WriteInteger(s, "Frame", 1);
        break;
      case kSpin:
        break;
    }
    save(part.Bitmap, row.Member);
    if (row.GlyphMember) {
      ini.WriteString(s, "GlyphImage", row.GlyphMember);
      save(part.GlyphBitmap ? *part.GlyphBitmap : TPixmap(), row.GlyphMember);
    }
  }

  struct TButton {
    const char* Section;
    int Part;
    const char* Member;
    const char* Action;
    const char* Visibility;
    const char* Visibility1;
  };
  const TButton buttons[] = {
      {"Button0", 9, "CloseButton.bmp", "0", "0", nullptr},
      {"Button1", 4, "MaxButton.bmp", "1", "2", "6"},
      {"Button2", 5, "MinButton.bmp", "2", "8", nullptr},
      {"Button3", 6, "RestroreButton.bmp", "1", "1", "6"},
      {"Button4", 8, nullptr, "3", "0", nullptr},
      {"Button5", 7, "HelpButton.bmp", "4", "10", nullptr},
  };
  for (const TButton& b : buttons) {
    TStyleObj& part = parts_[static_cast<size_t>(b.Part)];
    if (b.Member) ini.WriteString(b.Section, "ButtonImage", b.Member);
    ini.WriteInteger(b.Section, "Align", part.ButtonAlign);
    ini.WriteInteger(b.Section, "XCoord", b.Member ? part.OffsetX : 8);
    ini.WriteInteger(b.Section, "YCoord", b.Member ? part.OffsetY : 7);
    ini.WriteString(b.Section, "Action", b.Action);
    ini.WriteString(b.Section, "Visibility", b.Visibility);
    if (b.Visibility1) ini.WriteString(b.Section, "Visibility1", b.Visibility1);
    if (b.Member) save(part.Bitmap, b.Member);
  }

  // The window frame: two states per edge image. Each edge's fixed ends are
  // held inside the edge image.
  const int lw = FrameLeftWidth, th = FrameTopHeight, rw = FrameRightWidth, bh = FrameBottomHeight;
  const char* p = "Personality";
  auto edge = [&](const char* prefix, int n, int first, int second, int length, const char* member,
                  int trans) {
    // The fixed ends must leave at least one row (column) between them for
    // the stretched middle; when they do not, the smaller end is kept whole
    // and the larger one takes the rest.
    int room = std::max(length - 1, 0);
    int a = std::max(first, 0), b = std::max(second, 0);
    if (a + b > room) {
      if (a <= b) {
        a = std::min(a, room);
        b = room - a;
      } else {
        b = std::min(b, room);
        a = room - b;
      }
    }
    std::string pre = prefix;
    ini.WriteString(p, pre, member);
    ini.WriteInteger(p, pre + "Frame", 2);
    ini.WriteInteger(p, pre + "Stretch", parts_[static_cast<size_t>(n)].Tiled);
    ini.WriteInteger(p, pre + "Trans", trans);
    ini.WriteInteger(p, pre + "TopHeight", a);
    ini.WriteInteger(p, pre + "BotHeight", b);
    save(parts_[static_cast<size_t>(n)].Bitmap, member);
  };
  const TSizingMargins &m0 = parts_[0].Margins, &m1 = parts_[1].Margins, &m2 = parts_[2].Margins;
  edge("Left", 0, m0.Top + th, m0.Bottom + bh, frame_h_, "FrameLeft.bmp", 1);
  edge("Right", 1, m1.Top + th, m1.Bottom + bh, frame_h_, "FrameRight.bmp", 1);
  int inner = parts_[2].Bitmap.Width;
  edge("Top", 2, m2.Left + lw, m2.Right + rw, inner, "FrameTop.bmp", 1);
  edge("Bottom", 3, m2.Left + lw, m2.Right + rw, parts_[3].Bitmap.Width, "FrameBottom.bmp",
       parts_[3].Transparent);
  ini.WriteInteger(p, "TextShift", 16);
  ini.WriteInteger(p, "TextShiftVert", 2);
  ini.WriteInteger(p, "TextRightClip", 20);

  if (has(32)) {
    TStyleObj& part = parts_[32];
    if (part.Bitmap.BitsPerPixel == 32) FlattenAlpha(part.Bitmap, background);
    ini.WriteString("MinCaption", "Image", "MinCaption.bmp");
    margins("MinCaption", 32, OwnGeometry(part));
    ini.WriteInteger("MinCaption", "Tile", part.Tiled);
    ini.WriteInteger("MinCaption", "Trans", part.Transparent);
    ini.WriteInteger("MinCaption", "Frame", part.FrameCount);
    save(part.Bitmap, "MinCaption.bmp");
  }

  const char* colours[][2] = {{"Btnface", "ButtonFace"},
                              {"BtnText", "ButtonText"},
                              {"CaptionText", "TitleTextActive"},
                              {"InactiveCaptionText", "TitleTextNoActive"},
                              {"BtnHighlight", "ButtonHilight"},
                              {"BtnShadow", "ButtonShadow"},
                              {"DkShadow3d", "ButtonDkShadow"},
                              {"Light3d", "Buttonlight"},
                              {"MenuBar", "Menubar"},
                              {"Menu", "Menu"}};
  for (const auto& c : colours) {
    std::string v = ctx_.ThemeIni.ReadString("SysMetrics", c[0], "");
    if (!v.empty()) ini.WriteString("Colours", c[1], v);
  }
  ini.WriteString("Colours", "MenuText", "0 0 0");
  ini.WriteString("Colours", "MenuBarText",
                  ctx_.ThemeIni.ReadString("SysMetrics", "MenuText", "0 0 0"));
  for (const auto& c :
       {std::pair{"Highlight", "Hilight"}, std::pair{"HighlightText", "HilightText"}}) {
    std::string v = ctx_.ThemeIni.ReadString("SysMetrics", c.first, "");
    if (!v.empty()) ini.WriteString("Colours", c.second, v);
  }

  std::vector<uint8_t> text;
  ini.SaveToStream(text);
  Members.emplace_back(SkinName + ".ini", std::move(text));
  TSkinWriter writer;
  for (const auto& [name, bytes] : Members)
    writer.AddMember(name, bytes);
  return writer.SaveToBytes();
}
