#include "screen_pick.h"

#include <cstring>

#include "editor/colour_picker.h"
#include "editor/colour_text.h"
#include "framework/screen_shot.h"

namespace {

constexpr const char* kColorFmName = "ColorFm";

}  // namespace

TColorFm::TColorFm(TComponent* owner) : TForm(owner) {
  SetName(kColorFmName);
  SetCaption("Pick a colour");
  SetBorderStyle(TFormBorderStyle::bsNone);
  SetKeyPreview(true);
  BuildMagnifier();
  OnPaint = [this](TObject*) { FormPaint(); };
  OnMouseMove = [this](TObject*, TShiftState, int, int) { FollowCursor(); };
  OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) { FormMouseDown(x, y); };
  OnKeyDown = [this](TObject*, WORD& key, TShiftState) { FormKeyDown(key); };
}

// The magnifier: the lens in a frame, the colour's swatch and its labels.
void TColorFm::BuildMagnifier() {
  Panel1 = new TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetCaption("");
  Panel1->SetBounds(0, 0, 161, 92);
  Panel1->SetParent(this);
  Bevel1 = new TBevel(this);
  Bevel1->SetShape(TBevelShape::bsFrame);
  Bevel1->SetBounds(3, 3, 86, 86);
  Bevel1->SetParent(Panel1);
  PaintBox1 = new TPaintBox(this);
  PaintBox1->SetBounds(5, 6, kLensSize, kLensSize);
  PaintBox1->OnPaint = [this](TObject*) { PaintBox1Paint(); };
  PaintBox1->SetParent(Panel1);
  PaintBox2 = new TPaintBox(this);
  PaintBox2->SetBounds(106, 56, 33, 25);
  PaintBox2->OnPaint = [this](TObject*) { PaintBox2Paint(); };
  PaintBox2->SetParent(Panel1);
  Label1 = new TLabel(this);
  Label1->SetBounds(93, 12, 60, 13);
  Label1->SetParent(Panel1);
  Label2 = new TLabel(this);
  Label2->SetBounds(93, 30, 60, 13);
  Label2->SetParent(Panel1);
  lens_.SetSize(kLensSize, kLensSize);
}

void TColorFm::StartPick(std::function<void(uint32_t)> picked) {
  picked_ = std::move(picked);
  CaptureScreen(ScreenRect(), screen_bitmap_);
  screen_pixels_ = screen_bitmap_.ToImage();
  const RECT screen = ScreenRect();
  SetBounds(screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top);
  picking_ = true;
  FollowCursor();
  Show();
  // Over everything, as the photograph it shows was.
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
  Invalidate();
}

void TColorFm::FormPaint() {
  Canvas().Draw(0, 0, screen_bitmap_);
}

void TColorFm::FollowCursor() {
  GetCursorPos(&CursorPos);
  PickedColor = CapturedPixelAt(screen_pixels_, CursorPos.x, CursorPos.y);
  const TMagnifierPlace place = PlaceMagnifier(CursorPos.x, CursorPos.y, ClientWidth(),
                                               ClientHeight(), Panel1->Width(), Panel1->Height());
  Panel1->SetBounds(place.Left, place.Top, Panel1->Width(), Panel1->Height());
  UpdateLabels();
  PaintBox1->Invalidate();
  PaintBox2->Invalidate();
}

// The lens: the captured pixels around the cursor, 4 times enlarged, with
// an inverted crosshair through the cursor's pixel.
void TColorFm::PaintBox1Paint() {
  TPixmap lens;
  DrawLens(screen_pixels_, CursorPos.x, CursorPos.y, lens);
  for (int y = 0; y < kLensSize; ++y)
    std::memcpy(lens_.ScanLine(y), lens.Row(y), static_cast<size_t>(kLensSize) * 3);
  PaintBox1->Canvas().Draw(0, 0, lens_);
}

void TColorFm::PaintBox2Paint() {
  TCanvas& c = PaintBox2->Canvas();
  c.Brush().SetColor(PickedColor);
  c.Pen().SetColor(clBlack);
  const int w = PaintBox2->Width(), h = PaintBox2->Height();
  const POINT corners[4] = {{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}};
  c.Polygon(corners);
}

void TColorFm::UpdateLabels() {
  Label1->SetCaption(HexColourLabel(PickedColor));
  Label2->SetCaption(FormatRGB(PickedColor));
}

// Any button picks the captured pixel under the click.
void TColorFm::FormMouseDown(int x, int y) {
  if (!picking_) return;
  const POINT screen = ClientToScreen(POINT{x, y});
  CursorPos = screen;
  PickedColor = CapturedPixelAt(screen_pixels_, screen.x, screen.y);
  UpdateLabels();
  Finish(true);
}

void TColorFm::FormKeyDown(WORD key) {
  if (key == VK_ESCAPE && picking_) Finish(false);
}

void TColorFm::Finish(bool take) {
  picking_ = false;
  Hide();
  auto picked = std::move(picked_);
  picked_ = nullptr;
  if (take && picked) picked(PickedColor);
}

TColorFm* PickScreenColour(TComponent* owner, std::function<void(uint32_t colour)> picked) {
  auto* form = owner ? dynamic_cast<TColorFm*>(owner->FindComponent(kColorFmName)) : nullptr;
  if (!form) {
    form = new TColorFm(owner);
    form->AfterConstruction();
  }
  form->StartPick(std::move(picked));
  return form;
}
