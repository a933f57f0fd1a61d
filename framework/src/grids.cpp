#include "framework/grids.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "framework/forms.h"

const TEnumInfo kEditStyleIdents{{"esSimple", "esEllipsis", "esPickList"}};

// --- TCustomGrid ----------------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 320, 120);
  SetTabStop(true);
  SetColor(clWindow);
  col_widths_.assign(static_cast<size_t>(col_count_), default_col_width_);
}

void TCustomGrid::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomGrid>(info)
      .Integer("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount)
      .Integer("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount)
      .Integer("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows)
      .Integer("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols)
      .Integer("DefaultRowHeight", &TCustomGrid::DefaultRowHeight,
               &TCustomGrid::SetDefaultRowHeight)
      .Integer("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth)
      .Integer("Row", &TCustomGrid::Row, &TCustomGrid::SetRow)
      .Integer("Col", &TCustomGrid::Col, &TCustomGrid::SetCol)
      .Integer("TopRow", &TCustomGrid::TopRow, &TCustomGrid::SetTopRow)
      .Integer("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor)
      .Enumeration("BorderStyle", kBorderStyleIdents, &TCustomGrid::BorderStyle,
                   &TCustomGrid::SetBorderStyle)
      .Boolean("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing);
}

void TCustomGrid::SetRowCount(int v) {
  row_count_ = std::max(v, 0);
  int last = std::max(fixed_rows_, row_count_ - 1);
  row_ = std::clamp(row_, fixed_rows_, last);
  top_row_ = std::clamp(top_row_, fixed_rows_, last);
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetColCount(int v) {
  col_count_ = std::max(v, 1);
  col_widths_.resize(static_cast<size_t>(col_count_), default_col_width_);
  col_ = std::clamp(col_, fixed_cols_, std::max(fixed_cols_, col_count_ - 1));
  Invalidate();
}

void TCustomGrid::SetFixedRows(int v) {
  fixed_rows_ = std::clamp(v, 0, 1);
  row_ = std::max(row_, fixed_rows_);
  top_row_ = std::max(top_row_, fixed_rows_);
  Invalidate();
}

void TCustomGrid::SetFixedCols(int v) {
  fixed_cols_ = std::clamp(v, 0, std::max(0, col_count_ - 1));
  col_ = std::max(col_, fixed_cols_);
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v) {
  row_height_ = std::max(v, 4);
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int v) {
  default_col_width_ = std::max(v, 0);
  col_widths_.assign(static_cast<size_t>(col_count_), default_col_width_);
  Invalidate();
}

int TCustomGrid::ColWidths(int col) const {
  return col_widths_.at(static_cast<size_t>(col));
}

void TCustomGrid::SetColWidths(int col, int width) {
  col_widths_.at(static_cast<size_t>(col)) = std::max(width, 0);
  Invalidate();
}

int TCustomGrid::EffectiveColWidth(int col) const {
  return ColWidths(col);
}

void TCustomGrid::SetTopRow(int v) {
  int max_top = std::max(fixed_rows_, row_count_ - VisibleRowCount());
  v = std::clamp(v, fixed_rows_, max_top);
  if (v == top_row_) return;
  top_row_ = v;
  UpdateScrollRange();
  Invalidate();
  AfterMove();
}

int TCustomGrid::VisibleRowCount() const {
  RECT c = ClientRect();
  return std::max(1, static_cast<int>(c.bottom - c.top) / row_height_ - fixed_rows_);
}

void TCustomGrid::SetFixedColor(TColor v) {
  fixed_color_ = v;
  Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle v) {
  if (v == border_style_) return;
  border_style_ = v;
  RecreateWnd();
}

RECT TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= col_count_ || row < 0 || row >= row_count_) return RECT{};
  int y = 0;
  if (row < fixed_rows_) {
    y = row * row_height_;
  } else if (row < top_row_) {
    return RECT{};
  } else {
    y = (fixed_rows_ + row - top_row_) * row_height_;
  }
  int x = 0;
  for (int c = 0; c < col; ++c)
    x += EffectiveColWidth(c);
  return RECT{x, y, x + EffectiveColWidth(col) - 1, y + row_height_ - 1};
}

bool TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
  if (x < 0 || y < 0) return false;
  int r = y / row_height_;
  if (r < fixed_rows_) {
    row = r;
  } else {
    row = top_row_ + r - fixed_rows_;
  }
  if (row >= row_count_) return false;
  int left = 0;
  for (int c = 0; c < col_count_; ++c) {
    int w = EffectiveColWidth(c);
    if (x < left + w) {
      col = c;
      return true;
    }
    left += w;
  }
  return false;
}

bool TCustomGrid::SelectCell(int, int) {
  return true;
}

bool TCustomGrid::MoveTo(int col, int row) {
  if (row < fixed_rows_ || row >= row_count_ || col < fixed_cols_ || col >= col_count_)
    return false;
  if (col == col_ && row == row_) return true;
  if (!SelectCell(col, row)) return false;
  BeforeMove();
  if (HandleAllocated()) {
    RECT old = CellRect(col_, row_);
    InvalidateRect(WindowHandle(), &old, FALSE);
  }
  col_ = col;
  row_ = row;
  // Scroll the new row into view.
  int visible = VisibleRowCount();
  if (row_ < top_row_) {
    top_row_ = row_;
    Invalidate();
  } else if (row_ >= top_row_ + visible) {
    top_row_ = row_ - visible + 1;
    Invalidate();
  }
  UpdateScrollRange();
  if (HandleAllocated()) {
    RECT now = CellRect(col_, row_);
    InvalidateRect(WindowHandle(), &now, FALSE);
  }
  AfterMove();
  return true;
}

void TCustomGrid::UpdateScrollRange() {
  if (!HandleAllocated()) return;
  int rows = std::max(0, row_count_ - fixed_rows_);
  SCROLLINFO si{sizeof si,
                SIF_RANGE | SIF_PAGE | SIF_POS,
                0,
                std::max(0, rows - 1),
                static_cast<UINT>(VisibleRowCount()),
                top_row_ - fixed_rows_,
                0};
  SetScrollInfo(WindowHandle(), SB_VERT, &si, TRUE);
}

void TCustomGrid::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style |= WS_VSCROLL;
  if (border_style_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  TCanvas& c = Canvas();
  bool fixed = (state & gdFixed) != 0;
  bool selected = (state & gdSelected) != 0;
  c.Brush().SetColor(fixed ? fixed_color_ : selected ? clHighlight : Color());
  c.FillRect(rect);
  HDC dc = c.Handle();
  if (fixed) {
    RECT edge = rect;
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(selected && !fixed ? clHighlightText : Font()->Color()));
  RECT text = rect;
  text.left += 2;
  c.DrawText(CellText(col, row), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TCustomGrid::Paint() {
  TCanvas& c = Canvas();
  RECT client;
  GetClientRect(WindowHandle(), &client);
  c.Brush().SetColor(Color());
  c.FillRect(client);
  HDC dc = c.Handle();
  HPEN line = CreatePen(PS_SOLID, 1, ColorToRGB(clSilver));
  int last_row = std::min(row_count_, top_row_ + VisibleRowCount() + 1);
  auto paint_row = [&](int row) {
    for (int col = 0; col < col_count_; ++col) {
      RECT r = CellRect(col, row);
      if (r.right <= r.left) continue;
      TGridDrawState state = 0;
      if (row < fixed_rows_ || col < fixed_cols_) state |= gdFixed;
      if (row == row_ && col == col_) {
        state |= gdSelected;
        if (Focused()) state |= gdFocused;
      }
      int saved = SaveDC(dc);
      IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
      DrawCell(col, row, r, state);
      RestoreDC(dc, saved);
      HGDIOBJ old = SelectObject(dc, line);
      MoveToEx(dc, r.right, r.top, nullptr);
      LineTo(dc, r.right, r.bottom);
      LineTo(dc, r.left - 1, r.bottom);
      SelectObject(dc, old);
    }
  };
  for (int row = 0; row < fixed_rows_ && row < row_count_; ++row)
    paint_row(row);
  for (int row = top_row_; row < last_row; ++row)
    paint_row(row);
  DeleteObject(line);
  TCustomControl::Paint();
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  int page = VisibleRowCount();
  int row = row_;
  switch (key) {
    case VK_UP:
      row -= 1;
      break;
    case VK_DOWN:
      row += 1;
      break;
    case VK_PRIOR:
      row -= page;
      break;
    case VK_NEXT:
      row += page;
      break;
    case VK_LEFT:
      MoveTo(col_ - 1, row_);
      key = 0;
      return;
    case VK_RIGHT:
      MoveTo(col_ + 1, row_);
      key = 0;
      return;
    default:
      return;
  }
  MoveTo(col_, std::clamp(row, fixed_rows_, std::max(fixed_rows_, row_count_ - 1)));
  key = 0;
}

void TCustomGrid::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_GETDLGCODE:
      msg.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      int col = 0, row = 0;
      if (MouseToCell(GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam), col, row)) {
        MoveTo(std::max(col, fixed_cols_), row);
      }
      if (HandleAllocated() && CanFocus() && !Focused()) SetFocus();
      break;
    }
    case WM_VSCROLL:
      if (msg.LParam == 0) {
        int top = top_row_;
        switch (LOWORD(msg.WParam)) {
          case SB_LINEUP:
            --top;
            break;
          case SB_LINEDOWN:
            ++top;
            break;
          case SB_PAGEUP:
            top -= VisibleRowCount();
            break;
          case SB_PAGEDOWN:
            top += VisibleRowCount();
            break;
          case SB_THUMBTRACK:
          case SB_THUMBPOSITION: {
            SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(WindowHandle(), SB_VERT, &si);
            top = fixed_rows_ + si.nTrackPos;
            break;
          }
          default:
            break;
        }
        SetTopRow(top);
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      SetTopRow(top_row_ - GET_WHEEL_DELTA_WPARAM(msg.WParam) / WHEEL_DELTA * 3);
      return;
    case WM_SIZE:
      TCustomControl::WndProc(msg);
      UpdateScrollRange();
      Invalidate();
      AfterMove();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(msg);
      if (HandleAllocated()) {
        RECT r = CellRect(col_, row_);
        InvalidateRect(WindowHandle(), &r, FALSE);
      }
      return;
    default:
      break;
  }
  TCustomControl::WndProc(msg);
}

// --- TCustomDrawGrid ----------------------------------------------------------------------

void TCustomDrawGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  if (DefaultDrawing()) TCustomGrid::DrawCell(col, row, rect, state);
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

bool TCustomDrawGrid::SelectCell(int col, int row) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, col, row, can);
  return can;
}

// --- TInplaceEdit -----------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TValueListEditor* grid) : TCustomEdit(grid), grid_(grid) {
  SetBorderStyle(TBorderStyle::bsNone);
  SetVisibleFlag(false);
  SetTabStop(false);
}

