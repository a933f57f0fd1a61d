// The Check Skin window and the main window's Check Skin command.
#include "check_dialog.h"

#include <string>

#include "editor/finding_place.h"
#include "main_form.h"

const char* const kNoProblemsText = "No problems found.";

namespace {

constexpr int kButtonBarHeight = 40;

std::string SummaryOf(const TSkinCheckReport& report) {
  if (!report.Readable) return "Nothing to check: " + report.Why;
  if (report.Findings.empty()) return kNoProblemsText;
  int errors = 0;
  for (const TSkinFinding& f : report.Findings)
    errors += f.Severity == TFindingSeverity::Error;
  const int warnings = static_cast<int>(report.Findings.size()) - errors;
  auto count = [](int n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
  };
  return count(errors, "error") + ", " + count(warnings, "warning");
}

std::string NoElementNote(const std::string& section) {
  return section.empty() ? "The finding is about the package, not an element"
                         : "No element shows [" + section + "]";
}

// Control characters of a damaged INI would upset the list's cells.
std::string Printable(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return text;
}

}  // namespace

TCheckFm::TCheckFm(TComponent* owner, TMainfm& main) : TForm(owner), main_(main) {
  SetName("CheckFm");
  SetCaption("Check Skin");
  SetPosition(TPosition::poMainFormCenter);
  SetClientSize(640, 300);
  BuildButtons();
  FindingList = new TListView(this);
  FindingList->SetName("FindingList");
  FindingList->SetAlign(TAlign::alClient);
  FindingList->SetViewStyle(TViewStyle::vsReport);
  FindingList->SetRowSelect(true);
  FindingList->AddColumn("Severity", 70);
  FindingList->AddColumn("Section", 120);
  FindingList->AddColumn("Key", 120);
  FindingList->AddColumn("Message", 310);
  FindingList->OnDblClick = [this](TObject*) { ShowFindingOfRow(FindingList->ItemIndex()); };
  FindingList->SetParent(this);
  SetActiveControl(FindingList);
}

void TCheckFm::BuildButtons() {
  auto* bar = new TPanel(this);
  bar->SetName("ButtonBar");
  bar->SetCaption("");
  bar->SetAlign(TAlign::alBottom);
  bar->SetHeight(kButtonBarHeight);
  bar->SetBevelOuter(TBevelCut::bvNone);
  bar->SetParent(this);
  const int right = ClientRect().right;
  Summary = new TLabel(this);
  Summary->SetName("Summary");
  Summary->SetBounds(8, 13, right - 2 * 88 - 24, 16);
  Summary->SetParent(bar);
  RecheckBtn = new TButton(this);
  RecheckBtn->SetName("RecheckBtn");
  RecheckBtn->SetCaption("&Recheck");
  RecheckBtn->SetBounds(right - 2 * 88, 8, 80, 25);
  RecheckBtn->OnClick = [this](TObject*) { Recheck(); };
  RecheckBtn->SetParent(bar);
  CloseBtn = new TButton(this);
  CloseBtn->SetName("CloseBtn");
  CloseBtn->SetCaption("&Close");
  CloseBtn->SetCancel(true);
  CloseBtn->SetBounds(right - 88, 8, 80, 25);
  CloseBtn->OnClick = [this](TObject*) { Close(); };
  CloseBtn->SetParent(bar);
}

void TCheckFm::Recheck() {
  report_ = main_.CheckOpenSkin();
  FillList();
}

void TCheckFm::FillList() {
  FindingList->ClearItems();
  for (const TSkinFinding& f : report_.Findings)
    FindingList->AddItem(SeverityName(f.Severity),
                         {Printable(f.Section), Printable(f.Key), Printable(f.Message)});
  Summary->SetCaption(Printable(SummaryOf(report_)));
}

void TCheckFm::ShowFindingOfRow(int row) {
  if (row < 0 || static_cast<size_t>(row) >= report_.Findings.size()) return;
  const TSkinFinding& f = report_.Findings[static_cast<size_t>(row)];
  main_.ShowFinding(f.Section, f.Key);
}

TSkinCheckReport TMainfm::CheckOpenSkin() {
  VL->CommitEdit();  // a value being typed is part of the skin checked
  if (!doc_.IsOpen()) {
    TSkinCheckReport none;
    none.Why = "no skin is open";
    return none;
  }
  return CheckSkinFiles(doc_.FileList(), doc_.Ini().GetText());
}

void TMainfm::CheckSkinCommand() {
  if (!check_form_) {
    check_form_ = new TCheckFm(this, *this);
    check_form_->AfterConstruction();
  }
  check_form_->Recheck();
  check_form_->Show();
}

bool TMainfm::ShowFinding(const std::string& section, const std::string& key) {
  std::vector<std::string> captions;
  TTreeNodes* items = Tree1->Items();
  for (int i = 0; i < items->Count(); ++i)
    captions.push_back(items->Item(i)->Text());
  const TFindingPlace place = LocateFinding(captions, schema_, section, key);
  if (!place.Found()) {
    SB->Panels(kNotePanel)->SetText(NoElementNote(section));
    return false;
  }
  SB->Panels(kNotePanel)->SetText("");
  TTreeNode* node = items->Item(place.Node);
  if (node->Parent()) node->Parent()->SetExpanded(true);
  // The tree's change event loads the element into the grid.
  if (Tree1->Selected() != node) Tree1->SetSelected(node);
  if (place.GridRow > 0 && place.GridRow <= element_.RowCount()) {
    VL->SetRow(place.GridRow);
    OnGridRowEnter();
    // Ready for the mended value.
    if (VL->CanFocus()) VL->SetFocus();
  }
  return true;
}
