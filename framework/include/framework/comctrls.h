// Controls over the common-controls library: progress bars, track bars,
// up-down buttons and spin edits, tab controls and page controls, tool bars,
// status bars, header controls, list views, tree views and date pickers.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/extctrls.h"

class TCustomImageList;
class TPopupMenu;
class TMenuItem;

// Registers the common-control window classes (once).
void InitCommonControlClasses();

enum class TProgressBarOrientation { pbHorizontal, pbVertical };
enum class TTrackBarOrientation { trHorizontal, trVertical };
enum class TUDOrientation { udVertical, udHorizontal };
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };
enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };
extern const TEnumInfo kProgressBarOrientationIdents;
extern const TEnumInfo kTrackBarOrientationIdents;
extern const TEnumInfo kUDOrientationIdents;
extern const TEnumInfo kTabStyleIdents;
extern const TEnumInfo kTabPositionIdents;
extern const TEnumInfo kToolButtonStyleIdents;
extern const TEnumInfo kStatusPanelBevelIdents;
extern const TEnumInfo kStatusPanelStyleIdents;
extern const TEnumInfo kViewStyleIdents;
extern const TEnumInfo kDateTimeKindIdents;
extern const TEnumInfo kDTDateModeIdents;

// Custom-draw item states (a set, bit i = element i).
enum TCustomDrawStateElement : unsigned {
  cdsSelected = 1,
  cdsGrayed = 2,
  cdsDisabled = 4,
  cdsChecked = 8,
  cdsFocused = 16,
  cdsDefault = 32,
  cdsHot = 64,
  cdsMarked = 128,
  cdsIndeterminate = 256
};
using TCustomDrawState = unsigned;
// The set for a native CDIS_ item state.
TCustomDrawState CustomDrawStateFromItemState(UINT state);

// --- Ranges -------------------------------------------------------------------------

class TProgressBar : public TWinControl {
  MV_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const { return position_; }
  void SetPosition(int v);
  int Step() const { return step_; }
  void SetStep(int v) { step_ = v; }
  void StepIt() { SetPosition(position_ + step_); }
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;

 private:
  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
  bool smooth_ = false;
};

class TTrackBar : public TWinControl {
  MV_CLASS(TTrackBar, TWinControl)
 public:
  explicit TTrackBar(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Frequency() const { return frequency_; }
  void SetFrequency(int v);
  int PageSize() const { return page_size_; }
  void SetPageSize(int v);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation v);
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  int min_ = 0, max_ = 10, position_ = 0, frequency_ = 1, page_size_ = 2;
  TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
};

class TCustomUpDown : public TWinControl {
  MV_CLASS(TCustomUpDown, TWinControl)
 public:
  explicit TCustomUpDown(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Increment() const { return increment_; }
  void SetIncrement(int v);
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v);
  // The position changed through the arrows or the keyboard.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  bool wrap_ = false;
  TUDOrientation orientation_ = TUDOrientation::udVertical;
};

class TUpDown : public TCustomUpDown {
  MV_CLASS(TUpDown, TCustomUpDown)
 public:
  using TCustomUpDown::TCustomUpDown;
};

// An edit for whole numbers with a native up-down as a child of the edit.
class TSpinEdit : public TCustomEdit {
  MV_CLASS(TSpinEdit, TCustomEdit)
 public:
  explicit TSpinEdit(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  // The number shown, clamped to [MinValue, MaxValue]; text that is not a
  // number gives MinValue.
  int Value() const;
  void SetValue(int v);
  int MinValue() const { return min_; }
  void SetMinValue(int v);
  int MaxValue() const { return max_; }
  void SetMaxValue(int v);
  int Increment() const { return increment_; }
  void SetIncrement(int v);
  // The up-down window inside the edit (null before the window exists).
  HWND UpDownHandle() const { return updown_; }

 protected:
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  void PlaceUpDown();
  int min_ = 0, max_ = 100, increment_ = 1;
  HWND updown_ = nullptr;
};

// --- Tabs ---------------------------------------------------------------------------

using TTabChangingEvent = std::function<void(TObject* sender, bool& allow_change)>;

class TCustomTabControl : public TWinControl {
  MV_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* owner);
  ~TCustomTabControl() override;
  static void PublishProperties(TClassInfo& info);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle v);
  TTabPosition TabPosition() const { return tab_position_; }
  void SetTabPosition(TTabPosition v);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool v);
  // The area inside the tabs' frame.
  RECT ClientRect() const override;
  // The tab at a client point, -1 when none.
  int IndexOfTabAt(int x, int y) const;
  RECT TabRect(int index) const;
  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;
  // The captions the native control shows.
  virtual std::vector<std::string> TabCaptions() const = 0;
  virtual int CurrentTab() const = 0;
  // The user chose tab `index` (after OnChanging allowed it).
  virtual void TabChosen(int index) = 0;
  void UpdateTabs();
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tab, as a click on it.
  void SelectNextTab(bool forward);

 private:
  TTabStyle style_ = TTabStyle::tsTabs;
  TTabPosition tab_position_ = TTabPosition::tpTop;
  bool multi_line_ = false;
};

