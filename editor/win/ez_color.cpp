#include "ez_color.h"

#include <algorithm>
#include <cstring>

TEZColor::TEZColor(TComponent* owner) : TPaintBox(owner) {
  SetBounds(Left(), Top(), 240, 240);
  AdjustLayout(240);
}

void TEZColor::PublishProperties(TClassInfo& info) {
  TPublisher<TEZColor>(info).Integer("BackGround", &TEZColor::BackGround, &TEZColor::SetBackGround);
}

void TEZColor::SetBackGround(TColor colour) {
  picker_.SetBackGround(ColorToRGB(colour));
  AdjustLayout(Width());
  Invalidate();
}

void TEZColor::SetCurrentColor(uint32_t colour) {
  picker_.SetCurrentColor(colour);
  Invalidate();
}

void TEZColor::Invalidate() {
  if (!Parent() || !Parent()->HandleAllocated()) return;
  const int side = picker_.LaidOutWidth();
  RECT r{Left(), Top(), Left() + side, Top() + std::min(side, Height())};
  InvalidateRect(Parent()->WindowHandle(), &r, FALSE);
}

// Clamps the control's own width to what the picture allows; a control too
// wide gives up its alignment first, or the alignment would widen it again.
void TEZColor::AdjustLayout(int width) {
  const TPickerLayout layout = picker_.AdjustLayout(width);
  if (layout.DropAlignment && Align() != TAlign::alNone) SetAlign(TAlign::alNone);
  if (Width() != layout.Width) SetWidth(layout.Width);
  image_.SetSize(0, 0);
}

void TEZColor::Paint() {
  TPaintBox::Paint();
  if (Width() != picker_.LaidOutWidth()) AdjustLayout(Width());
  const TPixmap& picture = picker_.Render();
  if (image_.Width() != picture.Width || image_.Height() != picture.Height) {
    image_.SetPixelFormat(TPixelFormat::pf24bit);
    image_.SetSize(picture.Width, picture.Height);
  }
  const size_t row_bytes = static_cast<size_t>(picture.Width) * 3;
  for (int y = 0; y < picture.Height; ++y)
    std::memcpy(image_.ScanLine(y), picture.Row(y), row_bytes);
  DrawReadouts();
  Canvas().Draw(0, 0, image_);
}

// The RGB, HSV, HLS and hexadecimal values below the cube, in the control's
// font at the layout's size.
void TEZColor::DrawReadouts() {
  TCanvas& c = image_.Canvas();
  c.Font().SetName(Font()->Name());
  c.Font().SetSize(picker_.FontSize());
  c.Brush().SetStyle(TBrushStyle::bsClear);
  const TReadoutMetrics metrics{c.TextHeight("I"), c.TextWidth("G"), c.TextWidth("555555")};
  for (const TPickerReadout& r :
       PickerReadouts(picker_.Geometry(), picker_.BackGround(), picker_.CurrentColor(), metrics)) {
    c.Font().SetColor(r.Colour);
    c.TextOut(r.X, r.Y, r.Text);
  }
  c.Brush().SetStyle(TBrushStyle::bsSolid);
}

void TEZColor::MouseDown(TMouseButton, TShiftState, int x, int y) {
  if (picker_.MouseDown(x, y)) Invalidate();
}

void TEZColor::MouseMove(TShiftState, int x, int y) {
  SetCursor(picker_.CrossCursorAt(x, y) ? crCross : crDefault);
  if (picker_.MouseMove(x, y)) Invalidate();
}

void TEZColor::MouseUp(TMouseButton, TShiftState, int, int) {
  picker_.MouseUp();
}
