// The bitmap page and the bitmap and title-button commands driven as a user
// drives them: real clicks on the tree, the grid, the corner buttons and the
// tool bar; the bitmap menu and the picture dialog worked from the keyboard
// and the mouse while they run their own message loops; the package, the
// exported file and the external editor's arguments read back afterwards.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "default_skin.h"
#include "editor/bitmap_commands.h"
#include "format/bmp.h"
#include "format/file_io.h"
#include "format/mem_ini.h"
#include "format/skin_package.h"
#include "editor_window_test.h"
#include "main_form.h"
#include "picture_dialog.h"
#include "real_input.h"

namespace {

namespace fs = std::filesystem;
using namespace real_input;
using namespace editor_window_test;

// Key strokes sent without pumping, for use inside another message loop.
void SendKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> in;
  for (WORD k : keys)
    for (bool up : {false, true}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = k;
      i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      in.push_back(i);
    }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void SendText(const std::string& text) {
  std::vector<INPUT> in;
  for (char ch : text) {
    const SHORT code = VkKeyScanA(ch);
    const bool shift = (HIBYTE(code) & 1) != 0;
    auto add = [&](WORD k, bool up) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = k;
      i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      in.push_back(i);
    };
    if (shift) add(VK_SHIFT, false);
    add(LOBYTE(code), false);
    add(LOBYTE(code), true);
    if (shift) add(VK_SHIFT, true);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Steps run from a thread timer, so they also run while a menu or a dialog
// holds its own message loop: each step waits until its condition holds,
// then acts once.
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
  size_t Done() const { return g_next_step; }

 private:
  std::vector<TStep> steps_;
  UINT_PTR timer_;
};

std::string ClassOf(HWND h) {
  char name[64] = {};
  GetClassNameA(h, name, sizeof name);
  return name;
}

// The open picture dialog of this thread, when it shows.
HWND PictureDialog() {
  HWND w = GetForegroundWindow();
  if (!w || ClassOf(w) != "#32770") return nullptr;
  for (HWND child = GetWindow(w, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgItem(child, kPicturePreviewId)) return w;
  return nullptr;
}

HWND PreviewChild(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgItem(child, kPicturePreviewId)) return child;
  return nullptr;
}

BOOL CALLBACK FindListView(HWND h, LPARAM p) {
  if (ClassOf(h) == "SysListView32") {
    *reinterpret_cast<HWND*>(p) = h;
    return FALSE;
  }
  return TRUE;
}

// The centre of the file list's item captioned `name`, on the screen.
bool FileItemCentre(HWND dialog, const std::string& name, POINT& at) {
  HWND list = nullptr;
  EnumChildWindows(dialog, FindListView, reinterpret_cast<LPARAM>(&list));
  if (!list) return false;
  LVFINDINFOA find{};
  find.flags = LVFI_STRING;
  find.psz = name.c_str();
  const LRESULT item =
      SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find));
  if (item < 0) return false;
  RECT r{};
  r.left = LVIR_LABEL;
  SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
  at = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &at);
  return true;
}

HWND FileNameEdit(HWND dialog) {
  HWND combo = GetDlgItem(dialog, 0x47c);  // cmb13
  HWND edit = combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
  return edit ? edit : GetDlgItem(dialog, 0x480);  // edt1
}

void ClickWithoutPump(POINT screen) {
  INPUT in[3] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                 MouseInput(screen, MOUSEEVENTF_LEFTUP)};
  SendInput(3, in, sizeof(INPUT));
}

// Replaces the file name box's text by a click, End, Shift+Home and typing,
// then Enter.
void TypeFileName(HWND dialog, const std::string& text) {
  RECT r{};
  GetWindowRect(FileNameEdit(dialog), &r);
  ClickWithoutPump(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  SendKeys({VK_END});
  INPUT shift[2] = {};
  shift[0].type = shift[1].type = INPUT_KEYBOARD;
  shift[0].ki.wVk = shift[1].ki.wVk = VK_SHIFT;
  shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &shift[0], sizeof(INPUT));
  SendKeys({VK_HOME});
  SendInput(1, &shift[1], sizeof(INPUT));
  SendText(text);
  SendKeys({VK_RETURN});
}

// Replaces the text of the focused grid cell.
void Retype(const std::string& text) {
  Key(VK_HOME);
  Key(VK_END, true);
  Type(text);
}

