// Progress bars, track bars and spin buttons wearing the test skin, with real
// windows and real input in a virtual desktop: which frame every part of a
// bar shows (read back from the screen by the test skin's piece colours),
// positions that change under the mouse exactly as on the same controls
// left bare, the embedded spin's clearance, detaching, skins lacking an
// element, and notifications that are not the track bar's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/image_ops.h"
#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_trackbar.h"
#include "engine_controls/skin_updown.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "real_input.h"
#include "skinned_form.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using window_probe::PumpUntil;
using window_probe::WindowPixel;
using namespace skinned_form;

class SkinRangeTest : public ::testing::Test, protected TSkinnedForm {
 protected:
  void SetUp() override { Load(MakeTestSkin()); }
  void Load(TTestSkin skin) { TSkinnedForm::Load(std::move(skin), 520, 360); }
  void TearDown() override { Release(); }
  static bool Skinned(HWND w) { return SendMessageW(w, kSkmIsSkinned, 0, 0) == 1; }
};

// ---- progress bars --------------------------------------------------------------

struct TProgressCase {
  const char* Name;
  bool Vertical, Smooth;
};

class ProgressTest : public SkinRangeTest, public ::testing::WithParamInterface<TProgressCase> {
 protected:
  TProgressBar* AddBar() {
    const bool v = GetParam().Vertical;
    auto* bar = Add<TProgressBar>(10, 10, v ? 17 : 200, v ? 200 : 17);
    if (v) bar->SetOrientation(TProgressBarOrientation::pbVertical);
    bar->SetSmooth(GetParam().Smooth);
    return bar;
  }
  // The frame shown at distance d along the bar (from the left, or from
  // the bottom of a vertical bar), across its middle.
  int FrameAlong(HWND w, int d) {
    const bool v = GetParam().Vertical;
    return FrameAt(w, IndexOf("progress.bmp"), 2, v ? 8 : d, v ? 199 - d : 8);
  }
  // The frames seen along the bar's inner part, as a text ("1122...").
  std::string Along(HWND w, int from, int to, int step) {
    std::string s;
    for (int d = from; d < to; d += step)
      s += static_cast<char>('0' + FrameAlong(w, d));
    return s;
  }
};

TEST_P(ProgressTest, LimitsAndHalfWay) {
  TProgressBar* bar = AddBar();
  ShowAndSkin();
  HWND w = bar->Handle();
  ASSERT_TRUE(Skinned(w));
  // The low limit shows the empty bar only; the high limit the filled one
  // everywhere (the margins of both frames included).
  EXPECT_EQ(Along(w, 1, 199, 7), std::string(29, '1'));
  bar->SetPosition(100);
  EXPECT_EQ(Along(w, 1, 199, 7), std::string(29, '2'));
  // Half way: the filled part is where the bar starts (a vertical bar
  // fills from the bottom up).
  bar->SetPosition(50);
  EXPECT_EQ(FrameAlong(w, 10), 2);
  EXPECT_EQ(FrameAlong(w, 90), 2);
  EXPECT_EQ(FrameAlong(w, 110), 1);
  EXPECT_EQ(FrameAlong(w, 190), 1);
  // A range that does not start at 0 is measured from its low limit.
  bar->SetMax(200);
  bar->SetMin(100);
  bar->SetPosition(100);
  EXPECT_EQ(Along(w, 5, 195, 10), std::string(19, '1'));
  bar->SetPosition(150);
  EXPECT_EQ(FrameAlong(w, 90), 2);
  EXPECT_EQ(FrameAlong(w, 110), 1);
}

