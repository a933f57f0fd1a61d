// The editor's main window driven as a user drives it: real mouse clicks and
// key strokes on the tree and the grid, file commands with their questions
// answered through the framework's hooks, and the package on disk read back
// afterwards.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "default_skin.h"
#include "format/file_io.h"
#include "format/mem_ini.h"
#include "format/skin_package.h"
#include "editor_window_test.h"
#include "main_form.h"
#include "real_input.h"

namespace {

namespace fs = std::filesystem;
using namespace real_input;
using namespace editor_window_test;

// Replaces the text of the focused edit: select it all, then type.
void Retype(const std::string& text) {
  Key(VK_HOME);
  Key(VK_END, true);
  if (text.empty()) {
    Key(VK_DELETE);
  } else {
    Type(text);
  }
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes;
  ReadFileBytes(path, bytes);
  return std::string(bytes.begin(), bytes.end());
}

class EditorForm : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("mv_editor_" + std::to_string(GetCurrentProcessId()) +
                                           "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    form_ = new TMainfm(nullptr, folder_.string());
    form_->AfterConstruction();
    form_->SetWindowState(TWindowState::wsNormal);
    form_->SetBounds(0, 0, 1200, 900);
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Pump(20);
  }
  void TearDown() override {
    INPUT up = MouseInput(POINT{0, 0}, MOUSEEVENTF_LEFTUP);
    SendInput(1, &up, sizeof up);
    SetFileDialogHook(nullptr);
    CloseEditor(form_, folder_);
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return WriteTestFile(folder_, name, bytes);
  }
  TTreeNode* Node(const std::string& caption) const {
    TTreeNodes* items = form_->Tree1->Items();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Item(i)->Text() == caption) return items->Item(i);
    return nullptr;
  }
  // A click on a tree node's caption.
  void ClickNode(const std::string& caption) {
    TTreeNode* node = Node(caption);
    ASSERT_NE(node, nullptr) << caption;
    if (node->Parent()) node->Parent()->SetExpanded(true);
    Pump(3);
    RECT r{};
    HTREEITEM item = node->ItemId();
    std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle
    ASSERT_TRUE(
        SendMessageA(form_->Tree1->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
    ClickAt(form_->Tree1->ClientToScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    ASSERT_TRUE(PumpUntil([&] { return form_->Tree1->Selected() == node; })) << caption;
  }
  // A click in the value cell of grid row `row`.
  void ClickValue(int row) {
    RECT r = form_->VL->CellRect(1, row);
    ClickAt(form_->VL->ClientToScreen(POINT{r.left + 30, (r.top + r.bottom) / 2}));
    ASSERT_TRUE(PumpUntil([&] { return form_->VL->Row() == row; }));
  }
  std::string Cell(int row) const { return form_->VL->Cells(1, row); }
  std::string Label(int row) const { return form_->VL->Cells(0, row); }

  fs::path folder_;
  TMainfm* form_ = nullptr;
};

TEST_F(EditorForm, OpenShowsTitleTreeAndRowsByMouseAndKeyboard) {
  const std::string path =
      Write("blue.skn",
            DefaultSkinWith({{"Colours", "ButtonFace", "1 2 3"}, {"Colours", "Menu", "4 5 6"}}));
  TMessageBoxLog boxes;
  form_->OpenSkinFile(path);
  EXPECT_TRUE(boxes.Calls().empty());
  EXPECT_EQ(form_->Caption(), path);
  EXPECT_FALSE(form_->Modified());
  std::vector<std::string> top;
  for (int i = 0; i < form_->Tree1->Items()->Count(); ++i)
    if (!form_->Tree1->Items()->Item(i)->Parent())
      top.push_back(form_->Tree1->Items()->Item(i)->Text());
  EXPECT_EQ(top, (std::vector<std::string>{"Border", "Title Button", "Control", "Colors",
                                           "Preset Colors"}));
  ASSERT_NE(form_->TitleButtonNode, nullptr);
  EXPECT_GT(form_->TitleButtonNode->Count(), 0);

  ClickNode("Colors");
  ASSERT_GE(form_->VL->RowCount(), 16);
  EXPECT_EQ(Label(1), "Window Color");
  EXPECT_EQ(Cell(1), "1 2 3");
  EXPECT_EQ(Label(3), "Menuitem BackGround - Normal");
  EXPECT_EQ(Cell(3), "4 5 6");
  EXPECT_NE(form_->Memo1->Text().find("Window Color"), std::string::npos);  // its help

  // The keyboard moves the selection, and the grid follows.
  Key(VK_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return form_->Tree1->Selected() == Node("Preset Colors"); }));
  EXPECT_EQ(form_->VL->RowCount(), 11);
  EXPECT_EQ(Label(10), "Color9");

  // A bitmap row shows "BitMap" and cannot be typed into.
  ClickNode("Left Border");
  EXPECT_EQ(Label(1), "Left Border BMP");
  EXPECT_EQ(Cell(1), "BitMap");
  EXPECT_TRUE(form_->VL->ItemProps(1).ReadOnly);
  EXPECT_FALSE(form_->DelBtn->Enabled());
  ClickNode("Close Button");
  EXPECT_TRUE(form_->DelBtn->Enabled());
  EXPECT_EQ(Label(5), "Button Action Code");
  EXPECT_EQ(Cell(5), "0");
  // Nodes without a schema entry show an empty grid.
  ClickNode("Border");
  EXPECT_EQ(form_->VL->RowCount(), 1);
}