class TTabControl : public TCustomTabControl {
  MV_CLASS(TTabControl, TCustomTabControl)
 public:
  explicit TTabControl(TComponent* owner);
  ~TTabControl() override;
  static void PublishProperties(TClassInfo& info);
  TStrings* Tabs() const { return tabs_.get(); }
  void SetTabs(TStrings* v);
  int TabIndex() const { return tab_index_; }
  void SetTabIndex(int v);

 protected:
  std::vector<std::string> TabCaptions() const override;
  int CurrentTab() const override { return tab_index_; }
  void TabChosen(int index) override;

 private:
  std::unique_ptr<TStrings> tabs_;
  int tab_index_ = -1;
};

class TPageControl;

// One page of a page control; its windowless children are painted by it.
class TTabSheet : public TCustomControl {
  MV_CLASS(TTabSheet, TCustomControl)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  static void PublishProperties(TClassInfo& info);
  TPageControl* PageControl() const { return page_control_; }
  void SetPageControl(TPageControl* v);
  // The published form of PageControl: the page control's class information
  // refers to this class, so this one names the base class.
  TCustomTabControl* PageControlBase() const;
  void SetPageControlBase(TCustomTabControl* v);
  int PageIndex() const;
  bool TabVisible() const { return tab_visible_; }
  void SetTabVisible(bool v);

 protected:
  void TextChanged() override;
  void WndProc(TMessage& msg) override;

 private:
  friend class TPageControl;
  TPageControl* page_control_ = nullptr;
  bool tab_visible_ = true;
};

class TPageControl : public TCustomTabControl {
  MV_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  static void PublishProperties(TClassInfo& info);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int i) const { return pages_.at(static_cast<size_t>(i)); }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* v);
  int ActivePageIndex() const;
  void SetActivePageIndex(int v);
  // Makes a sheet owned by the page control's owner.
  TTabSheet* AddSheet(const std::string& caption);

 protected:
  std::vector<std::string> TabCaptions() const override;
  int CurrentTab() const override;
  void TabChosen(int index) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
};

// --- Tool bar -------------------------------------------------------------------------

class TToolBar;

// A button of a tool bar. The native tool bar draws and clicks it; the
// button keeps the bounds the bar gave it.
class TToolButton : public TGraphicControl {
  MV_CLASS(TToolButton, TGraphicControl)
 public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;
  static void PublishProperties(TClassInfo& info);
  void SetParent(TWinControl* parent) override;
  TToolBar* ToolBar() const;
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v) { grouped_ = v; }
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool v) { allow_all_up_ = v; }
  TPopupMenu* DropdownMenu() const { return dropdown_menu_; }
  void SetDropdownMenu(TPopupMenu* v);
  TMenuItem* MenuItem() const { return menu_item_; }
  void SetMenuItem(TMenuItem* v) { menu_item_ = v; }
  // Index among the bar's buttons; -1 when not on a bar.
  int Index() const;
  int CommandId() const { return command_; }
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  void Click() override;
  // Shows the drop-down menu under the button (as the arrow does).
  bool CheckMenuDropdown();

 protected:
  void TextChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Paint() override {}

 private:
  friend class TToolBar;
  TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
  int image_index_ = -1;
  bool down_ = false, grouped_ = false, allow_all_up_ = false;
  TPopupMenu* dropdown_menu_ = nullptr;
  TMenuItem* menu_item_ = nullptr;
  int command_ = 0;
};

using TTBCustomDrawEvent =
    std::function<void(TToolBar* sender, const RECT& rect, bool& default_draw)>;
using TTBCustomDrawBtnEvent = std::function<void(TToolBar* sender, TToolButton* button,
                                                 TCustomDrawState state, bool& default_draw)>;

