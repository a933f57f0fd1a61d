// A media player covered by a skinned overlay: a panel of the player's
// bounds in the player's parent that draws the visible buttons from the
// skin's [Buttons] strip with their glyphs, and passes presses and releases
// on to the player, which reports its clicks as ever. The overlay follows
// the player's bounds and visibility and leaves with the skinner.
#pragma once

#include <array>

#include "engine/container_rules.h"
#include "engine_controls/skin_control.h"
#include "engine_win/gdi_paint.h"
#include "framework/extctrls.h"

class TWMediaPlayer;

class TSkinMP : public TSkinControl {
  MV_CLASS(TSkinMP, TSkinControl)
 public:
  explicit TSkinMP(TComponent* owner);
  ~TSkinMP() override;

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void SkinChanged() override;
  void ActiveChanged() override;

  // The overlay, or null.
  TWMediaPlayer* Player = nullptr;

 private:
  friend class TWMediaPlayer;
  void FreePlayer();
  void ShowPlayer();
};

class TWMediaPlayer : public TCustomPanel {
  MV_CLASS(TWMediaPlayer, TCustomPanel)
 public:
  explicit TWMediaPlayer(TComponent* owner);
  ~TWMediaPlayer() override;

  void AttachTo(TSkinMP* skinner, TControl* media_player);
  void CopyBounds(TControl* media_player);
  // The button under x (the message's low word), remembered in HitButton.
  int HitTest(unsigned x);

  TMediaButtonSets Buttons;
  bool Pressed = false;
  int DownButton = kNoMediaButton;
  int HitButton = kNoMediaButton;
  int ButtonWidth = 0;
  TControl* MediaPlayer = nullptr;
  TSkinMP* Skinner = nullptr;
  int VisibleCount = 0;

 protected:
  void Paint() override;
  void WndProc(TMessage& msg) override;

 private:
  void LoadGlyphs();
  void ReadButtons();
  void DrawButton(HDC dc, int button, const TRect& cell);
  void OnLeftButton(TMessage& msg, bool down);
  // Glyphs[button][glyph]: the program's bitmap resource, else the
  // engine's own picture.
  std::array<std::array<TNativeBitmap, kMediaGlyphs>, kMediaButtons> glyphs_;
};
