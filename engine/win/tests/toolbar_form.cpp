#include "toolbar_form.h"

#include "framework/comctrls.h"
#include "framework/forms.h"

TToolbarForm::TToolbarForm() {
  auto* form = Create<TForm>(static_cast<TComponent*>(nullptr));
  Form = form;
  form->SetBounds(80, 80, 420, 300);
  Bar = new TToolBar(form);
  Bar->SetParent(form);
  Bar->SetButtonWidth(40);
  Bar->SetButtonHeight(30);
  auto* plain = new TToolButton(form);
  plain->SetParent(Bar);
  auto* down = new TToolButton(form);
  down->SetStyle(TToolButtonStyle::tbsCheck);
  down->SetParent(Bar);
  down->SetDown(true);
  auto* off = new TToolButton(form);
  off->SetParent(Bar);
  off->SetEnabled(false);
  form->Show();
  FormWindow = form->Handle();
  BarWindow = Bar->Handle();
  auto rect = [&](TToolButton* b) {
    RECT r{};
    SendMessageA(BarWindow, TB_GETRECT, static_cast<WPARAM>(b->CommandId()),
                 reinterpret_cast<LPARAM>(&r));
    return r;
  };
  Plain = rect(plain);
  Down = rect(down);
  Off = rect(off);
}

TToolbarForm::~TToolbarForm() {
  Form->Free();
}

bool TToolbarForm::HasBackgroundPainter() const {
  return static_cast<bool>(Bar->OnCustomDraw);
}
bool TToolbarForm::HasButtonPainter() const {
  return static_cast<bool>(Bar->OnCustomDrawButton);
}

void TToolbarForm::SetOwnBackground(std::function<void()> handler) {
  Bar->OnCustomDraw = [handler](TToolBar*, const RECT&, bool&) { handler(); };
}
void TToolbarForm::ClearBackground() {
  Bar->OnCustomDraw = nullptr;
}

void TToolbarForm::FreeBar() {
  Bar->Free();
  Bar = nullptr;
}

// The state rule of the tool-button painter, over the framework's own state
// set (which only this side of the tests can name).
#include <gtest/gtest.h>

#include "engine_win/toolbar_painters.h"

TEST(ToolButtonFrame, StatesPickTheStripFrame) {
  struct Row {
    unsigned state;
    int frame;
  };
  static constexpr Row kRows[] = {
      {0, 1},
      {cdsDefault, 1},
      {cdsMarked, 1},
      {cdsSelected, 2},
      {cdsChecked, 1},
      {cdsChecked | cdsHot, 4},
      {cdsSelected | cdsHot, 2},
      {cdsHot, 4},
      {cdsFocused, 4},
      {cdsGrayed, 0},
      {cdsDisabled, 0},
      {cdsDisabled | cdsHot, 0},
  };
  for (const Row& r : kRows)
    EXPECT_EQ(ToolButtonFrame(r.state), r.frame) << r.state;
}
