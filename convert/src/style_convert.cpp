// The conversion of one style variant: reading the parts, rebuilding the
// window frame and preparing every part's image in the skin's frame order.
#include "convert/style_convert.h"

#include <algorithm>
#include <cstdlib>

#include "format/file_io.h"
#include "format/skin_package.h"
#include "format/text.h"

namespace {

void Make24(TPixmap& image, uint32_t background) {
  if (image.BitsPerPixel == 32) {
    FlattenAlpha(image, background);
  } else {
    To24(image);
  }
}

// Removes the first occurrence of `what`, letter case ignored.
std::string RemoveFirst(const std::string& s, const std::string& what) {
  std::string lower = LowerAscii(s);
  size_t at = lower.find(LowerAscii(what));
  if (at == std::string::npos) return s;
  return s.substr(0, at) + s.substr(at + what.size());
}

// The names in a multi-string resource: UTF-16 strings, each ended by a NUL.
std::vector<std::string> MultiString(std::span<const uint8_t> data) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at + 2 <= data.size()) {
    size_t end = at;
    while (end + 2 <= data.size() && (data[end] | data[end + 1]) != 0)
      end += 2;
    if (end > at) out.push_back(WideToAnsi(data.subspan(at, end - at), (end - at) / 2));
    at = end + 2;
  }
  return out;
}

}  // namespace

// ----------------------------------------------------------------- names

std::string VariantName(const std::string& display_name) {
  return RemoveFirst(RemoveFirst(display_name, "_INI"), "NORMAL");
}

std::string StyleBaseName(const std::string& path) {
  std::string name = ExtractFileName(path);
  size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

std::string MakeSkinName(const std::string& base_name, const std::string& variant) {
  // Both parts come from the style file; as a file name the result must stay
  // in the output folder, as a member name it must keep the name list intact.
  return SafeFileName(base_name + "-" + variant);
}

// ------------------------------------------------------------- TStyleFile

TStyleFile::TStyleFile(const std::string& path) : TStyleFile(OpenFileView(path), path) {}

TStyleFile::TStyleFile(std::unique_ptr<TFileView> view, const std::string& path) {
  image_ = std::make_unique<TExeImage>(std::move(view), path);
  base_name_ = StyleBaseName(path);
  Scan(path);
}

void TStyleFile::Scan(const std::string&) {
  TResourceList* root;
  try {
    root = &image_->RootList();
  } catch (const EExeError& e) {
    resource_error_ = e.what();  // no resources: nothing to offer
    return;
  }
  TResourceItem* names_type = nullptr;
  // Depth first through the tree; a later match replaces an earlier one.
  std::vector<TResourceList*> stack{root};
  while (!stack.empty()) {
    TResourceList* list = stack.back();
    stack.pop_back();
    const auto& entries = list->Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      TResourceItem& item = **it;
      if (!item.IsDirectory()) continue;
      stack.push_back(&item.Children());
    }
    for (const auto& item : entries) {
      if (!item->IsDirectory()) continue;
      std::string name = item->DisplayName();
      if (name == "TEXTFILE") {
        text_list_ = &item->Children();
      } else if (name == "Bitmap") {
        bitmap_list_ = &item->Children();
      } else if (list->IsRoot() && name == "FILERESNAMES") {
        names_type = item.get();
      }
    }
  }
  if (!text_list_) return;
  for (const auto& item : text_list_->Entries()) {
    std::string name = item->DisplayName();
    if (name.compare(0, 6, "NORMAL") == 0) variants_.push_back(name);
  }
  if (!variants_.empty()) return;
  // Styles that do not name their variants NORMAL...: the variant INIs the
  // style lists itself, or every text but the style's description.
  if (names_type && names_type->Children().Count() > 0) {
    for (const std::string& n : MultiString(names_type->Children().Item(0).Data())) {
      bool exists = false;
      for (const auto& item : text_list_->Entries())
        exists = exists || item->DisplayName() == n;
      if (exists && std::find(variants_.begin(), variants_.end(), n) == variants_.end())
        variants_.push_back(n);
    }
  }
  if (!variants_.empty()) return;
  for (const auto& item : text_list_->Entries()) {
    std::string name = item->DisplayName();
    if (name != "THEMES_INI") variants_.push_back(name);
  }
}

