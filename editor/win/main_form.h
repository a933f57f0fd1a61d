// The editor's main window: one skin package at a time, shown as a tree of
// elements with a key/value grid, a help pane, the preview pane and the
// bitmap panel. The decisions live in the portable classes of
// editor/include; this form wires them to controls.
#pragma once

#include <memory>
#include <string>

#include "editor/bitmap_panel.h"
#include "editor/editor_schema.h"
#include "editor/element_editor.h"
#include "editor/refresh_pacer.h"
#include "editor/scratch_file.h"
#include "editor/skin_document.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"

// What the editor keeps for the whole run of the program.
class TCheckFm;
class TEZColor;
class TForm1;
class TSkinData;
struct TSkinCheckReport;

struct TEditorFolders {
  std::string ProgramFolder;  // the executable's folder, with a trailing backslash
  std::string BitmapFolder;   // ProgramFolder + "skin\"
  std::string TempFolder;     // the system's folder for temporary files
};

extern const char* const kSkinFileFilter;     // "Skin files (*.skn)|*.skn"
extern const char* const kExecuteFileFilter;  // "Execute files (*.exe)|*.exe"
extern const char* const kSaveQuestion;       // "Skin file has been modified, Save it ?"

class TMainfm : public TForm {
  MV_CLASS(TMainfm, TForm)
 public:
  // `program_folder` overrides the executable's folder (tests).
  explicit TMainfm(TComponent* owner, const std::string& program_folder = {});
  ~TMainfm() override;

  // --- Skin files (skin_commands.cpp) ---
  // Opens CurrentSkinFile() (nothing when no such file exists).
  void OpenSkin();
  void OpenSkinFile(const std::string& path);
  // Saves when Modified, asking first when `ask`. False when the changes are
  // still unsaved because the user cancelled the file dialog or the save
  // failed (a "No" answer discards them and returns true).
  bool SaveSkin(bool ask);
  // One dialog for opening and saving: true with `path` set when confirmed.
  bool SelectFile(const std::string& filter, std::string& path, bool opening);
  void NewSkin();
  void OpenCommand();
  void OpenRecent(int index);
  void ChooseEditorProgram();
  void AddRecent(const std::string& path);
  void RebuildRecentMenu();
  // Runs once, the first time the message loop is idle: opens `path` (made
  // absolute) when not empty.
  void OpenAtFirstIdle(const std::string& path);

  // --- Preview (preview_commands.cpp) ---
  // Saves a titled skin with changes, shows the sample form wearing the
  // package and photographs it into Image1 600 ms later.
  void RefreshPreview();
  // Test: saves as Save does, then shows the sample form modally, skinned.
  void TestSkin();
  // Save snapshot: Image1's photograph as a JPEG file the user names.
  void SaveSnapshot();
  // Encodes the photograph (quality 90) and writes it to `path`; false with
  // `error` set when that fails.
  bool WriteSnapshot(const std::string& path, std::string& error);
  // The sample form (null before the first Refresh or Test).
  TForm1* SampleForm() const { return form1_; }
  int PhotographCount() const { return photographs_; }

  // --- Conversion (convert_dialog.cpp) and import (import_dialog.cpp) ---
  // MsBtn, ImportMsstylefile1: one variant of a visual style becomes a new
  // package in the program's folder, which then opens in place of the open
  // skin (whose unsaved changes are offered for saving first).
  void RunConversion();
  // ImportBtn: groups of another package's settings copied into the open
  // skin through TImportFm; the tree, grid and preview then show them.
  void ImportCommand();

  // --- Check Skin (check_dialog.cpp) ---
  // CheckBtn, CheckSkin1 (F8): the skin checker's findings on the open skin
  // in the Check Skin window, which stays open beside this one.
  void CheckSkinCommand();
  // The checker's report on the open skin as it is now: the working set
  // with the INI document's text.
  TSkinCheckReport CheckOpenSkin();
  // Selects the tree node and grid row that show a finding's section and
  // key; false, with a note in the status bar, when no element shows it.
  bool ShowFinding(const std::string& section, const std::string& key);
  TCheckFm* CheckForm() const { return check_form_; }
  // The status bar's panel for the notes of Check Skin and the live preview.
  static constexpr int kNotePanel = 5;

  // --- Live preview (live_preview.cpp) ---
  // The option LivePreview1, kept in tessaly.ini: committed changes refresh
  // the preview, at most once per 300 ms, from a temporary package in the
  // system's temporary folder; the skin's own file is left alone.
  bool LivePreview() const { return live_preview_; }
  void SetLivePreview(bool on);
  // A committed change: paces a live refresh while the option is on.
  void LivePreviewChanged();
  // The temporary package the last live refresh showed (empty before).
  const std::string& LivePackage() const { return live_package_.Path(); }

