// tessaly.exe driven from another process, as a user or an automation tool
// would drive it: the program is started on packages built here from the
// built-in default skin, its windows are found by process, the element tree
// is read item by item through memory allocated in the program, the grid's
// rows come back as its window text, message boxes and file dialogs are
// answered through their buttons, and tessaly.ini is read once it has exited.
//
// Every run gets its own copy of the program in a fresh folder, so the
// settings file it writes next to itself belongs to that run alone.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "default_skin.h"
#include "format/mem_ini.h"
#include "format/skin_package.h"

namespace {

constexpr DWORD kStartTimeout = 20000;  // first window of a fresh program
constexpr DWORD kStepTimeout = 10000;   // anything after that
constexpr UINT kSendTimeout = 5000;     // one message to the program

const char* const kVersionMessage = "Skin format version not support !";
const char* const kSaveQuestion = "Skin file has been modified, Save it ?";
const char* const kWindowColour = "13 57 91";  // [Colours] ButtonFace of the packages made here

const std::vector<std::string> kTopLevelNodes = {"Border", "Title Button", "Control", "Colors",
                                                 "Preset Colors"};

// File dialog controls (dlgs.h).
constexpr int kFileNameCombo = 0x47c;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Polls `done` until it holds or `timeout_ms` passed.
bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeout_ms) return done();
    Sleep(20);
  }
}

std::string ClassOf(HWND h) {
  char name[256] = {};
  GetClassNameA(h, name, sizeof name);
  return name;
}

std::string TitleOf(HWND h) {
  char text[1024] = {};
  GetWindowTextA(h, text, sizeof text);
  return text;
}

// The text the window itself reports for WM_GETTEXT.
std::string ReportedText(HWND h) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &length))
    return "<no answer>";
  std::vector<char> buf(length + 1);
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                           SMTO_ABORTIFHUNG, kSendTimeout, &got))
    return "<no answer>";
  return std::string(buf.data(), std::min<size_t>(got, length));
}

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find("\r\n"));
}

struct TWindowSearch {
  DWORD Pid;
  std::vector<HWND> Found;
};

// Window enumeration callbacks use the system's calling convention, which a
// lambda does not have on 32-bit builds.
BOOL CALLBACK CollectProcessWindow(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<TWindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  if (owner == s->Pid && IsWindowVisible(h)) s->Found.push_back(h);
  return TRUE;
}

