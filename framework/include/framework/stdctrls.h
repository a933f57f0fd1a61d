// The standard controls over the system's native window classes: buttons,
// check boxes and radio buttons, group boxes, labels, edits and memos, combo
// boxes, list boxes and scroll bars, and the string lists they hold.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/controls.h"

// An ordered list of strings with an optional object per entry and a change
// notification; the item lists of combo and list boxes and the lines of memos.
class TStrings : public TPersistent {
  MV_CLASS(TStrings, TPersistent)
 public:
  void Assign(const TPersistent& source) override;
  int Count() const { return static_cast<int>(items_.size()); }
  // Entry i; throws std::out_of_range for a bad index.
  const std::string& Strings(int i) const { return items_.at(Index(i)); }
  void SetStrings(int i, const std::string& s);
  TObject* Objects(int i) const { return objects_.at(Index(i)); }
  void SetObjects(int i, TObject* o) { objects_.at(Index(i)) = o; }
  int Add(const std::string& s, TObject* o = nullptr);
  void Insert(int i, const std::string& s, TObject* o = nullptr);
  void Delete(int i);
  void Clear();
  int IndexOf(const std::string& s) const;
  // The entries joined by CR LF, and the reverse (CR LF, LF or CR breaks).
  std::string Text() const;
  void SetText(const std::string& text);
  // Entries of the form "name=value".
  std::string Names(int i) const;
  std::string Values(const std::string& name) const;
  void SetValues(const std::string& name, const std::string& value);
  // Groups changes: one OnChange after the outermost EndUpdate.
  void BeginUpdate() { ++update_; }
  void EndUpdate();
  TNotifyEvent OnChange;
  // Replaces the entries without notification (controls reading back their
  // window's state).
  void Load(std::vector<std::string> items);

 private:
  size_t Index(int i) const;
  void Changed();
  std::vector<std::string> items_;
  std::vector<TObject*> objects_;
  int update_ = 0;
  bool pending_ = false;
};

using TStringList = TStrings;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TLeftRight { taLeftJustify, taRightJustify };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TBorderStyle { bsNone, bsSingle };
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum class TComboBoxStyle {
  csDropDown,
  csSimple,
  csDropDownList,
  csOwnerDrawFixed,
  csOwnerDrawVariable
};
enum class TScrollBarKind { sbHorizontal, sbVertical };
enum class TScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};
extern const TEnumInfo kAlignmentIdents;
extern const TEnumInfo kLeftRightIdents;
extern const TEnumInfo kScrollStyleIdents;
extern const TEnumInfo kBorderStyleIdents;
extern const TEnumInfo kCheckBoxStateIdents;
extern const TEnumInfo kComboBoxStyleIdents;
extern const TEnumInfo kScrollBarKindIdents;

using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int& pos)>;

// Splits text at CR LF, LF or CR.
std::vector<std::string> SplitLines(const std::string& text);

// --- Buttons --------------------------------------------------------------------

// Base of the native BUTTON-class controls: clicks come back as the reflected
// BN_CLICKED (one Click per click, mouse or keyboard).
class TButtonControl : public TWinControl {
  MV_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* owner);

 protected:
  void WndProc(TMessage& msg) override;
  // BN_CLICKED arrived.
  virtual void Clicked() { Click(); }
};

class TButton : public TButtonControl {
  MV_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int v) { modal_result_ = v; }
  // Runs OnClick and gives the parent form this button's ModalResult.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modal_result_ = mrNone;
};

class TCustomCheckBox : public TButtonControl {
  MV_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TCheckBoxState State() const;
  void SetState(TCheckBoxState v);
  bool Checked() const { return State() == TCheckBoxState::cbChecked; }
  void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool v);
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void Clicked() override;

 private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  bool allow_grayed_ = false;
  TLeftRight alignment_ = TLeftRight::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  MV_CLASS(TCheckBox, TCustomCheckBox)
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
  MV_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  bool Checked() const;
  // Checking one radio button unchecks its siblings.
  void SetChecked(bool v);
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void Clicked() override;

 private:
  bool checked_ = false;
  TLeftRight alignment_ = TLeftRight::taRightJustify;
};

// --- Group boxes ---------------------------------------------------------------

// A frame with a caption around other controls; painted here so that
// windowless children and colours work like on any container.
class TCustomGroupBox : public TCustomControl {
  MV_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* owner);
  RECT ClientRect() const override;

 protected:
  void Paint() override;
  void WndProc(TMessage& msg) override;
};

