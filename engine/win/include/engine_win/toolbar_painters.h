// The form skinner's painters for the framework's tool bars: the bar's
// background from the skin's Toolbar gradient and its buttons from the
// skin's [Buttons] strip, installed as the bar's two custom-draw events.
// Kept apart from skin_form.h: the framework's tool-bar header and the
// engine's skin headers each name a class TImage, so no file includes both.
#pragma once

#include <windows.h>

class TWinSkinForm;
class TToolBar;

// Sets the bar's custom-draw events that are unassigned to the form
// skinner's painters and repaints the bar. Events the bar already has stay.
void InstallToolbarPainters(TWinSkinForm& form, TToolBar* bar);
// Takes this skinner's painters (only those it set) off every bar of this skinner that still exists
// (run by Detach, Release and the skinner's destructor).
void ClearToolbarPainters(TWinSkinForm& form);
// The strip frame for a tool button's custom-draw state set: 2 pressed,
// 4 hot or focused, 1 plain, 0 grayed or disabled (nothing drawn).
int ToolButtonFrame(unsigned state);