BOOL CALLBACK CollectWindow(HWND h, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
  return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
  TWindowSearch search{pid, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindDescendant(HWND parent, const std::string& class_part) {
  for (HWND h : Descendants(parent))
    if (ClassOf(h).find(class_part) != std::string::npos) return h;
  return nullptr;
}

bool IsDialog(HWND h) {
  return ClassOf(h) == "#32770";
}

// What a message box says: the texts of its static controls.
std::vector<std::string> StaticTexts(HWND box) {
  std::vector<std::string> texts;
  for (HWND h : Descendants(box)) {
    if (Lower(ClassOf(h)) != "static") continue;
    std::string text = TitleOf(h);
    if (!text.empty()) texts.push_back(text);
  }
  return texts;
}

bool IsFileDialog(HWND h) {
  return IsDialog(h) && (GetDlgItem(h, kFileNameCombo) || GetDlgItem(h, kFileNameEdit));
}

// The visible top-level windows of a process, for failure messages.
std::string DescribeWindows(DWORD pid) {
  std::string out;
  for (HWND h : TopLevelWindows(pid)) {
    out += "  [" + ClassOf(h) + "] \"" + TitleOf(h) + "\"";
    for (const std::string& t : StaticTexts(h))
      out += " static \"" + t + "\"";
    out += "\n";
  }
  return out.empty() ? "  (no visible windows)\n" : out;
}

// A tree view of another process, read through a buffer allocated in it.
class TRemoteTree {
 public:
  TRemoteTree(HANDLE process, HWND tree) : process_(process), tree_(tree) {
    remote_ =
        VirtualAllocEx(process_, nullptr, kBufferSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~TRemoteTree() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  }
  TRemoteTree(const TRemoteTree&) = delete;
  TRemoteTree& operator=(const TRemoteTree&) = delete;

  bool Valid() const { return remote_ != nullptr; }

  HTREEITEM Next(HTREEITEM item, WPARAM relation) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item),
                             SMTO_ABORTIFHUNG, kSendTimeout, &result))
      return nullptr;
    return reinterpret_cast<HTREEITEM>(result);
  }

  std::vector<HTREEITEM> Roots() const { return Siblings(Next(nullptr, TVGN_ROOT)); }
  std::vector<HTREEITEM> Children(HTREEITEM item) const { return Siblings(Next(item, TVGN_CHILD)); }

  std::string Text(HTREEITEM item) const {
    char* remote_text = static_cast<char*>(remote_) + sizeof(TVITEMA);
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = remote_text;
    tv.cchTextMax = static_cast<int>(kBufferSize - sizeof(TVITEMA));
    const char zero = 0;
    if (!WriteProcessMemory(process_, remote_, &tv, sizeof tv, nullptr) ||
        !WriteProcessMemory(process_, remote_text, &zero, 1, nullptr))
      return "<not written>";
    DWORD_PTR ok = 0;
    if (!SendMessageTimeoutA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_),
                             SMTO_ABORTIFHUNG, kSendTimeout, &ok) ||
        !ok)
      return "<no item>";
    std::vector<char> text(kBufferSize - sizeof(TVITEMA) + 1, '\0');
    if (!ReadProcessMemory(process_, remote_text, text.data(), text.size() - 1, nullptr))
      return "<not read>";
    return std::string(text.data());
  }

  std::vector<std::string> Texts(const std::vector<HTREEITEM>& items) const {
    std::vector<std::string> out;
    for (HTREEITEM i : items)
      out.push_back(Text(i));
    return out;
  }

  HTREEITEM FindRoot(const std::string& text) const {
    for (HTREEITEM i : Roots())
      if (Text(i) == text) return i;
    return nullptr;
  }

  size_t Count() const {
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutA(tree_, TVM_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &n))
      return static_cast<size_t>(-1);
    return n;
  }

 private:
  static constexpr size_t kBufferSize = 4096;

  std::vector<HTREEITEM> Siblings(HTREEITEM first) const {
    std::vector<HTREEITEM> items;
    for (HTREEITEM i = first; i && items.size() < 1000; i = Next(i, TVGN_NEXT))
      items.push_back(i);
    return items;
  }

  HANDLE process_;
  HWND tree_;
  void* remote_ = nullptr;
};

// The built-in default skin with its INI member edited by `edit`; without
// the INI member at all when `edit` is empty.
std::vector<uint8_t> DefaultSkinWith(const std::function<void(TMemIniFile&)>& edit) {
  TSkinReader reader;
  if (!reader.LoadFromStream(DefaultSkinPackage())) return {};
  TSkinWriter writer;
  bool ini_seen = false;
  for (int i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Names()[static_cast<size_t>(i)];
    if (!ini_seen && name.find(".ini") != std::string::npos) {
      ini_seen = true;
      if (!edit) continue;
      TMemIniFile ini;
      ini.LoadFromBytes(reader.Member(i));
      edit(ini);
      writer.AddMember(name, ini.SaveToBytes());
    } else {
      writer.AddMember(name, reader.Member(i));
    }
  }
  return ini_seen ? writer.SaveToBytes() : std::vector<uint8_t>{};
}

