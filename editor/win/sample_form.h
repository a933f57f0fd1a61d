// TForm1, the sample form the preview shows wearing the skin: one control of
// each family the engine paints, on two pages, with a main menu and a status
// bar. Its window class is "TForm1", the one class the editor lets the
// engine skin.
#pragma once

#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"

class TForm1 : public TForm {
  MV_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* owner);

  TButton *Button1 = nullptr, *Button2 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr;
  TLabel* Label1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr;
  TRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  TToolBar* ToolBar1 = nullptr;
  TToolButton *ToolButton1 = nullptr, *ToolButton2 = nullptr;
  TUpDown* UpDown1 = nullptr;
  TSpinEdit* SpinEdit1 = nullptr;
  TScrollBar* ScrollBar1 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem *File1 = nullptr, *Open1 = nullptr, *Save1 = nullptr, *Close1 = nullptr,
            *Exit1 = nullptr, *view1 = nullptr, *Skin11 = nullptr, *Skin21 = nullptr,
            *Skin31 = nullptr, *Help1 = nullptr, *Content1 = nullptr, *Homepage1 = nullptr,
            *About1 = nullptr;

 private:
  void BuildMenu();
  void BuildFirstPage();
  void BuildSecondPage();
  void BuildButtons();
};
