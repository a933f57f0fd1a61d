// The main window's layout: tool bars, menus, the tree and help on the left,
// the grid, preview and bitmap panel on the right, the status bar.
#include "main_form.h"

#include <shellapi.h>

#include <algorithm>

#include "editor/recent_files.h"
#include "editor_resources.h"
#include "ez_color.h"
#include "format/file_io.h"
#include "framework/imglist.h"
#include "splash.h"
#include "toolbar_glyphs.h"

const char* const kSkinFileFilter = "Skin files (*.skn)|*.skn";
const char* const kExecuteFileFilter = "Execute files (*.exe)|*.exe";
const char* const kSaveQuestion = "Skin file has been modified, Save it ?";

namespace {

TMenuItem* AddMenuItem(TComponent* owner, TMenuItem* parent, const std::string& name,
                       const std::string& caption, TNotifyEvent on_click = nullptr) {
  auto* item = new TMenuItem(owner);
  if (!name.empty()) item->SetName(name);
  item->SetCaption(caption);
  item->OnClick = std::move(on_click);
  parent->Add(item);
  return item;
}

template <class T>
T* MakeControl(TComponent* owner, TWinControl* parent, const std::string& name, TAlign align) {
  auto* c = new T(owner);
  if (!name.empty()) c->SetName(name);
  c->SetAlign(align);
  c->SetParent(parent);
  return c;
}

}  // namespace

TMainfm::TMainfm(TComponent* owner, const std::string& program_folder) : TForm(owner) {
  SetName("Mainfm");
  SetCaption("Tessaly skin editor");
  SetBounds(0, 0, 1024, 740);
  SetWindowState(TWindowState::wsMaximized);
  SetKeyPreview(true);

  folders_.ProgramFolder =
      program_folder.empty() ? ::ProgramFolder() : IncludeTrailingSeparator(program_folder);
  folders_.BitmapFolder = folders_.ProgramFolder + "skin\\";
  folders_.TempFolder = ::TempFolder();
  CreateDirectoryIfMissing(folders_.BitmapFolder);
  settings_ = std::make_unique<TProfileFile>(folders_.ProgramFolder + "tessaly.ini");
  help_text_ = LoadHelpText();
  editor_program_ = settings_->ReadString("Edit", "Program", "");

  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  BuildLeftPane();
  BuildRightPane();
  BuildCornerBar();
  last_bitmap_folder_ = folders_.BitmapFolder;

  BuildPreview();
  BuildCheckAndLiveCommands();
  RebuildRecentMenu();
  for (TToolButton* b :
       {RefreshBtn, PreView, WriteHelp, WriteHelp2, HelpSave, AddBtn, AddColorBtn, PreviewBtn})
    b->SetEnabled(false);
  SetSkinCommandsEnabled(false);
  UpdateCommands(nullptr);

  OnCloseQuery = [this](TObject*, bool& can_close) { OnCloseQueryMain(can_close); };
  OnClose = [this](TObject*, TCloseAction&) { OnCloseMain(); };
}

TMainfm::~TMainfm() = default;

TToolButton* TMainfm::AddToolButton(const std::string& name, const std::string& caption,
                                    const std::string& hint, TNotifyEvent on_click) {
  auto* b = new TToolButton(this);
  b->SetName(name);
  b->SetCaption(caption);
  b->SetHint(hint);
  b->SetShowHint(true);
  b->SetImageIndex(ToolBar1->ButtonCount());
  b->OnClick = std::move(on_click);
  b->SetParent(ToolBar1);
  return b;
}

