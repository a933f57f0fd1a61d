// The multiple-document demo: a plain MDI frame with a menu (File, Window)
// and three MDI children, skinned by the manager as a program would have it
// (a skin data component and the form skinner factory).
#include "skindemo_mdi.h"

#include <algorithm>
#include <cstdio>

#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/screen_shot.h"

namespace {

constexpr UINT kCmdNew = 100, kCmdExit = 101, kCmdTile = 200, kCmdCascade = 201, kCmdArrange = 202,
               kFirstChild = 1000;

HWND g_client = nullptr;
int g_children = 0;
HWND g_shot_window = nullptr;
std::string g_shot_path;
bool g_shot_ok = false;

LRESULT CALLBACK ChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    char text[128];
    GetWindowTextA(w, text, sizeof text);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 10, 10, text, lstrlenA(text));
    const char* hint = "An MDI child: its frame comes from the skin.";
    TextOutA(dc, 10, 30, hint, lstrlenA(hint));
    EndPaint(w, &ps);
    return 0;
  }
  return DefMDIChildProcA(w, msg, wp, lp);
}

HWND NewChild() {
  char title[32];
  std::snprintf(title, sizeof title, "Document %d", ++g_children);
  MDICREATESTRUCTA mc{};
  mc.szClass = "SkinDemoMdiChild";
  mc.szTitle = title;
  mc.hOwner = GetModuleHandleA(nullptr);
  mc.x = 10 + 30 * ((g_children - 1) % 5);
  mc.y = 10 + 30 * ((g_children - 1) % 5);
  mc.cx = 300;
  mc.cy = 190;
  mc.style = WS_OVERLAPPEDWINDOW;
  return reinterpret_cast<HWND>(
      SendMessageA(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mc)));
}

LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      HMENU bar = GetMenu(w);
      CLIENTCREATESTRUCT cc{};
      cc.hWindowMenu = GetSubMenu(bar, 1);
      cc.idFirstChild = kFirstChild;
      g_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                 WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                                 0, 0, 0, 0, w, nullptr, GetModuleHandleA(nullptr), &cc);
      return 0;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kCmdNew:
          NewChild();
          return 0;
        case kCmdExit:
          PostMessageA(w, WM_CLOSE, 0, 0);
          return 0;
        case kCmdTile:
          SendMessageA(g_client, WM_MDITILE, MDITILE_VERTICAL, 0);
          return 0;
        case kCmdCascade:
          SendMessageA(g_client, WM_MDICASCADE, 0, 0);
          return 0;
        case kCmdArrange:
          SendMessageA(g_client, WM_MDIICONARRANGE, 0, 0);
          return 0;
        default:
          break;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefFrameProcA(w, g_client, msg, wp, lp);
}

HMENU MakeMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kCmdNew, "&New document");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, kCmdExit, "E&xit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  HMENU window = CreatePopupMenu();
  AppendMenuA(window, MF_STRING, kCmdTile, "&Tile");
  AppendMenuA(window, MF_STRING, kCmdCascade, "&Cascade");
  AppendMenuA(window, MF_STRING, kCmdArrange, "&Arrange icons");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), "&Window");
  AppendMenuA(bar, MF_STRING, 300, "&Help");
  return bar;
}

// Photographs the frame while its Window dropdown is open, then closes it.
void CALLBACK ShotDuringMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_shot_ok = SaveScreenAround(g_shot_window, 0, 40, g_shot_path);
  EndMenu();
}

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (g_client && TranslateMDISysAccel(g_client, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

}  // namespace

int RunMdiDemo(const std::vector<uint8_t>& package, const std::string& shot_path, bool maximised,
               bool open_menu) {
  InstallFormSkinnerFactory();
  auto* host = Create<TForm>(Application);
  auto* data = Create<TSkinData>(host);
  data->BeginReading();
  if (!data->ReadSkinStream(WriteSkinStream(package))) return 1;
  data->SetActive(true);
  data->Loaded();
  if (data->SkinEmpty()) return 1;

  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = "SkinDemoMdiFrame";
  RegisterClassA(&wc);
  wc.lpfnWndProc = ChildProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "SkinDemoMdiChild";
  RegisterClassA(&wc);

  HWND frame = CreateWindowExA(0, "SkinDemoMdiFrame", "Skinned MDI demo",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 30, 640, 460, nullptr,
                               MakeMenu(), inst, nullptr);
  if (!frame) return 1;
  ShowWindow(frame, SW_SHOW);
  UpdateWindow(frame);
  SetForegroundWindow(frame);
  Pump(300);
  for (int i = 0; i < 3; ++i)
    NewChild();
  Pump(300);
  if (maximised) {
    HWND active = reinterpret_cast<HWND>(SendMessageA(g_client, WM_MDIGETACTIVE, 0, 0));
    if (active) SendMessageA(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(active), 0);
    Pump(300);
  }
  int exit_code = 0;
  if (!shot_path.empty()) {
    Pump(500);
    if (open_menu) {
      g_shot_window = frame;
      g_shot_path = shot_path;
      SetTimer(nullptr, 0, 600, ShotDuringMenu);
      SendMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 'w');
      Pump(300);
      if (!g_shot_ok) exit_code = 1;
    } else if (!SaveScreenAround(frame, 0, 40, shot_path)) {
      exit_code = 1;
    }
    DestroyWindow(frame);
    Pump(100);
  } else {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (TranslateMDISysAccel(g_client, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  host->Free();
  FreeSkinManager();
  return exit_code;
}
