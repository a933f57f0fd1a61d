// Check Skin and the live preview driven as a user drives them: a skin with
// faults of our own is checked through the tool bar, a double click on a
// finding selects its element and row; with the live preview on, a value
// typed into the grid reaches the photograph without the package being
// written, and the option outlives the window.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "check_dialog.h"
#include "editor_window_test.h"
#include "format/bmp.h"
#include "format/file_io.h"
#include "main_form.h"
#include "real_input.h"
#include "sample_form.h"

namespace {

namespace fs = std::filesystem;
using namespace editor_window_test;
using real_input::Key;
using real_input::Type;

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadFileBytes(path, bytes)) << path;
  return bytes;
}

class CheckAndLive : public ::testing::Test {
 protected:
  void SetUp() override {
    real_input::MouseAt({2, 2}, 0);
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("mv_check_" + std::to_string(GetCurrentProcessId()) +
                                           "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    form_ = NewWindow();
  }
  void TearDown() override { CloseEditor(form_, folder_); }
  TMainfm* NewWindow() {
    auto* form = new TMainfm(nullptr, folder_.string());
    form->AfterConstruction();
    form->SetWindowState(TWindowState::wsNormal);
    form->SetBounds(0, 0, 1200, 900);
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(20);
    return form;
  }
  // Frees the window as closing the program frees it, keeping the folder.
  void FreeWindow() {
    TMessageBoxLog quiet(IDNO);
    form_->OnCloseQuery = nullptr;
    form_->Free();
    form_ = nullptr;
    Pump(5);
  }
  void ClickToolButton(TToolButton* b) {
    ClickAt(form_->ToolBar1->ClientToScreen(POINT{b->Left() + 8, b->Top() + 8}));
  }
  void ClickNode(const std::string& caption) {
    TTreeNode* node = TreeNodeOf(form_->Tree1, caption);
    ASSERT_NE(node, nullptr) << caption;
    ClickAt(TreeNodeCentre(form_->Tree1, node));
    ASSERT_TRUE(PumpUntil([&] { return form_->Tree1->Selected() == node; })) << caption;
  }
  std::string SelectedCaption() const {
    TTreeNode* node = form_->Tree1->Selected();
    return node ? node->Text() : std::string();
  }
  // The list row of the finding about `section` and `key`, -1 when none.
  int FindingRow(const std::string& section, const std::string& key) const {
    TListView* list = form_->CheckForm()->FindingList;
    for (int i = 0; i < list->ItemCount(); ++i)
      if (list->ItemText(i, 1) == section && list->ItemText(i, 2) == key) return i;
    return -1;
  }
  // The test's windows have no owner, so the main window, once active,
  // covers the Check Skin window: the user brings it forward first.
  void BringCheckForward() {
    SetForegroundWindow(form_->CheckForm()->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form_->CheckForm()->Handle(); }));
  }
  void DoubleClickFinding(int row) {
    BringCheckForward();
    TListView* list = form_->CheckForm()->FindingList;
    SendMessageA(list->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT r{};
    r.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(&r)));
    DoubleClickAt(list->ClientToScreen(POINT{r.left + 10, (r.top + r.bottom) / 2}));
  }
  std::string Note() const { return form_->SB->Panels(TMainfm::kNotePanel)->Text(); }
  bool PhotographTaken(int count) {
    return PumpUntil([&] {
      return form_->PhotographCount() >= count && form_->SampleForm() &&
             !form_->SampleForm()->Visible();
    });
  }

  fs::path folder_;
  TMainfm* form_ = nullptr;
};

TEST_F(CheckAndLive, CheckSkinListsFindingsAndADoubleClickShowsTheirRow) {
  // A frame count that is no number, a colour of two numbers, a member that
  // no key names.
  const std::string path = WriteTestFile(
      folder_, "faults.skn",
      DefaultSkinWith({{"Personality", "LeftFrame", "two"}, {"Colours", "Menu", "1 2"}},
                      {{"stray.bmp", EncodeBmp(TPixmap(4, 4, 24))}}));
  form_->OpenSkinFile(path);
  ClickToolButton(form_->CheckBtn);
  ASSERT_TRUE(PumpUntil([&] { return form_->CheckForm() && form_->CheckForm()->Visible(); }));
  TCheckFm* check = form_->CheckForm();
  EXPECT_EQ(check->Caption(), "Check Skin");
  EXPECT_FALSE(check->Modal());
  ASSERT_GE(FindingRow("Personality", "LeftFrame"), 0);
  ASSERT_GE(FindingRow("Colours", "Menu"), 0);
  EXPECT_EQ(check->FindingList->ItemText(FindingRow("Colours", "Menu"), 0), "error");
  int stray = -1;
  for (int i = 0; i < check->FindingList->ItemCount(); ++i)
    if (check->Report().Findings[static_cast<size_t>(i)].Member == "stray.bmp") stray = i;
  ASSERT_GE(stray, 0);
  EXPECT_NE(check->Summary->Caption(), kNoProblemsText);

  struct Row {
    const char* section;
    const char* key;
    const char* caption;
    int grid_row;
    const char* label;
  };
  const Row rows[] = {{"Personality", "LeftFrame", "Left Border", 4, "BMP Frame"},
                      {"Colours", "Menu", "Colors", 3, "Menuitem BackGround - Normal"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.key);
    DoubleClickFinding(FindingRow(r.section, r.key));
    ASSERT_TRUE(PumpUntil(
        [&] { return SelectedCaption() == r.caption && form_->VL->Row() == r.grid_row; }));
    EXPECT_EQ(form_->VL->Cells(0, r.grid_row), r.label);
    EXPECT_EQ(Note(), "");
  }
  // A finding about the package itself selects nothing and says so.
  DoubleClickFinding(stray);
  ASSERT_TRUE(PumpUntil([&] { return !Note().empty(); }));
  EXPECT_EQ(SelectedCaption(), "Colors");
  EXPECT_EQ(form_->VL->Row(), 3);
}