void TMainfm::BuildToolBar() {
  auto* images = new TImageList(this);
  images->SetSize(16, 16);
  TBitmap strip;
  PaintToolbarGlyphs(strip);
  images->AddMasked(strip, kToolbarGlyphKey);

  ToolBar1 = new TToolBar(this);
  ToolBar1->SetName("ToolBar1");
  ToolBar1->SetFlat(true);
  ToolBar1->SetShowCaptions(true);
  ToolBar1->SetList(true);
  ToolBar1->SetImages(images);
  ToolBar1->SetButtonHeight(24);
  ToolBar1->SetHeight(28);
  ToolBar1->SetParent(this);
  // Glyph order is the button order (toolbar_glyphs.h).
  MsBtn = AddToolButton("MsBtn", "Convert", "Convert a visual style into a skin",
                        [this](TObject*) { RunConversion(); });
  NewBtn = AddToolButton("NewBtn", "New", "New skin from the built-in default",
                         [this](TObject*) { NewSkin(); });
  OpenBtn =
      AddToolButton("OpenBtn", "Open", "Open a skin package", [this](TObject*) { OpenCommand(); });
  OpenBtn->SetStyle(TToolButtonStyle::tbsDropDown);
  OpenBtn->SetDropdownMenu(FilePop);
  SaveBtn = AddToolButton("SaveBtn", "Save", "Save the skin package",
                          [this](TObject*) { SaveSkin(false); });
  RefreshBtn = AddToolButton("RefreshBtn", "Refresh", "Refresh the preview",
                             [this](TObject*) { RefreshPreview(); });
  PreView = AddToolButton("PreView", "Test", "Try the skin on the sample form",
                          [this](TObject*) { TestSkin(); });
  PreviewBtn = AddToolButton("PreviewBtn", "Snapshot", "Save the preview as a JPEG picture",
                             [this](TObject*) { SaveSnapshot(); });
  WriteHelp =
      AddToolButton("WriteHelp", "Help in", "", [this](TObject*) { WriteHelpCommand(false); });
  WriteHelp2 =
      AddToolButton("WriteHelp2", "Help out", "", [this](TObject*) { WriteHelpCommand(true); });
  HelpSave = AddToolButton("HelpSave", "Help save", "", [this](TObject*) { SaveHelpCommand(); });
  AddBtn = AddToolButton("AddBtn", "Add button", "Add a title button",
                         [this](TObject*) { AddTitleButton(); });
  AddColorBtn =
      AddToolButton("AddColorBtn", "Add colour", "", [this](TObject*) { AddPresetColour(); });
  DelBtn = AddToolButton("DelBtn", "Delete", "Delete the selected title button",
                         [this](TObject*) { DeleteNode(); });
  ImportBtn = AddToolButton("ImportBtn", "Import", "Import parts of another skin",
                            [this](TObject*) { ImportCommand(); });
  IniBtn = AddToolButton("IniBtn", "INI", "Edit the section as INI text",
                         [this](TObject*) { ShowIniViewer(); });
  for (TToolButton* hidden : {WriteHelp, WriteHelp2, HelpSave, AddColorBtn})
    hidden->SetVisible(false);
}

