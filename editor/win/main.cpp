// tessaly.exe: the skin editor.
//
//   tessaly.exe [PACKAGE] [--new] [--select NODE] [--shot FILE.bmp] [--pick-shot FILE.bmp]
//               [--ini-shot FILE.bmp] [--preview-shot FILE.jpg] [--no-splash]
//
// PACKAGE opens once the program is idle. --new starts on the built-in
// default skin instead. --shot writes a screenshot of the main window once
// the element tree is built (with NODE selected) and exits. --pick-shot
// starts a screen colour pick from the current grid row (NODE must show
// colour rows) with the mouse over the colour picker and photographs the
// whole screen: the captured screen with its magnifier. --ini-shot opens the
// INI viewer on NODE and photographs it over the main window.
// --preview-shot waits for the preview's photograph of the sample form and
// saves it as that JPEG snapshot, before any other shot is taken.
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/screen_shot.h"
#include "ez_color.h"
#include "ini_viewer.h"
#include "main_form.h"
#include "sample_form.h"
#include "screen_pick.h"
#include "splash.h"

namespace {

struct TOptions {
  std::string Package, Select, Shot, PickShot, IniShot, PreviewShot;
  bool New = false, Splash = true;
};

TOptions ParseOptions() {
  TOptions o;
  for (int i = 1; i < __argc; ++i) {
    const char* a = __argv[i];
    if (std::strcmp(a, "--new") == 0) {
      o.New = true;
    } else if (std::strcmp(a, "--no-splash") == 0) {
      o.Splash = false;
    } else if (std::strcmp(a, "--shot") == 0 && i + 1 < __argc) {
      o.Shot = __argv[++i];
    } else if (std::strcmp(a, "--ini-shot") == 0 && i + 1 < __argc) {
      o.IniShot = __argv[++i];
    } else if (std::strcmp(a, "--preview-shot") == 0 && i + 1 < __argc) {
      o.PreviewShot = __argv[++i];
    } else if (std::strcmp(a, "--pick-shot") == 0 && i + 1 < __argc) {
      o.PickShot = __argv[++i];
    } else if (std::strcmp(a, "--select") == 0 && i + 1 < __argc) {
      o.Select = __argv[++i];
    } else if (o.Package.empty()) {
      o.Package = a;
    }
  }
  return o;
}

TTreeNode* FindNode(TTreeView* tree, const std::string& caption) {
  TTreeNodes* items = tree->Items();
  for (int i = 0; i < items->Count(); ++i)
    if (items->Item(i)->Text() == caption) return items->Item(i);
  return nullptr;
}

// The full-screen pick started from the grid's current row, the mouse over
// the cube of the colour page, photographed whole.
bool ShootScreenPick(TMainfm* form, const std::string& path) {
  if (form->VL->OnEditButtonClick) form->VL->OnEditButtonClick(form->VL);
  auto* pick = dynamic_cast<TColorFm*>(form->FindComponent("ColorFm"));
  if (!pick || !pick->Visible()) return false;
  const POINT over = form->EZColor->ClientToScreen(POINT{60, 40});
  SetCursorPos(over.x, over.y);
  pick->FollowCursor();
  Application->ProcessMessages();
  pick->Update();
  return SaveScreenAround(pick->Handle(), 0, 0, path);
}

// The INI viewer of the selected element, photographed over the main window
// from inside its modal loop, then cancelled.
bool ShootIniViewer(TMainfm* form, const std::string& path) {
  bool shot = false;
  auto* timer = new TTimer(form);
  timer->SetInterval(300);
  timer->OnTimer = [&shot, form, timer, path](TObject*) {
    TIniFm* viewer = nullptr;
    for (TCustomForm* f : Application->Forms())
      if (!viewer) viewer = dynamic_cast<TIniFm*>(f);
    if (!viewer || !viewer->Visible()) return;
    timer->SetEnabled(false);
    viewer->Update();
    shot = SaveScreenAround(form->Handle(), 0, 0, path);
    viewer->SetModalResult(mrCancel);
  };
  form->ShowIniViewer();
  timer->Free();
  return shot;
}

// Photographs the main window once it shows a skin, then ends the program.
// The preview's photograph is in Image1 and the sample form has closed.
bool PreviewPhotographed(TMainfm* form) {
  return form->PhotographCount() > 0 && form->SampleForm() && !form->SampleForm()->Visible();
}

// The preview snapshot, written by the Save snapshot code.
bool SavePreviewShot(TMainfm* form, const std::string& path) {
  std::string error = "no photograph of the sample form";
  if (PreviewPhotographed(form) && form->WriteSnapshot(path, error)) return true;
  std::fprintf(stderr, "preview snapshot %s: %s\n", path.c_str(), error.c_str());
  return false;
}

void ScheduleShot(TMainfm* form, const TOptions& o, int& exit_code) {
  auto* timer = new TTimer(form);
  timer->SetInterval(300);
  int waited = 0;
  timer->OnTimer = [=, &exit_code](TObject*) mutable {
    waited += 300;
    if (form->Tree1->Items()->Count() == 0 && waited < 20000) return;
    if (!o.PreviewShot.empty() && !PreviewPhotographed(form) && waited < 20000) return;
    timer->SetEnabled(false);
    if (TTreeNode* node = FindNode(form->Tree1, o.Select)) form->Tree1->SetSelected(node);
    Application->ProcessMessages();
    form->Update();
    if (!o.PreviewShot.empty() && !SavePreviewShot(form, o.PreviewShot)) exit_code = 1;
    if (!o.Shot.empty() && !SaveScreenAround(form->Handle(), 0, 0, o.Shot)) exit_code = 1;
    if (!o.PickShot.empty() && !ShootScreenPick(form, o.PickShot)) exit_code = 1;
    if (!o.IniShot.empty() && !ShootIniViewer(form, o.IniShot)) exit_code = 1;
    if (form->Tree1->Items()->Count() == 0) exit_code = 1;
    Application->Terminate();
  };
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const TOptions options = ParseOptions();
  Application->SetTitle("Tessaly");
  auto* form = Application->CreateForm<TMainfm>();
  if (options.Splash) ShowSplash(1500);
  int exit_code = 0;
  if (options.New) {
    Application->OnIdle = [form](TObject*, bool&) {
      Application->OnIdle = nullptr;
      form->NewSkin();
    };
  } else {
    form->OpenAtFirstIdle(options.Package);
  }
  if (!options.Shot.empty() || !options.PickShot.empty() || !options.IniShot.empty() ||
      !options.PreviewShot.empty())
    ScheduleShot(form, options, exit_code);
  Application->Run();
  return exit_code;
}
