// The conversion dialog and the import dialog driven as a user drives them:
// the file dialogs answered through the framework's hook, the dialogs'
// buttons and check boxes clicked with real input from a timer that runs
// inside their modal loops, and the main window read back afterwards.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "convert_dialog.h"
#include "editor_window_test.h"
#include "format/file_io.h"
#include "framework/screen_shot.h"
#include "import_dialog.h"
#include "main_form.h"
#include "pe_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace real_input;
using namespace editor_window_test;

const char* const kLightStyle =
    "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\light.msstyles";

// Steps run from a thread timer, so they also run inside a dialog's modal
// loop: each waits until its condition holds, then acts once.
struct TStep {
  std::function<bool()> Ready;
  std::function<void()> Act;
};
std::vector<TStep>* g_steps = nullptr;
size_t g_next_step = 0;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_steps || g_next_step >= g_steps->size()) return;
  TStep& step = (*g_steps)[g_next_step];
  if (!step.Ready()) return;
  ++g_next_step;
  step.Act();
}

class TScript {
 public:
  explicit TScript(std::vector<TStep> steps) : steps_(std::move(steps)) {
    g_steps = &steps_;
    g_next_step = 0;
    timer_ = SetTimer(nullptr, 0, 100, RunSteps);
  }
  ~TScript() {
    KillTimer(nullptr, timer_);
    g_steps = nullptr;
  }
  TScript(const TScript&) = delete;
  TScript& operator=(const TScript&) = delete;
  size_t Done() const { return g_next_step; }

 private:
  std::vector<TStep> steps_;
  UINT_PTR timer_;
};

// A press and release at a client point of a control, without handling
// messages (the modal loop that runs the step does that).
void ClickControl(TControl* control, POINT client) {
  const POINT at = control->ClientToScreen(client);
  INPUT in[3] = {MouseInput(at, 0), MouseInput(at, MOUSEEVENTF_LEFTDOWN),
                 MouseInput(at, MOUSEEVENTF_LEFTUP)};
  SendInput(3, in, sizeof(INPUT));
}

void ClickCentre(TControl* control) {
  ClickControl(control, POINT{control->Width() / 2, control->Height() / 2});
}

template <class T>
T* OpenDialog() {
  for (TCustomForm* f : Application->Forms()) {
    if (auto* d = dynamic_cast<T*>(f); d && d->Visible() && IsWindowEnabled(d->Handle())) return d;
  }
  return nullptr;
}

// Photographs the main window with the dialog over it when MV_SHOT_DIR names
// a folder (for looking at the dialogs; the tests do not depend on it).
void Photograph(TCustomForm* main, TCustomForm* dialog, const char* name) {
  const char* dir = std::getenv("MV_SHOT_DIR");
  if (!dir || !*dir) return;
  if (dialog) dialog->Update();
  main->Update();
  SaveScreenAround(main->Handle(), 0, 0, std::string(dir) + "\\" + name);
}

std::vector<std::string> TopNodes(TTreeView* tree) {
  std::vector<std::string> top;
  for (int i = 0; i < tree->Items()->Count(); ++i)
    if (!tree->Items()->Item(i)->Parent()) top.push_back(tree->Items()->Item(i)->Text());
  return top;
}

// A style file with one variant whose push-button frame count is no number:
// the conversion fails.
std::vector<uint8_t> FailingStyle() {
  const std::string theme = "[Button.PushButton]\r\nImageFile=push.bmp\r\nImageCount=many\r\n";
  return pe::Build({{pe::K("TEXTFILE"), pe::K("NORMALGREEN_INI"), 0, pe::TextResource(theme)},
                    {pe::K(2), pe::K("PUSH_BMP"), 0, pe::SolidDib(8, 40, 0x808080)}})
      .Bytes;
}

