#include "engine/control_rules.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kNoGate = -1;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool GateOn(int gate, TSkinControlTypes gates) {
  return gate == kNoGate || gates.Has(static_cast<TSkinControlType>(gate));
}

// One row of the framework class table: the control has every `Need` trait
// and none of `Deny`, or its class is one of `Names` ('|' separated), and
// (for two rows) a given NumButtons.
struct TClassRow {
  uint32_t Need;
  uint32_t Deny;
  const char* Names;
  int NumButtons;  // -2: any
  int Gate;
  bool NeedsTabs;
  bool StopWhenOff;
  TSkinnerChoice Choice;
};

bool NameListed(const char* names, std::string_view upper) {
  std::string_view list(names);
  while (!list.empty()) {
    const size_t bar = list.find('|');
    if (list.substr(0, bar) == upper) return true;
    if (bar == std::string_view::npos) break;
    list.remove_prefix(bar + 1);
  }
  return false;
}

bool RowMatches(const TClassRow& row, const TControlFacts& f) {
  if (row.Names) return NameListed(row.Names, f.ClassName);
  if ((f.Traits & row.Need) != row.Need || (f.Traits & row.Deny) != 0) return false;
  return row.NumButtons == -2 || row.NumButtons == f.NumButtons;
}

TSkinnerChoice Make(TSkinnerKind kind, TSelectAction action = TSelectAction::Attach,
                    bool own_color = false) {
  TSkinnerChoice c;
  c.Kind = kind;
  c.Action = action;
  c.OwnColor = own_color;
  return c;
}
TSkinnerChoice WithMode(TSkinnerChoice c, int mode) {
  c.Mode = mode;
  return c;
}
TSkinnerChoice WithObj(int obj_kind) {
  TSkinnerChoice c = Make(TSkinnerKind::ObjImage, TSelectAction::Attach, true);
  c.ObjKind = obj_kind;
  return c;
}

using K = TSkinnerKind;
using A = TSelectAction;

