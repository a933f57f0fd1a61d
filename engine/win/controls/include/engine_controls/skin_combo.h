// Combo boxes wearing the skin: the frame and the drop button are drawn over
// what the control painted (from the composite the skin load prepared out
// of SunkEdge, ComboButton and ExtraImages, from a single button picture, or
// classic: the sunken edge, the button cell and its arrow), while the
// control keeps painting its text and list. The drop-down list's scroll bar
// is painted by a TComboxScrollBar and a simple combo box's list gets the
// overlays of a TSkinScrollbarH; both live and die with the combo skinner.
// The edit part gets a handler in front of its procedure so that its
// paints and presses repaint the combo box's frame.
#pragma once

#include <windows.h>

#include "engine/combo_rules.h"
#include "engine_controls/skin_control.h"

class TComboxScrollBar;
class TSkinScrollbarH;
struct TDataSkinObject;

class TSkinComBox : public TSkinControl {
  MV_CLASS(TSkinComBox, TSkinControl)
 public:
  explicit TSkinComBox(TComponent* owner);
  ~TSkinComBox() override;

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                    TPaintBuffer* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // Whether the edit part's procedure currently goes through this skinner.
  bool EditHooked() const;

  uint32_t Style = 0, ExStyle = 0;
  HWND ListHandle = nullptr;  // the list of a simple combo box
  HWND EditHandle = nullptr;  // the first child window, normally the edit
  TSkinScrollbarH* ListScroll = nullptr;
  TComboxScrollBar* DropScroll = nullptr;
  COMBOBOXINFO Info{};
  RECT ButtonRect{};  // the drop button, for hot tracking
  bool FrameOnly = false;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool ReadInfo();
  bool Simple() const { return (Style & 3) == CBS_SIMPLE; }
  void HookEdit();
  void AttachDropList();
  void AttachSimpleList();
  void FreeListSkinners();
  LRESULT EditProc(UINT msg, WPARAM wparam, LPARAM lparam);
  void OnMouseMove(const TMessage& m);
  void OnMouseLeave();
  void SetPressed(bool pressed);
  TComboState CurrentState() const;
  void DrawSingleButton(HDC dc, const TRect& r, int frame);
  void DrawFrameOnly(HDC dc, const TRect& r, int frame);
  void DrawComposite(HDC dc, const TRect& r, int frame);
  void DrawClassic(HDC dc, const TRect& r, int frame);

  TWindowSubclass edit_sub_;
  bool tracking_leave_ = false;
};

// A flat frame of rings into dc, with the shadow colour and the control's
// brush given.
void DrawFrameRings(HDC dc, const std::vector<TFrameRing>& rings, COLORREF shadow, HBRUSH brush);
