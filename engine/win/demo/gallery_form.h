// The control gallery's form: every standard control of the framework in a
// realistic layout (main menu, tool bar, page control, status bar, the
// key/value grid) and, on its last page, a native resource dialog.
#pragma once

#include <windows.h>

#include "framework/forms.h"

class TImageList;
class TPageControl;
class TPopupMenu;
class TStatusBar;
class TTabSheet;

class TGalleryForm : public TForm {
  MV_CLASS(TGalleryForm, TForm)
 public:
  explicit TGalleryForm(TComponent* owner);

  TPageControl* Pages() const { return pages_; }
  // The native dialog of the "Dialog" page (class "#32770").
  HWND Dialog() const { return dialog_; }

 private:
  void BuildMenu();
  void BuildStatusBar();
  void BuildToolBar();
  void BuildStandardPage(TTabSheet* s);
  void BuildAdditionalPage(TTabSheet* s);
  void BuildButtonRow(TTabSheet* s);
  void BuildCommonPage(TTabSheet* s);
  void BuildGridPage(TTabSheet* s);
  // The native dialog as a child of `s`, kept at the sheet's size.
  void BuildDialogPage(TTabSheet* s);

  TImageList* images_ = nullptr;
  TPopupMenu* recent_ = nullptr;
  TStatusBar* status_ = nullptr;
  TPageControl* pages_ = nullptr;
  HWND dialog_ = nullptr;
};
