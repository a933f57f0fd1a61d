#include "test_skin.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "engine/image_ops.h"
#include "format/skin_package.h"

namespace {

uint32_t Mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352du;
  x ^= x >> 15;
  x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}

int Distance(TColor a, TColor b) {
  return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
         std::abs(BlueOf(a) - BlueOf(b));
}

bool Acceptable(TColor c) {
  const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  const int spread = std::max({r, g, b}) - std::min({r, g, b});
  if (spread < 48) return false;  // greys are where the system colours live
  if (Distance(c, kMagenta) < 120) return false;
  for (int i = 0; i <= 30; ++i)
    if (Distance(c, DefaultSystemColour(i)) < 60) return false;
  return true;
}

}  // namespace

TColor TestPieceColour(int index, int frame, TTestPiece piece, int variant) {
  uint32_t seed = static_cast<uint32_t>(((index * 64 + frame) * 16 + static_cast<int>(piece)) +
                                        variant * 1000003);
  for (;;) {
    const uint32_t h = Mix(seed++);
    const TColor c = h & 0xFFFFFFu;
    if (Acceptable(c)) return c;
  }
}

TTestPiece TestPieceAt(int x, int y, int fw, int fh, TMargins m) {
  const bool l = x < m.Left, r = x >= fw - m.Right, t = y < m.Top, b = y >= fh - m.Bottom;
  if (t && l) return (x == m.Left - 1 && y == m.Top - 1) ? TTestPiece::Marker : TTestPiece::TopLeft;
  if (t && r)
    return (x == fw - m.Right && y == m.Top - 1) ? TTestPiece::Marker : TTestPiece::TopRight;
  if (b && l)
    return (x == m.Left - 1 && y == fh - m.Bottom) ? TTestPiece::Marker : TTestPiece::BottomLeft;
  if (b && r)
    return (x == fw - m.Right && y == fh - m.Bottom) ? TTestPiece::Marker : TTestPiece::BottomRight;
  if (l) return TTestPiece::Left;
  if (r) return TTestPiece::Right;
  if (t) return TTestPiece::Top;
  if (b) return TTestPiece::Bottom;
  return TTestPiece::Centre;
}

TPixmap MakeTestStrip(const TTestElement& e, int variant) {
  const int n = std::max(e.Frames, 1);
  const int w = e.Vertical ? e.FrameWidth : e.FrameWidth * n;
  const int h = e.Vertical ? e.FrameHeight * n : e.FrameHeight;
  TPixmap img(w, h, 24);
  for (int k = 1; k <= n; ++k) {
    const int ox = e.Vertical ? 0 : (k - 1) * e.FrameWidth;
    const int oy = e.Vertical ? (k - 1) * e.FrameHeight : 0;
    for (int y = 0; y < e.FrameHeight; ++y) {
      for (int x = 0; x < e.FrameWidth; ++x) {
        const TTestPiece p = TestPieceAt(x, y, e.FrameWidth, e.FrameHeight, e.Margins);
        SetPixel(img, ox + x, oy + y, TestPieceColour(e.Index, k, p, variant));
      }
    }
  }
  return img;
}

std::vector<uint8_t> TTestSkin::Package() const {
  TSkinWriter w;
  for (const TSkinFileEntry& m : Members)
    w.AddMember(m.Name, m.Bytes);
  return w.SaveToBytes();
}

const TTestElement* TTestSkin::Find(const std::string& member) const {
  for (const TTestElement& e : Elements)
    if (e.Member == member) return &e;
  return nullptr;
}

