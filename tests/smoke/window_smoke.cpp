#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPaint = RGB(0x12, 0x9A, 0xCE);

LRESULT CALLBACK SmokeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH b = CreateSolidBrush(kPaint);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void Pump() {
  MSG m;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(10);
  }
}

TEST(Win32Smoke, OurWindowClassPaintsAndReadsBackThroughTheWindowDC) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SmokeProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TSmokeWindow";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND hwnd = CreateWindowExA(0, "TSmokeWindow", "Smoke", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                              320, 240, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  EXPECT_STREQ(cls, "TSmokeWindow");
  UpdateWindow(hwnd);
  Pump();

  // The client area, read back through the window DC at its offset inside
  // the window, holds the painted colour.
  RECT wr, cr;
  GetWindowRect(hwnd, &wr);
  GetClientRect(hwnd, &cr);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  const int ox = origin.x - wr.left, oy = origin.y - wr.top;
  const int w = cr.right, h = cr.bottom;
  ASSERT_GT(w, 10);
  ASSERT_GT(h, 10);

  HDC wdc = GetWindowDC(hwnd);
  HDC mem = CreateCompatibleDC(wdc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  HGDIOBJ old = SelectObject(mem, dib);
  ASSERT_TRUE(BitBlt(mem, 0, 0, w, h, wdc, ox, oy, SRCCOPY));
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  const uint32_t want = (GetRValue(kPaint) << 16) | (GetGValue(kPaint) << 8) | GetBValue(kPaint);
  int wrong = 0;
  for (int i = 0; i < w * h; ++i)
    wrong += (px[i] & 0xFFFFFF) != want;
  EXPECT_EQ(wrong, 0);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(hwnd, wdc);
  DestroyWindow(hwnd);
  UnregisterClassA("TSmokeWindow", wc.hInstance);
}

}  // namespace
