// What the editor's window tests share: pumping messages until something
// holds, real clicks, packages built from the default skin with values of
// their own, the INI of a package on disk, pixels read back from the screen
// and plain coloured windows to read them from.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <string>
#include <vector>

#include "default_skin.h"
#include "format/file_io.h"
#include "format/mem_ini.h"
#include "format/skin_file_list.h"
#include "format/skin_package.h"
#include "framework/dialogs.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "real_input.h"

namespace editor_window_test {

template <class F>
bool PumpUntil(F done, int ms = 5000) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    Application->ProcessMessages();
    if (done()) return true;
    if (GetTickCount() >= end) return false;
    Sleep(5);
  }
}

inline void Pump(int rounds = 10) {
  for (int i = 0; i < rounds; ++i) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

// Frees the editor's main window without the question about changes a
// test left, then removes the test's folder.
inline void CloseEditor(TForm* form, const std::filesystem::path& folder) {
  {
    TMessageBoxLog quiet(IDNO);
    form->OnCloseQuery = nullptr;
    form->Free();
  }
  Pump(5);
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

// Writes a file of the test's folder and returns its path.
inline std::string WriteTestFile(const std::filesystem::path& folder, const std::string& name,
                                 const std::vector<uint8_t>& bytes) {
  const std::string path = (folder / name).string();
  WriteFileAtomic(path, bytes);
  return path;
}

inline void MoveTo(POINT screen) {
  real_input::MouseAt(screen, 0);
  Pump(3);
}

// A press and release of `button` (a MOUSEEVENTF_*DOWN flag) at a point.
inline void ClickAt(POINT screen, DWORD down = MOUSEEVENTF_LEFTDOWN) {
  MoveTo(screen);
  const DWORD up = down == MOUSEEVENTF_RIGHTDOWN    ? MOUSEEVENTF_RIGHTUP
                   : down == MOUSEEVENTF_MIDDLEDOWN ? MOUSEEVENTF_MIDDLEUP
                                                    : MOUSEEVENTF_LEFTUP;
  INPUT click[2] = {real_input::MouseInput(screen, down), real_input::MouseInput(screen, up)};
  SendInput(2, click, sizeof(INPUT));
  Pump(15);
}

// A double click at a point: two presses and releases in one go.
inline void DoubleClickAt(POINT screen) {
  MoveTo(screen);
  INPUT clicks[4] = {real_input::MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                     real_input::MouseInput(screen, MOUSEEVENTF_LEFTUP),
                     real_input::MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                     real_input::MouseInput(screen, MOUSEEVENTF_LEFTUP)};
  SendInput(4, clicks, sizeof(INPUT));
  Pump(15);
}

// The first node of a tree captioned `caption`, or null.
inline TTreeNode* TreeNodeOf(TTreeView* tree, const std::string& caption) {
  TTreeNodes* items = tree->Items();
  for (int i = 0; i < items->Count(); ++i)
    if (items->Item(i)->Text() == caption) return items->Item(i);
  return nullptr;
}

// The centre of a tree node's caption on the screen (its parent expanded).
inline POINT TreeNodeCentre(TTreeView* tree, TTreeNode* node) {
  if (node->Parent()) node->Parent()->SetExpanded(true);
  Pump(3);
  RECT r{};
  HTREEITEM item = node->ItemId();
  std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle
  EXPECT_TRUE(SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  return tree->ClientToScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// The centre of the value cell of a grid row on the screen.
inline POINT GridValueAt(TValueListEditor* grid, int row) {
  const RECT r = grid->CellRect(1, row);
  return grid->ClientToScreen(POINT{r.left + 30, (r.top + r.bottom) / 2});
}

// The colour of a screen pixel, 0x00BBGGRR.
inline COLORREF ScreenPixel(POINT p) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c;
}

// The built-in default skin with INI values and extra members of our own.
inline std::vector<uint8_t> DefaultSkinWith(const std::vector<std::array<std::string, 3>>& values,
                                            const std::vector<TSkinFileEntry>& extra = {}) {
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadFromStream(DefaultSkinPackage()));
  TSkinWriter writer;
  for (int i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Names()[static_cast<size_t>(i)];
    auto member = reader.Member(i);
    if (name.find(".ini") == std::string::npos) {
      writer.AddMember(name, member);
      continue;
    }
    TMemIniFile ini;
    ini.LoadFromBytes(member);
    for (const auto& [section, key, value] : values)
      ini.WriteString(section, key, value);
    writer.AddMember(name, ini.SaveToBytes());
  }
  for (const TSkinFileEntry& e : extra)
    writer.AddMember(e.Name, e.Bytes);
  return writer.SaveToBytes();
}

// The INI of a package on disk; a package that cannot be read fails the test.
inline TMemIniFile IniOf(const std::string& path) {
  TSkinReader reader;
  TMemIniFile ini;
  EXPECT_TRUE(reader.LoadFromFile(path)) << path;
  std::vector<uint8_t> bytes;
  std::string name;
  EXPECT_TRUE(reader.FindMember(".ini", bytes, name));
  ini.LoadFromBytes(bytes);
  return ini;
}

// Paints a patch window in the colour kept in its user data.
inline LRESULT CALLBACK PatchWindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(window, &r);
    HBRUSH brush =
        CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    FillRect(reinterpret_cast<HDC>(wparam), &r, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

// A plain window filled with one colour, on top of everything.
class TColourPatch {
 public:
  TColourPatch(COLORREF colour, RECT r) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PatchWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MvPickPatch";
    RegisterClassA(&wc);  // fails harmlessly once registered
    window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "MvPickPatch",
                              "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                              nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  ~TColourPatch() { DestroyWindow(window_); }
  TColourPatch(const TColourPatch&) = delete;
  TColourPatch& operator=(const TColourPatch&) = delete;

 private:
  HWND window_;
};

}  // namespace editor_window_test
