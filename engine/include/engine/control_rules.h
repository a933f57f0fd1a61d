// Which skinner a control of a skinned form gets, and how a skinned button
// lays out its face: the decisions of the control skinners, independent of
// the platform. The Windows layer gathers the facts (class names, styles,
// what kind of framework control it is) and carries out the choice.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/colour.h"
#include "engine/geometry.h"
#include "engine/skin_options.h"

// The skinner families.
enum class TSkinnerKind : uint8_t {
  None,
  Button,
  BitButton,
  SpeedButton,
  MenuButton,
  CheckBox,
  RadioButton,
  ObjImage,  // another library's check box or radio button (ObjKind 1..3)
  GroupBox,
  Box,   // a panel-like container of a framework control
  BoxH,  // a container window without a framework control
  Tab,
  TabBtn,
  Tab31,
  TabSheet,
  AdvPage,
  Header,
  StatusBar,
  Progress,
  TrackBar,
  UpDown,
  MediaPlayer,
  ScControl,  // a scroll-bar control
  Scrollbar,  // the scroll bars of a scrolling control
  ListView,
  ComboBox,
  Edit,
  DateTime,
  Sizer,  // a size grip
};
const char* SkinnerKindName(TSkinnerKind kind);

// What the selection does with a control besides (or instead of) attaching.
enum class TSelectAction : uint8_t {
  Attach,              // attach the skinner of Kind
  Nothing,             // leave the control alone
  ChildrenThenAttach,  // offer the child controls, then attach Kind
  ChildrenOnly,        // offer the child controls only
  AttachThenChildren,  // attach Kind, then offer the child controls
  ComponentsOnly,      // offer the components the control owns
  AttachThenComponents,
  ToolButtonMenu,    // the tool button's menu entries become owner-drawn
  CoolBarColour,     // every band gets the face colour
  RadioGroup,        // radio buttons for the children, then a group box
  CheckGroup,        // check boxes for the children, then a group box
  Navigator,         // a box, then each child offered without a container
  ToolBar,           // flat, the skin's painters, a box, owner-drawn menu
  EmbedScrollbars,   // scroll-bar skinners for the scrolling children
  AttachWindow,      // attach Kind to the control's window as a bare window
  AttachFirstChild,  // attach Kind to the window's first child window
  RecolourFace,      // the framework control's colour := face (no skinner)
  ChildrenRecolour,  // offer the child windows, then recolour (no skinner)
};

struct TSkinnerChoice {
  TSkinnerKind Kind = TSkinnerKind::None;
  TSelectAction Action = TSelectAction::Nothing;
  bool OwnColor = false;
  int Mode = -1;                   // the family's mode switch to set, or -1
  int ObjKind = 0;                 // ObjImage: 1 check box, 2 radio button, 3 a third kind
  bool Transparent = false;        // set the control's Transparent property first
  bool SingleScroll = false;       // scroll bars in single mode
  bool FrameOnly = false;          // combo box: border only
  const char* GlyphProperty = "";  // picture property of the glyph, or ""
  bool NeedsBorder = false;        // edit: only when window and client differ
};

// What kind of framework control it is: one bit per class the selection
// tests (a control of a derived class has every ancestor's bit).
enum TControlTrait : uint32_t {
  ctTabControl = 1u << 0,  // any tab control, page controls included
  ctPageControl = 1u << 1,
  ctButtonTabs = 1u << 2,  // a page control whose tabs are buttons
  ctToolButton = 1u << 3,
  ctCoolBar = 1u << 4,
  ctTabSheet = 1u << 5,
  ctHeader = 1u << 6,
  ctCheckBox = 1u << 7,
  ctTrackBar = 1u << 8,
  ctRadioGroup = 1u << 9,
  ctGroupBox = 1u << 10,
  ctRadioButton = 1u << 11,
  ctToolBar = 1u << 12,
  ctStatusBar = 1u << 13,
  ctProgressBar = 1u << 14,
  ctScrollBar = 1u << 15,
  ctComboBox = 1u << 16,
  ctDateTimePicker = 1u << 17,
  ctUpDownDate = 1u << 18,  // a date picker in up-down mode or of time kind
  ctBitBtn = 1u << 19,
  ctSpeedButton = 1u << 20,
  ctPanel = 1u << 21,
  ctListView = 1u << 22,
  ctMemo = 1u << 23,
  ctGrid = 1u << 24,
  ctButton = 1u << 25,
  ctEdit = 1u << 26,
  ctFrame = 1u << 27,  // a container owning its controls as components
  ctForm = 1u << 28,   // a form placed inside another control
  ctHasScrollBars = 1u << 29,
  ctHasTabsElement = 1u << 30,  // (of the skin, not the control) Tabs loaded
};

struct TControlFacts {
  std::string ClassName;  // upper case
  uint32_t Traits = 0;
  int NumButtons = -1;  // the control's NumButtons property, -1 when none
};

// The first row of the framework class table the control matches with its
// gate on. A bit button whose gate is off ends the search unskinned.
TSkinnerChoice ChooseFrameworkSkinner(const TControlFacts& facts, TSkinControlTypes gates);

// Classes never skinned by the built-in table.
bool IsExcludedClass(std::string_view upper_class);

// The keyword of a "ClassName=keyword" list for a class: lower case, at most
// 50 characters; found is false when no line names the class.
struct TKeywordMatch {
  bool Found = false;
  std::string Keyword;
};
TKeywordMatch FindSkinKeyword(const std::vector<std::string>& lines, std::string_view class_name);

