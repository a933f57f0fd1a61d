// The visual-style conversion dialog: the colour variants of one style file,
// one of which the user picks to become a new skin package.
#pragma once

#include <memory>
#include <string>

#include "convert/style_convert.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"

extern const char* const kStyleFileFilter;  // "Skin files (*.msstyles)|*.msstyles"

class TConvertFm : public TForm {
  MV_CLASS(TConvertFm, TForm)
 public:
  // `style_path`: the style file the file dialog returned. The file is
  // opened when the form is created (OnCreate).
  TConvertFm(TComponent* owner, const std::string& style_path);
  ~TConvertFm() override;

  // Opens the style file and lists its variants, the first one selected.
  // A file that cannot be opened, or has no resources, is reported in an
  // error box; the list then stays empty.
  void FormCreate();
  void FormDestroy();
  // Converts the selected variant into `output_folder` and returns the
  // package written there; empty when nothing is selected or the
  // conversion failed (reported in an error box, nothing written). Image
  // resources that could not be read are reported together afterwards.
  std::string ConvertSelected(const std::string& output_folder);

  const std::string& StylePath() const { return style_path_; }
  const std::string& SkinName() const { return skin_name_; }
  TStyleFile* StyleImage() const { return style_.get(); }

  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TButton* Button1 = nullptr;  // OK, the default button
  TButton* Button2 = nullptr;  // Cancel

 private:
  std::string style_path_;
  std::string skin_name_;
  std::unique_ptr<TStyleFile> style_;
};
