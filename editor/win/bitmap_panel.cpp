// The bitmap page below the grid: the selected bitmap row's member, its
// margin preview, the coordinate read-out under the mouse and the zoom view.
// Layout, frames, preview pixels and coordinates are decided by
// editor/bitmap_panel.h; this file blits and routes.
#include <windows.h>

#include "editor/element_tree.h"
#include "framework/imglist.h"
#include "main_form.h"

namespace {

std::string Formatted(const char* label, int value) {
  return label + std::to_string(value);
}

// 0x00RRGGBB of a colour to draw with.
uint32_t RgbOf(TColor colour) {
  const COLORREF c = ColorToRGB(colour);
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

void ShowPixmap(TImage* image, const TPixmap& pixmap) {
  TBitmap bitmap;
  bitmap.FromImage(pixmap);
  image->Picture()->Assign(bitmap);
}

// A 16 x 16 glyph per corner button: a frame with the corner marked.
void PaintCornerGlyphs(TBitmap& strip) {
  strip.SetPixelFormat(TPixelFormat::pf24bit);
  strip.SetSize(64, 16);
  TCanvas& c = strip.Canvas();
  c.Brush().SetColor(clFuchsia);
  c.FillRect(RECT{0, 0, 64, 16});
  for (int i = 0; i < 4; ++i) {
    const int x = i * 16;
    c.Brush().SetColor(clGray);
    c.FrameRect(RECT{x + 2, 2, x + 14, 14});
    const int cx = (i == 1 || i == 3) ? x + 9 : x + 2, cy = i >= 2 ? 9 : 2;
    c.Brush().SetColor(clNavy);
    c.FillRect(RECT{cx, cy, cx + 5, cy + 5});
  }
}

}  // namespace

void TMainfm::BuildBitmapPage(TPage* page) {
  auto make_box = [&](const char* box_name, const char* bar_name, const char* image_name,
                      const char* caption, TPanel*& bar, TImage*& image) {
    auto* box = new TScrollBox(this);
    box->SetName(box_name);
    box->SetParent(page);
    bar = new TPanel(this);
    bar->SetName(bar_name);
    bar->SetCaption(caption);
    bar->SetAlign(TAlign::alTop);
    bar->SetHeight(kBoxCaptionHeight);
    bar->SetBevelOuter(TBevelCut::bvNone);
    bar->SetColor(clBtnShadow);
    bar->Font()->SetColor(clWhite);
    bar->SetParent(box);
    image = new TImage(this);
    image->SetName(image_name);
    image->SetAutoSize(true);
    image->SetParent(box);
    image->OnMouseMove = [this, img = image](TObject*, TShiftState, int x, int y) {
      OnImageMouseMove(img, x, y);
    };
    return box;
  };
  Bmpbox = make_box("Bmpbox", "BmpText", "BmpImg", "Bitmap", BmpText, BmpImg);
  RectBox = make_box("RectBox", "RectTxt", "RectImg", "Margins", RectTxt, RectImg);
  RectImg->SetTag(3);
  Bmpbox->SetBounds(3, 3, 300, 200);
  RectBox->SetBounds(306, 3, 300, 200);
  Zoom->OnPaint = [this](TObject*) { PaintZoom(); };
}

void TMainfm::BuildCornerBar() {
  auto* images = new TImageList(this);
  images->SetSize(16, 16);
  TBitmap strip;
  PaintCornerGlyphs(strip);
  images->AddMasked(strip, clFuchsia);
  Pbar = new TToolBar(this);
  Pbar->SetName("Pbar");
  Pbar->SetFlat(true);
  Pbar->SetShowCaptions(true);
  Pbar->SetList(true);
  Pbar->SetImages(images);
  Pbar->SetAlign(TAlign::alTop);
  Pbar->SetHeight(26);
  Pbar->SetParent(BmpPanel);
  const struct {
    TToolButton** Button;
    const char* Name;
    const char* Caption;
  } corners[] = {{&ToolButton4, "ToolButton4", "Top left"},
                 {&ToolButton6, "ToolButton6", "Top right"},
                 {&ToolButton7, "ToolButton7", "Bottom left"},
                 {&ToolButton8, "ToolButton8", "Bottom right"}};
  int tag = kTopLeft;
  for (const auto& c : corners) {
    auto* b = new TToolButton(this);
    b->SetName(c.Name);
    b->SetCaption(c.Caption);
    b->SetHint(std::string("Measure X and Y from the ") + c.Caption + " corner");
    b->SetShowHint(true);
    b->SetStyle(TToolButtonStyle::tbsCheck);
    b->SetGrouped(true);
    b->SetAllowAllUp(true);
    b->SetImageIndex(tag - 1);
    b->SetTag(tag++);
    b->SetParent(Pbar);
    *c.Button = b;
  }
  ToolButton4->SetDown(true);
  Image1->OnMouseMove = [this](TObject*, TShiftState, int x, int y) {
    OnImageMouseMove(Image1, x, y);
  };
}

void TMainfm::ClearBitmapImages(bool new_element) {
  if (new_element) bitmap_error_name_.clear();
  // Emptied images take no room, so they leave no scroll bars behind.
  for (TImage* image : {BmpImg, RectImg}) {
    image->Picture()->Clear();
    image->SetBounds(1, kBoxImageTop, 0, 0);
  }
  shown_bitmap_ = TPixmap();
}

void TMainfm::ShowBitmap(const std::string& name) {
  for (int i = 0; i < 4; ++i)
    SB->Panels(i)->SetText("");
  ClearBitmapImages();
  current_bitmap_name_ = name;
  if (name.empty()) return;
  book1->SetPageIndex(0);
  const std::vector<uint8_t>* bytes = doc_.IsOpen() ? doc_.FileList().Find(name) : nullptr;
  if (!bytes) return;
  try {
    shown_bitmap_ = DecodeEditorBitmap(*bytes);
  } catch (const EBmpError& e) {
    // Selecting the element and clicking it both show the row: one box.
    if (bitmap_error_name_ != name)
      ShowMessage("The bitmap \"" + name + "\" cannot be shown: " + e.what());
    bitmap_error_name_ = name;
    return;
  }
  bitmap_frames_ = FramesOfShownBitmap();
  ShowPixmap(BmpImg, shown_bitmap_);
  const TPanelLayout layout = LayoutBitmapPage(book1->ClientWidth(), book1->ClientHeight(),
                                               shown_bitmap_.Width, shown_bitmap_.Height);
  Bmpbox->SetBounds(layout.Bitmap.Left, layout.Bitmap.Top, layout.Bitmap.Width,
                    layout.Bitmap.Height);
  RectBox->SetBounds(layout.Margins.Left, layout.Margins.Top, layout.Margins.Width,
                     layout.Margins.Height);
  PlaceImage(Bmpbox, BmpImg);
  SB->Panels(0)->SetText(Formatted("W:", shown_bitmap_.Width));
  SB->Panels(1)->SetText(Formatted("H:", shown_bitmap_.Height));
  const TGridRow* row = element_.Row(VL->Row());
  if (row && row->Type == vtBitmap && element_.HasMargins()) ShowMarginPreview(false);
}

void TMainfm::PlaceImage(TScrollBox* box, TImage* image) {
  box->ScrollTo(0, 0);
  const TPos at = CentreInBox(box->ClientWidth(), box->ClientHeight(), image->Picture()->Width(),
                              image->Picture()->Height());
  image->SetBounds(at.X, at.Y, image->Picture()->Width(), image->Picture()->Height());
  box->UpdateScrollBars();
  box->Invalidate();
}

int TMainfm::FramesOfShownBitmap() const {
  TTreeNode* node = Tree1->Selected();
  return GetFrameCount(element_.DisplayName(), node && node->Parent() == TitleButtonNode,
                       doc_.Ini(), schema_, shown_bitmap_.Width, shown_bitmap_.Height);
}

void TMainfm::RedrawMarginPreview() {
  if (shown_bitmap_.Width <= 0) return;
  bitmap_frames_ = FramesOfShownBitmap();
  RectImg->Picture()->Clear();
  DrawMarginPreview();
}

void TMainfm::DrawMarginPreview() {
  ShowMarginPreview(true);
}

bool TMainfm::ShowMarginPreview(bool report_errors) {
  if (shown_bitmap_.Width <= 0 || CutOf(bitmap_frames_).Count < 1) return false;
  std::vector<TMarginCell> cells;
  for (int r = 1; r <= element_.RowCount(); ++r)
    cells.push_back({element_.Row(r)->Type, VL->Cells(1, r)});
  TMargins margins;
  std::string error;
  if (!ReadMargins(cells, margins, error)) {
    if (report_errors) ShowMessage(error);
    return false;
  }
  SB->Panels(4)->SetText(FormatMargins(margins));
  TPixmap preview;
  if (!MakeMarginPreview(shown_bitmap_, bitmap_frames_, margins, RgbOf(clBtnFace), preview))
    return false;
  ShowPixmap(RectImg, preview);
  PlaceImage(RectBox, RectImg);
  return true;
}

int TMainfm::CornerTag() const {
  for (TToolButton* b : {ToolButton4, ToolButton6, ToolButton7, ToolButton8})
    if (b->Down()) return static_cast<int>(b->Tag());
  return kTopLeft;
}

void TMainfm::OnImageMouseMove(TImage* image, int x, int y) {
  const TPos at =
      ReadOutPosition(x, y, image->Width(), image->Height(), CornerTag(), image->Tag() == 3);
  SB->Panels(2)->SetText(Formatted("X:", at.X));
  SB->Panels(3)->SetText(Formatted("Y:", at.Y));
  Page1->SetActivePage(ZoomPage);
  // The screen around the mouse, photographed now and drawn magnified.
  const POINT screen = image->ClientToScreen(POINT{x, y});
  const TZoomView view = ZoomViewAt(screen.x, screen.y, Zoom->Width(), Zoom->Height());
  if (view.Source.Width < 1 || view.Source.Height < 1) return;
  if (!zoom_capture_) zoom_capture_ = std::make_unique<TBitmap>();
  zoom_capture_->SetSize(view.Source.Width, view.Source.Height);
  HDC screen_dc = GetDC(nullptr);
  BitBlt(zoom_capture_->Canvas().Handle(), 0, 0, view.Source.Width, view.Source.Height, screen_dc,
         view.Source.Left, view.Source.Top, SRCCOPY);
  ReleaseDC(nullptr, screen_dc);
  Zoom->Invalidate();
}

void TMainfm::PaintZoom() {
  if (!zoom_capture_ || zoom_capture_->Empty()) return;
  TCanvas& c = Zoom->Canvas();
  const TZoomView view = ZoomViewAt(0, 0, Zoom->Width(), Zoom->Height());
  SetStretchBltMode(c.Handle(), COLORONCOLOR);
  StretchBlt(c.Handle(), 0, 0, Zoom->Width(), Zoom->Height(), zoom_capture_->Canvas().Handle(), 0,
             0, zoom_capture_->Width(), zoom_capture_->Height(), SRCCOPY);
  c.Pen().SetMode(TPenMode::pmNot);
  c.MoveTo(view.VertFrom.X, view.VertFrom.Y);
  c.LineTo(view.VertTo.X, view.VertTo.Y);
  c.MoveTo(view.HorzFrom.X, view.HorzFrom.Y);
  c.LineTo(view.HorzTo.X, view.HorzTo.Y);
  c.Pen().SetMode(TPenMode::pmCopy);
}
