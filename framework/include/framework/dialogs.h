// Services: message boxes (with a hook that tests and automation install to
// answer them), open and save dialogs, resources by name, program folders,
// and private-profile settings files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/classes.h"

// --- Message boxes ------------------------------------------------------------

struct TMessageBoxCall {
  std::string Text;
  std::string Caption;
  UINT Flags = 0;  // MB_ flags
};
// Answers a message box instead of the user: returns the button id (IDOK,
// IDYES, ...). While a hook is installed no box is shown.
using TMessageBoxHook = std::function<int(const TMessageBoxCall&)>;
// Installs `hook` (or none) and returns the previous one.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);

// Shows a message box owned by the active window (or answers it through the
// hook); returns the button id.
int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);
// An information box with OK, under the application's title.
void ShowMessage(const std::string& text);
// A question with Yes and No; true for Yes.
bool AskYesNo(const std::string& text);

// Records every message box while it lives and answers each with `answer`
// (the previous hook comes back afterwards).
class TMessageBoxLog {
 public:
  explicit TMessageBoxLog(int answer = IDOK);
  ~TMessageBoxLog();
  TMessageBoxLog(const TMessageBoxLog&) = delete;
  TMessageBoxLog& operator=(const TMessageBoxLog&) = delete;
  const std::vector<TMessageBoxCall>& Calls() const { return calls_; }
  void SetAnswer(int answer) { answer_ = answer; }

 private:
  std::vector<TMessageBoxCall> calls_;
  int answer_;
  TMessageBoxHook previous_;
};

// --- Open and save dialogs -------------------------------------------------------

enum TOpenOption : unsigned {
  ofOverwritePrompt = 1,
  ofHideReadOnly = 2,
  ofNoChangeDir = 4,  // the process's current folder stays as it was
  ofPathMustExist = 8,
  ofFileMustExist = 16,
  ofCreatePrompt = 32,
};

class TOpenDialog : public TComponent {
  MV_CLASS(TOpenDialog, TComponent)
 public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
  static void PublishProperties(TClassInfo& info);

  // "Skin files (*.skn)|*.skn|All files (*.*)|*.*"
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& v) { filter_ = v; }
  int FilterIndex() const { return filter_index_; }  // from 1
  void SetFilterIndex(int v) { filter_index_ = v; }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& v) { file_name_ = v; }
  // Without the dot; added to names typed without an extension.
  const std::string& DefaultExt() const { return default_ext_; }
  void SetDefaultExt(const std::string& v) { default_ext_ = v; }
  const std::string& InitialDir() const { return initial_dir_; }
  void SetInitialDir(const std::string& v) { initial_dir_ = v; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }
  unsigned Options() const { return options_; }  // TOpenOption bits
  void SetOptions(unsigned v) { options_ = v; }

  // Shows the dialog; true (and FileName set) when the user confirmed.
  virtual bool Execute();

  // The filter as the system wants it: parts separated by NUL characters,
  // the whole ended by two.
  static std::string NativeFilter(const std::string& filter);

 protected:
  bool Run(bool save);

 private:
  std::string filter_;
  int filter_index_ = 1;
  std::string file_name_;
  std::string default_ext_;
  std::string initial_dir_;
  std::string title_;
  unsigned options_ = ofHideReadOnly;
};

class TSaveDialog : public TOpenDialog {
  MV_CLASS(TSaveDialog, TOpenDialog)
 public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override;
};

// Answers file dialogs instead of the user: gets the dialog and whether it
// saves; returns whether it was confirmed (after setting FileName).
using TFileDialogHook = std::function<bool(TOpenDialog& dialog, bool save)>;
TFileDialogHook SetFileDialogHook(TFileDialogHook hook);

// --- Resources, folders, settings --------------------------------------------------

// The bytes of resource `name` of `type` (RT_RCDATA when null) in the module;
// false when there is none.
bool LoadResourceBytes(HINSTANCE instance, const char* name, std::vector<uint8_t>& out,
                       const char* type = nullptr);
// The folder of the running program, with a trailing backslash.
std::string ProgramFolder();
// The system's folder for temporary files, with a trailing backslash.
std::string TempFolder();

// A settings file in the system's INI format, read and written one key at a
// time through the private-profile API. Give it a full path.
class TProfileFile {
 public:
  explicit TProfileFile(std::string path) : path_(std::move(path)) {}
  const std::string& FileName() const { return path_; }
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // A whole decimal or "0x" hexadecimal number; `default_value` otherwise.
  int ReadInteger(const std::string& section, const std::string& key, int default_value) const;
  void WriteInteger(const std::string& section, const std::string& key, int value);
  bool ReadBool(const std::string& section, const std::string& key, bool default_value) const;
  void WriteBool(const std::string& section, const std::string& key, bool value);
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  std::vector<std::string> ReadSection(const std::string& section) const;  // key names
  std::vector<std::string> ReadSections() const;
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);

 private:
  std::string path_;
};
