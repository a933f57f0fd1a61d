// The bitmap menu of a bitmap row: import a BMP file into the member, export
// the member for an external editor, clear it. Names and sharing rules come
// from editor/bitmap_commands.h.
#include <windows.h>
#include <shellapi.h>

#include "editor/bitmap_commands.h"
#include "format/file_io.h"
#include "main_form.h"
#include "picture_dialog.h"

namespace {

const char* const kBitmapFilter = "Bitmaps (*.bmp)|*.bmp";
const char* const kNoBitmapMessage = "No bitmap to edit !";
constexpr uint64_t kMaxImportFileSize = uint64_t{256} << 20;

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Reads and decodes a BMP file; an error box and false when it cannot be.
bool LoadBitmapFile(const std::string& path, TPixmap& picture) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, &error, kMaxImportFileSize)) {
    ShowMessage("Cannot read \"" + path + "\": " + error);
    return false;
  }
  try {
    picture = DecodeEditorBitmap(bytes);
  } catch (const EBmpError& e) {
    ShowMessage("\"" + path + "\" is not a bitmap that can be used: " + e.what());
    return false;
  }
  return true;
}

}  // namespace

std::string TMainfm::CurrentBitmapKey() const {
  const TGridRow* row = element_.Row(VL->Row());
  return doc_.IsOpen() && row && IsBitmapType(row->Type) ? row->Key : std::string();
}

void TMainfm::ImportBitmapCommand() {
  const std::string key = CurrentBitmapKey();
  if (key.empty()) return;
  const std::string section = element_.SkinSection();
  TOpenPictureDialog dialog(nullptr);
  dialog.SetFilter(kBitmapFilter);
  dialog.SetOptions(ofHideReadOnly | ofFileMustExist | ofPathMustExist | ofNoChangeDir);
  CreateDirectoryIfMissing(folders_.BitmapFolder);
  dialog.SetInitialDir(FolderExists(last_bitmap_folder_) ? last_bitmap_folder_
                                                         : folders_.BitmapFolder);
  dialog.SetFileName(MakeExportName(current_skin_file_, current_bitmap_name_));
  if (!dialog.Execute()) return;
  const std::string path = dialog.FileName();
  TPixmap picture;
  if (!LoadBitmapFile(path, picture)) return;
  const std::string member = doc_.Ini().ReadString(section, key, "");
  const std::string name =
      ImportBitmap(doc_.Ini(), doc_.FileList(), section, key, member, path, picture);
  SetModified();
  ShowBitmap(name);
  last_bitmap_folder_ = ExtractFilePath(path);
  UpdateCommands(Tree1->Selected());
}

void TMainfm::ExportAndEdit() {
  if (!doc_.IsOpen()) return;
  if (shown_bitmap_.Width <= 0 || current_bitmap_name_.empty()) {
    ShowMessage(kNoBitmapMessage);
    return;
  }
  const std::string path =
      folders_.BitmapFolder + MakeExportName(current_skin_file_, current_bitmap_name_);
  try {
    CreateDirectoryIfMissing(folders_.BitmapFolder);
    WriteFileAtomic(path, EncodeBmp(To24BitPixmap(shown_bitmap_)));
  } catch (const EFileError& e) {
    ShowMessage(e.what());
    return;
  }
  StartBitmapEditor(path);
}

void TMainfm::StartBitmapEditor(const std::string& path) {
  if (editor_program_.empty()) {
    ShellExecuteA(WindowHandle(), "OPEN", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  std::string command = EditorCommandLine(editor_program_, path);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  // An editor that cannot be started is not reported.
  if (CreateProcessA(editor_program_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

void TMainfm::ClearBitmapCommand() {
  const std::string key = CurrentBitmapKey();
  if (key.empty()) return;
  const std::string section = element_.SkinSection();
  ClearBitmap(doc_.Ini(), doc_.FileList(), section, key, doc_.Ini().ReadString(section, key, ""));
  ShowBitmap("");
  SetModified();
}
