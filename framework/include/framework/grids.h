// Grids: a scrolling grid of cells painted by the grid (TCustomGrid), one
// whose cells are drawn by an event (TDrawGrid), and the key/value grid
// (TValueListEditor) with its in-place editor and per-row edit styles.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/stdctrls.h"

enum TGridDrawStateElement : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;
using TDrawCellEvent =
    std::function<void(TObject* sender, int col, int row, const RECT& rect, TGridDrawState state)>;
using TSelectCellEvent = std::function<void(TObject* sender, int col, int row, bool& can_select)>;

class TCustomGrid : public TCustomControl {
  MV_CLASS(TCustomGrid, TCustomControl)
 public:
  explicit TCustomGrid(TComponent* owner);
  static void PublishProperties(TClassInfo& info);
  int RowCount() const { return row_count_; }
  void SetRowCount(int v);
  int ColCount() const { return col_count_; }
  void SetColCount(int v);
  int FixedRows() const { return fixed_rows_; }
  void SetFixedRows(int v);
  int FixedCols() const { return fixed_cols_; }
  void SetFixedCols(int v);
  int DefaultRowHeight() const { return row_height_; }
  void SetDefaultRowHeight(int v);
  int DefaultColWidth() const { return default_col_width_; }
  void SetDefaultColWidth(int v);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int Row() const { return row_; }
  void SetRow(int v) { MoveTo(col_, v); }
  int Col() const { return col_; }
  void SetCol(int v) { MoveTo(v, row_); }
  int TopRow() const { return top_row_; }
  void SetTopRow(int v);
  // Rows that fit in the client area below the fixed rows.
  int VisibleRowCount() const;
  TColor FixedColor() const { return fixed_color_; }
  void SetFixedColor(TColor v);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle v);
  bool DefaultDrawing() const { return default_drawing_; }
  void SetDefaultDrawing(bool v) { default_drawing_ = v; }
  // The cell's rectangle in client coordinates (empty when scrolled away).
  RECT CellRect(int col, int row) const;
  // The cell at a client point; false when the point is on no cell.
  bool MouseToCell(int x, int y, int& col, int& row) const;
  // Makes (col, row) current, scrolling it into view; fixed cells are not
  // selectable. Returns false when the move was refused.
  virtual bool MoveTo(int col, int row);

 protected:
  void CreateParams(TCreateParams& p) override;
  void Paint() override;
  void WndProc(TMessage& msg) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  // Draws one cell; the default fills it and draws CellText.
  virtual void DrawCell(int col, int row, const RECT& rect, TGridDrawState state);
  virtual std::string CellText(int, int) const { return {}; }
  virtual bool SelectCell(int col, int row);
  // The current cell is about to change / has changed.
  virtual void BeforeMove() {}
  virtual void AfterMove() {}
  // Column widths the grid uses (the last column may stretch).
  virtual int EffectiveColWidth(int col) const;
  void UpdateScrollRange();

 private:
  int row_count_ = 5, col_count_ = 5, fixed_rows_ = 1, fixed_cols_ = 1;
  int row_height_ = 18, default_col_width_ = 64;
  std::vector<int> col_widths_;
  int row_ = 1, col_ = 1, top_row_ = 1;
  TColor fixed_color_ = clBtnFace;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  bool default_drawing_ = true;
};

class TCustomDrawGrid : public TCustomGrid {
  MV_CLASS(TCustomDrawGrid, TCustomGrid)
 public:
  using TCustomGrid::TCustomGrid;
  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;

 protected:
  void DrawCell(int col, int row, const RECT& rect, TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
};

class TDrawGrid : public TCustomDrawGrid {
  MV_CLASS(TDrawGrid, TCustomDrawGrid)
 public:
  using TCustomDrawGrid::TCustomDrawGrid;
};

enum class TEditStyle { esSimple, esEllipsis, esPickList };
extern const TEnumInfo kEditStyleIdents;

// Per-row settings of a value list.
struct TItemProp {
  bool ReadOnly = false;
  TEditStyle EditStyle = TEditStyle::esSimple;
};

class TValueListEditor;

// The value list's in-place editor: an edit over the current value cell
// that hands navigation keys to the grid.
class TInplaceEdit : public TCustomEdit {
  MV_CLASS(TInplaceEdit, TCustomEdit)
 public:
  explicit TInplaceEdit(TValueListEditor* grid);

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& msg) override;

 private:
  TValueListEditor* grid_;
};

using TValidateEvent = std::function<void(TObject* sender, int col, int row, const std::string& key,
                                          const std::string& value)>;

// The key/value grid: a title row and one row per "key=value" entry; the
// value column is edited in place. Rows may be read-only and may show an
// ellipsis button while current. Its window text is the rows, one
// "key=value" line each (for programs that read it from outside).
class TValueListEditor : public TCustomDrawGrid {
  MV_CLASS(TValueListEditor, TCustomDrawGrid)
 public:
  explicit TValueListEditor(TComponent* owner);
  ~TValueListEditor() override;
  static void PublishProperties(TClassInfo& info);
  TStrings* Strings() const { return strings_.get(); }
  void SetStrings(TStrings* v);
  // Appends a row; returns its grid row.
  int InsertRow(const std::string& key, const std::string& value, bool append = true);
  void DeleteRow(int row);
  // Empties the list (the title row stays).
  void Clear();
  // Grid row r >= 1 is entry r - 1.
  std::string Keys(int row) const;
  std::string Values(int row) const;
  void SetValues(int row, const std::string& value);
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  TItemProp& ItemProps(int row);
  const std::string& TitleCaption(int col) const { return titles_[col ? 1 : 0]; }
  void SetTitleCaption(int col, const std::string& text);
  int KeyColWidth() const { return ColWidths(0); }
  void SetKeyColWidth(int v) { SetColWidths(0, v); }
  // The value being edited (the editor's text while editing).
  std::string EditText() const;
  TInplaceEdit* InplaceEditor() const { return editor_; }
  TButton* EditButton() const { return button_; }
  // Finishes an edit of the current cell: when its text changed, stores it
  // and fires OnValidate once.
  void CommitEdit();
  bool MoveTo(int col, int row) override;

  TNotifyEvent OnEditButtonClick;
  TValidateEvent OnValidate;
  // The current row changed (by the user, by code, or because the rows were
  // replaced); a pending edit of the previous row was committed before.
  TNotifyEvent OnRowEnter;
  TNotifyEvent OnStringsChange;

 protected:
  std::string CellText(int col, int row) const override;
  void DrawCell(int col, int row, const RECT& rect, TGridDrawState state) override;
  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& msg) override;
  void Paint() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void BeforeMove() override;
  void AfterMove() override;
  int EffectiveColWidth(int col) const override;

 private:
  friend class TInplaceEdit;
  void RowsChanged();
  void PlaceEditor();
  // Shows the editor (or the focus) on the current row with its value.
  void PlaceEditorForRow();
  void ScrollEditorHome();
  // Navigation keys from the editor or the grid; true when used.
  bool NavigateKey(WORD key, TShiftState shift);
  std::string RowsText() const;
  std::unique_ptr<TStrings> strings_;
  std::vector<TItemProp> props_;
  std::string titles_[2] = {"Key", "Value"};
  TInplaceEdit* editor_ = nullptr;
  TButton* button_ = nullptr;
  bool loading_ = false;
  bool modified_ = false;
};
