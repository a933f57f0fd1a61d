#include "engine/skin_parse.h"

#include <algorithm>

#include "engine/builtin_bitmaps.h"
#include "engine/image_ops.h"
#include "engine/raster.h"
#include "format/text.h"

void ReadMemberBitmap(const TSkinReader& reader, TSkinBitmap& bitmap, std::string_view value) {
  bitmap.Clear();
  const size_t cut = value.find_last_of("\\/:");
  const std::string_view name = cut == std::string_view::npos ? value : value.substr(cut + 1);
  if (name.empty() || !name.ends_with(".bmp")) return;
  std::vector<uint8_t> bytes;
  if (!reader.ReadMember(name, bytes) || bytes.empty()) return;
  try {
    bitmap = To24Bit(DecodeBmp(bytes));
  } catch (const EBmpError&) {
    bitmap.Clear();  // an undecodable member counts as missing
  }
}

namespace {

struct TParser {
  TSkinContent& c;
  const TQuickIni& ini;
  const TSkinReader& reader;
  const TParseEnvironment& env;

  std::string Str(std::string_view sec, std::string_view key) const {
    return Trim(ini.ReadString(sec, key, ""));
  }
  int Int(std::string_view sec, std::string_view key, int def) const {
    return ini.ReadInteger(sec, key, def);
  }
  void Bitmap(TSkinBitmap& b, std::string_view sec, std::string_view key) const {
    ReadMemberBitmap(reader, b, ini.ReadString(sec, key, ""));
  }
  TColor Colour2(std::string_view sec, std::string_view key) const {
    const std::string v = Str(sec, key);
    return v.empty() ? c.Colours[kcButtonText] : ParseColourValue(v);
  }

  // The keys every element reader shares.
  void Common(TDataSkinObject& e, std::string_view sec, int tile_cap) const {
    e.Name = std::string(sec);
    e.Style = Int(sec, "Style", 0);
    e.LeftWidth = Int(sec, "LeftWidth", 0);
    e.RightWidth = Int(sec, "RightWidth", 0);
    e.TopHeight = Int(sec, "TopHeight", 0);
    e.BottomHeight = Int(sec, "BottomHeight", 0);
    e.Trans = Int(sec, "Trans", 0);
    e.Tile = Int(sec, "Tile", 0);
    if (e.Tile > 1) e.Tile = tile_cap;
  }
  void Colours(TDataSkinObject& e, std::string_view sec) const {
    e.NormalColour = Int(sec, "NormalColour", -1);
    e.MouseOverColour = Int(sec, "MouseOverColour", -1);
    e.PressedColour = Int(sec, "PressedColour", -1);
    e.NormalColour2 = Colour2(sec, "NormalColour2");
    e.MouseOverColour2 = Colour2(sec, "MouseOverColour2");
    e.PressedColour2 = Colour2(sec, "PressedColour2");
  }

  // `frames` is the count when the section has no (usable) Frame key.
  void Image(TSkinSlot slot, int frames = 1) {
    c.Slots[slot].reset();
    const std::string_view sec = SkinSlotName(slot);
    if (Str(sec, "Image").empty()) return;
    auto e = std::make_unique<TDataSkinObject>();
    Bitmap(e->Bitmap, sec, "Image");
    Common(*e, sec, 0);
    e->FrameCount = Int(sec, "Frame", frames);
    Colours(*e, sec);
    c.Slots[slot] = std::move(e);
  }
  void Border(TSkinSlot slot, std::string_view second_key) {
    c.Slots[slot].reset();
    const std::string_view sec = SkinSlotName(slot);
    if (Str(sec, "Image").empty()) return;
    auto e = std::make_unique<TDataSkinBorder>();
    Bitmap(e->Bitmap, sec, "Image");
    Bitmap(e->SecondBitmap, sec, second_key);
    Common(*e, sec, 0);
    Colours(*e, sec);
    c.Slots[slot] = std::move(e);
  }
  void Progress() {
    c.Slots[ksProgress].reset();
    const std::string_view sec = "Progress";
    if (Str(sec, "Bitmap").empty()) return;
    auto e = std::make_unique<TDataSkinBorder>();
    Bitmap(e->Bitmap, sec, "Bitmap");
    Common(*e, sec, 1);
    c.Slots[ksProgress] = std::move(e);
  }
  void BoxLabel(TSkinSlot slot) {
    c.Slots[slot].reset();
    const std::string_view sec = SkinSlotName(slot);
    if (Str(sec, "Image").empty()) return;
    auto e = std::make_unique<TDataSkinBoxLabel>();
    Bitmap(e->Bitmap, sec, "Image");
    Common(*e, sec, 0);
    Colours(*e, sec);
    e->BackgroundAlignment = Int(sec, "BackgroundAlignment", 0);
    e->BackgroundLeftShift = Int(sec, "BackgroundLeftShift", 0);
    e->BackgroundRightShift = Int(sec, "BackgroundRightShift", 0);
    c.Slots[slot] = std::move(e);
  }

