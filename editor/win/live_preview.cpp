// The live preview: with the option on, committed changes refresh the
// preview without saving. The document's package goes into a file of the
// editor's own in the system's temporary folder, the engine shows the sample
// form wearing it and the photograph is taken as Refresh takes it; the
// pacer keeps a burst of edits down to one refresh per 300 ms.
#include <windows.h>

#include <exception>

#include "format/file_io.h"
#include "main_form.h"
#include "sample_form.h"

namespace {

constexpr const char* kPreviewSection = "Preview";
constexpr const char* kLiveKey = "Live";

unsigned NextLivePackageSerial() {
  static unsigned serial = 0;
  return ++serial;
}

}  // namespace

void TMainfm::SetLivePreview(bool on) {
  live_preview_ = on;
  LivePreview1->SetChecked(on);
  settings_->WriteBool(kPreviewSection, kLiveKey, on);
  if (on) return;
  live_pacer_.Cancel();
  LiveTimer->SetEnabled(false);
  // The engine keeps what it loaded; the file is not needed any more.
  live_package_.Remove();
}

void TMainfm::LivePreviewChanged() {
  if (!live_preview_ || !doc_.IsOpen()) return;
  const TPacerStep step = live_pacer_.Changed(GetTickCount64());
  if (!step.ArmMs) return;
  LiveTimer->SetEnabled(false);
  LiveTimer->SetInterval(*step.ArmMs);
  LiveTimer->SetEnabled(true);
}

void TMainfm::OnLiveTimer() {
  LiveTimer->SetEnabled(false);
  const TPacerStep step = live_pacer_.Fired(GetTickCount64());
  if (step.ArmMs) {
    LiveTimer->SetInterval(*step.ArmMs);
    LiveTimer->SetEnabled(true);
  }
  if (step.Refresh) RefreshLivePreview();
}

void TMainfm::RefreshLivePreview() {
  if (!live_preview_ || !doc_.IsOpen()) return;
  // A modal Test owns the sample form: the refresh waits for it.
  if (form1_ && form1_->Modal()) {
    LivePreviewChanged();
    return;
  }
  try {
    live_package_.Write(live_package_name_, doc_.PackageBytes());
  } catch (const std::exception& e) {
    // No box for a refresh the user did not ask for: the note says why.
    SB->Panels(kNotePanel)->SetText(std::string("Live preview: ") + e.what());
    return;
  }
  Timer1->SetEnabled(false);
  // The user keeps typing where they were: the sample form shows without
  // taking the keyboard away for good.
  const HWND active = GetActiveWindow();
  ShowSampleWithSkin(live_package_.Path());
  form1_->Show();
  if (active && active != form1_->Handle()) SetActiveWindow(active);
  Timer1->SetEnabled(true);
}

void TMainfm::BuildCheckAndLiveCommands() {
  CheckBtn = AddToolButton("CheckBtn", "Check", "Check the skin for faults",
                           [this](TObject*) { CheckSkinCommand(); });
  TMenuItem* edit = estSkin1->Parent();
  LivePreview1 = new TMenuItem(this);
  LivePreview1->SetName("LivePreview1");
  LivePreview1->SetCaption("&Live Preview");
  LivePreview1->OnClick = [this](TObject*) { SetLivePreview(!live_preview_); };
  edit->Insert(edit->IndexOf(Refresh1) + 1, LivePreview1);
  CheckSkin1 = new TMenuItem(this);
  CheckSkin1->SetName("CheckSkin1");
  CheckSkin1->SetCaption("Chec&k Skin ...");
  CheckSkin1->SetShortCut(ShortCut(VK_F8, 0));
  CheckSkin1->OnClick = [this](TObject*) { CheckSkinCommand(); };
  edit->Insert(edit->IndexOf(estSkin1) + 1, CheckSkin1);
  // The notes of these commands, after the bitmap's panels.
  SB->AddPanel()->SetWidth(400);

  LiveTimer = new TTimer(this);
  LiveTimer->SetName("LiveTimer");
  LiveTimer->SetEnabled(false);
  LiveTimer->OnTimer = [this](TObject*) { OnLiveTimer(); };
  live_package_name_ =
      folders_.TempFolder +
      ScratchPackageName("tessaly_live", GetCurrentProcessId(), NextLivePackageSerial());
  live_preview_ = settings_->ReadBool(kPreviewSection, kLiveKey, false);
  LivePreview1->SetChecked(live_preview_);
}
