#include "framework/dialogs.h"

#include <commdlg.h>

#include <charconv>
#include <stdexcept>

#include "format/text.h"
#include "framework/forms.h"

// --- Message boxes ------------------------------------------------------------

namespace {
TMessageBoxHook& MessageBoxHook() {
  static TMessageBoxHook hook;
  return hook;
}
TFileDialogHook& FileDialogHook() {
  static TFileDialogHook hook;
  return hook;
}
}  // namespace

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook) {
  TMessageBoxHook previous = std::move(MessageBoxHook());
  MessageBoxHook() = std::move(hook);
  return previous;
}

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  if (MessageBoxHook()) return MessageBoxHook()(TMessageBoxCall{text, caption, flags});
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags | MB_TASKMODAL);
}

void ShowMessage(const std::string& text) {
  ShowMessageBox(text, Application->Title(), MB_OK);
}

bool AskYesNo(const std::string& text) {
  return ShowMessageBox(text, Application->Title(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

TMessageBoxLog::TMessageBoxLog(int answer) : answer_(answer) {
  previous_ = SetMessageBoxHook([this](const TMessageBoxCall& call) {
    calls_.push_back(call);
    return answer_;
  });
}

TMessageBoxLog::~TMessageBoxLog() {
  SetMessageBoxHook(std::move(previous_));
}

// --- Open and save dialogs -------------------------------------------------------

TFileDialogHook SetFileDialogHook(TFileDialogHook hook) {
  TFileDialogHook previous = std::move(FileDialogHook());
  FileDialogHook() = std::move(hook);
  return previous;
}

void TOpenDialog::PublishProperties(TClassInfo& info) {
  TPublisher<TOpenDialog>(info)
      .String("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
      .Integer("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex)
      .String("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
      .String("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
      .String("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
      .String("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle)
      .Integer("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions);
}

std::string TOpenDialog::NativeFilter(const std::string& filter) {
  std::string out = filter;
  for (char& c : out) {
    if (c == '|') c = '\0';
  }
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

bool TOpenDialog::Execute() {
  return Run(false);
}

bool TSaveDialog::Execute() {
  return Run(true);
}

bool TOpenDialog::Run(bool save) {
  if (FileDialogHook()) return FileDialogHook()(*this, save);
  std::string filter = NativeFilter(filter_);
  std::vector<char> name(32768, '\0');
  file_name_.copy(name.data(), std::min(file_name_.size(), name.size() - 1));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(filter_index_);
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = initial_dir_.empty() ? nullptr : initial_dir_.c_str();
  ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  ofn.lpstrDefExt = default_ext_.empty() ? nullptr : default_ext_.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  if (options_ & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (options_ & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (options_ & ofNoChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;
  if (options_ & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (options_ & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (options_ & ofCreatePrompt) ofn.Flags |= OFN_CREATEPROMPT;
  // OFN_NOCHANGEDIR is not honoured by every version of the open dialog:
  // keep the folder ourselves as well.
  char folder[MAX_PATH] = {};
  DWORD had_folder = GetCurrentDirectoryA(MAX_PATH, folder);
  BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if ((options_ & ofNoChangeDir) && had_folder && had_folder < MAX_PATH) {
    SetCurrentDirectoryA(folder);
  }
  if (!ok) return false;
  file_name_ = name.data();
  filter_index_ = static_cast<int>(ofn.nFilterIndex);
  return true;
}

// --- Resources and folders ----------------------------------------------------------

bool LoadResourceBytes(HINSTANCE instance, const char* name, std::vector<uint8_t>& out,
                       const char* type) {
  HRSRC res = FindResourceA(instance, name, type ? type : MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!res) return false;
  HGLOBAL mem = LoadResource(instance, res);
  const void* p = mem ? LockResource(mem) : nullptr;
  if (!p) return false;
  auto* bytes = static_cast<const uint8_t*>(p);
  out.assign(bytes, bytes + SizeofResource(instance, res));
  return true;
}

std::string ProgramFolder() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      std::string s(path.data(), n);
      return s.substr(0, s.find_last_of("\\/") + 1);
    }
    path.resize(path.size() * 2);
  }
}

std::string TempFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD n = GetTempPathA(MAX_PATH, path);
  std::string s(path, n <= MAX_PATH ? n : 0);
  if (!s.empty() && s.back() != '\\' && s.back() != '/') s += '\\';
  return s;
}

// --- TProfileFile ---------------------------------------------------------------

namespace {

// Reads through the profile API into a buffer that grows until the value fits
// (the API truncates silently, reporting size - 1 or size - 2).
std::string ReadProfile(const char* section, const char* key, const char* default_value,
                        const std::string& path) {
  std::vector<char> buf(1024);
  for (;;) {
    DWORD n = GetPrivateProfileStringA(section, key, default_value, buf.data(),
                                       static_cast<DWORD>(buf.size()), path.c_str());
    if (n + 2 < buf.size() || buf.size() >= (1u << 24)) return std::string(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
}

std::vector<std::string> SplitNul(const std::string& s) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < s.size()) {
    size_t end = s.find('\0', at);
    if (end == std::string::npos) end = s.size();
    if (end > at) out.push_back(s.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

}  // namespace

std::string TProfileFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& default_value) const {
  return ReadProfile(section.c_str(), key.c_str(), default_value.c_str(), path_);
}

void TProfileFile::WriteString(const std::string& section, const std::string& key,
                               const std::string& value) {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str())) {
    throw std::runtime_error("Unable to write to " + path_);
  }
}

int TProfileFile::ReadInteger(const std::string& section, const std::string& key,
                              int default_value) const {
  std::string s = Trim(ReadString(section, key, ""));
  std::string_view v = s;
  bool negative = !v.empty() && v[0] == '-';
  if (negative) v.remove_prefix(1);
  int base = 10;
  if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
    base = 16;
    v.remove_prefix(2);
  }
  long long value = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), value, base);
  if (v.empty() || ec != std::errc() || end != v.data() + v.size()) return default_value;
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return default_value;
  return static_cast<int>(value);
}

void TProfileFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

bool TProfileFile::ReadBool(const std::string& section, const std::string& key,
                            bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void TProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TProfileFile::SectionExists(const std::string& section) const {
  return !ReadSection(section).empty();
}

bool TProfileFile::ValueExists(const std::string& section, const std::string& key) const {
  for (const std::string& k : ReadSection(section)) {
    if (LowerAscii(k) == LowerAscii(key)) return true;
  }
  return false;
}

std::vector<std::string> TProfileFile::ReadSection(const std::string& section) const {
  return SplitNul(ReadProfile(section.c_str(), nullptr, "", path_));
}

std::vector<std::string> TProfileFile::ReadSections() const {
  return SplitNul(ReadProfile(nullptr, nullptr, "", path_));
}

void TProfileFile::EraseSection(const std::string& section) {
  WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path_.c_str());
}

void TProfileFile::DeleteKey(const std::string& section, const std::string& key) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, path_.c_str());
}