void TInplaceEdit::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TInplaceEdit::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_GETDLGCODE:
      // Tab, Enter, Escape and the arrows are the grid's navigation keys.
      msg.Result =
          DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTTAB;
      return;
    case WM_KEYDOWN: {
      WORD key = static_cast<WORD>(msg.WParam);
      if (grid_->NavigateKey(key, KeyboardShiftState())) return;
      break;
    }
    case WM_CHAR:
      if (msg.WParam == '\r' || msg.WParam == '\t' || msg.WParam == 27) return;  // no beep
      break;
    case WM_KILLFOCUS:
      TCustomEdit::WndProc(msg);
      grid_->CommitEdit();
      return;
    default:
      break;
  }
  TCustomEdit::WndProc(msg);
}

// --- TValueListEditor --------------------------------------------------------------------------

namespace {

void SplitEntry(const std::string& s, std::string& key, std::string& value) {
  size_t eq = s.find('=');
  key = s.substr(0, eq);
  value = eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

}  // namespace

TValueListEditor::TValueListEditor(TComponent* owner)
    : TCustomDrawGrid(owner), strings_(std::make_unique<TStrings>()) {
  SetColCount(2);
  SetFixedCols(0);
  SetFixedRows(1);
  SetColWidths(0, 120);
  SetRowCount(1);
  editor_ = new TInplaceEdit(this);
  editor_->SetParent(this);
  editor_->SetColor(clWindow);
  editor_->OnChange = [this](TObject*) {
    if (!loading_) modified_ = true;
  };
  button_ = new TButton(this);
  button_->SetCaption("...");
  button_->SetTabStop(false);
  button_->SetVisible(false);
  button_->SetParent(this);
  button_->OnClick = [this](TObject*) {
    if (OnEditButtonClick) OnEditButtonClick(this);
  };
  strings_->OnChange = [this](TObject*) { RowsChanged(); };
}

TValueListEditor::~TValueListEditor() {
  strings_->OnChange = nullptr;
  DestroyWnd();
}

void TValueListEditor::PublishProperties(TClassInfo& info) {
  TPublisher<TValueListEditor>(info)
      .Object("Strings", &TValueListEditor::Strings, &TValueListEditor::SetStrings)
      .Integer("KeyColWidth", &TValueListEditor::KeyColWidth, &TValueListEditor::SetKeyColWidth);
}

void TValueListEditor::SetStrings(TStrings* v) {
  if (v && v != strings_.get()) strings_->Assign(*v);
}

int TValueListEditor::InsertRow(const std::string& key, const std::string& value, bool append) {
  std::string entry = key + "=" + value;
  if (append || Row() < 1 || Row() > strings_->Count()) {
    strings_->Add(entry);
    return strings_->Count();
  }
  strings_->Insert(Row() - 1, entry);
  return Row();
}

void TValueListEditor::DeleteRow(int row) {
  strings_->Delete(row - 1);
}

void TValueListEditor::Clear() {
  modified_ = false;
  strings_->Clear();
}

std::string TValueListEditor::Keys(int row) const {
  if (row < 1 || row > strings_->Count()) return {};
  std::string key, value;
  SplitEntry(strings_->Strings(row - 1), key, value);
  return key;
}

std::string TValueListEditor::Values(int row) const {
  if (row < 1 || row > strings_->Count()) return {};
  std::string key, value;
  SplitEntry(strings_->Strings(row - 1), key, value);
  return value;
}

void TValueListEditor::SetValues(int row, const std::string& value) {
  if (row < 1 || row > strings_->Count()) throw std::out_of_range("Grid row out of range");
  strings_->SetStrings(row - 1, Keys(row) + "=" + value);
}

std::string TValueListEditor::Cells(int col, int row) const {
  if (row == 0) return TitleCaption(col);
  return col == 0 ? Keys(row) : Values(row);
}

void TValueListEditor::SetCells(int col, int row, const std::string& text) {
  if (row == 0) {
    SetTitleCaption(col, text);
  } else if (col == 0) {
    if (row < 1 || row > strings_->Count()) throw std::out_of_range("Grid row out of range");
    strings_->SetStrings(row - 1, text + "=" + Values(row));
  } else {
    SetValues(row, text);
  }
}

TItemProp& TValueListEditor::ItemProps(int row) {
  if (row < 1 || row > static_cast<int>(props_.size()))
    throw std::out_of_range("Grid row out of range");
  return props_[static_cast<size_t>(row - 1)];
}

void TValueListEditor::SetTitleCaption(int col, const std::string& text) {
  titles_[col ? 1 : 0] = text;
  Invalidate();
}

std::string TValueListEditor::EditText() const {
  if (editor_->Visible() && modified_) return editor_->Text();
  return Values(Row());
}

std::string TValueListEditor::CellText(int col, int row) const {
  return Cells(col, row);
}

int TValueListEditor::EffectiveColWidth(int col) const {
  if (col == 0) return ColWidths(0);
  RECT c = ClientRect();
  return std::max(static_cast<int>(c.right - c.left) - ColWidths(0), DefaultColWidth());
}

void TValueListEditor::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  // The key column is never selected; the row shows as current by its value.
  if (col == 0) state &= ~(gdSelected | gdFocused);
  TCustomDrawGrid::DrawCell(col, row, rect, state);
}