std::vector<uint8_t> EditablePackage(int version) {
  return DefaultSkinWith([version](TMemIniFile& ini) {
    ini.WriteInteger("Skins", "Version", version);
    ini.WriteString("Colours", "ButtonFace", kWindowColour);
  });
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == bytes.size();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  uint8_t chunk[65536];
  DWORD got = 0;
  while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  CloseHandle(f);
  return bytes;
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Lowercased names of the files in `folder` matching `pattern`.
std::set<std::string> FilesIn(const std::string& folder, const std::string& pattern) {
  std::set<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((folder + pattern).c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(Lower(fd.cFileName));
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  return names;
}

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(folder + name + "\\");
      } else {
        DeleteFileA((folder + name).c_str());
      }
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

class TessalyProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    static int serial = 0;
    for (;;) {
      folder_ = std::string(temp) + "tessaly_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(++serial) + "\\";
      if (CreateDirectoryA(folder_.c_str(), nullptr)) break;
      ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << folder_;
    }
    exe_ = folder_ + "tessaly.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(TESSALY_EXE).c_str(), exe_.c_str(), FALSE))
        << "copying " << TESSALY_EXE << ": error " << GetLastError();
  }

  void TearDown() override {
    EndProgram();
    RemoveFolder(folder_);
  }

  // Kills the program if it still runs and forgets it.
  void EndProgram() {
    if (!pi_.hProcess) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 99);
      WaitForSingleObject(pi_.hProcess, kStepTimeout);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
    pi_ = {};
  }

  // Starts a fresh run of the program in its folder, which is also the
  // current folder it gets.
  void Start(const std::string& arguments) {
    EndProgram();
    std::string command = "\"" + exe_ + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    ASSERT_TRUE(CreateProcessA(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder_.c_str(), &si, &pi_))
        << "error " << GetLastError();
  }

  bool Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
  }

  // A visible top-level window of the program for which `match` holds.
  HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          for (HWND h : TopLevelWindows(pi_.dwProcessId))
            if (match(h)) {
              found = h;
              return true;
            }
          return !Running();
        },
        timeout);
    return found;
  }

  HWND WaitForTitle(const std::string& title, DWORD timeout = kStartTimeout) {
    return WaitForWindow([&](HWND h) { return !IsDialog(h) && TitleOf(h) == title; }, timeout);
  }

  // The main window: the one that holds the element tree.
  HWND WaitForMainWindow(DWORD timeout = kStartTimeout) {
    return WaitForWindow(
        [](HWND h) { return !IsDialog(h) && FindDescendant(h, "TreeView") != nullptr; }, timeout);
  }

  HWND WaitForMessageBox(const std::string& text, DWORD timeout = kStepTimeout) {
    return WaitForWindow(
        [&](HWND h) {
          if (!IsDialog(h)) return false;
          std::vector<std::string> texts = StaticTexts(h);
          return std::find(texts.begin(), texts.end(), text) != texts.end();
        },
        timeout);
  }

  bool WaitForNoDialog(DWORD timeout = kStepTimeout) {
    return WaitUntil(
        [&] {
          for (HWND h : TopLevelWindows(pi_.dwProcessId))
            if (IsDialog(h)) return false;
          return true;
        },
        timeout);
  }

  // Presses a dialog button the way a click does.
  static bool Press(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) return false;
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != 0;
  }

  bool WaitForExit(DWORD timeout = kStepTimeout) {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeout) == WAIT_OBJECT_0;
  }

  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

  std::string Setting(const char* section, const char* key) const {
    char buf[2048] = {};
    GetPrivateProfileStringA(section, key, "<none>", buf, sizeof buf,
                             (folder_ + "tessaly.ini").c_str());
    return buf;
  }

  std::string Windows() const { return DescribeWindows(pi_.dwProcessId); }

  // Closes the main window of an unmodified skin: the program ends without
  // asking anything.
  void CloseUnmodified(HWND main) {
    ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
    ASSERT_TRUE(WaitForExit()) << "still running after WM_CLOSE; its windows:\n" << Windows();
    EXPECT_EQ(ExitCode(), 0u);
  }

  // The top-level node texts, once the tree shows them.
  std::vector<std::string> WaitForTopLevelNodes(const TRemoteTree& tree) {
    std::vector<std::string> roots;
    WaitUntil(
        [&] {
          roots = tree.Texts(tree.Roots());
          return roots == kTopLevelNodes;
        },
        kStepTimeout);
    return roots;
  }

  std::string folder_, exe_;
  PROCESS_INFORMATION pi_{};
};