// What a keyword means (every listed class is handled by the keyword, also
// when the gate is off). `lower_class` decides the two keywords that depend
// on the class; `kind_property` is the control's Kind identifier.
TSkinnerChoice ChooseKeywordSkinner(std::string_view keyword, std::string_view lower_class,
                                    std::string_view kind_property, TSkinControlTypes gates);

// A window without a framework control behind it: its class name in lower
// case, its style, whether it has a child window.
TSkinnerChoice ChooseNativeSkinner(std::string_view lower_class, uint32_t style, bool has_child,
                                   TSkinControlTypes gates);

// What a plain "button" window is, by the type in its low four style bits.
enum class TButtonType { Push, Check, Radio, GroupBox, OwnerDraw, Native };
TButtonType ClassifyButtonStyle(uint32_t style);

// ---- buttons --------------------------------------------------------------

// The [Buttons] strip's frames.
constexpr int kButtonNormal = 1, kButtonPressed = 2, kButtonDisabled = 3, kButtonHot = 4,
              kButtonFocused = 5, kButtonFrames = 5;

struct TButtonState {
  bool Hot = false;
  bool Pressed = false;
  bool Focused = false;
  bool Default = false;  // the form's default button
  bool Disabled = false;
};
// Push and bit buttons: pressed, hot, focused or default, normal; disabled
// wins over everything.
int PushButtonFrame(const TButtonState& s);
// Drop-down buttons: pressed, focused or hot, normal; disabled wins.
int MenuButtonFrame(const TButtonState& s);

// A glyph strip's cells: 1 up, 2 disabled, 3 clicked, 4 down.
int BitButtonCell(int frame);
// The 0-based cell of a glyph strip of `num_glyphs` cells (clamped to at
// least 1) for a cell state: the first cell when the strip is too short.
int GlyphCellIndex(int num_glyphs, int cell_state);
// Width of one cell: never 0 for a non-empty strip.
int GlyphCellWidth(int strip_width, int num_glyphs);

struct TSpeedButtonLook {
  int Frame = kButtonNormal;
  int Cell = 1;
  bool DrawFace = true;  // a flat button shows its face only hot or down
};
TSpeedButtonLook SpeedButtonLook(bool hot, bool pressed, bool enabled, bool down, bool flat);

// A button's text colour in a frame: `fallback`, replaced by the skin's
// normal colour (in every frame, or in the normal frame only), then by its
// mouse-over colour in the hot frame and its pressed colour in the pressed
// frame, each only when the skin defines it.
struct TButtonTextColours {
  bool HasNormal = false, HasHot = false, HasPressed = false;
  TColor Normal = 0, Hot = 0, Pressed = 0;
};
TColor ButtonTextColour(const TButtonTextColours& skin, int frame, bool normal_everywhere,
                        TColor fallback);

// Glyph and caption placement (the platform's DrawText flags).
constexpr unsigned kTextCenter = 0x1, kTextRight = 0x2, kTextWordBreak = 0x10;
enum TGlyphLayout : int { glGlyphLeft = 0, glGlyphRight = 1, glGlyphTop = 2, glGlyphBottom = 3 };
// "blglyphleft" .. "blglyphbottom" (compared in lower case); others are left.
TGlyphLayout GlyphLayoutFromName(std::string_view name);

// The rectangle the caption is measured in: the face less 2 pixels, less
// the glyph's side.
TRect CaptionMeasureRect(const TRect& face, TGlyphLayout layout, TPoint glyph);

struct TGlyphCaptionPlace {
  TPoint Glyph;
  TPoint Text;
  unsigned Flags = kTextWordBreak;
};
// Places a glyph and a caption of the given sizes in a face of size
// `client`. Margin and Spacing -1 mean "centre" and "spread"; `centred` is
// the control's centred alignment; the speed-button variant adds one pixel
// to a centred margin with a given spacing.
TGlyphCaptionPlace PlaceGlyphAndCaption(TPoint client, TPoint glyph, TPoint text,
                                        TGlyphLayout layout, int margin, int spacing, bool centred,
                                        bool speed);

// Where a caption measured as `size` is drawn in `rect`: centred both ways
// (one pixel above the middle), or at the vertical middle across the whole
// width.
TRect PlaceCaption(const TRect& rect, TPoint size, bool centred);

// The caption's first "||" becomes a line break.
std::wstring BreakAtFirstBars(std::wstring caption);

// A drop-down button's face: the caption left of a 17-pixel arrow box.
struct TMenuButtonPlace {
  TRect TextRect;  // where the caption is measured
  TPoint Text;     // where it is drawn, given its measured size
  TPoint Arrow[3];
};
constexpr int kMenuArrowBox = 17;
TMenuButtonPlace PlaceMenuButton(TPoint client, TPoint text_size);

// The focus rectangle around a caption placed by DrawText's flags in rect,
// grown by 2 across and 1 down, clipped to rect.
TRect CaptionFocusRect(const TRect& rect, TPoint measured, unsigned flags);

// Buttons painting the parent's background instead of the face.
constexpr int kTransparentTag = 5555;
bool TransparentButton(int tag, TSkinOptions options);
// Framework buttons of libraries that handle the mouse-down themselves
// (no mouse-down is forwarded to them): mode 1.
int ButtonMouseMode(std::string_view lower_class);

// The position a forwarded mouse-down reports: the message's signed 16-bit
// coordinates, or the cursor (in client coordinates) for a control wider or
// taller than 32768 pixels.
TPoint MouseDownPosition(int width, int height, uint32_t lparam, TPoint cursor_client);