TEST_F(EditorForm, TypedValuesReachTheirKeysExactlyOnce) {
  const std::string path = Write("edit.skn", DefaultSkinWith({{"Colours", "ButtonFace", "1 2 3"}}));
  form_->OpenSkinFile(path);
  const TMemIniFile before = IniOf(path);
  ClickNode("Colors");

  // Enter commits.
  ClickValue(1);
  Retype("10 20 30");
  Key(VK_RETURN);
  EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "ButtonFace", ""), "10 20 30");
  EXPECT_TRUE(form_->Modified());
  EXPECT_TRUE(form_->SaveBtn->Enabled());
  // An arrow key commits and moves on.
  Key(VK_DOWN);
  Retype("40 50 60");
  Key(VK_DOWN);
  EXPECT_EQ(form_->VL->Row(), 3);
  EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "WindowText", ""), "40 50 60");
  // A click on the tree commits to the row being edited, although the grid
  // shows another element right after.
  Retype("70 80 90");
  ClickNode("Button");
  EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "Menu", ""), "70 80 90");
  EXPECT_FALSE(form_->Document().Ini().ValueExists("Buttons", "Menu"));
  EXPECT_EQ(Label(1), "Button BMP");
  // Losing the focus commits; a cleared cell deletes its key.
  ClickNode("Colors");
  ClickValue(4);
  Retype("");
  ClickAt(form_->Memo1->ClientToScreen(POINT{20, 20}));
  EXPECT_FALSE(form_->Document().Ini().ValueExists("Colours", "MenuText"));
  // Labels are never written as keys.
  EXPECT_FALSE(form_->Document().Ini().ValueExists("Colours", "Window Color"));

  ClickAt(form_->ToolBar1->ClientToScreen(
      POINT{form_->SaveBtn->Left() + 8, form_->SaveBtn->Top() + 8}));
  ASSERT_TRUE(PumpUntil([&] { return !form_->Modified(); }));
  EXPECT_FALSE(form_->SaveBtn->Enabled());
  TMemIniFile after = IniOf(path);
  EXPECT_EQ(after.ReadString("Colours", "ButtonFace", ""), "10 20 30");
  EXPECT_EQ(after.ReadString("Colours", "WindowText", ""), "40 50 60");
  EXPECT_EQ(after.ReadString("Colours", "Menu", ""), "70 80 90");
  EXPECT_FALSE(after.ValueExists("Colours", "MenuText"));
  // Everything else is as it was.
  std::vector<std::string> sections;
  before.ReadSections(sections);
  for (const std::string& s : sections) {
    std::vector<std::string> keys;
    before.ReadSection(s, keys);
    for (const std::string& k : keys) {
      if (s == "Colours" &&
          (k == "ButtonFace" || k == "WindowText" || k == "Menu" || k == "MenuText"))
        continue;
      EXPECT_EQ(after.ReadString(s, k, "?"), before.ReadString(s, k, "")) << s << "/" << k;
    }
  }
}

