// Controls under a real window system: class names, the control property,
// reflection, replaceable handlers, windowless children, errors in handlers.
#include <gtest/gtest.h>

#include <cstdio>

#include "framework/dialogs.h"
#include "test_support.h"

namespace {

std::string WindowClassName(HWND h) {
  char name[256] = {};
  GetClassNameA(h, name, sizeof name);
  return name;
}

TEST(Windows, ClassNamesFollowFrameworkClassesAndCarryTheControlProperty) {
  TOwned<TForm1> form1(new TForm1(nullptr));
  TOwned<TMainfm> mainfm(new TMainfm(nullptr));
  auto* panel = new TTestPanel(form1.get());
  panel->SetParent(form1.get());
  auto* button = new TTestButton(form1.get());
  button->SetParent(panel);

  // Computed here independently: "ControlOfs" + instance + thread id.
  char expected_name[64];
  std::snprintf(expected_name, sizeof expected_name, "ControlOfs%.8X%.8X",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))),
                static_cast<unsigned>(GetCurrentThreadId()));
  struct Case {
    TWinControl* control;
    const char* class_name;
  } cases[] = {{form1.get(), "TForm1"},
               {mainfm.get(), "TMainfm"},
               {panel, "TTestPanel"},
               {button, "TTestButton"}};
  for (const Case& c : cases) {
    HWND h = c.control->Handle();
    EXPECT_EQ(WindowClassName(h), c.class_name);
    EXPECT_EQ(GetPropA(h, expected_name), static_cast<TControl*>(c.control)) << c.class_name;
    EXPECT_EQ(FindControl(h), c.control);
    EXPECT_FALSE(IsWindowUnicode(h)) << c.class_name;
  }
  // The property's name is a global atom (other modules find it by name).
  EXPECT_EQ(GlobalFindAtomA(expected_name), ControlAtom()) << expected_name;
  // The parents' windows came first and hold the children.
  EXPECT_EQ(GetParent(button->Handle()), panel->Handle());
  EXPECT_EQ(GetParent(panel->Handle()), form1->Handle());
  // The superclassed button still behaves as a native button.
  EXPECT_EQ(SendMessageA(button->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON,
            DLGC_UNDEFPUSHBUTTON);

  // A destroyed window loses its property; the control can make a new one.
  HWND old = button->Handle();
  DestroyWindow(old);
  EXPECT_FALSE(button->HandleAllocated());
  EXPECT_EQ(FindControl(old), nullptr);
  EXPECT_NE(button->Handle(), nullptr);
  EXPECT_EQ(FindControl(button->Handle()), button);
}

TEST(Windows, ParentReflectsNotificationsToTheChildControl) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* button = new TTestButton(form.get());
  button->ControlId = 77;
  button->SetParent(form.get());
  HWND bh = button->Handle();
  HWND fh = form->Handle();

  std::vector<TMessage> seen;
  TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) {
      seen.push_back(m);
      m.Result = 1234;
      return;
    }
    saved(m);
  };

  NMHDR nm{bh, 77, 5};
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.hwndItem = bh;
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_LISTBOX;
  mis.CtlID = 77;
  struct Case {
    UINT msg;
    WPARAM wparam;
    LPARAM lparam;
  } cases[] = {
      {WM_COMMAND, MAKEWPARAM(77, BN_CLICKED), reinterpret_cast<LPARAM>(bh)},
      {WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&nm)},
      {WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bh)},
      {WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bh)},
      {WM_CTLCOLORBTN, 0x1234, reinterpret_cast<LPARAM>(bh)},
      {WM_CTLCOLORSTATIC, 0x1234, reinterpret_cast<LPARAM>(bh)},
      {WM_DRAWITEM, 77, reinterpret_cast<LPARAM>(&dis)},
      {WM_MEASUREITEM, 77, reinterpret_cast<LPARAM>(&mis)},
  };
  for (const Case& c : cases) {
    seen.clear();
    EXPECT_EQ(SendMessageA(fh, c.msg, c.wparam, c.lparam), 1234) << std::hex << c.msg;
    ASSERT_EQ(seen.size(), 1u) << std::hex << c.msg;
    EXPECT_EQ(seen[0].Msg, CN_BASE + c.msg);
    EXPECT_EQ(seen[0].WParam, c.wparam);
    EXPECT_EQ(seen[0].LParam, c.lparam);
  }
  EXPECT_EQ(CN_NOTIFY, 0xBC4Eu);

  // Messages about windows that are no framework controls are not reflected.
  HWND plain =
      CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 10, 10, fh, nullptr, nullptr, nullptr);
  seen.clear();
  SendMessageA(fh, WM_COMMAND, 0, reinterpret_cast<LPARAM>(plain));
  EXPECT_TRUE(seen.empty());
  button->WindowProc = saved;
}

