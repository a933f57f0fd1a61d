#include "engine_controls/skin_objimage.h"

#include <string>

#include "engine/check_rules.h"
#include "engine/colour.h"
#include "engine_controls/control_list.h"
#include "engine_win/skin_data.h"
#include "framework/controls.h"
#include "framework/graphics.h"

namespace {

// The value of a published object property; null when it is missing.
TObject* ObjectProperty(TObject* owner, const char* name) {
  const TPropInfo* p = GetPropInfo(owner, name);
  if (!p || p->Kind != TPropKind::Object || !p->GetObj) return nullptr;
  return p->GetObj(*owner);
}

// The bitmap of a picture, or the bitmap itself; null for anything else.
TBitmap* BitmapOf(TObject* value) {
  if (!value) return nullptr;
  if (value->InheritsFrom(TPicture::StaticClass())) return &static_cast<TPicture*>(value)->Bitmap();
  if (value->InheritsFrom(TBitmap::StaticClass())) return static_cast<TBitmap*>(value);
  return nullptr;
}

void ClearGraphic(TObject* value) {
  if (!value) return;
  if (value->InheritsFrom(TPicture::StaticClass()))
    static_cast<TPicture*>(value)->Clear();
  else if (value->InheritsFrom(TBitmap::StaticClass()))
    static_cast<TBitmap*>(value)->SetSize(0, 0);
}

// Sets a published property from text; a missing property is skipped.
void SetText(TObject* owner, const char* name, const std::string& text) {
  if (const TPropInfo* p = GetPropInfo(owner, name)) SetPropText(*owner, *p, text);
}

}  // namespace

TSkinObjImage::TSkinObjImage(TComponent* owner, int kind) : TSkinControl(owner), Kind(kind) {}

void TSkinObjImage::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                  TPaintBuffer* canvas) {
  if (Attached) return;
  auto* control = dynamic_cast<TControl*>(Owner());
  if (!control) return;
  SkinData = data;
  Form = form;
  Canvas = canvas;
  // The control keeps its colour: only its glyphs change, so there is no
  // colour to give back at detaching.
  (void)own_color;
  OwnColor = false;
  Control = control;
  if (auto* win = dynamic_cast<TWinControl*>(control)) Handle = win->WindowHandle();
  if (Form) Form->Add(this);
  HandOver();
  Attached = true;
  LifeState = kAttached;
}

bool TSkinObjImage::HandOver() {
  if (!Control || !HasSkin()) return false;
  const TDataSkinButton& buttons = Skin().Buttons;
  const bool radio = Kind == 2;
  const TSkinBitmap& skin_strip = radio ? buttons.RadioBitmap : buttons.CheckBitmap;
  const int cells = CheckStripCells(radio ? buttons.RadioButtonFrame : buttons.CheckButtonFrame);
  const TPixmap strip = BuildObjImageStrip(skin_strip, cells, Kind);
  if (strip.Width <= 0) return false;
  if (Kind == 3) {
    TBitmap* glyph = BitmapOf(ObjectProperty(ObjectProperty(Control, "Properties"), "Glyph"));
    if (!glyph) return false;
    glyph->FromImage(strip);
    glyph->SetTransparentColor(static_cast<TColor>(kMagenta));
    glyph->SetTransparent(false);
    Control->Invalidate();
    return true;
  }
  TBitmap* glyphs = BitmapOf(ObjectProperty(Control, "CustomGlyphs"));
  if (!glyphs) return false;
  glyphs->FromImage(strip);
  SetText(Control, "TransparentColor", std::to_string(kMagenta));
  // Off and on again: the control reloads its glyphs from the picture.
  SwitchCustomGlyphs(false);
  SwitchCustomGlyphs(true);
  Control->Invalidate();
  return true;
}

void TSkinObjImage::SwitchCustomGlyphs(bool on) {
  SetText(Control, "UseCustomGlyphs", on ? "True" : "False");
}

void TSkinObjImage::SkinChanged() {
  HandOver();
}

void TSkinObjImage::Detach() {
  if (Control && LifeState != kWindowGone) {
    if (Kind == 3) {
      ClearGraphic(ObjectProperty(ObjectProperty(Control, "Properties"), "Glyph"));
    } else {
      SwitchCustomGlyphs(false);
    }
    Control->Invalidate();
  }
  TSkinControl::Detach();
}