TEST_F(EditorForm, EnterOnAnUnchangedCellChangesNothing) {
  const std::string path = Write("same.skn", DefaultSkinWith({{"Colours", "ButtonFace", "1 2 3"}}));
  form_->OpenSkinFile(path);
  ClickNode("Colors");
  ClickValue(1);
  Key(VK_RETURN);
  Key(VK_DOWN);
  Key(VK_UP);
  EXPECT_FALSE(form_->Modified());
  // Typing the value it already has is no change either.
  Retype("1 2 3");
  Key(VK_RETURN);
  EXPECT_FALSE(form_->Modified());
}

TEST_F(EditorForm, RefusedOpensKeepTheOpenSkin) {
  const std::string good = Write("good.skn", DefaultSkinWith({}));
  form_->OpenSkinFile(good);
  ClickNode("Colors");
  ClickValue(1);
  Retype("9 9 9");
  Key(VK_RETURN);
  ASSERT_TRUE(form_->Modified());
  const int nodes = form_->Tree1->Items()->Count();

  TSkinWriter old_version;
  old_version.AddMember("a.ini", Bytes("[Skins]\r\nVersion=149\r\n"));
  TSkinWriter no_ini;
  no_ini.AddMember("a.bmp", Bytes("BM"));
  std::vector<uint8_t> damaged = DefaultSkinWith({});
  damaged.resize(damaged.size() / 3);
  const struct {
    std::string Path;
    std::string Message;  // the start of the one message shown
  } cases[] = {
      {Write("v149.skn", old_version.SaveToBytes()), "Skin format version not support !"},
      {Write("noini.skn", no_ini.SaveToBytes()), "Skin format version not support !"},
      {Write("damaged.skn", damaged), "Cannot open \"" + (folder_ / "damaged.skn").string() + "\""},
  };
  for (const auto& c : cases) {
    TMessageBoxLog boxes;
    form_->OpenSkinFile(c.Path);
    ASSERT_EQ(boxes.Calls().size(), 1u) << c.Path;
    EXPECT_EQ(boxes.Calls()[0].Text.substr(0, c.Message.size()), c.Message);
    EXPECT_EQ(form_->Caption(), good);
    EXPECT_EQ(form_->CurrentSkinFile(), good);
    EXPECT_TRUE(form_->Modified());
    EXPECT_EQ(form_->Tree1->Items()->Count(), nodes);
    EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "ButtonFace", ""), "9 9 9");
    // The recent list shows the path that was tried, as the first entry.
    EXPECT_EQ(form_->Settings().ReadString("FileList", "File1", ""), c.Path);
  }
  {
    TMessageBoxLog boxes;
    form_->OpenSkinFile((folder_ / "missing.skn").string());
    EXPECT_TRUE(boxes.Calls().empty());
  }
  // Save still writes the skin that is open, with all its members.
  form_->SaveSkin(false);
  TSkinReader saved, original;
  ASSERT_TRUE(saved.LoadFromFile(good));
  ASSERT_TRUE(original.LoadFromStream(DefaultSkinWith({})));
  EXPECT_EQ(saved.Names(), original.Names());
  EXPECT_EQ(IniOf(good).ReadString("Colours", "ButtonFace", ""), "9 9 9");
}

