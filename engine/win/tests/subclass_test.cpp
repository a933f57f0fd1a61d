// The subclassing helper on real windows: procedures given back exactly,
// attaching twice, subclasses on top of ours, windows destroyed while
// attached, Unicode and ANSI windows, and framework controls' WindowProc.
#include "engine_win/subclass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/extctrls.h"
#include "framework/messages.h"

namespace {

constexpr UINT kTestMessage = WM_APP + 7;
constexpr LRESULT kOriginalAnswer = 77;

std::vector<std::string> g_log;
WNDPROC g_proc_at_ncdestroy = nullptr;
WNDPROC g_outer_old = nullptr;

void Note(const char* who, UINT msg) {
  if (msg == kTestMessage) g_log.push_back(who);
  if (msg == WM_NCDESTROY) g_log.push_back(std::string(who) + ":ncdestroy");
}

LRESULT CALLBACK OriginalProcA(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  Note("original", msg);
  if (msg == kTestMessage) return kOriginalAnswer;
  if (msg == WM_NCDESTROY)
    g_proc_at_ncdestroy = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
  return DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK OriginalProcW(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  Note("original", msg);
  if (msg == kTestMessage) return kOriginalAnswer;
  return DefWindowProcW(w, msg, wp, lp);
}

LRESULT CALLBACK OuterProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  Note("outer", msg);
  return CallWindowProcA(g_outer_old, w, msg, wp, lp);
}

HWND MakeAnsiWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = OriginalProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MvSubclassTestA";
    registered = RegisterClassA(&wc) != 0;
  }
  return CreateWindowExA(0, "MvSubclassTestA", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND MakeUnicodeWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OriginalProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MvSubclassTestW";
    registered = RegisterClassW(&wc) != 0;
  }
  return CreateWindowExW(0, L"MvSubclassTestW", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

WNDPROC ProcA(HWND w) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
}

// A handler that notes the test message and passes everything on.
TWindowSubclass::THandler Noting(TWindowSubclass& sub) {
  return [&sub](UINT msg, WPARAM wp, LPARAM lp) {
    Note("ours", msg);
    return sub.CallOld(msg, wp, lp);
  };
}

std::vector<std::string> Send(HWND w) {
  g_log.clear();
  SendMessageA(w, kTestMessage, 0, 0);
  return g_log;
}

using TLog = std::vector<std::string>;

class WindowSubclass : public ::testing::Test {
 protected:
  void SetUp() override { g_log.clear(); }
};

TEST_F(WindowSubclass, AttachAndDetachGiveBackTheExactProcedure) {
  HWND w = MakeAnsiWindow();
  ASSERT_TRUE(w);
  const WNDPROC before = ProcA(w);
  const size_t known = TWindowSubclass::KnownWindows();
  TWindowSubclass sub;
  ASSERT_TRUE(sub.Attach(w, Noting(sub)));
  EXPECT_TRUE(sub.Attached());
  EXPECT_EQ(ProcA(w), &TWindowSubclass::Proc);
  EXPECT_EQ(sub.OldProc(), before);
  EXPECT_TRUE(TWindowSubclass::Knows(w));
  EXPECT_EQ(TWindowSubclass::KnownWindows(), known + 1);
  EXPECT_EQ(SendMessageA(w, kTestMessage, 0, 0), kOriginalAnswer);
  EXPECT_EQ(Send(w), (TLog{"ours", "original"}));

  sub.Detach();
  EXPECT_FALSE(sub.Attached());
  EXPECT_EQ(ProcA(w), before);
  EXPECT_FALSE(TWindowSubclass::Knows(w));
  EXPECT_EQ(TWindowSubclass::KnownWindows(), known);
  EXPECT_EQ(Send(w), (TLog{"original"}));
  sub.Detach();  // again: nothing to do
  EXPECT_EQ(ProcA(w), before);
  DestroyWindow(w);
}

