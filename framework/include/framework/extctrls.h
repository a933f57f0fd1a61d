// Containers and picture controls (panels, bevels, images, paint boxes,
// notebooks, scroll boxes, radio groups) and the glyph buttons (bit buttons
// and windowless speed buttons).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/stdctrls.h"

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBevelShape {
  bsBox,
  bsFrame,
  bsTopLine,
  bsBottomLine,
  bsLeftLine,
  bsRightLine,
  bsSpacer
};
enum class TBevelStyle { bsLowered, bsRaised };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};
extern const TEnumInfo kBevelCutIdents;
extern const TEnumInfo kBevelShapeIdents;
extern const TEnumInfo kBevelStyleIdents;
extern const TEnumInfo kButtonLayoutIdents;
extern const TEnumInfo kBitBtnKindIdents;

// Draws a caption and a glyph cell (one of NumGlyphs side by side: up,
// disabled, down, exclusive) into `r` with the given layout; shared by bit
// buttons and speed buttons. `cell` is the glyph cell to draw.
void DrawGlyphButtonFace(TCanvas& canvas, const RECT& r, TBitmap* glyph, int num_glyphs, int cell,
                         const std::string& caption, TButtonLayout layout, int margin, int spacing,
                         bool enabled, TColor font_color);

class TCustomPanel : public TCustomControl {
  MV_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut v);
  int BevelWidth() const { return bevel_width_; }
  void SetBevelWidth(int v);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  RECT ClientRect() const override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void Paint() override;
  void WndProc(TMessage& msg) override;

 private:
  int BorderSize() const;
  TBevelCut bevel_outer_ = TBevelCut::bvRaised;
  TBevelCut bevel_inner_ = TBevelCut::bvNone;
  int bevel_width_ = 1;
  TBorderStyle border_style_ = TBorderStyle::bsNone;
  TAlignment alignment_ = TAlignment::taCenter;
};

class TPanel : public TCustomPanel {
  MV_CLASS(TPanel, TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

class TBevel : public TGraphicControl {
  MV_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape v);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle v);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = TBevelShape::bsBox;
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

class TImage : public TGraphicControl {
  MV_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  static void PublishProperties(TClassInfo& info);
  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(TPicture* v);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

 protected:
  void Paint() override;

 private:
  void PictureChanged();
  std::unique_ptr<TPicture> picture_;
  bool auto_size_ = false, stretch_ = false, center_ = false, transparent_ = false;
};

class TPaintBox : public TGraphicControl {
  MV_CLASS(TPaintBox, TGraphicControl)
 public:
  explicit TPaintBox(TComponent* owner);
};

// One page of a notebook.
class TPage : public TCustomControl {
  MV_CLASS(TPage, TCustomControl)
 public:
  explicit TPage(TComponent* owner);

 protected:
  void WndProc(TMessage& msg) override;
};

// A stack of pages of which one shows at a time.
class TNotebook : public TCustomControl {
  MV_CLASS(TNotebook, TCustomControl)
 public:
  explicit TNotebook(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  // Adds a page with this caption; returns it.
  TPage* AddPage(const std::string& caption);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TPage* Pages(int i) const { return pages_.at(static_cast<size_t>(i)); }
  int PageIndex() const { return page_index_; }
  void SetPageIndex(int v);
  std::string ActivePage() const;
  void SetActivePage(const std::string& caption);
  TNotifyEvent OnPageChanged;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::vector<TPage*> pages_;
  int page_index_ = -1;
};

// A container that scrolls its children when they do not fit.
class TScrollBox : public TWinControl {
  MV_CLASS(TScrollBox, TWinControl)
 public:
  explicit TScrollBox(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle v);
  // Scroll offsets of the children.
  int HorzPosition() const { return pos_[0]; }
  int VertPosition() const { return pos_[1]; }
  void ScrollTo(int x, int y);
  // Recomputes the scroll ranges from the children's extent.
  void UpdateScrollBars();

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  void ScrollBy(int bar, int code);
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  int pos_[2] = {0, 0};
  int range_[2] = {0, 0};
};

// A group box holding one radio button per item.
class TCustomRadioGroup : public TCustomGroupBox {
  MV_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;
  static void PublishProperties(TClassInfo& info);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v);
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int v);
  int Columns() const { return columns_; }
  void SetColumns(int v);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int i) const { return buttons_.at(static_cast<size_t>(i)); }
  void SetBounds(int left, int top, int width, int height) override;

 private:
  void RebuildButtons();
  void ArrangeButtons();
  std::unique_ptr<TStrings> items_;
  std::vector<TRadioButton*> buttons_;
  int item_index_ = -1;
  int columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
  MV_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

// A push button that shows a glyph beside its caption (owner-drawn native
// button).
class TBitBtn : public TButton {
  MV_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;
  static void PublishProperties(TClassInfo& info);
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* v);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  // A standard kind sets caption and modal result (bkOK: "OK", mrOk ...).
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  std::unique_ptr<TBitmap> glyph_;
  int num_glyphs_ = 1;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1, spacing_ = 4;
  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

// A windowless button for tool bars; GroupIndex > 0 makes buttons of the same
// group and parent stay down one at a time.
class TSpeedButton : public TGraphicControl {
  MV_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;
  static void PublishProperties(TClassInfo& info);
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* v);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int v) { group_index_ = v; }
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool v) { allow_all_up_ = v; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  void Click() override;

 protected:
  void Paint() override;
  void WndProc(TMessage& msg) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  std::unique_ptr<TBitmap> glyph_;
  int num_glyphs_ = 1;
  bool down_ = false, flat_ = false, allow_all_up_ = false, pressed_ = false;
  int group_index_ = 0;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1, spacing_ = 4;
};
