// The gallery's native resource dialog: a "#32770" child window made from a
// dialog template built in memory, holding plain controls of the system's
// classes (push buttons, a check box, a radio button, a group box, an edit,
// a drop-down combo box, a scroll bar, a tab control and static texts). Its push buttons
// and check boxes write what was clicked into the edit.
#pragma once

#include <windows.h>

// Control identifiers of the dialog's children.
enum TGalleryDialogId : int {
  kIdDefault = 101,
  kIdPush,
  kIdDisabled,
  kIdGroup,
  kIdCheck,
  kIdRadio,
  kIdEdit,
  kIdCombo,
  kIdScroll,
  kIdTabs,
  kIdStatic,
  kIdStaticNote
};

// Creates the dialog as a visible child of `parent` (null on failure).
HWND CreateGalleryDialog(HWND parent);
// Gives the dialog the size of its parent's client area.
void FitGalleryDialog(HWND dialog, HWND parent);