TEST_F(WindowSubclass, AttachingTwiceIsHarmless) {
  HWND w = MakeAnsiWindow();
  const WNDPROC before = ProcA(w);
  TWindowSubclass sub;
  ASSERT_TRUE(sub.Attach(w, Noting(sub)));
  ASSERT_TRUE(sub.Attach(w, Noting(sub)));
  EXPECT_EQ(sub.OldProc(), before);  // not our own procedure
  EXPECT_EQ(Send(w), (TLog{"ours", "original"}));

  // A second helper object does not hook the window a second time.
  TWindowSubclass other;
  EXPECT_FALSE(other.Attach(w, Noting(other)));
  EXPECT_FALSE(other.Attached());
  EXPECT_EQ(Send(w), (TLog{"ours", "original"}));

  sub.Detach();
  EXPECT_EQ(ProcA(w), before);
  ASSERT_TRUE(other.Attach(w, Noting(other)));  // free again
  EXPECT_EQ(Send(w), (TLog{"ours", "original"}));
  other.Detach();
  EXPECT_EQ(ProcA(w), before);
  DestroyWindow(w);
}

TEST_F(WindowSubclass, ASubclassOnTopSurvivesOurDetach) {
  HWND w = MakeAnsiWindow();
  const WNDPROC before = ProcA(w);
  const size_t known = TWindowSubclass::KnownWindows();
  TWindowSubclass sub;
  ASSERT_TRUE(sub.Attach(w, Noting(sub)));
  g_outer_old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
  ASSERT_EQ(g_outer_old, &TWindowSubclass::Proc);
  EXPECT_EQ(Send(w), (TLog{"outer", "ours", "original"}));

  sub.Detach();
  EXPECT_FALSE(sub.Attached());
  EXPECT_EQ(ProcA(w), &OuterProc);         // their subclass stays installed
  EXPECT_TRUE(TWindowSubclass::Knows(w));  // ours passes messages on under it
  EXPECT_EQ(SendMessageA(w, kTestMessage, 0, 0), kOriginalAnswer);
  EXPECT_EQ(Send(w), (TLog{"outer", "original"}));

  // They leave: our pass-through is on top and still reaches the original.
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_outer_old));
  EXPECT_EQ(Send(w), (TLog{"original"}));

  // Attaching again takes the pass-through back: no second hook.
  TWindowSubclass again;
  ASSERT_TRUE(again.Attach(w, Noting(again)));
  EXPECT_EQ(again.OldProc(), before);
  EXPECT_EQ(TWindowSubclass::KnownWindows(), known + 1);
  EXPECT_EQ(Send(w), (TLog{"ours", "original"}));
  again.Detach();
  EXPECT_EQ(ProcA(w), before);
  EXPECT_FALSE(TWindowSubclass::Knows(w));
  DestroyWindow(w);
}

TEST_F(WindowSubclass, AWindowDestroyedWhileAttachedIsGivenBackAfterItsOwnProcedureRan) {
  HWND w = MakeAnsiWindow();
  const size_t known = TWindowSubclass::KnownWindows();
  TWindowSubclass sub;
  ASSERT_TRUE(sub.Attach(w, Noting(sub)));
  g_proc_at_ncdestroy = nullptr;
  DestroyWindow(w);
  EXPECT_EQ(g_log, (TLog{"ours:ncdestroy", "original:ncdestroy"}));
  EXPECT_EQ(g_proc_at_ncdestroy, &TWindowSubclass::Proc);
  EXPECT_FALSE(sub.Attached());
  EXPECT_FALSE(TWindowSubclass::Knows(w));
  EXPECT_EQ(TWindowSubclass::KnownWindows(), known);
  sub.Detach();  // the window is gone: nothing is written
  EXPECT_FALSE(sub.Attached());
}

TEST_F(WindowSubclass, DetachingInsideWmNcDestroyLeavesTheGivingBackToTheEnd) {
  HWND w = MakeAnsiWindow();
  TWindowSubclass sub;
  ASSERT_TRUE(sub.Attach(w, [&sub](UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) sub.Detach();
    return sub.CallOld(msg, wp, lp);
  }));
  g_proc_at_ncdestroy = nullptr;
  DestroyWindow(w);
  EXPECT_EQ(g_log, (TLog{"original:ncdestroy"}));
  EXPECT_EQ(g_proc_at_ncdestroy, &TWindowSubclass::Proc);
  EXPECT_FALSE(TWindowSubclass::Knows(w));
}