class ConvertImport : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("mv_convert_" + std::to_string(GetCurrentProcessId()) +
                                           "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    MouseAt(POINT{1, 1}, 0);
    form_ = new TMainfm(nullptr, folder_.string());
    form_->AfterConstruction();
    form_->SetWindowState(TWindowState::wsNormal);
    form_->SetBounds(0, 0, 1100, 800);
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Pump(20);
    mine_ = Write("mine.skn", DefaultSkinWith({{"Colours", "ButtonFace", "1 2 3"}}));
    form_->OpenSkinFile(mine_);
  }
  void TearDown() override {
    MouseAt(POINT{1, 1}, MOUSEEVENTF_LEFTUP);
    SetFileDialogHook(nullptr);
    TImportFm::SourceFile().clear();
    CloseEditor(form_, folder_);
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return WriteTestFile(folder_, name, bytes);
  }
  // The file dialog answers with `path` and remembers how it was asked.
  void AnswerFileDialog(const std::string& path) {
    SetFileDialogHook([this, path](TOpenDialog& d, bool save) {
      asked_filter_ = d.Filter();
      asked_save_ = save;
      d.SetFileName(path);
      return true;
    });
  }
  std::vector<std::string> Packages() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder_))
      if (e.path().extension() == ".skn") out.push_back(e.path().filename().string());
    return out;
  }
  bool GridShows(const std::string& value) const {
    for (int r = 1; r < form_->VL->RowCount(); ++r)
      if (form_->VL->Cells(1, r) == value) return true;
    return false;
  }
  void SelectNode(const std::string& caption) {
    TTreeNodes* items = form_->Tree1->Items();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Item(i)->Text() == caption) form_->Tree1->SetSelected(items->Item(i));
    Pump(3);
  }

  // Opens the import dialog, clears the ticks, ticks all with "+" and
  // imports; `shown_path` gets the path the dialog showed when it opened.
  void ImportAgainWithEveryGroupTicked(std::string& shown_path) {
    TScript again({
        {[] { return OpenDialog<TImportFm>() != nullptr; },
         [&] {
           TImportFm* d = OpenDialog<TImportFm>();
           shown_path = d->FileEd->Text();
           ClickCentre(d->DelBtn);
         }},
        {[] { return !OpenDialog<TImportFm>()->CtrlList->Checked(3); },
         [] { ClickCentre(OpenDialog<TImportFm>()->AddBtn); }},
        {[] { return OpenDialog<TImportFm>()->CtrlList->Checked(3); },
         [] { ClickCentre(OpenDialog<TImportFm>()->ImportBtn); }},
    });
    form_->ImportBtn->Click();
    EXPECT_EQ(again.Done(), 3u);
  }

  fs::path folder_;
  TMainfm* form_ = nullptr;
  std::string mine_;
  std::string asked_filter_;
  bool asked_save_ = false;
};

TEST_F(ConvertImport, LightStyleConvertsThroughTheDialogAndOpens) {
  if (!FileExists(kLightStyle)) GTEST_SKIP() << kLightStyle << " is not installed";
  form_->Document().SetModified(true);
  AnswerFileDialog(kLightStyle);
  TMessageBoxLog boxes(IDNO);  // the open skin's changes are not saved
  std::vector<std::string> listed;
  int selected = -1;
  TScript script({{[&] { return OpenDialog<TConvertFm>() != nullptr; },
                   [&] {
                     TConvertFm* d = OpenDialog<TConvertFm>();
                     for (int i = 0; i < d->ListBox1->Items()->Count(); ++i)
                       listed.push_back(d->ListBox1->Items()->Strings(i));
                     selected = d->ListBox1->ItemIndex();
                     Photograph(form_, d, "convert_dialog.bmp");
                     ClickCentre(d->Button1);
                   }}});
  form_->MsBtn->Click();
  EXPECT_EQ(script.Done(), 1u);
  EXPECT_EQ(asked_filter_, "Skin files (*.msstyles)|*.msstyles");
  EXPECT_EQ(listed, std::vector<std::string>{"BLUE_INI"});
  EXPECT_EQ(selected, 0);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].Text, "Skin file has been modified, Save it ?");

  const std::string package = (folder_ / "light-BLUE.skn").string();
  EXPECT_TRUE(FileExists(package));
  EXPECT_EQ(form_->CurrentSkinFile(), package);
  EXPECT_EQ(form_->Caption(), package);
  EXPECT_FALSE(form_->Modified());
  EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "ButtonFace", ""), "245 245 245");
  EXPECT_EQ(TopNodes(form_->Tree1), (std::vector<std::string>{"Border", "Title Button", "Control",
                                                              "Colors", "Preset Colors"}));
  EXPECT_GT(form_->TitleButtonNode->Count(), 0);
  SelectNode("Colors");
  EXPECT_TRUE(GridShows("245 245 245"));
  Pump(10);
  Photograph(form_, nullptr, "converted_light.bmp");
}

