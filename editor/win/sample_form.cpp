#include "sample_form.h"

namespace {

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
         int height) {
  auto* c = new T(owner);
  c->SetName(name);
  c->SetBounds(left, top, width, height);
  c->SetParent(parent);
  return c;
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const char* name, const char* caption) {
  auto* item = new TMenuItem(owner);
  if (*name) item->SetName(name);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetName("Form1");
  SetCaption("Form1");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetPosition(TPosition::poScreenCenter);
  SetBounds(0, 0, 243, 280);
  BuildMenu();
  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetName("StatusBar1");
  StatusBar1->SetSimplePanel(true);
  StatusBar1->SetSimpleText("StatusBar1");
  StatusBar1->SetParent(this);
  PageControl1 = Place<TPageControl>(this, this, "PageControl1", 6, 6, 225, 150);
  TabSheet1 = PageControl1->AddSheet("TabSheet1");
  TabSheet1->SetName("TabSheet1");
  TabSheet2 = PageControl1->AddSheet("TabSheet2");
  TabSheet2->SetName("TabSheet2");
  BuildFirstPage();
  BuildSecondPage();
  PageControl1->SetActivePage(TabSheet2);
  BuildButtons();
}

void TForm1::BuildMenu() {
  MainMenu1 = new TMainMenu(this);
  MainMenu1->SetName("MainMenu1");
  TMenuItem* root = MainMenu1->Items();
  File1 = AddItem(this, root, "File1", "&File");
  Open1 = AddItem(this, File1, "Open1", "&Open");
  Open1->SetShortCut(ShortCut('O', ssCtrl));
  Save1 = AddItem(this, File1, "Save1", "&Save");
  Close1 = AddItem(this, File1, "Close1", "&Close");
  AddItem(this, File1, "", "-");
  Exit1 = AddItem(this, File1, "Exit1", "E&xit");
  Exit1->OnClick = [this](TObject*) { Close(); };
  view1 = AddItem(this, root, "view1", "&View");
  Skin11 = AddItem(this, view1, "Skin11", "Skin1");
  Skin21 = AddItem(this, view1, "Skin21", "Skin2");
  Skin31 = AddItem(this, view1, "Skin31", "Skin3");
  Help1 = AddItem(this, root, "Help1", "&Help");
  Content1 = AddItem(this, Help1, "Content1", "&Content");
  Homepage1 = AddItem(this, Help1, "Homepage1", "&Homepage");
  About1 = AddItem(this, Help1, "About1", "&About");
  SetMenu(MainMenu1);
}

void TForm1::BuildFirstPage() {
  Label1 = Place<TLabel>(this, TabSheet1, "Label1", 8, 8, 60, 13);
  Label1->SetCaption("Label1");
  ComboBox1 = Place<TComboBox>(this, TabSheet1, "ComboBox1", 8, 26, 140, 21);
  for (const char* line : {"ComboBox1", "Item 2", "Item 3"})
    ComboBox1->Items()->Add(line);
  ComboBox1->SetItemIndex(0);
  CheckBox1 = Place<TCheckBox>(this, TabSheet1, "CheckBox1", 8, 54, 90, 17);
  CheckBox1->SetCaption("CheckBox1");
  CheckBox1->SetChecked(true);
  CheckBox2 = Place<TCheckBox>(this, TabSheet1, "CheckBox2", 108, 54, 90, 17);
  CheckBox2->SetCaption("CheckBox2");
  RadioButton1 = Place<TRadioButton>(this, TabSheet1, "RadioButton1", 8, 76, 95, 17);
  RadioButton1->SetCaption("RadioButton1");
  RadioButton1->SetChecked(true);
  RadioButton2 = Place<TRadioButton>(this, TabSheet1, "RadioButton2", 108, 76, 95, 17);
  RadioButton2->SetCaption("RadioButton2");
  ProgressBar1 = Place<TProgressBar>(this, TabSheet1, "ProgressBar1", 8, 100, 200, 16);
  ProgressBar1->SetPosition(50);
}

void TForm1::BuildSecondPage() {
  ToolBar1 = new TToolBar(this);
  ToolBar1->SetName("ToolBar1");
  ToolBar1->SetFlat(true);
  ToolBar1->SetShowCaptions(true);
  ToolBar1->SetList(true);
  ToolBar1->SetButtonHeight(22);
  ToolBar1->SetParent(TabSheet2);
  ToolButton1 = new TToolButton(this);
  ToolButton1->SetName("ToolButton1");
  ToolButton1->SetCaption("Button1");
  ToolButton1->SetParent(ToolBar1);
  ToolButton2 = new TToolButton(this);
  ToolButton2->SetName("ToolButton2");
  ToolButton2->SetCaption("Button2");
  ToolButton2->SetParent(ToolBar1);
  TrackBar1 = Place<TTrackBar>(this, TabSheet2, "TrackBar1", 4, 34, 170, 30);
  // Turning a spin or a scroll bar swaps its width and height: turned
  // first, placed after.
  UpDown1 = Place<TUpDown>(this, TabSheet2, "UpDown1", 8, 76, 40, 20);
  UpDown1->SetOrientation(TUDOrientation::udHorizontal);
  UpDown1->SetBounds(8, 76, 40, 20);
  SpinEdit1 = Place<TSpinEdit>(this, TabSheet2, "SpinEdit1", 60, 76, 70, 21);
  ScrollBar1 = Place<TScrollBar>(this, TabSheet2, "ScrollBar1", 190, 34, 17, 80);
  ScrollBar1->SetKind(TScrollBarKind::sbVertical);
  ScrollBar1->SetBounds(190, 34, 17, 80);
}

void TForm1::BuildButtons() {
  Button1 = Place<TButton>(this, this, "Button1", 38, 164, 75, 25);
  Button1->SetCaption("Cancel");
  Button1->SetCancel(true);
  Button1->SetModalResult(mrCancel);
  Button1->OnClick = [this](TObject*) { Button2->SetCaption("&Change"); };
  Button2 = Place<TButton>(this, this, "Button2", 124, 164, 75, 25);
  Button2->SetCaption("OK");
  Button2->SetDefault(true);
  Button2->SetModalResult(mrOk);
  SetActiveControl(Button2);
}
