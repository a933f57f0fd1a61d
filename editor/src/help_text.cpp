#include "editor/help_text.h"

const char* const kHelpAddedMessage = "Add new section in help file !";
const char* const kHelpFailedMessage = "Fail to add new section in help file !";
const char* const kHelpSavedMessage = "Save help.txt !";

std::string NormaliseHelpText(std::string_view raw) {
  std::string out;
  out.reserve(raw.size() + raw.size() / 16);
  size_t i = 0;
  while (i < raw.size()) {
    size_t start = i;
    while (i < raw.size() && raw[i] != '\r' && raw[i] != '\n')
      ++i;
    out.append(raw.substr(start, i - start));
    out += "\r\n";
    if (i < raw.size() && raw[i] == '\r') ++i;
    if (i < raw.size() && raw[i] == '\n') ++i;
  }
  return out;
}

namespace {

std::string OpeningMarker(std::string_view key) {
  return "<*" + std::string(key) + "*>\r\n";
}
std::string ClosingMarker(std::string_view key) {
  return "\r\n</" + std::string(key) + "/>\r\n";
}

bool FindEntry(std::string_view help, std::string_view key, std::string& text) {
  const std::string open = OpeningMarker(key);
  const std::string close = ClosingMarker(key);
  size_t start = help.find(open);
  if (start == std::string_view::npos) return false;
  start += open.size();
  // An entry with no text lines has its closing marker right after the
  // opening one, so the search starts one line break early.
  size_t end = help.find(close, start - 2);
  if (end == std::string_view::npos) return false;
  text = end < start ? std::string() : std::string(help.substr(start, end - start));
  return true;
}

}  // namespace

std::string FindHelp(std::string_view help, std::string_view key, std::string_view display_name) {
  std::string text;
  if (FindEntry(help, key, text)) return text;
  if (FindEntry(help, std::string(key) + "-" + std::string(display_name), text)) return text;
  return {};
}

THelpWrite WriteHelpEntry(std::string& help, std::string_view key,
                          const std::vector<std::string>& lines) {
  const std::string open = OpeningMarker(key);
  const std::string close = ClosingMarker(key);
  std::string entry = open;
  for (const std::string& line : lines)
    entry += line + "\r\n";
  entry += close;
  const size_t start = help.find(open);
  if (start == std::string::npos) {
    // The last entry keeps its closing marker whole.
    if (!help.empty() && help.back() != '\n') help += "\r\n";
    help += entry;
    return THelpWrite::hwAppended;
  }
  // An entry without text lines shares its line break with the opening
  // marker, so the closing marker is looked for from the opening one on.
  const size_t end = help.find(close, start);
  if (end == std::string::npos) return THelpWrite::hwRefused;
  help.replace(start, end + close.size() - start, entry);
  return THelpWrite::hwReplaced;
}

std::string HelpFilePath(const std::string& program_folder) {
  std::string folder = program_folder;
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
    folder.pop_back();
  const size_t sep = folder.find_last_of("\\/");
  if (sep == std::string::npos) return folder.empty() ? "help.txt" : folder + "\\help.txt";
  return folder.substr(0, sep + 1) + "help.txt";
}