class TToolBar : public TWinControl {
  MV_CLASS(TToolBar, TWinControl)
 public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  static void PublishProperties(TClassInfo& info);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool ShowCaptions() const { return show_captions_; }
  void SetShowCaptions(bool v);
  bool List() const { return list_; }
  void SetList(bool v);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  int ButtonWidth() const { return button_width_; }
  void SetButtonWidth(int v);
  int ButtonHeight() const { return button_height_; }
  void SetButtonHeight(int v);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int i) const { return buttons_.at(static_cast<size_t>(i)); }
  TToolButton* FindButton(int command) const;
  // Valid inside the custom-draw events.
  TCanvas& Canvas() { return *canvas_; }
  TTBCustomDrawEvent OnCustomDraw;
  TTBCustomDrawBtnEvent OnCustomDrawButton;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TToolButton;
  void ButtonAdded(TToolButton* b);
  void ButtonRemoved(TToolButton* b);
  void RebuildButtons();
  void SyncButtonState(TToolButton* b);
  LRESULT CustomDraw(NMTBCUSTOMDRAW& cd);
  std::vector<TToolButton*> buttons_;
  TCustomImageList* images_ = nullptr;
  bool flat_ = false, show_captions_ = false, list_ = false;
  int button_width_ = 23, button_height_ = 22;
  int next_command_ = 100;
  std::unique_ptr<TCanvas> canvas_;
};

// --- Status bar -----------------------------------------------------------------------

class TStatusPanel : public TPersistent {
  MV_CLASS(TStatusPanel, TPersistent)
 public:
  static void PublishProperties(TClassInfo& info);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle v);
  int Index() const { return index_; }

 private:
  friend class TCustomStatusBar;
  void Changed();
  class TCustomStatusBar* bar_ = nullptr;
  int index_ = 0;
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
  TStatusPanelStyle style_ = TStatusPanelStyle::psText;
};

using TDrawPanelEvent =
    std::function<void(class TCustomStatusBar* sender, TStatusPanel* panel, const RECT& rect)>;

class TCustomStatusBar : public TWinControl {
  MV_CLASS(TCustomStatusBar, TWinControl)
 public:
  explicit TCustomStatusBar(TComponent* owner);
  ~TCustomStatusBar() override;
  static void PublishProperties(TClassInfo& info);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  TStatusPanel* Panels(int i) const { return panels_.at(static_cast<size_t>(i)).get(); }
  TStatusPanel* AddPanel();
  void ClearPanels();
  bool SimplePanel() const { return simple_panel_; }
  void SetSimplePanel(bool v);
  const std::string& SimpleText() const { return simple_text_; }
  void SetSimpleText(const std::string& v);
  bool SizeGrip() const { return size_grip_; }
  void SetSizeGrip(bool v);
  // Valid inside OnDrawPanel.
  TCanvas& Canvas() { return *canvas_; }
  TDrawPanelEvent OnDrawPanel;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  friend class TStatusPanel;
  void UpdatePanels();
  std::vector<std::unique_ptr<TStatusPanel>> panels_;
  bool simple_panel_ = false, size_grip_ = true;
  std::string simple_text_;
  std::unique_ptr<TCanvas> canvas_;
};

class TStatusBar : public TCustomStatusBar {
  MV_CLASS(TStatusBar, TCustomStatusBar)
 public:
  using TCustomStatusBar::TCustomStatusBar;
};

// --- Header, list view ------------------------------------------------------------------

class THeaderControl : public TWinControl {
  MV_CLASS(THeaderControl, TWinControl)
 public:
  explicit THeaderControl(TComponent* owner);
  int SectionCount() const { return static_cast<int>(sections_.size()); }
  void AddSection(const std::string& text, int width);
  const std::string& SectionText(int i) const { return sections_.at(static_cast<size_t>(i)).first; }
  // The current width (the user may drag dividers).
  int SectionWidth(int i) const;
  std::function<void(THeaderControl* sender, int section)> OnSectionClick;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  void InsertNative(int i);
  std::vector<std::pair<std::string, int>> sections_;
};

class TListView : public TWinControl {
  MV_CLASS(TListView, TWinControl)
 public:
  explicit TListView(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TViewStyle ViewStyle() const { return view_style_; }
  void SetViewStyle(TViewStyle v);
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool v);
  bool GridLines() const { return grid_lines_; }
  void SetGridLines(bool v);
  void AddColumn(const std::string& caption, int width);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // Adds a row: caption and the texts of the further columns; returns its index.
  int AddItem(const std::string& caption, const std::vector<std::string>& sub_items = {});
  int ItemCount() const { return static_cast<int>(items_.size()); }
  std::string ItemText(int item, int column) const;
  void ClearItems();
  int ItemIndex() const;
  void SetItemIndex(int v);
  HWND HeaderHandle() const;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  void InsertColumnNative(int i);
  void InsertItemNative(int i);
  TViewStyle view_style_ = TViewStyle::vsReport;
  bool row_select_ = true, grid_lines_ = false;
  std::vector<std::pair<std::string, int>> columns_;
  std::vector<std::vector<std::string>> items_;
};

