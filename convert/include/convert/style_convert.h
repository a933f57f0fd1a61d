// Converts one colour variant of a visual style into a skin package.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "convert/exe_image.h"
#include "convert/theme.h"
#include "format/quick_ini.h"

// An opened style file: its text and bitmap resources and the variants it
// offers.
class TStyleFile {
 public:
  // EExeError when the file cannot be opened or is no PE file. A file without
  // resources opens with no variants, and ResourceError says why.
  explicit TStyleFile(const std::string& path);
  TStyleFile(std::unique_ptr<TFileView> view, const std::string& path);

  // The text resources to offer, in resource order: those whose names begin
  // with "NORMAL"; when there are none, the variant INIs the style names in
  // its file-name list, or else every text resource but "THEMES_INI".
  const std::vector<std::string>& Variants() const { return variants_; }
  const std::string& BaseName() const { return base_name_; }
  // The reader's message when the file has no resource tree to read
  // ("No resources in this file."); empty otherwise.
  const std::string& ResourceError() const { return resource_error_; }
  TExeImage& Image() { return *image_; }
  TResourceList* TextList() const { return text_list_; }
  TResourceList* BitmapList() const { return bitmap_list_; }

  // Converts the variant into OutputFolder + SkinName + ".skn" and returns
  // that path; EConvertError for an unknown variant, the conversion's errors
  // otherwise (EConvertError, EFileError, ...). Nothing is written unless the
  // whole conversion succeeds.
  std::string Convert(const std::string& variant, const std::string& output_folder);
  // The package bytes without writing them; `skin_name` receives the name.
  std::vector<uint8_t> ConvertToBytes(const std::string& variant, std::string& skin_name);

  std::function<void(const std::string&)> OnMessage;

 private:
  void Scan(const std::string& path);
  std::unique_ptr<TExeImage> image_;
  TResourceList* text_list_ = nullptr;
  TResourceList* bitmap_list_ = nullptr;
  std::string base_name_;
  std::string resource_error_;
  std::vector<std::string> variants_;
};

// "NORMALGREEN_INI" → "GREEN": the first "_INI", then the first "NORMAL"
// removed, letter case ignored.
std::string VariantName(const std::string& display_name);
// The style file's name up to its first "."; empty without one.
std::string StyleBaseName(const std::string& path);
// BaseName + "-" + variant, made safe as a file and member name.
std::string MakeSkinName(const std::string& base_name, const std::string& variant);

// One conversion.
class TStyle {
 public:
  explicit TStyle(TThemeContext& context);
  void Convert(const std::string& skin_name);  // BuildFrame, PrepareParts, then the package
  void ReadParts();
  void BuildFrame();
  void PrepareParts();
  // The skin package: the bitmap members in their order, the INI last.
  std::vector<uint8_t> BuildPackage();

  TStyleObj& Part(int index) { return parts_[static_cast<size_t>(index)]; }
  TQuickIni& OutIni() { return out_ini_; }
  int FrameWidth() const { return frame_w_; }
  int FrameHeight() const { return frame_h_; }
  int FrameLeftWidth = 0, FrameTopHeight = 0, FrameRightWidth = 0, FrameBottomHeight = 0;
  std::string SkinName;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> Members;  // after BuildPackage

 private:
  void PrepareTitleButton(TStyleObj& part);
  void NormaliseComboButton(TStyleObj& part);
  void BuildStatusBar(TStyleObj& part);
  void BuildStatusGripper(TStyleObj& part);
  void WidenArrows(TStyleObj& part, int frames);
  void DrawScrollGrippers(TStyleObj& part);
  void BuildMenuBackground(TStyleObj& part);
  void BuildMenuItem(TStyleObj& part);
  void BuildTrackThumb(TStyleObj& part);
  void Reorder(int index, std::vector<int> map, bool fill = false);
  uint32_t SysColour(const char* key, uint32_t fallback);

  TThemeContext& ctx_;
  std::array<TStyleObj, kPartCount> parts_;
  int frame_w_ = 0, frame_h_ = 0;
  TQuickIni out_ini_;
};