const std::vector<TClassRow>& ClassTable() {
  static const std::vector<TClassRow> rows = {
      {ctTabControl, ctPageControl, nullptr, -2, xcTab, true, false, WithMode(Make(K::Tab), 2)},
      {ctPageControl | ctButtonTabs, 0, nullptr, -2, xcTab, true, false, Make(K::TabBtn)},
      {ctPageControl, 0, nullptr, -2, xcTab, true, false, Make(K::Tab)},
      {ctToolButton, 0, nullptr, -2, xcMainMenu, false, false, Make(K::None, A::ToolButtonMenu)},
      {ctCoolBar, 0, nullptr, -2, xcToolbar, false, false, Make(K::None, A::CoolBarColour)},
      {0, 0, "TTABSET", -2, xcTab, true, false, Make(K::Tab31)},
      {ctTabSheet, 0, nullptr, -2, xcTab, true, false, Make(K::TabSheet)},
      {0, 0, "TTABBEDNOTEBOOK", -2, xcTab, true, false, Make(K::Tab)},
      {0, 0, "TMVCPANEL", -2, kNoGate, false, false, Make(K::None, A::ChildrenOnly)},
      {ctHeader, 0, nullptr, -2, xcPanel, false, false, Make(K::Header)},
      {ctCheckBox, 0, nullptr, -2, xcCheckBox, false, false, Make(K::CheckBox)},
      {ctTrackBar, 0, nullptr, -2, xcTrackBar, false, false, Make(K::TrackBar)},
      {0, 0, "TUPDOWN|TSPINBUTTON", -2, xcSpin, false, false, Make(K::UpDown)},
      {0, 0, "TMEDIAPLAYER", -2, xcButton, false, false, Make(K::MediaPlayer)},
      {ctRadioGroup, 0, nullptr, -2, xcRadioButton, false, false,
       Make(K::GroupBox, A::RadioGroup, true)},
      {0, 0, "TDBNAVIGATOR", -2, xcPanel, false, false, Make(K::Box, A::Navigator, true)},
      {0, 0, "TRZDBCHECKBOX|TRZCHECKBOX", -2, xcCheckBox, false, false, WithObj(1)},
      {0, 0, "TRZRADIOBUTTON|TRZDBRADIOBUTTON", -2, xcRadioButton, false, false, WithObj(2)},
      {0, 0, "TCXDBCHECKBOX|TCXCHECKBOX", -2, xcCheckBox, false, false, WithObj(3)},
      {ctGroupBox, 0, nullptr, -2, xcPanel, false, false, Make(K::GroupBox, A::ChildrenThenAttach)},
      {ctRadioButton, 0, nullptr, -2, xcRadioButton, false, false, Make(K::RadioButton)},
      {ctToolBar, 0, nullptr, -2, xcToolbar, false, false, Make(K::Box, A::ToolBar)},
      {ctStatusBar, 0, nullptr, -2, xcStatusBar, false, false, Make(K::StatusBar)},
      {ctProgressBar, 0, nullptr, -2, xcProgress, false, false, Make(K::Progress)},
      {ctScrollBar, 0, nullptr, -2, xcScrollbar, false, false, Make(K::ScControl)},
      {0, 0, "TTNTCOMBOBOX", -2, xcCombo, false, false, Make(K::ComboBox)},
      {ctComboBox, 0, nullptr, -2, xcCombo, false, false, Make(K::ComboBox)},
      {ctDateTimePicker | ctUpDownDate, 0, nullptr, -2, xcEdit, false, false, Make(K::Edit)},
      {ctDateTimePicker, 0, nullptr, -2, xcEdit, false, false, Make(K::DateTime)},
      {0, 0, "TRICHEDIT|TWWDBRICHEDIT|TDXDBMEMO", -2, xcScrollbar, false, false,
       Make(K::Scrollbar)},
      {ctBitBtn, 0, nullptr, -2, xcBitBtn, false, true, Make(K::BitButton)},
      {ctSpeedButton, 0, nullptr, -2, xcSpeedButton, false, false, Make(K::SpeedButton)},
      {ctPanel, 0, nullptr, -2, xcPanel, false, false, Make(K::Box, A::ChildrenThenAttach, true)},
      {0, 0, "TDXTREELIST|TDXDBTREELIST|TDXDBGRID", -2, xcScrollbar, false, false,
       Make(K::Scrollbar)},
      {ctListView, 0, nullptr, -2, xcScrollbar, false, false, Make(K::ListView)},
      {ctMemo, 0, nullptr, -2, xcScrollbar, false, false, Make(K::Scrollbar)},
      {ctGrid, 0, nullptr, -2, xcScrollbar, false, false, Make(K::Scrollbar)},
      {ctHasScrollBars, 0, nullptr, -2, xcScrollbar, false, false, Make(K::Scrollbar)},
      {ctButton, 0, nullptr, -2, xcButton, false, false, Make(K::Button)},
      {ctEdit, 0, nullptr, -2, xcEdit, false, false, Make(K::Edit)},
      {0, 0, nullptr, 1, xcCombo, false, false, Make(K::ComboBox)},
      {0, 0, nullptr, 0, xcEdit, false, false, Make(K::Edit, A::AttachWindow)},
      {ctFrame, 0, nullptr, -2, kNoGate, false, false, Make(K::None, A::ComponentsOnly)},
      {ctForm, 0, nullptr, -2, kNoGate, false, false, Make(K::Box, A::AttachThenComponents, true)},
  };
  return rows;
}

bool IsDcEdit(std::string_view upper) {
  return upper == "TDCEDIT" || upper == "TDCDBEDIT";
}

}  // namespace

const char* SkinnerKindName(TSkinnerKind kind) {
  static const char* const kNames[] = {
      "none",        "button",   "bitbutton", "speedbutton", "menubutton", "checkbox",
      "radiobutton", "objimage", "groupbox",  "box",         "boxh",       "tab",
      "tabbtn",      "tab31",    "tabsheet",  "advpage",     "header",     "statusbar",
      "progress",    "trackbar", "updown",    "mediaplayer", "sccontrol",  "scrollbar",
      "listview",    "combobox", "edit",      "datetime",    "sizer"};
  const auto i = static_cast<size_t>(kind);
  return i < sizeof(kNames) / sizeof(kNames[0]) ? kNames[i] : "?";
}