std::vector<uint8_t> TStyleFile::ConvertToBytes(const std::string& variant,
                                                std::string& skin_name) {
  std::vector<uint8_t> package;
  bool found = false;
  if (text_list_) {
    for (const auto& item : text_list_->Entries()) {
      if (item->DisplayName() != variant) continue;
      found = true;
      TThemeContext context;
      context.BitmapList = bitmap_list_;
      context.OnMessage = OnMessage;
      context.LoadTheme(*item);
      skin_name = MakeSkinName(base_name_, VariantName(variant));
      TStyle style(context);
      style.Convert(skin_name);
      package = style.BuildPackage();
    }
  }
  if (!found) throw EConvertError("the style has no variant \"" + variant + "\"");
  return package;
}

std::string TStyleFile::Convert(const std::string& variant, const std::string& output_folder) {
  std::string skin_name;
  std::vector<uint8_t> package = ConvertToBytes(variant, skin_name);
  std::string path = IncludeTrailingSeparator(output_folder) + skin_name + ".skn";
  WriteFileAtomic(path, package);
  return path;
}

// ----------------------------------------------------------------- TStyle

TStyle::TStyle(TThemeContext& context) : ctx_(context) {
  for (int i = 0; i < kPartCount; ++i)
    parts_[static_cast<size_t>(i)].Section = kPartSections[i];
}

uint32_t TStyle::SysColour(const char* key, uint32_t fallback) {
  std::string v = ctx_.ThemeIni.ReadString("SysMetrics", key, "");
  return v.empty() ? fallback : ParseColour(v);
}

void TStyle::ReadParts() {
  ctx_.BackgroundColour = SysColour("Btnface", 0);
  for (TStyleObj& part : parts_)
    ctx_.ReadPart(part);
  TStyleObj& bottom_thumb = parts_[27];
  ctx_.LoadThemeImage(bottom_thumb.Section, "ImageFile1", bottom_thumb.Bitmap);
  // The progress bar carries the chunk image and takes the chunk's sizing.
  TStyleObj& bar = parts_[12];
  bar.GlyphBitmap = std::make_unique<TPixmap>();
  ctx_.LoadThemeImage("Progress.Chunk", "ImageFile", *bar.GlyphBitmap);
  bar.Tiled =
      LowerAscii(ctx_.ThemeIni.ReadString("Progress.Chunk", "sizingtype", "stretch")) != "stretch";
}

void TStyle::Convert(const std::string& skin_name) {
  SkinName = skin_name;
  ReadParts();
  BuildFrame();
  PrepareParts();
}

void TStyle::BuildFrame() {
  TStyleObj &left = parts_[0], &right = parts_[1], &caption = parts_[2], &bottom = parts_[3];
  // Soft (alpha) edges are blended onto the background before anything is
  // scaled, so that they keep their shade.
  for (TStyleObj* p : {&left, &right, &caption, &bottom}) {
    if (p->Bitmap.BitsPerPixel == 32) FlattenAlpha(p->Bitmap, ctx_.BackgroundColour);
    if (p->Bitmap.BitsPerPixel != 24) To24(p->Bitmap);
    p->Tiled = 1;
  }
  int W = std::max(150, caption.Bitmap.Width);
  int H = std::max(100, left.Bitmap.Height / TThemeContext::Frames(left));
  frame_w_ = W;
  frame_h_ = H;
  int lw = std::min(4, left.Bitmap.Width), rw = std::min(4, right.Bitmap.Width);
  int bh = bottom.Bitmap.Height / TThemeContext::Frames(bottom);
  int th = caption.Bitmap.Height / TThemeContext::Frames(caption);
  FrameLeftWidth = lw;
  FrameRightWidth = rw;
  FrameBottomHeight = bh;
  FrameTopHeight = th;

  auto copy_frame = [](TPixmap& canvas, const TStyleObj& part, int n, int l, int t, int r, int b) {
    int fh = part.Bitmap.Height / TThemeContext::Frames(part);
    StretchCopy(canvas, l, t, r - l, b - t, part.Bitmap, 0, fh * (n - 1), part.Bitmap.Width, fh);
  };
  auto draw_frame = [](TPixmap& canvas, const TStyleObj& part, int n, int l, int t, int r, int b) {
    if (r - l <= 0 || b - t <= 0) return;
    TPixmap slice = NineSlice(r - l, b - t, part.Bitmap, part.Margins, part.Vertical != 0,
                              TThemeContext::Frames(part), n);
    CopyRect(canvas, l, t, slice, 0, 0, slice.Width, slice.Height);
  };
  auto paint = [&](TPixmap& canvas, bool last) {
    auto n = [last](const TStyleObj& p) { return last ? TThemeContext::Frames(p) : 1; };
    copy_frame(canvas, left, n(left), 0, th, lw, H - bh);
    copy_frame(canvas, right, n(right), W - rw, th, W, H - bh);
    draw_frame(canvas, bottom, n(bottom), 0, H - bh, W, H);
    draw_frame(canvas, caption, n(caption), 0, 0, W, th);
  };
  TPixmap active = NewImage(W, H), inactive = NewImage(W, H);
  paint(active, false);
  paint(inactive, true);

  int inner = W - lw - rw;
  left.Bitmap = NewImage(2 * lw, H);
  CopyRect(left.Bitmap, 0, 0, active, 0, 0, lw, H);
  CopyRect(left.Bitmap, lw, 0, inactive, 0, 0, lw, H);
  right.Bitmap = NewImage(2 * rw, H);
  CopyRect(right.Bitmap, 0, 0, active, W - rw, 0, rw, H);
  CopyRect(right.Bitmap, rw, 0, inactive, W - rw, 0, rw, H);
  caption.Bitmap = NewImage(inner, 2 * th);
  CopyRect(caption.Bitmap, 0, 0, active, lw, 0, inner, th);
  CopyRect(caption.Bitmap, 0, th, inactive, lw, 0, inner, th);
  bottom.Bitmap = NewImage(inner, 2 * bh);
  CopyRect(bottom.Bitmap, 0, 0, active, lw, H - bh, inner, bh);
  CopyRect(bottom.Bitmap, 0, bh, inactive, lw, H - bh, inner, bh);
}

