#include "framework/extctrls.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "framework/forms.h"

const TEnumInfo kBevelCutIdents{{"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
const TEnumInfo kBevelShapeIdents{
    {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}};
const TEnumInfo kBevelStyleIdents{{"bsLowered", "bsRaised"}};
const TEnumInfo kButtonLayoutIdents{{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
const TEnumInfo kBitBtnKindIdents{{"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo",
                                   "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};

namespace {

void Frame3D(HDC dc, RECT& r, TColor top_left, TColor bottom_right, int width) {
  for (int i = 0; i < width && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
    HPEN tl = CreatePen(PS_SOLID, 1, ColorToRGB(top_left));
    HPEN br = CreatePen(PS_SOLID, 1, ColorToRGB(bottom_right));
    HGDIOBJ old = SelectObject(dc, tl);
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right - 1, r.top);
    SelectObject(dc, br);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left - 1, r.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(tl);
    DeleteObject(br);
    InflateRect(&r, -1, -1);
  }
}

void BevelFrame(HDC dc, RECT& r, TBevelCut cut, int width) {
  switch (cut) {
    case TBevelCut::bvLowered:
      Frame3D(dc, r, clBtnShadow, clBtnHighlight, width);
      break;
    case TBevelCut::bvRaised:
      Frame3D(dc, r, clBtnHighlight, clBtnShadow, width);
      break;
    case TBevelCut::bvSpace:
      InflateRect(&r, -width, -width);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawGlyphButtonFace(TCanvas& canvas, const RECT& r, TBitmap* glyph, int num_glyphs, int cell,
                         const std::string& caption, TButtonLayout layout, int margin, int spacing,
                         bool enabled, TColor font_color) {
  HDC dc = canvas.Handle();
  num_glyphs = std::max(num_glyphs, 1);
  SIZE g{0, 0};
  if (glyph && !glyph->Empty()) g = SIZE{glyph->Width() / num_glyphs, glyph->Height()};
  SIZE t{0, 0};
  RECT tr{0, 0, 0, 0};
  if (!caption.empty()) {
    canvas.DrawText(caption, tr, DT_CALCRECT | DT_SINGLELINE);
    t = SIZE{tr.right, tr.bottom};
  }
  bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  int client = horizontal ? r.right - r.left : r.bottom - r.top;
  int gsize = horizontal ? g.cx : g.cy;
  int tsize = horizontal ? t.cx : t.cy;
  if (gsize == 0 || tsize == 0) spacing = 0;
  if (margin < 0) {
    margin = (client - gsize - spacing - tsize) / 2;
  }
  POINT gp{}, tp{};
  int cx = r.left + (r.right - r.left - g.cx) / 2, cy = r.top + (r.bottom - r.top - g.cy) / 2;
  int tx = r.left + (r.right - r.left - t.cx) / 2, ty = r.top + (r.bottom - r.top - t.cy) / 2;
  switch (layout) {
    case TButtonLayout::blGlyphLeft:
      gp = {r.left + margin, cy};
      tp = {gp.x + g.cx + spacing, ty};
      break;
    case TButtonLayout::blGlyphRight:
      gp = {r.right - margin - g.cx, cy};
      tp = {gp.x - spacing - t.cx, ty};
      break;
    case TButtonLayout::blGlyphTop:
      gp = {cx, r.top + margin};
      tp = {tx, gp.y + g.cy + spacing};
      break;
    case TButtonLayout::blGlyphBottom:
      gp = {cx, r.bottom - margin - g.cy};
      tp = {tx, gp.y - spacing - t.cy};
      break;
  }
  if (g.cx > 0) {
    int use = cell < num_glyphs ? cell : 0;
    HDC src = glyph->Canvas().Handle();
    COLORREF key = GetPixel(src, 0, glyph->Height() - 1);
    TransparentBlt(dc, gp.x, gp.y, g.cx, g.cy, src, use * g.cx, 0, g.cx, g.cy, key);
  }
  if (!caption.empty()) {
    SetBkMode(dc, TRANSPARENT);
    RECT text{tp.x, tp.y, tp.x + t.cx, tp.y + t.cy};
    if (!enabled) {
      SetTextColor(dc, ColorToRGB(clBtnHighlight));
      RECT shadow = text;
      OffsetRect(&shadow, 1, 1);
      ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &shadow, DT_SINGLELINE);
      SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
      SetTextColor(dc, ColorToRGB(font_color));
    }
    ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);
  }
}

// --- Panels --------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomPanel>(info)
      .Enumeration("BevelOuter", kBevelCutIdents, &TCustomPanel::BevelOuter,
                   &TCustomPanel::SetBevelOuter)
      .Enumeration("BevelInner", kBevelCutIdents, &TCustomPanel::BevelInner,
                   &TCustomPanel::SetBevelInner)
      .Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
      .Enumeration("BorderStyle", kBorderStyleIdents, &TCustomPanel::BorderStyle,
                   &TCustomPanel::SetBorderStyle)
      .Enumeration("Alignment", kAlignmentIdents, &TCustomPanel::Alignment,
                   &TCustomPanel::SetAlignment);
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevel_outer_ = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevel_inner_ = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelWidth(int v) {
  bevel_width_ = std::max(v, 1);
  Realign();
  Invalidate();
}
void TCustomPanel::SetBorderStyle(TBorderStyle v) {
  if (v == border_style_) return;
  border_style_ = v;
  RecreateWnd();
}
void TCustomPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

int TCustomPanel::BorderSize() const {
  int n = 0;
  if (bevel_outer_ != TBevelCut::bvNone) n += bevel_width_;
  if (bevel_inner_ != TBevelCut::bvNone) n += bevel_width_;
  return n;
}

RECT TCustomPanel::ClientRect() const {
  RECT r = TCustomControl::ClientRect();
  int b = BorderSize();
  InflateRect(&r, -b, -b);
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

void TCustomPanel::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  if (border_style_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomPanel::Paint() {
  TCanvas& c = Canvas();
  RECT r;
  GetClientRect(WindowHandle(), &r);
  c.Brush().SetColor(Color());
  c.FillRect(r);
  HDC dc = c.Handle();
  BevelFrame(dc, r, bevel_outer_, bevel_width_);
  BevelFrame(dc, r, bevel_inner_, bevel_width_);
  if (!Caption().empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    UINT format = DT_SINGLELINE | DT_VCENTER |
                  (alignment_ == TAlignment::taCenter         ? DT_CENTER
                   : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                              : DT_LEFT);
    InflateRect(&r, -2, 0);
    c.DrawText(Caption(), r, format);
  }
  TCustomControl::Paint();
}

void TCustomPanel::WndProc(TMessage& msg) {
  if (msg.Msg == CM_DIALOGKEY) {
    Broadcast(msg);
    return;
  }
  TCustomControl::WndProc(msg);
}

// --- Bevel, image, paint box -----------------------------------------------------------

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 50, 50);
}

void TBevel::PublishProperties(TClassInfo& info) {
  TPublisher<TBevel>(info)
      .Enumeration("Shape", kBevelShapeIdents, &TBevel::Shape, &TBevel::SetShape)
      .Enumeration("Style", kBevelStyleIdents, &TBevel::Style, &TBevel::SetStyle);
}

void TBevel::SetShape(TBevelShape v) {
  shape_ = v;
  Invalidate();
}
void TBevel::SetStyle(TBevelStyle v) {
  style_ = v;
  Invalidate();
}

void TBevel::Paint() {
  HDC dc = Canvas().Handle();
  TColor a = style_ == TBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
  TColor b = style_ == TBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
  RECT r = ClientRect();
  auto line = [&](TColor col, int x1, int y1, int x2, int y2) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(col));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
  };
  int w = r.right, h = r.bottom;
  switch (shape_) {
    case TBevelShape::bsBox:
      Frame3D(dc, r, a, b, 1);
      break;
    case TBevelShape::bsFrame: {
      RECT outer{0, 0, w - 1, h - 1}, inner{1, 1, w, h};
      Frame3D(dc, inner, b, b, 1);
      Frame3D(dc, outer, a, a, 1);
      break;
    }
    case TBevelShape::bsTopLine:
      line(a, 0, 0, w, 0);
      line(b, 0, 1, w, 1);
      break;
    case TBevelShape::bsBottomLine:
      line(a, 0, h - 2, w, h - 2);
      line(b, 0, h - 1, w, h - 1);
      break;
    case TBevelShape::bsLeftLine:
      line(a, 0, 0, 0, h);
      line(b, 1, 0, 1, h);
      break;
    case TBevelShape::bsRightLine:
      line(a, w - 2, 0, w - 2, h);
      line(b, w - 1, 0, w - 1, h);
      break;
    default:
      break;
  }
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::PublishProperties(TClassInfo& info) {
  TPublisher<TImage>(info)
      .Object("Picture", &TImage::Picture, &TImage::SetPicture)
      .Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize)
      .Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch)
      .Boolean("Center", &TImage::Center, &TImage::SetCenter)
      .Boolean("Transparent", &TImage::Transparent, &TImage::SetTransparent);
}

void TImage::SetPicture(TPicture* v) {
  if (v && v != picture_.get()) picture_->Assign(*v);
  PictureChanged();
}

void TImage::SetAutoSize(bool v) {
  auto_size_ = v;
  PictureChanged();
}
void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TImage::PictureChanged() {
  if (auto_size_ && picture_->Width() > 0 && picture_->Height() > 0) {
    SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  }
  Invalidate();
}

void TImage::Paint() {
  TGraphic* g = picture_->Graphic();
  if (g && !g->Empty()) {
    RECT r = ClientRect();
    if (!stretch_) {
      int x = center_ ? (r.right - g->Width()) / 2 : 0;
      int y = center_ ? (r.bottom - g->Height()) / 2 : 0;
      r = RECT{x, y, x + g->Width(), y + g->Height()};
    }
    g->SetTransparent(transparent_);
    g->Draw(Canvas(), r);
  }
  TGraphicControl::Paint();
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 105, 105);
}

// --- Notebook ---------------------------------------------------------------------------

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
  SetVisibleFlag(false);
  SetAlign(TAlign::alClient);
}

void TPage::WndProc(TMessage& msg) {
  if (msg.Msg == CM_DIALOGKEY) {
    Broadcast(msg);
    return;
  }
  TCustomControl::WndProc(msg);
}

TNotebook::TNotebook(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 150, 150);
}