TSkinnerChoice ChooseFrameworkSkinner(const TControlFacts& facts, TSkinControlTypes gates) {
  const bool tabs = (facts.Traits & ctHasTabsElement) != 0;
  for (const TClassRow& row : ClassTable()) {
    // The two NumButtons rows belong to two classes only.
    if (row.NumButtons != -2 && !IsDcEdit(facts.ClassName)) continue;
    if (!RowMatches(row, facts)) continue;
    const bool on = GateOn(row.Gate, gates) && (!row.NeedsTabs || tabs);
    if (on) return row.Choice;
    if (row.StopWhenOff) return {};
  }
  return {};
}

bool IsExcludedClass(std::string_view upper_class) {
  return upper_class == "TDBCOMBOBOXEH" || upper_class == "TFRDESIGNERPAGE" ||
         upper_class == "TFRPBOX";
}

TKeywordMatch FindSkinKeyword(const std::vector<std::string>& lines, std::string_view class_name) {
  const std::string key = Lower(class_name) + "=";
  for (const std::string& line : lines) {
    if (line.size() < key.size() || Lower(std::string_view(line).substr(0, key.size())) != key)
      continue;
    TKeywordMatch m;
    m.Found = true;
    m.Keyword = Lower(std::string_view(line).substr(key.size(), 50));
    return m;
  }
  return {};
}

namespace {

struct TKeywordRow {
  const char* Keyword;
  int Gate;
  bool NeedsTabs;
  TSkinnerChoice Choice;
};

const std::vector<TKeywordRow>& KeywordTable() {
  auto transparent = [](TSkinnerChoice c) {
    c.Transparent = true;
    return c;
  };
  auto glyph = [](TSkinnerChoice c) {
    c.GlyphProperty = "PngImage";
    return c;
  };
  TSkinnerChoice frame_only = Make(K::ComboBox);
  frame_only.FrameOnly = true;
  TSkinnerChoice edit = Make(K::Edit);
  edit.NeedsBorder = true;
  TSkinnerChoice single = WithMode(Make(K::Scrollbar), 1);
  single.SingleScroll = true;
  static const std::vector<TKeywordRow> rows = {
      {"nil", kNoGate, false, Make(K::None, A::Nothing)},
      {"combobox", xcCombo, false, Make(K::ComboBox)},
      {"comboboxex", xcCombo, false, frame_only},
      {"edit", xcEdit, false, edit},
      {"radiobutton", xcRadioButton, false, Make(K::RadioButton)},
      {"panel", xcPanel, false, transparent(Make(K::Box, A::Attach, true))},
      {"trackbar", xcButton, false, transparent(Make(K::TrackBar))},
      {"button", xcButton, false, Make(K::Button)},
      {"datetimepicker", xcCombo, false, Make(K::DateTime)},
      {"mediaplayer", xcButton, false, Make(K::MediaPlayer)},
      {"bitbtn", xcButton, false, Make(K::BitButton)},
      {"pngbitbtn", xcButton, false, glyph(Make(K::BitButton))},
      {"pngspeedbutton", xcButton, false, glyph(Make(K::SpeedButton))},
      {"menubtn", xcButton, false, Make(K::MenuButton)},
      {"speedbutton", xcSpeedButton, false, Make(K::SpeedButton)},
      {"tab", xcTab, true, Make(K::Tab)},
      {"progress", xcProgress, false, Make(K::Progress)},
      {"scrollbar", xcScrollbar, false, Make(K::Scrollbar, A::AttachThenChildren)},
      {"singlescrollbar", xcScrollbar, false, single},
      {"embedscrollbar", xcScrollbar, false, Make(K::None, A::EmbedScrollbars)},
      {"container", kNoGate, false, Make(K::None, A::ChildrenOnly)},
      {"groupbox", xcGroupBox, false, Make(K::GroupBox, A::Attach, true)},
      {"advpagecontrol", xcTab, false, Make(K::AdvPage, A::Attach, true)},
      {"radiogroup", xcGroupBox, false, Make(K::GroupBox, A::RadioGroup, true)},
      {"checkgroup", xcPanel, false, Make(K::GroupBox, A::CheckGroup, true)},
      {"checkbox", xcCheckBox, false, Make(K::CheckBox)},
  };
  return rows;
}

}  // namespace

