// A few damaged skin packages opened in the editor's main window: each one
// either opens (caption, element tree, every node's grid shown, the preview
// wearing it) and saves back holding every member it read, or is refused
// with its message box while the skin that was open stays.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <set>
#include <string>

#include "damaged_corpus.h"
#include "editor/skin_document.h"
#include "editor_window_test.h"
#include "format/skin_package.h"
#include "main_form.h"

namespace {

namespace fs = std::filesystem;
using namespace editor_window_test;

// One package of each damage kind in the sample, so each kind meets the
// real window once.
std::vector<const TDamagedSkin*> OnePerKind() {
  std::vector<const TDamagedSkin*> out;
  std::set<TDamageKind> seen;
  for (const TDamagedSkin* s : SampleCorpus(TestCorpus(), 30))
    if (seen.insert(s->Kind).second) out.push_back(s);
  return out;
}

using TMembers = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

TMembers NonIniMembers(const std::string& path) {
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadFromFile(path)) << reader.LastError();
  TMembers out;
  for (int i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Names()[static_cast<size_t>(i)];
    if (name.find(".ini") != std::string::npos) continue;
    auto m = reader.Member(i);
    out.emplace_back(name, std::vector<uint8_t>(m.begin(), m.end()));
  }
  return out;
}

class DamagedEditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("mv_damaged_" + std::to_string(GetCurrentProcessId()) +
                                           "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    form_ = new TMainfm(nullptr, folder_.string());
    form_->AfterConstruction();
    form_->SetBounds(0, 0, 1100, 800);
    form_->Show();
    Pump(10);
  }
  void TearDown() override { CloseEditor(form_, folder_); }

  // Selects every node of the tree, so each element's grid is filled.
  void ShowEveryNode() {
    TTreeNodes* items = form_->Tree1->Items();
    for (int i = 0; i < items->Count(); ++i) {
      form_->Tree1->SetSelected(items->Item(i));
      Pump(1);
      EXPECT_EQ(form_->Tree1->Selected(), items->Item(i));
    }
  }

  fs::path folder_;
  TMainfm* form_ = nullptr;
};

TEST_F(DamagedEditorWindow, OpensShowsAndSavesOrRefusesWithItsMessage) {
  const std::string good = WriteTestFile(folder_, "good.skn", DefaultSkinWith({}));
  for (const TDamagedSkin* s : OnePerKind()) {
    SCOPED_TRACE(s->Name);
    const int good_shots = form_->PhotographCount();
    form_->OpenSkinFile(good);
    ASSERT_EQ(form_->Caption(), good);
    ASSERT_TRUE(PumpUntil([&] { return form_->PhotographCount() > good_shots; }, 10000));
    const std::string path = WriteTestFile(folder_, s->Name, s->Package);
    TSkinDocument probe;
    const bool editable = probe.OpenFromBytes(s->Package, path) == TOpenResult::orOpened;
    const int shots = form_->PhotographCount();
    TMessageBoxLog boxes;
    form_->OpenSkinFile(path);
    if (!editable) {
      ASSERT_EQ(boxes.Calls().size(), 1u);
      EXPECT_FALSE(boxes.Calls()[0].Text.empty());
      EXPECT_EQ(form_->Caption(), good);  // the open skin stays
      continue;
    }
    EXPECT_TRUE(boxes.Calls().empty());
    ASSERT_EQ(form_->Caption(), path);
    ASSERT_GT(form_->Tree1->Items()->Count(), 0);
    ShowEveryNode();
    EXPECT_TRUE(PumpUntil([&] { return form_->PhotographCount() > shots; }, 10000));
    const TMembers read = NonIniMembers(path);
    const std::string ini_text = form_->Document().Ini().GetText();
    form_->Document().SetModified(true);
    ASSERT_TRUE(form_->SaveSkin(false));
    EXPECT_EQ(NonIniMembers(path), read);
    EXPECT_EQ(IniOf(path).GetText(), ini_text);
  }
}

}  // namespace
