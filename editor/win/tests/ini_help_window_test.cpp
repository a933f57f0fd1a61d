// The INI viewer and the help authoring commands driven as a user drives
// them: the viewer opened from the tool bar, typed into and closed with its
// buttons while it runs its own message loop; help entries written from the
// help pane; the package, the help file and the help pane read back. Also
// which reads of an old package tell the user about it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/help_text.h"
#include "editor/ini_viewer.h"
#include "editor_window_test.h"
#include "format/file_io.h"
#include "format/lzh.h"
#include "format/skin_package.h"
#include "ini_viewer.h"
#include "main_form.h"
#include "real_input.h"

// The engine's component loading a package file (engine_read_probe.cpp);
// whether it took the skin.
bool EngineLoadsSkinFile(const std::string& path);

namespace {

namespace fs = std::filesystem;
using namespace real_input;
using namespace editor_window_test;

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes;
  ReadFileBytes(path, bytes);
  return std::string(bytes.begin(), bytes.end());
}

size_t EntryCount(const std::string& help) {
  size_t n = 0;
  for (size_t at = help.find("<*"); at != std::string::npos; at = help.find("<*", at + 2))
    ++n;
  return n;
}

// The INI viewer while it runs modally, or null.
TIniFm* OpenViewer() {
  for (TCustomForm* f : Application->Forms())
    if (auto* viewer = dynamic_cast<TIniFm*>(f); viewer && viewer->Modal() && viewer->Visible())
      return viewer;
  return nullptr;
}

// Steps run from a thread timer, so they run inside the viewer's modal loop:
// each waits for its condition, then acts once with input sent unpumped.
// A viewer still up when the script gives up is cancelled, so a failing
// test ends instead of hanging.
struct TStep {
  std::function<bool()> Ready;
  std::function<void()> Act;
};

class TViewerScript {
 public:
  explicit TViewerScript(std::vector<TStep> steps) : steps_(std::move(steps)) {
    current_ = this;
    deadline_ = GetTickCount() + 20000;
    timer_ = SetTimer(nullptr, 0, 100, Run);
  }
  ~TViewerScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  size_t Done() const { return next_; }

 private:
  static void CALLBACK Run(HWND, UINT, UINT_PTR, DWORD) {
    TViewerScript* s = current_;
    if (!s) return;
    if (GetTickCount() > s->deadline_) {
      if (TIniFm* viewer = OpenViewer()) viewer->SetModalResult(mrCancel);
      return;
    }
    if (s->next_ >= s->steps_.size() || !s->steps_[s->next_].Ready()) return;
    s->steps_[s->next_++].Act();
  }
  static inline TViewerScript* current_ = nullptr;
  std::vector<TStep> steps_;
  size_t next_ = 0;
  DWORD deadline_;
  UINT_PTR timer_;
};

void SendClick(POINT screen) {
  INPUT click[3] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                    MouseInput(screen, MOUSEEVENTF_LEFTUP)};
  SendInput(3, click, sizeof(INPUT));
}

