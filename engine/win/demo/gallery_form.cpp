// The control gallery's form and its pages.
#include "gallery_form.h"

#include <cstdlib>
#include <iterator>
#include <string>

#include "gallery_dialog.h"

#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/mplayer.h"
#include "framework/stdctrls.h"

namespace {

constexpr TColor kKey = 0x808000;  // transparent colour of the generated glyphs

// A 16 x 16 glyph cell per colour: a filled circle on the key colour.
void PaintGlyphs(TBitmap& bmp, std::initializer_list<TColor> colours) {
  bmp.SetSize(16 * static_cast<int>(colours.size()), 16);
  TCanvas& c = bmp.Canvas();
  c.Brush().SetColor(kKey);
  c.FillRect(RECT{0, 0, bmp.Width(), 16});
  int x = 0;
  for (TColor col : colours) {
    c.Brush().SetColor(col);
    c.Pen().SetColor(clBlack);
    c.Ellipse(x + 2, 2, x + 14, 14);
    x += 16;
  }
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const std::string& caption,
                   TNotifyEvent on_click = nullptr) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  item->OnClick = std::move(on_click);
  parent->Add(item);
  return item;
}

template <class T>
T* Place(TComponent* owner, TWinControl* parent, int x, int y, int w, int h,
         const std::string& caption = {}) {
  auto* c = new T(owner);
  c->SetBounds(x, y, w, h);
  if (!caption.empty()) c->SetCaption(caption);
  c->SetParent(parent);
  return c;
}

bool ParseRGB(const std::string& text, TColor& out) {
  int parts[3] = {0, 0, 0};
  int n = 0;
  std::string digits;
  auto flush = [&] {
    if (!digits.empty() && n < 3) parts[n++] = std::atoi(digits.c_str()) % 256;
    digits.clear();
  };
  for (char ch : text) {
    if (ch >= '0' && ch <= '9') {
      digits += ch;
    } else {
      flush();
    }
  }
  flush();
  if (n != 3) return false;
  out = static_cast<TColor>(parts[0] | (parts[1] << 8) | (parts[2] << 16));
  return true;
}

constexpr const char* kPageNames[] = {"&Standard", "&Additional", "&Common", "&Grid", "&Dialog"};
constexpr int kPageCount = static_cast<int>(std::size(kPageNames));

}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
  SetCaption("Control gallery");
  SetBounds(20, 20, 640, 520);
  BuildMenu();
  BuildToolBar();
  BuildStatusBar();
  pages_ = new TPageControl(this);
  pages_->SetAlign(TAlign::alClient);
  pages_->SetParent(this);
  BuildStandardPage(pages_->AddSheet("Standard"));
  BuildAdditionalPage(pages_->AddSheet("Additional"));
  BuildCommonPage(pages_->AddSheet("Common"));
  BuildGridPage(pages_->AddSheet("Grid"));
  BuildDialogPage(pages_->AddSheet("Dialog"));
  pages_->OnChange = [this](TObject*) {
    status_->Panels(0)->SetText("Page: " + pages_->ActivePage()->Caption());
  };
}