TEST_F(WindowSubclass, AWindowDestroyedBehindOurBackIsForgottenUntouched) {
  HWND w = MakeAnsiWindow();
  const WNDPROC before = ProcA(w);
  const size_t known = TWindowSubclass::KnownWindows();
  TWindowSubclass sub;
  ASSERT_TRUE(sub.Attach(w, Noting(sub)));
  // Someone puts the original procedure straight back: ours never sees the end.
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(before));
  DestroyWindow(w);
  EXPECT_EQ(g_log, (TLog{"original:ncdestroy"}));
  EXPECT_FALSE(sub.Attached());
  EXPECT_EQ(TWindowSubclass::KnownWindows(), known);
  sub.Detach();
  EXPECT_FALSE(TWindowSubclass::Knows(w));
}

TEST_F(WindowSubclass, AnOwnerFreedWhileAttachedGivesTheWindowBack) {
  HWND w = MakeAnsiWindow();
  const WNDPROC before = ProcA(w);
  {
    TWindowSubclass sub;
    ASSERT_TRUE(sub.Attach(w, Noting(sub)));
  }
  EXPECT_EQ(ProcA(w), before);
  EXPECT_FALSE(TWindowSubclass::Knows(w));
  DestroyWindow(w);
}

TEST_F(WindowSubclass, UnicodeWindowsStayUnicode) {
  HWND w = MakeUnicodeWindow();
  ASSERT_TRUE(w);
  ASSERT_TRUE(IsWindowUnicode(w));
  const WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC));
  TWindowSubclass sub;
  std::wstring seen;
  ASSERT_TRUE(sub.Attach(w, [&](UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SETTEXT) seen = reinterpret_cast<const wchar_t*>(lp);
    return sub.CallOld(msg, wp, lp);
  }));
  EXPECT_TRUE(sub.Unicode());
  EXPECT_TRUE(IsWindowUnicode(w));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)), &TWindowSubclass::Proc);
  const wchar_t* text = L"Gr\u00fc\u00dfe \u0394";
  SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(seen, text);
  wchar_t back[32]{};
  GetWindowTextW(w, back, 32);
  EXPECT_EQ(std::wstring(back), text);
  EXPECT_EQ(SendMessageW(w, kTestMessage, 0, 0), kOriginalAnswer);
  sub.Detach();
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)), before);
  EXPECT_TRUE(IsWindowUnicode(w));
  DestroyWindow(w);
}

TEST_F(WindowSubclass, AnsiWindowsStayAnsi) {
  HWND w = MakeAnsiWindow();
  ASSERT_FALSE(IsWindowUnicode(w));
  TWindowSubclass sub;
  std::string seen;
  ASSERT_TRUE(sub.Attach(w, [&](UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SETTEXT) seen = reinterpret_cast<const char*>(lp);
    return sub.CallOld(msg, wp, lp);
  }));
  EXPECT_FALSE(sub.Unicode());
  EXPECT_FALSE(IsWindowUnicode(w));
  SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("plain text"));
  EXPECT_EQ(seen, "plain text");
  char back[32]{};
  GetWindowTextA(w, back, 32);
  EXPECT_STREQ(back, "plain text");
  sub.Detach();
  DestroyWindow(w);
}

TEST_F(WindowSubclass, RefusesWhatIsNoWindow) {
  TWindowSubclass sub;
  EXPECT_FALSE(sub.Attach(nullptr, Noting(sub)));
  HWND w = MakeAnsiWindow();
  DestroyWindow(w);
  EXPECT_FALSE(sub.Attach(w, Noting(sub)));
  EXPECT_FALSE(sub.Attached());
}

// ---- framework controls ------------------------------------------------------------

