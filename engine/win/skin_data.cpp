#include "engine_win/skin_data.h"

#include <algorithm>

#include "engine/builtin_bitmaps.h"
#include "engine/image_ops.h"
#include "engine/skin_parse.h"
#include "engine/skin_stream.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_manage.h"
#include "format/file_io.h"

const TEnumInfo kSkinControlIdents{
    {"xcMainMenu", "xcPopupMenu",   "xcMenuItem",   "xcToolbar",   "xcControlbar", "xcCombo",
     "xcCheckBox", "xcRadioButton", "xcProgress",   "xcScrollbar", "xcEdit",       "xcButton",
     "xcBitBtn",   "xcSpeedButton", "xcSpin",       "xcPanel",     "xcGroupBox",   "xcStatusBar",
     "xcTab",      "xcTrackBar",    "xcSystemMenu", "xcFastReport"}};
const TEnumInfo kSkinOptionIdents{{"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview",
                                   "xoParentBackGround", "xoNoFocusRect", "xoToolbarBK",
                                   "xoToolbarButton", "xoMDIChildBorder", "xoMenuBG",
                                   "xoFormScrollbar"}};
const TEnumInfo kSkinFormTypeIdents{{"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"}};

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      skin_controls_(DefaultSkinControls()),
      options_(DefaultSkinOptions()),
      skin3rd_(BuiltinSkin3rd()) {
  InstallSystemColourResolver();
  max_width_ = GetSystemMetrics(SM_CXMAXIMIZED);
  max_height_ = GetSystemMetrics(SM_CYMAXIMIZED);
  menu_glyphs_ = new TImageList(this);
  menu_glyphs_->SetSize(16, 16);
  TBitmap glyphs;
  glyphs.FromImage(MakeMenuGlyphs());
  menu_glyphs_->AddMasked(glyphs, clWhite);
}

TSkinData::~TSkinData() {
  if (SkinManager) SkinManager->UnregisterSkinData(this);
  if (face_brush_) DeleteObject(face_brush_);
}

void TSkinData::BeforeDestruction() {
  // Whatever skins with this component stops before any part of it goes.
  if (SkinManager) SkinManager->UnregisterSkinData(this);
  TComponent::BeforeDestruction();
}