TEST(Windows, WindowProcCanBeReplacedAndRestored) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* panel = new TTestPanel(form.get());
  panel->SetParent(form.get());
  HWND h = panel->Handle();
  std::vector<std::string> log;

  TWndMethod original = panel->WindowProc;
  panel->WindowProc = [&, original](TMessage& m) {
    if (m.Msg == WM_USER + 1) log.push_back("outer");
    if (m.Msg == WM_SETTEXT) return;  // swallowed
    original(m);
  };
  TWndMethod outer = panel->WindowProc;
  panel->WindowProc = [&, outer](TMessage& m) {
    if (m.Msg == WM_USER + 1) log.push_back("inner");
    if (m.Msg == CM_ENABLEDCHANGED) log.push_back("enabled");
    outer(m);
  };

  SendMessageA(h, WM_USER + 1, 0, 0);
  panel->SetEnabled(false);  // a framework notification goes through the hook too
  SetWindowTextA(h, "changed");
  EXPECT_EQ(log, (std::vector<std::string>{"inner", "outer", "enabled"}));
  EXPECT_EQ(panel->Text(), "");

  panel->WindowProc = outer;  // restored in reverse order
  panel->WindowProc = original;
  log.clear();
  SendMessageA(h, WM_USER + 1, 0, 0);
  SetWindowTextA(h, "changed");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(panel->Text(), "changed");
  EXPECT_EQ(panel->Perform(WM_GETTEXTLENGTH), 7);
}

// Mouse messages as the window system sends them to the parent window.
void Mouse(HWND h, UINT msg, int x, int y, WPARAM keys = 0) {
  SendMessageA(h, msg, keys, MAKELPARAM(x, y));
}

TEST(Windowless, MouseEnterLeaveAndClicksAreRoutedToTheChildUnderTheMouse) {
  std::vector<std::string> log;
  TOwned<TForm1> form(new TForm1(nullptr));
  form->SetBounds(0, 0, 300, 200);
  auto* a = new TTestShape(form.get(), &log);
  a->SetName("A");
  a->SetBounds(10, 10, 50, 50);
  a->SetParent(form.get());
  auto* b = new TTestShape(form.get(), &log);
  b->SetName("B");
  b->SetBounds(40, 10, 50, 50);  // overlaps A from x 40 to 59, and is on top
  b->SetParent(form.get());
  form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    log.push_back("form:down" + std::to_string(x) + "," + std::to_string(y));
  };
  HWND h = form->Handle();

  struct Step {
    UINT msg;
    int x, y;
    WPARAM keys;
    std::vector<std::string> expected;
  } steps[] = {
      {WM_MOUSEMOVE, 15, 15, 0, {"A:enter"}},
      {WM_MOUSEMOVE, 20, 20, 0, {}},
      {WM_MOUSEMOVE, 45, 20, 0, {"A:leave", "B:enter"}},  // the topmost wins
      {WM_MOUSELEAVE, 0, 0, 0, {"B:leave"}},
      {WM_MOUSEMOVE, 150, 150, 0, {}},  // the form itself
      {WM_LBUTTONDOWN, 150, 150, MK_LBUTTON, {"form:down150,150"}},
      {WM_LBUTTONUP, 150, 150, 0, {}},
      {WM_LBUTTONDOWN, 15, 16, MK_LBUTTON, {"A:enter", "A:down5,6"}},
      {WM_LBUTTONUP, 16, 17, 0, {"A:up6,7", "A:click"}},
      // Down on A, released over B: A has the capture, no click for anyone.
      {WM_LBUTTONDOWN, 15, 15, MK_LBUTTON, {"A:down5,5"}},
      {WM_MOUSEMOVE, 80, 20, MK_LBUTTON, {"A:leave", "B:enter"}},
      {WM_LBUTTONUP, 80, 20, 0, {"A:up70,10"}},
      {WM_LBUTTONDOWN, 80, 20, MK_LBUTTON, {"B:down40,10"}},
      {WM_LBUTTONUP, 80, 20, 0, {"B:up40,10", "B:click"}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    log.clear();
    Mouse(h, steps[i].msg, steps[i].x, steps[i].y, steps[i].keys);
    EXPECT_EQ(log, steps[i].expected) << "step " << i;
  }
  EXPECT_EQ(CaptureControl(), nullptr);

  // A disabled windowless child is transparent to the mouse.
  b->SetEnabled(false);
  log.clear();
  Mouse(h, WM_LBUTTONDOWN, 80, 20, MK_LBUTTON);
  Mouse(h, WM_LBUTTONUP, 80, 20);
  EXPECT_EQ(log, (std::vector<std::string>{"B:leave", "form:down80,20"}));
}

