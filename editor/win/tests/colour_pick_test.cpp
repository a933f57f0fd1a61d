// The colour page's picker and the screen pick driven with the real mouse
// and keyboard: drags of handles and sliders, strip clicks, "Set Color", the
// full-screen pick with its magnifier, and the colour read back from the
// screen, the grid, the skin's INI and the saved package.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "editor/colour_text.h"
#include "editor_window_test.h"
#include "ez_color.h"
#include "format/file_io.h"
#include "main_form.h"
#include "screen_pick.h"

namespace {

namespace fs = std::filesystem;
using namespace editor_window_test;

class ColourPick : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("mv_pick_" + std::to_string(GetCurrentProcessId()) +
                                           "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    MoveTo(POINT{5, 1000});  // away from everything the test clicks
    form_ = new TMainfm(nullptr, folder_.string());
    form_->AfterConstruction();
    form_->SetWindowState(TWindowState::wsNormal);
    form_->SetBounds(0, 0, 1200, 900);
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Pump(20);
    path_ = (folder_ / "pick.skn").string();
    WriteFileAtomic(path_, DefaultSkinWith({{"Colours", "ButtonFace", "100 150 50"},
                                            {"Colours", "WindowText", "1 2 3"}}));
    form_->OpenSkinFile(path_);
    ClickNode("Colors");
  }
  void TearDown() override {
    INPUT up = real_input::MouseInput(POINT{5, 1000}, MOUSEEVENTF_LEFTUP);
    SendInput(1, &up, sizeof up);
    CloseEditor(form_, folder_);
  }
  void ClickNode(const std::string& caption) {
    TTreeNodes* items = form_->Tree1->Items();
    TTreeNode* node = nullptr;
    for (int i = 0; i < items->Count() && !node; ++i)
      if (items->Item(i)->Text() == caption) node = items->Item(i);
    ASSERT_NE(node, nullptr) << caption;
    RECT r{};
    HTREEITEM item = node->ItemId();
    std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle
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
  // A point of the picker's picture on the screen.
  POINT OnPicker(int x, int y) const { return form_->EZColor->ClientToScreen(POINT{x, y}); }
  // A press at `from`, moves towards and to `to`, and the release.
  void Drag(POINT from, POINT to) {
    MoveTo(from);
    real_input::MouseAt(from, MOUSEEVENTF_LEFTDOWN);
    Pump(3);
    real_input::MouseAt(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2}, 0);
    Pump(3);
    real_input::MouseAt(to, 0);
    Pump(5);
    real_input::MouseAt(to, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return form_->EZColor->Picker().PickMode() == pmIdle; }));
  }
  // Waits for the picker to show `colour`.
  void ExpectPickerColour(COLORREF colour) {
    EXPECT_TRUE(PumpUntil([&] { return form_->EZColor->CurrentColor() == colour; }))
        << std::hex << form_->EZColor->CurrentColor() << " instead of " << colour;
  }
  // Starts a screen pick from the "..." button of grid row `row`. (A click
  // on the grid may raise the main window over the test's patches: they are
  // made between the two.)
  TColorFm* StartPick(int row, std::function<void()> before_button = nullptr) {
    ClickValue(row);
    if (before_button) before_button();
    TButton* dots = form_->VL->EditButton();
    EXPECT_TRUE(dots->Visible());
    ClickAt(dots->ClientToScreen(POINT{dots->Width() / 2, dots->Height() / 2}));
    TColorFm* pick = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
      pick = dynamic_cast<TColorFm*>(form_->FindComponent("ColorFm"));
      return pick && pick->Visible() && GetForegroundWindow() == pick->WindowHandle();
    }));
    return pick;
  }
  std::string Cell(int row) const { return form_->VL->Cells(1, row); }
  std::string IniValue(const std::string& key) const {
    return form_->Document().Ini().ReadString("Colours", key, "");
  }

  fs::path folder_;
  std::string path_;
  TMainfm* form_ = nullptr;
};

