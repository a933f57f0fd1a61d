#include "ini_viewer.h"

#include "editor/ini_viewer.h"
#include "main_form.h"
#include "toolbar_glyphs.h"

namespace {

constexpr int kSaveGlyph = 3;     // the tool bar's save cell
constexpr int kCancelGlyph = 12;  // and its delete cell

// One 16 x 16 cell of the tool bar's glyph strip.
void CopyGlyph(const TBitmap& strip, int cell, TBitmap& glyph) {
  glyph.SetSize(16, 16);
  BitBlt(glyph.Canvas().Handle(), 0, 0, 16, 16, const_cast<TBitmap&>(strip).Canvas().Handle(),
         cell * 16, 0, SRCCOPY);
}

}  // namespace

TIniFm::TIniFm(TComponent* owner, TMainfm* main) : TForm(owner), main_(main) {
  SetName("IniFm");
  SetCaption("INI Editor");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetPosition(TPosition::poMainFormCenter);
  SetBounds(0, 0, 545, 422);

  StaticText1 = new TStaticText(this);
  StaticText1->SetName("StaticText1");
  StaticText1->SetAlign(TAlign::alTop);
  StaticText1->SetHeight(22);
  StaticText1->SetAlignment(TAlignment::taCenter);
  StaticText1->SetBorderStyle(TBorderStyle::bsSingle);
  StaticText1->SetColor(clActiveCaption);
  StaticText1->Font()->SetColor(clCaptionText);
  StaticText1->Font()->SetStyle(fsBold);
  StaticText1->SetCaption(main->Element().SchemaSection() + " Section");
  StaticText1->SetParent(this);

  BuildButtons();

  Memo1 = new TMemo(this);
  Memo1->SetName("Memo1");
  Memo1->SetAlign(TAlign::alClient);
  Memo1->SetScrollBars(TScrollStyle::ssBoth);
  Memo1->SetWordWrap(false);
  Memo1->SetParent(this);
  const TSkinDocument& doc = main->Document();
  if (doc.IsOpen()) {
    for (const std::string& line : SectionAsLines(doc.Ini(), main->Element().SkinSection()))
      Memo1->Lines()->Add(line);
  }
  SetActiveControl(Memo1);
}

void TIniFm::BuildButtons() {
  auto* bar = new TPanel(this);
  bar->SetName("ButtonPanel");
  bar->SetCaption("");
  bar->SetAlign(TAlign::alBottom);
  bar->SetHeight(42);
  bar->SetBevelOuter(TBevelCut::bvNone);
  bar->SetParent(this);
  TBitmap strip;
  PaintToolbarGlyphs(strip);
  const int right = ClientRect().right;  // the buttons sit at the right

  BitBtn1 = new TBitBtn(this);
  BitBtn1->SetName("BitBtn1");
  BitBtn1->SetCaption("&Save");
  CopyGlyph(strip, kSaveGlyph, *BitBtn1->Glyph());
  BitBtn1->SetBounds(right - 2 * 98, 8, 90, 26);
  BitBtn1->OnClick = [this](TObject*) { BitBtn1Click(); };
  BitBtn1->SetParent(bar);

  BitBtn2 = new TBitBtn(this);
  BitBtn2->SetName("BitBtn2");
  BitBtn2->SetKind(TBitBtnKind::bkCancel);
  CopyGlyph(strip, kCancelGlyph, *BitBtn2->Glyph());
  BitBtn2->SetBounds(right - 98, 8, 90, 26);
  BitBtn2->SetParent(bar);
}

void TIniFm::BitBtn1Click() {
  TSkinDocument& doc = main_->Document();
  if (doc.IsOpen()) {
    std::vector<std::string> lines;
    TStrings* typed = Memo1->Lines();
    for (int i = 0; i < typed->Count(); ++i)
      lines.push_back(typed->Strings(i));
    WriteIniLines(lines, main_->Element().SkinSection(), doc.Ini());
    doc.SetModified(true);
    main_->SaveSkin(false);
  }
  SetModalResult(mrOk);
}

void TMainfm::ShowIniViewer() {
  if (!doc_.IsOpen() || element_.SkinSection().empty()) return;
  VL->CommitEdit();
  TIniFm* viewer = Create<TIniFm>(nullptr, this);
  int result = mrCancel;
  try {
    result = viewer->ShowModal();
  } catch (...) {
    viewer->Free();
    throw;
  }
  viewer->Free();
  if (result != mrOk) return;
  // The grid shows the values the section holds now (the name is copied:
  // loading replaces the element it belongs to).
  const std::string shown = element_.DisplayName();
  LoadElement(shown);
  UpdateCommands(Tree1->Selected());
}