// A handler whose identity can be read back from WindowProc.
struct TMarkedHandler {
  int Id = 0;
  void operator()(TMessage& m) const {
    if (m.Msg != kTestMessage) return;
    g_log.push_back("marked");
    m.Result = Id;
  }
};

struct TOuterHandler {
  TWndMethod Below;
  void operator()(TMessage& m) const {
    if (m.Msg == kTestMessage) g_log.push_back("outer");
    Below(m);
  }
};

TControlSubclass::THandler NotingControl(TControlSubclass& sub) {
  return [&sub](TMessage& m) {
    if (m.Msg == kTestMessage) g_log.push_back("ours");
    sub.CallOld(m);
  };
}

std::vector<std::string> Perform(TControl* c) {
  g_log.clear();
  c->Perform(kTestMessage);
  return g_log;
}

class ControlSubclass : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_ = new TPanel(nullptr);
    saved_ = panel_->WindowProc;
    panel_->WindowProc = TMarkedHandler{7};
  }
  void TearDown() override {
    panel_->WindowProc = saved_;
    panel_->Free();
  }
  int MarkedId() const {
    const TMarkedHandler* h = panel_->WindowProc.target<TMarkedHandler>();
    return h ? h->Id : -1;
  }
  TPanel* panel_ = nullptr;
  TWndMethod saved_;
};

TEST_F(ControlSubclass, AttachAndDetachGiveBackTheExactHandler) {
  TControlSubclass sub;
  ASSERT_TRUE(sub.Attach(panel_, NotingControl(sub)));
  EXPECT_TRUE(sub.Attached());
  EXPECT_EQ(sub.Control(), panel_);
  EXPECT_EQ(MarkedId(), -1);  // ours is in front
  EXPECT_EQ(panel_->Perform(kTestMessage), 7);
  EXPECT_EQ(Perform(panel_), (TLog{"ours", "marked"}));
  ASSERT_TRUE(sub.Attach(panel_, NotingControl(sub)));  // twice: no second hook
  EXPECT_EQ(Perform(panel_), (TLog{"ours", "marked"}));

  sub.Detach();
  EXPECT_FALSE(sub.Attached());
  EXPECT_EQ(MarkedId(), 7);
  EXPECT_EQ(Perform(panel_), (TLog{"marked"}));
}

TEST_F(ControlSubclass, AHandlerOnTopSurvivesOurDetach) {
  TControlSubclass sub;
  ASSERT_TRUE(sub.Attach(panel_, NotingControl(sub)));
  const TWndMethod below = panel_->WindowProc;
  panel_->WindowProc = TOuterHandler{below};
  EXPECT_EQ(Perform(panel_), (TLog{"outer", "ours", "marked"}));

  sub.Detach();
  EXPECT_NE(panel_->WindowProc.target<TOuterHandler>(), nullptr);  // theirs stays
  EXPECT_EQ(Perform(panel_), (TLog{"outer", "marked"}));
  EXPECT_EQ(panel_->Perform(kTestMessage), 7);

  panel_->WindowProc = below;  // they leave: ours only passes on
  EXPECT_EQ(Perform(panel_), (TLog{"marked"}));
}

TEST_F(ControlSubclass, DetachingFromInsideTheHandlerIsSafe) {
  TControlSubclass sub;
  ASSERT_TRUE(sub.Attach(panel_, [&sub](TMessage& m) {
    sub.Detach();
    sub.CallOld(m);
  }));
  EXPECT_EQ(Perform(panel_), (TLog{"marked"}));
  EXPECT_EQ(MarkedId(), 7);
  EXPECT_FALSE(sub.Attached());
}

TEST(ControlSubclassLife, AFreedControlIsLeftAlone) {
  TPanel* panel = new TPanel(nullptr);
  TControlSubclass sub;
  ASSERT_TRUE(sub.Attach(panel, [&sub](TMessage& m) { sub.CallOld(m); }));
  panel->Free();
  EXPECT_FALSE(sub.Attached());
  EXPECT_EQ(sub.Control(), nullptr);
  sub.Detach();  // nothing to give back to
}

}  // namespace
