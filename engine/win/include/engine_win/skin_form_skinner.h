// Plugs the form skinner into the manager: once installed, every window the
// manager decides to skin gets a TWinSkinForm using its component's skin.
#pragma once

#include <windows.h>

class TWinSkinForm;

// Installs the factory that makes form skinners (replacing any other).
void InstallFormSkinnerFactory();
// The form skinner the manager made for a window, or null.
TWinSkinForm* ManagedFormSkinner(HWND window);