TEST(Windowless, ChildrenPaintInTheirOwnCoordinatesClippedToTheirBounds) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* a = new TTestShape(form.get(), nullptr);
  a->SetBounds(4, 3, 5, 6);
  a->SetParent(form.get());
  auto* hidden = new TTestShape(form.get(), nullptr);
  hidden->SetBounds(12, 0, 4, 4);
  hidden->Fill = clBlue;
  hidden->SetVisible(false);
  hidden->SetParent(form.get());

  TBitmap bmp(20, 12, TPixelFormat::pf24bit);
  bmp.Canvas().Brush().SetColor(clWhite);
  bmp.Canvas().FillRect(RECT{0, 0, 20, 12});
  form->PaintControls(bmp.Canvas().Handle());
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 20; ++x) {
      bool inside = x >= 4 && x < 9 && y >= 3 && y < 9;
      EXPECT_EQ(bmp.Canvas().Pixel(x, y), inside ? 0x0000FFu : 0xFFFFFFu) << x << "," << y;
    }
  }
}

TEST(Layout, AlignedChildrenShareTheClientArea) {
  TOwned<TForm1> form(new TForm1(nullptr));
  form->SetClientSize(200, 100);
  auto make = [&](TAlign a, int w, int h) {
    auto* p = new TTestPanel(form.get());
    p->SetBounds(0, 0, w, h);
    p->SetAlign(a);
    p->SetParent(form.get());
    return p;
  };
  TTestPanel* client = make(TAlign::alClient, 1, 1);
  TTestPanel* top = make(TAlign::alTop, 1, 10);
  TTestPanel* left = make(TAlign::alLeft, 30, 1);
  TTestPanel* bottom = make(TAlign::alBottom, 1, 20);
  form->HandleNeeded();
  struct Case {
    TControl* c;
    RECT r;
  } cases[] = {{top, {0, 0, 200, 10}},
               {bottom, {0, 80, 200, 100}},
               {left, {0, 10, 30, 80}},
               {client, {30, 10, 200, 80}}};
  for (const Case& c : cases) {
    RECT r = c.c->BoundsRect();
    EXPECT_EQ(r.left, c.r.left);
    EXPECT_EQ(r.top, c.r.top);
    EXPECT_EQ(r.right, c.r.right);
    EXPECT_EQ(r.bottom, c.r.bottom);
  }
  top->SetVisible(false);
  EXPECT_EQ(left->Top(), 0);
  EXPECT_EQ(client->Height(), 80);
}

