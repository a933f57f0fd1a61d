// The partial-import dialog: a source skin package and the groups of
// settings to copy from it into the open skin.
#pragma once

#include <string>

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"

class TMainfm;

class TImportFm : public TForm {
  MV_CLASS(TImportFm, TForm)
 public:
  // Imports into `main`'s open skin; the source is chosen with `main`'s
  // file dialog.
  TImportFm(TComponent* owner, TMainfm& main);

  // The source package last chosen with SpeedButton1, kept for the rest of
  // the run (FileEd starts empty each time the dialog opens).
  static std::string& SourceFile();

  // Lists the 16 groups, all ticked.
  void FormCreate();
  void SpeedButton1Click();
  void AddBtnClick();
  void DelBtnClick();
  // Copies the ticked groups from SourceFile() and closes the dialog; a
  // source that cannot be opened is reported and nothing is imported.
  void ImportBtnClick();

  TEdit* FileEd = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TCheckListBox* CtrlList = nullptr;
  TButton *AddBtn = nullptr, *DelBtn = nullptr, *ImportBtn = nullptr, *Button2 = nullptr;

 private:
  void TickAll(bool ticked);
  TMainfm& main_;
};
