// Importing groups of settings and their bitmaps from another skin package
// into the open one, and the main window's Import command around it.
#include "import_dialog.h"

#include <memory>
#include <vector>

#include "convert/skin_import.h"
#include "editor_resources.h"
#include "framework/dialogs.h"
#include "main_form.h"

namespace {

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
         int height, const char* caption = nullptr) {
  auto* c = new T(owner);
  c->SetName(name);
  c->SetBounds(left, top, width, height);
  if (caption) c->SetCaption(caption);
  c->SetParent(parent);
  return c;
}

}  // namespace

TImportFm::TImportFm(TComponent* owner, TMainfm& main) : TForm(owner), main_(main) {
  SetName("ImportFm");
  SetCaption("Import from Skin");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetPosition(TPosition::poMainFormCenter);
  SetClientSize(360, 264);
  Place<TLabel>(this, this, "Label1", 8, 12, 60, 16, "Source:");
  FileEd = Place<TEdit>(this, this, "FileEd", 60, 8, 262, 22);
  SpeedButton1 = Place<TSpeedButton>(this, this, "SpeedButton1", 326, 8, 26, 22, "...");
  SpeedButton1->OnClick = [this](TObject*) { SpeedButton1Click(); };
  CtrlList = Place<TCheckListBox>(this, this, "CtrlList", 8, 38, 344, 8 * 17 + 4);
  CtrlList->SetColumns(2);
  const int buttons_top = CtrlList->Top() + CtrlList->Height() + 10;
  AddBtn = Place<TButton>(this, this, "AddBtn", 8, buttons_top, 40, 25, "+");
  AddBtn->OnClick = [this](TObject*) { AddBtnClick(); };
  DelBtn = Place<TButton>(this, this, "DelBtn", 52, buttons_top, 40, 25, "--");
  DelBtn->OnClick = [this](TObject*) { DelBtnClick(); };
  ImportBtn = Place<TButton>(this, this, "ImportBtn", 196, buttons_top, 75, 25, "Import");
  ImportBtn->SetDefault(true);
  ImportBtn->OnClick = [this](TObject*) { ImportBtnClick(); };
  Button2 = Place<TButton>(this, this, "Button2", 277, buttons_top, 75, 25, "Close");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
  SetClientHeight(buttons_top + 25 + 8);
  SetActiveControl(CtrlList);
  OnCreate = [this](TObject*) { FormCreate(); };
  // Eight groups a column, whatever height the font gives the items.
  OnShow = [this](TObject*) {
    CtrlList->SetHeight(8 * CtrlList->ItemHeight() + CtrlList->Height() - CtrlList->ClientHeight());
  };
}

std::string& TImportFm::SourceFile() {
  static std::string source_file;
  return source_file;
}

void TImportFm::FormCreate() {
  CtrlList->Items()->Clear();
  for (const char* group : kImportGroups)
    CtrlList->Items()->Add(group);
  TickAll(true);
}

void TImportFm::TickAll(bool ticked) {
  for (int i = 0; i < CtrlList->Items()->Count(); ++i)
    CtrlList->SetChecked(i, ticked);
}

void TImportFm::AddBtnClick() {
  TickAll(true);
}

void TImportFm::DelBtnClick() {
  TickAll(false);
}

void TImportFm::SpeedButton1Click() {
  if (!main_.SelectFile(kSkinFileFilter, SourceFile(), false)) return;
  FileEd->SetText(SourceFile());
}

void TImportFm::ImportBtnClick() {
  TSkinDocument& doc = main_.Document();
  if (doc.IsOpen()) {
    std::vector<std::string> groups;
    for (int i = 0; i < CtrlList->Items()->Count(); ++i) {
      if (CtrlList->Checked(i)) groups.push_back(CtrlList->Items()->Strings(i));
    }
    TSkinImport import(doc.Ini(), doc.FileList());
    if (import.OpenSource(SourceFile())) {
      import.Run(groups);
    } else {
      ShowMessageBox(import.LastError(), Application->Title(), MB_OK | MB_ICONSTOP);
    }
  }
  // The dialog closes after every import, also when nothing was imported.
  SetModalResult(mrCancel);
}

void TMainfm::ImportCommand() {
  if (!doc_.IsOpen()) return;
  VL->CommitEdit();
  SetModified();
  {
    std::unique_ptr<TImportFm, void (*)(TImportFm*)> dialog(Create<TImportFm>(this, *this),
                                                            [](TImportFm* d) { d->Free(); });
    dialog->ShowModal();
  }
  // The imported groups may add or remove title buttons and change any
  // value the grid shows: the tree is built again and the element that was
  // selected shown afresh.
  TTreeNode* selected = Tree1->Selected();
  const std::string caption = selected ? selected->Text() : std::string();
  schema_.Load(LoadSchemaText());
  BuildTree();
  TTreeNodes* items = Tree1->Items();
  for (int i = 0; i < items->Count() && !caption.empty(); ++i) {
    if (items->Item(i)->Text() == caption) {
      Tree1->SetSelected(items->Item(i));
      break;
    }
  }
  UpdateCommands(Tree1->Selected());
  RefreshPreview();
}