TEST(Errors, AnExceptionInAHandlerIsShownInTheDefaultErrorBox) {
  TMessageBoxLog log;
  Application->SetTitle("Framework tests");
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* button = new TTestButton(form.get());
  button->SetParent(form.get());
  button->OnClick = [](TObject*) { throw std::runtime_error("Cannot open file \"x.skn\""); };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(log.Calls().size(), 1u);
  EXPECT_EQ(log.Calls()[0].Text, "Cannot open file \"x.skn\".");
  EXPECT_EQ(log.Calls()[0].Caption, "Framework tests");
  EXPECT_EQ(log.Calls()[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));

  // A text that ends with a period keeps it; the window survives.
  button->OnClick = [](TObject*) { throw std::invalid_argument("Bad value."); };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(log.Calls().size(), 2u);
  EXPECT_EQ(log.Calls()[1].Text, "Bad value.");
  EXPECT_TRUE(IsWindow(button->Handle()));

  // OnException replaces the box.
  std::string caught;
  Application->OnException = [&](TObject*, const std::exception& e) { caught = e.what(); };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  Application->OnException = nullptr;
  EXPECT_EQ(caught, "Bad value.");
  EXPECT_EQ(log.Calls().size(), 2u);
}

TEST(Errors, PropertiesOfControlsAreReachableByName) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* button = new TTestButton(form.get());
  button->SetParent(form.get());
  button->SetCaption("OK");
  EXPECT_EQ(GetTextPropByName(button, "caption"), "OK");
  EXPECT_TRUE(SetPropFromText(button, "Caption", "Cancel"));
  char text[32] = {};
  GetWindowTextA(button->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Cancel");
  EXPECT_TRUE(SetPropFromText(button, "Color", "255"));
  EXPECT_EQ(GetOrdPropByName(button, "Color"), 255);
  EXPECT_EQ(GetEnumPropByName(button, "Align"), "alNone");
  EXPECT_EQ(GetEnumPropByName(form.get(), "BorderStyle"), "bsSizeable");
  EXPECT_TRUE(SetPropFromText(form.get(), "AutoScroll", "False"));
  EXPECT_FALSE(form->AutoScroll());
  EXPECT_EQ(GetObjectPropByName(button, "Font", TFont::StaticClass()), button->Font());
  EXPECT_TRUE(SetPropFromText(button, "Visible", "false"));
  EXPECT_FALSE(IsWindowVisible(button->Handle()));
  EXPECT_TRUE(button->InheritsFrom("TWinControl"));
  EXPECT_TRUE(form->InheritsFrom("TCustomForm"));
}

}  // namespace

