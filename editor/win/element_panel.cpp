// The element tree and the property grid: building the tree, filling the
// grid from the selected element, committing edits, colour swatches and
// colour picks, and the help shown for the current row.
#include "editor/colour_text.h"
#include "editor/element_tree.h"
#include "editor/help_text.h"
#include "ez_color.h"
#include "main_form.h"
#include "screen_pick.h"

void TMainfm::BuildTree() {
  if (!doc_.IsOpen()) return;
  VL->CommitEdit();
  std::vector<TElementNode> nodes = BuildElementTree(doc_.Ini(), schema_);
  TTreeNodes* items = Tree1->Items();
  items->BeginUpdate();
  items->Clear();
  TitleButtonNode = nullptr;
  std::vector<TTreeNode*> made;
  made.reserve(nodes.size());
  for (const TElementNode& n : nodes) {
    TTreeNode* parent = n.Parent >= 0 ? made[static_cast<size_t>(n.Parent)] : nullptr;
    TTreeNode* node = items->AddChild(parent, n.Caption);
    if (n.Caption == kTitleButtonNodeCaption && !parent) TitleButtonNode = node;
    made.push_back(node);
  }
  items->EndUpdate();
  for (TTreeNode* node : made)
    if (!node->Parent() && node->HasChildren()) node->SetExpanded(true);
  element_.Clear();
  FillGrid();
}

void TMainfm::OnTreeChange(TTreeNode* node) {
  VL->CommitEdit();  // an edit in progress goes to the element it was made in
  LoadElement(node ? node->Text() : std::string());
  UpdateCommands(node);
}

void TMainfm::LoadElement(const std::string& display_name) {
  element_.Load(display_name, schema_, doc_.IniOrNull());
  ClearBitmapImages(true);
  FillGrid();
  SelectRow();
}

void TMainfm::FillGrid() {
  filling_grid_ = true;
  VL->Clear();
  for (int r = 1; r <= element_.RowCount(); ++r) {
    const TGridRow* row = element_.Row(r);
    int g = VL->InsertRow(row->Label, row->Value);
    VL->ItemProps(g).ReadOnly = row->ReadOnly;
    VL->ItemProps(g).EditStyle = row->EditButton ? TEditStyle::esEllipsis : TEditStyle::esSimple;
  }
  filling_grid_ = false;
  if (element_.RowCount() > 0) {
    VL->SetRow(1);
    OnGridRowEnter();
  } else {
    edit_target_ = {};
    Memo1->Lines()->Clear();
  }
  VL->Invalidate();
}

void TMainfm::OnGridRowEnter() {
  if (filling_grid_) return;
  edit_target_ = element_.Target(VL->Row());
  SelectRow();
}

void TMainfm::SelectRow() {
  Page1->SetActivePage(HelpPage);
  if (element_.Empty()) return;
  const int row = VL->Row();
  const TGridRow* r = element_.Row(row);
  if (!r) return;
  Memo1->SetText(FindHelp(help_text_, element_.HelpKey(row), element_.DisplayName()));
  click_value_ = VL->Cells(1, row);
  if (r->Type == vtColour) {
    book1->SetPageIndex(1);
    std::optional<uint32_t> colour;
    if (ParseRGB(click_value_, colour) && colour) EZColor->SetCurrentColor(*colour);
  } else if (IsBitmapType(r->Type)) {
    book1->SetPageIndex(0);
    ShowBitmap(doc_.IsOpen() ? doc_.Ini().ReadString(element_.SkinSection(), r->Key, "") : "");
  }
}

void TMainfm::CommitRow(int row, const std::string& value) {
  // The grid commits the row it was editing before it moves on, so the
  // target captured when that row became current is still that row's.
  TEditTarget target = edit_target_.Valid() ? edit_target_ : element_.Target(row);
  if (doc_.IsOpen() && CommitValue(target, value, doc_.Ini())) {
    click_value_ = value;
    doc_.SetModified(true);
    RedrawMarginPreview();
    LivePreviewChanged();
  }
  UpdateCommands(Tree1->Selected());
}

void TMainfm::SetModified() {
  doc_.SetModified(true);
  UpdateCommands(Tree1->Selected());
  LivePreviewChanged();
}

void TMainfm::DrawGridCell(int col, int row, const RECT& rect, TGridDrawState state) {
  if (col != 1 || row < 1 || !element_.IsColourRow(row)) return;
  const std::string text = VL->Cells(1, row);
  if (text.empty()) return;
  TCanvas& c = VL->Canvas();
  const TColor saved = c.Brush().Color();
  c.Brush().SetColor((state & gdSelected) ? clHighlight : clWindow);
  c.FillRect(rect);
  SetBkMode(c.Handle(), TRANSPARENT);
  SetTextColor(c.Handle(), ColorToRGB((state & gdSelected) ? clHighlightText : clWindowText));
  c.TextOut(rect.left + 12, rect.top + 2, text);
  std::optional<uint32_t> colour;
  if (ParseRGB(text, colour) && colour) {
    const int top = rect.top + (rect.bottom - rect.top - 8) / 2;
    c.Brush().SetColor(*colour);
    c.Rectangle(RECT{rect.left + 2, top, rect.left + 10, top + 8});
  }
  c.Brush().SetColor(saved);
}

void TMainfm::OnGridEditButton() {
  const TGridRow* r = element_.Row(VL->Row());
  if (!r || !doc_.IsOpen()) return;
  if (r->Type == vtColour) {
    StartScreenPick();
  } else if (IsBitmapType(r->Type)) {
    POINT p;
    GetCursorPos(&p);
    EditPop->Popup(p.x, p.y);
  }
}

void TMainfm::StartScreenPick() {
  const int row = VL->Row();
  TEditTarget target = element_.Target(row);
  if (!element_.IsColourRow(row)) return;
  PickScreenColour(this, [this, target, row](uint32_t colour) {
    // The pick goes to the row it was started from, if the grid still
    // shows it.
    if (!doc_.IsOpen()) return;
    const std::string text = FormatRGB(colour);
    TEditTarget now = element_.Target(row);
    if (now.Section == target.Section && now.Key == target.Key) VL->SetCells(1, row, text);
    if (CommitValue(target, text, doc_.Ini())) SetModified();
    EZColor->SetCurrentColor(colour);
  });
}

void TMainfm::PutPickedColour(uint32_t colour) {
  const int row = VL->Row();
  if (!doc_.IsOpen() || !element_.IsColourRow(row)) return;
  const std::string text = FormatRGB(colour);
  VL->CommitEdit();
  VL->SetCells(1, row, text);
  click_value_ = text;
  if (CommitValue(element_.Target(row), text, doc_.Ini())) SetModified();
  UpdateCommands(Tree1->Selected());
}

void TMainfm::ColorBtnClick() {
  PutPickedColour(EZColor->CurrentColor());
}

uint32_t TMainfm::PickerColour() const {
  return EZColor->CurrentColor();
}

void TMainfm::UpdateCommands(TTreeNode* node) {
  DelBtn->SetEnabled(node && TitleButtonNode && node->Parent() == TitleButtonNode);
  SaveBtn->SetEnabled(doc_.Modified());
}