void TSkinData::PublishProperties(TClassInfo& info) {
  TPublisher<TSkinData>(info)
      .Boolean("Active", &TSkinData::Active, &TSkinData::SetActive)
      .Integer("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
      .Set("SkinControls", kSkinControlIdents, &TSkinData::SkinControlBits,
           &TSkinData::SetSkinControlBits)
      .Set("Options", kSkinOptionIdents, &TSkinData::OptionBits, &TSkinData::SetOptionBits)
      .String("Skin3rd", &TSkinData::Skin3rdText, &TSkinData::SetSkin3rdText)
      .String("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
      .String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
      .Enumeration("SkinFormtype", kSkinFormTypeIdents, &TSkinData::SkinFormtype,
                   &TSkinData::SetSkinFormtype)
      .String("Version", &TSkinData::Version, &TSkinData::SetVersion)
      .Boolean("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
      .Boolean("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge);
}

std::string TSkinData::Skin3rdText() const {
  std::string text;
  for (const std::string& row : skin3rd_) {
    text += row;
    text += "\r\n";
  }
  return text;
}

void TSkinData::SetSkin3rdText(const std::string& text) {
  std::vector<std::string> rows;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    rows.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
  skin3rd_ = std::move(rows);
}

TCustomForm* TSkinData::OwnerForm() const {
  TComponent* o = Owner();
  return o && o->Is<TCustomForm>() ? static_cast<TCustomForm*>(o) : nullptr;
}

bool TSkinData::LoadSkinBuffer() {
  TParseEnvironment env;
  env.HScrollWidth = GetSystemMetrics(SM_CXHSCROLL);
  if (!LoadSkinPackage(content_, skin_buffer_, env)) return false;
  RecreateFaceBrush();
  return true;
}

void TSkinData::RecreateFaceBrush() {
  if (face_brush_) DeleteObject(face_brush_);
  face_brush_ = CreateSolidBrush(ToColorRef(content_.Colours[kcButtonFace]));
}

void TSkinData::SetSkinFile(const std::string& path) {
  content_.SkinEmpty = true;
  skin_file_ = path;
  if (path.empty()) return;
  std::vector<uint8_t> bytes;
  // A missing or unreadable file only changes the property.
  if (!ReadFileBytes(path, bytes)) return;
  // A refused package keeps the previous one, so that the stored copy and
  // the elements stay one skin.
  std::vector<uint8_t> previous = std::move(skin_buffer_);
  skin_buffer_ = std::move(bytes);
  if (!LoadSkinBuffer()) {
    skin_buffer_ = std::move(previous);
    return;
  }
  ApplySkinChange();
}

std::vector<uint8_t> TSkinData::WriteSkinStream() const {
  return ::WriteSkinStream(skin_buffer_);
}

bool TSkinData::ReadSkinStream(std::span<const uint8_t> stored) {
  std::optional<std::vector<uint8_t>> package = ::ReadSkinStream(stored);
  if (!package || package->empty()) return false;
  std::vector<uint8_t> previous = std::move(skin_buffer_);
  skin_buffer_ = std::move(*package);
  if (!LoadSkinBuffer()) {
    skin_buffer_ = std::move(previous);
    return false;
  }
  if (loaded_ && !reading_) ApplySkinChange();
  return true;
}

void TSkinData::MakeCaptionFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  auto font = std::make_unique<TFont>();
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    HFONT caption = CreateFontIndirectA(&metrics.lfCaptionFont);
    if (caption) {
      font->SetFromHandle(caption);
      DeleteObject(caption);
    }
  }
  caption_font_ = std::move(font);
}

void TSkinData::MakeAppIcon() {
  HWND window = nullptr;
  if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
    window = Application->MainForm()->Handle();
  else if (TCustomForm* f = OwnerForm(); f && f->HandleAllocated())
    window = f->Handle();
  HICON icon = nullptr;
  if (window) {
    icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
  }
  if (!icon) return;  // nothing changes without an icon
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->FromImage(SolidImage(w, h, kMagenta));
  DrawIconEx(bitmap->Canvas().Handle(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  bitmap->SetTransparentColor(kMagenta);
  app_icon_ = std::move(bitmap);
}

void TSkinData::Loaded() {
  reading_ = false;
  if (loaded_) return;
  loaded_ = true;
  // Scroll bars are skinned only where the platform can describe them.
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32 || !GetProcAddress(user32, "GetScrollBarInfo")) skin_controls_.Exclude(xcScrollbar);
  TSkinManage* m = EnsureSkinManager();
  m->RegisterSkinData(this);
  MakeCaptionFont();
  if (form_type_ != sfMainform) {
    m->SkinningOn = true;
    m->RunState = rsRunning;
    TCustomForm* f = OwnerForm();
    if (f && active_ && f->HandleAllocated()) m->SkinWindow(f->Handle());
    return;
  }
  const bool hook_was_installed = m->HookInstalled();
  m->InstallHook();
  if (active_) {
    if (SkinEmpty()) {
      active_ = false;
    } else {
      m->ActionTarget = this;
      m->RequestAction(saSkinAll, 250);
    }
  }
  if (skin_controls_.Has(xcMainMenu))
    skin_controls_.Exclude(xcMenuItem);
  else
    skin_controls_.Exclude(xcSystemMenu);
  MakeAppIcon();
  // Set up as for any later activation, the window activated before the
  // hook was there gets the activation the hook missed.
  if (!hook_was_installed) m->TakeUpActiveWindow();
}

void TSkinData::SetActive(bool v) {
  if (v == active_) return;
  active_ = v;
  // Before the component is set up the value is only stored; Loaded acts.
  if (reading_ || !loaded_ || !SkinManager) return;
  TSkinManage* m = SkinManager;
  switch (form_type_) {
    case sfOnlyThisForm:
      m->ActionTarget = this;
      if (v && SkinEmpty()) return;
      m->RequestAction(v ? saSkinAll : saUnskinAll, 250);
      break;
    case sfMainform:
      if (v) {
        if (SkinEmpty()) return;
        m->ActionTarget = this;
        m->RequestAction(saSkinAll, 250);
        m->RunState = rsRunning;
      } else {
        m->ActionTarget = this;
        m->RequestAction(saUnskinAll, 250);
      }
      break;
    case sfDialog:
    case sfDLL:
      break;
  }
}

void TSkinData::ApplySkinChange() {
  if (reading_) return;
  const bool fresh = !loaded_;
  if (fresh)
    Loaded();
  else if (!SkinManager || !SkinManager->IsRegistered(this))
    EnsureSkinManager()->RegisterSkinData(this);
  TSkinManage* m = SkinManager;
  m->ActionTarget = this;
  m->DropTitleButtons();  // of the forms using this component
  // A skin-all that setting up just asked for already uses the new skin; a
  // reload request would replace it.
  if (m->RunState == rsRunning && !(fresh && m->PendingAction == saSkinAll))
    m->RequestAction(saReload, 250);
}

bool TSkinData::FormFilter(HWND window, const std::string& class_name, bool do_skin) {
  pending_handle_ = window;
  if (OnFormSkin) {
    bool decision = do_skin;
    TOnFormSkin handler = OnFormSkin;
    handler(this, class_name, decision);
    return decision;
  }
  return DefaultFormFilter(class_name, skin_controls_, do_skin);
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) {
    TNotifyEvent handler = OnSkinChanged;
    handler(this);
  }
}