  void Borders() {
    static constexpr std::string_view kP = "Personality";
    TDataSkinBorder* sides[4] = {&c.LeftBorder, &c.RightBorder, &c.TopBorder, &c.BottomBorder};
    for (TDataSkinBorder* b : sides) {
      const std::string s = b->Name;
      Bitmap(b->Bitmap, kP, s);
      b->FrameCount = Int(kP, s + "Frame", 1);
      b->Tile = Int(kP, s + "Stretch", 1);
      if (b->Tile > 1) b->Tile = 1;
      b->Trans = Int(kP, s + "Trans", 1);
      const int first = Int(kP, s + "TopHeight", 0), last = Int(kP, s + "BotHeight", 0);
      if (b == &c.LeftBorder || b == &c.RightBorder)
        b->SetMargins({0, first, 0, last});
      else
        b->SetMargins({first, 0, last, 0});
    }
  }

  void ColourTables(const std::vector<std::string>& sections) {
    struct TKey {
      std::string_view Key;
      TSkinColourSlot Slot;
      int Sys;  // default system colour index; -1: the skin's ButtonFace
    };
    static constexpr TKey kKeys[] = {{"WindowText", kcWindowText, 8},
                                     {"ButtonFace", kcButtonFace, 15},
                                     {"Scrollbar", kcScrollbar, 0},
                                     {"HilightText", kcHilightText, 14},
                                     {"Hilight", kcHilight, 13},
                                     {"Menubar", kcMenubar, -1},
                                     {"Menu", kcMenu, 4},
                                     {"MenuText", kcMenuText, 7},
                                     {"ButtonText", kcButtonText, 18},
                                     {"ButtonHilight", kcButtonHilight, 20},
                                     {"Buttonlight", kcButtonlight, 20},
                                     {"ButtonShadow", kcButtonShadow, 16},
                                     {"ButtonDkShadow", kcButtonDkShadow, 21},
                                     {"MenuBarText", kcMenuBarText, 7},
                                     {"TitleTextActive", kcTitleTextActive, 9},
                                     {"TitleTextNoActive", kcTitleTextNoActive, 19}};
    for (const TKey& k : kKeys) {
      const std::string v = Str("Colours", k.Key);
      c.ColourSet[k.Slot] = !v.empty();
      if (!v.empty())
        c.Colours[k.Slot] = ParseColourValue(v);
      else
        c.Colours[k.Slot] = k.Sys < 0 ? c.Colours[kcButtonFace] : SystemColourRef(k.Sys);
    }
    c.Palette.clear();
    for (const std::string& s : sections) {
      const std::string up = UpperAscii(s);
      if (up.starts_with("COLOUR") && up != "COLOURS") {
        const std::string v = Str(s, "color");
        c.Palette.push_back(v.empty() ? SystemColourRef(8) : ParseColourValue(v));
      }
    }
    for (int n = 0; n < 10; ++n) {
      const std::string v = Str("Customcolors", "Color" + std::to_string(n));
      c.CustomColors[static_cast<size_t>(n)] = v.empty() ? kWhite : ParseColourValue(v);
    }
  }