TEST_F(ConvertImport, ABadStyleFileSaysWhyAndOpensNothing) {
  pe::Options no_resources;
  no_resources.SectionName = ".data";
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;  // empty: no such file
    std::string text;            // the error box's text begins so
  } cases[] = {
      {"junk.msstyles", {'M', 'Z', 'j', 'u', 'n', 'k'}, "Not a PE"},
      {"bare.msstyles", pe::Build({}, no_resources).Bytes, "No resources in this file."},
      {"gone.msstyles", {}, "Couldn't open: "},
      {"Broken.msstyles", FailingStyle(), "The visual style was not converted: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (folder_ / c.name).string();
    if (!c.bytes.empty()) Write(c.name, c.bytes);
    AnswerFileDialog(path);
    TMessageBoxLog boxes;
    int listed = -1;
    TScript script({{[&] { return OpenDialog<TConvertFm>() != nullptr; },
                     [&] {
                       TConvertFm* d = OpenDialog<TConvertFm>();
                       listed = d->ListBox1->Items()->Count();
                       ClickCentre(d->Button1);
                     }}});
    form_->ImportMsstylefile1->Click();
    EXPECT_EQ(script.Done(), 1u);
    EXPECT_EQ(listed, c.text.rfind("The visual", 0) == 0 ? 1 : 0);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text.rfind(c.text, 0), 0u) << boxes.Calls()[0].Text;
    EXPECT_NE(boxes.Calls()[0].Flags & MB_ICONSTOP, 0u);
    EXPECT_EQ(Packages(), std::vector<std::string>{"mine.skn"});
    EXPECT_EQ(form_->CurrentSkinFile(), mine_);
    EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "ButtonFace", ""), "1 2 3");
  }
}

TEST_F(ConvertImport, UnreadableImagesAreReportedTogetherAndTheSkinStillOpens) {
  // Twelve image resources that are no bitmaps: one box names the first ten.
  std::string theme;
  std::vector<pe::Resource> resources;
  const char* const sections[] = {
      "Button.PushButton", "Button.CheckBox",    "Button.RadioButton", "Tab.TabItem",
      "Tab.Pane",          "Progress.Bar",       "Progress.Chunk",     "ComboBox.DropDownButton",
      "Header.HeaderItem", "ScrollBar.ArrowBtn", "Window.FrameLeft",   "Window.FrameRight"};
  for (const char* section : sections) {
    std::string name = section;
    for (char& c : name)
      c = c == '.' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    theme += std::string("[") + section + "]\r\nImageFile=" + name + ".bmp\r\nImageFile1=" + name +
             ".bmp\r\nImageCount=1\r\n";
    resources.push_back({pe::K(2), pe::K((name + "_BMP").c_str()), 0, {'j', 'u', 'n', 'k'}});
  }
  resources.push_back({pe::K("TEXTFILE"), pe::K("NORMALGREEN_INI"), 0, pe::TextResource(theme)});
  AnswerFileDialog(Write("Junk.msstyles", pe::Build(resources).Bytes));
  TMessageBoxLog boxes;
  TScript script({{[] { return OpenDialog<TConvertFm>() != nullptr; },
                   [] { ClickCentre(OpenDialog<TConvertFm>()->Button1); }}});
  form_->MsBtn->Click();
  EXPECT_EQ(script.Done(), 1u);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  const std::string& text = boxes.Calls()[0].Text;
  EXPECT_EQ(text.rfind("Read Image error:", 0), 0u) << text;
  EXPECT_NE(text.find("... and "), std::string::npos) << text;
  EXPECT_EQ(form_->CurrentSkinFile(), (folder_ / "Junk-GREEN.skn").string());
}