TEST_F(EditorForm, RecentListAndItsMenu) {
  const std::string a = Write("a.skn", DefaultSkinWith({{"Colours", "ButtonFace", "1 1 1"}}));
  const std::string b = Write("b.skn", DefaultSkinWith({{"Colours", "ButtonFace", "2 2 2"}}));
  form_->OpenSkinFile(a);
  form_->OpenSkinFile(b);
  form_->OpenSkinFile(a);
  const std::string ini = (folder_ / "tessaly.ini").string();
  EXPECT_EQ(ReadText(ini), "[FileList]\r\nFile1=" + a + "\r\nFile2=" + b + "\r\n");
  ASSERT_EQ(form_->FilePop->Items()->Count(), 2);
  EXPECT_EQ(form_->FilePop->Items()->Items(0)->Caption(), "a.skn");
  EXPECT_EQ(form_->FilePop->Items()->Items(1)->Caption(), "b.skn");
  EXPECT_EQ(form_->FilePop->Items()->Items(1)->Tag(), 2);

  form_->FilePop->Items()->Items(1)->Click();
  EXPECT_EQ(form_->CurrentSkinFile(), b);
  EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "ButtonFace", ""), "2 2 2");
  // An entry whose file is gone does nothing and stays.
  fs::remove(a);
  form_->OpenRecent(2);
  EXPECT_EQ(form_->CurrentSkinFile(), b);
  EXPECT_EQ(form_->Settings().ReadString("FileList", "File2", ""), a);
}

TEST_F(EditorForm, NewStartsUntitledAndSaveAsksForAName) {
  TMessageBoxLog boxes(IDYES);
  form_->NewSkin();
  const std::string untitle = (folder_ / "Untitle.skn").string();
  EXPECT_TRUE(FileExists((folder_ / "untitle.skn").string()));
  EXPECT_EQ(form_->CurrentSkinFile(), untitle);
  EXPECT_TRUE(form_->Modified());
  EXPECT_TRUE(form_->Untitled());
  EXPECT_FALSE(form_->Settings().ValueExists("FileList", "File1"));
  EXPECT_TRUE(boxes.Calls().empty());

  // Cancelling the file dialog writes nothing and keeps the changes.
  SetFileDialogHook([](TOpenDialog&, bool) { return false; });
  EXPECT_FALSE(form_->SaveSkin(false));
  EXPECT_TRUE(form_->Modified());
  const std::string mine = (folder_ / "mine").string();  // no extension: used as typed
  bool asked_save = false;
  SetFileDialogHook([&](TOpenDialog& d, bool save) {
    asked_save = save;
    EXPECT_EQ(d.Filter(), "Skin files (*.skn)|*.skn");
    d.SetFileName(mine);
    return true;
  });
  EXPECT_TRUE(form_->SaveSkin(false));
  EXPECT_TRUE(asked_save);
  EXPECT_TRUE(FileExists(mine));
  EXPECT_FALSE(FileExists(mine + ".skn"));
  EXPECT_FALSE(form_->Modified());
  EXPECT_FALSE(form_->Untitled());
  EXPECT_EQ(form_->Caption(), mine);
  // A package opened after New goes into the recent list as usual.
  const std::string next = Write("next.skn", DefaultSkinWith({}));
  form_->NewSkin();
  form_->OpenSkinFile(next);
  EXPECT_EQ(form_->Settings().ReadString("FileList", "File1", ""), next);
  EXPECT_FALSE(form_->Untitled());
}

TEST_F(EditorForm, NewUsesAnExistingUntitleFileAndAsksAboutChangesFirst) {
  Write("Untitle.skn", DefaultSkinWith({{"Colours", "ButtonFace", "7 7 7"}}));
  const std::string other = Write("other.skn", DefaultSkinWith({}));
  form_->OpenSkinFile(other);
  form_->Document().SetModified(true);
  {
    TMessageBoxLog boxes(IDNO);
    form_->NewSkin();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, "Skin file has been modified, Save it ?");
  }
  EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "ButtonFace", ""), "7 7 7");
  EXPECT_TRUE(form_->Untitled());
}

TEST_F(EditorForm, ClosingAsksAndCanBeCancelled) {
  form_->NewSkin();
  {
    // Yes, then cancelling the file dialog: the window stays.
    TMessageBoxLog boxes(IDYES);
    SetFileDialogHook([](TOpenDialog&, bool) { return false; });
    EXPECT_FALSE(form_->CloseQuery());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, "Skin file has been modified, Save it ?");
  }
  {
    TMessageBoxLog boxes(IDNO);
    form_->Close();
    EXPECT_FALSE(form_->Visible());
  }
  EXPECT_EQ(form_->Settings().ReadString("SkinFile", "Filename", ""),
            (folder_ / "Untitle.skn").string());
  // Saying No wrote nothing over the untitled package.
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromFile((folder_ / "untitle.skn").string()));
  EXPECT_EQ(reader.Version(), 20000u);
}