TSkinnerChoice ChooseKeywordSkinner(std::string_view keyword, std::string_view lower_class,
                                    std::string_view kind_property, TSkinControlTypes gates) {
  for (const TKeywordRow& row : KeywordTable()) {
    if (keyword != row.Keyword) continue;
    // The tab keyword needs the skin's Tabs element; the caller folds that
    // into the gates by clearing xcTab when the skin has none.
    if (!GateOn(row.Gate, gates)) return {};
    TSkinnerChoice c = row.Choice;
    if (keyword == "bitbtn" && lower_class == "tcxbutton" &&
        Lower(kind_property) == "cxbkdropdownbutton")
      c.Kind = K::MenuButton;
    return c;
  }
  return {};
}

TButtonType ClassifyButtonStyle(uint32_t style) {
  switch (style & 0x0F) {
    case 0x0:  // push
    case 0x1:  // default push
    case 0x8:  // user button
      return TButtonType::Push;
    case 0x2:  // check box
    case 0x3:  // automatic check box
    case 0x5:  // three-state
    case 0x6:  // automatic three-state
      return TButtonType::Check;
    case 0x4:  // radio button
    case 0x9:  // automatic radio button
      return TButtonType::Radio;
    case 0x7:
      return TButtonType::GroupBox;
    case 0xB:
      return TButtonType::OwnerDraw;
    default:  // push boxes, split buttons, command links
      return TButtonType::Native;
  }
}

namespace {

TSkinnerChoice NativeButton(uint32_t style, TSkinControlTypes gates) {
  // Bitmap and icon buttons show a picture, not a caption.
  if (style & 0xC0) return {};
  switch (ClassifyButtonStyle(style)) {
    case TButtonType::Push:
      return gates.Has(xcButton) ? Make(K::Button) : TSkinnerChoice{};
    case TButtonType::Check:
      return gates.Has(xcCheckBox) ? Make(K::CheckBox) : TSkinnerChoice{};
    case TButtonType::Radio:
      return gates.Has(xcRadioButton) ? Make(K::RadioButton) : TSkinnerChoice{};
    // A dialog's group box: its line and caption from the skin, like the
    // framework's group boxes.
    case TButtonType::GroupBox:
      return gates.Has(xcGroupBox) ? Make(K::GroupBox) : TSkinnerChoice{};
    default:
      return {};
  }
}

}  // namespace

TSkinnerChoice ChooseNativeSkinner(std::string_view c, uint32_t style, bool has_child,
                                   TSkinControlTypes gates) {
  constexpr uint32_t kTabStop = 0x10000;
  if (c == "button") return NativeButton(style, gates);
  if (c == "combobox")
    return gates.Has(xcCombo) && (style & 3) != 1 ? Make(K::ComboBox) : TSkinnerChoice{};
  if (c == "comboboxex32")
    return gates.Has(xcCombo) && has_child ? Make(K::ComboBox, A::AttachFirstChild)
                                           : TSkinnerChoice{};
  if (c == "scrollbar") {
    // Only the size-box styles are grips; other scroll bars are scroll-bar
    // controls.
    constexpr uint32_t kSizeBox = 0x08, kSizeGrip = 0x10;
    if (style & (kSizeBox | kSizeGrip)) return Make(K::Sizer);
    return gates.Has(xcScrollbar) ? Make(K::ScControl) : TSkinnerChoice{};
  }
  if (c == "#32770")
    return (style & kTabStop) ? TSkinnerChoice{} : Make(K::BoxH, A::ChildrenThenAttach);
  if (c == "tpanel" || c == "ttntpanel.unicodeclass" || c == "ttntsilentpaintpanel.unicodeclass")
    return Make(K::None, A::ChildrenRecolour);
  if (c == "tcheckbox") return gates.Has(xcCheckBox) ? Make(K::CheckBox) : TSkinnerChoice{};
  if (c == "tcombobox") return gates.Has(xcCombo) ? Make(K::ComboBox) : TSkinnerChoice{};
  if (c == "tbutton") return gates.Has(xcButton) ? Make(K::Button) : TSkinnerChoice{};
  if (c == "tprogressbar") return Make(K::Progress);
  if (c == "tsilentpaintpanel") return Make(K::None, A::RecolourFace);
  if (c == "systabcontrol32")
    return gates.Has(xcTab) && !(style & 0x2000) ? Make(K::Tab) : TSkinnerChoice{};
  if (c == "toolbarwindow32") return Make(K::BoxH);
  if (c == "edit") return gates.Has(xcEdit) ? Make(K::Edit) : TSkinnerChoice{};
  return {};
}