// A 24-bit picture whose every pixel differs from its neighbours.
TPixmap Pattern(int w, int h) {
  TPixmap p(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.Row(y) + x * 3;
      px[0] = static_cast<uint8_t>(x * 7);
      px[1] = static_cast<uint8_t>(y * 20);
      px[2] = static_cast<uint8_t>(x + y);
    }
  return p;
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

COLORREF ScreenPixel(TControl* control, int x, int y) {
  const POINT p = control->ClientToScreen(POINT{x, y});
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c;
}

// Moves the mouse over (x, y) of a control and returns the client point the
// cursor really reached (absolute input can round by a pixel).
TPos MoveOver(TControl* control, int x, int y) {
  MouseAt(control->ClientToScreen(POINT{x, y}), 0);
  Settle(3);
  POINT at{};
  GetCursorPos(&at);
  at = control->ScreenToClient(at);
  return {at.x, at.y};
}

std::string Text(const char* label, int value) {
  return label + std::to_string(value);
}

class BitmapPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    // A space in the folder: exported paths and the editor's path have one.
    folder_ = fs::temp_directory_path() / ("mv bitmaps " + std::to_string(GetCurrentProcessId()) +
                                           "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    MouseAt(POINT{1, 1}, 0);  // away from every control
    form_ = new TMainfm(nullptr, folder_.string());
    form_->AfterConstruction();
    form_->SetWindowState(TWindowState::wsNormal);
    form_->SetBounds(0, 0, 1200, 900);
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Settle(20);
  }
  void TearDown() override {
    MouseAt(POINT{1, 1}, MOUSEEVENTF_LEFTUP);
    SetFileDialogHook(nullptr);
    {
      TMessageBoxLog quiet(IDNO);
      form_->OnCloseQuery = nullptr;
      form_->Free();
    }
    Settle(5);
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (folder_ / name).string();
    fs::create_directories(fs::path(path).parent_path());
    WriteFileAtomic(path, bytes);
    return path;
  }
  TTreeNode* Node(const std::string& caption) const {
    TTreeNodes* items = form_->Tree1->Items();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Item(i)->Text() == caption) return items->Item(i);
    return nullptr;
  }
  void ClickNode(const std::string& caption) {
    TTreeNode* node = Node(caption);
    ASSERT_NE(node, nullptr) << caption;
    if (node->Parent()) node->Parent()->SetExpanded(true);
    Settle(3);
    RECT r{};
    HTREEITEM item = node->ItemId();
    std::memcpy(&r, &item, sizeof item);
    ASSERT_TRUE(
        SendMessageA(form_->Tree1->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
    ClickAt(form_->Tree1->ClientToScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    ASSERT_TRUE(PumpUntil([&] { return form_->Tree1->Selected() == node; })) << caption;
  }
  void ClickValue(int row) {
    RECT r = form_->VL->CellRect(1, row);
    ClickAt(form_->VL->ClientToScreen(POINT{r.left + 30, (r.top + r.bottom) / 2}));
    ASSERT_TRUE(PumpUntil([&] { return form_->VL->Row() == row; }));
  }
  void ClickToolButton(TToolBar* bar, TToolButton* b) {
    ClickAt(bar->ClientToScreen(POINT{b->Left() + 8, b->Top() + b->Height() / 2}));
  }
  std::string Panel(int i) const { return form_->SB->Panels(i)->Text(); }

  fs::path folder_;
  TMainfm* form_ = nullptr;
};

TEST_F(BitmapPanel, ABitmapRowShowsFramesMarginsSizesAndCoordinates) {
  const std::string path =
      Write("tabs.skn", DefaultSkinWith({{"Tabs", "LeftWidth", "3"}, {"Tabs", "TopHeight", "0"}}));
  form_->OpenSkinFile(path);
  ClickNode("Tab");
  ClickValue(1);
  EXPECT_EQ(form_->CurrentBitmapName(), "tabs.bmp");
  EXPECT_EQ(form_->BitmapFrames(), 5);
  EXPECT_EQ(Panel(0), "W:200");
  EXPECT_EQ(Panel(1), "H:22");
  EXPECT_EQ(Panel(4), "3,0,5,2");
  ASSERT_EQ(form_->RectImg->Picture()->Width(), 48);  // one 40 x 22 frame and the border
  ASSERT_EQ(form_->RectImg->Picture()->Height(), 30);
  // Wide bitmap: the margin box below the bitmap box, the image centred.
  EXPECT_EQ(form_->RectBox->Top(), form_->Bmpbox->Top() + form_->Bmpbox->Height() + 3);
  EXPECT_EQ(form_->BmpImg->Left(), (form_->Bmpbox->ClientWidth() - 200) / 2);
  Settle(5);
  // The bars on the screen: left margin 3 along the top edge, right 5, bottom 2.
  EXPECT_EQ(ScreenPixel(form_->RectImg, 5, 2), RGB(0, 0, 255));
  EXPECT_EQ(ScreenPixel(form_->RectImg, 7, 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ScreenPixel(form_->RectImg, 40, 2), RGB(0, 0, 255));
  EXPECT_EQ(ScreenPixel(form_->RectImg, 2, 25), RGB(0, 0, 255));
  EXPECT_EQ(ScreenPixel(form_->RectImg, 2, 20), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ScreenPixel(form_->RectImg, 0, 10), RGB(128, 128, 128));

  // Coordinates under the mouse, from the corner whose button is down.
  const TPos top_left = MoveOver(form_->BmpImg, 10, 5);
  ASSERT_TRUE(PumpUntil([&] { return Panel(2) == Text("X:", top_left.X); }))
      << Panel(2) << " " << top_left.X;
  EXPECT_EQ(Panel(3), Text("Y:", top_left.Y));
  EXPECT_EQ(form_->Page1->ActivePage(), form_->ZoomPage);
  ClickToolButton(form_->Pbar, form_->ToolButton8);
  ASSERT_TRUE(form_->ToolButton8->Down());
  EXPECT_FALSE(form_->ToolButton4->Down());
  const TPos from_corner = MoveOver(form_->BmpImg, 10, 5);
  ASSERT_TRUE(PumpUntil([&] { return Panel(2) == Text("X:", 200 - from_corner.X - 1); }))
      << Panel(2);
  EXPECT_EQ(Panel(3), Text("Y:", 22 - from_corner.Y - 1));
  ClickToolButton(form_->Pbar, form_->ToolButton8);  // all up: the top-left corner again
  EXPECT_FALSE(form_->ToolButton8->Down());
  const TPos in_preview = MoveOver(form_->RectImg, 4, 4);
  ASSERT_TRUE(PumpUntil([&] { return Panel(2) == Text("X:", in_preview.X - 3); })) << Panel(2);
  EXPECT_EQ(Panel(3), Text("Y:", in_preview.Y - 3));

  // A typed margin redraws the preview.
  ClickValue(4);  // Right Margin
  Retype("9");
  Key(VK_RETURN);
  EXPECT_EQ(Panel(4), "3,0,9,2");
  Settle(5);
  EXPECT_EQ(ScreenPixel(form_->RectImg, 34, 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ScreenPixel(form_->RectImg, 35, 2), RGB(0, 0, 255));
}

TEST_F(BitmapPanel, StackedBorderFramesAndEmptyPreviews) {
  const std::string path = Write("top.skn", DefaultSkinWith({{"Personality", "TopFrame", "2"}}));
  form_->OpenSkinFile(path);
  ClickNode("Top Border");
  ClickValue(1);
  EXPECT_EQ(form_->BitmapFrames(), 32);
  const int h = form_->BmpImg->Picture()->Height();
  EXPECT_EQ(form_->RectImg->Picture()->Height(), h / 2 + 8);
  EXPECT_EQ(form_->RectImg->Picture()->Width(), form_->BmpImg->Picture()->Width() + 8);
  // An element without frames shows its bitmap and no preview.
  ClickNode("CheckBox");
  ClickValue(1);
  EXPECT_GT(form_->BmpImg->Picture()->Width(), 0);
  EXPECT_EQ(form_->RectImg->Picture()->Width(), 0);
  // Another element clears the page.
  ClickNode("Colors");
  EXPECT_EQ(form_->BmpImg->Picture()->Width(), 0);
}

TEST_F(BitmapPanel, AMemberThatIsNoBitmapIsReportedAndShowsNothing) {
  const std::string path =
      Write("bad.skn", DefaultSkinWith({{"Tabs", "Image", "bad.bmp"}},
                                       {{"bad.bmp", Bytes("BM this is not a bitmap")}}));
  form_->OpenSkinFile(path);
  TMessageBoxLog boxes;
  ClickNode("Tab");  // its first row is the bitmap row
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_NE(boxes.Calls()[0].Text.find("bad.bmp"), std::string::npos);
  EXPECT_EQ(form_->BmpImg->Picture()->Width(), 0);
  EXPECT_EQ(Panel(0), "");
}

TEST_F(BitmapPanel, ImportThroughTheDialogExportToTheEditorAndClear) {
  const TPixmap picture = Pattern(30, 10);
  const std::string picture_path = Write("pics/New Tab.BMP", EncodeBmp(picture));
  const std::string path = Write("bmp.skn", DefaultSkinWith({}));
  form_->OpenSkinFile(path);
  ClickNode("Tab");
  ClickValue(1);
  const int members = form_->Document().FileList().Count();

  // The bitmap menu from the row's "..." button, then the dialog: the
  // folder typed, the file picked in its list shows a preview, then the
  // file's whole path typed.
  const std::string pics = (folder_ / "pics").string();
  std::string preview_text;
  TScript script({
      {[] {
         HWND menu = FindWindowA("#32768", nullptr);
         return menu && IsWindowVisible(menu);
       },
       [] {
         SendKeys({VK_DOWN, VK_RETURN});
       }},
      {[] { return PictureDialog() != nullptr; }, [&] { TypeFileName(PictureDialog(), pics); }},
      {[] {
         POINT at{};
         return PictureDialog() && FileItemCentre(PictureDialog(), "New Tab.BMP", at);
       },
       [] {
         POINT at{};
         FileItemCentre(PictureDialog(), "New Tab.BMP", at);
         ClickWithoutPump(at);
       }},
      {[&] {
         HWND dialog = PictureDialog();
         char text[64] = {};
         if (dialog) GetDlgItemTextA(PreviewChild(dialog), kPictureSizeTextId, text, sizeof text);
         preview_text = text;
         return !preview_text.empty();
       },
       [&] { TypeFileName(PictureDialog(), picture_path); }},
  });
  TButton* dots = form_->VL->EditButton();
  ASSERT_TRUE(dots->Visible());
  ClickAt(dots->ClientToScreen(POINT{dots->Width() / 2, dots->Height() / 2}));
  ASSERT_TRUE(PumpUntil([&] { return form_->CurrentBitmapName() == "new tab.bmp"; }, 20000))
      << "steps done: " << script.Done();
  EXPECT_EQ(preview_text, "30 x 10");
  EXPECT_EQ(form_->Document().Ini().ReadString("Tabs", "Image", ""), "new tab.bmp");
  EXPECT_EQ(form_->Document().FileList().Count(), members);  // renamed in place
  EXPECT_EQ(form_->Document().FileList().Find("tabs.bmp"), nullptr);
  EXPECT_EQ(Panel(0), "W:30");
  EXPECT_TRUE(form_->Modified());
  EXPECT_EQ(form_->LastBitmapFolder(), (folder_ / "pics").string() + "\\");

  // Export and Edit starts the editor program on the exported file, both
  // quoted; the file lands in skin\ under the export name.
  const fs::path editor_folder = folder_ / "My Editor";
  fs::create_directories(editor_folder);
  const std::string probe = (editor_folder / "probe.exe").string();
  fs::copy_file(EDITOR_PROBE_EXE, probe);
  SetFileDialogHook([&](TOpenDialog& d, bool) {
    d.SetFileName(probe);
    return true;
  });
  form_->EditerSetting1->Click();
  SetFileDialogHook(nullptr);
  EXPECT_EQ(form_->Settings().ReadString("Edit", "Program", ""), probe);
  form_->Editwith1->Click();
  const std::string exported = (folder_ / "skin" / "bmp__new tab.bmp").string();
  ASSERT_TRUE(FileExists(exported));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFileBytes(exported, bytes));
  const TPixmap back = DecodeBmp(bytes);
  ASSERT_EQ(back.Width, 30);
  ASSERT_EQ(back.BitsPerPixel, 24);
  EXPECT_EQ(back.Pixels, picture.Pixels);
  const std::string args_file = (editor_folder / "args.txt").string();
  ASSERT_TRUE(PumpUntil([&] { return FileExists(args_file); }, 15000));
  ASSERT_TRUE(ReadFileBytes(args_file, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), exported + "\n");

  // Clear: the key stays, empty; the member goes; the package says so.
  form_->ClearBitmap1->Click();
  EXPECT_EQ(form_->CurrentBitmapName(), "");
  EXPECT_EQ(form_->BmpImg->Picture()->Width(), 0);
  EXPECT_EQ(form_->Document().FileList().Find("new tab.bmp"), nullptr);
  ASSERT_TRUE(form_->SaveSkin(false));
  TMemIniFile saved = IniOf(path);
  EXPECT_TRUE(saved.ValueExists("Tabs", "Image"));
  EXPECT_EQ(saved.ReadString("Tabs", "Image", "?"), "");
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromFile(path));
  EXPECT_EQ(reader.Count(), members - 1);
}

TEST_F(BitmapPanel, AnImportThatDoesNotDecodeChangesNothing) {
  const std::string path = Write("keep.skn", DefaultSkinWith({}));
  const std::string junk = Write("junk.bmp", Bytes("BM\x10\x00 not really"));
  form_->OpenSkinFile(path);
  ClickNode("Tab");
  ClickValue(1);
  const std::string before = form_->Document().Ini().GetText();
  SetFileDialogHook([&](TOpenDialog& d, bool save) {
    EXPECT_FALSE(save);
    EXPECT_EQ(d.Filter(), "Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(d.FileName(), "keep__tabs.bmp");
    d.SetFileName(junk);
    return true;
  });
  TMessageBoxLog boxes;
  form_->UpdateBitmap1->Click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(form_->Document().Ini().GetText(), before);
  EXPECT_FALSE(form_->Modified());
  EXPECT_NE(form_->Document().FileList().Find("tabs.bmp"), nullptr);
  EXPECT_EQ(form_->CurrentBitmapName(), "tabs.bmp");
  // Nothing shown: nothing to export.
  ClickNode("Colors");
  form_->EditImage1->Click();
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_EQ(boxes.Calls()[1].Text, "No bitmap to edit !");
  // An export that cannot be written is reported and leaves what was there.
  const fs::path in_the_way = folder_ / "skin" / "keep__tabs.bmp" / "inside";
  fs::create_directories(in_the_way);
  ClickNode("Tab");
  ClickValue(1);
  form_->Editwith1->Click();
  ASSERT_EQ(boxes.Calls().size(), 3u);
  EXPECT_TRUE(fs::exists(in_the_way));
}

TEST_F(BitmapPanel, TitleButtonsAddedDeletedAndSaved) {
  const std::string path = Write("buttons.skn", DefaultSkinWith({}));
  form_->OpenSkinFile(path);
  const int buttons = form_->TitleButtonNode->Count();
  ClickNode("Tab");
  EXPECT_FALSE(form_->DelBtn->Enabled());
  {
    TMessageBoxLog boxes;
    form_->Delete1->Click();  // not a title button: nothing, not even a question
    EXPECT_TRUE(boxes.Calls().empty());
  }
  ClickToolButton(form_->ToolBar1, form_->AddBtn);
  ASSERT_TRUE(PumpUntil([&] { return form_->TitleButtonNode->Count() == buttons + 1; }));
  const std::string first = form_->Tree1->Selected()->Text();
  ClickToolButton(form_->ToolBar1, form_->AddBtn);
  ASSERT_TRUE(PumpUntil([&] { return form_->TitleButtonNode->Count() == buttons + 2; }));
  const std::string second = form_->Tree1->Selected()->Text();
  EXPECT_NE(first, second);
  EXPECT_TRUE(first.starts_with("Button"));
  EXPECT_EQ(form_->VL->Cells(0, 1), "Button BMP");
  EXPECT_EQ(form_->VL->Cells(1, 5), "-6");
  EXPECT_TRUE(form_->DelBtn->Enabled());
  EXPECT_TRUE(form_->Modified());

  ClickNode(first);
  {
    TMessageBoxLog boxes(IDNO);
    ClickToolButton(form_->ToolBar1, form_->DelBtn);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, "Do you want to delete this node?");
    EXPECT_NE(Node(first), nullptr);
  }
  {
    TMessageBoxLog boxes(IDYES);
    ClickToolButton(form_->ToolBar1, form_->DelBtn);
    ASSERT_EQ(boxes.Calls().size(), 1u);
  }
  EXPECT_EQ(Node(first), nullptr);
  EXPECT_EQ(form_->TitleButtonNode->Count(), buttons + 1);
  ClickToolButton(form_->ToolBar1, form_->SaveBtn);
  ASSERT_TRUE(PumpUntil([&] { return !form_->Modified(); }));

  TMemIniFile saved = IniOf(path);
  EXPECT_FALSE(saved.SectionExists(first));
  ASSERT_TRUE(saved.SectionExists(second));
  std::vector<std::string> keys;
  saved.ReadSection(second, keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"ButtonImage", "XCoord", "YCoord", "Align", "Action",
                                            "Visibility"}));
  // Opened again, the deleted button stays gone.
  form_->OpenSkinFile(path);
  EXPECT_EQ(Node(first), nullptr);
  EXPECT_NE(Node(second), nullptr);
}

}  // namespace