TEST_P(ProgressTest, ChunkedSkins) {
  for (const bool tiled : {false, true}) {
    TTestSkin skin = MakeTestSkin();
    EditIni(skin, "Style=0", "Style=1");
    if (tiled) EditIni(skin, "[Progress.Chunk]", "[Progress.Chunk]\r\nTile=1");
    Load(std::move(skin));
    if (HasFailure()) return;
    TProgressBar* bar = AddBar();
    ShowAndSkin();
    HWND w = bar->Handle();
    const int chunk = IndexOf("chunk.bmp"), progress = IndexOf("progress.bmp");
    const bool v = GetParam().Vertical;
    // The bar's picture is one frame here: any of its pieces may show.
    auto at = [&](int index, int d) { return FrameAt(w, index, 2, v ? 8 : d, v ? 199 - d : 8); };
    // Nothing filled: the bar without chunks.
    for (int d = 10; d < 190; d += 20) {
      EXPECT_EQ(at(chunk, d), 0) << tiled << " " << d;
      EXPECT_NE(at(progress, d), 0) << tiled << " " << d;
    }
    bar->SetPosition(50);
    EXPECT_EQ(at(chunk, 20), 1) << tiled;
    EXPECT_EQ(at(chunk, 80), 1) << tiled;
    EXPECT_EQ(at(chunk, 130), 0) << tiled;
    EXPECT_NE(at(progress, 130), 0) << tiled;
    bar->SetPosition(100);
    for (int d = 10; d < 190; d += 20)
      EXPECT_EQ(at(chunk, d), 1) << tiled << " " << d;
    list_->DetachAll();
    bar->Free();
  }
}

TEST_P(ProgressTest, EmptyReversedAndNegativeRanges) {
  TProgressBar* bar = AddBar();
  ShowAndSkin();
  HWND w = bar->Handle();
  // An empty range never divides by zero and fills nothing.
  SendMessageW(w, PBM_SETRANGE32, 30, 30);
  SendMessageW(w, PBM_SETPOS, 30, 0);
  EXPECT_EQ(Along(w, 5, 195, 10), std::string(19, '1'));
  // A range wholly below zero fills in proportion like any other.
  SendMessageW(w, PBM_SETRANGE32, static_cast<WPARAM>(-100), -10);
  SendMessageW(w, PBM_SETPOS, static_cast<WPARAM>(-10), 0);
  EXPECT_EQ(Along(w, 5, 195, 10), std::string(19, '2'));
  SendMessageW(w, PBM_SETPOS, static_cast<WPARAM>(-55), 0);
  EXPECT_EQ(FrameAlong(w, 90), 2);
  EXPECT_EQ(FrameAlong(w, 110), 1);
  // A range across zero is half full at zero.
  SendMessageW(w, PBM_SETRANGE32, static_cast<WPARAM>(-50), 50);
  SendMessageW(w, PBM_SETPOS, 0, 0);
  EXPECT_EQ(FrameAlong(w, 90), 2);
  EXPECT_EQ(FrameAlong(w, 110), 1);
  // A bar of no size paints without harm.
  bar->SetBounds(10, 10, 0, 0);
  bar->Invalidate();
  real_input::Settle();
  EXPECT_TRUE(Skinned(w));
}

INSTANTIATE_TEST_SUITE_P(Bars, ProgressTest,
                         ::testing::Values(TProgressCase{"Horizontal", false, false},
                                           TProgressCase{"HorizontalSmooth", false, true},
                                           TProgressCase{"Vertical", true, false},
                                           TProgressCase{"VerticalSmooth", true, true}),
                         [](const auto& param_info) { return std::string(param_info.param.Name); });

TEST_F(SkinRangeTest, OddPicturesPaintWithoutHarm) {
  const TPixmap pictures[] = {SolidImage(1, 1, kWhite), SolidImage(3, 200, kWhite),
                              SolidImage(400, 1, kWhite)};
  for (const TPixmap& p : pictures) {
    TTestSkin skin = MakeTestSkin();
    for (const char* member :
         {"progress.bmp", "chunk.bmp", "thumbh.bmp", "track.bmp", "updownv.bmp", "glyphs.bmp"})
      ReplaceMember(skin, member, p);
    Load(std::move(skin));
    auto* bar = Add<TProgressBar>(10, 10, 200, 17);
    bar->SetPosition(50);
    auto* track = Add<TTrackBar>(10, 40, 200, 32);
    auto* spin = Add<TUpDown>(10, 80, 17, 26);
    ShowAndSkin();
    for (HWND w : {bar->Handle(), track->Handle(), spin->Handle()}) {
      InvalidateRect(w, nullptr, TRUE);
      UpdateWindow(w);
      EXPECT_TRUE(Skinned(w)) << p.Width << "x" << p.Height;
    }
    list_->DetachAll();
    bar->Free();
    track->Free();
    spin->Free();
  }
}

