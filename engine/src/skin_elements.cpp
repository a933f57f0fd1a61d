#include "engine/skin_elements.h"

#include <cstdio>

#include "format/text.h"

std::string_view SkinSlotName(TSkinSlot slot) {
  static constexpr std::string_view kNames[kSkinSlotCount] = {"Progress",
                                                              "Progress.Chunk",
                                                              "Personality",
                                                              "GroupBoxEdge",
                                                              "GroupBox",
                                                              "Tabs",
                                                              "StatusBarEdges",
                                                              "Tab.Pane",
                                                              "ToolBars",
                                                              "ComboButton",
                                                              "SunkEdge",
                                                              "ExtraImages",
                                                              "Headerbar",
                                                              "MenuItem",
                                                              "MenuBackground",
                                                              "Scrollbar",
                                                              "HorzScroll",
                                                              "VertScroll",
                                                              "HorzScrollThumb",
                                                              "VertScrollThumb",
                                                              "Trackbar.ThumbHorz",
                                                              "Trackbar.ThumbVert",
                                                              "Trackbar.ThumbLeft",
                                                              "Trackbar.ThumbRight",
                                                              "Trackbar.ThumbUp",
                                                              "Trackbar.ThumbDown",
                                                              "UpDown.Horz",
                                                              "UpDown.Vert",
                                                              "Track",
                                                              "TRACKVERT",
                                                              "ComboxArrow",
                                                              "Toolbar"};
  if (slot < 0 || slot >= kSkinSlotCount) return {};
  return kNames[slot];
}

TSkinContent::TSkinContent() {
  Title.Name = "Title";
  Buttons.Name = "Buttons";
  LeftBorder.Name = "Left";
  RightBorder.Name = "Right";
  TopBorder.Name = "Top";
  BottomBorder.Name = "Bottom";
  Colours.fill(0);
  ColourSet.fill(false);
  CustomColors.fill(kWhite);
}

TDataSkinBorder* TSkinContent::Border(TSkinSlot slot) const {
  return dynamic_cast<TDataSkinBorder*>(Slots[slot].get());
}

const TDataSkinObject* TSkinContent::FindElement(std::string_view name) const {
  if (EqualsIgnoreCase(name, "Left")) return &LeftBorder;
  if (EqualsIgnoreCase(name, "Right")) return &RightBorder;
  if (EqualsIgnoreCase(name, "Top")) return &TopBorder;
  if (EqualsIgnoreCase(name, "Bottom")) return &BottomBorder;
  if (EqualsIgnoreCase(name, "Title")) return &Title;
  if (EqualsIgnoreCase(name, "Buttons")) return &Buttons;
  if (EqualsIgnoreCase(name, "MenuBar")) return Slots[ksMenuBar].get();
  for (int i = 0; i < kSkinSlotCount; ++i) {
    if (EqualsIgnoreCase(name, SkinSlotName(static_cast<TSkinSlot>(i)))) return Slots[i].get();
  }
  for (const auto& b : TitleButtons) {
    if (EqualsIgnoreCase(name, b->Name)) return b.get();
  }
  return nullptr;
}

bool TSkinContent::IsVerticalStrip(const TDataSkinObject* e) const {
  return e == &TopBorder || e == &BottomBorder || e == &Title ||
         (e != nullptr && e == Slots[ksMenuBar].get());
}

namespace {

void Append(std::string& out, const char* fmt, auto... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, args...);
  out += buf;
}

void DumpObject(std::string& out, const TDataSkinObject& e) {
  Append(out,
         "%s bmp=%dx%d n=%d m=%d,%d,%d,%d trans=%d tile=%d style=%d c=%d,%d,%d c2=%06X,%06X,%06X",
         e.Name.c_str(), e.Bitmap.Width, e.Bitmap.Height, e.FrameCount, e.LeftWidth, e.TopHeight,
         e.RightWidth, e.BottomHeight, e.Trans, e.Tile, e.Style, e.NormalColour, e.MouseOverColour,
         e.PressedColour, e.NormalColour2, e.MouseOverColour2, e.PressedColour2);
  if (auto* b = dynamic_cast<const TDataSkinBorder*>(&e))
    Append(out, " second=%dx%d", b->SecondBitmap.Width, b->SecondBitmap.Height);
  if (auto* t = dynamic_cast<const TDataSkinTitle*>(&e))
    Append(out, " align=%d back=%d,%d", t->TextAlignment, t->TXTBackleft, t->TXTBackRight);
  if (auto* b = dynamic_cast<const TDataSkinButton*>(&e))
    Append(out, " check=%dx%d/%d radio=%dx%d/%d has2=%d%d%d", b->CheckBitmap.Width,
           b->CheckBitmap.Height, b->CheckButtonFrame, b->RadioBitmap.Width, b->RadioBitmap.Height,
           b->RadioButtonFrame, b->HasNormalColour2, b->HasMouseOverColour2, b->HasPressedColour2);
  if (auto* s = dynamic_cast<const TDataSkinSysButton*>(&e))
    Append(out, " action=%d align=%d xy=%d,%d op=%d vis=%d,%d", s->Action, s->Align, s->Xcoord,
           s->Ycoord, s->CombineOp, s->Visibility, s->Visibility1);
  if (auto* l = dynamic_cast<const TDataSkinBoxLabel*>(&e))
    Append(out, " bg=%d,%d,%d", l->BackgroundAlignment, l->BackgroundLeftShift,
           l->BackgroundRightShift);
  out += '\n';
}

}  // namespace

std::string DumpSkinContent(const TSkinContent& c) {
  std::string out;
  Append(out, "empty=%d sample=%06X\ncolours", c.SkinEmpty, c.FrameSample);
  for (int i = 0; i < kSkinColourCount; ++i)
    Append(out, " %s%08X", c.ColourSet[static_cast<size_t>(i)] ? "" : "~",
           c.Colours[static_cast<size_t>(i)]);
  out += "\npalette";
  for (TColor p : c.Palette)
    Append(out, " %08X", p);
  out += "\ncustom";
  for (TColor p : c.CustomColors)
    Append(out, " %06X", p);
  out += '\n';
  for (const TDataSkinObject* e : {static_cast<const TDataSkinObject*>(&c.LeftBorder),
                                   static_cast<const TDataSkinObject*>(&c.RightBorder),
                                   static_cast<const TDataSkinObject*>(&c.TopBorder),
                                   static_cast<const TDataSkinObject*>(&c.BottomBorder),
                                   static_cast<const TDataSkinObject*>(&c.Title),
                                   static_cast<const TDataSkinObject*>(&c.Buttons)})
    DumpObject(out, *e);
  for (const auto& b : c.TitleButtons)
    DumpObject(out, *b);
  for (int i = 0; i < kSkinSlotCount; ++i) {
    if (c.Slots[static_cast<size_t>(i)])
      DumpObject(out, *c.Slots[static_cast<size_t>(i)]);
    else
      Append(out, "%s -\n", std::string(SkinSlotName(static_cast<TSkinSlot>(i))).c_str());
  }
  return out;
}