void TStyle::Reorder(int index, std::vector<int> map, bool fill) {
  TStyleObj& part = parts_[static_cast<size_t>(index)];
  ctx_.FrameMap = std::move(map);
  ctx_.ReorderFrames(part, part.Bitmap, fill);
}

void TStyle::PrepareTitleButton(TStyleObj& part) {
  part.ButtonAlign = part.Section == "Window.SysButton" ? 0 : 1;
  Make24(part.Bitmap, ctx_.BackgroundColour);
  for (int n : {3, 4, 5, 2, 1}) {
    std::string key = "ImageFile" + std::to_string(n);
    if (ctx_.HasVisibleImage(part.Section, key)) {
      ctx_.ComposeGlyph(part, key);
      break;
    }
  }
  std::vector<std::string> offset =
      SplitNumbers(ctx_.ThemeIni.ReadString(part.Section, "Offset", ""));
  part.OffsetX = part.OffsetY = 0;
  if (offset.size() == 2) {
    for (const std::string& e : offset) {
      if (e.empty() || StrToIntDef(e, -1) < 0)
        throw EConvertError("\"" + e + "\" is not a valid integer value");
    }
    part.OffsetX = std::abs(StrToIntDef(offset[0], 0));
    part.OffsetY = StrToIntDef(offset[1], 0);
  }
  // A missing offset is placed like a zero one.
  if (part.OffsetX == 0) {
    if (part.Section == "Window.CloseButton") part.OffsetX = 25;
    if (part.Section == "Window.MaxButton") part.OffsetX = 49;
    if (part.Section == "Window.MinButton") part.OffsetX = 73;
    if (part.Section == "Window.RestoreButton") part.OffsetX = 49;
  }
  if (part.OffsetY == 0) part.OffsetY = 5;
}

void TStyle::NormaliseComboButton(TStyleObj& part) {
  if (IsEmpty(part.Bitmap)) return;
  Make24(part.Bitmap, ctx_.BackgroundColour);
  int c = TThemeContext::Frames(part);
  int w = part.Bitmap.Width, h = part.Bitmap.Height;
  if (15 * c <= h && h <= 18 * c && 15 <= w && w <= 18) return;
  ResizeStretched(part.Bitmap, 16, 16 * c);
}

