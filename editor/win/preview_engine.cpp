#include "preview_engine.h"

#include "editor/snapshot_rules.h"
#include "engine/skin_stream.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"

namespace {

constexpr int kDisableTag = 99;

// Control classes of other libraries and the skinner kind that suits them.
const std::vector<std::string> kEditorSkin3rd = {
    "TDBCheckBox=Checkbox", "TJvCheckBox=Checkbox",
    "TDBComboBox=Combobox", "TDBLookupComboBox=Combobox",
    "TColorBox=Combobox",   "TDBEdit=Edit",
    "TMaskEdit=Edit",       "TLabeledEdit=Edit",
    "TDBMemo=Edit",
};

TSkinControlTypes PreviewSkinControls() {
  return {xcMainMenu, xcPopupMenu,   xcToolbar,     xcControlbar, xcCombo,
          xcCheckBox, xcRadioButton, xcProgress,    xcScrollbar,  xcEdit,
          xcButton,   xcBitBtn,      xcSpeedButton, xcSpin,       xcPanel,
          xcGroupBox, xcStatusBar,   xcTab,         xcTrackBar,   xcSystemMenu};
}

}  // namespace

TSkinData* CreatePreviewSkinData(TComponent* owner, const std::vector<uint8_t>& stored) {
  InstallSystemColourResolver();
  InstallFormSkinnerFactory();
  auto* data = new TSkinData(owner);
  data->SetName("FSD");
  data->BeginReading();
  data->SetDisableTag(kDisableTag);
  data->SetSkinFormtype(sfMainform);
  data->SetMenuUpdate(true);
  data->SetMenuMerge(false);
  data->SetOptions(TSkinOptions{});
  data->SetSkinControls(PreviewSkinControls());
  data->SetSkin3rd(kEditorSkin3rd);
  data->ReadSkinStream(WriteSkinStream(stored));
  data->SetActive(true);
  data->OnFormSkin = [](TObject*, const std::string& class_name, bool& do_skin) {
    do_skin = class_name == "TForm1";
  };
  data->Loaded();
  return data;
}

void ShowPackageInEngine(TSkinData* data, const std::string& path) {
  data->SetSkinFile(path);
  if (!data->Active()) data->SetActive(true);
}

bool EngineActive(const TSkinData* data) {
  return data && data->Active();
}

bool EngineSkinsAnyForm() {
  return SkinManager && !SkinManager->SkinnedForms().empty();
}

bool PhotographSkinnedWindow(HWND window, TColor background, TBitmap& photo) {
  // The window's own skinner, not whichever form the manager listed first;
  // one whose window is going is no use.
  TWinSkinForm* skinner = IsWindow(window) ? ManagedFormSkinner(window) : nullptr;
  if (!skinner || skinner->Dead()) return false;
  RECT wr{};
  GetWindowRect(window, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (!SnapshotAvailable(w, h)) return false;
  RedrawWindow(window, nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  TBitmap frame(w, h);
  skinner->PaintFrameTo(frame.Canvas().Handle());
  HRGN region = RegionFromBitmap(frame.ToImage(), 0, 0, 1, 1, 1);

  TBitmap shot(w, h);
  shot.Canvas().Brush().SetColor(background);
  shot.Canvas().FillRect(RECT{0, 0, w, h});
  HDC dc = shot.Canvas().Handle();
  SelectClipRgn(dc, region);
  HDC screen = GetDC(nullptr);
  BitBlt(dc, 0, 0, w, h, screen, wr.left, wr.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  SelectClipRgn(dc, nullptr);
  if (region) DeleteObject(region);
  photo.Assign(shot);
  return true;
}
