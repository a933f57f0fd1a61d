// Help authoring: the hidden WriteHelp, WriteHelp2 and HelpSave commands put
// the help memo's text into the help text under the current row's key and
// write the whole help text to the help file beside the program's folder.
#include <exception>

#include "editor/help_text.h"
#include "format/file_io.h"
#include "main_form.h"

void TMainfm::WriteHelpCommand(bool with_display_name) {
  if (!doc_.IsOpen() || element_.Empty()) return;
  std::string key = element_.HelpKey(VL->Row());
  if (key.empty()) return;
  if (with_display_name) {
    TTreeNode* node = Tree1->Selected();
    if (!node) return;
    key += "-" + node->Text();
  }
  std::vector<std::string> lines;
  TStrings* memo = Memo1->Lines();
  for (int i = 0; i < memo->Count(); ++i)
    lines.push_back(memo->Strings(i));
  if (WriteHelpEntry(help_text_, key, lines) == THelpWrite::hwRefused) {
    ShowMessage(kHelpFailedMessage);
    return;
  }
  // The help text keeps the entry even when the file cannot be written, so
  // the help pane shows it from now on.
  if (WriteHelpFile()) ShowMessage(kHelpAddedMessage);
}

void TMainfm::SaveHelpCommand() {
  if (WriteHelpFile()) ShowMessage(kHelpSavedMessage);
}

std::string TMainfm::HelpFile() const {
  return HelpFilePath(folders_.ProgramFolder);
}

bool TMainfm::WriteHelpFile() {
  try {
    WriteFileAtomic(HelpFile(), help_text_);
  } catch (const std::exception& e) {
    Application->ShowException(e);
    return false;
  }
  return true;
}