void TValueListEditor::Paint() {
  // Row settings may have changed since the editor was placed (placing is
  // idempotent: nothing moves when nothing changed).
  PlaceEditor();
  TCustomDrawGrid::Paint();
}

void TValueListEditor::RowsChanged() {
  props_.resize(static_cast<size_t>(strings_->Count()));
  SetRowCount(1 + strings_->Count());
  if (!loading_) AfterMove();
  Invalidate();
  if (OnStringsChange) OnStringsChange(this);
}

void TValueListEditor::CommitEdit() {
  if (!modified_) return;
  modified_ = false;
  int row = Row();
  if (row < 1 || row > strings_->Count()) return;
  std::string value = editor_->Text();
  loading_ = true;
  try {
    SetValues(row, value);
  } catch (...) {
    loading_ = false;
    throw;
  }
  loading_ = false;
  if (OnValidate) OnValidate(this, 1, row, Keys(row), value);
}

bool TValueListEditor::MoveTo(int, int row) {
  // Only the value column takes the current cell.
  return TCustomDrawGrid::MoveTo(1, row);
}

void TValueListEditor::BeforeMove() {
  CommitEdit();
}

void TValueListEditor::AfterMove() {
  if (HandleAllocated()) PlaceEditorForRow();
  if (OnRowEnter) OnRowEnter(this);
}

