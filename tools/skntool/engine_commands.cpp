// skntool's engine commands: `default` writes the built-in default skin;
// `render` (Windows build) draws one skin element through the engine's GDI
// painters into a 24-bit BMP.
#include "engine_commands.h"

#include <cstdio>
#include <exception>

#include "default_skin.h"
#include "format/file_io.h"

#ifdef _WIN32
#include "engine/image_ops.h"
#include "engine/skin_parse.h"
#include "engine_win/gdi_paint.h"
#include "format/text.h"
#endif

namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "skntool: %s\n", why.c_str());
  return 1;
}

int WriteDefault(const std::string& out) {
  WriteFileAtomic(out, DefaultSkinPackage());
  return 0;
}

#ifdef _WIN32
bool ParseInt(const std::string& s, int& v) {
  v = StrToIntDef(s, INT32_MIN);
  return v != INT32_MIN;
}

int Render(const std::vector<std::string>& a) {
  int w = 0, h = 0, frame = 0;
  if (!ParseInt(a[3], w) || !ParseInt(a[4], h) || !ParseInt(a[5], frame) || w <= 0 || h <= 0 ||
      w > 8192 || h > 8192)
    return Fail("WIDTH, HEIGHT and FRAME must be numbers, the size 1 to 8192");
  std::vector<uint8_t> bytes;
  std::string why;
  if (!ReadFileBytes(a[1], bytes, &why)) return Fail(why);
  InstallSystemColourResolver();
  TSkinContent skin;
  if (!LoadSkinPackage(skin, bytes, {.HScrollWidth = GetSystemMetrics(SM_CXHSCROLL)}))
    return Fail(a[1] + ": not a skin package with an INI member");
  const std::string& name = a[2];
  TNativeBitmap target(w, h);
  TMemoryDC dc(target);
  // A neutral background shows where an element is transparent.
  RECT all{0, 0, w, h};
  HBRUSH back = CreateSolidBrush(RGB(208, 212, 218));
  FillRect(dc.Handle(), &all, back);
  DeleteObject(back);
  const TRect r{0, 0, w, h};

  const TDataSkinButton& b = skin.Buttons;
  if (EqualsIgnoreCase(name, "CheckButton") || EqualsIgnoreCase(name, "RadioButton")) {
    const bool check = EqualsIgnoreCase(name, "CheckButton");
    const TNativeBitmap src(check ? b.CheckBitmap : b.RadioBitmap);
    if (src.Empty()) return Fail(name + ": the skin has no such bitmap");
    DrawFrameScaled(dc.Handle(), r, src, true, check ? b.CheckButtonFrame : b.RadioButtonFrame,
                    frame);
  } else {
    const TDataSkinObject* e = skin.FindElement(name);
    if (!e) return Fail(name + ": no such element");
    if (e->Bitmap.Empty()) return Fail(name + ": the skin gives no bitmap for it");
    const TNativeBitmap src(e->Bitmap);
    const bool vertical = skin.IsVerticalStrip(e);
    const bool border = e == &skin.LeftBorder || e == &skin.RightBorder || e == &skin.TopBorder ||
                        e == &skin.BottomBorder;
    if (border) {
      // Window borders: tiled unless their Stretch value is 1; the window
      // region hides the magenta parts, here they show as they are.
      DrawElement(dc.Handle(), r, src, vertical, e->Tile != 1, false, e->FrameCount, frame,
                  e->Margins());
    } else if (dynamic_cast<const TDataSkinSysButton*>(e)) {
      DrawFrameScaled(dc.Handle(), r, src, true, e->FrameCount, frame);
    } else if (e == &skin.Title) {
      const auto* t = static_cast<const TDataSkinTitle*>(e);
      DrawCappedStrip(dc.Handle(), r, src, true, true, 2, frame,
                      {t->TXTBackleft, 0, t->TXTBackRight, 0});
    } else if (e == skin.Element(ksMenuBar) && e->Tile != 1) {
      DrawCappedStrip(dc.Handle(), r, src, true, false, 2, frame, e->Margins());
    } else {
      DrawElement(dc.Handle(), r, src, vertical, e->Tile == 1, e->Trans == 1, e->FrameCount, frame,
                  e->Margins());
    }
  }
  WriteFileAtomic(a[6], EncodeBmp(target.ToImage()));
  return 0;
}
#endif

}  // namespace

bool RunEngineCommand(const std::vector<std::string>& args, int& rc) {
  if (args.empty()) return false;
  try {
    if (args[0] == "default" && args.size() == 2) {
      rc = WriteDefault(args[1]);
      return true;
    }
    if (args[0] == "render" && args.size() == 7) {
#ifdef _WIN32
      rc = Render(args);
#else
      rc = Fail("render needs the Windows build");
#endif
      return true;
    }
  } catch (const std::exception& e) {
    rc = Fail(e.what());
    return true;
  }
  return false;
}
