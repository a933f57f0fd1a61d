// Header controls, and the header of a list view, wearing the skin's
// Headerbar strip: every section its frame (1 normal, 2 under the mouse,
// 3 pressed when the strip has it) with its image and text, the part right
// of the last section frame 1. The header keeps its behaviour: clicks,
// divider drags and their notifications stay its own.
#pragma once

#include <vector>

#include "engine/tab_rules.h"
#include "engine_controls/skin_control.h"

class TDataSkinObject;

class TSkinHeader : public TSkinControl {
  MV_CLASS(TSkinHeader, TSkinControl)
 public:
  explicit TSkinHeader(TComponent* owner);

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                    TPaintBuffer* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The sections of the last paint, 3 pixels in from each side.
  std::vector<TRect> ItemRects;
  int HotItem = -1;
  int PressedItem = -1;

 private:
  const TDataSkinObject* Bar() const;
  // The section under a client point, -1 when none (or on a divider).
  int SectionAt(TPoint p) const;
  void OnMouseMove(TPoint p);
  void OnMouseLeave();
  void OnButtonDown(TPoint p);
  void OnButtonUp();
  void DrawSection(HDC dc, int index, const TRect& r, const TDataSkinObject& bar);
};
