#include "engine_controls/skin_mediaplayer.h"

#include <string>

#include "engine/control_rules.h"
#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_win/skin_data.h"
#include "framework/messages.h"
#include "framework/props.h"

namespace {

std::string SetPropertyText(const TControl* c, const char* name) {
  const TPropInfo* p = GetPropInfo(c, name);
  return p ? GetPropText(*c, *p) : std::string();
}

// A bitmap resource of the program copied into a picture of our own; empty
// when the program has none of that name.
TNativeBitmap LoadResourceGlyph(const std::string& name) {
  HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), name.c_str());
  if (!loaded) return {};
  BITMAP info{};
  TNativeBitmap out;
  if (GetObjectA(loaded, sizeof(info), &info) && info.bmWidth > 0 && info.bmHeight > 0 &&
      info.bmWidth <= 256 && info.bmHeight <= 256) {
    out = TNativeBitmap(info.bmWidth, info.bmHeight);
    TMemoryDC dst(out);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, loaded);
    BitBlt(dst.Handle(), 0, 0, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
  }
  DeleteObject(loaded);
  return out;
}

constexpr COLORREF kGlyphKey = RGB(128, 128, 0);

}  // namespace

// ---- the skinner ------------------------------------------------------------------

TSkinMP::TSkinMP(TComponent* owner) : TSkinControl(owner) {}

TSkinMP::~TSkinMP() {
  FreePlayer();
}

void TSkinMP::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                            TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, own_color, canvas);
  if (!Attached || !Control || !Control->Parent()) return;
  Player = new TWMediaPlayer(nullptr);
  Player->AttachTo(this, Control);
  ShowPlayer();
}

void TSkinMP::FreePlayer() {
  TWMediaPlayer* p = Player;
  Player = nullptr;
  if (!p) return;
  p->Skinner = nullptr;
  p->Free();
}

void TSkinMP::ShowPlayer() {
  if (!Player || !Control) return;
  Player->SetVisible(Control->Visible() && Active);
  if (Player->Visible()) Player->BringToFront();
}

// The overlay of a player whose window died stays until its parent or
// this skinner goes.
void TSkinMP::Detach() {
  TSkinControl::Detach();
  if (LifeState != kWindowGone) FreePlayer();
}

void TSkinMP::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (Player) Player->CopyBounds(Control);
      break;
    case CM_VISIBLECHANGED:
      ShowPlayer();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinMP::SkinChanged() {
  TSkinControl::SkinChanged();
  if (Player) Player->Invalidate();
}

void TSkinMP::ActiveChanged() {
  ShowPlayer();
}

// ---- the overlay ------------------------------------------------------------------

TWMediaPlayer::TWMediaPlayer(TComponent* owner) : TCustomPanel(owner) {
  SetBevelOuter(TBevelCut::bvNone);
  SetParentBackground(false);
  LoadGlyphs();
}

TWMediaPlayer::~TWMediaPlayer() {
  if (Skinner && Skinner->Player == this) Skinner->Player = nullptr;
}

void TWMediaPlayer::LoadGlyphs() {
  for (int b = 0; b < kMediaButtons; ++b) {
    for (int g = 0; g < kMediaGlyphs; ++g) {
      TNativeBitmap glyph = LoadResourceGlyph(MediaGlyphResource(g, b));
      if (glyph.Empty()) glyph = TNativeBitmap(MakeMediaGlyph(g, b));
      glyphs_[static_cast<size_t>(b)][static_cast<size_t>(g)] = std::move(glyph);
    }
  }
}

void TWMediaPlayer::AttachTo(TSkinMP* skinner, TControl* media_player) {
  MediaPlayer = media_player;
  Skinner = skinner;
  // No control pass skins the overlay itself.
  if (skinner && skinner->SkinData) SetTag(skinner->SkinData->DisableTag());
  CopyBounds(media_player);
  SetParent(media_player->Parent());
}