void TValueListEditor::PlaceEditorForRow() {
  HWND focus = GetFocus();
  bool had_focus =
      focus == WindowHandle() || (editor_->HandleAllocated() && focus == editor_->WindowHandle());
  PlaceEditor();
  loading_ = true;
  editor_->SetText(Values(Row()));
  loading_ = false;
  modified_ = false;
  if (editor_->Visible()) {
    editor_->SelectAll();
    ScrollEditorHome();
  }
  if (had_focus) {
    if (editor_->Visible()) {
      if (GetFocus() != editor_->WindowHandle()) ::SetFocus(editor_->WindowHandle());
    } else if (GetFocus() != WindowHandle()) {
      ::SetFocus(WindowHandle());
    }
  }
}

void TValueListEditor::PlaceEditor() {
  int row = Row();
  bool valid = row >= 1 && row <= strings_->Count();
  RECT r = valid ? CellRect(1, row) : RECT{};
  bool shown = r.right > r.left && r.bottom > r.top;
  TItemProp prop = valid ? props_[static_cast<size_t>(row - 1)] : TItemProp{};
  bool ellipsis = shown && prop.EditStyle == TEditStyle::esEllipsis;
  int bw = ellipsis ? std::min(static_cast<int>(r.bottom - r.top) + 2, 24) : 0;
  if (ellipsis) button_->SetBounds(r.right - bw, r.top, bw, r.bottom - r.top);
  button_->SetVisible(ellipsis);
  bool editable = shown && !prop.ReadOnly;
  if (editable) {
    editor_->SetBounds(r.left + 2, r.top + 2, r.right - r.left - bw - 2, r.bottom - r.top - 3);
    ScrollEditorHome();
  }
  if (!editable && editor_->Visible()) {
    HWND focus = GetFocus();
    editor_->SetVisible(false);
    if (focus && focus == editor_->WindowHandle()) ::SetFocus(WindowHandle());
  } else if (editable) {
    editor_->SetVisible(true);
  }
}

