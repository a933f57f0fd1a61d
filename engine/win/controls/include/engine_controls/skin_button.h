// Push buttons wearing the skin's [Buttons] strip (normal, pressed,
// disabled, hot, focused): plain buttons, buttons with a glyph, windowless
// tool-bar buttons and drop-down buttons with an arrow. Windowed buttons
// never see their mouse presses, so the native pressed look is never drawn;
// the skinner makes the click itself on release. Keyboard presses stay the
// control's own.
#pragma once

#include <string>

#include "engine_controls/skin_control.h"

class TSkinButton : public TSkinControl {
  MV_CLASS(TSkinButton, TSkinControl)
 public:
  explicit TSkinButton(TComponent* owner);
  ~TSkinButton() override;

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                    TPaintBuffer* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // Paints the parent's background instead of the face.
  bool Transparent = false;

 protected:
  // The [Buttons] frame for the current state.
  virtual int ChooseFrame();
  // Whether the button is its form's default button.
  bool IsDefault() const;
  bool HasElement() const;
  // Background and frame into the buffer.
  void DrawFace(HDC buffer, const RECT& rect, int frame);
  // The text colour of a frame (the disabled rule included).
  COLORREF TextColour(int frame, bool normal_everywhere) const;
  // The control's font (the window's for a bare window).
  HFONT ControlFont() const;
  HFONT WindowFont() const;
  // The caption centred (or aligned) in rect, with the focus rectangle.
  void DrawCaption(HDC dc, const RECT& rect, UINT alignment);
  void DrawFocusAround(HDC dc, RECT text) const;
  // The click of a press released.
  void Click();

 private:
  void OnPress();
  void OnRelease();
  void OnMouseMove(const TMessage& m);
  void OnMouseLeave();
  void OnCaptureLost(const TMessage& m);
  void TrackLeave();
  bool tracking_leave_ = false;
};

class TSkinBitButton : public TSkinButton {
  MV_CLASS(TSkinBitButton, TSkinButton)
 public:
  explicit TSkinBitButton(TComponent* owner);
  void DrawSkin(HDC dc, const RECT& rect) override;

  // Empty for the standard glyph properties, else a picture property.
  std::string GlyphProperty;

 public:
  struct TGlyphSource;

 protected:
  // Glyph cell `cell` and caption on a face of `rect` in `frame`.
  void DrawGlyphFace(HDC buffer, const RECT& rect, int frame, int cell, bool speed,
                     bool centred_align, bool normal_everywhere);
  // Cell `cell_state` (1 up, 2 disabled, 3 clicked, 4 down) of a strip of
  // `num_glyphs`, transparent by its bottom-left pixel.
  static void DrawGlyphCell(HDC dc, POINT pos, int num_glyphs, int cell_state, HBITMAP glyph);
};

class TSkinMenuButton : public TSkinButton {
  MV_CLASS(TSkinMenuButton, TSkinButton)
 public:
  explicit TSkinMenuButton(TComponent* owner);
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  int ChooseFrame() override;
};

class TSkinSpeedButton : public TSkinBitButton {
  MV_CLASS(TSkinSpeedButton, TSkinBitButton)
 public:
  explicit TSkinSpeedButton(TComponent* owner);
  // A speed button has no window: attaching hooks its handler.
  void AttachGraphic(TSkinControlList* form, TSkinData* data, TPaintBuffer* canvas);
  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void PaintWindow(HDC dc) override;
  // The skinned look onto dc in the button's coordinates.
  void DrawOn(HDC dc, const RECT& rect);

 private:
  void Repaint();
  bool painting_ = false;
};
