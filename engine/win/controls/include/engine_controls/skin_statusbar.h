// Status bars wearing the skin: each panel the StatusBarEdges frame of its
// bevel (1 lowered, 2 raised, 3 none) with its text, a simple bar one
// lowered frame, the size grip cell 5 of ExtraImages in the bottom-right
// corner; owner-drawn panels are still drawn by the application. Without
// StatusBarEdges the panels get a one-pixel bevel in the skin's face.
#pragma once

#include <string>
#include <vector>

#include "engine/tab_rules.h"
#include "engine_controls/skin_control.h"

class TCustomStatusBar;

class TSkinStatusBar : public TSkinControl {
  MV_CLASS(TSkinStatusBar, TSkinControl)
 public:
  explicit TSkinStatusBar(TComponent* owner);

  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // What a panel shows, from the framework's panel or the bar's own parts.
  struct TPanel {
    TRect Rect;
    TPanelBevel Bevel = TPanelBevel::Lowered;
    TItemAlign Align = TItemAlign::Left;
    std::wstring Text;
    bool OwnerDraw = false;
  };

 private:
  std::vector<TPanel> ReadPanels(const TRect& bar) const;
  bool Simple() const;
  void DrawPanelFrame(HDC dc, const TRect& r, int frame);
  void DrawPanelText(HDC dc, const TRect& r, TItemAlign align, const std::wstring& text);
  // The grip in the corner; where it went (empty when not drawn).
  TRect DrawGrip(HDC dc, const TRect& bar);
  void DrawOwnerPanels(HDC dc, const std::vector<TPanel>& panels);
};
