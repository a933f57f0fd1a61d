// The splash form: the program's picture with its name, shown for a while at
// start-up and, with its close button, as the About box.
#pragma once

#include <cstdint>
#include <span>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/stdctrls.h"

class TSplashfm : public TForm {
  MV_CLASS(TSplashfm, TForm)
 public:
  // A borderless form centred on the screen, tag 99 (never skinned), with
  // the picture built into the program.
  explicit TSplashfm(TComponent* owner);
  ~TSplashfm() override;

  // Decodes a JPEG picture and sizes the form to it; a picture that does
  // not decode leaves fimg empty and the form a plain face. Returns whether
  // it decoded.
  bool LoadPicture(std::span<const uint8_t> jpeg);

  TBitmap* fimg = nullptr;     // the picture; painted by the form, not a control
  TLabel* Label1 = nullptr;    // the program's name and what it does
  TButton* Button1 = nullptr;  // hidden at start; closes with mrOk

 protected:
  void Paint() override;

 private:
  void PlaceButton();
};

// Shows the splash, paints it at once, handles messages until `milliseconds`
// have passed since the call, then closes it.
void ShowSplash(unsigned milliseconds);

// The About box: the splash with its close button, modal. Returns the modal
// result (mrOk from the button).
int ShowAboutBox(TComponent* owner);