// --- Tree view -----------------------------------------------------------------------------

class TCustomTreeView;
class TTreeNodes;

class TTreeNode : public TPersistent {
  MV_CLASS(TTreeNode, TPersistent)
 public:
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  TTreeNode* Parent() const { return parent_; }
  void* Data() const { return data_; }
  void SetData(void* v) { data_ = v; }
  int Count() const { return static_cast<int>(children_.size()); }
  TTreeNode* Item(int i) const { return children_.at(static_cast<size_t>(i)); }
  bool HasChildren() const { return !children_.empty(); }
  // Position among its siblings.
  int Index() const;
  int Level() const;
  bool Expanded() const;
  void SetExpanded(bool v);
  void Expand(bool recurse);
  bool Selected() const;
  void SetSelected(bool v);
  HTREEITEM ItemId() const { return item_; }
  TTreeNodes* Owner() const { return owner_; }
  // Removes and frees the node and its children.
  void Delete();

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  TTreeNodes* owner_ = nullptr;
  TTreeNode* parent_ = nullptr;
  std::vector<TTreeNode*> children_;
  std::string text_;
  void* data_ = nullptr;
  HTREEITEM item_ = nullptr;
  bool expanded_ = false;
};

class TTreeNodes : public TPersistent {
  MV_CLASS(TTreeNodes, TPersistent)
 public:
  explicit TTreeNodes(TCustomTreeView* view) : view_(view) {}
  ~TTreeNodes() override;
  // Every node, parents before children, in tree order.
  int Count() const;
  TTreeNode* Item(int i) const;
  TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
  // A sibling of `sibling` (a top-level node when null), last among them.
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
  // A last child of `parent` (a top-level node when null).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
  void Delete(TTreeNode* node);
  void Clear();
  TCustomTreeView* Owner() const { return view_; }
  void BeginUpdate();
  void EndUpdate();

 private:
  friend class TCustomTreeView;
  friend class TTreeNode;
  void Collect(std::vector<TTreeNode*>& out) const;
  void InsertNative(TTreeNode* node);
  void InsertAllNative();
  TCustomTreeView* view_;
  std::vector<TTreeNode*> roots_;
};

using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;

class TCustomTreeView : public TWinControl {
  MV_CLASS(TCustomTreeView, TWinControl)
 public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;
  static void PublishProperties(TClassInfo& info);
  TTreeNodes* Items() const { return items_.get(); }
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* node);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);
  bool ShowLines() const { return show_lines_; }
  void SetShowLines(bool v);
  bool ShowRoot() const { return show_root_; }
  void SetShowRoot(bool v);
  bool ShowButtons() const { return show_buttons_; }
  void SetShowButtons(bool v);
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool v);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle v);
  // The node at a client point, or null.
  TTreeNode* GetNodeAt(int x, int y) const;
  void FullExpand();
  // The selection moved (by the user or by code) to `node`.
  TTVChangedEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void DestroyWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  friend class TTreeNodes;
  friend class TTreeNode;
  std::unique_ptr<TTreeNodes> items_;
  bool read_only_ = true, show_lines_ = true, show_root_ = true, show_buttons_ = true;
  bool hide_selection_ = false;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  int deleting_ = 0;
  bool updating_ = false;
};

class TTreeView : public TCustomTreeView {
  MV_CLASS(TTreeView, TCustomTreeView)
 public:
  using TCustomTreeView::TCustomTreeView;
};

// --- Date and time ---------------------------------------------------------------------------

class TDateTimePicker : public TWinControl {
  MV_CLASS(TDateTimePicker, TWinControl)
 public:
  explicit TDateTimePicker(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind v);
  TDTDateMode DateMode() const { return date_mode_; }
  void SetDateMode(TDTDateMode v);
  SYSTEMTIME DateTime() const;
  void SetDateTime(const SYSTEMTIME& v);
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  TDateTimeKind kind_ = TDateTimeKind::dtkDate;
  TDTDateMode date_mode_ = TDTDateMode::dmComboBox;
  SYSTEMTIME time_{};
};