void TNotebook::PublishProperties(TClassInfo& info) {
  TPublisher<TNotebook>(info)
      .Integer("PageIndex", &TNotebook::PageIndex, &TNotebook::SetPageIndex)
      .String("ActivePage", &TNotebook::ActivePage, &TNotebook::SetActivePage);
}

TPage* TNotebook::AddPage(const std::string& caption) {
  auto* page = new TPage(this);
  page->SetCaption(caption);
  page->SetParent(this);
  FreeNotification(page);
  pages_.push_back(page);
  if (page_index_ < 0) SetPageIndex(0);
  return page;
}

void TNotebook::SetPageIndex(int v) {
  if (v < 0 || v >= PageCount()) return;
  bool changed = v != page_index_;
  page_index_ = v;
  for (int i = 0; i < PageCount(); ++i)
    Pages(i)->SetVisible(i == v);
  if (changed && OnPageChanged) OnPageChanged(this);
}

std::string TNotebook::ActivePage() const {
  return page_index_ >= 0 ? Pages(page_index_)->Caption() : std::string();
}

void TNotebook::SetActivePage(const std::string& caption) {
  for (int i = 0; i < PageCount(); ++i) {
    if (Pages(i)->Caption() == caption) SetPageIndex(i);
  }
}

void TNotebook::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  auto it = std::find(pages_.begin(), pages_.end(), component);
  if (it == pages_.end()) return;
  int index = static_cast<int>(it - pages_.begin());
  pages_.erase(it);
  if (index < page_index_ || page_index_ >= PageCount()) --page_index_;
  if (!Destroying() && page_index_ >= 0) SetPageIndex(page_index_);
}

