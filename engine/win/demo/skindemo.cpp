// A framework form with a main menu (several dropdowns with short cuts and a
// cascade) wearing a skin: the built-in default skin, or the package named
// on the command line.
//
//   skindemo [PKG] [--shot FILE.bmp] [--inactive] [--maximised] [--menu]
//            [--sysmenu] [--popup] [--rtl] [--size WxH]
//   skindemo --mdi [PKG] [--shot FILE.bmp] [--maximised] [--menu]
//
// --mdi shows a plain MDI frame with three children instead (--maximised
// maximises the active child).
// --shot photographs the screen area of the skinned window once it has
// painted (with --menu: while the first dropdown is open; with --sysmenu:
// while the system menu is open; with --popup: while the client area's
// context menu is open with its cascade) and exits; exit code 1 when the package or
// the picture failed. --rtl lays the window out right to left. --size gives
// the window's outer size before it is skinned (default 520x340).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "default_skin.h"
#include "framework/screen_shot.h"
#include "engine/builtin_bitmaps.h"
#include "skindemo_mdi.h"
#include "engine/skin_parse.h"
#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "format/file_io.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/imglist.h"
#include "framework/menus.h"

namespace {

TMenuItem* AddItem(TMenu* menu, TMenuItem* parent, const char* caption, const char* shortcut = "") {
  auto* item = new TMenuItem(menu);
  item->SetCaption(caption);
  if (*shortcut) item->SetShortCut(TextToShortCut(shortcut));
  parent->Add(item);
  return item;
}

class TSkinDemoForm : public TForm {
  MV_CLASS(TSkinDemoForm, TForm)
 public:
  explicit TSkinDemoForm(TComponent* owner) : TForm(owner) {
    if (RightToLeft) SetBiDiMode(TBiDiMode::bdRightToLeft);
    SetCaption("Skinned window demo");
    SetBounds(60, 50, 520, 340);
    menu_ = new TMainMenu(this);
    if (RightToLeft) menu_->SetBiDiMode(TBiDiMode::bdRightToLeft);
    TMenuItem* root = menu_->Items();
    TMenuItem* file = AddItem(menu_, root, "&File");
    AddItem(menu_, file, "&New", "Ctrl+N");
    AddItem(menu_, file, "&Open...", "Ctrl+O");
    AddItem(menu_, file, "&Save", "Ctrl+S");
    AddItem(menu_, file, "-");
    TMenuItem* recent = AddItem(menu_, file, "&Recent files");
    AddItem(menu_, recent, "first.skn");
    AddItem(menu_, recent, "second.skn");
    AddItem(menu_, file, "-");
    AddItem(menu_, file, "E&xit", "Alt+F4")->OnClick = [this](TObject*) { Close(); };
    TMenuItem* edit = AddItem(menu_, root, "&Edit");
    AddItem(menu_, edit, "&Undo", "Ctrl+Z");
    AddItem(menu_, edit, "Cu&t", "Ctrl+X");
    AddItem(menu_, edit, "&Copy", "Ctrl+C");
    AddItem(menu_, edit, "&Paste", "Ctrl+V");
    TMenuItem* view = AddItem(menu_, root, "&View");
    AddItem(menu_, view, "&Toolbar")->SetChecked(true);
    AddItem(menu_, view, "&Status bar");
    TMenuItem* help = AddItem(menu_, root, "&Help");
    AddItem(menu_, help, "&About", "F1")->OnClick = [this](TObject*) {
      status_ = "About: a skinned framework form";
      Invalidate();
    };
    SetMenu(menu_);
    BuildContextMenu();
  }
  // The context menu of the client area (a right click): glyphs, a check, a
  // radio group, a disabled entry and a cascade.
  void BuildContextMenu() {
    auto* glyphs = new TImageList(this);
    glyphs->SetSize(16, 16);
    TBitmap strip;
    strip.FromImage(MakeMenuGlyphs());
    glyphs->AddMasked(strip, clWhite);
    context_ = new TPopupMenu(this);
    context_->SetImages(glyphs);
    if (RightToLeft) context_->SetBiDiMode(TBiDiMode::bdRightToLeft);
    TMenuItem* root = context_->Items();
    AddItem(context_, root, "&Restore")->SetImageIndex(0);
    AddItem(context_, root, "Ma&ximize")->SetImageIndex(1);
    AddItem(context_, root, "&Close", "Ctrl+W")->SetImageIndex(3);
    AddItem(context_, root, "-");
    AddItem(context_, root, "&Word wrap")->SetChecked(true);
    for (const char* size : {"&Small", "&Medium", "&Large"}) {
      TMenuItem* item = AddItem(context_, root, size);
      item->SetRadioItem(true);
      item->SetChecked(size[1] == 'M');
    }
    AddItem(context_, root, "-");
    AddItem(context_, root, "&Unavailable")->SetEnabled(false);
    TMenuItem* more = AddItem(context_, root, "M&ore");
    AddItem(context_, more, "&First");
    AddItem(context_, more, "&Second", "F2");
    SetPopupMenu(context_);
  }
  TPopupMenu* ContextMenu() const { return context_; }
  std::string status_ = "Alt, F10 or Alt+letter open the menu bar; Alt+Space the system menu.";
  static inline bool RightToLeft = false;