TEST_F(ConvertImport, TickedGroupsComeFromTheChosenPackage) {
  const std::string source =
      Write("source.skn", DefaultSkinWith({{"Colours", "ButtonFace", "9 8 7"},
                                           {"Colours", "Menu", "5 5 5"},
                                           {"Personality", "TextShift", "77"}}));
  SelectNode("Colors");
  ASSERT_TRUE(GridShows("1 2 3"));
  // The preview of the skin as opened.
  ASSERT_TRUE(PumpUntil([&] { return form_->PhotographCount() > 0; }, 10000));
  const int photographs = form_->PhotographCount();
  const TPixmap preview_before = form_->Image1->Picture()->Bitmap().ToImage();
  AnswerFileDialog(source);
  int ticked_at_start = 0;
  TScript script({
      {[] { return OpenDialog<TImportFm>() != nullptr; },
       [&] {
         TImportFm* d = OpenDialog<TImportFm>();
         for (int i = 0; i < d->CtrlList->Items()->Count(); ++i)
           ticked_at_start += d->CtrlList->Checked(i) ? 1 : 0;
         ClickCentre(d->SpeedButton1);
       }},
      {[] { return OpenDialog<TImportFm>()->FileEd->Text() == TImportFm::SourceFile(); },
       [] { ClickCentre(OpenDialog<TImportFm>()->DelBtn); }},
      {[] { return !OpenDialog<TImportFm>()->CtrlList->Checked(0); },
       [] {
         TCheckListBox* list = OpenDialog<TImportFm>()->CtrlList;
         const RECT r = list->ItemRect(15);  // "Colors", in the second column
         ClickControl(list, POINT{r.left + 6, (r.top + r.bottom) / 2});
       }},
      {[] { return OpenDialog<TImportFm>()->CtrlList->Checked(15); },
       [&] {
         Photograph(form_, OpenDialog<TImportFm>(), "import_dialog.bmp");
         ClickCentre(OpenDialog<TImportFm>()->ImportBtn);
       }},
  });
  TMessageBoxLog boxes;
  form_->ImportBtn->Click();
  EXPECT_EQ(script.Done(), 4u);
  EXPECT_TRUE(boxes.Calls().empty());
  EXPECT_EQ(ticked_at_start, 16);
  EXPECT_EQ(asked_filter_, "Skin files (*.skn)|*.skn");
  EXPECT_EQ(TImportFm::SourceFile(), source);
  const TMemIniFile& ini = form_->Document().Ini();
  EXPECT_EQ(ini.ReadString("Colours", "ButtonFace", ""), "9 8 7");
  EXPECT_NE(ini.ReadString("Colours", "Menu", ""), "5 5 5");  // "Menuitem" was not ticked
  // The grid shows the element that was selected, with the imported value.
  ASSERT_NE(form_->Tree1->Selected(), nullptr);
  EXPECT_EQ(form_->Tree1->Selected()->Text(), "Colors");
  EXPECT_TRUE(GridShows("9 8 7"));
  // The preview refresh wrote the changed skin and photographs it anew.
  EXPECT_FALSE(form_->Modified());
  EXPECT_EQ(IniOf(mine_).ReadString("Colours", "ButtonFace", ""), "9 8 7");
  ASSERT_TRUE(PumpUntil([&] { return form_->PhotographCount() > photographs; }, 10000));
  const TPixmap preview_after = form_->Image1->Picture()->Bitmap().ToImage();
  EXPECT_FALSE(preview_after.Width == preview_before.Width &&
               preview_after.Height == preview_before.Height &&
               preview_after.Pixels == preview_before.Pixels);

  // Opened again, the dialog starts with an empty path but imports from
  // the package chosen before; "+" ticks every group.
  std::string shown_path = "-";
  ImportAgainWithEveryGroupTicked(shown_path);
  EXPECT_EQ(shown_path, "");
  EXPECT_EQ(ini.ReadString("Colours", "Menu", ""), "5 5 5");
  EXPECT_EQ(ini.ReadString("Personality", "TextShift", ""), "77");
}

TEST_F(ConvertImport, ASourceThatCannotBeOpenedSaysWhyAndImportsNothing) {
  const std::string junk = Write("junk.skn", {'n', 'o', 't', ' ', 'a', ' ', 's', 'k', 'n'});
  AnswerFileDialog(junk);
  TScript script({
      {[] { return OpenDialog<TImportFm>() != nullptr; },
       [] { ClickCentre(OpenDialog<TImportFm>()->SpeedButton1); }},
      {[] { return !OpenDialog<TImportFm>()->FileEd->Text().empty(); },
       [] { ClickCentre(OpenDialog<TImportFm>()->ImportBtn); }},
  });
  TMessageBoxLog boxes;
  const std::vector<uint8_t> before = form_->Document().PackageBytes();
  form_->ImportBtn->Click();
  EXPECT_EQ(script.Done(), 2u);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].Text.rfind("Cannot import from \"" + junk + "\": ", 0), 0u)
      << boxes.Calls()[0].Text;
  EXPECT_EQ(OpenDialog<TImportFm>(), nullptr);  // closed all the same
  EXPECT_EQ(form_->Document().PackageBytes(), before);
  EXPECT_EQ(IniOf(mine_).ReadString("Colours", "ButtonFace", ""), "1 2 3");
}

}  // namespace
