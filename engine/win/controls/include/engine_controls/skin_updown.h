// Spin buttons wearing the skin's UpDown.Vert or UpDown.Horz strip (eight
// frames: normal, pressed, disabled and hot of the up or left half, then of
// the down or right half, with the glyph strip's cell of the same number
// centred on each), or the classic look drawn in the skin's colours when the
// skin has no strip. The control keeps its behaviour: presses, the repeat
// and the position stay its own; the skinner follows the press and the mouse
// and paints. Also used for the spin inside an edit (Embedded), which keeps
// clear of the edit's border on a white ground.
#pragma once

#include "engine/range_rules.h"
#include "engine_controls/skin_control.h"

class TDataSkinBorder;

class TSkinUpDown : public TSkinControl {
  MV_CLASS(TSkinUpDown, TSkinControl)
 public:
  explicit TSkinUpDown(TComponent* owner);

  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The spin sits inside an edit's border.
  bool Embedded = false;
  // Laid out left and right whatever its style says.
  bool ForceHorizontal = false;

 private:
  bool Horizontal() const;
  // The strip for the layout, when the skin has one with a picture.
  const TDataSkinBorder* Strip(bool horizontal) const;
  // The cursor in the window's coordinates.
  POINT CursorInWindow() const;
  // 0 outside the spin, 1 over the first half, 2 over the second.
  int HalfUnderCursor() const;
  void OnMouseMove();
  void OnMouseLeave();
  void OnCaptureLost();
  void DrawSpinButton(HDC dc, const TSpinHalf& half, int state, const TDataSkinBorder& strip);
  void DrawClassicSpin(HDC dc, const TSpinHalf& half, int state);

  int hot_half_ = 0;
};