class TGroupBox : public TCustomGroupBox {
  MV_CLASS(TGroupBox, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

// --- Text ----------------------------------------------------------------------

// A windowless caption; transparent by default.
class TCustomLabel : public TGraphicControl {
  MV_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);

 protected:
  void Paint() override;
  void TextChanged() override;
  void WndProc(TMessage& msg) override;

 private:
  void AdjustBounds();
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool transparent_ = true;
  bool auto_size_ = true;
  bool word_wrap_ = false;
};

class TLabel : public TCustomLabel {
  MV_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

class TStaticText : public TWinControl {
  MV_CLASS(TStaticText, TWinControl)
 public:
  explicit TStaticText(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle v);

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TBorderStyle border_style_ = TBorderStyle::bsNone;
};

class TCustomEdit : public TWinControl {
  MV_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int v);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle v);
  char PasswordChar() const { return password_char_; }
  void SetPasswordChar(char v);
  bool Modified() const;
  void SetModified(bool v);
  void SelectAll();
  int SelStart() const;
  int SelLength() const;
  void SetSel(int start, int length);
  // User edits and SetText.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;
  virtual void Change();

 private:
  bool read_only_ = false;
  int max_length_ = 0;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  char password_char_ = 0;
};

class TEdit : public TCustomEdit {
  MV_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo : public TCustomEdit {
  MV_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  // The lines, read from the window when it exists; changing them rewrites
  // the window's text.
  TStrings* Lines() const;
  void SetLines(TStrings* v);
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  std::unique_ptr<TStrings> lines_;
  TScrollStyle scroll_bars_ = TScrollStyle::ssNone;
  bool word_wrap_ = true;
  bool syncing_ = false;
};

class TMemo : public TCustomMemo {
  MV_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// --- Lists ---------------------------------------------------------------------

class TCustomComboBox : public TWinControl {
  MV_CLASS(TCustomComboBox, TWinControl)
 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;
  static void PublishProperties(TClassInfo& info);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v);
  int ItemIndex() const;
  void SetItemIndex(int v);
  int DropDownCount() const { return drop_down_count_; }
  void SetDropDownCount(int v) { drop_down_count_ = v; }
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  // The selection changed by the user (CBN_SELCHANGE) or the edit part was
  // typed into (CBN_EDITCHANGE).
  TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  void FillWindow();
  std::unique_ptr<TStrings> items_;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  int item_index_ = -1;
  int drop_down_count_ = 8;
};

class TComboBox : public TCustomComboBox {
  MV_CLASS(TComboBox, TCustomComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

class TCustomListBox : public TWinControl {
  MV_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;
  static void PublishProperties(TClassInfo& info);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v);
  int ItemIndex() const;
  void SetItemIndex(int v);
  int Columns() const { return columns_; }
  void SetColumns(int v);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  int ItemHeight() const;
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle v);
  // The item at a client point, -1 when none.
  int ItemAtPos(POINT p) const;
  RECT ItemRect(int index) const;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;
  virtual void DrawItem(HDC dc, int index, const RECT& rect, UINT state);
  // The item list changed: refill the window.
  virtual void ItemsChanged() { FillWindow(); }
  void FillWindow();
  bool owner_draw_ = false;

 private:
  // Columns share the client width; kept so as the list is resized.
  void UpdateColumnWidth();
  std::unique_ptr<TStrings> items_;
  int item_index_ = -1;
  int columns_ = 0;
  bool sorted_ = false;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
};

class TListBox : public TCustomListBox {
  MV_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

// A list box with a check box before every item; Columns > 0 lays the items
// out in that many columns.
class TCheckListBox : public TCustomListBox {
  MV_CLASS(TCheckListBox, TCustomListBox)
 public:
  explicit TCheckListBox(TComponent* owner);
  bool Checked(int index) const;
  void SetChecked(int index, bool v);
  TNotifyEvent OnClickCheck;

 protected:
  void WndProc(TMessage& msg) override;
  void DrawItem(HDC dc, int index, const RECT& rect, UINT state) override;
  void ItemsChanged() override;

 private:
  void ToggleAt(int index);
  std::vector<bool> checked_;
};

// --- Scroll bar ----------------------------------------------------------------

class TScrollBar : public TWinControl {
  MV_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind v);
  int Min() const { return min_; }
  void SetMin(int v) { SetParams(position_, v, max_); }
  int Max() const { return max_; }
  void SetMax(int v) { SetParams(position_, min_, v); }
  int Position() const { return position_; }
  void SetPosition(int v) { SetParams(v, min_, max_); }
  int SmallChange() const { return small_change_; }
  void SetSmallChange(int v) { small_change_ = v; }
  int LargeChange() const { return large_change_; }
  void SetLargeChange(int v) { large_change_ = v; }
  int PageSize() const { return page_size_; }
  void SetPageSize(int v);
  // Clamps position into [min, max] (max below min becomes min).
  void SetParams(int position, int min, int max);
  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  void UpdateWindow();
  void Scroll(int code);
  TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0;
  int small_change_ = 1, large_change_ = 1, page_size_ = 0;
};
