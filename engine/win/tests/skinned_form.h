// What the control skinners' window tests share: a framework form with a
// skin component reading a test skin, a control list skinning the form's
// controls, and helpers to change the test skin and to read back which
// frame of an element the screen shows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "format/bmp.h"
#include "framework/forms.h"
#include "real_input.h"
#include "test_skin.h"
#include "window_probe.h"

namespace skinned_form {

// The test skin's INI with the first `from` replaced by `to`.
inline void EditIni(TTestSkin& skin, const std::string& from, const std::string& to) {
  std::string ini(skin.Members[0].Bytes.begin(), skin.Members[0].Bytes.end());
  const size_t at = ini.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  ini.replace(at, from.size(), to);
  skin.Members[0].Bytes.assign(ini.begin(), ini.end());
}

// A member picture of a test skin replaced by another.
inline void ReplaceMember(TTestSkin& skin, const std::string& member, const TPixmap& picture) {
  for (TSkinFileEntry& m : skin.Members)
    if (m.Name == member) m.Bytes = EncodeBmp(picture);
}

// A client point of a window on the screen.
inline POINT ScreenPoint(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  return p;
}

// The frame k (1..frames) of test-skin element `index` whose piece shows at
// client point (x, y) of the window, or 0.
inline int FrameAt(HWND w, int index, int frames, int x, int y) {
  UpdateWindow(w);
  const TColor c = window_probe::WindowPixel(w, x, y);
  for (int k = 1; k <= frames; ++k)
    for (int p = 0; p <= static_cast<int>(TTestPiece::Marker); ++p)
      if (c == TestPieceColour(index, k, static_cast<TTestPiece>(p))) return k;
  return 0;
}

// A form wearing a test skin through its own control list. Load may be
// called again with another skin: the form and its controls stay, the
// component reads the new skin and a new list is made.
class TSkinnedForm {
 protected:
  void Load(TTestSkin skin, int width = 560, int height = 400) {
    InstallSystemColourResolver();
    skin_ = std::move(skin);
    if (!form_) {
      form_ = new TForm(Application);
      form_->SetBounds(100, 100, width, height);
      data_ = new TSkinData(form_);
      data_->BeginReading();
    }
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(skin_.Package())));
    list_ = std::make_unique<TSkinControlList>(data_);
  }
  // Frees the list before the form, then lets the form's last messages go.
  void Release() {
    list_.reset();
    if (form_) form_->Free();
    form_ = nullptr;
    window_probe::PumpUntil([] { return false; }, 20);
  }
  int IndexOf(const char* member) const { return skin_.Find(member)->Index; }
  template <class T>
  T* Add(int x, int y, int w, int h, TWinControl* parent = nullptr) {
    auto* c = new T(form_);
    c->SetBounds(x, y, w, h);
    c->SetParent(parent ? parent : form_);
    return c;
  }
  // Shows the form with the mouse out of the way and runs the control pass.
  void ShowAndSkin() {
    real_input::MouseAt({2, 2}, 0);
    form_->Show();
    list_->SkinFormControls(form_);
    real_input::Settle();
  }

  TTestSkin skin_;
  TForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
  std::unique_ptr<TSkinControlList> list_;
};

}  // namespace skinned_form
