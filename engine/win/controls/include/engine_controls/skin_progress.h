// Progress bars wearing the skin's Progress element: the empty bar (frame 1)
// with the filled part (frame 2) over it, or for a chunked skin (style 1)
// the bar with the Progress.Chunk picture laid along the filled part. A
// vertical bar is composed lying down and turned, so it fills from the
// bottom up. The control keeps its range and position; the skinner paints
// whenever it would. Without the element the bar keeps its own look.
#pragma once

#include "engine_controls/skin_control.h"
#include "format/bmp.h"

class TDataSkinObject;

class TSkinProgress : public TSkinControl {
  MV_CLASS(TSkinProgress, TSkinControl)
 public:
  explicit TSkinProgress(TComponent* owner);

  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  // The Progress element when it has a picture.
  const TDataSkinObject* Bar() const;
  // Position and range as the control reports them.
  struct TRange {
    int Pos = 0, Low = 0, High = 0;
  };
  TRange ReadRange() const;
  // The two pictures composed in `buffer` (the bar lying down).
  void ComposeSmooth(TPixmap& buffer, const TDataSkinObject& bar, const TRange& range) const;
  void ComposeChunked(TPixmap& buffer, const TDataSkinObject& bar, const TRange& range) const;
};