  static std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return out;
  }

  void TitleButtons(const std::vector<std::string>& sections) {
    c.TitleButtons.clear();
    bool have_max = false;
    int max_x = 0, max_y = 0;
    for (const std::string& s : sections) {
      const std::string up = UpperAscii(s);
      if (!up.starts_with("BUTTON") || up == "BUTTON" || up == "BUTTONS" || up == "BUTTON.RADIO" ||
          up == "BUTTON.CHECKBOX")
        continue;
      const int action = Int(s, "Action", 0);
      if (action == -1 && Int(s, "Visibility", -1) != 0) continue;
      auto b = std::make_unique<TDataSkinSysButton>();
      b->Name = up;
      b->Action = action;
      b->Align = Int(s, "Align", 0);
      b->Xcoord = Int(s, "Xcoord", 0);
      b->Ycoord = Int(s, "Ycoord", 0);
      b->Visibility = Int(s, "Visibility", 0);
      b->Visibility1 = Int(s, "Visibility1", action == -1 ? -1 : 0);
      b->CombineOp = Int(s, "CombineOp", -1);
      b->FrameCount = Int(s, "frame", 0);
      Bitmap(b->Bitmap, s, "ButtonImage");
      if (action == 1 && b->Visibility == 2) {
        have_max = true;
        max_x = b->Xcoord;
        max_y = b->Ycoord;
      }
      if (action == 4 && have_max) {
        b->Xcoord = max_x;
        b->Ycoord = max_y;
      }
      if (b->FrameCount == 0) {
        b->FrameCount = 6;
        if (!b->Bitmap.Empty())
          b->FrameCount = b->Bitmap.Width * 10 <= b->Bitmap.Height * 38 ? 3 : 6;
        if (action < 0) b->FrameCount = 6;
        if (action == 3 || action == 11) b->Bitmap.Clear();
      }
      c.TitleButtons.push_back(std::move(b));
    }
    // The minimise, restore and close buttons of a maximised MDI child.
    TSkinBitmap strip;
    Bitmap(strip, "MDICONTROLS", "Image");
    static constexpr std::string_view kNames[3] = {"MDIMINIMIZE", "MDIRESTORE", "MDICLOSE"};
    for (int i = 0; i < 3; ++i) {
      auto b = std::make_unique<TDataSkinSysButton>();
      b->Name = std::string(kNames[i]);
      b->Action = 7 + i;
      b->Align = 100;
      b->Visibility = 100;
      b->Visibility1 = 100;
      b->FrameCount = 4;
      const int a = strip.Width / 12;
      if (!strip.Empty() && a > 0) {
        b->Bitmap = CropImage(strip, 4 * a * i, 0, 4 * a, strip.Height);
        b->Xcoord = (a + 4) * (3 - i);
      }
      c.TitleButtons.push_back(std::move(b));
    }
  }

  void ButtonsSection() {
    TDataSkinButton& b = c.Buttons;
    const std::string_view sec = "Buttons";
    b.LeftWidth = Int(sec, "LeftWidth", 0);
    b.RightWidth = Int(sec, "RightWidth", 0);
    b.TopHeight = Int(sec, "TopHeight", 0);
    b.BottomHeight = Int(sec, "BottomHeight", 0);
    b.Trans = Int(sec, "Trans", 0);
    b.Tile = Int(sec, "Tile", 0);
    if (b.Tile > 1) b.Tile = 0;
    Bitmap(b.Bitmap, sec, "Bitmap");
    Bitmap(b.CheckBitmap, sec, "CheckButton");
    Bitmap(b.RadioBitmap, sec, "RadioButton");
    b.NormalColour = Int(sec, "NormalColour", -1);
    b.MouseOverColour = Int(sec, "MouseOverColour", -1);
    b.PressedColour = Int(sec, "PressedColour", -1);
    b.RadioButtonFrame = Int(sec, "RadioButtonFrame", 0);
    b.CheckButtonFrame = Int(sec, "CheckButtonFrame", 0);
    b.HasNormalColour2 = !Str(sec, "NormalColour2").empty();
    b.HasMouseOverColour2 = !Str(sec, "MouseOverColour2").empty();
    b.HasPressedColour2 = !Str(sec, "PressedColour2").empty();
    b.NormalColour2 = Colour2(sec, "NormalColour2");
    b.MouseOverColour2 = Colour2(sec, "MouseOverColour2");
    b.PressedColour2 = Colour2(sec, "PressedColour2");
  }

