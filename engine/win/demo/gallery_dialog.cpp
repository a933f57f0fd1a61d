#include "gallery_dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

// A dialog template (DLGTEMPLATE and its DLGITEMTEMPLATE items) written
// into memory: header, then items, each on a DWORD boundary.
class TDialogTemplate {
 public:
  // The dialog itself, in dialog units, with the font `face` at `points`
  // (DS_SETFONT is added).
  TDialogTemplate(DWORD style, short cx, short cy, const wchar_t* face, WORD points);
  // One child of a window class named `cls`.
  void Add(DWORD style, short x, short y, short cx, short cy, int id, const wchar_t* cls,
           const wchar_t* text);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d);
  void Text(const wchar_t* s);
  void AlignDword();

  std::vector<WORD> words_;
  int count_ = 0;
};

TDialogTemplate::TDialogTemplate(DWORD style, short cx, short cy, const wchar_t* face,
                                 WORD points) {
  Dword(style | DS_SETFONT);
  Dword(0);  // extended style
  Word(0);   // item count, set by Add
  for (short v : {short{0}, short{0}, cx, cy})
    Word(static_cast<WORD>(v));
  Word(0);  // no menu
  Word(0);  // the dialog class
  Word(0);  // no title
  Word(points);
  Text(face);
}

void TDialogTemplate::Dword(DWORD d) {
  Word(LOWORD(d));
  Word(HIWORD(d));
}

void TDialogTemplate::Text(const wchar_t* s) {
  for (; *s; ++s)
    Word(static_cast<WORD>(*s));
  Word(0);
}

void TDialogTemplate::AlignDword() {
  if (words_.size() % 2) Word(0);
}

void TDialogTemplate::Add(DWORD style, short x, short y, short cx, short cy, int id,
                          const wchar_t* cls, const wchar_t* text) {
  AlignDword();
  Dword(style | WS_CHILD | WS_VISIBLE);
  Dword(0);  // extended style
  for (short v : {x, y, cx, cy})
    Word(static_cast<WORD>(v));
  Word(static_cast<WORD>(id));
  Text(cls);
  Text(text);
  Word(0);  // no creation data
  words_[4] = static_cast<WORD>(++count_);
}

void Fill(HWND dialog) {
  HWND combo = GetDlgItem(dialog, kIdCombo);
  for (const wchar_t* t : {L"Drop-down", L"Second", L"Third"})
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  HWND scroll = GetDlgItem(dialog, kIdScroll);
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 30, 0};
  SetScrollInfo(scroll, SB_CTL, &si, TRUE);
  HWND tabs = GetDlgItem(dialog, kIdTabs);
  int index = 0;
  for (const wchar_t* t : {L"First", L"Second", L"Third"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(t);
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index++),
                 reinterpret_cast<LPARAM>(&item));
  }
  CheckDlgButton(dialog, kIdCheck, BST_CHECKED);
  CheckDlgButton(dialog, kIdRadio, BST_CHECKED);
}

// Shows in the edit which button was clicked, so the click is seen.
void ReportClick(HWND dialog, int id) {
  wchar_t caption[64] = {};
  GetDlgItemTextW(dialog, id, caption, 64);
  std::wstring text;
  for (const wchar_t* c = caption; *c; ++c)
    if (*c != L'&') text += *c;
  text += L" clicked";
  SetDlgItemTextW(dialog, kIdEdit, text.c_str());
}

void Scroll(HWND bar, WORD code) {
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &si);
  const int page = static_cast<int>(si.nPage);
  switch (code) {
    case SB_LINELEFT:
      si.nPos -= 1;
      break;
    case SB_LINERIGHT:
      si.nPos += 1;
      break;
    case SB_PAGELEFT:
      si.nPos -= page;
      break;
    case SB_PAGERIGHT:
      si.nPos += page;
      break;
    case SB_THUMBTRACK:
      si.nPos = si.nTrackPos;
      break;
    default:
      return;
  }
  si.fMask = SIF_POS;
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
}

INT_PTR CALLBACK GalleryDialogProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_INITDIALOG:
      Fill(dialog);
      // No focus of its own: setting it would activate the gallery's form
      // while it is still being built, before it is shown.
      return FALSE;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) >= kIdDefault &&
          LOWORD(wparam) <= kIdRadio) {
        ReportClick(dialog, LOWORD(wparam));
        return TRUE;
      }
      return FALSE;
    case WM_HSCROLL:
      Scroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateGalleryDialog(HWND parent) {
  // No WS_TABSTOP: a child dialog with it is a tab stop of its parent.
  TDialogTemplate t(WS_CHILD | WS_VISIBLE | DS_CONTROL, 360, 220, L"MS Shell Dlg", 8);
  t.Add(BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 7, 60, 14, kIdDefault, L"button", L"&Default");
  t.Add(BS_PUSHBUTTON | WS_TABSTOP, 72, 7, 60, 14, kIdPush, L"button", L"&Push");
  t.Add(BS_PUSHBUTTON | WS_DISABLED, 137, 7, 60, 14, kIdDisabled, L"button", L"Disa&bled");
  t.Add(BS_GROUPBOX, 7, 28, 190, 48, kIdGroup, L"button", L"&Group box");
  t.Add(BS_AUTOCHECKBOX | WS_TABSTOP, 15, 42, 170, 10, kIdCheck, L"button", L"&Check box");
  t.Add(BS_AUTORADIOBUTTON | WS_TABSTOP, 15, 58, 170, 10, kIdRadio, L"button", L"&Radio button");
  t.Add(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 84, 190, 12, kIdEdit, L"edit",
        L"Click a push button");
  t.Add(CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 7, 102, 190, 60, kIdCombo, L"combobox", L"");
  t.Add(SBS_HORZ, 7, 122, 190, 10, kIdScroll, L"scrollbar", L"");
  t.Add(WS_TABSTOP, 210, 7, 140, 80, kIdTabs, WC_TABCONTROLW, L"");
  t.Add(SS_LEFT, 7, 140, 190, 10, kIdStatic, L"static", L"A static text on the dialog");
  t.Add(SS_LEFT | SS_SUNKEN, 210, 94, 140, 10, kIdStaticNote, L"static", L"Sunken static");
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), parent, GalleryDialogProc,
                                    0);
}

void FitGalleryDialog(HWND dialog, HWND parent) {
  RECT r;
  if (!GetClientRect(parent, &r)) return;
  SetWindowPos(dialog, nullptr, 0, 0, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}