void TStyle::BuildStatusBar(TStyleObj& part) {
  TPixmap t = part.Bitmap;
  TPixmap p;
  ctx_.LoadThemeImage("Status.Pane", "ImageFile", p);
  Make24(p, ctx_.BackgroundColour);
  Make24(t, ctx_.BackgroundColour);
  TPixmap source = t;  // the whole part image
  if (IsEmpty(t)) {
    t = NewImage(80, 21, 24, 0);
    FillRect(t, 0, 0, p.Width, p.Height, ctx_.BackgroundColour);
  }
  if (t.Height < 21) ResizeCanvas(t, t.Width, 21, ctx_.BackgroundColour);
  if (t.Width < 50) {
    ResizeCanvas(t, 50, t.Height, ctx_.BackgroundColour);
    StretchCopy(t, 0, 0, t.Width, t.Height, source, 0, 0, source.Width, source.Height, true);
  }
  if (t.Width <= 80) {
    StretchCopy(t, 0, 0, t.Width, t.Height, source, 0, 0, source.Width, source.Height, true);
  } else {
    ResizeCanvas(t, 80, t.Height, ctx_.BackgroundColour);
    StretchCopy(t, 0, 0, t.Width, t.Height, source, 0, 0, 80, source.Height, true);
  }
  if (part.Margins.Right < p.Width) part.Margins.Right = p.Width + 1;
  if (!IsEmpty(p)) {
    DrawTransparent(t, t.Width - p.Width, (t.Height - p.Height) / 2, p, 0, 0, p.Width, p.Height,
                    ColourAt(p, 0, 0));
  }
  part.Bitmap = NewImage(3 * t.Width, t.Height);
  for (int i = 0; i < 3; ++i)
    CopyRect(part.Bitmap, i * t.Width, 0, t, 0, 0, t.Width, t.Height);
}

void TStyle::BuildStatusGripper(TStyleObj& part) {
  TPixmap g;
  if (!ctx_.LoadThemeImage("Status.Gripper", "ImageFile", g) || IsEmpty(g)) return;
  Make24(g, ctx_.BackgroundColour);
  int n = ctx_.ThemeIni.ReadInteger("Status.Gripper", "imageCount", 1);
  if (n <= 0) n = 1;
  // The first frame, in the gripper's own layout (stacked by default, as
  // for every part).
  bool vertical = LowerAscii(ctx_.ThemeIni.ReadString("Status.Gripper", "imagelayout",
                                                      "vertical")) == "vertical";
  int fw = vertical ? g.Width : g.Width / n, fh = vertical ? g.Height / n : g.Height;
  part.Bitmap = NewImage(5 * fw, fh);
  DrawTransparent(part.Bitmap, 4 * fw, 0, g, 0, 0, fw, fh, ColourAt(g, 0, 0));
}

void TStyle::WidenArrows(TStyleObj& part, int frames) {
  // The arrows are side by side in their new order now: the frame width
  // comes from the number of frames the reordering produced.
  int a = part.Bitmap.Width / std::max(frames, 1);
  TPixmap wide = NewImage(23 * a, part.Bitmap.Height);
  CopyRect(wide, 0, 0, part.Bitmap, 0, 0, part.Bitmap.Width, part.Bitmap.Height);
  part.Bitmap = std::move(wide);
}

void TStyle::DrawScrollGrippers(TStyleObj& part) {
  TPixmap t = part.Bitmap;
  int fw = t.Width / 23, fh = t.Height;
  auto grippers = [&](const char* section, int first) {
    TPixmap g;
    if (!ctx_.LoadThemeImage(section, "ImageFile", g) || IsEmpty(g)) return;
    Make24(g, ctx_.BackgroundColour);
    int n = ctx_.ThemeIni.ReadInteger(section, "imageCount", 1);
    if (n <= 0) n = 1;
    int gw = g.Width, gh = g.Height / n;
    for (int i = 0; i < 3; ++i) {
      CopyRect(t, (first + i) * fw + (fw - gw) / 2, (fh - gh) / 2, g, 0, gh * i, gw, gh);
    }
  };
  grippers("ScrollBar.GripperVert", 19);
  grippers("ScrollBar.GripperHorz", 16);
  part.Bitmap = std::move(t);
}

void TStyle::BuildMenuBackground(TStyleObj& part) {
  uint32_t menu = SysColour("Menu", 0), border = SysColour("BtnShadow", 0xFFFFFF);
  part.Bitmap = NewImage(20, 20, 24, border);
  FillRect(part.Bitmap, 1, 1, 19, 19, menu);
  part.Margins = {5, 5, 5, 5};
}

void TStyle::BuildMenuItem(TStyleObj& part) {
  part.Bitmap = NewImage(100, 18);
  FillRect(part.Bitmap, 24, 14, 36, 15, SysColour("BtnShadow", 0x808080));
  FillRect(part.Bitmap, 24, 15, 36, 16, 0xFFFFFF);
  FillRect(part.Bitmap, 58, 1, 80, 17, SysColour("Highlight", 0xFF0000));
  part.Margins = {2, 3, 2, 3};
  part.FrameCount = 5;
}

