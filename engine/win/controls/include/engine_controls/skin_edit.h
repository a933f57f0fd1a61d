// Edits and date pickers wearing a flat skinned border: the control paints
// its text, the skinner draws the frame over its border afterwards (three
// one-pixel rings for an edit, two for a date picker). A spin inside an edit
// (a spin edit, a time picker) is skinned on the edit's first paint as an
// embedded TSkinUpDown; a date picker's drop button is covered by a small
// window of its own (TArrowButton) showing the skin's drop arrow, which
// opens the calendar with one click.
#pragma once

#include <windows.h>

#include "engine_controls/skin_control.h"

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
  MV_CLASS(TSkinEdit, TSkinControl)
 public:
  explicit TSkinEdit(TComponent* owner);
  ~TSkinEdit() override;

  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The spin inside the edit, once skinned.
  TSkinUpDown* UpDown = nullptr;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void AttachSpinChild();
  void PrintFrame(HDC dc);
};

class TSkinDateTime;

// The skinned drop button over a date picker's own, a child of the picker.
class TArrowButton {
 public:
  explicit TArrowButton(TSkinDateTime* owner);
  ~TArrowButton();
  TArrowButton(const TArrowButton&) = delete;
  TArrowButton& operator=(const TArrowButton&) = delete;

  // Becomes a child of the picker at its drop button's place.
  bool Attach(HWND picker);
  // Follows the picker's size and style.
  void Place();
  void Repaint() const;
  HWND Window() const { return window_; }

  int ButtonWidth = 0;
  HWND PickerHandle = nullptr;
  TSkinDateTime* Owner = nullptr;
  bool Hot = false;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
  void OnMouseMove();
  void OnMouseLeave();
  void OnButtonDown(LPARAM lparam);
  void OnPaint();
  bool PickerEnabled() const;
  HWND window_ = nullptr;
  bool tracking_ = false;
  // The picker had no WS_CLIPCHILDREN before the button needed it.
  bool added_clip_children_ = false;
};

class TSkinDateTime : public TSkinControl {
  MV_CLASS(TSkinDateTime, TSkinControl)
 public:
  explicit TSkinDateTime(TComponent* owner);
  ~TSkinDateTime() override;

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  TArrowButton* ArrowButton = nullptr;

 private:
  // Made when the skin has a drop arrow to show (else the picker keeps
  // its own button), freed when a new skin has none.
  void MakeArrowButton();
  void FreeArrowButton();
};