TTestSkin MakeTestSkin(const TTestSkinOptions& o) {
  TTestSkin skin;
  const int g = o.Grow;
  std::string ini;
  auto line = [&](const std::string& s) { ini += s + "\r\n"; };
  auto add = [&](std::string section, std::string key, std::string member, int frames, int fw,
                 int fh, TMargins m, bool vertical) {
    TTestElement e;
    e.Index = static_cast<int>(skin.Elements.size()) + 1;
    e.Section = std::move(section);
    e.Key = std::move(key);
    e.Member = std::move(member);
    e.Frames = frames;
    e.FrameWidth = fw + g;
    e.FrameHeight = fh + g;
    e.Margins = m;
    e.Vertical = vertical;
    skin.Elements.push_back(e);
    return e.Member;
  };
  auto margins = [&](const TMargins& m) {
    line("LeftWidth=" + std::to_string(m.Left));
    line("TopHeight=" + std::to_string(m.Top));
    line("RightWidth=" + std::to_string(m.Right));
    line("BottomHeight=" + std::to_string(m.Bottom));
  };

  line("[Skins]");
  line("Version=200");
  line("[Personality]");
  line("Left=" + add("Personality", "Left", "left.bmp", 2, 6, 40, {0, 8, 0, 8}, false));
  line("LeftFrame=2");
  line("LeftTopHeight=8");
  line("LeftBotHeight=8");
  line("LeftStretch=1");
  line("Right=" + add("Personality", "Right", "right.bmp", 2, 6, 40, {0, 8, 0, 8}, false));
  line("RightFrame=2");
  line("RightTopHeight=8");
  line("RightBotHeight=8");
  line("Top=" + add("Personality", "Top", "top.bmp", 2, 60, 24, {10, 0, 12, 0}, true));
  line("TopFrame=2");
  line("TopTopHeight=10");
  line("TopBotHeight=12");
  line("TopStretch=0");
  line("Bottom=" + add("Personality", "Bottom", "bottom.bmp", 2, 60, 6, {8, 0, 8, 0}, true));
  line("BottomFrame=2");
  line("BottomTopHeight=8");
  line("BottomBotHeight=8");
  line("TextBack=" + add("Personality", "TextBack", "textback.bmp", 2, 40, 18, {5, 0, 5, 0}, true));
  line("TextShift=6");
  line("TextAlignment=0");
  line("TXTBackleft=5");
  line("TXTBackRight=5");
  line("menuBar=" + add("Personality", "menuBar", "menubar.bmp", 2, 40, 20, {4, 0, 4, 0}, true));
  line("TileLeftMenu=4");
  line("TileRightMenu=4");
  line("TileMenu=1");

  line("[Colours]");
  line("ButtonFace=40 90 160");
  line("WindowText=10 20 30");
  line("ButtonText=200 30 40");

  struct TButtonRow {
    const char* Section;
    int Action, Vis, Vis1, X;
  };
  static constexpr TButtonRow kButtons[] = {{"BUTTON0", 0, 0, 0, 24},
                                            {"BUTTON1", 1, 2, 6, 44},
                                            {"BUTTON2", 2, 8, 0, 64},
                                            {"BUTTON3", 1, 1, 6, 44},
                                            {"BUTTON4", 4, 10, 0, 84}};
  for (const TButtonRow& b : kButtons) {
    line(std::string("[") + b.Section + "]");
    std::string member = std::string(b.Section) + ".bmp";
    for (char& ch : member)
      ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    line("ButtonImage=" + add(b.Section, "ButtonImage", member, 3, 18, 16, {}, false));
    line("Align=1");
    line("XCoord=" + std::to_string(b.X));
    line("YCoord=4");
    line("Action=" + std::to_string(b.Action));
    line("Visibility=" + std::to_string(b.Vis));
    if (b.Vis1) line("Visibility1=" + std::to_string(b.Vis1));
    line("Frame=3");
  }
  line("[MDICONTROLS]");
  line("Image=" + add("MDICONTROLS", "Image", "mdicontrols.bmp", 12, 16, 14, {}, false));

  line("[Buttons]");
  line("Bitmap=" + add("Buttons", "Bitmap", "button.bmp", 5, 24, 22, {4, 4, 4, 4}, false));
  margins({4, 4, 4, 4});
  line("CheckButton=" +
       add("Buttons", "CheckButton", "check.bmp", o.CheckCells, 13, 13, {}, false));
  line("RadioButton=" +
       add("Buttons", "RadioButton", "radio.bmp", o.RadioCells, 13, 13, {}, false));
  line("NormalColour2=0 0 128");

  struct TRow {
    const char* Section;
    const char* Member;
    int Frames, W, H;
    TMargins M;
    const char* Extra;
  };
  static const TRow kRows[] = {
      {"Progress", "progress.bmp", 2, 20, 12, {3, 3, 3, 3}, "Style=0"},
      {"Progress.Chunk", "chunk.bmp", 1, 8, 10, {}, ""},
      {"GroupBoxEdge", "groupedge.bmp", 2, 20, 20, {5, 5, 5, 5}, ""},
      {"GroupBox", "groupbox.bmp", 1, 40, 16, {6, 0, 6, 0}, ""},
      {"Tabs", "tabs.bmp", 5, 30, 20, {4, 4, 4, 0}, "Border=tabborder.bmp"},
      {"StatusBarEdges", "status.bmp", 3, 16, 16, {3, 3, 3, 3}, ""},
      {"Tab.Pane", "tabpane.bmp", 1, 30, 30, {6, 6, 6, 6}, ""},
      {"ToolBars", "toolbars.bmp", 5, 20, 20, {3, 3, 3, 3}, ""},
      {"ComboButton", "combobutton.bmp", 4, 17, 21, {2, 2, 2, 2}, "Trans=1"},
      {"SunkEdge", "sunkedge.bmp", 4, 20, 21, {2, 2, 2, 2}, ""},
      {"ExtraImages", "extra.bmp", 5, 8, 8, {}, ""},
      {"Headerbar", "header.bmp", 5, 24, 18, {3, 3, 3, 3}, "Frame=5"},
      {"MenuItem", "menuitem.bmp", 5, 30, 20, {4, 4, 4, 4}, ""},
      {"MenuBackground", "menuback.bmp", 1, 40, 40, {8, 8, 8, 8}, "Tile=1"},
      {"Scrollbar", "scrollbar.bmp", 23, 17, 17, {}, "Trans=1"},
      {"HorzScroll", "hscroll.bmp", 4, 24, 17, {4, 0, 4, 0}, ""},
      {"VertScroll", "vscroll.bmp", 4, 17, 24, {0, 4, 0, 4}, ""},
      {"HorzScrollThumb", "hthumb.bmp", 3, 24, 17, {5, 5, 5, 5}, "FrameCount=3"},
      {"VertScrollThumb", "vthumb.bmp", 3, 17, 24, {5, 5, 5, 5}, ""},
      {"Trackbar.ThumbHorz", "thumbh.bmp", 5, 11, 20, {}, ""},
      {"Trackbar.ThumbVert", "thumbv.bmp", 5, 20, 11, {}, ""},
      {"Trackbar.ThumbLeft", "thumbl.bmp", 5, 20, 11, {}, ""},
      {"Trackbar.ThumbRight", "thumbr.bmp", 5, 20, 11, {}, ""},
      {"Trackbar.ThumbUp", "thumbu.bmp", 5, 11, 20, {}, ""},
      {"Trackbar.ThumbDown", "thumbd.bmp", 5, 11, 20, {}, ""},
      {"UpDown.Horz", "updownh.bmp", 8, 16, 16, {2, 2, 2, 2}, "GlyphImage=glyphs.bmp"},
      {"UpDown.Vert", "updownv.bmp", 8, 16, 16, {2, 2, 2, 2}, "GlyphImage=glyphs.bmp"},
      {"Track", "track.bmp", 1, 40, 6, {3, 3, 3, 3}, ""},
      {"TRACKVERT", "trackvert.bmp", 1, 6, 40, {3, 3, 3, 3}, ""},
  };
  for (const TRow& r : kRows) {
    line(std::string("[") + r.Section + "]");
    const std::string key = std::string(r.Section) == "Progress" ? "Bitmap" : "Image";
    line(key + "=" + add(r.Section, key, r.Member, r.Frames, r.W, r.H, r.M, false));
    margins(r.M);
    if (*r.Extra) line(r.Extra);
  }
  add("Tabs", "Border", "tabborder.bmp", 1, 30, 30, {4, 4, 4, 4}, false);
  add("UpDown.Horz", "GlyphImage", "glyphs.bmp", 8, 16, 16, {}, false);
  line("[Colour1]");
  line("color=1 2 3");
  line("[Customcolors]");
  line("Color0=100 110 120");

  skin.Ini = ini;
  skin.Members.push_back({"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
  for (const TTestElement& e : skin.Elements)
    skin.Members.push_back({e.Member, EncodeBmp(MakeTestStrip(e, o.ColourVariant))});
  return skin;
}
