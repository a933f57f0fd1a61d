#include "framework/imglist.h"

#include <stdexcept>

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

void TCustomImageList::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomImageList>(info)
      .Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
      .Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
      .Integer("Count", &TCustomImageList::Count);
}

HIMAGELIST TCustomImageList::Handle() {
  if (!handle_) {
    handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
    if (!handle_) throw std::runtime_error("Cannot create an image list");
  }
  return handle_;
}

void TCustomImageList::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  if (width <= 0 || height <= 0) throw std::invalid_argument("Invalid image list size");
  width_ = width;
  height_ = height;
  if (handle_) {
    ImageList_Destroy(handle_);
    handle_ = nullptr;
  }
  Change();
}

int TCustomImageList::Count() const {
  return handle_ ? ImageList_GetImageCount(handle_) : 0;
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

int TCustomImageList::Add(TBitmap& image, TBitmap* mask) {
  HIMAGELIST h = Handle();
  int index = ImageList_Add(h, image.Handle(), mask ? mask->Handle() : nullptr);
  if (index < 0) throw std::runtime_error("Cannot add an image to the list");
  Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap& image, TColor mask_color) {
  HIMAGELIST h = Handle();
  int index = ImageList_AddMasked(h, image.Handle(), ColorToRGB(mask_color));
  if (index < 0) throw std::runtime_error("Cannot add an image to the list");
  Change();
  return index;
}

bool TCustomImageList::LoadFromResourceName(HINSTANCE instance, const char* name,
                                            TColor mask_color) {
  // Through our own decoder: the resource may be in any bit depth.
  TBitmap bitmap;
  try {
    bitmap.LoadFromResourceName(instance, name);
  } catch (const std::exception&) {
    return false;
  }
  Clear();
  if (mask_color == clNone) {
    Add(bitmap, nullptr);
  } else {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    AddMasked(bitmap, mask_color);
  }
  return true;
}

void TCustomImageList::Delete(int index) {
  if (handle_ && index >= 0 && index < Count()) {
    ImageList_Remove(handle_, index);
    Change();
  }
}

void TCustomImageList::Clear() {
  if (handle_ && Count() > 0) {
    ImageList_Remove(handle_, -1);
    Change();
  }
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
  if (!handle_ || index < 0 || index >= Count()) return;
  HDC dc = canvas.Handle();
  if (enabled) {
    ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  // The silhouette: the image's mask in a monochrome bitmap (0 where the
  // image has pixels), painted with a brush through the raster operation
  // 0xB8074A ("PSDPxax": brush where the source is 0, destination kept where
  // it is 1): first in the highlight colour one pixel down-right, then in the
  // shadow colour in place.
  HDC mono_dc = CreateCompatibleDC(dc);
  HBITMAP mono = CreateBitmap(width_, height_, 1, 1, nullptr);
  HGDIOBJ old_mono = SelectObject(mono_dc, mono);
  PatBlt(mono_dc, 0, 0, width_, height_, WHITENESS);
  ImageList_Draw(handle_, index, mono_dc, 0, 0, ILD_MASK);
  COLORREF old_text = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF old_back = SetBkColor(dc, RGB(255, 255, 255));
  const TColor colours[2] = {clBtnHighlight, clBtnShadow};
  for (int pass = 0; pass < 2; ++pass) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(colours[pass]));
    HGDIOBJ old_brush = SelectObject(dc, brush);
    int d = pass == 0 ? 1 : 0;
    BitBlt(dc, x + d, y + d, width_, height_, mono_dc, 0, 0, 0x00B8074A);
    SelectObject(dc, old_brush);
    DeleteObject(brush);
  }
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_back);
  SelectObject(mono_dc, old_mono);
  DeleteObject(mono);
  DeleteDC(mono_dc);
}