void TValueListEditor::ScrollEditorHome() {
  if (!editor_->HandleAllocated()) return;
  // An edit keeps its horizontal scroll when it is widened or refilled;
  // show the text from its start, keeping the selection.
  HWND h = editor_->WindowHandle();
  DWORD start = 0, end = 0;
  SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SendMessageA(h, EM_SETSEL, 0, 0);
  SendMessageA(h, EM_SCROLLCARET, 0, 0);
  SendMessageA(h, EM_SETSEL, start, static_cast<LPARAM>(end));
}

bool TValueListEditor::NavigateKey(WORD key, TShiftState shift) {
  int row = Row();
  switch (key) {
    case VK_UP:
      MoveTo(1, row - 1);
      return true;
    case VK_DOWN:
      MoveTo(1, row + 1);
      return true;
    case VK_PRIOR:
      MoveTo(1, std::max(1, row - VisibleRowCount()));
      return true;
    case VK_NEXT:
      MoveTo(1, std::min(RowCount() - 1, row + VisibleRowCount()));
      return true;
    case VK_TAB: {
      bool back = (shift & ssShift) != 0;
      int next = back ? row - 1 : row + 1;
      if (next >= 1 && next < RowCount()) {
        MoveTo(1, next);
      } else {
        // Past the last (or first) row the focus moves on.
        CommitEdit();
        if (TCustomForm* form = ParentForm()) form->SelectNext(this, !back, true);
      }
      return true;
    }
    case VK_RETURN:
      CommitEdit();
      if (editor_->Visible()) {
        editor_->SelectAll();
        ScrollEditorHome();
      }
      return true;
    case VK_ESCAPE:
      if (modified_) {
        loading_ = true;
        editor_->SetText(Values(row));
        loading_ = false;
        modified_ = false;
        editor_->SelectAll();
      }
      return true;
    default:
      return false;
  }
}