// ---- buttons --------------------------------------------------------------

int PushButtonFrame(const TButtonState& s) {
  if (s.Disabled) return kButtonDisabled;
  if (s.Pressed) return kButtonPressed;
  if (s.Hot) return kButtonHot;
  if (s.Focused || s.Default) return kButtonFocused;
  return kButtonNormal;
}

int MenuButtonFrame(const TButtonState& s) {
  if (s.Disabled) return kButtonDisabled;
  if (s.Pressed) return kButtonPressed;
  if (s.Focused || s.Hot) return kButtonHot;
  return kButtonNormal;
}

int BitButtonCell(int frame) {
  if (frame == kButtonPressed) return 3;
  if (frame == kButtonDisabled) return 2;
  return 1;
}

int GlyphCellIndex(int num_glyphs, int cell_state) {
  const int n = std::max(1, num_glyphs);
  const int s = std::max(1, cell_state);
  return n < s ? 0 : s - 1;
}

int GlyphCellWidth(int strip_width, int num_glyphs) {
  if (strip_width <= 0) return 0;
  return std::max(1, strip_width / std::max(1, num_glyphs));
}

TSpeedButtonLook SpeedButtonLook(bool hot, bool pressed, bool enabled, bool down, bool flat) {
  TSpeedButtonLook l;
  const int f = pressed ? kButtonPressed : hot ? kButtonHot : kButtonNormal;
  l.Frame = down ? kButtonPressed : !enabled ? kButtonDisabled : f;
  l.Cell = l.Frame == kButtonPressed ? 3 : l.Frame == kButtonDisabled ? 2 : 1;
  if (down) l.Cell = 4;
  l.DrawFace = l.Frame == kButtonPressed || l.Frame == kButtonHot || !flat;
  return l;
}

TColor ButtonTextColour(const TButtonTextColours& skin, int frame, bool normal_everywhere,
                        TColor fallback) {
  TColor c = fallback;
  if (skin.HasNormal && (normal_everywhere || frame == kButtonNormal)) c = skin.Normal;
  if (frame == kButtonHot && skin.HasHot) c = skin.Hot;
  if (frame == kButtonPressed && skin.HasPressed) c = skin.Pressed;
  return c;
}

TGlyphLayout GlyphLayoutFromName(std::string_view name) {
  const std::string n = Lower(name);
  if (n == "blglyphright") return glGlyphRight;
  if (n == "blglyphtop") return glGlyphTop;
  if (n == "blglyphbottom") return glGlyphBottom;
  return glGlyphLeft;
}

TRect CaptionMeasureRect(const TRect& face, TGlyphLayout layout, TPoint glyph) {
  TRect r{face.Left + 2, face.Top + 2, face.Right - 2, face.Bottom - 2};
  if (layout == glGlyphLeft || layout == glGlyphRight)
    r.Right -= glyph.X + 2;
  else
    r.Bottom -= glyph.Y + 2;
  return r;
}

