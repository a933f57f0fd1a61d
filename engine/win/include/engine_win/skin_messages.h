// The engine's private window messages: what the manager and the skinners
// send to skinned windows, and what a skinned window answers. One name per
// number; every part of the engine uses these.
//
// Three of them lie in the framework's reflection range (CN_BASE + a native
// message, see framework/messages.h): kSkmPaintFrame, kSkmProbe and
// kSkmSkinned, which has the number of CN_NOTIFY. Framework controls that
// handle CN_NOTIFY read LParam as an NMHDR, so these messages go to skinned
// windows only (kSkmSkinned carries kSkinMagic, never a pointer).
#pragma once

#include <windows.h>

// Gives a skinned framework form the skin's button-face colour again.
constexpr UINT kSkmRecolour = 0x3401;
// Repaints the skinned frame at once.
constexpr UINT kSkmRepaintFrame = 0x3502;
// Posted by the manager once it made a window's frame skinner: the skinner
// finishes setting up (outer size, region, first paint). LParam is 1000.
constexpr UINT kSkmSetup = 0x3503;
// Posted to a skinned window when a title button whose action the skinner
// does not run itself is released: WParam = the button's Action.
constexpr UINT kSkmTitleAction = 0x3514;
// Sent to a skinned window to ask whether a title button with an
// application-decided visibility shows: WParam = the button's Visibility
// (1000..2000), LParam = its Action; an answer above 0 shows it.
constexpr UINT kSkmTitleQuery = 0x3515;
// To a skinned control: WParam > 0 switches its skinner on (and repaints),
// otherwise off (the control looks native). Not passed to the control.
constexpr UINT kSkmSetActive = 0x3506;
// To a form skinner's window: the close box of tab LParam of the page
// control in WParam was clicked; an answer of 0 lets the page close.
constexpr UINT kSkmCloseTab = 0x3507;
// To an MDI client: redraw its frame window (WParam = the child asking).
constexpr UINT kSkmMdiRedraw = 0x3516;
// To a form skinner's window: the scroll-bar skinner of the child window in
// WParam saw its window re-created; a fresh one covers the new window.
constexpr UINT kSkmReskin = 0x3517;
// Opens the skinned menu-bar item under a screen point (LParam, packed as a
// mouse message's).
constexpr UINT kSkmNcPress = 0x3518;
// "Is this window skinned?": a skinned window answers 1 and posts
// kSkmSkinned to itself; any other window answers 0.
constexpr UINT kSkmIsSkinned = 0x3523;
// Paints the skinned frame into a DC of the window's size: WParam = the DC,
// LParam = kSkinMagic; answers kSkinMagic.
constexpr UINT kSkmPaintFrame = 0xBC4B;
// Answers kSkinMagic when LParam is kSkinMagic (else 1) while skinned.
constexpr UINT kSkmProbe = 0xBC4D;
// Sent to a window each time it was (re)skinned: WParam 0, LParam kSkinMagic.
constexpr UINT kSkmSkinned = 0xBC4E;

// The LParam (and answer) that marks the engine's own use of a message.
constexpr LPARAM kSkinMagic = 0x41A2;
