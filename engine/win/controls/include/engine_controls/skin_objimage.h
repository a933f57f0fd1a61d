// Check boxes and radio buttons of other component libraries, which draw
// their glyphs from a strip of their own: the skinner rearranges the skin's
// check or radio strip into the library's layout and hands it to the control
// through its published picture properties. No message handler is put in
// front of the control; it keeps painting itself, with the skin's cells.
#pragma once

#include "engine_controls/skin_control.h"

class TSkinObjImage : public TSkinControl {
  MV_CLASS(TSkinObjImage, TSkinControl)
 public:
  // kind: 1 and 3 check boxes, 2 radio buttons (see ObjImageCells).
  TSkinObjImage(TComponent* owner, int kind);

  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void Detach() override;
  void SkinChanged() override;

  int Kind;

 private:
  // Builds the strip from the skin and gives it to the control; false when
  // the control has no property to take it.
  bool HandOver();
  // Tells a control of kinds 1 and 2 to use (or stop using) its own strip.
  void SwitchCustomGlyphs(bool on);
};