TEST_F(CheckAndLive, RecheckReadsTheDocumentAsEditedNotTheFile) {
  const std::string path =
      WriteTestFile(folder_, "colour.skn", DefaultSkinWith({{"Colours", "Menu", "1 2"}}));
  form_->OpenSkinFile(path);
  form_->CheckSkin1->Click();
  TCheckFm* check = form_->CheckForm();
  ASSERT_NE(check, nullptr);
  const int menu = FindingRow("Colours", "Menu");
  ASSERT_GE(menu, 0);
  DoubleClickFinding(menu);
  ASSERT_TRUE(PumpUntil([&] { return SelectedCaption() == "Colors" && form_->VL->Row() == 3; }));
  // The finding put the grid on the row: typing mends it.
  ClickAt(GridValueAt(form_->VL, 3));
  Key(VK_HOME);
  Key(VK_END, true);
  Type("1 2 3");
  Key(VK_RETURN);
  ASSERT_EQ(form_->Document().Ini().ReadString("Colours", "Menu", ""), "1 2 3");
  const int before = check->FindingList->ItemCount();
  BringCheckForward();
  ClickAt(check->RecheckBtn->ClientToScreen(POINT{10, 10}));
  ASSERT_TRUE(PumpUntil([&] { return FindingRow("Colours", "Menu") < 0; }));
  EXPECT_EQ(check->FindingList->ItemCount(), before - 1);
  EXPECT_EQ(IniOf(path).ReadString("Colours", "Menu", ""), "1 2");  // not saved
  BringCheckForward();
  ClickAt(check->CloseBtn->ClientToScreen(POINT{10, 10}));
  ASSERT_TRUE(PumpUntil([&] { return !check->Visible(); }));
}

TEST_F(CheckAndLive, LivePreviewPhotographsEditsWithoutWritingThePackage) {
  const std::string path = WriteTestFile(folder_, "live.skn", DefaultSkinWith({}));
  form_->OpenSkinFile(path);
  ASSERT_TRUE(PhotographTaken(1));
  const std::vector<uint8_t> on_disk = ReadBytes(path);
  EXPECT_FALSE(form_->LivePreview());
  EXPECT_FALSE(form_->LivePreview1->Checked());
  form_->LivePreview1->Click();
  EXPECT_TRUE(form_->LivePreview());
  EXPECT_TRUE(form_->LivePreview1->Checked());

  ClickNode("Colors");
  ClickAt(GridValueAt(form_->VL, 1));
  ASSERT_TRUE(PumpUntil([&] { return form_->VL->Row() == 1; }));
  const int photographs = form_->PhotographCount();
  Key(VK_HOME);
  Key(VK_END, true);
  Type("10 20 30");
  Key(VK_RETURN);
  ASSERT_TRUE(PhotographTaken(photographs + 1));
  EXPECT_EQ(ReadBytes(path), on_disk);
  EXPECT_TRUE(form_->Modified());
  const std::string live = form_->LivePackage();
  ASSERT_FALSE(live.empty());
  EXPECT_EQ(ExtractFilePath(live), form_->Folders().TempFolder);
  EXPECT_EQ(IniOf(live).ReadString("Colours", "ButtonFace", ""), "10 20 30");

  // Closing the window removes the temporary package; the option stays.
  {
    TMessageBoxLog quiet(IDNO);
    form_->Close();
  }
  EXPECT_FALSE(FileExists(live));
  FreeWindow();
  form_ = NewWindow();
  EXPECT_TRUE(form_->LivePreview());
  EXPECT_TRUE(form_->LivePreview1->Checked());
  form_->LivePreview1->Click();
  FreeWindow();
  form_ = NewWindow();
  EXPECT_FALSE(form_->LivePreview());
}

TEST_F(CheckAndLive, WithoutTheOptionAnEditRefreshesNothing) {
  const std::string path = WriteTestFile(folder_, "quiet.skn", DefaultSkinWith({}));
  form_->OpenSkinFile(path);
  ASSERT_TRUE(PhotographTaken(1));
  ClickNode("Colors");
  ClickAt(GridValueAt(form_->VL, 1));
  Type("7");
  Key(VK_RETURN);
  ASSERT_TRUE(form_->Modified());
  EXPECT_FALSE(form_->LiveTimer->Enabled());
  EXPECT_EQ(form_->LivePackage(), "");
}

}  // namespace