void SendText(const std::string& text) {
  std::vector<INPUT> in;
  for (char ch : text) {
    const SHORT code = VkKeyScanA(ch);
    auto add = [&](WORD k, bool up) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = k;
      i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      in.push_back(i);
    };
    const bool shift = (HIBYTE(code) & 1) != 0;
    if (shift) add(VK_SHIFT, false);
    add(LOBYTE(code), false);
    add(LOBYTE(code), true);
    if (shift) add(VK_SHIFT, true);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// The default skin under a package version that no reader knows.
std::vector<uint8_t> OlderPackage() {
  const std::vector<uint8_t> package = DefaultSkinWith({});
  const uint32_t size =
      static_cast<uint32_t>(package[0] | package[1] << 8 | package[2] << 16 | package[3] << 24);
  TLzhUnpacked body = LzhUnpack(std::span<const uint8_t>(package).subspan(4), size);
  EXPECT_EQ(body.Bytes.size(), size);
  const uint32_t version = 10000;
  for (int i = 0; i < 4; ++i)
    body.Bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(version >> (8 * i));
  std::vector<uint8_t> out(package.begin(), package.begin() + 4);
  const std::vector<uint8_t> coded = LzhPack(body.Bytes);
  out.insert(out.end(), coded.begin(), coded.end());
  return out;
}

POINT Centre(TControl* c) {
  return c->ClientToScreen(POINT{c->Width() / 2, c->Height() / 2});
}

class IniAndHelp : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("mv_inihelp_" + std::to_string(GetCurrentProcessId()) +
                                           "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "bin");
    form_ = new TMainfm(nullptr, (folder_ / "bin").string());
    form_->AfterConstruction();
    form_->SetWindowState(TWindowState::wsNormal);
    form_->SetBounds(0, 0, 1200, 900);
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Pump(20);
  }
  void TearDown() override { CloseEditor(form_, folder_); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return WriteTestFile(folder_, name, bytes);
  }
  void Select(const std::string& caption, int row) {
    TTreeNodes* items = form_->Tree1->Items();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Item(i)->Text() == caption) form_->Tree1->SetSelected(items->Item(i));
    ASSERT_TRUE(PumpUntil([&] { return form_->Element().DisplayName() == caption; })) << caption;
    form_->VL->SetRow(row);
    form_->SelectRow();
  }
  // Opens the viewer with a real click on its tool button and runs `steps`
  // while it is up; true when every step ran and the viewer closed.
  bool RunViewer(std::vector<TStep> steps) {
    const size_t count = steps.size();
    TViewerScript script(std::move(steps));
    ClickAt(form_->ToolBar1->ClientToScreen(
        POINT{form_->IniBtn->Left() + 8, form_->IniBtn->Top() + 8}));
    const bool done = PumpUntil([&] { return script.Done() == count && !OpenViewer(); }, 25000);
    return done && Application->Forms().end() ==
                       std::find_if(Application->Forms().begin(), Application->Forms().end(),
                                    [](TCustomForm* f) { return dynamic_cast<TIniFm*>(f); });
  }
  std::vector<TStep> SeeAndClose(std::vector<std::string>& shown, std::string& caption,
                                 TBitBtn* TIniFm::*button, const std::string& typed) {
    return {
        {[] { return OpenViewer() != nullptr; },
         [&shown, &caption, typed] {
           TIniFm* v = OpenViewer();
           caption = v->StaticText1->Caption();
           TStrings* lines = v->Memo1->Lines();
           for (int i = 0; i < lines->Count(); ++i)
             shown.push_back(lines->Strings(i));
           // Types over the line of LeftWidth.
           const std::string text = v->Memo1->Text();
           const size_t at = text.find("LeftWidth=3");
           v->Memo1->SetFocus();
           v->Memo1->SetSel(static_cast<int>(at), 11);
           SendText(typed);
         }},
        {[typed] { return OpenViewer()->Memo1->Text().find(typed) != std::string::npos; },
         [button] { SendClick(Centre(OpenViewer()->*button)); }},
    };
  }

  fs::path folder_;
  TMainfm* form_ = nullptr;
};

TEST_F(IniAndHelp, TheViewerShowsTheSectionAndSavesTypedLinesIntoThePackage) {
  const std::string path = Write("ini.skn", DefaultSkinWith({{"Buttons", "LeftWidth", "3"}}));
  form_->OpenSkinFile(path);
  Select("Button", 1);
  const std::vector<std::string> section = SectionAsLines(form_->Document().Ini(), "Buttons");
  const TMemIniFile before = IniOf(path);
  std::vector<std::string> shown;
  std::string caption;
  ASSERT_TRUE(RunViewer(SeeAndClose(shown, caption, &TIniFm::BitBtn1, " LeftWidth = 7 ")));
  EXPECT_EQ(caption, "Button2 Section");
  EXPECT_EQ(shown, section);

  // Saved without a question, one LeftWidth key holding the typed value.
  EXPECT_FALSE(form_->Modified());
  const TMemIniFile after = IniOf(path);
  EXPECT_EQ(after.ReadString("Buttons", "LeftWidth", ""), "7");
  std::vector<std::string> keys;
  after.ReadSection("Buttons", keys);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "LeftWidth"), 1);
  std::vector<std::string> sections;
  before.ReadSections(sections);
  for (const std::string& s : sections) {
    before.ReadSection(s, keys);
    for (const std::string& k : keys) {
      if (s != "Buttons" || k != "LeftWidth") {
        EXPECT_EQ(after.ReadString(s, k, "?"), before.ReadString(s, k, "")) << s << "/" << k;
      }
    }
  }
  // The grid shows the new value.
  EXPECT_EQ(form_->VL->Cells(1, 2), "7");
}