void TValueListEditor::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key && NavigateKey(key, shift)) key = 0;
}

std::string TValueListEditor::RowsText() const {
  std::string out;
  for (int row = 1; row <= strings_->Count(); ++row) {
    out += Keys(row) + "=" + Values(row) + "\r\n";
  }
  return out;
}

void TValueListEditor::CreateWindowHandle(const TCreateParams& p) {
  TCustomDrawGrid::CreateWindowHandle(p);
  UpdateScrollRange();
}

void TValueListEditor::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_GETTEXT: {
      std::string text = RowsText();
      size_t room = static_cast<size_t>(msg.WParam);
      if (room == 0 || !msg.LParam) {
        msg.Result = 0;
        return;
      }
      size_t n = std::min(text.size(), room - 1);
      std::memcpy(reinterpret_cast<char*>(msg.LParam), text.data(), n);
      reinterpret_cast<char*>(msg.LParam)[n] = '\0';
      msg.Result = static_cast<LRESULT>(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      msg.Result = static_cast<LRESULT>(RowsText().size());
      return;
    case WM_GETDLGCODE:
      msg.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTALLKEYS;
      return;
    case WM_SETFOCUS:
      TCustomDrawGrid::WndProc(msg);
      if (editor_->Visible() && editor_->HandleAllocated()) ::SetFocus(editor_->WindowHandle());
      return;
    case WM_CHAR:
      // Read-only rows take no typing; on others the editor has the focus.
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      TCustomDrawGrid::WndProc(msg);
      if (editor_->Visible() && editor_->HandleAllocated()) ::SetFocus(editor_->WindowHandle());
      return;
    default:
      break;
  }
  TCustomDrawGrid::WndProc(msg);
}
