// The control gallery: one form with every standard control of the framework
// and a native resource dialog, bare or wearing a skin. Command line:
//   gallery.exe [--page N] [--skin [PKG]] [--shot FILE.bmp]
// --page N shows page N (from 0) first. --skin skins the form through the
// engine (a skin data component on the form, the manager skinning it) with
// the package PKG, or the built-in default skin when no package follows
// (an argument starting with "--" is the next option). --shot photographs the
// form into a 24-bit BMP file once it has painted (skinned, with --skin) and
// exits. Exit codes: 0 done, 1 the package or the picture failed, 2 usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "default_skin.h"
#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "engine_win/skin_messages.h"
#include "format/file_io.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/screen_shot.h"
#include "gallery_form.h"

namespace {

struct TGalleryOptions {
  int Page = 0;
  bool Skin = false;
  std::string Package;  // empty: the built-in default skin
  std::string Shot;
};

bool IsOption(const char* arg) {
  return std::strncmp(arg, "--", 2) == 0;
}

// False (with a line on stderr) for an argument it does not know.
bool ParseOptions(int argc, char** argv, TGalleryOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    const bool has_value = i + 1 < argc;
    if (std::strcmp(a, "--page") == 0 && has_value) {
      o.Page = std::atoi(argv[++i]);
    } else if (std::strcmp(a, "--shot") == 0 && has_value) {
      o.Shot = argv[++i];
    } else if (std::strcmp(a, "--skin") == 0) {
      o.Skin = true;
      if (has_value && !IsOption(argv[i + 1])) o.Package = argv[++i];
    } else {
      std::fprintf(stderr, "gallery: unknown argument %s\n", a);
      std::fprintf(stderr, "usage: gallery [--page N] [--skin [PKG]] [--shot FILE.bmp]\n");
      return false;
    }
  }
  return true;
}

// The bytes of the package to wear; false (with a line on stderr) when the
// file cannot be read.
bool ReadPackage(const TGalleryOptions& o, std::vector<uint8_t>& bytes) {
  if (o.Package.empty()) {
    const auto def = DefaultSkinPackage();
    bytes.assign(def.begin(), def.end());
    return true;
  }
  std::string error;
  if (ReadFileBytes(o.Package, bytes, &error)) return true;
  std::fprintf(stderr, "gallery: cannot read the skin package %s: %s\n", o.Package.c_str(),
               error.c_str());
  return false;
}

// A skin data component on the form, active with the package, as an
// application has it: the manager skins the form once it shows.
bool WearSkin(TGalleryForm* form, const std::vector<uint8_t>& bytes) {
  InstallFormSkinnerFactory();
  auto* data = new TSkinData(form);
  data->BeginReading();
  if (!data->ReadSkinStream(WriteSkinStream(bytes)) || data->SkinEmpty()) return false;
  data->SetActive(true);
  data->Loaded();
  return true;
}

// Photographs the form once it is ready (shown, or skinned when `skinned`)
// and has painted everything once more, then ends the program. Gives up
// after 20 seconds.
void PhotographWhenReady(TGalleryForm* form, bool skinned, const std::string& path,
                         int& exit_code) {
  constexpr int kTickMs = 100, kGiveUpTicks = 200;
  auto* timer = new TTimer(form);
  timer->SetInterval(kTickMs);
  timer->OnTimer = [form, skinned, path, &exit_code, timer, ticks = 0,
                    painted = false](TObject*) mutable {
    HWND h = form->Handle();
    if (painted) {
      timer->SetEnabled(false);
      if (!SaveScreenAround(h, 0, 0, path)) {
        std::fprintf(stderr, "gallery: cannot write the picture %s\n", path.c_str());
        exit_code = 1;
      }
      Application->Terminate();
      return;
    }
    const bool ready =
        IsWindowVisible(h) && (!skinned || SendMessageA(h, kSkmIsSkinned, 0, 0) == 1);
    if (ready) {
      // Timer ticks come after every posted message: the skinner's set-up
      // is done. Paint all once more now; the photo is taken next tick.
      RedrawWindow(h, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      painted = true;
    } else if (++ticks > kGiveUpTicks) {
      timer->SetEnabled(false);
      std::fprintf(stderr, "gallery: the form was not %s in time\n", skinned ? "skinned" : "shown");
      exit_code = 1;
      Application->Terminate();
    }
  };
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TGalleryOptions options;
  if (!ParseOptions(__argc, __argv, options)) return 2;
  std::vector<uint8_t> package;
  if (options.Skin && !ReadPackage(options, package)) return 1;

  Application->SetTitle("Control gallery");
  auto* form = Application->CreateForm<TGalleryForm>();
  form->Pages()->SetActivePageIndex(options.Page);
  if (options.Skin && !WearSkin(form, package)) {
    std::fprintf(stderr, "gallery: cannot load the skin package %s\n", options.Package.c_str());
    return 1;
  }
  int exit_code = 0;
  if (!options.Shot.empty()) PhotographWhenReady(form, options.Skin, options.Shot, exit_code);
  Application->Run();
  FreeSkinManager();
  return exit_code;
}