// --- Scroll box ----------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::PublishProperties(TClassInfo& info) {
  TPublisher<TScrollBox>(info).Enumeration("BorderStyle", kBorderStyleIdents,
                                           &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle);
}

void TScrollBox::SetBorderStyle(TBorderStyle v) {
  if (v == border_style_) return;
  border_style_ = v;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  if (border_style_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWindowHandle(const TCreateParams&) {
  UpdateScrollBars();
}

void TScrollBox::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  int extent[2] = {0, 0};
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    extent[0] = std::max(extent[0], c->Left() + c->Width() + pos_[0]);
    extent[1] = std::max(extent[1], c->Top() + c->Height() + pos_[1]);
  }
  RECT client;
  GetClientRect(WindowHandle(), &client);
  int size[2] = {client.right, client.bottom};
  for (int bar = 0; bar < 2; ++bar) {
    range_[bar] = std::max(0, extent[bar] - size[bar]);
    SCROLLINFO si{sizeof si,
                  SIF_RANGE | SIF_PAGE | SIF_POS,
                  0,
                  extent[bar] > size[bar] ? extent[bar] - 1 : 0,
                  static_cast<UINT>(size[bar]),
                  pos_[bar],
                  0};
    SetScrollInfo(WindowHandle(), bar == 0 ? SB_HORZ : SB_VERT, &si, TRUE);
  }
}

