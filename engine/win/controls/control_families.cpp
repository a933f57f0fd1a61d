// The families the control pass can make, one row each. A family that is
// selected but not in the table leaves its controls with their own look.
#include <iterator>

#include "engine_controls/control_list.h"
#include "engine_controls/skin_button.h"
#include "engine_controls/skin_check.h"
#include "engine_controls/skin_groupbox.h"
#include "engine_controls/skin_mediaplayer.h"
#include "engine_controls/skin_header.h"
#include "engine_controls/skin_combo.h"
#include "engine_controls/skin_edit.h"
#include "engine_controls/skin_objimage.h"
#include "engine_controls/skin_panel.h"
#include "engine_controls/skin_progress.h"
#include "engine_controls/skin_scrollbar.h"
#include "engine_controls/skin_statusbar.h"
#include "engine_controls/skin_tabs.h"
#include "engine_controls/skin_trackbar.h"
#include "engine_controls/skin_updown.h"

namespace {

template <class T>
TSkinControl* Make(TComponent* owner, const TSkinnerChoice&) {
  return new T(owner);
}

template <class T>
TSkinControl* MakeWithGlyphProperty(TComponent* owner, const TSkinnerChoice& choice) {
  auto* s = new T(owner);
  s->GlyphProperty = choice.GlyphProperty ? choice.GlyphProperty : "";
  return s;
}

TSkinControl* MakeObjImage(TComponent* owner, const TSkinnerChoice& choice) {
  return new TSkinObjImage(owner, choice.ObjKind);
}

TSkinControl* MakeComboBox(TComponent* owner, const TSkinnerChoice& choice) {
  auto* s = new TSkinComBox(owner);
  s->FrameOnly = choice.FrameOnly;
  return s;
}

struct TFamilyRow {
  TSkinnerKind Kind;
  TSkinnerMaker Maker;
};

const TFamilyRow kFamilies[] = {
    {TSkinnerKind::Button, Make<TSkinButton>},
    {TSkinnerKind::BitButton, MakeWithGlyphProperty<TSkinBitButton>},
    {TSkinnerKind::SpeedButton, MakeWithGlyphProperty<TSkinSpeedButton>},
    {TSkinnerKind::MenuButton, Make<TSkinMenuButton>},
    {TSkinnerKind::CheckBox, Make<TSkinCheckBox>},
    {TSkinnerKind::RadioButton, Make<TSkinRadioButton>},
    {TSkinnerKind::ObjImage, MakeObjImage},
    {TSkinnerKind::Scrollbar, Make<TSkinScrollbar>},
    {TSkinnerKind::ListView, Make<TSkinListView>},
    {TSkinnerKind::ScControl, Make<TSkinScControl>},
    {TSkinnerKind::Progress, Make<TSkinProgress>},
    {TSkinnerKind::TrackBar, Make<TSkinTrackBar>},
    {TSkinnerKind::UpDown, Make<TSkinUpDown>},
    {TSkinnerKind::GroupBox, Make<TSkinGroupBox>},
    {TSkinnerKind::Box, Make<TSkinBox>},
    {TSkinnerKind::BoxH, Make<TSkinBoxH>},
    {TSkinnerKind::Sizer, Make<TSkinSizer>},
    {TSkinnerKind::MediaPlayer, Make<TSkinMP>},
    {TSkinnerKind::Tab, Make<TSkinTab>},
    {TSkinnerKind::TabBtn, Make<TSkinTabBtn>},
    {TSkinnerKind::TabSheet, Make<TSkinTabSheet>},
    {TSkinnerKind::Header, Make<TSkinHeader>},
    {TSkinnerKind::StatusBar, Make<TSkinStatusBar>},
    {TSkinnerKind::ComboBox, MakeComboBox},
    {TSkinnerKind::Edit, Make<TSkinEdit>},
    {TSkinnerKind::DateTime, Make<TSkinDateTime>},
};

}  // namespace

TSkinnerMaker FindSkinnerMaker(TSkinnerKind kind) {
  for (const TFamilyRow& row : kFamilies)
    if (row.Kind == kind) return row.Maker;
  return nullptr;
}
