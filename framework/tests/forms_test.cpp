// Forms, the application loop, idle handling and timers.
#include <gtest/gtest.h>

#include "framework/dialogs.h"
#include "test_support.h"

namespace {

TEST(Forms, ShowModalEndsThroughAButtonClick) {
  TOwned<TMainfm> main_form(new TMainfm(nullptr));
  main_form->Show();
  TOwned<TForm1> dialog(new TForm1(nullptr));
  auto* ok = new TTestButton(dialog.get());
  ok->SetParent(dialog.get());
  ok->ModalResult = mrOk;
  bool main_was_disabled = false;
  ok->OnClick = [&](TObject*) { main_was_disabled = !IsWindowEnabled(main_form->Handle()); };
  // The click arrives while the modal loop runs.
  PostMessageA(ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(main_was_disabled);
  EXPECT_TRUE(IsWindowEnabled(main_form->Handle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(IsWindowVisible(dialog->Handle()));

  // OnCloseQuery may refuse; the loop goes on until it agrees.
  int asked = 0;
  dialog->OnCloseQuery = [&](TObject*, bool& can_close) {
    can_close = ++asked >= 2;
    if (!can_close) PostMessageA(ok->Handle(), BM_CLICK, 0, 0);
  };
  TCloseAction seen = TCloseAction::caNone;
  dialog->OnClose = [&](TObject*, TCloseAction& action) { seen = action; };
  PostMessageA(ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(seen, TCloseAction::caHide);

  // Close (the window's close box) ends it with mrCancel.
  dialog->OnCloseQuery = nullptr;
  PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);

  dialog->Show();
  EXPECT_THROW(dialog->ShowModal(), std::runtime_error);
}

TEST(Forms, CloseActionsHideOrFreeTheForm) {
  bool destroyed = false;
  auto* form = Create<TForm1>(nullptr);
  form->OnDestroy = [&](TObject*) { destroyed = true; };
  form->Show();
  TCloseAction action = TCloseAction::caHide;
  form->OnClose = [&](TObject*, TCloseAction& a) { a = action; };

  action = TCloseAction::caNone;
  form->Close();
  EXPECT_TRUE(form->Visible());
  action = TCloseAction::caHide;
  form->Close();
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(destroyed);

  form->Show();
  // A new window for a visible form (a border change) is visible too.
  HWND first = form->Handle();
  form->SetBorderStyle(TFormBorderStyle::bsDialog);
  EXPECT_NE(form->Handle(), first);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  action = TCloseAction::caFree;
  size_t forms_before = Application->Forms().size();
  form->Close();
  EXPECT_FALSE(destroyed);  // not while its handler may still run
  Application->ProcessMessages();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Application->Forms().size(), forms_before - 1);
}

TEST(Forms, OnCreateRunsAfterConstructionAndTheFirstFormIsMain) {
  class TEventForm : public TForm {
   public:
    explicit TEventForm(TComponent* owner) : TForm(owner) {
      OnCreate = [this](TObject*) { created_caption = Caption(); };
      SetCaption("made");
    }
    std::string created_caption;
  };
  TCustomForm* saved_main = Application->MainForm();
  Application->SetMainForm(nullptr);
  auto* first = Application->CreateForm<TEventForm>();
  auto* second = Application->CreateForm<TEventForm>();
  EXPECT_EQ(first->created_caption, "made");
  EXPECT_EQ(Application->MainForm(), first);
  EXPECT_EQ(first->Owner(), Application);
  second->Free();
  first->Free();
  EXPECT_EQ(Application->MainForm(), nullptr);
  Application->SetMainForm(saved_main);
}

TEST(Application, OneShotIdleHandlerRemovesItself) {
  int calls = 0;
  Application->OnIdle = [&](TObject*, bool& done) {
    ++calls;
    Application->OnIdle = nullptr;  // while running: must be safe
    Application->Terminate();
    done = true;
  };
  Application->Run();
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(Application->OnIdle);
}

TEST(Application, ClosingTheMainFormEndsRun) {
  TCustomForm* saved_main = Application->MainForm();
  TOwned<TMainfm> main_form(new TMainfm(nullptr));
  Application->SetMainForm(main_form.get());
  PostMessageA(main_form->Handle(), WM_CLOSE, 0, 0);
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  Application->SetMainForm(saved_main);
}

TEST(Timers, TimerTicksUntilDisabledAndErrorsGoToTheErrorBox) {
  TMessageBoxLog log;
  TOwned<TTimer> timer(new TTimer(nullptr));
  int ticks = 0;
  timer->SetInterval(5);
  timer->OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, timer.get());
    if (++ticks == 2) throw std::runtime_error("tick failed");
    if (ticks == 3) {
      timer->SetEnabled(false);
      Application->Terminate();
    }
  };
  Application->Run();
  EXPECT_EQ(ticks, 3);
  ASSERT_EQ(log.Calls().size(), 1u);
  EXPECT_EQ(log.Calls()[0].Text, "tick failed.");
  // Disabled: no more ticks, whatever arrives.
  Sleep(30);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(GetEnumPropByName(timer.get(), "Enabled"), "False");
}

TEST(Focus, TabOrderSkipsControlsThatCannotTakeTheFocus) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto add = [&](TWinControl* parent, const char* name) {
    auto* b = new TTestButton(form.get());
    b->SetName(name);
    b->SetParent(parent);
    return b;
  };
  form->Show();
  TTestButton* a = add(form.get(), "a");
  TTestButton* b = add(form.get(), "b");
  auto* panel = new TTestPanel(form.get());
  panel->SetParent(form.get());
  TTestButton* c = add(panel, "c");
  TTestButton* d = add(form.get(), "d");
  b->SetTabStop(false);
  d->SetEnabled(false);
  c->SetTabOrder(0);
  a->SetTabOrder(1);  // a moves after b in the form's order
  EXPECT_EQ(a->TabOrder(), 1);
  struct Case {
    TWinControl* from;
    bool forward;
    bool check_tab_stop;
    TWinControl* expected;
  } cases[] = {{nullptr, true, true, a}, {a, true, true, c},  {c, true, true, a},
               {c, false, true, a},      {a, false, true, c}, {a, false, false, b},
               {b, true, false, a}};
  for (const Case& t : cases) {
    EXPECT_EQ(form->FindNextControl(t.from, t.forward, t.check_tab_stop), t.expected)
        << (t.from ? t.from->Name() : "none") << " " << t.forward << t.check_tab_stop;
  }
}

}  // namespace