  void Caption() {
    static constexpr std::string_view kP = "Personality";
    TDataSkinTitle& t = c.Title;
    Bitmap(t.Bitmap, kP, "TextBack");
    t.LeftWidth = Int(kP, "TextShift", 0);
    t.TopHeight = Int(kP, "TextShiftVert", 0);
    t.RightWidth = Int(kP, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = Int(kP, "TextAlignment", 0);
    t.TXTBackleft = Int(kP, "TXTBackleft", 0);
    t.TXTBackRight = Int(kP, "TXTBackRight", 0);
  }

  void MenuBar() {
    static constexpr std::string_view kP = "Personality";
    c.Slots[ksMenuBar].reset();
    if (Str(kP, "menuBar").empty()) return;
    auto e = std::make_unique<TDataSkinObject>();
    e->Name = "Personality";
    Bitmap(e->Bitmap, kP, "menuBar");
    e->Tile = Int(kP, "TileMenu", 1);
    if (e->Tile > 1) e->Tile = 1;
    e->LeftWidth = Int(kP, "TileLeftMenu", 1);
    e->RightWidth = Int(kP, "TileRightMenu", 1);
    c.Slots[ksMenuBar] = std::move(e);
  }

  void BuiltinTrack(TSkinSlot slot, TPixmap image) {
    if (c.Slots[slot]) return;
    auto e = std::make_unique<TDataSkinObject>();
    e->Name = std::string(SkinSlotName(slot));
    e->Bitmap = std::move(image);
    e->SetMargins({3, 3, 3, 3});
    e->Tile = 0;
    e->FrameCount = 1;
    e->NormalColour2 = e->MouseOverColour2 = e->PressedColour2 = c.Colours[kcButtonText];
    c.Slots[slot] = std::move(e);
  }

  void Elements() {
    Progress();
    Image(ksProgressChunk);
    MenuBar();
    Image(ksGroupBoxEdge);
    BoxLabel(ksGroupBox);
    Border(ksTabs, "Border");
    Image(ksStatusBarEdges);
    Image(ksTabPane);
    if (TDataSkinObject* p = c.Element(ksTabPane)) {
      p->LeftWidth = std::min(p->LeftWidth, 4);
      p->TopHeight = std::min(p->TopHeight, 4);
      p->RightWidth = std::min(p->RightWidth, 4);
      p->BottomHeight = std::min(p->BottomHeight, 4);
    }
    Image(ksToolBars);
    Border(ksComboButton, "****");
    Image(ksSunkEdge);
    if (TDataSkinBorder* cb = c.Border(ksComboButton); cb && !cb->Bitmap.Empty()) {
      cb->SecondBitmap = cb->Bitmap;
      MirrorHorizontal(cb->SecondBitmap);
    }
    for (TSkinSlot s :
         {ksExtraImages, ksHeaderbar, ksMenuItem, ksMenuBackground, ksScrollbar, ksHorzScroll,
          ksVertScroll, ksHorzScrollThumb, ksVertScrollThumb, ksTrackThumbHorz, ksTrackThumbVert,
          ksTrackThumbLeft, ksTrackThumbRight, ksTrackThumbUp, ksTrackThumbDown})
      // A header bar without a frame count has the usual five frames (see
      // FrameCounts); every other strip is then one frame.
      Image(s, s == ksHeaderbar ? 0 : 1);
    Border(ksUpDownHorz, "GlyphImage");
    Border(ksUpDownVert, "GlyphImage");
    Image(ksTrack);
    Image(ksTrackVert);
    BuiltinTrack(ksTrack, MakeTrackBitmap());
    BuiltinTrack(ksTrackVert, MakeTrackVertBitmap());
  }

  void FrameCounts() {
    c.Title.FrameCount = 2;
    auto set = [&](TSkinSlot s, int n) {
      if (TDataSkinObject* e = c.Element(s)) e->FrameCount = n;
    };
    if (TDataSkinObject* p = c.Element(ksProgress)) p->FrameCount = p->Style != 0 ? 1 : 2;
    set(ksMenuBar, 2);
    set(ksGroupBoxEdge, 2);
    set(ksToolbar, 1);
    set(ksToolBars, 5);
    set(ksTabs, 5);
    set(ksTabPane, 1);
    set(ksStatusBarEdges, 3);
    set(ksGroupBox, 1);
    set(ksComboButton, 4);
    set(ksSunkEdge, 4);
    set(ksExtraImages, 5);
    if (TDataSkinObject* h = c.Element(ksHeaderbar); h && h->FrameCount == 0) h->FrameCount = 5;
    set(ksMenuItem, 5);
    set(ksMenuBackground, 1);
    set(ksScrollbar, 23);
    set(ksHorzScroll, 4);
    set(ksVertScroll, 4);
    set(ksUpDownVert, 8);
    set(ksUpDownHorz, 8);
    for (TSkinSlot s : {ksTrackThumbHorz, ksTrackThumbVert, ksTrackThumbLeft, ksTrackThumbRight,
                        ksTrackThumbUp, ksTrackThumbDown})
      set(s, 5);
    set(ksHorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
    set(ksVertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));

    TDataSkinButton& b = c.Buttons;
    b.FrameCount = 5;
    auto cells = [](const TSkinBitmap& bmp) {
      const int d = bmp.Height < 16 ? 13 : 16;
      return std::max(bmp.Width / d, 4);
    };
    if (b.RadioButtonFrame == 0) b.RadioButtonFrame = cells(b.RadioBitmap);
    if (b.CheckButtonFrame == 0) b.CheckButtonFrame = cells(b.CheckBitmap);
    // Counts below 1 would divide by zero in every painter.
    for (auto& e : c.Slots)
      if (e && e->FrameCount < 1) e->FrameCount = 1;
    for (TDataSkinObject* e : {static_cast<TDataSkinObject*>(&c.LeftBorder),
                               static_cast<TDataSkinObject*>(&c.RightBorder),
                               static_cast<TDataSkinObject*>(&c.TopBorder),
                               static_cast<TDataSkinObject*>(&c.BottomBorder)})
      if (e->FrameCount < 1) e->FrameCount = 1;
    for (auto& t : c.TitleButtons)
      if (t->FrameCount < 1) t->FrameCount = 1;
  }

  void ComboComposite() {
    TDataSkinObject* sunk = c.Element(ksSunkEdge);
    TDataSkinBorder* button = c.Border(ksComboButton);
    if (!sunk || !button) return;
    const int g = env.HScrollWidth + 2;
    const int n = std::max(sunk->FrameCount, 1);
    if (static_cast<int64_t>(n) * 50 > kMaxBmpDimension) return;
    TPixmap strip = SolidImage(50 * n, 21, kMagenta);
    const TDataSkinObject* extra = c.Element(ksExtraImages);
    for (int k = 1; k <= n; ++k) {
      TPixmap cell = SolidImage(50, 21, kMagenta);
      DrawElementImage(cell, {0, 0, 50, 21}, sunk->Bitmap, false, false, sunk->Trans != 0,
                       sunk->FrameCount, k, sunk->Margins());
      DrawElementImage(cell, {50 - g, 0, 50, 21}, button->Bitmap, false, false, true,
                       button->FrameCount, k, button->Margins());
      if (extra)
        DrawFrameCentredImage(cell, {50 - g, 0, 50, 21}, extra->Bitmap, true, extra->FrameCount, k);
      FillRectangle(cell, 2, 2, 49 - g, 18, kMagenta);
      StretchCopy(strip, {50 * (k - 1), 0, 50 * k, 21}, cell, {0, 0, 50, 21});
    }
    button->Style = 2;
    button->SetMargins({2, sunk->TopHeight, g + 2, sunk->BottomHeight});
    button->Bitmap = strip;
    MirrorHorizontal(strip);
    sunk->Bitmap = std::move(strip);
    sunk->LeftWidth = g + 2;
    sunk->RightWidth = 2;
  }

  void ComboArrow() {
    TDataSkinObject* sunk = c.Element(ksSunkEdge);
    TDataSkinBorder* button = c.Border(ksComboButton);
    if (!button) return;
    auto& slot = c.Slots[ksComboxArrow];
    if (!slot) {
      slot = std::make_unique<TDataSkinObject>();
      slot->Name = "ComboxArrow";
    }
    if (!sunk) {
      slot->Bitmap = button->Bitmap;
      if (!slot->Bitmap.Empty()) ReplaceMagenta(slot->Bitmap, c.Colours[kcButtonFace]);
      slot->FrameCount = button->FrameCount;
    } else if (button->Style == 2) {
      const int n = std::max(sunk->FrameCount, 1);
      const int w = button->Bitmap.Width / n;
      TPixmap strip = SolidImage(17 * n, 17, kMagenta);
      for (int i = 0; i < n; ++i)
        StretchCopy(strip, {17 * i, 0, 17 * (i + 1), 17}, button->Bitmap,
                    {w * (i + 1) - 19, 2, w * (i + 1) - 2, 19});
      slot->Bitmap = std::move(strip);
      slot->FrameCount = n;
    }
  }

  void ToolbarGradient() {
    auto& slot = c.Slots[ksToolbar];
    if (!slot) {
      slot = std::make_unique<TDataSkinObject>();
      slot->Name = "Toolbar";
    }
    slot->FrameCount = 1;
    const TColor sample = ResolveColour(c.FrameSample);
    TColor e = Blend(0x808080, sample, 150);
    const TColor s = Blend(c.Colours[kcButtonFace], kWhite, 150);
    const int sat = SaturationMeasure(sample);
    if (sat > 110) e = Blend(sample, kWhite, (225 - sat) * 25 / 140 + 50);
    slot->Bitmap = GradientImage(10, 40, s, e, true);
  }

  void Sample() {
    const TDataSkinBorder& top = c.TopBorder;
    if (top.Bitmap.Empty()) {
      c.FrameSample = c.Colours[kcButtonFace];
      return;
    }
    const int n = std::max(top.FrameCount, 1);
    c.FrameSample = GetPixel(top.Bitmap, top.Bitmap.Width / 3, (top.Bitmap.Height / n) / 3);
  }

  void Run() {
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    Borders();
    ColourTables(sections);
    TitleButtons(sections);
    ButtonsSection();
    Caption();
    Elements();
    FrameCounts();
    ComboComposite();
    // The frame sample feeds the toolbar gradient, so it is taken first.
    Sample();
    ComboArrow();
    ToolbarGradient();
    c.SkinEmpty = false;
  }
};

}  // namespace

void ParseSkin(TSkinContent& content, const TQuickIni& ini, const TSkinReader& reader,
               const TParseEnvironment& env) {
  TParser{content, ini, reader, env}.Run();
}

bool LoadSkinPackage(TSkinContent& content, std::span<const uint8_t> package,
                     const TParseEnvironment& env) {
  TSkinReader reader;
  if (!reader.LoadFromStream(package)) return false;
  std::vector<uint8_t> ini_bytes;
  std::string member;
  if (!reader.FindMember(".ini", ini_bytes, member)) return false;
  TQuickIni ini;
  ini.LoadFromStream(ini_bytes);
  ParseSkin(content, ini, reader, env);
  return true;
}