void TScrollBox::ScrollTo(int x, int y) {
  x = std::clamp(x, 0, range_[0]);
  y = std::clamp(y, 0, range_[1]);
  int dx = pos_[0] - x, dy = pos_[1] - y;
  if (dx == 0 && dy == 0) return;
  pos_[0] = x;
  pos_[1] = y;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  }
  Invalidate();
  UpdateScrollBars();
}

void TScrollBox::ScrollBy(int bar, int code) {
  int pos = pos_[bar];
  RECT client;
  GetClientRect(WindowHandle(), &client);
  int page = bar == 0 ? client.right : client.bottom;
  switch (code) {
    case SB_LINEUP:
      pos -= 8;
      break;
    case SB_LINEDOWN:
      pos += 8;
      break;
    case SB_PAGEUP:
      pos -= page;
      break;
    case SB_PAGEDOWN:
      pos += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(WindowHandle(), bar == 0 ? SB_HORZ : SB_VERT, &si);
      pos = si.nTrackPos;
      break;
    }
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = range_[bar];
      break;
    default:
      return;
  }
  if (bar == 0) {
    ScrollTo(pos, pos_[1]);
  } else {
    ScrollTo(pos_[0], pos);
  }
}

void TScrollBox::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (msg.LParam == 0) {  // our own bars; child scroll bars are reflected
        ScrollBy(msg.Msg == WM_HSCROLL ? 0 : 1, LOWORD(msg.WParam));
        return;
      }
      break;
    case WM_SIZE:
      TWinControl::WndProc(msg);
      UpdateScrollBars();
      return;
    case CM_DIALOGKEY:
      Broadcast(msg);
      return;
    default:
      break;
  }
  TWinControl::WndProc(msg);
}

