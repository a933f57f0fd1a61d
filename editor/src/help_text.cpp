#include "editor/help_text.h"

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

bool FindEntry(std::string_view help, std::string_view key, std::string& text) {
  const std::string open = "<*" + std::string(key) + "*>\r\n";
  const std::string close = "\r\n</" + std::string(key) + "/>\r\n";
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
