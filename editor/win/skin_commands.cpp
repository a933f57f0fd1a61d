// Opening, creating and saving skins; the recent-file list; the editor
// program setting.
#include <exception>

#include "editor/element_tree.h"
#include "editor/recent_files.h"
#include "editor_resources.h"
#include "format/file_io.h"
#include "format/skin_package.h"
#include "main_form.h"

namespace {

// The path as the system resolves it from the current folder.
std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (n == 0) return path;
    if (n < buf.size()) return std::string(buf.data(), n);
    buf.resize(n + 1);
  }
}

}  // namespace

void TMainfm::UpdateTitle() {
  SetCaption(current_skin_file_.empty() ? std::string("Tessaly skin editor") : current_skin_file_);
}

void TMainfm::OpenSkin() {
  OpenSkinFile(current_skin_file_);
}

void TMainfm::OpenSkinFile(const std::string& path) {
  OpenSkinPath(path, false);
}

bool TMainfm::OpenSkinPath(const std::string& path, bool for_new) {
  if (path.empty() || !FileExists(path)) return false;
  if (!for_new) AddRecent(path);
  VL->CommitEdit();  // a pending edit belongs to the skin that is open now
  // The editor is the one reader that tells the user about a package of a
  // version it does not know.
  TOpenResult result = doc_.Open(path, TVersionRule::vrEditable,
                                 [](const std::string& text) { ShowMessage(text); });
  if (result != TOpenResult::orOpened) {
    // The skin that was open stays as it was.
    ShowOpenFailure(result, path);
    return false;
  }
  current_skin_file_ = path;
  UpdateTitle();
  schema_.Load(LoadSchemaText());
  BuildTree();
  for (TToolButton* b :
       {RefreshBtn, PreView, WriteHelp, WriteHelp2, AddBtn, AddColorBtn, PreviewBtn})
    b->SetEnabled(true);
  SetSkinCommandsEnabled(true);
  UpdateCommands(nullptr);
  // Modified is clear: the refresh writes nothing, it only shows the skin.
  RefreshPreview();
  return true;
}

void TMainfm::ShowOpenFailure(TOpenResult result, const std::string& path) {
  switch (result) {
    case TOpenResult::orNotSupported:
      ShowMessage(kVersionNotSupportedMessage);
      break;
    case TOpenResult::orRefused:
      // The reader has already told the user about a package version it
      // does not know; anything else is a damaged or foreign file.
      if (doc_.LastError() != kOlderSkinFileMessage)
        ShowMessage("Cannot open \"" + path + "\": " + doc_.LastError());
      break;
    default:
      break;
  }
}

bool TMainfm::SaveSkin(bool ask) {
  VL->CommitEdit();
  if (!doc_.IsOpen() || !doc_.Modified()) return true;
  if (ask && !AskYesNo(kSaveQuestion)) return true;
  std::string path = current_skin_file_;
  if (doc_.Untitled() && !SelectFile(kSkinFileFilter, path, false)) return false;
  try {
    doc_.Save(path);
  } catch (const ESkinPackageError& e) {
    ShowMessage(std::string("The skin was not saved: ") + e.what());
    return false;
  } catch (const std::exception& e) {
    Application->ShowException(e);
    return false;
  }
  current_skin_file_ = path;
  UpdateTitle();
  UpdateCommands(Tree1->Selected());
  return true;
}

bool TMainfm::SelectFile(const std::string& filter, std::string& path, bool opening) {
  std::unique_ptr<TOpenDialog> dialog(opening ? new TOpenDialog(nullptr)
                                              : new TSaveDialog(nullptr));
  dialog->SetFilter(filter);
  dialog->SetFileName(path);
  dialog->SetOptions(opening ? ofHideReadOnly | ofFileMustExist | ofPathMustExist
                             : ofHideReadOnly | ofNoChangeDir);
  if (!dialog->Execute()) return false;
  path = dialog->FileName();
  return true;
}

void TMainfm::NewSkin() {
  if (!SaveSkin(true)) return;
  const std::string path = folders_.ProgramFolder + "Untitle.skn";
  if (!FileExists(path)) {
    try {
      WriteFileAtomic(folders_.ProgramFolder + "untitle.skn", LoadUntitlePackage());
    } catch (const std::exception& e) {
      Application->ShowException(e);
      return;
    }
  }
  // A refused file of that name leaves the open skin as it was.
  if (!OpenSkinPath(path, true)) return;
  doc_.SetUntitled(true);
  doc_.SetModified(true);
  UpdateCommands(nullptr);
}

void TMainfm::OpenCommand() {
  if (!SaveSkin(true)) return;
  std::string path = current_skin_file_;
  if (!SelectFile(kSkinFileFilter, path, true)) return;
  OpenSkinFile(path);
}

void TMainfm::OpenRecent(int index) {
  const std::string path = settings_->ReadString(kRecentSection, RecentFileKey(index), "");
  if (path.empty() || !FileExists(path)) return;
  if (!SaveSkin(true)) return;
  OpenSkinFile(path);
}

void TMainfm::ChooseEditorProgram() {
  std::string path = editor_program_;
  if (!SelectFile(kExecuteFileFilter, path, false)) return;
  editor_program_ = path;
  settings_->WriteString("Edit", "Program", path);
}

std::vector<std::string> TMainfm::ReadRecentList() const {
  std::vector<std::string> list;
  for (int i = 1; settings_->ValueExists(kRecentSection, RecentFileKey(i)); ++i)
    list.push_back(settings_->ReadString(kRecentSection, RecentFileKey(i), ""));
  return list;
}

void TMainfm::AddRecent(const std::string& path) {
  std::vector<std::string> list = AddRecentFile(ReadRecentList(), path);
  settings_->EraseSection(kRecentSection);
  for (size_t i = 0; i < list.size(); ++i)
    settings_->WriteString(kRecentSection, RecentFileKey(static_cast<int>(i) + 1), list[i]);
  RebuildRecentMenu();
}

void TMainfm::RebuildRecentMenu() {
  FilePop->Items()->Clear();
  std::vector<std::string> list = ReadRecentList();
  for (size_t i = 0; i < list.size(); ++i) {
    auto* item = new TMenuItem(this);
    const int index = static_cast<int>(i) + 1;
    item->SetCaption(RecentFileCaption(list[i]));
    item->SetTag(index);
    item->OnClick = [this, index](TObject*) { OpenRecent(index); };
    FilePop->Items()->Add(item);
  }
}

void TMainfm::OpenAtFirstIdle(const std::string& path) {
  const std::string absolute = AbsolutePath(path);
  Application->OnIdle = [this, absolute](TObject*, bool&) {
    Application->OnIdle = nullptr;
    if (!absolute.empty()) OpenSkinFile(absolute);
  };
}