void TStyle::BuildTrackThumb(TStyleObj& part) {
  if (IsEmpty(part.Bitmap)) return;
  part.Transparent = 0;
  if (part.FrameCount == 0) part.FrameCount = 1;
  MagentaToBackground(part.Bitmap, ctx_.BackgroundColour);
  TPixmap old = std::move(part.Bitmap);
  part.Bitmap = NewImage(9 * static_cast<int>(ctx_.FrameMap.size()), 20);
  for (size_t i = 0; i < ctx_.FrameMap.size(); ++i) {
    TPixmap frame = NineSlice(9, 20, old, part.Margins, part.Vertical != 0,
                              TThemeContext::Frames(part), ctx_.FrameMap[i]);
    CopyRect(part.Bitmap, 9 * static_cast<int>(i), 0, frame, 0, 0, 9, 20);
  }
}

void TStyle::PrepareParts() {
  Reorder(35, {1, 3, 4, 2, 5});
  for (int i = 4; i <= 9; ++i)
    PrepareTitleButton(parts_[static_cast<size_t>(i)]);
  for (int i = 4; i <= 9; ++i)
    Reorder(i, {1, 3, 2, 5, 7, 6});

  TStyleObj& mdi = parts_[34];
  mdi.GlyphBitmap = std::make_unique<TPixmap>();
  ctx_.LoadThemeImage("Window.MDIMinButton", ctx_.GlyphKey("Window.MDIMinButton"),
                      *mdi.GlyphBitmap);
  ctx_.AppendMdiButton(mdi, "Window.MDIRestoreButton");
  ctx_.AppendMdiButton(mdi, "Window.MDICloseButton");
  ctx_.ComposeMdiGlyphs(mdi);
  Reorder(34, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});

  ctx_.LoadThemeImage(parts_[10].Section, "ImageFile1", parts_[10].Bitmap);
  Reorder(10, {1, 3, 2, 4, 5, 7, 6, 8, 9, 11, 10, 12});
  ctx_.LoadThemeImage(parts_[11].Section, "ImageFile1", parts_[11].Bitmap);
  Reorder(11, {1, 3, 2, 4, 5, 7, 6, 8}, true);
  Reorder(14, {1, 2, 4, 3, 5});
  MagentaToBackground(parts_[15].Bitmap, ctx_.BackgroundColour);

  NormaliseComboButton(parts_[16]);
  ctx_.ComposeGlyph(parts_[16], ctx_.GlyphKey(parts_[16].Section));
  Reorder(16, {1, 3, 4, 2});

  BuildStatusBar(parts_[17]);
  BuildStatusGripper(parts_[25]);
  Reorder(18, {1, 2, 3, 4, 5});

  TStyleObj& arrows = parts_[19];
  ctx_.ComposeGlyph(arrows, "ImageFile2");
  std::vector<int> arrow_map = {9, 11, 12, 10, 13, 15, 16, 14, 1, 3, 4, 2, 5, 7, 8, 6};
  Reorder(19, arrow_map);
  WidenArrows(arrows, static_cast<int>(arrow_map.size()));
  DrawScrollGrippers(arrows);

  for (int i : {20, 21, 22, 23})
    Reorder(i, {1, 3, 2, 4});
  BuildMenuBackground(parts_[24]);
  BuildMenuItem(parts_[33]);

  TStyleObj& thumb_bottom = parts_[27];
  ctx_.LoadThemeImage(thumb_bottom.Section, "ImageFile1", thumb_bottom.Bitmap);
  if (IsEmpty(thumb_bottom.Bitmap))
    ctx_.LoadThemeImage(thumb_bottom.Section, "ImageFile2", thumb_bottom.Bitmap);
  ctx_.FrameMap = {1, 3, 5, 4, 2};
  BuildTrackThumb(parts_[26]);
  ctx_.ReorderFrames(thumb_bottom, thumb_bottom.Bitmap, false);

  auto spin = [&](TStyleObj& part, const char* other) {
    ctx_.JoinSpinImages(part, other);
    ctx_.FrameMap = part.FrameCount == 10 ? std::vector<int>{1, 3, 4, 2, 6, 8, 9, 7}
                                          : std::vector<int>{1, 3, 4, 2, 5, 7, 8, 6};
    ctx_.ReorderFrames(part, part.Bitmap, false);
    ctx_.ReorderFrames(part, *part.GlyphBitmap, false);
  };
  spin(parts_[30], "Spin.Down");
  spin(parts_[31], "Spin.Uphorz");
}