TEST_F(TessalyProgram, OpensThePackageNamedOnTheCommandLineByItsFullPath) {
  ASSERT_TRUE(WriteBytes(folder_ + "blue.skn", EditablePackage(150)));
  const std::string package = folder_ + "blue.skn";
  Start("blue.skn");  // relative to the program's current folder
  ASSERT_FALSE(HasFatalFailure());

  HWND main = WaitForTitle(package);
  ASSERT_TRUE(main) << "no window titled " << package << "; windows:\n" << Windows();
  for (HWND h : TopLevelWindows(pi_.dwProcessId))
    EXPECT_FALSE(IsDialog(h)) << "a dialog came up:\n" << Windows();

  HWND tree_window = FindDescendant(main, "TreeView");
  ASSERT_TRUE(tree_window);
  TRemoteTree tree(pi_.hProcess, tree_window);
  ASSERT_TRUE(tree.Valid());
  EXPECT_EQ(WaitForTopLevelNodes(tree), kTopLevelNodes);
  HTREEITEM border = tree.FindRoot("Border");
  ASSERT_TRUE(border);
  const std::vector<std::string> border_children = tree.Texts(tree.Children(border));
  ASSERT_FALSE(border_children.empty());
  EXPECT_EQ(border_children.front(), "Top Border");

  HWND grid = FindDescendant(main, "TValueListEditor");
  ASSERT_TRUE(grid);
  EXPECT_EQ(ReportedText(grid).find("Window Color="), std::string::npos)
      << "the grid shows the colours before they were chosen";

  HTREEITEM colours = tree.FindRoot("Colors");
  ASSERT_TRUE(colours);
  DWORD_PTR selected = 0;
  ASSERT_TRUE(SendMessageTimeoutA(tree_window, TVM_SELECTITEM, TVGN_CARET,
                                  reinterpret_cast<LPARAM>(colours), SMTO_ABORTIFHUNG, kSendTimeout,
                                  &selected));
  EXPECT_TRUE(selected);
  EXPECT_EQ(tree.Next(nullptr, TVGN_CARET), colours);
  const std::string expected_row = std::string("Window Color=") + kWindowColour;
  std::string rows;
  WaitUntil(
      [&] {
        rows = ReportedText(grid);
        return FirstLine(rows) == expected_row;
      },
      kStepTimeout);
  EXPECT_EQ(FirstLine(rows), expected_row) << "grid rows:\n" << rows;

  CloseUnmodified(main);
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(Setting("SkinFile", "Filename"), package);
  EXPECT_EQ(Setting("FileList", "File1"), package);
  EXPECT_EQ(Setting("FileList", "File2"), "<none>");
}

TEST_F(TessalyProgram, KeepsTheRecentPackagesLatestFirst) {
  ASSERT_TRUE(WriteBytes(folder_ + "first.skn", EditablePackage(200)));
  ASSERT_TRUE(WriteBytes(folder_ + "second.skn", EditablePackage(200)));
  for (const char* name : {"first.skn", "second.skn"}) {
    Start(std::string("--no-splash ") + name);
    ASSERT_FALSE(HasFatalFailure());
    HWND main = WaitForTitle(folder_ + name);
    ASSERT_TRUE(main) << name << " did not open; windows:\n" << Windows();
    CloseUnmodified(main);
    ASSERT_FALSE(HasFatalFailure());
  }
  EXPECT_EQ(Setting("SkinFile", "Filename"), folder_ + "second.skn");
  EXPECT_EQ(Setting("FileList", "File1"), folder_ + "second.skn");
  EXPECT_EQ(Setting("FileList", "File2"), folder_ + "first.skn");
  EXPECT_EQ(Setting("FileList", "File3"), "<none>");
}

struct TRefusedCase {
  const char* Name;
  std::function<std::vector<uint8_t>()> Package;
};

void PrintTo(const TRefusedCase& c, std::ostream* os) {
  *os << c.Name;
}

class TessalyRefusedPackage : public TessalyProgram,
                              public ::testing::WithParamInterface<TRefusedCase> {};

