// The open dialog for bitmaps: the system's file dialog with a preview of
// the selected file and its size beside the file list.
#pragma once

#include "framework/dialogs.h"

// Control ids of the preview area (for window tests).
constexpr int kPicturePreviewId = 0x5101;
constexpr int kPictureSizeTextId = 0x5102;

class TOpenPictureDialog : public TOpenDialog {
  MV_CLASS(TOpenPictureDialog, TOpenDialog)
 public:
  using TOpenDialog::TOpenDialog;
  // Answered by the framework's file dialog hook when one is installed.
  bool Execute() override;
};