namespace {

TEST(Windows, MouseEnterAndLeaveForWindowedControls) {
  std::vector<std::string> log;
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* panel = new TTestPanel(form.get());
  panel->SetBounds(10, 10, 50, 50);
  panel->SetParent(form.get());
  for (TControl* c : {static_cast<TControl*>(form.get()), static_cast<TControl*>(panel)}) {
    std::string name = c == panel ? "panel" : "form";
    c->OnMouseEnter = [&log, name](TObject*) { log.push_back(name + ":enter"); };
    c->OnMouseLeave = [&log, name](TObject*) { log.push_back(name + ":leave"); };
  }
  struct Step {
    HWND window;
    UINT msg;
    int x, y;
    std::vector<std::string> expected;
  } steps[] = {
      {form->Handle(), WM_MOUSEMOVE, 100, 100, {"form:enter"}},
      {panel->Handle(), WM_MOUSEMOVE, 5, 5, {"form:leave", "panel:enter"}},
      {form->Handle(), WM_MOUSELEAVE, 0, 0, {}},  // the mouse went into the child
      {panel->Handle(), WM_MOUSELEAVE, 0, 0, {"panel:leave"}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    log.clear();
    Mouse(steps[i].window, steps[i].msg, steps[i].x, steps[i].y);
    EXPECT_EQ(log, steps[i].expected) << "step " << i;
  }
  EXPECT_EQ(MouseControl(), nullptr);
  Mouse(panel->Handle(), WM_MOUSEMOVE, 5, 5);
  EXPECT_EQ(MouseControl(), panel);
  panel->Free();  // a dying control is forgotten
  EXPECT_EQ(MouseControl(), nullptr);
}

TEST(Windows, TabKeyMovesTheFocusThroughTheForm) {
  std::vector<std::string> log;
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* a = new TTestButton(form.get());
  a->SetParent(form.get());
  auto* b = new TTestButton(form.get());
  b->SetBounds(0, 30, 75, 25);
  b->SetParent(form.get());
  a->OnExit = [&](TObject*) { log.push_back("a:exit"); };
  b->OnEnter = [&](TObject*) { log.push_back("b:enter"); };
  form->Show();
  a->SetFocus();
  Application->ProcessMessages();
  ASSERT_TRUE(a->Focused());
  EXPECT_EQ(form->ActiveControl(), a);

  PostMessageA(a->Handle(), WM_KEYDOWN, VK_TAB, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(form->ActiveControl(), b);
  EXPECT_EQ(log, (std::vector<std::string>{"a:exit", "b:enter"}));
}

TEST(Windows, KeyPreviewLetsTheFormSeeKeysFirst) {
  std::vector<std::string> log;
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* button = new TTestButton(form.get());
  button->SetParent(form.get());
  form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    log.push_back("form:" + std::to_string(key));
    if (key == 'Q') key = 0;
  };
  form->OnKeyPress = [&](TObject*, char& c) { log.push_back(std::string("form:") + c); };
  button->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    log.push_back("button:" + std::to_string(key));
  };
  button->OnKeyPress = [&](TObject*, char& c) { log.push_back(std::string("button:") + c); };
  HWND h = button->Handle();
  struct Case {
    bool preview;
    UINT msg;
    WPARAM key;
    std::vector<std::string> expected;
  } cases[] = {
      {false, WM_KEYDOWN, 'A', {"button:65"}},
      {true, WM_KEYDOWN, 'A', {"form:65", "button:65"}},
      {true, WM_KEYDOWN, 'Q', {"form:81"}},  // consumed by the form
      {true, WM_CHAR, 'x', {"form:x", "button:x"}},
      {false, WM_CHAR, 'x', {"button:x"}},
  };
  for (const Case& c : cases) {
    log.clear();
    form->SetKeyPreview(c.preview);
    SendMessageA(h, c.msg, c.key, 0);
    EXPECT_EQ(log, c.expected) << c.preview << " " << c.key;
  }
}

TEST(Windows, ChildrenFollowTheParentColourAndFontUntilGivenTheirOwn) {
  TOwned<TForm1> form(new TForm1(nullptr));
  form->SetColor(clBlue);
  form->Font()->SetName("Arial");
  auto* panel = new TTestPanel(form.get());
  panel->SetParent(form.get());  // takes the parent's at once
  auto* shape = new TTestShape(form.get(), nullptr);
  shape->SetParent(panel);
  auto* own = new TTestShape(form.get(), nullptr);
  own->SetColor(clRed);
  own->Font()->SetName("Courier New");
  own->SetParent(panel);
  EXPECT_EQ(panel->Color(), clBlue);
  EXPECT_EQ(shape->Font()->Name(), "Arial");

  form->SetColor(clLime);
  form->Font()->SetSize(12);
  struct Case {
    TControl* c;
    TColor color;
    const char* font;
    int size;
    bool parent_color;
  } cases[] = {{panel, clLime, "Arial", 12, true},
               {shape, clLime, "Arial", 12, true},  // through the panel
               {own, clRed, "Courier New", 8, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.c->Color(), c.color) << c.font;
    EXPECT_EQ(c.c->Font()->Name(), c.font);
    EXPECT_EQ(c.c->Font()->Size(), c.size);
    EXPECT_EQ(c.c->ParentColor(), c.parent_color);
    EXPECT_EQ(c.c->ParentFont(), c.parent_color);
  }
  EXPECT_FALSE(form->ParentColor());

  own->SetParentColor(true);  // back to following
  EXPECT_EQ(own->Color(), clLime);
  EXPECT_TRUE(SetPropFromText(panel, "ParentFont", "False"));
  form->Font()->SetName("Tahoma");
  EXPECT_EQ(panel->Font()->Name(), "Arial");
}

}  // namespace