TEST_F(SkinRangeTest, ProgressWithoutItsPicturesKeepsItsOwnLook) {
  TTestSkin skin = MakeTestSkin();
  // A chunked skin without the chunk picture cannot show the position.
  EditIni(skin, "Style=0", "Style=1");
  EditIni(skin, "[Progress.Chunk]\r\nImage=", "[Progress.Chunk]\r\nGone=");
  Load(std::move(skin));
  if (HasFailure()) return;
  auto* bar = Add<TProgressBar>(10, 10, 200, 17);
  bar->SetPosition(50);
  ShowAndSkin();
  EXPECT_TRUE(Skinned(bar->Handle()));
  for (int x = 10; x < 190; x += 20)
    EXPECT_EQ(FrameAt(bar->Handle(), IndexOf("progress.bmp"), 2, x, 8), 0) << x;
}

// ---- track bars ---------------------------------------------------------------

class TrackBarTest : public SkinRangeTest {
 protected:
  static RECT ThumbRect(HWND w) {
    RECT r{};
    SendMessageW(w, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  int ThumbCell(HWND w, const char* member) {
    const RECT t = ThumbRect(w);
    return FrameAt(w, IndexOf(member), 5, (t.left + t.right) / 2, (t.top + t.bottom) / 2);
  }
  // Drags the thumb by (dx, dy) with the mouse.
  static void DragThumb(HWND w, int dx, int dy) {
    const RECT t = ThumbRect(w);
    const POINT from = ScreenPoint(w, (t.left + t.right) / 2, (t.top + t.bottom) / 2);
    real_input::MouseAt(from, 0);
    real_input::Settle();
    real_input::MouseAt(from, MOUSEEVENTF_LEFTDOWN);
    real_input::Settle();
    for (int i = 1; i <= 4; ++i) {
      real_input::MouseAt({from.x + dx * i / 4, from.y + dy * i / 4}, 0);
      real_input::Settle(3);
    }
    real_input::MouseAt({from.x + dx, from.y + dy}, MOUSEEVENTF_LEFTUP);
    real_input::Settle();
  }
};

TEST_F(TrackBarTest, ChannelAndThumbWearTheSkin) {
  auto* horz = Add<TTrackBar>(10, 10, 200, 32);
  horz->SetMax(20);
  auto* vert = Add<TTrackBar>(240, 10, 32, 200);
  vert->SetOrientation(TTrackBarOrientation::trVertical);
  vert->SetBounds(240, 10, 32, 200);
  vert->SetMax(20);
  ShowAndSkin();
  ASSERT_TRUE(Skinned(horz->Handle()));
  EXPECT_EQ(ThumbCell(horz->Handle(), "thumbh.bmp"), 2);
  EXPECT_EQ(ThumbCell(vert->Handle(), "thumbv.bmp"), 2);
  // The channel: the middle of the Track picture across, of TRACKVERT down.
  RECT c{};
  SendMessageW(horz->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
  EXPECT_EQ(FrameAt(horz->Handle(), IndexOf("track.bmp"), 1, c.right - 30, c.top + 1), 1);
  // The thumb moves; it shows cell 2 wherever it is and while dragged.
  horz->SetPosition(15);
  vert->SetPosition(15);
  EXPECT_EQ(ThumbCell(horz->Handle(), "thumbh.bmp"), 2);
  EXPECT_EQ(ThumbCell(vert->Handle(), "thumbv.bmp"), 2);
  EXPECT_EQ(FrameAt(horz->Handle(), IndexOf("track.bmp"), 1, c.left + 30, c.top + 1), 1);
  const RECT t = ThumbRect(horz->Handle());
  const POINT on = ScreenPoint(horz->Handle(), (t.left + t.right) / 2, (t.top + t.bottom) / 2);
  real_input::MouseAt(on, 0);
  real_input::Settle();
  EXPECT_EQ(ThumbCell(horz->Handle(), "thumbh.bmp"), 2);
  real_input::MouseAt(on, MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  EXPECT_EQ(ThumbCell(horz->Handle(), "thumbh.bmp"), 2);
  real_input::MouseAt(on, MOUSEEVENTF_LEFTUP);
  real_input::Settle();
  EXPECT_EQ(ThumbCell(horz->Handle(), "thumbh.bmp"), 2);
}

TEST_F(TrackBarTest, DraggingMovesLikeABareTrackBar) {
  auto* skinned = Add<TTrackBar>(10, 10, 220, 32);
  auto* vskinned = Add<TTrackBar>(300, 10, 32, 220);
  vskinned->SetOrientation(TTrackBarOrientation::trVertical);
  vskinned->SetBounds(300, 10, 32, 220);
  ShowAndSkin();
  auto* bare = Add<TTrackBar>(10, 60, 220, 32);
  auto* vbare = Add<TTrackBar>(380, 10, 32, 220);
  vbare->SetOrientation(TTrackBarOrientation::trVertical);
  vbare->SetBounds(380, 10, 32, 220);
  real_input::Settle();
  ASSERT_TRUE(Skinned(skinned->Handle()));
  ASSERT_FALSE(Skinned(bare->Handle()));
  for (const int dx : {90, -40}) {
    DragThumb(skinned->Handle(), dx, 0);
    DragThumb(bare->Handle(), dx, 0);
    EXPECT_EQ(skinned->Position(), bare->Position()) << dx;
    DragThumb(vskinned->Handle(), 0, dx);
    DragThumb(vbare->Handle(), 0, dx);
    EXPECT_EQ(vskinned->Position(), vbare->Position()) << dx;
  }
  EXPECT_GT(skinned->Position(), 0);
  EXPECT_GT(vskinned->Position(), 0);
  EXPECT_EQ(ThumbCell(skinned->Handle(), "thumbh.bmp"), 2);
}

TEST_F(TrackBarTest, ASkinChangeRepaintsWithoutMovingTheFocus) {
  auto* track = Add<TTrackBar>(10, 10, 200, 32);
  auto* edit = Add<TEdit>(10, 60, 100, 22);
  int entered = 0, left = 0;
  track->OnEnter = [&](TObject*) { ++entered; };
  edit->OnExit = [&](TObject*) { ++left; };
  ShowAndSkin();
  edit->SetFocus();
  real_input::Settle();
  entered = left = 0;
  // Another skin: the same pictures in other colours.
  TTestSkinOptions other;
  other.ColourVariant = 1;
  skin_ = MakeTestSkin(other);
  ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(skin_.Package())));
  list_->SkinChanged();
  // Painted at once, without a message loop turn.
  const RECT t = ThumbRect(track->Handle());
  const TColor shown = WindowPixel(track->Handle(), (t.left + t.right) / 2, (t.top + t.bottom) / 2);
  EXPECT_EQ(shown, TestPieceColour(IndexOf("thumbh.bmp"), 2, TTestPiece::Centre, 1));
  real_input::Settle();
  EXPECT_EQ(GetFocus(), edit->Handle());
  EXPECT_EQ(entered, 0);
  EXPECT_EQ(left, 0);
}

TEST_F(TrackBarTest, OnlyItsOwnNotificationsAreAnswered) {
  auto* track = Add<TTrackBar>(10, 10, 200, 32);
  ShowAndSkin();
  HWND w = track->Handle();
  // The engine's "skinned" message shares the reflected notification's
  // number; its LParam is a marker.
  EXPECT_EQ(SendMessageW(w, kSkmSkinned, 0, kSkinMagic), 0);
  EXPECT_EQ(SendMessageW(w, kSkmSkinned, 0, 0), 0);
  EXPECT_EQ(SendMessageW(w, kSkmSkinned, 0, 1), 0);
  // A custom-draw record from another window (a tool tip, say) is not drawn.
  TNativeBitmap canvas(40, 40);
  TMemoryDC dc(canvas);
  PatBlt(dc.Handle(), 0, 0, 40, 40, WHITENESS);
  NMCUSTOMDRAW draw{};
  draw.hdr.hwndFrom = form_->Handle();
  draw.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
  draw.dwDrawStage = CDDS_PREPAINT;
  draw.hdc = dc.Handle();
  for (const UINT msg : {static_cast<UINT>(WM_NOTIFY), CN_NOTIFY}) {
    EXPECT_EQ(SendMessageW(w, msg, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_DODEFAULT);
  }
  // The same record as the track bar's own is answered.
  draw.hdr.hwndFrom = w;
  EXPECT_EQ(SendMessageW(w, CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);
  draw.dwDrawStage = CDDS_ITEMPREPAINT;
  draw.dwItemSpec = TBCD_TICS;
  EXPECT_EQ(SendMessageW(w, CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_DODEFAULT);
  draw.dwItemSpec = TBCD_THUMB;
  EXPECT_EQ(SendMessageW(w, CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_SKIPDEFAULT);
}

TEST_F(TrackBarTest, WithoutThumbPicturesAnOutlinedBoxAndDetaching) {
  TTestSkin skin = MakeTestSkin();
  EditIni(skin, "[Trackbar.ThumbHorz]\r\nImage=", "[Trackbar.ThumbHorz]\r\nGone=");
  EditIni(skin, "[Track]\r\nImage=", "[Track]\r\nGone=");
  Load(std::move(skin));
  if (HasFailure()) return;
  auto* track = Add<TTrackBar>(10, 10, 200, 32);
  track->SetMax(20);
  track->SetPosition(10);
  const LONG_PTR before = GetWindowLongPtrW(track->Handle(), GWLP_WNDPROC);
  ShowAndSkin();
  HWND w = track->Handle();
  const RECT t = ThumbRect(w);
  EXPECT_EQ(WindowPixel(w, (t.left + t.right) / 2, (t.top + t.bottom) / 2), RGB(255, 255, 255));
  EXPECT_EQ(WindowPixel(w, t.left, (t.top + t.bottom) / 2),
            ToColorRef(data_->Content().Colours[kcButtonShadow]));
  EXPECT_EQ(ThumbCell(w, "thumbh.bmp"), 0);
  // Detached, it looks like the same track bar left bare.
  auto* bare = Add<TTrackBar>(10, 60, 200, 32);
  bare->SetMax(20);
  bare->SetPosition(10);
  real_input::Settle();
  auto looks = [](HWND window) {
    UpdateWindow(window);
    std::vector<COLORREF> px;
    for (int y = 0; y < 32; y += 2)
      for (int x = 0; x < 200; x += 3)
        px.push_back(WindowPixel(window, x, y));
    return px;
  };
  EXPECT_NE(looks(w), looks(bare->Handle()));
  list_->DetachAll();
  EXPECT_FALSE(Skinned(w));
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), before);
  track->Invalidate();
  real_input::Settle();
  EXPECT_EQ(looks(w), looks(bare->Handle()));
}

// ---- spin buttons ---------------------------------------------------------------

class UpDownTest : public SkinRangeTest {
 protected:
  // The frame a spin shows at (x, y): its strip's frame, or the glyph
  // strip's cell of the same number centred on it.
  int SpinFrameAt(HWND w, int x, int y) {
    const int strip = FrameAt(w, IndexOf("updownv.bmp"), 8, x, y);
    if (strip) return strip;
    const int h = FrameAt(w, IndexOf("updownh.bmp"), 8, x, y);
    return h ? h : FrameAt(w, IndexOf("glyphs.bmp"), 8, x, y);
  }
  static void Click(HWND w, int x, int y) {
    const POINT p = ScreenPoint(w, x, y);
    real_input::MouseAt(p, 0);
    real_input::Settle(3);
    real_input::MouseAt(p, MOUSEEVENTF_LEFTDOWN);
    real_input::Settle(3);
    real_input::MouseAt(p, MOUSEEVENTF_LEFTUP);
    real_input::Settle();
  }
};

TEST_F(UpDownTest, HalvesShowTheirFramesAndPressesWorkAsBare) {
  auto* spin = Add<TUpDown>(10, 10, 17, 26);
  spin->SetPosition(5);
  auto* off = Add<TUpDown>(40, 10, 17, 26);
  off->SetEnabled(false);
  auto* side = Add<TUpDown>(70, 10, 34, 17);
  side->SetOrientation(TUDOrientation::udHorizontal);
  side->SetBounds(70, 10, 34, 17);
  side->SetPosition(5);
  ShowAndSkin();
  auto* bare = Add<TUpDown>(10, 100, 17, 26);
  bare->SetPosition(5);
  auto* side_bare = Add<TUpDown>(70, 100, 34, 17);
  side_bare->SetOrientation(TUDOrientation::udHorizontal);
  side_bare->SetBounds(70, 100, 34, 17);
  side_bare->SetPosition(5);
  real_input::Settle();
  HWND w = spin->Handle();
  ASSERT_TRUE(Skinned(w));
  ASSERT_FALSE(Skinned(bare->Handle()));
  EXPECT_EQ(SpinFrameAt(w, 8, 6), 1);
  EXPECT_EQ(SpinFrameAt(w, 8, 19), 5);
  EXPECT_EQ(SpinFrameAt(off->Handle(), 8, 6), 3);
  EXPECT_EQ(SpinFrameAt(off->Handle(), 8, 19), 7);
  EXPECT_EQ(SpinFrameAt(side->Handle(), 8, 8), 1);
  EXPECT_EQ(SpinFrameAt(side->Handle(), 25, 8), 5);
  // Pressing the lower half shows it pressed and the upper one normal.
  const POINT lower = ScreenPoint(w, 8, 19);
  real_input::MouseAt(lower, 0);
  real_input::Settle();
  EXPECT_EQ(SpinFrameAt(w, 8, 19), 8);  // hot
  EXPECT_EQ(SpinFrameAt(w, 8, 6), 1);
  real_input::MouseAt(lower, MOUSEEVENTF_LEFTDOWN);
  real_input::Settle(3);
  EXPECT_EQ(SpinFrameAt(w, 8, 19), 6);
  EXPECT_EQ(SpinFrameAt(w, 8, 6), 1);
  real_input::MouseAt(lower, MOUSEEVENTF_LEFTUP);
  real_input::Settle();
  EXPECT_EQ(SpinFrameAt(w, 8, 19), 8);
  // The same presses on the bare spin move it the same way.
  Click(bare->Handle(), 8, 19);
  EXPECT_EQ(spin->Position(), bare->Position());
  EXPECT_EQ(spin->Position(), 4);
  Click(w, 8, 6);
  Click(w, 8, 6);
  Click(bare->Handle(), 8, 6);
  Click(bare->Handle(), 8, 6);
  EXPECT_EQ(spin->Position(), bare->Position());
  EXPECT_EQ(spin->Position(), 6);
  Click(side->Handle(), 25, 8);
  Click(side_bare->Handle(), 25, 8);
  Click(side->Handle(), 8, 8);
  Click(side->Handle(), 8, 8);
  Click(side_bare->Handle(), 8, 8);
  Click(side_bare->Handle(), 8, 8);
  EXPECT_EQ(side->Position(), side_bare->Position());
  EXPECT_NE(side->Position(), 5);
  // Leaving clears the hot look.
  real_input::MouseAt({2, 2}, 0);
  ASSERT_TRUE(PumpUntil([&] { return SpinFrameAt(w, 8, 6) == 1; }, 2000));
}

TEST_F(UpDownTest, TheEmbeddedSpinKeepsClearOnWhite) {
  auto* edit = Add<TSpinEdit>(10, 10, 90, 24);
  // The edit family would embed the spin itself; here the test does.
  edit->SetTag(data_->DisableTag());
  ShowAndSkin();
  HWND spin = edit->UpDownHandle();
  ASSERT_NE(spin, nullptr);
  const LONG_PTR before = GetWindowLongPtrW(spin, GWLP_WNDPROC);
  auto* skinner = new TSkinUpDown(nullptr);
  skinner->Embedded = true;
  skinner->AttachWindow(spin, data_, list_.get(), list_->Canvas());
  ASSERT_TRUE(Skinned(spin));
  InvalidateRect(spin, nullptr, TRUE);
  UpdateWindow(spin);
  RECT s, e;
  GetWindowRect(spin, &s);
  GetWindowRect(edit->Handle(), &e);
  int white = 0, skin = 0;
  for (int y = 0; y < s.bottom - s.top; ++y)
    for (int x = 0; x < s.right - s.left; ++x) {
      const bool clear =
          s.top + y < e.top + 3 || s.top + y >= e.bottom - 3 || s.left + x >= e.right - 3;
      const COLORREF c = WindowPixel(spin, x, y);
      if (clear) {
        EXPECT_EQ(c, RGB(255, 255, 255)) << x << "," << y;
        ++white;
      } else if (SpinFrameAt(spin, x, y) != 0) {
        ++skin;
      }
    }
  EXPECT_GT(white, 0);
  EXPECT_GT(skin, (s.right - s.left) * (s.bottom - s.top) / 4);
  list_->DetachAll();
  EXPECT_EQ(GetWindowLongPtrW(spin, GWLP_WNDPROC), before);
  EXPECT_FALSE(Skinned(spin));
}

class ClassicSpinTest : public UpDownTest, public ::testing::WithParamInterface<int> {};

TEST_P(ClassicSpinTest, WithoutAUsableStripTheClassicLookInTheSkinsColours) {
  TTestSkin skin = MakeTestSkin();
  if (GetParam() == 0)
    EditIni(skin, "[UpDown.Vert]\r\nImage=", "[UpDown.Vert]\r\nGone=");
  else  // narrower than its eight frames
    ReplaceMember(skin, "updownv.bmp", SolidImage(GetParam(), 16, kWhite));
  Load(std::move(skin));
  if (HasFailure()) return;
  auto* spin = Add<TUpDown>(10, 10, 17, 26);
  ShowAndSkin();
  HWND w = spin->Handle();
  const COLORREF face = ToColorRef(data_->Content().Colours[kcButtonFace]);
  const COLORREF shadow = ToColorRef(data_->Content().Colours[kcButtonShadow]);
  const COLORREF dark = ToColorRef(data_->Content().Colours[kcButtonDkShadow]);
  UpdateWindow(w);
  EXPECT_EQ(WindowPixel(w, 0, 0), dark);  // the outline
  EXPECT_EQ(WindowPixel(w, 2, 2), face);
  EXPECT_EQ(WindowPixel(w, 2, 22), face);
  EXPECT_EQ(WindowPixel(w, 8, 4), dark);  // the up arrow's tip
  const POINT upper = ScreenPoint(w, 4, 4);
  real_input::MouseAt(upper, MOUSEEVENTF_LEFTDOWN);
  real_input::Settle(3);
  EXPECT_EQ(WindowPixel(w, 2, 2), shadow);
  EXPECT_EQ(WindowPixel(w, 2, 22), face);
  real_input::MouseAt(upper, MOUSEEVENTF_LEFTUP);
  real_input::MouseAt({2, 2}, 0);
  real_input::Settle();
  ASSERT_TRUE(PumpUntil([&] { return WindowPixel(w, 2, 2) == face; }, 2000));
}

INSTANTIATE_TEST_SUITE_P(Strips, ClassicSpinTest, ::testing::Values(0, 1, 7));

}  // namespace
