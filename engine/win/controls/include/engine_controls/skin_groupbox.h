// Group boxes and radio groups repainted whole from the skin: the face
// colour, a rounded frame line in the skin's shadow colour and the caption
// on the face colour, covering the line behind it. A framework group box's
// windowless children are painted over it; a dialog's group box keeps its
// inside untouched (its siblings lie there) and gets the line and caption.
#pragma once

#include "engine_controls/skin_control.h"

class TSkinGroupBox : public TSkinControl {
  MV_CLASS(TSkinGroupBox, TSkinControl)
 public:
  explicit TSkinGroupBox(TComponent* owner);

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                    TPaintBuffer* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void DrawGroupBox(HDC dc, const RECT& rect);

 private:
  // The caption font selected into dc; returns the previous font.
  HGDIOBJ SelectCaptionFont(HDC dc);
  void DrawFrameLine(HDC dc, const RECT& frame);
};