void TMainfm::BuildMenus() {
  FilePop = new TPopupMenu(this);
  FilePop->SetName("FilePop");
  EditPop = new TPopupMenu(this);
  EditPop->SetName("EditPop");
  UpdateBitmap1 = AddMenuItem(this, EditPop->Items(), "UpdateBitmap1", "Import Bitmap ...",
                              [this](TObject*) { ImportBitmapCommand(); });
  Editwith1 = AddMenuItem(this, EditPop->Items(), "Editwith1", "Export and Edit ...",
                          [this](TObject*) { ExportAndEdit(); });
  ClearBitmap1 = AddMenuItem(this, EditPop->Items(), "ClearBitmap1", "Clear Bitmap",
                             [this](TObject*) { ClearBitmapCommand(); });
  AddMenuItem(this, EditPop->Items(), "", "-");
  EditerSetting1 = AddMenuItem(this, EditPop->Items(), "EditerSetting1", "Editer Setting ...",
                               [this](TObject*) { ChooseEditorProgram(); });

  MainMenu1 = new TMainMenu(this);
  MainMenu1->SetName("MainMenu1");
  TMenuItem* file = AddMenuItem(this, MainMenu1->Items(), "File1", "&File");
  ImportMsstylefile1 = AddMenuItem(this, file, "ImportMsstylefile1", "&Convert Visual Style ...",
                                   [this](TObject*) { RunConversion(); });
  AddMenuItem(this, file, "", "-");
  Newskin1 = AddMenuItem(this, file, "Newskin1", "&New Skin", [this](TObject*) { NewSkin(); });
  Open1 = AddMenuItem(this, file, "Open1", "&Open ...", [this](TObject*) { OpenCommand(); });
  Open1->SetShortCut(ShortCut('O', ssCtrl));
  Save1 = AddMenuItem(this, file, "Save1", "&Save", [this](TObject*) { SaveSkin(false); });
  Save1->SetShortCut(ShortCut('S', ssCtrl));
  AddMenuItem(this, file, "", "-");
  Exit1 = AddMenuItem(this, file, "Exit1", "E&xit", [this](TObject*) { Close(); });

  TMenuItem* edit = AddMenuItem(this, MainMenu1->Items(), "Edit1", "&Edit");
  EditImage1 =
      AddMenuItem(this, edit, "EditImage1", "Edit &Bitmap", [this](TObject*) { ExportAndEdit(); });
  SettingEditer1 = AddMenuItem(this, edit, "SettingEditer1", "Bitmap &Editor ...",
                               [this](TObject*) { ChooseEditorProgram(); });
  AddMenuItem(this, edit, "", "-");
  TitleButton1 = AddMenuItem(this, edit, "TitleButton1", "Add &Title Button",
                             [this](TObject*) { AddTitleButton(); });
  AddPresetColor1 = AddMenuItem(this, edit, "AddPresetColor1", "Add &Preset Colour",
                                [this](TObject*) { AddPresetColour(); });
  AddPresetColor1->SetVisible(false);
  Delete1 = AddMenuItem(this, edit, "Delete1", "&Delete Title Button",
                        [this](TObject*) { DeleteNode(); });
  AddMenuItem(this, edit, "", "-");
  Refresh1 = AddMenuItem(this, edit, "Refresh1", "&Refresh Preview",
                         [this](TObject*) { RefreshPreview(); });
  Refresh1->SetShortCut(ShortCut(VK_F5, 0));
  estSkin1 = AddMenuItem(this, edit, "estSkin1", "Test &Skin", [this](TObject*) { TestSkin(); });
  IniEditor1 =
      AddMenuItem(this, edit, "IniEditor1", "INI Editor", [this](TObject*) { ShowIniViewer(); });
  IniEditor1->SetVisible(false);

  TMenuItem* help = AddMenuItem(this, MainMenu1->Items(), "Help1", "&Help");
  tutor1 = AddMenuItem(this, help, "tutor1", "&Tutorial", [this](TObject*) { ShowTutorial(); });
  About1 = AddMenuItem(this, help, "About1", "&About", [this](TObject*) { ShowAbout(); });
  SetMenu(MainMenu1);
}

void TMainfm::BuildStatusBar() {
  SB = new TStatusBar(this);
  SB->SetName("SB");
  for (int w : {50, 50, 80, 80, 50})
    SB->AddPanel()->SetWidth(w);
  SB->SetParent(this);
}

void TMainfm::BuildLeftPane() {
  auto* left = MakeControl<TPanel>(this, this, "LeftPanel", TAlign::alLeft);
  // Wide enough for the help text's lines, which are at most about 70
  // characters, on screens that have the room.
  left->SetWidth(std::min(430, std::max(300, GetSystemMetrics(SM_CXSCREEN) / 3)));
  left->SetBevelOuter(TBevelCut::bvNone);
  Page1 = MakeControl<TPageControl>(this, left, "Page1", TAlign::alBottom);
  Page1->SetHeight(230);
  HelpPage = Page1->AddSheet("Help");
  ZoomPage = Page1->AddSheet("Zoom");
  Memo1 = MakeControl<TMemo>(this, HelpPage, "Memo1", TAlign::alClient);
  Memo1->SetReadOnly(true);
  Memo1->SetScrollBars(TScrollStyle::ssVertical);
  Memo1->SetColor(clWindow);
  Zoom = new TPaintBox(this);
  Zoom->SetName("Zoom");
  Zoom->SetAlign(TAlign::alClient);
  Zoom->SetParent(ZoomPage);
  Page1->SetActivePage(HelpPage);

  Tree1 = MakeControl<TTreeView>(this, left, "Tree1", TAlign::alClient);
  Tree1->SetHideSelection(false);
  Tree1->SetColor(clWindow);
  Tree1->OnChange = [this](TObject*, TTreeNode* node) { OnTreeChange(node); };
  Tree1->OnClick = [this](TObject*) { SelectRow(); };
}

