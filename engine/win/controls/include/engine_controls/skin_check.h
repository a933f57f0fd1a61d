// Check boxes and radio buttons wearing the skin's check and radio strips.
// A framework control with a strip in the skin is painted whole by the
// skinner (background, glyph cell, caption, focus rectangle); a bare window,
// or a skin without the strip, keeps its own painting and gets the glyph cell
// drawn over it. The control keeps its behaviour: clicks and keys stay its
// own, the skinner repaints after them.
#pragma once

#include "engine/geometry.h"
#include "engine_controls/skin_control.h"

struct TSkinBitmap;

class TSkinCheckGlyph : public TSkinControl {
  MV_CLASS(TSkinCheckGlyph, TSkinControl)
 public:
  TSkinCheckGlyph(TComponent* owner, bool radio);

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // Keeps the parent's background behind glyph and caption.
  bool Transparent = false;
  // Whether a focused control draws a focus rectangle (fixed by the system's
  // version at start; tests may switch it).
  static bool FocusCues;

 protected:
  // The cell (1-based) of a strip of `cells` cells for the current state.
  virtual int ChooseCell(int cells) = 0;

 private:
  const TSkinBitmap* Strip() const;
  int StripCellCount() const;
  // The strip is there and wide enough to hold its cells.
  bool StripUsable() const;
  void DrawCell(HDC dc, const TRect& glyph, int cell);
  void DrawCheckCaption(HDC dc, const TRect& area, unsigned flags);
  bool radio_;
};

class TSkinCheckBox : public TSkinCheckGlyph {
  MV_CLASS(TSkinCheckBox, TSkinCheckGlyph)
 public:
  explicit TSkinCheckBox(TComponent* owner);
  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void AfterMessage(TMessage& m) override;

  // 0, or the last check request's value plus 1 (for data-aware boxes).
  int LastCheck = 0;

 protected:
  int ChooseCell(int cells) override;
};

class TSkinRadioButton : public TSkinCheckGlyph {
  MV_CLASS(TSkinRadioButton, TSkinCheckGlyph)
 public:
  explicit TSkinRadioButton(TComponent* owner);

 protected:
  int ChooseCell(int cells) override;
};