  // --- Elements (element_panel.cpp) ---
  void BuildTree();
  void LoadElement(const std::string& display_name);
  void SelectRow();
  // A committed grid cell: written to the key its row showed when it became
  // current, unless the INI already holds that value.
  void CommitRow(int row, const std::string& value);
  void ColorBtnClick();
  // A colour picked from the screen, for the current row.
  void PutPickedColour(uint32_t colour);
  void UpdateCommands(TTreeNode* node);
  // The one place that hears "the document changed by a command": called
  // after every edit that goes through the command layer, and after every
  // undo and redo, once the tree, grid and bitmap page show the new state.
  void DocumentChanged();

  // --- Bitmap panel (bitmap_panel.cpp) and its commands (bitmap_commands.cpp) ---
  // Shows a member of the working set on the bitmap page (nothing for an
  // empty or absent name).
  void ShowBitmap(const std::string& name);
  // Redraws the margin preview from the grid's margin rows; an unreadable
  // margin is reported.
  void DrawMarginPreview();
  void ImportBitmapCommand();
  void ExportAndEdit();
  void ClearBitmapCommand();
  // Title buttons and preset colours (title_commands.cpp).
  void AddTitleButton();
  void DeleteNode();
  void AddPresetColour();
  const std::string& CurrentBitmapName() const { return current_bitmap_name_; }
  int BitmapFrames() const { return bitmap_frames_; }
  const std::string& LastBitmapFolder() const { return last_bitmap_folder_; }

  // The INI viewer (ini_viewer.cpp): the selected element's section as
  // text; nothing without an open skin or a selected element.
  void ShowIniViewer();
  // Help authoring (help_commands.cpp): the help memo's lines become the
  // entry of the current row's help key (with the tree node's caption as a
  // third part when `with_display_name`), and the whole help text goes to
  // HelpFile().
  void WriteHelpCommand(bool with_display_name);
  void SaveHelpCommand();
  // help.txt in the parent of the program's folder.
  std::string HelpFile() const;
  const std::string& HelpText() const { return help_text_; }

  const TEditorFolders& Folders() const { return folders_; }
  const std::string& CurrentSkinFile() const { return current_skin_file_; }
  TSkinDocument& Document() { return doc_; }
  const TEditorSchema& Schema() const { return schema_; }
  const TElementEditor& Element() const { return element_; }
  bool Modified() const { return doc_.Modified(); }
  bool Untitled() const { return doc_.Untitled(); }
  const std::string& EditorProgram() const { return editor_program_; }
  TProfileFile& Settings() { return *settings_; }
  // The colour the colour page's picker shows.
  uint32_t PickerColour() const;

  // The controls, named as the program names them.
  TToolBar* ToolBar1 = nullptr;
  TToolButton *MsBtn = nullptr, *NewBtn = nullptr, *OpenBtn = nullptr, *SaveBtn = nullptr,
              *RefreshBtn = nullptr, *PreView = nullptr, *PreviewBtn = nullptr,
              *WriteHelp = nullptr, *WriteHelp2 = nullptr, *HelpSave = nullptr, *AddBtn = nullptr,
              *AddColorBtn = nullptr, *DelBtn = nullptr, *ImportBtn = nullptr, *IniBtn = nullptr;
  TTreeView* Tree1 = nullptr;
  TPageControl* Page1 = nullptr;
  TTabSheet *HelpPage = nullptr, *ZoomPage = nullptr;
  TMemo* Memo1 = nullptr;
  TPaintBox* Zoom = nullptr;
  TValueListEditor* VL = nullptr;
  TPanel* winPanel = nullptr;
  TImage* Image1 = nullptr;
  TPanel* BmpPanel = nullptr;
  TNotebook* book1 = nullptr;
  TPanel* Panel5 = nullptr;
  TEZColor* EZColor = nullptr;  // the colour picker, in Panel5
  TButton* ColorBtn = nullptr;
  TStatusBar* SB = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TPopupMenu* FilePop = nullptr;
  TPopupMenu* EditPop = nullptr;
  TMenuItem *ImportMsstylefile1 = nullptr, *Newskin1 = nullptr, *Open1 = nullptr, *Save1 = nullptr,
            *Exit1 = nullptr, *EditImage1 = nullptr, *SettingEditer1 = nullptr,
            *TitleButton1 = nullptr, *AddPresetColor1 = nullptr, *Delete1 = nullptr,
            *Refresh1 = nullptr, *estSkin1 = nullptr, *IniEditor1 = nullptr, *tutor1 = nullptr,
            *About1 = nullptr;
  TTreeNode* TitleButtonNode = nullptr;
  TScrollBox *Bmpbox = nullptr, *RectBox = nullptr;
  TPanel *BmpText = nullptr, *RectTxt = nullptr;
  TImage *BmpImg = nullptr, *RectImg = nullptr;
  TToolBar* Pbar = nullptr;
  TToolButton *ToolButton4 = nullptr, *ToolButton6 = nullptr, *ToolButton7 = nullptr,
              *ToolButton8 = nullptr;
  TMenuItem *UpdateBitmap1 = nullptr, *Editwith1 = nullptr, *ClearBitmap1 = nullptr,
            *EditerSetting1 = nullptr;
  TSkinData* FSD = nullptr;  // the engine, skinning the sample form only
  TTimer* Timer1 = nullptr;  // the preview's photograph, 600 ms after Refresh
  TToolButton* CheckBtn = nullptr;
  TMenuItem *CheckSkin1 = nullptr, *LivePreview1 = nullptr;
  TTimer* LiveTimer = nullptr;  // paces the live preview

