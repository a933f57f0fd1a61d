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

// The keys a control image's section carries besides its image name.
enum TImageKeys {
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

// One control image: where its name goes, its member, the part it comes from.
struct TImageRow {
  const char* Section;
  const char* Key;
  const char* Member;
  int Part;
  TImageKeys Keys;
  TGeometry Geometry;  // frames of the written image; Frames 0: the part's own
  const char* GlyphMember;
};

const TImageRow kImageRows[] = {
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

// One title button: its section, part, member (none: the system-menu icon),
// action and visibility rules.
struct TTitleButtonRow {
  const char* Section;
  int Part;
  const char* Member;
  const char* Action;
  const char* Visibility;
  const char* Visibility1;
};

const TTitleButtonRow kTitleButtonRows[] = {
    {"Button0", 9, "CloseButton.bmp", "0", "0", nullptr},
    {"Button1", 4, "MaxButton.bmp", "1", "2", "6"},
    {"Button2", 5, "MinButton.bmp", "2", "8", nullptr},
    {"Button3", 6, "RestroreButton.bmp", "1", "1", "6"},
    {"Button4", 8, nullptr, "3", "0", nullptr},
    {"Button5", 7, "HelpButton.bmp", "4", "10", nullptr},
};

// One edge of the window frame: its key prefix, part, the lengths of its two
// fixed ends, its full length, member and transparency.
struct TFrameEdge {
  const char* Prefix;
  int Part;
  int First;
  int Second;
  int Length;
  const char* Member;
  int Trans;
};

// The fixed ends must leave at least one row (column) between them for the
// stretched middle; when they do not, the smaller end is kept whole and the
// larger one takes the rest.
std::pair<int, int> FitEdgeEnds(int first, int second, int length) {
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
  return {a, b};
}

using TMemberList = std::vector<std::pair<std::string, std::vector<uint8_t>>>;
using TPartArray = std::array<TStyleObj, kPartCount>;

// Writes the skin INI's sections and the bitmap members, each section group
// by one call, in the package's order.
class TSkinIniWriter {
 public:
  TSkinIniWriter(TQuickIni& ini, TMemberList& members, TPartArray& parts, uint32_t background)
      : ini_(ini), members_(members), parts_(parts), background_(background) {}

  void WriteIdentity(const std::string& skin_name);
  void WriteButtonStrips();
  void WriteControlImages();
  void WriteTitleButtons();
  // The window frame: two states per edge image, each edge's fixed ends held
  // inside the edge image; `frame_height` is the side edges' full length.
  void WriteWindowFrame(const TStyle& style, int frame_height);
  void WriteMinCaption();
  void WriteColours(const TQuickIni& theme);

 private:
  TStyleObj& Part(int n) { return parts_[static_cast<size_t>(n)]; }
  bool Has(int n) { return !IsEmpty(Part(n).Bitmap); }
  void Save(TPixmap image, const std::string& name);
  void WriteMargins(const char* section, int n, TGeometry g);
  void WriteImageKeys(const TImageRow& row, const TStyleObj& part, TGeometry g);
  void WriteEdge(const TFrameEdge& edge);

  TQuickIni& ini_;
  TMemberList& members_;
  TPartArray& parts_;
  uint32_t background_;
};

void TSkinIniWriter::Save(TPixmap image, const std::string& name) {
  // Members hold 24-bit images: an alpha channel would mean nothing to the
  // skin, whose transparency is the magenta key.
  std::vector<uint8_t> bytes;
  if (!IsEmpty(image)) {
    if (image.BitsPerPixel == 32) FlattenAlpha(image, background_);
    bytes = EncodeBmp(image);
  }
  members_.emplace_back(name, std::move(bytes));
}

void TSkinIniWriter::WriteMargins(const char* section, int n, TGeometry g) {
  TSizingMargins m = FitMargins(Part(n), g);
  ini_.WriteInteger(section, "TopHeight", m.Top);
  ini_.WriteInteger(section, "BottomHeight", m.Bottom);
  ini_.WriteInteger(section, "LeftWidth", m.Left);
  ini_.WriteInteger(section, "Rightwidth", m.Right);
}

void TSkinIniWriter::WriteIdentity(const std::string& skin_name) {
  ini_.WriteString("TitlebarSkin", "SkinName", skin_name);
  ini_.WriteString("TitlebarSkin", "SkinAuthor", "Styles");
  ini_.WriteString("Skins", "Version", "200");
}

void TSkinIniWriter::WriteButtonStrips() {
  if (Has(35)) {
    ini_.WriteString("Buttons", "Bitmap", "Buttons.bmp");
    WriteMargins("Buttons", 35, {5, false});
    ini_.WriteInteger("Buttons", "Trans", Part(35).Transparent);
    ini_.WriteInteger("Buttons", "CheckButtonFrame", 12);
    ini_.WriteInteger("Buttons", "RadioButtonFrame", 8);
    Save(Part(35).Bitmap, "Buttons.bmp");
  }
  if (Has(10)) {
    Save(Part(10).Bitmap, "CheckBox.bmp");
    ini_.WriteString("Buttons", "CheckButton", "Checkbox.bmp");
  }
  if (Has(11)) {
    Save(Part(11).Bitmap, "RadioButton.bmp");
    ini_.WriteString("Buttons", "RadioButton", "RadioButton.bmp");
  }
}

void TSkinIniWriter::WriteImageKeys(const TImageRow& row, const TStyleObj& part, TGeometry g) {
  const char* s = row.Section;
  switch (row.Keys) {
    case kNone:
    case kSpin:
      break;
    case kMarginsTransTileStyle:
      WriteMargins(s, row.Part, g);
      ini_.WriteInteger(s, "Trans", part.Transparent);
      ini_.WriteInteger(s, "Tile", part.Tiled);
      ini_.WriteInteger(s, "Style", 1);
      break;
    case kTransStyle:
      ini_.WriteInteger(s, "Trans", part.Transparent);
      ini_.WriteInteger(s, "Style", 1);
      break;
    case kMarginsTile:
      WriteMargins(s, row.Part, g);
      ini_.WriteInteger(s, "Tile", part.Tiled);
      break;
    case kHeader:
      WriteMargins(s, row.Part, g);
      ini_.WriteInteger(s, "Tile", part.Tiled);
      ini_.WriteInteger(s, "Trans", part.Transparent);
      ini_.WriteInteger(s, "Frame", 5);
      break;
    case kThumb:
      WriteMargins(s, row.Part, g);
      ini_.WriteInteger(s, "FrameCount", 4);
      break;
    case kMenuItem:
      WriteMargins(s, row.Part, g);
      ini_.WriteInteger(s, "Frame", 5);
      ini_.WriteInteger(s, "Trans", 1);
      break;
    case kMargins:
      WriteMargins(s, row.Part, g);
      break;
    case kTrack:
      WriteMargins(s, row.Part, g);
      ini_.WriteInteger(s, "Frame", 1);
      break;
  }
}

void TSkinIniWriter::WriteControlImages() {
  for (const TImageRow& row : kImageRows) {
    if (!Has(row.Part)) continue;
    TStyleObj& part = Part(row.Part);
    TGeometry g = row.Geometry.Frames == 0 ? OwnGeometry(part) : row.Geometry;
    ini_.WriteString(row.Section, row.Key, row.Member);
    WriteImageKeys(row, part, g);
    Save(part.Bitmap, row.Member);
    if (row.GlyphMember) {
      ini_.WriteString(row.Section, "GlyphImage", row.GlyphMember);
      Save(part.GlyphBitmap ? *part.GlyphBitmap : TPixmap(), row.GlyphMember);
    }
  }
}

void TSkinIniWriter::WriteTitleButtons() {
  for (const TTitleButtonRow& b : kTitleButtonRows) {
    TStyleObj& part = Part(b.Part);
    if (b.Member) ini_.WriteString(b.Section, "ButtonImage", b.Member);
    ini_.WriteInteger(b.Section, "Align", part.ButtonAlign);
    ini_.WriteInteger(b.Section, "XCoord", b.Member ? part.OffsetX : 8);
    ini_.WriteInteger(b.Section, "YCoord", b.Member ? part.OffsetY : 7);
    ini_.WriteString(b.Section, "Action", b.Action);
    ini_.WriteString(b.Section, "Visibility", b.Visibility);
    if (b.Visibility1) ini_.WriteString(b.Section, "Visibility1", b.Visibility1);
    if (b.Member) Save(part.Bitmap, b.Member);
  }
}

void TSkinIniWriter::WriteEdge(const TFrameEdge& edge) {
  auto [a, b] = FitEdgeEnds(edge.First, edge.Second, edge.Length);
  const char* p = "Personality";
  std::string pre = edge.Prefix;
  ini_.WriteString(p, pre, edge.Member);
  ini_.WriteInteger(p, pre + "Frame", 2);
  ini_.WriteInteger(p, pre + "Stretch", Part(edge.Part).Tiled);
  ini_.WriteInteger(p, pre + "Trans", edge.Trans);
  ini_.WriteInteger(p, pre + "TopHeight", a);
  ini_.WriteInteger(p, pre + "BotHeight", b);
  Save(Part(edge.Part).Bitmap, edge.Member);
}

void TSkinIniWriter::WriteWindowFrame(const TStyle& style, int frame_height) {
  const int lw = style.FrameLeftWidth, th = style.FrameTopHeight;
  const int rw = style.FrameRightWidth, bh = style.FrameBottomHeight;
  const TSizingMargins &m0 = Part(0).Margins, &m1 = Part(1).Margins, &m2 = Part(2).Margins;
  WriteEdge({"Left", 0, m0.Top + th, m0.Bottom + bh, frame_height, "FrameLeft.bmp", 1});
  WriteEdge({"Right", 1, m1.Top + th, m1.Bottom + bh, frame_height, "FrameRight.bmp", 1});
  WriteEdge({"Top", 2, m2.Left + lw, m2.Right + rw, Part(2).Bitmap.Width, "FrameTop.bmp", 1});
  WriteEdge({"Bottom", 3, m2.Left + lw, m2.Right + rw, Part(3).Bitmap.Width, "FrameBottom.bmp",
             Part(3).Transparent});
  ini_.WriteInteger("Personality", "TextShift", 16);
  ini_.WriteInteger("Personality", "TextShiftVert", 2);
  ini_.WriteInteger("Personality", "TextRightClip", 20);
}

void TSkinIniWriter::WriteMinCaption() {
  if (!Has(32)) return;
  TStyleObj& part = Part(32);
  if (part.Bitmap.BitsPerPixel == 32) FlattenAlpha(part.Bitmap, background_);
  ini_.WriteString("MinCaption", "Image", "MinCaption.bmp");
  WriteMargins("MinCaption", 32, OwnGeometry(part));
  ini_.WriteInteger("MinCaption", "Tile", part.Tiled);
  ini_.WriteInteger("MinCaption", "Trans", part.Transparent);
  ini_.WriteInteger("MinCaption", "Frame", part.FrameCount);
  Save(part.Bitmap, "MinCaption.bmp");
}

void TSkinIniWriter::WriteColours(const TQuickIni& theme) {
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
    std::string v = theme.ReadString("SysMetrics", c[0], "");
    if (!v.empty()) ini_.WriteString("Colours", c[1], v);
  }
  ini_.WriteString("Colours", "MenuText", "0 0 0");
  ini_.WriteString("Colours", "MenuBarText", theme.ReadString("SysMetrics", "MenuText", "0 0 0"));
  for (const auto& c :
       {std::pair{"Highlight", "Hilight"}, std::pair{"HighlightText", "HilightText"}}) {
    std::string v = theme.ReadString("SysMetrics", c.first, "");
    if (!v.empty()) ini_.WriteString("Colours", c.second, v);
  }
}

}  // namespace

std::vector<uint8_t> TStyle::BuildPackage() {
  out_ini_ = TQuickIni();
  Members.clear();
  TSkinIniWriter out(out_ini_, Members, parts_, ctx_.BackgroundColour);
  out.WriteIdentity(SkinName);
  out.WriteButtonStrips();
  out.WriteControlImages();
  out.WriteTitleButtons();
  out.WriteWindowFrame(*this, frame_h_);
  out.WriteMinCaption();
  out.WriteColours(ctx_.ThemeIni);

  std::vector<uint8_t> text;
  out_ini_.SaveToStream(text);
  Members.emplace_back(SkinName + ".ini", std::move(text));
  TSkinWriter writer;
  for (const auto& [name, bytes] : Members)
    writer.AddMember(name, bytes);
  return writer.SaveToBytes();
}
