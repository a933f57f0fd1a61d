#include "splash.h"

#include "framework/forms.h"
#include "framework/stdctrls.h"

void ShowSplash(unsigned milliseconds) {
  auto* splash = new TForm(Application);
  splash->SetBorderStyle(TFormBorderStyle::bsNone);
  splash->SetPosition(TPosition::poScreenCenter);
  splash->SetBounds(0, 0, 360, 140);
  splash->SetColor(0x704020);
  splash->OnPaint = [splash](TObject*) {
    TCanvas& c = splash->Canvas();
    RECT r{0, 0, splash->Width(), splash->Height()};
    SetBkMode(c.Handle(), TRANSPARENT);
    c.Font().SetColor(clWhite);
    c.Font().SetSize(20);
    c.DrawText("Tessaly", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    c.Font().SetSize(9);
    RECT below{0, r.bottom - 30, r.right, r.bottom};
    c.DrawText("skin editor", below, DT_CENTER | DT_SINGLELINE);
  };
  splash->AfterConstruction();
  splash->Show();
  splash->Update();
  const DWORD end = GetTickCount() + milliseconds;
  for (;;) {
    Application->ProcessMessages();
    DWORD now = GetTickCount();
    if (static_cast<int>(end - now) <= 0) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
  splash->Hide();
  splash->Free();
}
