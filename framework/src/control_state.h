// State the control classes share between their source files: which
// control's window is being created, which control has the mouse, and the
// native procedures of superclassed window classes. Private to the framework.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "framework/controls.h"

ATOM ControlAtom();
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);

namespace framework_detail {

// The control whose window is being created on this thread: the first
// message of a new window (WM_GETMINMAXINFO or WM_NCCREATE, before
// CreateWindowEx returns) attaches the window to it.
extern thread_local TWinControl* g_creating;
extern thread_local TControl* g_mouse_control;
extern thread_local TControl* g_capture_control;

// Native window procedures of the classes framework classes superclass, by
// framework class name.
std::map<std::string, WNDPROC>& NativeProcs();

bool IsMouseMessage(UINT msg);

}  // namespace framework_detail
