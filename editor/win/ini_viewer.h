// The INI viewer: the selected element's section of the skin's INI as text,
// which the user may change there and save (IniBtn, the menu's INI Editor).
#pragma once

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"

class TMainfm;

class TIniFm : public TForm {
  MV_CLASS(TIniFm, TForm)
 public:
  // Shows `main`'s selected element: the schema section in the caption bar,
  // the keys of its skin section in the memo.
  TIniFm(TComponent* owner, TMainfm* main);

  TStaticText* StaticText1 = nullptr;  // SchemaSection + " Section"
  TMemo* Memo1 = nullptr;              // "key=value" lines
  TBitBtn* BitBtn1 = nullptr;          // save
  TBitBtn* BitBtn2 = nullptr;          // cancel

 private:
  void BuildButtons();
  // Writes the typed lines to the section, saves the package without
  // asking and closes.
  void BitBtn1Click();

  TMainfm* main_;
};