TEST_F(ColourPick, HandlesSlidersAndStripByMouseThenSetColor) {
  ClickValue(1);  // "Window Color", key ButtonFace
  TEZColor* picker = form_->EZColor;
  ASSERT_TRUE(PumpUntil([&] { return picker->Showing(); }));
  ExpectPickerColour(RGB(100, 150, 50));
  const TPickerGeometry& g = picker->Picker().Geometry();
  ASSERT_EQ(g.W, 193);
  // The blue handle dragged above the cube: blue 255.
  Drag(OnPicker(g.cx, picker->Picker().Marks().Bz), OnPicker(g.cx, -20));
  ExpectPickerColour(RGB(100, 150, 255));
  // The red slider's marker dragged below its bar (and the control): red 0.
  Drag(OnPicker(g.x0 + 1, picker->Picker().Marks().yR), OnPicker(g.x0 + 1, 400));
  ExpectPickerColour(RGB(0, 150, 255));
  // The green handle dragged right of the cube: green 255.
  const TPickerMarks marks = picker->Picker().Marks();
  Drag(OnPicker(marks.Gx, marks.Gy), OnPicker(g.cx + g.e + 30, marks.Gy));
  ExpectPickerColour(RGB(0, 255, 255));
  // What the control shows is the picture: the swatch on the screen.
  EXPECT_TRUE(
      PumpUntil([&] { return ScreenPixel(OnPicker(g.m + 3, g.m + 3)) == RGB(0, 255, 255); }));

  // A click in the strip takes the colour shown there.
  const POINT strip = OnPicker(g.s + 21, 50);
  const COLORREF shown = ScreenPixel(strip);
  EXPECT_EQ(shown, static_cast<COLORREF>(PaletteColor(50.0 / 193)));
  ClickAt(strip);
  ExpectPickerColour(shown);
  // A click below the picture (the control is taller than wide) takes nothing.
  ClickAt(OnPicker(g.s + 10, g.W + 10));
  EXPECT_EQ(picker->CurrentColor(), static_cast<uint32_t>(shown));

  ClickAt(form_->ColorBtn->ClientToScreen(POINT{10, 10}));
  const std::string text = FormatRGB(shown);
  EXPECT_TRUE(PumpUntil([&] { return Cell(1) == text; })) << Cell(1);
  EXPECT_EQ(IniValue("ButtonFace"), text);
  EXPECT_TRUE(form_->Modified());
  // The grid's swatch shows it (once the row is no longer being edited).
  ClickValue(3);
  const RECT cell = form_->VL->CellRect(1, 1);
  const POINT swatch =
      form_->VL->ClientToScreen(POINT{cell.left + 5, cell.top + (cell.bottom - cell.top) / 2});
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(swatch) == shown; }));
  ASSERT_TRUE(form_->SaveSkin(false));
  EXPECT_EQ(IniOf(path_).ReadString("Colours", "ButtonFace", ""), text);
}

TEST_F(ColourPick, AScreenPixelByAnyButtonReachesGridPickerAndPackage) {
  std::unique_ptr<TColourPatch> patch;
  TColorFm* pick = StartPick(2, [&] {  // "Window Text", key WindowText
    patch = std::make_unique<TColourPatch>(RGB(12, 34, 56), RECT{900, 700, 1000, 780});
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(POINT{950, 740}) == RGB(12, 34, 56); }));
  });
  ASSERT_NE(pick, nullptr);
  MoveTo(POINT{950, 740});
  MoveTo(POINT{951, 741});
  ASSERT_TRUE(PumpUntil([&] { return pick->Label2->Caption() == "12 34 56"; }))
      << pick->Label2->Caption() << " at " << pick->CursorPos.x << "," << pick->CursorPos.y;
  EXPECT_EQ(pick->Label1->Caption(), "$000C2238");
  EXPECT_EQ(pick->PickedColor, static_cast<uint32_t>(RGB(12, 34, 56)));
  // The magnifier sits right of and below the cursor; its lens is centred
  // on the cursor's pixel.
  EXPECT_EQ(pick->Panel1->Left(), pick->CursorPos.x + 10);
  EXPECT_EQ(pick->Panel1->Top(), pick->CursorPos.y + 8);
  const POINT centre = pick->PaintBox1->ClientToScreen(POINT{50, 50});
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(centre) == RGB(12, 34, 56); }));
  const POINT swatch = pick->PaintBox2->ClientToScreen(POINT{10, 10});
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(swatch) == RGB(12, 34, 56); }));

  ClickAt(POINT{951, 741}, MOUSEEVENTF_RIGHTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return !pick->Visible(); }));
  EXPECT_EQ(Cell(2), "12 34 56");
  EXPECT_EQ(IniValue("WindowText"), "12 34 56");
  EXPECT_EQ(form_->EZColor->CurrentColor(), static_cast<uint32_t>(RGB(12, 34, 56)));
  ASSERT_TRUE(form_->SaveSkin(false));
  EXPECT_EQ(IniOf(path_).ReadString("Colours", "WindowText", ""), "12 34 56");
}

