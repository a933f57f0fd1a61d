#include "picture_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "editor/bitmap_panel.h"
#include "format/file_io.h"
#include "framework/graphics.h"

namespace {

constexpr int kStandardControlsId = 0x045f;  // stc32: where the dialog puts its own controls
constexpr uint64_t kMaxPreviewFileSize = uint64_t{256} << 20;

struct TPreviewState {
  std::unique_ptr<TBitmap> Picture;
};

// The child dialog template in memory: the standard controls' place, the
// preview to its right and the size text below the preview.
class TChildTemplate {
 public:
  TChildTemplate() {
    Dword(WS_CHILD | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL | DS_SETFONT);
    Dword(0);
    Word(0);  // item count
    for (short v : {short{0}, short{0}, short{130}, short{120}})
      Word(static_cast<WORD>(v));
    Word(0);  // menu
    Word(0);  // class
    Word(0);  // title
    Word(8);
    Text(L"MS Shell Dlg");
    Add(SS_LEFT, 0, 0, 10, 120, kStandardControlsId);
    Add(SS_OWNERDRAW, 14, 8, 110, 90, kPicturePreviewId);
    Add(SS_CENTER, 14, 100, 110, 10, kPictureSizeTextId);
  }
  // A fixed global block, as the dialog wants a template handle.
  HGLOBAL Copy() const {
    const size_t size = words_.size() * sizeof(WORD);
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
    if (block) std::memcpy(block, words_.data(), size);
    return block;
  }

 private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* s) {
    for (; *s; ++s)
      Word(static_cast<WORD>(*s));
    Word(0);
  }
  void Add(DWORD style, short x, short y, short cx, short cy, int id) {
    if (words_.size() % 2) Word(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (short v : {x, y, cx, cy})
      Word(static_cast<WORD>(v));
    Word(static_cast<WORD>(id));
    Word(0xFFFF);
    Word(0x0082);  // the static class
    Word(0);       // no text
    Word(0);       // no creation data
    ++words_[4];
  }
  std::vector<WORD> words_;
};

TPreviewState* StateOf(HWND child) {
  return reinterpret_cast<TPreviewState*>(GetWindowLongPtrA(child, DWLP_USER));
}

void OnSelectionChange(HWND child, TPreviewState& state) {
  std::vector<char> path(32768, '\0');
  const LRESULT n = SendMessageA(GetParent(child), CDM_GETFILEPATH, path.size(),
                                 reinterpret_cast<LPARAM>(path.data()));
  state.Picture.reset();
  std::string text;
  std::vector<uint8_t> bytes;
  if (n > 0 && ReadFileBytes(path.data(), bytes, nullptr, kMaxPreviewFileSize)) {
    try {
      auto picture = std::make_unique<TBitmap>();
      picture->FromImage(DecodeEditorBitmap(bytes));
      text = std::to_string(picture->Width()) + " x " + std::to_string(picture->Height());
      state.Picture = std::move(picture);
    } catch (const EBmpError&) {
      text = "(not a bitmap)";
    }
  }
  SetDlgItemTextA(child, kPictureSizeTextId, text.c_str());
  InvalidateRect(GetDlgItem(child, kPicturePreviewId), nullptr, TRUE);
}

void OnDrawPreview(const DRAWITEMSTRUCT& item, TPreviewState& state) {
  const RECT& r = item.rcItem;
  FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  FrameRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  if (!state.Picture) return;
  const TBox box = FitPicture(r.right - r.left - 4, r.bottom - r.top - 4, state.Picture->Width(),
                              state.Picture->Height());
  HDC memory = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(memory, state.Picture->Handle());
  SetStretchBltMode(item.hDC, COLORONCOLOR);
  StretchBlt(item.hDC, r.left + 2 + box.Left, r.top + 2 + box.Top, box.Width, box.Height, memory, 0,
             0, state.Picture->Width(), state.Picture->Height(), SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

UINT_PTR CALLBACK PreviewHook(HWND child, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(child, DWLP_USER,
                        reinterpret_cast<const OPENFILENAMEA*>(lparam)->lCustData);
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lparam)->code == CDN_SELCHANGE && StateOf(child))
        OnSelectionChange(child, *StateOf(child));
      return 0;
    case WM_DRAWITEM:
      if (wparam == kPicturePreviewId && StateOf(child)) {
        OnDrawPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), *StateOf(child));
        return TRUE;
      }
      return 0;
    default:
      return 0;
  }
}

DWORD DialogFlags(unsigned options) {
  DWORD flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
  if (options & ofHideReadOnly) flags |= OFN_HIDEREADONLY;
  if (options & ofNoChangeDir) flags |= OFN_NOCHANGEDIR;
  if (options & ofPathMustExist) flags |= OFN_PATHMUSTEXIST;
  if (options & ofFileMustExist) flags |= OFN_FILEMUSTEXIST;
  return flags;
}

}  // namespace

bool TOpenPictureDialog::Execute() {
  TFileDialogHook hook = SetFileDialogHook(nullptr);
  SetFileDialogHook(hook);
  if (hook) return hook(*this, false);

  const std::string filter = NativeFilter(Filter());
  std::vector<char> name(32768, '\0');
  FileName().copy(name.data(), std::min(FileName().size(), name.size() - 1));
  std::unique_ptr<void, decltype(&GlobalFree)> block(TChildTemplate().Copy(), &GlobalFree);
  TPreviewState state;
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.hInstance = reinterpret_cast<HINSTANCE>(block.get());
  ofn.lpstrFilter = Filter().empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(FilterIndex());
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = InitialDir().empty() ? nullptr : InitialDir().c_str();
  ofn.lpstrTitle = Title().empty() ? nullptr : Title().c_str();
  ofn.Flags = DialogFlags(Options()) & (block ? ~DWORD{0} : ~DWORD{OFN_ENABLETEMPLATEHANDLE});
  ofn.lpfnHook = PreviewHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(&state);
  if (!GetOpenFileNameA(&ofn)) return false;
  SetFileName(name.data());
  SetFilterIndex(static_cast<int>(ofn.nFilterIndex));
  return true;
}