 protected:
  void Paint() override {
    TCanvas& c = Canvas();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Font().SetColor(clBtnText);
    c.TextOut(16, 16, "The frame, caption, title buttons and menu bar come from the skin.");
    c.TextOut(16, 40, status_);
  }

 private:
  TMainMenu* menu_;
  TPopupMenu* context_ = nullptr;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string package, shot_path;
  bool inactive = false, maximised = false, open_menu = false, system_menu = false, mdi = false,
       popup = false;
  int width = 0, height = 0;
  for (int i = 1; i < __argc; ++i) {
    if (std::strcmp(__argv[i], "--shot") == 0 && i + 1 < __argc)
      shot_path = __argv[++i];
    else if (std::strcmp(__argv[i], "--inactive") == 0)
      inactive = true;
    else if (std::strcmp(__argv[i], "--maximised") == 0)
      maximised = true;
    else if (std::strcmp(__argv[i], "--menu") == 0)
      open_menu = true;
    else if (std::strcmp(__argv[i], "--sysmenu") == 0)
      system_menu = true;
    else if (std::strcmp(__argv[i], "--popup") == 0)
      popup = true;
    else if (std::strcmp(__argv[i], "--rtl") == 0)
      TSkinDemoForm::RightToLeft = true;
    else if (std::strcmp(__argv[i], "--size") == 0 && i + 1 < __argc) {
      if (std::sscanf(__argv[++i], "%dx%d", &width, &height) != 2 || width < 1 || height < 1 ||
          width > 4000 || height > 4000) {
        std::fprintf(stderr, "--size wants WIDTHxHEIGHT, each 1..4000\n");
        return 2;
      }
    } else if (std::strcmp(__argv[i], "--mdi") == 0)
      mdi = true;
    else
      package = __argv[i];
  }
  InstallSystemColourResolver();
  if (mdi) {
    std::vector<uint8_t> bytes;
    if (package.empty()) {
      const auto def = DefaultSkinPackage();
      bytes.assign(def.begin(), def.end());
    } else if (!ReadFileBytes(package, bytes)) {
      std::fprintf(stderr, "cannot read the skin package %s\n", package.c_str());
      return 1;
    }
    return RunMdiDemo(bytes, shot_path, maximised, open_menu);
  }
  std::vector<uint8_t> bytes;
  if (package.empty()) {
    const auto def = DefaultSkinPackage();
    bytes.assign(def.begin(), def.end());
  } else if (!ReadFileBytes(package, bytes)) {
    bytes.clear();
  }
  TSkinContent probe;
  if (bytes.empty() || !LoadSkinPackage(probe, bytes)) {
    std::fprintf(stderr, "cannot load the skin package %s\n", package.c_str());
    return 1;
  }

  Application->SetTitle("Skin demo");
  auto* form = Application->CreateForm<TSkinDemoForm>();
  if (width > 0) form->SetBounds(form->Left(), form->Top(), width, height);
  if (maximised) form->SetWindowState(TWindowState::wsMaximized);
  // A skin data component on the form, as an application has it: the
  // manager skins the form once it shows, and every menu it opens.
  InstallFormSkinnerFactory();
  auto* data = new TSkinData(form);
  data->BeginReading();
  if (!data->ReadSkinStream(WriteSkinStream(bytes)) || data->SkinEmpty()) return 1;
  data->SetActive(true);
  data->Loaded();
  form->Show();

  int exit_code = 0;
  if (!shot_path.empty()) {
    auto* timer = new TTimer(form);
    timer->SetInterval(600);
    timer->OnTimer = [&, timer](TObject*) {
      timer->SetEnabled(false);
      if (inactive) SendMessageA(form->Handle(), WM_NCACTIVATE, FALSE, 0);
      auto* photo = new TTimer(form);
      photo->SetInterval(300);
      photo->OnTimer = [&, photo](TObject*) {
        photo->SetEnabled(false);
        if (!SaveScreenAround(form->Handle(), (TSkinDemoForm::RightToLeft ? 160 : 0), 160,
                              shot_path))
          exit_code = 1;
        EndMenu();
        Application->Terminate();
      };
      // The dropdown runs its own loop; the photo timer ends it.
      if (open_menu) SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
      if (system_menu) SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
      if (popup) {
        // The last entry opens the cascade (up wraps to it, right opens it).
        auto* keys = new TTimer(form);
        keys->SetInterval(150);
        keys->OnTimer = [keys](TObject*) {
          keys->SetEnabled(false);
          if (HWND menu = FindWindowA("#32768", nullptr)) {
            PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RIGHT, 0);
          }
        };
        POINT at{TSkinDemoForm::RightToLeft ? 300 : 200, 60};
        ClientToScreen(form->Handle(), &at);
        form->ContextMenu()->Popup(at.x, at.y);
      }
    };
  }
  Application->Run();
  FreeSkinManager();
  return exit_code;
}