TEST_F(EditorForm, ColoursGoOnlyIntoColourRows) {
  const std::string path = Write("c.skn", DefaultSkinWith({}));
  form_->OpenSkinFile(path);
  const std::string before = form_->Document().Ini().GetText();
  for (const char* node : {"Border", "Left Border", "Button"}) {  // no row, bitmap, bitmap
    ClickNode(node);
    form_->ColorBtnClick();
    form_->PutPickedColour(0x030201);
    EXPECT_EQ(form_->Document().Ini().GetText(), before) << node;
    EXPECT_FALSE(form_->Modified()) << node;
  }
  ClickNode("Colors");
  form_->PutPickedColour(0x030201);
  EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "ButtonFace", ""), "1 2 3");
  EXPECT_EQ(Cell(1), "1 2 3");
  EXPECT_TRUE(form_->Modified());
}

TEST_F(EditorForm, ScreenPickWritesThePixelUnderTheClick) {
  const std::string path = Write("pick.skn", DefaultSkinWith({}));
  form_->OpenSkinFile(path);
  ClickNode("Colors");
  ClickValue(2);  // "Window Text", key WindowText
  TColourPatch patch(RGB(12, 34, 56), RECT{900, 700, 1000, 780});
  Pump(10);
  TButton* dots = form_->VL->EditButton();
  ASSERT_TRUE(dots->Visible());
  ClickAt(dots->ClientToScreen(POINT{dots->Width() / 2, dots->Height() / 2}));
  // The full-screen picking form shows the photograph; a click takes a pixel.
  ASSERT_TRUE(PumpUntil([] {
    HWND w = GetForegroundWindow();
    char title[64] = {};
    GetWindowTextA(w, title, sizeof title);
    return std::string(title) == "Pick a colour";
  }));
  ClickAt(POINT{950, 740});
  ASSERT_TRUE(PumpUntil([&] { return form_->Modified(); }));
  EXPECT_EQ(form_->Document().Ini().ReadString("Colours", "WindowText", ""), "12 34 56");
  EXPECT_EQ(Cell(2), "12 34 56");
  EXPECT_EQ(form_->PickerColour(), static_cast<uint32_t>(RGB(12, 34, 56)));
}

TEST_F(EditorForm, SavingTooManyMembersLeavesTheFile) {
  const std::string path = Write("full.skn", DefaultSkinWith({}));
  const std::string before = ReadText(path);
  form_->OpenSkinFile(path);
  while (form_->Document().FileList().Count() <= kMaxSkinMembers)
    form_->Document().FileList().ReplaceFromStream(
        "", "x" + std::to_string(form_->Document().FileList().Count()) + ".bmp", Bytes("BM"));
  form_->Document().SetModified(true);
  TMessageBoxLog boxes;
  EXPECT_FALSE(form_->SaveSkin(false));
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_NE(boxes.Calls()[0].Text.find("not saved"), std::string::npos);
  EXPECT_EQ(ReadText(path), before);
  EXPECT_TRUE(form_->Modified());
}

TEST_F(EditorForm, CommandsWithoutASkinDoNothing) {
  TMessageBoxLog boxes;
  EXPECT_FALSE(form_->IniBtn->Enabled());
  EXPECT_FALSE(form_->ImportBtn->Enabled());
  EXPECT_TRUE(form_->SaveSkin(false));
  form_->Save1->Click();
  form_->EditImage1->Click();
  form_->ColorBtnClick();
  form_->OpenRecent(1);
  form_->LoadElement("Colors");
  EXPECT_EQ(form_->VL->RowCount(), 1);
  EXPECT_TRUE(boxes.Calls().empty());
  EXPECT_FALSE(FileExists((folder_ / "Untitle.skn").string()));
  form_->OpenSkinFile(Write("x.skn", DefaultSkinWith({})));
  EXPECT_TRUE(form_->IniBtn->Enabled());
  EXPECT_TRUE(form_->ImportBtn->Enabled());
}

}  // namespace