TGlyphCaptionPlace PlaceGlyphAndCaption(TPoint client, TPoint glyph, TPoint text,
                                        TGlyphLayout layout, int margin, int spacing, bool centred,
                                        bool speed) {
  TGlyphCaptionPlace p;
  const bool across = layout == glGlyphLeft || layout == glGlyphRight;
  // The cross axis: both centred.
  if (across) {
    p.Glyph.Y = (client.Y - glyph.Y + 1) / 2;
    p.Text.Y = (client.Y - text.Y + 1) / 2;
  } else {
    p.Glyph.X = (client.X - glyph.X + 1) / 2;
    p.Text.X = (client.X - text.X + 1) / 2;
  }
  const int c = across ? client.X : client.Y;
  const int g = across ? glyph.X : glyph.Y;
  const int t = across ? text.X : text.Y;
  if (text.X == 0 || glyph.X == 0) spacing = 0;
  if (margin == -1 || centred) {
    if (spacing == -1) {
      margin = (c - (g + t)) / 3;
      spacing = margin;
    } else {
      margin = (c - (g + spacing + t)) / 2 + (speed ? 1 : 0);
    }
  } else if (spacing == -1) {
    spacing = (c - (margin + g) - t) / 2;
  }
  switch (layout) {
    case glGlyphLeft:
      p.Glyph.X = margin;
      p.Text.X = p.Glyph.X + glyph.X + spacing;
      p.Flags = kTextWordBreak;
      break;
    case glGlyphRight:
      p.Glyph.X = client.X - margin - glyph.X;
      p.Text.X = p.Glyph.X - spacing - text.X;
      p.Flags = kTextWordBreak | kTextRight;
      break;
    case glGlyphTop:
      p.Glyph.Y = margin;
      p.Text.Y = p.Glyph.Y + glyph.Y + spacing;
      p.Flags = kTextWordBreak | kTextCenter;
      break;
    case glGlyphBottom:
      p.Glyph.Y = client.Y - margin - glyph.Y;
      p.Text.Y = p.Glyph.Y - spacing - text.Y;
      p.Flags = kTextWordBreak | kTextCenter;
      break;
  }
  return p;
}

TRect PlaceCaption(const TRect& rect, TPoint size, bool centred) {
  const int dy = (rect.Height() - size.Y) / 2 - 1;
  if (centred) {
    const int dx = (rect.Width() - size.X) / 2;
    return {rect.Left + dx, rect.Top + dy, rect.Left + dx + size.X, rect.Top + dy + size.Y};
  }
  return {rect.Left, rect.Top + dy, rect.Right, rect.Top + dy + size.Y};
}

std::wstring BreakAtFirstBars(std::wstring caption) {
  const size_t at = caption.find(L"||");
  if (at != std::wstring::npos) caption.replace(at, 2, L"\r\n");
  return caption;
}

TMenuButtonPlace PlaceMenuButton(TPoint client, TPoint text_size) {
  TMenuButtonPlace p;
  p.TextRect = {2, 2, client.X - kMenuArrowBox - 2, client.Y - 2};
  p.Text.Y = (client.Y - text_size.Y + 1) / 2;
  p.Text.X = (client.X - kMenuArrowBox - text_size.X) / 2 + 2;
  const int ay = client.Y / 2 + 2;
  p.Arrow[0] = {client.X - 12, ay};
  p.Arrow[1] = {client.X - 15, ay - 3};
  p.Arrow[2] = {client.X - 9, ay - 3};
  return p;
}

TRect CaptionFocusRect(const TRect& rect, TPoint measured, unsigned flags) {
  TRect r{rect.Left, rect.Top, rect.Left + measured.X, rect.Top + measured.Y};
  if (flags & kTextCenter) {
    const int dx = (rect.Width() - measured.X) / 2;
    const int dy = (rect.Height() - measured.Y) / 2 - 1;
    r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
  } else if (flags & kTextRight) {
    const int dx = rect.Width() - measured.X;
    r = {r.Left + dx, r.Top, r.Right + dx, r.Bottom};
  }
  r = {r.Left - 2, r.Top - 1, r.Right + 2, r.Bottom + 1};
  r.Left = std::max(r.Left, rect.Left);
  r.Top = std::max(r.Top, rect.Top);
  r.Right = std::min(r.Right, rect.Right);
  r.Bottom = std::min(r.Bottom, rect.Bottom);
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

bool TransparentButton(int tag, TSkinOptions options) {
  return tag == kTransparentTag || options.Has(xoTransparent);
}

int ButtonMouseMode(std::string_view lower_class) {
  return lower_class.starts_with("trz") || lower_class.starts_with("tel") ? 1 : 0;
}

TPoint MouseDownPosition(int width, int height, uint32_t lparam, TPoint cursor_client) {
  if (width > 32768 || height > 32768) return cursor_client;
  return {static_cast<int16_t>(lparam & 0xFFFF), static_cast<int16_t>(lparam >> 16)};
}
