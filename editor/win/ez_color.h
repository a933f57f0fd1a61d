// TEZColor: the colour page's picker control. The picture, the hit tests and
// the drags are the portable TColourPicker's (editor/colour_picker.h); this
// windowless control lays it out for its width, blits the picture, writes the
// read-outs over it in its font and routes the mouse.
#pragma once

#include <cstdint>

#include "editor/colour_picker.h"
#include "framework/extctrls.h"

class TEZColor : public TPaintBox {
  MV_CLASS(TEZColor, TPaintBox)
 public:
  explicit TEZColor(TComponent* owner);
  static void PublishProperties(TClassInfo& info);

  // Fills what the picture leaves free and chooses the frame and text
  // colours; writing it lays the picture out again.
  TColor BackGround() const { return picker_.BackGround(); }
  void SetBackGround(TColor colour);
  // The colour shown and edited, 0x00BBGGRR.
  uint32_t CurrentColor() const { return picker_.CurrentColor(); }
  void SetCurrentColor(uint32_t colour);
  const TColourPicker& Picker() const { return picker_; }

  // Only the picture's square is ever painted again.
  void Invalidate() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void AdjustLayout(int width);
  void DrawReadouts();
  TColourPicker picker_;
  TBitmap image_;  // the finished picture with its read-outs
};