void TWMediaPlayer::CopyBounds(TControl* media_player) {
  if (!media_player) return;
  SetBounds(media_player->Left(), media_player->Top(), media_player->Width(),
            media_player->Height());
}

int TWMediaPlayer::HitTest(unsigned x) {
  HitButton = MediaHitTest(Buttons, ButtonWidth, x);
  return HitButton;
}

void TWMediaPlayer::ReadButtons() {
  Buttons = MediaPlayer ? ReadMediaButtonSets(SetPropertyText(MediaPlayer, "VisibleButtons"),
                                              SetPropertyText(MediaPlayer, "EnabledButtons"),
                                              SetPropertyText(MediaPlayer, "ColoredButtons"))
                        : TMediaButtonSets{};
  VisibleCount = Buttons.VisibleCount;
  ButtonWidth = MediaCellWidth(Width(), VisibleCount);
}

void TWMediaPlayer::Paint() {
  ReadButtons();
  HDC out = Canvas().Handle();
  const COLORREF face = Skinner ? Skinner->SkinColour(kcButtonFace) : GetSysColor(COLOR_BTNFACE);
  TPaintBuffer::TLease buffer(Skinner && Skinner->Form ? Skinner->Form->Canvas() : nullptr, Width(),
                              Height());
  HDC dc = buffer.Dc();
  if (!dc) return;
  HBRUSH brush = CreateSolidBrush(face);
  RECT all{0, 0, Width(), Height()};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  for (int i = 0; i < kMediaButtons; ++i)
    if (Buttons.Visible[static_cast<size_t>(i)])
      DrawButton(dc, i, MediaButtonCell(Buttons, i, Width(), Height()));
  buffer.CopyTo(out, 0, 0);
}

void TWMediaPlayer::DrawButton(HDC dc, int button, const TRect& cell) {
  if (cell.IsEmpty() || !Skinner) return;
  const TMediaButtonLook look = MediaButtonLook(Buttons, button, Pressed, DownButton);
  const TDataSkinButton& e = Skinner->Skin().Buttons;
  if (Skinner->Form && !e.Bitmap.Empty()) {
    const TNativeBitmap& strip = Skinner->Form->Native(e.Bitmap);
    if (!strip.Empty())
      DrawElement(dc, cell, strip, false, e.Tile == 1, e.Trans == 1, kButtonFrames, look.Frame,
                  e.Margins());
  }
  const TNativeBitmap& glyph =
      glyphs_[static_cast<size_t>(button)][static_cast<size_t>(look.Glyph)];
  if (glyph.Empty()) return;
  const TPoint at = MediaGlyphPosition(cell, {glyph.Width(), glyph.Height()}, look.Frame);
  TMemoryDC src(glyph);
  TransparentBlt(dc, at.X, at.Y, glyph.Width(), glyph.Height(), src.Handle(), 0, 0, glyph.Width(),
                 glyph.Height(), kGlyphKey);
}

void TWMediaPlayer::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_LBUTTONDOWN:
      OnLeftButton(msg, true);
      return;
    case WM_LBUTTONUP:
      OnLeftButton(msg, false);
      return;
    case WM_ERASEBKGND:
      msg.Result = 1;  // Paint covers every pixel
      return;
    default:
      TCustomPanel::WndProc(msg);
      return;
  }
}

// Presses go to the player at once; a release reaches it only over the
// button that was pressed, so the player reports the click it would have.
void TWMediaPlayer::OnLeftButton(TMessage& msg, bool down) {
  Pressed = down;
  TCustomPanel::WndProc(msg);
  ReadButtons();
  const auto x = static_cast<unsigned>(LOWORD(msg.LParam));
  if (down) {
    if (MediaPlayer) MediaPlayer->Perform(msg.Msg, msg.WParam, msg.LParam);
    ReleaseCapture();
    DownButton = HitTest(x);
  } else {
    HitTest(x);
    if (HitButton == DownButton && MediaPlayer)
      MediaPlayer->Perform(msg.Msg, msg.WParam, msg.LParam);
    DownButton = HitButton;
  }
  Invalidate();
}
