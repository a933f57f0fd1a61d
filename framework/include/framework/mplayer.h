// A media player's button bar: a row of play, pause, stop, next, previous,
// step, back, record and eject buttons that reports which one was clicked.
// It plays nothing itself; the application decides what a click means.
#pragma once

#include <functional>

#include "framework/controls.h"

enum class TMPBtnType {
  btPlay,
  btPause,
  btStop,
  btNext,
  btPrev,
  btStep,
  btBack,
  btRecord,
  btEject
};
// A set of buttons: bit i for button i.
using TButtonSet = unsigned;
constexpr TButtonSet kAllMediaButtons = 0x1FF;
extern const TEnumInfo kMPBtnTypeIdents;

using TMPBtnClickEvent = std::function<void(TObject* sender, TMPBtnType button)>;

class TMediaPlayer : public TCustomControl {
  MV_CLASS(TMediaPlayer, TCustomControl)
 public:
  explicit TMediaPlayer(TComponent* owner);
  static void PublishProperties(TClassInfo& info);

  TButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TButtonSet v);
  TButtonSet EnabledButtons() const { return enabled_; }
  void SetEnabledButtons(TButtonSet v);
  TButtonSet ColoredButtons() const { return coloured_; }
  void SetColoredButtons(TButtonSet v);
  // The visible button under a client x, or -1.
  int ButtonAt(int x) const;

  // A button was pressed and released over itself.
  TMPBtnClickEvent OnClick;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  int VisibleCount() const;
  TButtonSet visible_ = kAllMediaButtons;
  TButtonSet enabled_ = kAllMediaButtons;
  TButtonSet coloured_ = kAllMediaButtons;
  int down_ = -1;
};