 private:
  // main_form.cpp: building the window.
  void BuildToolBar();
  void BuildMenus();
  void BuildLeftPane();
  void BuildRightPane();
  void BuildStatusBar();
  TToolButton* AddToolButton(const std::string& name, const std::string& caption,
                             const std::string& hint, TNotifyEvent on_click);
  void SetSkinCommandsEnabled(bool enabled);
  void ShowTutorial();
  void ShowAbout();
  void OnCloseQueryMain(bool& can_close);
  void OnCloseMain();

  // skin_commands.cpp
  // Opens `path`; a path opened for New is not added to the recent list.
  bool OpenSkinPath(const std::string& path, bool for_new);
  void ShowOpenFailure(TOpenResult result, const std::string& path);
  std::vector<std::string> ReadRecentList() const;
  void UpdateTitle();

  // element_panel.cpp
  void OnTreeChange(TTreeNode* node);
  void OnGridRowEnter();
  void OnGridEditButton();
  void DrawGridCell(int col, int row, const RECT& rect, TGridDrawState state);
  void StartScreenPick();
  void SetModified();
  void FillGrid();

  // bitmap_panel.cpp
  void BuildBitmapPage(TPage* page);
  void BuildCornerBar();
  // Empties both images; a new element also forgets which member's
  // decoding error was reported.
  void ClearBitmapImages(bool new_element = false);
  void PlaceImage(TScrollBox* box, TImage* image);
  bool ShowMarginPreview(bool report_errors);
  // After a committed grid value: the frames and margins as they are now.
  void RedrawMarginPreview();
  int FramesOfShownBitmap() const;
  void OnImageMouseMove(TImage* image, int x, int y);
  void PaintZoom();
  int CornerTag() const;
  // help_commands.cpp: false (the error shown) when the file cannot be
  // written.
  bool WriteHelpFile();

  // preview_commands.cpp
  void BuildPreview();
  // Creates the sample form when needed and gives the engine `package`.
  void ShowSampleWithSkin(const std::string& package);
  void PlaceSampleOverPreview();
  void OnPreviewTimer();
  // Photographs the sample form through its own form skinner; false (Image1
  // unchanged) when it is not skinned or has no size.
  bool TakePhotograph();

  // check_dialog.cpp, live_preview.cpp
  void BuildCheckAndLiveCommands();
  void OnLiveTimer();
  // Writes the document's package to the temporary file and shows the
  // sample form wearing it; photographed as Refresh photographs.
  void RefreshLivePreview();

  // bitmap_commands.cpp
  void StartBitmapEditor(const std::string& path);
  std::string CurrentBitmapKey() const;

  TEditorFolders folders_;
  std::unique_ptr<TProfileFile> settings_;
  std::string current_skin_file_;
  std::string editor_program_;
  std::string help_text_;
  TSkinDocument doc_;
  TEditorSchema schema_;
  TElementEditor element_;
  TEditTarget edit_target_;  // where the grid's current row writes
  std::string click_value_;  // the current cell's text when it was last selected
  bool filling_grid_ = false;
  std::string current_bitmap_name_;    // the member the bitmap page shows
  int bitmap_frames_ = kNoFrameLayout;  // how it is cut into frames
  TPixmap shown_bitmap_;                // its pixels, decoded
  std::string last_bitmap_folder_;      // where the import dialog starts
  std::string bitmap_error_name_;       // the member whose decoding error was shown
  std::unique_ptr<TBitmap> zoom_capture_;
  TForm1* form1_ = nullptr;  // owned as a component
  int photographs_ = 0;
  TCheckFm* check_form_ = nullptr;  // owned as a component
  bool live_preview_ = false;
  TRefreshPacer live_pacer_;
  std::string live_package_name_;  // where the live preview writes its package
  TScratchFile live_package_;      // that file, removed with the window
};
