// The preview: the sample form shown through the engine, photographed into
// Image1, tried modally, saved as a JPEG picture.
//
// The engine component FSD skins only windows of class "TForm1"; the main
// window and its panels carry the disabling tag as well, so the editor's own
// windows stay as the system draws them.
#include <algorithm>
#include <exception>

#include "editor/jpeg_file.h"
#include "editor/snapshot_rules.h"
#include "editor_resources.h"
#include "format/file_io.h"
#include "main_form.h"
#include "preview_engine.h"
#include "sample_form.h"

namespace {

constexpr int kDisableTag = 99;
constexpr unsigned kPhotographDelayMs = 600;

}  // namespace

void TMainfm::BuildPreview() {
  // The main window and its panels are never skinned.
  SetTag(kDisableTag);
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* panel = dynamic_cast<TCustomPanel*>(Components(i))) panel->SetTag(kDisableTag);
  // The stored copy: the built-in default skin, as New starts from.
  FSD = CreatePreviewSkinData(this, LoadUntitlePackage());

  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(kPhotographDelayMs);
  Timer1->OnTimer = [this](TObject*) { OnPreviewTimer(); };
}

void TMainfm::ShowSampleWithSkin(const std::string& package) {
  if (!form1_) {
    form1_ = new TForm1(this);
    form1_->AfterConstruction();
  }
  ShowPackageInEngine(FSD, package);
  if (!form1_->Visible()) PlaceSampleOverPreview();
}

void TMainfm::PlaceSampleOverPreview() {
  // Over the preview pane, where its photograph will be: the grid and the
  // tree stay uncovered while it shows.
  const POINT centre = Image1->ClientToScreen(POINT{Image1->Width() / 2, Image1->Height() / 2});
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int w = form1_->Width(), h = form1_->Height();
  const int left =
      std::clamp<int>(centre.x - w / 2, work.left, std::max(work.left, work.right - w));
  const int top = std::clamp<int>(centre.y - h / 2, work.top, std::max(work.top, work.bottom - h));
  form1_->SetPosition(TPosition::poDesigned);
  form1_->SetBounds(left, top, w, h);
}

void TMainfm::RefreshPreview() {
  Timer1->SetEnabled(false);
  // Opening a skin enables the commands; a snapshot needs a photograph.
  PreviewBtn->SetEnabled(
      SnapshotAvailable(Image1->Picture()->Width(), Image1->Picture()->Height()));
  if (!doc_.IsOpen()) return;
  // A failed save ends nothing here: the form shows the package as written.
  if (!Untitled()) SaveSkin(false);
  ShowSampleWithSkin(current_skin_file_);
  form1_->Show();
  Timer1->SetEnabled(true);
}

void TMainfm::OnPreviewTimer() {
  Timer1->SetEnabled(false);
  if (!form1_) return;
  if (EngineActive(FSD) && EngineSkinsAnyForm()) TakePhotograph();
  form1_->Close();
}

bool TMainfm::TakePhotograph() {
  if (!form1_ || !form1_->HandleAllocated()) return false;
  TBitmap photo;
  // Outside the window's region the photograph shows the preview pane.
  if (!PhotographSkinnedWindow(form1_->Handle(), winPanel->Color(), photo)) return false;
  Image1->Picture()->Bitmap().Assign(photo);
  Image1->Invalidate();
  ++photographs_;
  PreviewBtn->SetEnabled(true);
  return true;
}

void TMainfm::TestSkin() {
  if (!doc_.IsOpen()) return;
  // A Refresh still showing the form gives way: a visible form cannot
  // become modal.
  Timer1->SetEnabled(false);
  if (form1_ && form1_->Visible()) form1_->Close();
  SaveSkin(false);
  ShowSampleWithSkin(current_skin_file_);
  form1_->ShowModal();
}

bool TMainfm::WriteSnapshot(const std::string& path, std::string& error) {
  try {
    const TPixmap image = Image1->Picture()->Bitmap().ToImage();
    WriteFileAtomic(path, EncodeJpeg(image, 90));
    return true;
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

void TMainfm::SaveSnapshot() {
  const TPicture* picture = Image1->Picture();
  if (!SnapshotAvailable(picture->Width(), picture->Height())) return;
  TSaveDialog dialog(nullptr);
  dialog.SetFilter(kSnapshotFilter);
  dialog.SetDefaultExt(kSnapshotDefaultExt);
  dialog.SetFileName(ProposedSnapshotName(current_skin_file_));
  dialog.SetOptions(ofHideReadOnly | ofNoChangeDir);
  if (!dialog.Execute()) return;
  const std::string path = WithSnapshotExtension(dialog.FileName());
  switch (JudgeSnapshotPath(path, current_skin_file_, FileExists(path))) {
    case TSnapshotVerdict::Nothing:
      return;
    case TSnapshotVerdict::RefuseOverPackage:
      ShowMessage(kSnapshotOverPackageMessage);
      return;
    case TSnapshotVerdict::AskReplace:
      if (!AskYesNo(ReplaceSnapshotQuestion(path))) return;
      break;
    case TSnapshotVerdict::Write:
      break;
  }
  std::string error;
  if (!WriteSnapshot(path, error))
    ShowMessageBox(SnapshotFailureText(error), Application->Title(), MB_OK | MB_ICONERROR);
}
