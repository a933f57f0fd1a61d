// Scroll bars wearing the skin's Scrollbar strip (arrows and grippers), its
// HorzScroll/VertScroll shafts and HorzScrollThumb/VertScrollThumb thumbs.
//
// The system draws a window's scroll bars in its non-client area, where
// they cannot be repainted reliably from outside. Each visible bar is
// therefore covered by an overlay window of its own (TWScrollbar), placed
// exactly over the native bar in the target's parent and painted from the
// skin. Presses on the overlay go to the native bar at the same place, so
// the control's own scrolling runs unchanged; the overlay mirrors the bar.
// The drop-down list of a combo box is painted in its own non-client area
// instead (TComboxScrollBar) and drags its thumb itself.
#pragma once

#include <windows.h>

#include <memory>

#include "engine/scroll_rules.h"
#include "engine_controls/skin_control.h"

class TSkinContent;

// What one picture of a bar shows, in a buffer `Width` by `Height`.
struct TScrollBarLook {
  int Width = 0, Height = 0;
  bool Vertical = false;
  int Arrow = 0;      // the arrows' length along the bar
  int Thickness = 0;  // how thick the skin's parts are drawn
  int HotPart = kScrollPartNone;
  bool Pressed = false;
  bool Enabled = true;
  TThumbExtent Thumb;
};
// Whether the skin has a Scrollbar strip the bars can be drawn from.
bool ScrollSkinUsable(const TSkinContent& skin);
// The face, shaft, arrows, thumb and gripper of a bar into dc.
void DrawScrollBarLook(HDC dc, const TScrollBarLook& look, TSkinControlList* form,
                       const TSkinContent& skin, COLORREF face);

// The overlay over one native scroll bar.
class TWScrollbar {
 public:
  // Kinds.
  static constexpr int kHorizontal = 0, kVertical = 1, kControl = 2;

  explicit TWScrollbar(TSkinControl* owner);
  ~TWScrollbar();
  TWScrollbar(const TWScrollbar&) = delete;
  TWScrollbar& operator=(const TWScrollbar&) = delete;

  // Covers the bar of `kind` of a framework control or a bare window.
  void AttachToControl(TControl* control, int kind);
  void AttachToWindow(HWND target, int kind);
  // Follows the bar: shown over it, or hidden when the bar is.
  void Reposition(HWND target);
  void HideBar();
  int HitPart(POINT p) const;
  void Invalidate() const;
  void SetEnabled(bool enabled) const;
  HWND Window() const { return window_; }
  // The bar's facts as the system gives them (or as a scroll-bar control's
  // range places them); false when there is no bar to cover.
  bool BarInfo(SCROLLBARINFO& info) const;

  int Length = 0;
  int ThumbStart = 0, ThumbEnd = 0;
  int BarLeft = 0, BarTop = 0;  // screen position at the last Reposition
  POINT DragCursor{};
  int DragThumbStart = 0;
  bool Vertical = false;
  int HotPart = kScrollPartNone;
  int ArrowSize = 0;
  HWND Target = nullptr;
  TControl* TargetControl = nullptr;
  TSkinControl* OwnerSkinner = nullptr;
  int Kind = kHorizontal;
  RECT ClientRect{};  // the bar in the target's client coordinates
  bool Showing = false;
  bool Pressed = false;

 private:
  static LRESULT CALLBACK OverlayProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
  void Create(HWND parent);
  bool EmulateBarInfo(SCROLLBARINFO& info) const;
  void OnMouseMove(LPARAM lparam);
  void OnMouseLeave();
  void OnButtonDown(LPARAM lparam);
  void OnButtonUp(LPARAM lparam);
  void HotPartFromCursor();
  void OnPaint();
  void Paint(HDC dc);
  // The press's point for the target: screen coordinates for a window's
  // bar, the control's client coordinates for a scroll-bar control.
  LPARAM TargetPoint(LPARAM overlay_point) const;
  HWND window_ = nullptr;
  COLORREF colour_ = 0;
  bool tracking_leave_ = false;
};

