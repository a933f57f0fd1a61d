// A framework form with a tool bar of three buttons (plain, checked,
// disabled), built where the framework's tool-bar header can be included
// (see engine_win/toolbar_painters.h for why the skin tests cannot).
#pragma once

#include <windows.h>

#include <functional>

class TCustomForm;
class TToolBar;

struct TToolbarForm {
  TToolbarForm();
  ~TToolbarForm();
  TToolbarForm(const TToolbarForm&) = delete;
  TToolbarForm& operator=(const TToolbarForm&) = delete;

  TCustomForm* Form = nullptr;
  TToolBar* Bar = nullptr;
  HWND FormWindow = nullptr, BarWindow = nullptr;
  RECT Plain{}, Down{}, Off{};  // the buttons' rectangles in the bar

  bool HasBackgroundPainter() const;
  bool HasButtonPainter() const;
  // Gives the bar a background handler of its own.
  void SetOwnBackground(std::function<void()> handler);
  void ClearBackground();
  void FreeBar();
};
