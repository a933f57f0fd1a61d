// Tab controls and page controls wearing the skin: the tab strip from the
// Tabs strip (frame 1 a tab, frame 2 the selected one), composed lying down
// as if the tabs were on top and turned to the control's side, the pane
// around the display area from the Tabs border picture (or Tab.Pane), the
// overflow arrows as a skinned spin, and close boxes on the tabs of a page
// control tagged for them. Button-style tabs wear the [Buttons] strip. The
// pages of a page control paint their windowless children on the skin's
// face. The controls keep their behaviour: clicks, keys and the selection
// stay their own; the skinners paint whenever the control would.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "engine/tab_rules.h"
#include "engine_controls/skin_control.h"
#include "engine_win/gdi_paint.h"

class TDataSkinBorder;

// An item's optional image and its text inside `rect` (tabs and headers):
// the text in the control's shadow colour when it is disabled.
void DrawItemContent(const TSkinControl& skinner, HDC dc, const TRect& rect, TItemAlign align,
                     const std::wstring& text, int image, HIMAGELIST images, UINT flags);

class TSkinTab : public TSkinControl {
  MV_CLASS(TSkinTab, TSkinControl)
 public:
  // A page control with this Tag and its tabs on top shows close boxes.
  static constexpr int kCloseTag = 7777;

  explicit TSkinTab(TComponent* owner);

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                    TPaintBuffer* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  // The close boxes of the last paint, one per tab (empty ones for tabs
  // not drawn).
  std::vector<TRect> CloseRects;
  TTabSide Position = TTabSide::Top;
  bool CloseButtons = false;

 protected:
  // Whether this skinner paints the control at all with the current skin.
  virtual bool Paints() const;
  // The tabs are buttons (TCS_BUTTONS).
  bool ButtonStyle() const;
  void DrawButtonTabs(HDC dc, const RECT& rect);
  // The windowless children of a tab control drawn over its face.
  void PaintWindowlessChildren(HDC dc);

 private:
  void AttachCommon();
  void LoadImages();
  // Skins the overflow arrows when they exist; their rectangle in the
  // control's coordinates when they show, else empty.
  TRect FindUpDown();
  const TDataSkinBorder* TabsElement() const;
  void DrawTabs(HDC dc, const RECT& rect);
  void DrawStrip(HDC dc, const TRect& strip, const TRect& arrows);
  void DrawPane(HDC dc, const TRect& pane);
  void OnCloseClick(TMessage& m, bool& handled);

  TNativeBitmap tab_image_;
  TNativeBitmap pane_image_;
};

// Page controls (and tab controls) whose tabs are buttons.
class TSkinTabBtn : public TSkinTab {
  MV_CLASS(TSkinTabBtn, TSkinTab)
 public:
  using TSkinTab::TSkinTab;
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  bool Paints() const override;
};

// A page of a page control: the skin's face under its windowless children.
class TSkinTabSheet : public TSkinControl {
  MV_CLASS(TSkinTabSheet, TSkinControl)
 public:
  explicit TSkinTabSheet(TComponent* owner);
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};