TEST_F(IniAndHelp, CancelChangesNothing) {
  const std::string path = Write("cancel.skn", DefaultSkinWith({{"Buttons", "LeftWidth", "3"}}));
  const std::string bytes = ReadText(path);
  form_->OpenSkinFile(path);
  Select("Button", 1);
  const std::string text = form_->Document().Ini().GetText();
  std::vector<std::string> shown;
  std::string caption;
  ASSERT_TRUE(RunViewer(SeeAndClose(shown, caption, &TIniFm::BitBtn2, "LeftWidth=9")));
  EXPECT_FALSE(shown.empty());
  EXPECT_EQ(form_->Document().Ini().GetText(), text);
  EXPECT_FALSE(form_->Modified());
  EXPECT_EQ(ReadText(path), bytes);
  EXPECT_EQ(form_->VL->Cells(1, 2), "3");
}

TEST_F(IniAndHelp, WrittenHelpShowsAtOnceAndGoesToTheHelpFile) {
  form_->OpenSkinFile(Write("help.skn", DefaultSkinWith({})));
  const std::string file = (folder_ / "help.txt").string();
  EXPECT_EQ(form_->HelpFile(), file);
  Select("Tab", 9);  // Style: no help of its own
  ASSERT_EQ(form_->Element().HelpKey(9), "Tab-Style");
  EXPECT_EQ(form_->Memo1->Text(), "");
  const size_t entries = EntryCount(form_->HelpText());
  for (const char* text : {"Tab style\r\n0 = flat", "Tab style\r\n1 = raised"}) {
    form_->Memo1->SetText(text);
    TMessageBoxLog boxes;
    form_->WriteHelp->Click();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, "Add new section in help file !");
    EXPECT_EQ(ReadText(file), form_->HelpText());
    // Shown again as soon as the row is chosen again; the second write
    // replaced the first.
    Select("Tab", 1);
    Select("Tab", 9);
    EXPECT_EQ(form_->Memo1->Text(), std::string(text) + "\r\n");
    EXPECT_EQ(EntryCount(form_->HelpText()), entries + 1);
  }
  // WriteHelp2 adds the node's caption to the key.
  form_->Memo1->SetText("Tab style of the tab");
  {
    TMessageBoxLog boxes;
    form_->WriteHelp2->Click();
  }
  EXPECT_NE(ReadText(file).find("<*Tab-Style-Tab*>\r\nTab style of the tab\r\n"),
            std::string::npos);
  // HelpSave writes the whole help text too.
  DeleteFileIfExists(file);
  TMessageBoxLog boxes;
  form_->HelpSave->OnClick(form_->HelpSave);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].Text, "Save help.txt !");
  EXPECT_EQ(ReadText(file), form_->HelpText());
}

TEST_F(IniAndHelp, AHelpFileThatCannotBeWrittenKeepsTheEntryInMemory) {
  form_->OpenSkinFile(Write("nofile.skn", DefaultSkinWith({})));
  const fs::path file = folder_ / "help.txt";
  fs::create_directories(file);  // a folder where the file should go
  Select("Tab", 9);
  form_->Memo1->SetText("Kept");
  TMessageBoxLog boxes;
  form_->WriteHelp->Click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_NE(boxes.Calls()[0].Text, "Add new section in help file !");
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_EQ(FindHelp(form_->HelpText(), "Tab-Style", "Tab"), "Kept\r\n");
}

TEST_F(IniAndHelp, OnlyTheEditorsReadOfAnOldPackageTellsTheUser) {
  const std::string path = Write("old.skn", OlderPackage());
  const std::string good = Write("good.skn", DefaultSkinWith({}));
  const std::string message = "This is Older Skin File\rPlease update to new version !";
  form_->OpenSkinFile(good);
  for (int round = 0; round < 2; ++round) {
    {
      TMessageBoxLog boxes;
      form_->OpenSkinFile(path);
      ASSERT_EQ(boxes.Calls().size(), 1u);
      EXPECT_EQ(boxes.Calls()[0].Text, message);
      EXPECT_EQ(form_->CurrentSkinFile(), good);
    }
    TMessageBoxLog boxes;
    EXPECT_FALSE(EngineLoadsSkinFile(path));
    EXPECT_TRUE(boxes.Calls().empty());
  }
}

}  // namespace
