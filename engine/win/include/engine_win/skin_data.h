// TSkinData: the component an application places on a form to skin itself.
// It holds one skin package as raw bytes, parses it into skin elements, keeps
// the colour table and the options the rest of the engine consults, and tells
// the manager (skin_manage.h) when to skin or unskin windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/skin_elements.h"
#include "engine/skin_options.h"
#include "framework/forms.h"
#include "framework/imglist.h"

class TSkinData;

// Per-window veto: DoSkin arrives with the decision so far.
using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
// Before a framework form is attached / after a window's frame was skinned.
using TOnSkinForm = std::function<void(TObject* Sender, HWND ahwnd, const std::string& aName)>;
// Lets the application supply its own skinner for a control.
using TOnSkinControl =
    std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                       const std::string& ControlClass, TComponent*& SkinnedControl)>;

extern const TEnumInfo kSkinControlIdents;
extern const TEnumInfo kSkinOptionIdents;
extern const TEnumInfo kSkinFormTypeIdents;

class TSkinData : public TComponent {
  MV_CLASS(TSkinData, TComponent)
 public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;
  static void PublishProperties(TClassInfo& info);
  void BeforeDestruction() override;

  // --- Published properties ---
  bool Active() const { return active_; }
  void SetActive(bool v);
  int DisableTag() const { return disable_tag_; }
  void SetDisableTag(int v) { disable_tag_ = v; }
  TSkinControlTypes SkinControls() const { return skin_controls_; }
  void SetSkinControls(TSkinControlTypes v) { skin_controls_ = v; }
  TSkinOptions Options() const { return options_; }
  void SetOptions(TSkinOptions v) { options_ = v; }
  // The two sets as bit masks (bit n is member n), as they are published.
  uint32_t SkinControlBits() const { return skin_controls_.Bits(); }
  void SetSkinControlBits(uint32_t v) { skin_controls_ = TSkinControlTypes::FromBits(v); }
  uint32_t OptionBits() const { return options_.Bits(); }
  void SetOptionBits(uint32_t v) { options_ = TSkinOptions::FromBits(v); }
  // Rows "ClassName=kind" mapping other libraries' controls to skin kinds.
  const std::vector<std::string>& Skin3rd() const { return skin3rd_; }
  void SetSkin3rd(const std::vector<std::string>& rows) { skin3rd_ = rows; }
  // The same rows as one text, lines separated by CR LF.
  std::string Skin3rdText() const;
  void SetSkin3rdText(const std::string& text);
  const std::string& SkinFile() const { return skin_file_; }
  // Loads that package when the file exists (a missing file only changes
  // the property), then applies the change to the skinned windows.
  void SetSkinFile(const std::string& path);
  // "(none)": a stored package is only reported while designing a form.
  std::string SkinStore() const { return "(none)"; }
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype() const { return form_type_; }
  void SetSkinFormtype(TSkinFormType v) { form_type_ = v; }
  std::string Version() const { return "5.03.07.12"; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate() const { return menu_update_; }
  void SetMenuUpdate(bool v) { menu_update_ = v; }
  bool MenuMerge() const { return menu_merge_; }
  void SetMenuMerge(bool v) { menu_merge_ = v; }

  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm;
  TOnSkinForm OnAfterSkinForm;

  // --- The stored SkinStream property of a form ---
  // A 32-bit little-endian count N, then N bytes of the package.
  std::vector<uint8_t> WriteSkinStream() const;
  // Reads a stored stream: a count that is negative or larger than the data
  // is ignored (false, nothing changes); otherwise the bytes become the
  // package and are loaded. Returns whether a skin was loaded.
  bool ReadSkinStream(std::span<const uint8_t> stored);

  // While the owning form is being read, Active and SkinFile writes are only
  // stored; Loaded ends that state and registers with the manager.
  void BeginReading() { reading_ = true; }
  bool Reading() const { return reading_; }
  // The owning form has been set up: registers with the manager, installs
  // the window hook for sfMainform, starts skinning when Active.
  void Loaded();
  bool IsLoaded() const { return loaded_; }

  // Parses SkinBuffer. A package the reader refuses (or without an INI
  // member) leaves the previous elements and returns false.
  bool LoadSkinBuffer();
  const std::vector<uint8_t>& SkinBuffer() const { return skin_buffer_; }
  // After a new skin arrived at run time: the forms using this component
  // drop their title buttons and are reloaded after 250 ms.
  void ApplySkinChange();
  // The window filter for the main component: OnFormSkin when assigned,
  // else the default rules. Returns the decision.
  bool FormFilter(HWND window, const std::string& class_name, bool do_skin);
  void DoSkinChanged();

  // --- What the skinners read ---
  const TSkinContent& Content() const { return content_; }
  bool SkinEmpty() const { return content_.SkinEmpty; }
  TColor Colours(TSkinColourSlot slot) const { return content_.Colours[slot]; }
  HBRUSH FaceBrush() const { return face_brush_; }
  // Restore, maximise, minimise, close: 16 by 16, white transparent.
  TImageList* MenuGlyphs() const { return menu_glyphs_; }
  // The application's small icon on magenta (empty until made).
  TBitmap* AppIcon() const { return app_icon_.get(); }
  TFont* CaptionFont() const { return caption_font_.get(); }
  int MaxWidth() const { return max_width_; }
  int MaxHeight() const { return max_height_; }
  bool NcPaintEnabled = true;
  HWND PendingHandle() const { return pending_handle_; }

 private:
  void MakeCaptionFont();
  void MakeAppIcon();
  void RecreateFaceBrush();
  TCustomForm* OwnerForm() const;

  bool active_ = false;
  int disable_tag_ = 99;
  TSkinControlTypes skin_controls_;
  TSkinOptions options_;
  std::vector<std::string> skin3rd_;
  std::string skin_file_;
  TSkinFormType form_type_ = sfMainform;
  bool menu_update_ = true;
  bool menu_merge_ = false;

  bool reading_ = false;
  bool loaded_ = false;
  std::vector<uint8_t> skin_buffer_;
  TSkinContent content_;
  HBRUSH face_brush_ = nullptr;
  TImageList* menu_glyphs_ = nullptr;  // owned as a component
  std::unique_ptr<TBitmap> app_icon_;
  std::unique_ptr<TFont> caption_font_;
  int max_width_ = 0;
  int max_height_ = 0;
  HWND pending_handle_ = nullptr;
};