TEST_P(TessalyRefusedPackage, SaysSoAndOpensNothing) {
  const std::string package = folder_ + "refused.skn";
  const std::vector<uint8_t> bytes = GetParam().Package();
  ASSERT_FALSE(bytes.empty());
  ASSERT_TRUE(WriteBytes(package, bytes));
  Start("--no-splash \"" + package + "\"");
  ASSERT_FALSE(HasFatalFailure());

  HWND box = WaitForMessageBox(kVersionMessage, kStartTimeout);
  ASSERT_TRUE(box) << "no message box; windows:\n" << Windows();
  EXPECT_EQ(StaticTexts(box), std::vector<std::string>{kVersionMessage});
  ASSERT_TRUE(Press(box, IDOK));
  ASSERT_TRUE(WaitForNoDialog()) << Windows();

  HWND main = WaitForMainWindow();
  ASSERT_TRUE(main) << Windows();
  EXPECT_NE(TitleOf(main), package);
  EXPECT_EQ(TitleOf(main).find("refused.skn"), std::string::npos) << TitleOf(main);
  HWND tree_window = FindDescendant(main, "TreeView");
  ASSERT_TRUE(tree_window);
  TRemoteTree tree(pi_.hProcess, tree_window);
  EXPECT_EQ(tree.Count(), 0u) << "a refused package built a tree";

  CloseUnmodified(main);
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(Setting("SkinFile", "Filename"), "");
  // The path the user asked for stays in the recent list (as it does when
  // the package reader refuses a file), even though nothing opened.
  EXPECT_EQ(Setting("FileList", "File1"), package);
  EXPECT_EQ(ReadBytes(package), bytes) << "the refused package was rewritten";
}

INSTANTIATE_TEST_SUITE_P(
    Packages, TessalyRefusedPackage,
    ::testing::Values(TRefusedCase{"Version149", [] { return EditablePackage(149); }},
                      TRefusedCase{"NoIniMember", [] { return DefaultSkinWith(nullptr); }}),
    [](const ::testing::TestParamInfo<TRefusedCase>& p) { return p.param.Name; });

class TessalyNewSkin : public TessalyProgram {
 protected:
  std::string Untitle() const { return folder_ + "Untitle.skn"; }

  // Starts on the built-in default skin and returns the main window.
  HWND StartNew() {
    Start("--new --no-splash");
    if (HasFatalFailure()) return nullptr;
    HWND main =
        WaitForWindow([&](HWND h) { return !IsDialog(h) && Lower(TitleOf(h)) == Lower(Untitle()); },
                      kStartTimeout);
    EXPECT_TRUE(main) << "no window titled " << Untitle() << "; windows:\n" << Windows();
    return main;
  }

  HWND CloseAndExpectQuestion(HWND main) {
    EXPECT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
    HWND box = WaitForMessageBox(kSaveQuestion);
    EXPECT_TRUE(box) << "no question on closing a modified skin; windows:\n" << Windows();
    if (box) {
      EXPECT_EQ(StaticTexts(box), std::vector<std::string>{kSaveQuestion});
    }
    return box;
  }
};

TEST_F(TessalyNewSkin, ClosingAsksAndNoDiscardsTheChanges) {
  HWND main = StartNew();
  ASSERT_TRUE(main);
  ASSERT_TRUE(FileExists(Untitle()));
  const std::vector<uint8_t> untitle = ReadBytes(Untitle());
  {
    TSkinReader reader;
    EXPECT_TRUE(reader.LoadFromStream(untitle)) << reader.LastError();
  }
  TRemoteTree tree(pi_.hProcess, FindDescendant(main, "TreeView"));
  EXPECT_EQ(WaitForTopLevelNodes(tree), kTopLevelNodes);

  HWND box = CloseAndExpectQuestion(main);
  ASSERT_TRUE(box);
  ASSERT_TRUE(Press(box, IDNO));
  ASSERT_TRUE(WaitForExit()) << "still running after answering No; windows:\n" << Windows();
  EXPECT_EQ(ExitCode(), 0u);

  EXPECT_EQ(FilesIn(folder_, "*.skn"), std::set<std::string>{"untitle.skn"});
  EXPECT_EQ(ReadBytes(Untitle()), untitle) << "answering No saved the skin";
  EXPECT_EQ(Lower(Setting("SkinFile", "Filename")), Lower(Untitle()));
  EXPECT_EQ(Setting("FileList", "File1"), "<none>") << "the new skin went into the recent list";
}