TEST_F(ColourPick, TheMagnifierFlipsAtTheRightAndBottomEdges) {
  TColorFm* pick = StartPick(2);
  ASSERT_NE(pick, nullptr);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  MoveTo(POINT{w - 5, h - 5});
  ASSERT_TRUE(PumpUntil([&] { return pick->CursorPos.x == w - 5 && pick->CursorPos.y == h - 5; }));
  EXPECT_EQ(pick->Panel1->Left(), w - 5 - 10 - pick->Panel1->Width());
  EXPECT_EQ(pick->Panel1->Top(), h - 5 - 8 - pick->Panel1->Height());
  MoveTo(POINT{w - 5, 100});
  ASSERT_TRUE(PumpUntil([&] { return pick->CursorPos.y == 100; }));
  EXPECT_EQ(pick->Panel1->Left(), w - 5 - 10 - pick->Panel1->Width());
  EXPECT_EQ(pick->Panel1->Top(), 108);
  real_input::Key(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !pick->Visible(); }));
}

TEST_F(ColourPick, NearTheTopLeftCornerThePickIsStillThePixelUnderTheCursor) {
  std::unique_ptr<TColourPatch> corner, around;
  TColorFm* pick = StartPick(2, [&] {
    corner = std::make_unique<TColourPatch>(RGB(200, 10, 10), RECT{0, 0, 6, 6});
    around = std::make_unique<TColourPatch>(RGB(10, 200, 10), RECT{6, 0, 40, 40});
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(POINT{3, 3}) == RGB(200, 10, 10); }));
  });
  ASSERT_NE(pick, nullptr);
  MoveTo(POINT{4, 4});
  MoveTo(POINT{2, 2});
  // (Absolute mouse coordinates may land a pixel off.)
  ASSERT_TRUE(PumpUntil([&] { return pick->CursorPos.x < 4 && pick->CursorPos.y < 4; }));
  EXPECT_EQ(pick->Label2->Caption(), "200 10 10");
  const POINT centre = pick->PaintBox1->ClientToScreen(POINT{50, 50});
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(centre) == RGB(200, 10, 10); }));
  ClickAt(POINT{2, 2});
  ASSERT_TRUE(PumpUntil([&] { return !pick->Visible(); }));
  EXPECT_EQ(IniValue("WindowText"), "200 10 10");
}

TEST_F(ColourPick, EscapeGivesUpAndTheFormIsKeptForTheNextPick) {
  const std::string before = form_->Document().Ini().GetText();
  TColorFm* pick = StartPick(2);
  ASSERT_NE(pick, nullptr);
  real_input::Key(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !pick->Visible(); }));
  Pump(10);
  EXPECT_EQ(form_->Document().Ini().GetText(), before);
  EXPECT_FALSE(form_->Modified());
  EXPECT_EQ(Cell(2), "1 2 3");
  EXPECT_EQ(StartPick(2), pick);
  real_input::Key(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !pick->Visible(); }));
}

TEST_F(ColourPick, ThePickGoesToTheKeyItBeganOn) {
  std::unique_ptr<TColourPatch> patch;
  TColorFm* pick = StartPick(2, [&] {
    patch = std::make_unique<TColourPatch>(RGB(90, 80, 70), RECT{900, 700, 1000, 780});
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(POINT{950, 740}) == RGB(90, 80, 70); }));
  });
  ASSERT_NE(pick, nullptr);
  // The grid moves on while the form is up: another element, another row.
  form_->LoadElement("MenuItem");
  const int rows = form_->VL->RowCount();
  ASSERT_GT(rows, 2);
  const std::string other = Cell(2);
  ClickAt(POINT{950, 740});
  ASSERT_TRUE(PumpUntil([&] { return !pick->Visible(); }));
  EXPECT_EQ(IniValue("WindowText"), "90 80 70");
  EXPECT_EQ(Cell(2), other);
}

}  // namespace

namespace {

// The picker's own width follows its layout: too narrow grows to 180, too
// wide shrinks to 560 and first gives up a client alignment.
TEST(EZColorLayout, WidthsAreClampedWhenPainted) {
  struct TCase {
    int Width;
    bool ClientAligned;
    int Expected;
  };
  for (const TCase& c : {TCase{150, false, 180}, TCase{193, false, 193}, TCase{700, true, 560}}) {
    auto* form = new TForm(nullptr);
    form->AfterConstruction();
    form->SetBounds(100, 100, 760, 640);
    auto* picker = new TEZColor(form);
    picker->SetBounds(0, 0, c.Width, 217);
    if (c.ClientAligned) picker->SetAlign(TAlign::alClient);
    picker->SetParent(form);
    form->Show();
    EXPECT_TRUE(PumpUntil([&] { return picker->Width() == c.Expected; }))
        << c.Width << " became " << picker->Width();
    EXPECT_EQ(picker->Align(), TAlign::alNone) << c.Width;
    EXPECT_EQ(picker->Picker().LaidOutWidth(), c.Expected);
    // The picture's frame line runs along its right edge.
    const POINT edge = picker->ClientToScreen(POINT{c.Expected - 1, 40});
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(edge) == RGB(128, 128, 128); })) << c.Width;
    form->Free();
    Pump(3);
  }
}

}  // namespace
