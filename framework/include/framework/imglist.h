// Image lists over comctl32: equal-sized images with masks, drawn normally or
// with a disabled (embossed) look drawn here, since comctl32 5.81 has none.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/graphics.h"

class TCustomImageList : public TComponent {
  MV_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;
  static void PublishProperties(TClassInfo& info);

  // Changing the size clears the list.
  int Width() const { return width_; }
  void SetWidth(int v) { SetSize(v, height_); }
  int Height() const { return height_; }
  void SetHeight(int v) { SetSize(width_, v); }
  void SetSize(int width, int height);
  int Count() const;
  HIMAGELIST Handle();

  // Adds the images of `image` (one per Width pixels), with `mask` (white =
  // transparent) or none; returns the index of the first.
  int Add(TBitmap& image, TBitmap* mask);
  // The same with the pixels of colour `mask_color` transparent.
  int AddMasked(TBitmap& image, TColor mask_color);
  // Replaces the images with a bitmap resource cut into Width-wide images,
  // `mask_color` transparent (clNone: none). Returns false when the resource
  // is missing.
  bool LoadFromResourceName(HINSTANCE instance, const char* name, TColor mask_color);
  void Delete(int index);
  void Clear();
  // Draws image `index` at (x, y); disabled images are drawn as an embossed
  // silhouette in the highlight and shadow colours.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
  TNotifyEvent OnChange;

 private:
  void Change();
  int width_ = 16, height_ = 16;
  HIMAGELIST handle_ = nullptr;
};

class TImageList : public TCustomImageList {
  MV_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};