TEST_F(TessalyNewSkin, CancellingTheSaveDialogKeepsTheProgramOpen) {
  HWND main = StartNew();
  ASSERT_TRUE(main);
  HWND box = CloseAndExpectQuestion(main);
  ASSERT_TRUE(box);
  ASSERT_TRUE(Press(box, IDYES));

  // An untitled skin needs a file name first.
  HWND dialog = WaitForWindow([](HWND h) { return IsFileDialog(h); }, kStepTimeout);
  ASSERT_TRUE(dialog) << "no save dialog after Yes; windows:\n" << Windows();
  ASSERT_TRUE(Press(dialog, IDCANCEL));
  ASSERT_TRUE(WaitForNoDialog()) << Windows();
  EXPECT_TRUE(Running());
  EXPECT_TRUE(IsWindow(main));
  EXPECT_TRUE(IsWindowVisible(main));

  // Still modified: closing asks again.
  box = CloseAndExpectQuestion(main);
  ASSERT_TRUE(box);
  ASSERT_TRUE(Press(box, IDNO));
  ASSERT_TRUE(WaitForExit()) << Windows();
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(FilesIn(folder_, "*.skn"), std::set<std::string>{"untitle.skn"});
  EXPECT_EQ(Lower(Setting("SkinFile", "Filename")), Lower(Untitle()));
}

TEST_F(TessalyNewSkin, APackageOpenedAfterTheNewSkinGoesIntoTheRecentList) {
  const std::string package = folder_ + "opened.skn";
  ASSERT_TRUE(WriteBytes(package, EditablePackage(200)));
  HWND main = StartNew();
  ASSERT_TRUE(main);

  // The tool bar's Open button, pressed as the tool bar reports a click.
  HWND toolbar = FindDescendant(main, "ToolBar");
  ASSERT_TRUE(toolbar);
  int open_id = -1;
  {
    void* remote =
        VirtualAllocEx(pi_.hProcess, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_TRUE(remote);
    DWORD_PTR count = 0;
    SendMessageTimeoutA(toolbar, TB_BUTTONCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &count);
    for (WPARAM i = 0; i < count && open_id < 0; ++i) {
      DWORD_PTR ok = 0;
      TBBUTTON button{};
      if (!SendMessageTimeoutA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(remote),
                               SMTO_ABORTIFHUNG, kSendTimeout, &ok) ||
          !ok || !ReadProcessMemory(pi_.hProcess, remote, &button, sizeof button, nullptr))
        continue;
      DWORD_PTR length = 0;
      char text[64] = {};
      if (SendMessageTimeoutA(toolbar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand),
                              reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, kSendTimeout,
                              &length) &&
          static_cast<LONG_PTR>(length) > 0 && length < sizeof text &&
          ReadProcessMemory(pi_.hProcess, remote, text, length, nullptr) &&
          std::string(text) == "Open")
        open_id = button.idCommand;
    }
    VirtualFreeEx(pi_.hProcess, remote, 0, MEM_RELEASE);
  }
  ASSERT_GE(open_id, 0) << "no Open button on the tool bar";
  ASSERT_TRUE(PostMessageA(GetParent(toolbar), WM_COMMAND,
                           MAKEWPARAM(static_cast<WORD>(open_id), BN_CLICKED),
                           reinterpret_cast<LPARAM>(toolbar)));

  // The new skin is modified: first the question, then the file dialog.
  HWND box = WaitForMessageBox(kSaveQuestion);
  ASSERT_TRUE(box) << "no question before opening; windows:\n" << Windows();
  ASSERT_TRUE(Press(box, IDNO));
  HWND dialog = WaitForWindow([](HWND h) { return IsFileDialog(h); }, kStepTimeout);
  ASSERT_TRUE(dialog) << "no open dialog; windows:\n" << Windows();
  HWND name_field = GetDlgItem(dialog, kFileNameEdit);
  if (HWND combo = GetDlgItem(dialog, kFileNameCombo))
    if (HWND edit = FindDescendant(combo, "Edit")) name_field = edit;
  ASSERT_TRUE(name_field);
  DWORD_PTR set = 0;
  ASSERT_TRUE(SendMessageTimeoutA(name_field, WM_SETTEXT, 0,
                                  reinterpret_cast<LPARAM>(package.c_str()), SMTO_ABORTIFHUNG,
                                  kSendTimeout, &set));
  ASSERT_TRUE(Press(dialog, IDOK));

  main = WaitForTitle(package, kStepTimeout);
  ASSERT_TRUE(main) << package << " did not open; windows:\n" << Windows();
  CloseUnmodified(main);
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(Setting("SkinFile", "Filename"), package);
  EXPECT_EQ(Setting("FileList", "File1"), package)
      << "a package opened while the new skin was showing is missing from the recent list";
}

}  // namespace
