// Containers that only change colour. A panel, a tool bar, a data
// navigator or a form placed inside another control (TSkinBox) gets the
// skin's face colour while skinned and its own colour and background back
// when the skin lets go; its messages stay its own. A dialog living as a
// child window, or a native tool bar (TSkinBoxH), gets a face-coloured
// background, and the statics on it paint on the face colour too. A size
// grip (TSkinSizer) is covered by a flat face-coloured square.
#pragma once

#include "engine_controls/skin_control.h"

class TSkinBox : public TSkinControl {
  MV_CLASS(TSkinBox, TSkinControl)
 public:
  explicit TSkinBox(TComponent* owner);

  // Recolours without taking over the control's messages.
  void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                     TPaintBuffer* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
};

class TSkinBoxH : public TSkinControl {
  MV_CLASS(TSkinBoxH, TSkinControl)
 public:
  explicit TSkinBoxH(TComponent* owner);
  bool BeforeMessage(TMessage& m) override;

 private:
  void OnEraseBackground(TMessage& m);
  void OnStaticColour(TMessage& m);
};

class TSkinSizer : public TSkinControl {
  MV_CLASS(TSkinSizer, TSkinControl)
 public:
  explicit TSkinSizer(TComponent* owner);
  void DrawSkin(HDC dc, const RECT& rect) override;
};
