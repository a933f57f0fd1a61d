// One colour variant of a visual style: its INI text, the style's bitmaps and
// the 36 theme parts the conversion turns into skin images.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "convert/exe_image.h"
#include "convert/image_ops.h"
#include "format/quick_ini.h"

struct TSizingMargins {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// One theme part.
struct TStyleObj {
  TSizingMargins Margins;
  TPixmap Bitmap;
  std::unique_ptr<TPixmap> GlyphBitmap;
  int Transparent = 0;
  int Tiled = 0;
  std::string Section;
  int32_t FrameCount = 1;
  int Vertical = 0;
  int32_t OffsetX = 0, OffsetY = 0;
  int ButtonAlign = 0;
};

constexpr int kPartCount = 36;
extern const char* const kPartSections[kPartCount];

// Theme margins "left, right, top, bottom".
TSizingMargins ParseMargins(std::string_view text);
std::vector<std::string> SplitNumbers(std::string_view text);
// Theme colour "R G B" as 0x00BBGGRR.
uint32_t ParseColour(std::string_view text);

// A 32-bit image becomes 24-bit on `background`: nearly transparent pixels
// (alpha 20 or less) and magenta ones become magenta, the others are blended.
void FlattenAlpha(TPixmap& image, uint32_t background);
void MagentaToBackground(TPixmap& image, uint32_t background);
// Scales frame `frame_number` (from 1) of a strip to width x height keeping
// the margins unscaled.
TPixmap NineSlice(int width, int height, const TPixmap& bitmap, TSizingMargins margins,
                  bool vertical, int frame_count, int frame_number);

// The variant being converted and the operations that read it.
class TThemeContext {
 public:
  TQuickIni ThemeIni;
  TResourceList* BitmapList = nullptr;
  uint32_t BackgroundColour = 0;
  std::vector<int> FrameMap;
  // Receives "Read Image error:SECTION-KEY" when a bitmap cannot be decoded.
  std::function<void(const std::string&)> OnMessage;

  void LoadTheme(const TResourceItem& text);
  void LoadThemeText(std::string_view text);  // the text as LoadTheme has converted it
  // Replaces `bitmap` with the image the key names; false (bitmap unchanged)
  // when it names none or the image cannot be decoded.
  bool LoadThemeImage(std::string_view section, std::string_view key, TPixmap& bitmap);
  void ReadPart(TStyleObj& part);
  bool HasVisibleImage(std::string_view section, std::string_view key);
  // Frame count of a part for dividing: at least 1.
  static int Frames(const TStyleObj& part) { return part.FrameCount > 0 ? part.FrameCount : 1; }

  void ReorderFrames(TStyleObj& part, TPixmap& bitmap, bool transparent_fill);
  void ComposeGlyph(TStyleObj& part, std::string_view key);
  void ComposeMdiGlyphs(TStyleObj& part);
  void AppendMdiButton(TStyleObj& part, std::string_view section);
  void JoinSpinImages(TStyleObj& part, std::string_view other_section);
  // The key of a section's glyph image: "GlyphImageFile", or "ImageFile1"
  // for an image glyph without one.
  std::string GlyphKey(std::string_view section) const;

 private:
  std::map<std::string, TResourceItem*> names_;
  bool names_built_ = false;
};
