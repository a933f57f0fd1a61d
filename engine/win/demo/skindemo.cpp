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

// What the command line asks for.
struct TDemoOptions {
  std::string Package, ShotPath;
  bool Inactive = false, Maximised = false, OpenMenu = false, SystemMenu = false, Mdi = false,
       Popup = false;
  int Width = 0, Height = 0;
};

// False (with the reason on stderr) for a bad --size.
bool ParseArguments(TDemoOptions& o) {
  for (int i = 1; i < __argc; ++i) {
    if (std::strcmp(__argv[i], "--shot") == 0 && i + 1 < __argc)
      o.ShotPath = __argv[++i];
    else if (std::strcmp(__argv[i], "--inactive") == 0)
      o.Inactive = true;
    else if (std::strcmp(__argv[i], "--maximised") == 0)
      o.Maximised = true;
    else if (std::strcmp(__argv[i], "--menu") == 0)
      o.OpenMenu = true;
    else if (std::strcmp(__argv[i], "--sysmenu") == 0)
      o.SystemMenu = true;
    else if (std::strcmp(__argv[i], "--popup") == 0)
      o.Popup = true;
    else if (std::strcmp(__argv[i], "--rtl") == 0)
      TSkinDemoForm::RightToLeft = true;
    else if (std::strcmp(__argv[i], "--size") == 0 && i + 1 < __argc) {
      if (std::sscanf(__argv[++i], "%dx%d", &o.Width, &o.Height) != 2 || o.Width < 1 ||
          o.Height < 1 || o.Width > 4000 || o.Height > 4000) {
        std::fprintf(stderr, "--size wants WIDTHxHEIGHT, each 1..4000\n");
        return false;
      }
    } else if (std::strcmp(__argv[i], "--mdi") == 0)
      o.Mdi = true;
    else
      o.Package = __argv[i];
  }
  return true;
}

// The named package's bytes, or the built-in default skin without a name;
// false when the file cannot be read.
bool ReadPackage(const std::string& path, std::vector<uint8_t>& bytes) {
  if (path.empty()) {
    const auto def = DefaultSkinPackage();
    bytes.assign(def.begin(), def.end());
    return true;
  }
  return ReadFileBytes(path, bytes);
}

// The demo form with a skin data component on it, as an application has
// it: the manager skins the form once it shows, and every menu it opens.
// Null when the component refuses the package.
TSkinDemoForm* CreateSkinnedForm(const TDemoOptions& o, const std::vector<uint8_t>& bytes) {
  Application->SetTitle("Skin demo");
  auto* form = Application->CreateForm<TSkinDemoForm>();
  if (o.Width > 0) form->SetBounds(form->Left(), form->Top(), o.Width, o.Height);
  if (o.Maximised) form->SetWindowState(TWindowState::wsMaximized);
  InstallFormSkinnerFactory();
  auto* data = new TSkinData(form);
  data->BeginReading();
  if (!data->ReadSkinStream(WriteSkinStream(bytes)) || data->SkinEmpty()) return nullptr;
  data->SetActive(true);
  data->Loaded();
  return form;
}

// Opens the context menu and, a little later, its cascade (up wraps to the
// last entry, right opens it).
void OpenContextMenuWithCascade(TSkinDemoForm* form) {
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

// Once the form has painted: the state the photograph shows, then (300 ms
// later) the photograph and the end of the program; `exit_code` becomes 1
// when the picture fails.
void SchedulePhotograph(TSkinDemoForm* form, const TDemoOptions& o, int& exit_code) {
  auto* timer = new TTimer(form);
  timer->SetInterval(600);
  timer->OnTimer = [form, timer, &o, &exit_code](TObject*) {
    timer->SetEnabled(false);
    if (o.Inactive) SendMessageA(form->Handle(), WM_NCACTIVATE, FALSE, 0);
    auto* photo = new TTimer(form);
    photo->SetInterval(300);
    photo->OnTimer = [form, photo, &o, &exit_code](TObject*) {
      photo->SetEnabled(false);
      if (!SaveScreenAround(form->Handle(), (TSkinDemoForm::RightToLeft ? 160 : 0), 160,
                            o.ShotPath))
        exit_code = 1;
      EndMenu();
      Application->Terminate();
    };
    // The dropdown runs its own loop; the photo timer ends it.
    if (o.OpenMenu) SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    if (o.SystemMenu) SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    if (o.Popup) OpenContextMenuWithCascade(form);
  };
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TDemoOptions o;
  if (!ParseArguments(o)) return 2;
  InstallSystemColourResolver();
  std::vector<uint8_t> bytes;
  const bool read = ReadPackage(o.Package, bytes);
  if (o.Mdi) {
    if (!read) {
      std::fprintf(stderr, "cannot read the skin package %s\n", o.Package.c_str());
      return 1;
    }
    return RunMdiDemo(bytes, o.ShotPath, o.Maximised, o.OpenMenu);
  }
  if (!read) bytes.clear();
  TSkinContent probe;
  if (bytes.empty() || !LoadSkinPackage(probe, bytes)) {
    std::fprintf(stderr, "cannot load the skin package %s\n", o.Package.c_str());
    return 1;
  }
  TSkinDemoForm* form = CreateSkinnedForm(o, bytes);
  if (!form) return 1;
  form->Show();
  int exit_code = 0;
  if (!o.ShotPath.empty()) SchedulePhotograph(form, o, exit_code);
  Application->Run();
  FreeSkinManager();
  return exit_code;
}
