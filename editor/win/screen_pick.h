// Picking a colour from anywhere on the screen: TColorFm shows a photograph
// of the screen full-screen with a magnifier that follows the mouse; a click
// (any button) takes the captured pixel under the mouse, Escape gives up.
#pragma once

#include <cstdint>
#include <functional>

#include "format/bmp.h"
#include "framework/extctrls.h"
#include "framework/forms.h"

class TColorFm : public TForm {
  MV_CLASS(TColorFm, TForm)
 public:
  explicit TColorFm(TComponent* owner);

  // Photographs the screen into ScreenBitmap and shows it; `picked` gets the
  // colour (0x00BBGGRR) once a click has closed the form.
  void StartPick(std::function<void(uint32_t colour)> picked);
  // Moves the magnifier to the mouse and shows what lies under it.
  void FollowCursor();

  TBitmap& ScreenBitmap() { return screen_bitmap_; }
  POINT CursorPos{};         // the mouse in screen coordinates at the last move
  uint32_t PickedColor = 0;  // the captured pixel under it

  TPanel* Panel1 = nullptr;  // the magnifier
  TBevel* Bevel1 = nullptr;
  TPaintBox* PaintBox1 = nullptr;  // the lens
  TPaintBox* PaintBox2 = nullptr;  // the picked colour's swatch
  TLabel* Label1 = nullptr;        // "$00RRGGBB"
  TLabel* Label2 = nullptr;        // "R G B"

 private:
  void BuildMagnifier();
  void FormPaint();
  void FormMouseDown(int x, int y);
  void FormKeyDown(WORD key);
  void PaintBox1Paint();
  void PaintBox2Paint();
  void UpdateLabels();
  void Finish(bool take);

  TBitmap screen_bitmap_;
  TPixmap screen_pixels_;  // the same photograph, for reading pixels
  TBitmap lens_;
  std::function<void(uint32_t)> picked_;
  bool picking_ = false;
};

// Shows `owner`'s picking form (made once, kept hidden between picks,
// non-modal); `picked` gets the colour after the form has closed.
TColorFm* PickScreenColour(TComponent* owner, std::function<void(uint32_t colour)> picked);