// --- Radio group ------------------------------------------------------------------------------

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStrings>()) {
  items_->OnChange = [this](TObject*) { RebuildButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  // The buttons are children and die with the window control.
  for (TRadioButton* b : buttons_)
    b->OnClick = nullptr;
}

void TCustomRadioGroup::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomRadioGroup>(info)
      .Object("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems)
      .Integer("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex)
      .Integer("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns);
}

void TCustomRadioGroup::SetItems(TStrings* v) {
  if (v && v != items_.get()) items_->Assign(*v);
}

void TCustomRadioGroup::SetItemIndex(int v) {
  if (v < -1 || v >= ButtonCount()) v = -1;
  item_index_ = v;
  for (int i = 0; i < ButtonCount(); ++i)
    Buttons(i)->SetChecked(i == v);
}

void TCustomRadioGroup::SetColumns(int v) {
  columns_ = std::clamp(v, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::SetBounds(int left, int top, int width, int height) {
  TCustomGroupBox::SetBounds(left, top, width, height);
  ArrangeButtons();
}

void TCustomRadioGroup::RebuildButtons() {
  while (static_cast<int>(buttons_.size()) > items_->Count()) {
    TRadioButton* b = buttons_.back();
    buttons_.pop_back();
    b->Free();
  }
  while (static_cast<int>(buttons_.size()) < items_->Count()) {
    auto* b = new TRadioButton(this);
    int index = static_cast<int>(buttons_.size());
    b->OnClick = [this, index](TObject*) {
      item_index_ = index;
      Click();
    };
    b->SetParent(this);
    buttons_.push_back(b);
  }
  for (int i = 0; i < ButtonCount(); ++i) {
    Buttons(i)->SetCaption(items_->Strings(i));
    Buttons(i)->SetChecked(i == item_index_);
  }
  if (item_index_ >= ButtonCount()) item_index_ = -1;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  RECT r = ClientRect();
  int per_column = (ButtonCount() + columns_ - 1) / columns_;
  int col_width = (r.right - r.left - 8) / columns_;
  int row_height = std::max(1, static_cast<int>(r.bottom - r.top) / std::max(per_column, 1));
  for (int i = 0; i < ButtonCount(); ++i) {
    int col = i / per_column, row = i % per_column;
    int h = std::min(row_height, 20);
    Buttons(i)->SetBounds(r.left + 6 + col * col_width,
                          r.top + row * row_height + (row_height - h) / 2, col_width - 2, h);
  }
}

// --- Bit button -------------------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {}

TBitBtn::~TBitBtn() {
  DestroyWnd();
}

void TBitBtn::PublishProperties(TClassInfo& info) {
  TPublisher<TBitBtn>(info)
      .Object("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
      .Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
      .Enumeration("Layout", kButtonLayoutIdents, &TBitBtn::Layout, &TBitBtn::SetLayout)
      .Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
      .Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
      .Enumeration("Kind", kBitBtnKindIdents, &TBitBtn::Kind, &TBitBtn::SetKind);
}

void TBitBtn::SetGlyph(TBitmap* v) {
  if (v && v != glyph_.get()) glyph_->Assign(*v);
  Invalidate();
}
void TBitBtn::SetNumGlyphs(int v) {
  num_glyphs_ = std::clamp(v, 1, 4);
  Invalidate();
}
void TBitBtn::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}
void TBitBtn::SetMargin(int v) {
  margin_ = std::max(v, -1);
  Invalidate();
}
void TBitBtn::SetSpacing(int v) {
  spacing_ = std::max(v, -1);
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind v) {
  kind_ = v;
  static const char* const kCaptions[] = {"",       "OK",    "Cancel", "&Help",   "&Yes", "&No",
                                          "&Close", "Abort", "&Retry", "&Ignore", "&All"};
  static const int kResults[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                 mrNone, mrAbort, mrRetry,  mrIgnore, mrNone};
  auto i = static_cast<size_t>(v);
  if (v != TBitBtnKind::bkCustom && i < std::size(kCaptions)) {
    SetCaption(kCaptions[i]);
    SetModalResult(kResults[i]);
    if (v == TBitBtnKind::bkOK || v == TBitBtnKind::bkYes) SetDefault(true);
    if (v == TBitBtnKind::bkCancel || v == TBitBtnKind::bkNo) SetCancel(true);
  }
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~static_cast<DWORD>(0xF)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& msg) {
  if (msg.Msg == CN_DRAWITEM && msg.LParam) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
    bool down = (dis->itemState & ODS_SELECTED) != 0;
    bool focused = (dis->itemState & ODS_FOCUS) != 0;
    bool enabled = (dis->itemState & ODS_DISABLED) == 0;
    TCanvas canvas;
    canvas.SetHandle(dis->hDC);
    canvas.Font().Assign(*Font());
    RECT r = dis->rcItem;
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(r);
    if (Default() || focused) {
      HBRUSH black = CreateSolidBrush(0);
      FrameRect(dis->hDC, &r, black);
      DeleteObject(black);
      InflateRect(&r, -1, -1);
    }
    DrawEdge(dis->hDC, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT face = r;
    InflateRect(&face, -2, -2);
    if (down) OffsetRect(&face, 1, 1);
    int cell = !enabled ? 1 : down ? 2 : 0;
    DrawGlyphButtonFace(canvas, face, glyph_.get(), num_glyphs_, cell, Caption(), layout_, margin_,
                        spacing_, enabled, Font()->Color());
    if (focused) {
      RECT f = r;
      InflateRect(&f, -3, -3);
      ::DrawFocusRect(dis->hDC, &f);
    }
    canvas.SetHandle(nullptr);
    msg.Result = 1;
    return;
  }
  TButton::WndProc(msg);
}

// --- Speed button -----------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::PublishProperties(TClassInfo& info) {
  TPublisher<TSpeedButton>(info)
      .Object("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
      .Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
      .Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
      .Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
      .Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
      .Boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
      .Enumeration("Layout", kButtonLayoutIdents, &TSpeedButton::Layout, &TSpeedButton::SetLayout)
      .Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
      .Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing);
}

void TSpeedButton::SetGlyph(TBitmap* v) {
  if (v && v != glyph_.get()) glyph_->Assign(*v);
  Invalidate();
}
void TSpeedButton::SetNumGlyphs(int v) {
  num_glyphs_ = std::clamp(v, 1, 4);
  Invalidate();
}
void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}
void TSpeedButton::SetMargin(int v) {
  margin_ = std::max(v, -1);
  Invalidate();
}
void TSpeedButton::SetSpacing(int v) {
  spacing_ = std::max(v, -1);
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  if (group_index_ == 0) v = false;  // only grouped buttons stay down
  if (v == down_) return;
  if (!v && !allow_all_up_) {
    // The last down button of a group stays down unless all may be up.
    bool other_down = false;
    if (Parent()) {
      for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (b && b != this && b->group_index_ == group_index_ && b->down_) other_down = true;
      }
    }
    if (!other_down) return;
  }
  down_ = v;
  if (v && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
      if (b && b != this && b->group_index_ == group_index_ && b->down_) {
        b->down_ = false;
        b->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::Click() {
  if (group_index_ != 0) SetDown(allow_all_up_ ? !down_ : true);
  TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && Enabled()) {
    pressed_ = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (pressed_) {
    pressed_ = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::WndProc(TMessage& msg) {
  if (msg.Msg == CM_MOUSEENTER || msg.Msg == CM_MOUSELEAVE) Invalidate();
  TGraphicControl::WndProc(msg);
}

void TSpeedButton::Paint() {
  TCanvas& c = Canvas();
  RECT r = ClientRect();
  HDC dc = c.Handle();
  c.Brush().SetColor(down_ && !pressed_ ? clBtnHighlight : clBtnFace);
  c.FillRect(r);
  bool hot = MouseInControl() && Enabled();
  bool sunken = pressed_ || down_;
  if (!flat_ || hot || sunken) {
    if (flat_) {
      DrawEdge(dc, &r, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    } else {
      DrawEdge(dc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
  }
  RECT face = r;
  InflateRect(&face, -2, -2);
  if (sunken) OffsetRect(&face, 1, 1);
  int cell = !Enabled() ? 1 : pressed_ ? 2 : down_ ? 3 : 0;
  DrawGlyphButtonFace(c, face, glyph_.get(), num_glyphs_, cell, Caption(), layout_, margin_,
                      spacing_, Enabled(), Font()->Color());
  TGraphicControl::Paint();
}
