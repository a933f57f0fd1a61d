// Converting a visual style: the file dialog, the variant dialog, and the new
// package opened in place of the skin that was open.
#include "convert_dialog.h"

#include <exception>
#include <vector>

#include "framework/dialogs.h"
#include "main_form.h"

const char* const kStyleFileFilter = "Skin files (*.msstyles)|*.msstyles";

namespace {

// At most this many unreadable images are named in the one report.
constexpr size_t kReportedImageErrors = 10;

void ShowError(const std::string& text) {
  Application->ShowException(std::runtime_error(text));
}

// One box for every image the conversion could not read, instead of one box
// per image.
void ReportImageErrors(const std::vector<std::string>& messages) {
  if (messages.empty()) return;
  std::string text;
  for (size_t i = 0; i < messages.size() && i < kReportedImageErrors; ++i)
    text += messages[i] + "\r\n";
  if (messages.size() > kReportedImageErrors) {
    text += "... and " + std::to_string(messages.size() - kReportedImageErrors) + " more";
  }
  ShowMessage(text);
}

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
         int height) {
  auto* c = new T(owner);
  c->SetName(name);
  c->SetBounds(left, top, width, height);
  c->SetParent(parent);
  return c;
}

}  // namespace

TConvertFm::TConvertFm(TComponent* owner, const std::string& style_path)
    : TForm(owner), style_path_(style_path) {
  SetName("ConvertFm");
  SetCaption("Convert Visual Style");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetPosition(TPosition::poMainFormCenter);
  SetClientSize(330, 262);
  GroupBox1 = Place<TGroupBox>(this, this, "GroupBox1", 8, 6, 314, 210);
  GroupBox1->SetCaption("Colour variant");
  Label1 = Place<TLabel>(this, GroupBox1, "Label1", 12, 20, 290, 16);
  Label1->SetCaption("Choose the variant that becomes the new skin:");
  ListBox1 = Place<TListBox>(this, GroupBox1, "ListBox1", 12, 40, 290, 158);
  Button1 = Place<TButton>(this, this, "Button1", 160, 228, 75, 25);
  Button1->SetCaption("OK");
  Button1->SetDefault(true);
  Button1->SetModalResult(mrOk);
  Button2 = Place<TButton>(this, this, "Button2", 247, 228, 75, 25);
  Button2->SetCaption("Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
  SetActiveControl(ListBox1);
  OnCreate = [this](TObject*) { FormCreate(); };
  OnDestroy = [this](TObject*) { FormDestroy(); };
}

TConvertFm::~TConvertFm() = default;

void TConvertFm::FormCreate() {
  try {
    style_ = std::make_unique<TStyleFile>(style_path_);
  } catch (const std::exception& e) {
    Application->ShowException(e);
    return;
  }
  if (!style_->ResourceError().empty()) ShowError(style_->ResourceError());
  for (const std::string& variant : style_->Variants())
    ListBox1->Items()->Add(variant);
  if (ListBox1->Items()->Count() > 0) ListBox1->SetItemIndex(0);
}

void TConvertFm::FormDestroy() {
  style_.reset();
}

std::string TConvertFm::ConvertSelected(const std::string& output_folder) {
  skin_name_.clear();
  const int index = ListBox1->ItemIndex();
  if (!style_ || index < 0 || index >= ListBox1->Items()->Count()) return {};
  const std::string variant = ListBox1->Items()->Strings(index);
  std::vector<std::string> image_errors;
  style_->OnMessage = [&image_errors](const std::string& m) { image_errors.push_back(m); };
  std::string package;
  try {
    package = style_->Convert(variant, output_folder);
  } catch (const std::exception& e) {
    style_->OnMessage = nullptr;
    ReportImageErrors(image_errors);
    ShowError("The visual style was not converted: " + std::string(e.what()));
    return {};
  }
  style_->OnMessage = nullptr;
  ReportImageErrors(image_errors);
  skin_name_ = MakeSkinName(style_->BaseName(), VariantName(variant));
  return package;
}

void TMainfm::RunConversion() {
  std::string path;
  if (!SelectFile(kStyleFileFilter, path, false)) return;
  std::string package;
  {
    std::unique_ptr<TConvertFm, void (*)(TConvertFm*)> dialog(Create<TConvertFm>(this, path),
                                                              [](TConvertFm* d) { d->Free(); });
    if (dialog->ShowModal() != mrOk) return;
    // The converted package replaces the open skin: unsaved changes are
    // offered for saving first, and a cancelled save converts nothing.
    if (!SaveSkin(true)) return;
    package = dialog->ConvertSelected(folders_.ProgramFolder);
  }
  // Opened as the user would open it; CurrentSkinFile follows only when the
  // package opens.
  if (!package.empty()) OpenSkinFile(package);
}
