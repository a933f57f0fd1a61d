// Track bars wearing the skin: the control keeps painting itself and asks,
// through its custom-draw notifications, who draws each part. The skinner
// draws the channel from the skin's Track or TRACKVERT picture (the engine's
// own when the skin has none) and the thumb from cell 2 of
// Trackbar.ThumbHorz / Trackbar.ThumbVert (an outlined box without one);
// the tick marks stay the control's. Only notifications the track bar
// itself sent are answered.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "engine_controls/skin_control.h"

class TSkinTrackBar : public TSkinControl {
  MV_CLASS(TSkinTrackBar, TSkinControl)
 public:
  explicit TSkinTrackBar(TComponent* owner);

  bool BeforeMessage(TMessage& m) override;
  // Repaints at once; the keyboard focus stays where it is.
  void SkinChanged() override;

  // The answer to one custom-draw notification of the track bar.
  LRESULT CustomDraw(const NMCUSTOMDRAW& draw);

 private:
  // The custom-draw record a notification message carries when it is one
  // this track bar sent; null for anything else (another window's
  // notification, the engine's own use of the message number).
  const NMCUSTOMDRAW* OwnCustomDraw(const TMessage& m) const;
  bool Vertical() const;
  void DrawChannel(HDC dc);
  void DrawThumb(HDC dc);
};
