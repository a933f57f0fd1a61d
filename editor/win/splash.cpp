#include "splash.h"

#include "editor/jpeg_file.h"
#include "editor/splash_art.h"
#include "editor_resources.h"

namespace {

constexpr TColor kPlainFace = 0x5A3A1E;  // dark blue: the label's white text shows on it

}  // namespace

TSplashfm::TSplashfm(TComponent* owner) : TForm(owner) {
  SetName("Splashfm");
  SetTag(99);
  SetBorderStyle(TFormBorderStyle::bsNone);
  SetPosition(TPosition::poScreenCenter);
  SetColor(kPlainFace);
  SetClientSize(kSplashWidth, kSplashHeight);
  fimg = new TBitmap();

  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetWordWrap(true);
  Label1->SetBounds(28, 26, 180, 60);
  Label1->Font()->SetName("Tahoma");
  Label1->Font()->SetSize(11);
  Label1->Font()->SetStyle(fsBold);
  Label1->Font()->SetColor(clWhite);
  Label1->SetCaption("Tessaly\r\nSkin package editor");
  Label1->SetParent(this);

  Button1 = new TButton(this);
  Button1->SetName("Button1");
  Button1->SetCaption("OK");
  Button1->SetModalResult(mrOk);
  Button1->SetVisible(false);
  Button1->SetParent(this);
  PlaceButton();

  LoadPicture(LoadSplashPicture());
}

TSplashfm::~TSplashfm() {
  delete fimg;
}

bool TSplashfm::LoadPicture(std::span<const uint8_t> jpeg) {
  try {
    fimg->FromImage(DecodeJpeg(jpeg));
  } catch (const EJpegError&) {
    fimg->SetSize(0, 0);
    return false;
  }
  SetClientSize(fimg->Width(), fimg->Height());
  PlaceButton();
  Invalidate();
  return true;
}

void TSplashfm::PlaceButton() {
  Button1->SetBounds(ClientWidth() - 91, ClientHeight() - 37, 75, 25);
}

void TSplashfm::Paint() {
  TCanvas& c = Canvas();
  const bool have_picture = fimg->Width() > 0 && fimg->Height() > 0;
  if (have_picture && (ClientWidth() != fimg->Width() || ClientHeight() != fimg->Height()))
    SetClientSize(fimg->Width(), fimg->Height());
  const int w = ClientWidth(), h = ClientHeight();
  if (have_picture) {
    c.Draw(0, 0, *fimg);
  } else {
    c.Brush().SetColor(Color());
    c.FillRect(RECT{0, 0, w, h});
  }
  c.Pen().SetColor(clBlack);
  c.Pen().SetWidth(1);
  c.MoveTo(0, 0);
  c.LineTo(w - 1, 0);
  c.LineTo(w - 1, h - 1);
  c.LineTo(0, h - 1);
  c.LineTo(0, 0);
  TForm::Paint();
}

void ShowSplash(unsigned milliseconds) {
  const DWORD start = GetTickCount();
  auto* splash = new TSplashfm(Application);
  splash->AfterConstruction();
  splash->Show();
  splash->Update();
  for (;;) {
    Application->ProcessMessages();
    const DWORD passed = GetTickCount() - start;
    if (passed >= milliseconds) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
  }
  splash->Close();
  splash->Free();
}

int ShowAboutBox(TComponent* owner) {
  auto* about = new TSplashfm(owner);
  about->AfterConstruction();
  about->Button1->SetVisible(true);
  int result = mrNone;
  try {
    result = about->ShowModal();
  } catch (...) {
    about->Free();
    throw;
  }
  about->Free();
  return result;
}