void TGalleryForm::BuildStatusBar() {
  status_ = new TStatusBar(this);
  status_->SetParent(this);
  TStatusPanel* p0 = status_->AddPanel();
  p0->SetWidth(180);
  p0->SetText("Ready");
  TStatusPanel* p1 = status_->AddPanel();
  p1->SetWidth(120);
  p1->SetAlignment(TAlignment::taCenter);
  p1->SetText(std::to_string(kPageCount) + " pages");
  TStatusPanel* p2 = status_->AddPanel();
  p2->SetStyle(TStatusPanelStyle::psOwnerDraw);
  status_->OnDrawPanel = [](TCustomStatusBar* bar, TStatusPanel*, const RECT& r) {
    TCanvas& c = bar->Canvas();
    RECT bar_rect{r.left + 2, r.top + 3, r.left + 2 + (r.right - r.left - 4) * 2 / 3, r.bottom - 3};
    c.Brush().SetColor(0x30A030);
    c.FillRect(bar_rect);
    SetBkMode(c.Handle(), TRANSPARENT);
    RECT text = r;
    c.DrawText("owner drawn", text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  };
}

void TGalleryForm::BuildMenu() {
  auto* menu = new TMainMenu(this);
  TMenuItem* file = AddItem(this, menu->Items(), "&File");
  AddItem(this, file, "&Open...")->SetShortCut(ShortCut('O', ssCtrl));
  AddItem(this, file, "&Save")->SetShortCut(ShortCut('S', ssCtrl));
  AddItem(this, file, "-");
  AddItem(this, file, "E&xit", [this](TObject*) { Close(); });
  TMenuItem* view = AddItem(this, menu->Items(), "&View");
  for (int i = 0; i < kPageCount; ++i)
    AddItem(this, view, kPageNames[i], [this, i](TObject*) { pages_->SetActivePageIndex(i); });
  TMenuItem* help = AddItem(this, menu->Items(), "&Help");
  AddItem(this, help, "&About",
          [](TObject*) { ShowMessage("Control gallery of the window framework"); });
  SetMenu(menu);
}

void TGalleryForm::BuildToolBar() {
  images_ = new TImageList(this);
  images_->SetSize(16, 16);
  TBitmap strip;
  PaintGlyphs(strip, {clRed, clGreen, clBlue, clYellow, clFuchsia});
  images_->AddMasked(strip, kKey);
  recent_ = new TPopupMenu(this);
  AddItem(this, recent_->Items(), "first.skn");
  AddItem(this, recent_->Items(), "second.skn");

  auto* bar = new TToolBar(this);
  bar->SetFlat(true);
  bar->SetShowCaptions(true);
  bar->SetImages(images_);
  bar->SetHeight(38);
  bar->SetParent(this);
  struct TButtonRow {
    const char* caption;
    TToolButtonStyle style;
    int image;
  } rows[] = {{"New", TToolButtonStyle::tbsButton, 0},  {"Open", TToolButtonStyle::tbsDropDown, 1},
              {"Save", TToolButtonStyle::tbsButton, 2}, {"", TToolButtonStyle::tbsSeparator, -1},
              {"Left", TToolButtonStyle::tbsCheck, 3},  {"Right", TToolButtonStyle::tbsCheck, 4}};
  for (const TButtonRow& s : rows) {
    auto* b = new TToolButton(this);
    b->SetCaption(s.caption);
    b->SetStyle(s.style);
    b->SetImageIndex(s.image);
    if (s.style == TToolButtonStyle::tbsCheck) b->SetGrouped(true);
    if (s.style == TToolButtonStyle::tbsDropDown) b->SetDropdownMenu(recent_);
    b->SetParent(bar);
    b->OnClick = [this, b](TObject*) { status_->Panels(0)->SetText(b->Caption() + " clicked"); };
  }
}

void TGalleryForm::BuildStandardPage(TTabSheet* s) {
  Place<TLabel>(this, s, 10, 12, 60, 15, "&Name:");
  auto* edit = Place<TEdit>(this, s, 80, 8, 160, 21);
  edit->SetText("An edit control");
  auto* memo = Place<TMemo>(this, s, 10, 40, 230, 90);
  memo->SetScrollBars(TScrollStyle::ssVertical);
  memo->Lines()->SetText(
      "A memo\r\nwith more\r\nlines than\r\nit shows\r\nat once,\r\nso its\r\nscroll bar\r\n"
      "has a thumb");
  auto* combo = Place<TComboBox>(this, s, 10, 140, 140, 21);
  for (const char* t : {"Drop-down", "Second", "Third"})
    combo->Items()->Add(t);
  combo->SetItemIndex(0);
  auto* list_combo = Place<TComboBox>(this, s, 160, 140, 80, 21);
  list_combo->SetStyle(TComboBoxStyle::csDropDownList);
  for (const char* t : {"List", "Only"})
    list_combo->Items()->Add(t);
  list_combo->SetItemIndex(0);
  auto* list = Place<TListBox>(this, s, 10, 172, 140, 90);
  for (const char* t : {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta"})
    list->Items()->Add(t);
  list->SetItemIndex(1);
  Place<TStaticText>(this, s, 160, 172, 80, 20, "Static text")
      ->SetBorderStyle(TBorderStyle::bsSingle);
  auto* spin = Place<TSpinEdit>(this, s, 160, 200, 80, 21);
  spin->SetMaxValue(99);
  spin->SetValue(42);

  auto* group = Place<TGroupBox>(this, s, 260, 8, 170, 120, "Group box");
  Place<TCheckBox>(this, group, 10, 20, 140, 17, "Checked")->SetChecked(true);
  auto* grayed = Place<TCheckBox>(this, group, 10, 42, 140, 17, "Grayed");
  grayed->SetAllowGrayed(true);
  grayed->SetState(TCheckBoxState::cbGrayed);
  Place<TRadioButton>(this, group, 10, 64, 140, 17, "Radio one")->SetChecked(true);
  Place<TRadioButton>(this, group, 10, 86, 140, 17, "Radio two");

  auto* ok = Place<TButton>(this, s, 260, 140, 80, 25, "OK");
  ok->SetDefault(true);
  auto* cancel = Place<TButton>(this, s, 350, 140, 80, 25, "Cancel");
  cancel->SetCancel(true);
  auto* disabled = Place<TButton>(this, s, 260, 172, 80, 25, "Disabled");
  disabled->SetEnabled(false);
  auto* h = Place<TScrollBar>(this, s, 260, 210, 170, 17);
  h->SetPosition(30);
  auto* v = new TScrollBar(this);
  v->SetKind(TScrollBarKind::sbVertical);
  v->SetBounds(440, 8, 17, 220);
  v->SetParent(s);
  v->SetPosition(60);
}

// Bit buttons (glyph left, glyph top, one disabled) and speed buttons (not
// flat, flat, one down, one disabled) in a row along the top of the page.
void TGalleryForm::BuildButtonRow(TTabSheet* s) {
  TBitmap glyph;
  PaintGlyphs(glyph, {clGreen, clGray});
  struct TBitRow {
    TBitBtnKind kind;
    const char* caption;  // null: the kind's own
    bool top, enabled;
  } bits[] = {{TBitBtnKind::bkOK, nullptr, false, true},
              {TBitBtnKind::bkCancel, nullptr, false, true},
              {TBitBtnKind::bkCustom, "&Glyph top", true, true},
              {TBitBtnKind::bkCustom, "O&ff", false, false}};
  int x = 10;
  for (const TBitRow& r : bits) {
    const int w = r.enabled ? 90 : 60;
    auto* b = Place<TBitBtn>(this, s, x, 8, w, r.top ? 44 : 28);
    b->SetKind(r.kind);
    if (r.caption) b->SetCaption(r.caption);
    b->SetGlyph(&glyph);
    b->SetNumGlyphs(2);
    if (r.top) b->SetLayout(TButtonLayout::blGlyphTop);
    b->SetEnabled(r.enabled);
    x += w + 5;
  }
  x += 5;
  const TColor colours[] = {clRed, clGreen, clBlue, clPurple};
  for (int i = 0; i < 4; ++i) {
    auto* sb = Place<TSpeedButton>(this, s, x + i * 26, 8, 25, 25);
    TBitmap one;
    PaintGlyphs(one, {colours[i]});
    sb->SetGlyph(&one);
    sb->SetGroupIndex(i < 3 ? 1 : 0);
    sb->SetFlat(i == 1 || i == 2);
    if (i == 1) sb->SetDown(true);
    if (i == 3) sb->SetEnabled(false);
  }
}

void TGalleryForm::BuildAdditionalPage(TTabSheet* s) {
  BuildButtonRow(s);
  auto* panel = Place<TPanel>(this, s, 10, 60, 200, 60, "Raised panel");
  panel->SetBevelInner(TBevelCut::bvLowered);
  auto* lowered = Place<TPanel>(this, s, 220, 60, 110, 60, "Lowered");
  lowered->SetBevelOuter(TBevelCut::bvLowered);
  lowered->SetColor(clWindow);
  Place<TBevel>(this, s, 340, 60, 100, 60)->SetShape(TBevelShape::bsFrame);

  auto* image = Place<TImage>(this, s, 10, 130, 64, 64);
  TBitmap& pic = image->Picture()->Bitmap();
  pic.SetSize(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      pic.Canvas().SetPixel(x, y, static_cast<TColor>((x * 4) | ((y * 4) << 8) | (0x80 << 16)));
    }
  }
  image->SetPicture(image->Picture());
  auto* paint = Place<TPaintBox>(this, s, 84, 130, 90, 64);
  paint->OnPaint = [paint](TObject*) {
    TCanvas& c = paint->Canvas();
    c.Brush().SetColor(clWhite);
    c.Pen().SetColor(clNavy);
    c.Rectangle(0, 0, paint->Width(), paint->Height());
    c.MoveTo(0, 0);
    c.LineTo(paint->Width(), paint->Height());
    c.MoveTo(paint->Width(), 0);
    c.LineTo(0, paint->Height());
  };
  auto* scroll = Place<TScrollBox>(this, s, 184, 130, 150, 64);
  for (int i = 0; i < 4; ++i)
    Place<TButton>(this, scroll, 4, 4 + i * 28, 100, 24, "In scroll box " + std::to_string(i + 1));
  auto* checks = Place<TCheckListBox>(this, s, 10, 204, 324, 60);
  checks->SetColumns(2);
  for (const char* t : {"Buttons", "Check boxes", "Combo boxes", "Edits", "Menus", "Scroll bars"})
    checks->Items()->Add(t);
  checks->SetChecked(0, true);
  checks->SetChecked(3, true);
  auto* radios = Place<TRadioGroup>(this, s, 344, 130, 110, 90, "Radio group");
  for (const char* t : {"First", "Second", "Third"})
    radios->Items()->Add(t);
  radios->SetItemIndex(2);
  auto* book = Place<TNotebook>(this, s, 344, 226, 110, 40);
  Place<TLabel>(this, book->AddPage("One"), 4, 4, 90, 15, "Notebook page 1");
  Place<TLabel>(this, book->AddPage("Two"), 4, 4, 90, 15, "Notebook page 2");
  auto* player = Place<TMediaPlayer>(this, s, 464, 130, 150, 30);
  player->SetVisibleButtons(0x1F);  // play, pause, stop, next, previous
  player->SetEnabledButtons(0x1B);  // stop disabled
  player->SetColoredButtons(0x01);
  player->OnClick = [this](TObject*, TMPBtnType b) {
    status_->Panels(0)->SetText(kMPBtnTypeIdents.NameOf(static_cast<int>(b)) + " clicked");
  };
}

void TGalleryForm::BuildCommonPage(TTabSheet* s) {
  auto* progress = Place<TProgressBar>(this, s, 10, 10, 200, 17);
  progress->SetPosition(50);
  auto* vprogress = new TProgressBar(this);
  vprogress->SetOrientation(TProgressBarOrientation::pbVertical);
  vprogress->SetBounds(220, 10, 17, 90);
  vprogress->SetParent(s);
  vprogress->SetPosition(70);
  auto* track = Place<TTrackBar>(this, s, 10, 34, 200, 32);
  track->SetPosition(4);
  Place<TUpDown>(this, s, 10, 72, 17, 25)->SetPosition(5);
  auto* hupdown = new TUpDown(this);
  hupdown->SetOrientation(TUDOrientation::udHorizontal);
  hupdown->SetBounds(34, 76, 34, 17);
  hupdown->SetParent(s);
  auto* date = Place<TDateTimePicker>(this, s, 80, 72, 130, 21);
  (void)date;
  auto* time = Place<TDateTimePicker>(this, s, 80, 100, 130, 21);
  time->SetKind(TDateTimeKind::dtkTime);

  auto* tree = Place<TTreeView>(this, s, 250, 10, 200, 170);
  TTreeNode* border = tree->Items()->AddChild(nullptr, "Border");
  for (const char* t : {"Top Border", "Left Border", "Caption"})
    tree->Items()->AddChild(border, t);
  TTreeNode* control = tree->Items()->AddChild(nullptr, "Control");
  for (const char* t : {"Button", "CheckBox", "Scrollbar"})
    tree->Items()->AddChild(control, t);
  TTreeNode* colours = tree->Items()->AddChild(nullptr, "Colors");
  for (const char* t : {"Button face", "Window text", "Highlight"})
    tree->Items()->AddChild(colours, t);
  colours->Expand(false);
  border->Expand(false);
  control->Expand(false);
  tree->SetSelected(border->Item(2));

  auto* header = new THeaderControl(this);
  header->SetAlign(TAlign::alNone);
  header->SetBounds(10, 134, 230, 20);
  header->SetParent(s);
  header->AddSection("Name", 90);
  header->AddSection("Size", 60);
  header->AddSection("Type", 80);
  auto* list = Place<TListView>(this, s, 10, 160, 230, 100);
  list->AddColumn("Element", 110);
  list->AddColumn("Frames", 60);
  list->AddItem("Buttons", {"5"});
  list->AddItem("CheckBox", {"8"});
  list->AddItem("Tabs", {"5"});
  for (const char* t : {"Scrollbar", "Progress", "Tab pane", "Header", "Status bar"})
    list->AddItem(t, {"4"});
  list->SetItemIndex(1);
  auto* tabs = Place<TTabControl>(this, s, 250, 190, 200, 80);
  tabs->SetStyle(TTabStyle::tsButtons);
  for (const char* t : {"One", "Two", "Three"})
    tabs->Tabs()->Add(t);
  tabs->SetTabIndex(1);
  Place<TLabel>(this, tabs, 10, 40, 150, 15, "Tab control, button style");
}

void TGalleryForm::BuildGridPage(TTabSheet* s) {
  auto* grid = new TValueListEditor(this);
  grid->SetName("VL");
  grid->SetAlign(TAlign::alClient);
  grid->SetKeyColWidth(150);
  grid->SetParent(s);
  struct Row {
    const char* key;
    const char* value;
    bool colour, bitmap;
  } rows[] = {{"Window Color", "236 233 216", true, false},
              {"Text Color", "0 0 0", true, false},
              {"Highlight", "49 106 197", true, false},
              {"Bitmap", "BitMap", false, true},
              {"Left Margin", "4", false, false},
              {"Right Margin", "4", false, false},
              {"Tile", "0", false, false},
              {"Trans", "1", false, false},
              {"Frame Count", "5", false, false},
              {"Top Height", "3", false, false},
              {"Bottom Height", "3", false, false},
              {"Normal Colour", "0 0 0", true, false},
              {"Mouse Over Colour", "0 0 128", true, false},
              {"Pressed Colour", "255 255 255", true, false},
              {"Custom Color 0", "100 110 120", true, false},
              {"Custom Color 1", "200 210 220", true, false},
              {"Custom Color 2", "30 60 90", true, false},
              {"Custom Color 3", "90 60 30", true, false},
              {"Custom Color 4", "0 128 0", true, false},
              {"Custom Color 5", "128 0 0", true, false},
              {"Custom Color 6", "0 0 255", true, false},
              {"Custom Color 7", "255 255 0", true, false},
              {"Custom Color 8", "0 255 255", true, false},
              {"Custom Color 9", "255 0 255", true, false}};
  for (const Row& r : rows) {
    int row = grid->InsertRow(r.key, r.value);
    if (r.colour) grid->ItemProps(row).EditStyle = TEditStyle::esEllipsis;
    if (r.bitmap) {
      grid->ItemProps(row).ReadOnly = true;
      grid->ItemProps(row).EditStyle = TEditStyle::esEllipsis;
    }
  }
  grid->OnDrawCell = [grid](TObject*, int col, int row, const RECT& rect, TGridDrawState state) {
    if (col != 1 || row < 1) return;
    if (grid->ItemProps(row).ReadOnly) return;
    TColor colour = 0;
    std::string text = grid->Cells(col, row);
    if (text.empty() || grid->ItemProps(row).EditStyle != TEditStyle::esEllipsis) return;
    TCanvas& c = grid->Canvas();
    TColor saved = c.Brush().Color();
    RECT swatch{rect.left + 2, rect.top + (rect.bottom - rect.top - 8) / 2, 0, 0};
    swatch.right = swatch.left + 8;
    swatch.bottom = swatch.top + 8;
    c.Brush().SetColor((state & gdSelected) ? clHighlight : clWindow);
    c.FillRect(rect);
    SetBkMode(c.Handle(), TRANSPARENT);
    SetTextColor(c.Handle(), ColorToRGB((state & gdSelected) ? clHighlightText : clWindowText));
    c.TextOut(rect.left + 12, rect.top + 2, text);
    if (ParseRGB(text, colour)) {
      c.Brush().SetColor(colour);
      c.Pen().SetColor(clBlack);
      c.Rectangle(swatch);
    }
    c.Brush().SetColor(saved);
  };
  grid->OnEditButtonClick = [this, grid](TObject*) {
    status_->Panels(0)->SetText("Edit button of " + grid->Keys(grid->Row()));
  };
  grid->OnValidate = [this](TObject*, int, int, const std::string& key, const std::string& value) {
    status_->Panels(0)->SetText(key + " = " + value);
  };
}

void TGalleryForm::BuildDialogPage(TTabSheet* s) {
  dialog_ = CreateGalleryDialog(s->Handle());
  // The dialog follows the sheet's size (the sheet is sized while shown).
  TWndMethod sheet_proc = s->WindowProc;
  s->WindowProc = [this, s, sheet_proc](TMessage& m) {
    sheet_proc(m);
    if (m.Msg == WM_SIZE && dialog_) FitGalleryDialog(dialog_, s->WindowHandle());
  };
  if (dialog_) FitGalleryDialog(dialog_, s->WindowHandle());
}