void TMainfm::BuildRightPane() {
  auto* right = MakeControl<TPanel>(this, this, "RightPanel", TAlign::alClient);
  right->SetBevelOuter(TBevelCut::bvNone);

  BmpPanel = MakeControl<TPanel>(this, right, "BmpPanel", TAlign::alBottom);
  BmpPanel->SetHeight(250);
  BmpPanel->SetBevelOuter(TBevelCut::bvLowered);
  book1 = MakeControl<TNotebook>(this, BmpPanel, "book1", TAlign::alClient);
  TPage* bitmap_page = book1->AddPage("Bitmap");
  TPage* colour_page = book1->AddPage("Color");
  bitmap_page->SetColor(clAppWorkSpace);
  BuildBitmapPage(bitmap_page);
  Panel5 = new TPanel(this);
  Panel5->SetName("Panel5");
  Panel5->SetBounds(0, 8, 204, 217);
  Panel5->SetBevelOuter(TBevelCut::bvNone);
  Panel5->SetParent(colour_page);
  EZColor = new TEZColor(this);
  EZColor->SetName("EZColor");
  EZColor->SetBounds(8, 0, 193, 217);
  EZColor->SetBackGround(clBlack);
  EZColor->SetParent(Panel5);
  ColorBtn = new TButton(this);
  ColorBtn->SetName("ColorBtn");
  ColorBtn->SetCaption("Set Color");
  ColorBtn->SetBounds(212, 8, 90, 25);
  ColorBtn->OnClick = [this](TObject*) { ColorBtnClick(); };
  ColorBtn->SetParent(colour_page);
  book1->SetPageIndex(0);

  winPanel = MakeControl<TPanel>(this, right, "winPanel", TAlign::alRight);
  winPanel->SetWidth(320);
  winPanel->SetBevelOuter(TBevelCut::bvLowered);
  winPanel->SetColor(clAppWorkSpace);
  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetAlign(TAlign::alClient);
  Image1->SetCenter(true);
  Image1->SetParent(winPanel);

  VL = MakeControl<TValueListEditor>(this, right, "VL", TAlign::alClient);
  VL->SetKeyColWidth(200);
  VL->SetTitleCaption(0, "Key");
  VL->SetTitleCaption(1, "Value");
  VL->OnDrawCell = [this](TObject*, int col, int row, const RECT& rect, TGridDrawState state) {
    DrawGridCell(col, row, rect, state);
  };
  VL->OnRowEnter = [this](TObject*) { OnGridRowEnter(); };
  VL->OnValidate = [this](TObject*, int, int row, const std::string&, const std::string& value) {
    CommitRow(row, value);
  };
  VL->OnEditButtonClick = [this](TObject*) { OnGridEditButton(); };
  VL->OnClick = [this](TObject*) { SelectRow(); };
}

void TMainfm::SetSkinCommandsEnabled(bool enabled) {
  IniBtn->SetEnabled(enabled);
  ImportBtn->SetEnabled(enabled);
  CheckBtn->SetEnabled(enabled);
}

void TMainfm::ShowTutorial() {
  std::string page = folders_.ProgramFolder + "help\\tutorial.htm";
  ShellExecuteA(WindowHandle(), "OPEN", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainfm::ShowAbout() {
  ShowAboutBox(this);
}

void TMainfm::OnCloseQueryMain(bool& can_close) {
  VL->CommitEdit();
  can_close = SaveSkin(true);
}

void TMainfm::DocumentChanged() {}

void TMainfm::OnCloseMain() {
  settings_->WriteString("SkinFile", "Filename", current_skin_file_);
  live_package_.Remove();  // the program ends without freeing this window
}
