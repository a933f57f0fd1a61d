// Message records and the framework's own messages.
#pragma once

#include <windows.h>

#include <functional>

// One window message; every field at pointer width (WPARAM, LPARAM and
// LRESULT are 64 bits on x64). Handlers set Result.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A message handler: a control's WindowProc is one of these. Whoever replaces
// it keeps the previous one, passes on what it does not handle, and puts it
// back when done.
using TWndMethod = std::function<void(TMessage&)>;

// Framework notifications, sent to controls with Perform (and to windows
// where noted).
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0x00;
constexpr UINT CM_DEACTIVATE = CM_BASE + 0x01;
constexpr UINT CM_DIALOGKEY = CM_BASE + 0x05;           // WParam = virtual key; Result 1 = used
constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;          // WParam = character; Result 1 = used
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x07;        // to the form, passed on to every control; LParam = the focused control
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 0x08;   // to children with ParentFont
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 0x09;  // to children with ParentColor
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x0B;      // WParam = the new Visible
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0D;
constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0E;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;   // LParam = the control
constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;   // LParam = the control
constexpr UINT CM_MENUCHANGED = CM_BASE + 0x15;  // sent to the form's window
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 0x22;
constexpr UINT CM_ENTER = CM_BASE + 0x1A;
constexpr UINT CM_EXIT = CM_BASE + 0x1B;
// Posted to a form by Release: the form frees itself while handling it, so a
// replaced WindowProc must not touch the form after passing this message on.
constexpr UINT CM_RELEASE = CM_BASE + 0x21;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 0x3C;
constexpr UINT CM_RECREATEWND = CM_BASE + 0x33;

// Messages a parent window receives about a child control come back to the
// child as CN_BASE + message ("reflection"), so a control handles its own
// notifications.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;  // 0xBC4E
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;

// Modal results.
constexpr int mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
              mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

// Shift state of mouse and key events.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                      ssDouble = 64;
// The shift state from a mouse message's WParam (MK_ flags) and the keyboard.
TShiftState MouseShiftState(WPARAM wparam);
// The shift state of the keyboard now.
TShiftState KeyboardShiftState();