// The scroll bars of a framework control (memos, grids, list boxes, tree
// views, rich edits, scroll boxes).
class TSkinScrollbar : public TSkinControl {
  MV_CLASS(TSkinScrollbar, TSkinControl)
 public:
  explicit TSkinScrollbar(TComponent* owner);
  ~TSkinScrollbar() override;

  // The control pass attaches through AttachScrolling.
  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  virtual void AttachScrolling(TControl* control, TSkinData* data, TSkinControlList* form,
                               TPaintBuffer* canvas);
  void Detach() override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SkinChanged() override;
  void ActiveChanged() override;

  std::unique_ptr<TWScrollbar> HorzBar, VertBar;
  bool Bordered = false;
  // A grid's FixedColor before the skin's face replaced it.
  bool FixedColorSaved = false;
  uint32_t SavedFixedColor = 0;

 protected:
  void RepositionBars();
  void HideBars();
  void InvalidateShowingBars();
  void DrawBorder(HDC dc);
  // The square between the two bars, when both show, in the window's DC.
  void FillCorner(HDC window_dc);
};

// A list view: its scroll bars, and its header for the header family.
class TSkinListView : public TSkinScrollbar {
  MV_CLASS(TSkinListView, TSkinScrollbar)
 public:
  explicit TSkinListView(TComponent* owner);
  void AttachScrolling(TControl* control, TSkinData* data, TSkinControlList* form,
                       TPaintBuffer* canvas) override;

  // The list view's header window, when it has one.
  HWND HeaderWindow = nullptr;

 protected:
  // Where the header family attaches its skinner to the header; nothing is
  // attached until that family exists.
  virtual void AttachHeaderSkinner(HWND header);
};

// The scroll bars of a bare window (the list of a simple combo box).
class TSkinScrollbarH : public TSkinControl {
  MV_CLASS(TSkinScrollbarH, TSkinControl)
 public:
  explicit TSkinScrollbarH(TComponent* owner);
  ~TSkinScrollbarH() override;
  void AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                    TPaintBuffer* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void ActiveChanged() override;

  std::unique_ptr<TWScrollbar> HorzBar, VertBar;

 private:
  void RepositionBars();
};

// A scroll-bar control: a framework TScrollBar, or a bare "scrollbar"
// window of a dialog.
class TSkinScControl : public TSkinControl {
  MV_CLASS(TSkinScControl, TSkinControl)
 public:
  explicit TSkinScControl(TComponent* owner);
  ~TSkinScControl() override;
  // The control pass attaches through AttachScrollBar.
  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void AttachScrollBar(TControl* control, TSkinData* data, TSkinControlList* form,
                       TPaintBuffer* canvas);
  void AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                    TPaintBuffer* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void ActiveChanged() override;

  std::unique_ptr<TWScrollbar> Bar;
};

// The vertical scroll bar of a combo box's drop-down list, painted into the
// list's non-client area; the thumb is dragged by the skinner itself.
class TComboxScrollBar : public TSkinControl {
  MV_CLASS(TComboxScrollBar, TSkinControl)
 public:
  explicit TComboxScrollBar(TComponent* owner);
  void Detach() override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  int ArrowSize = 0;
  int ThumbStart = 0, ThumbEnd = 0;

 private:
  // A press on the thumb: drags it until the button is released, the
  // capture is lost or the program quits. True when it was on the thumb.
  bool ThumbDrag(const TMessage& m);
  // The drag's own message loop; waits for messages, never spins.
  void DragLoop(int offset0, int track, int thumb, const TScrollRange& range, POINT start);
  bool dragging_ = false;
  bool capture_lost_ = false;
};

// A scroll-bar skinner's window was re-created (SKM_RESKIN): the old
// skinner goes and a fresh one of the same family covers the new window.
void ReskinScrollControl(TSkinControlList& list, HWND old_window);
