// The splash picture, drawn in floating point with anti-aliased rounded
// shapes (coverage from a signed distance) and soft shadows, then rounded to
// 24 bits.
#include "editor/splash_art.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct TRgb {
  float r, g, b;
};

TRgb Mix(TRgb a, TRgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

TRgb Hex(uint32_t rgb) {
  return {float((rgb >> 16) & 255), float((rgb >> 8) & 255), float(rgb & 255)};
}

class TArtCanvas {
 public:
  TArtCanvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h) {}
  int Width() const { return w_; }
  int Height() const { return h_; }
  TRgb& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
  void Blend(int x, int y, TRgb c, float alpha) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || alpha <= 0) return;
    TRgb& p = At(x, y);
    p = Mix(p, c, std::min(alpha, 1.0f));
  }
  TPixmap ToPixmap() const;

 private:
  int w_, h_;
  std::vector<TRgb> px_;
};

TPixmap TArtCanvas::ToPixmap() const {
  TPixmap img(w_, h_, 24);
  for (int y = 0; y < h_; ++y) {
    uint8_t* row = img.Row(y);
    for (int x = 0; x < w_; ++x) {
      const TRgb& c = px_[static_cast<size_t>(y) * w_ + x];
      auto q = [](float v) { return static_cast<uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f)); };
      row[x * 3] = q(c.b), row[x * 3 + 1] = q(c.g), row[x * 3 + 2] = q(c.r);
    }
  }
  return img;
}

struct TBox {
  float x0, y0, x1, y1, radius;
};

// Signed distance from a pixel centre to a rounded rectangle (negative inside).
float Distance(const TBox& b, float px, float py) {
  const float cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
  const float hx = (b.x1 - b.x0) / 2 - b.radius, hy = (b.y1 - b.y0) / 2 - b.radius;
  const float qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
  const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - b.radius;
}

// Fills a rounded box; `paint` gives the colour at a point. `soft` > 0 turns
// the edge into a falloff of that width (a shadow or a glow).
template <typename Paint>
void FillBox(TArtCanvas& c, const TBox& b, float alpha, Paint paint, float soft = 0) {
  const int x0 = std::max(0, int(std::floor(b.x0 - soft - 1)));
  const int y0 = std::max(0, int(std::floor(b.y0 - soft - 1)));
  const int x1 = std::min(c.Width(), int(std::ceil(b.x1 + soft + 1)));
  const int y1 = std::min(c.Height(), int(std::ceil(b.y1 + soft + 1)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const float d = Distance(b, float(x) + 0.5f, float(y) + 0.5f);
      float cover = soft > 0 ? 1 - std::clamp((d + soft / 2) / soft, 0.0f, 1.0f)
                             : std::clamp(0.5f - d, 0.0f, 1.0f);
      if (soft > 0) cover = cover * cover * (3 - 2 * cover);
      if (cover > 0) c.Blend(x, y, paint(float(x), float(y)), alpha * cover);
    }
  }
}

void FillSolid(TArtCanvas& c, const TBox& b, TRgb colour, float alpha = 1) {
  FillBox(c, b, alpha, [colour](float, float) { return colour; });
}

void FillVertical(TArtCanvas& c, const TBox& b, TRgb top, TRgb bottom, float alpha = 1) {
  FillBox(c, b, alpha, [&](float, float y) {
    return Mix(top, bottom, std::clamp((y - b.y0) / (b.y1 - b.y0), 0.0f, 1.0f));
  });
}

void Background(TArtCanvas& c) {
  const TRgb deep = Hex(0x141E3C), teal = Hex(0x1F5F78), violet = Hex(0x46306E);
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      const float u = float(x) / float(c.Width()), v = float(y) / float(c.Height());
      TRgb p = Mix(Mix(deep, teal, u), violet, v * (1 - u) * 0.9f);
      // A soft light behind the windows.
      const float dx = u - 0.68f, dy = v - 0.42f;
      const float glow = std::exp(-(dx * dx * 5 + dy * dy * 9));
      c.At(x, y) = Mix(p, Hex(0x7FB8D8), glow * 0.35f);
    }
  }
  // Faint discs, like lights out of focus.
  const float discs[][3] = {
      {60, 60, 34}, {120, 270, 22}, {470, 40, 26}, {30, 200, 14}, {250, 20, 12}};
  for (const auto& d : discs)
    FillSolid(c, {d[0] - d[2], d[1] - d[2], d[0] + d[2], d[1] + d[2], d[2]}, Hex(0xBFE0F0), 0.06f);
}

struct TSkinLook {
  TRgb caption_top, caption_bottom, frame, face, accent;
};

// The inside of a window: a few controls in the skin's colours.
void ClientArea(TArtCanvas& c, const TBox& client, const TSkinLook& look) {
  FillVertical(c, client, look.face, Mix(look.face, look.frame, 0.12f));
  const float x = client.x0 + 12, y = client.y0 + 12, w = client.x1 - client.x0 - 24;
  const TRgb ink = Mix(look.face, Hex(0x202830), 0.55f);
  for (int i = 0; i < 3; ++i)  // lines of text
    FillSolid(c,
              {x, y + float(i) * 11, x + w * (0.8f - 0.18f * float(i)), y + float(i) * 11 + 4, 2},
              ink, 0.5f);
  // A progress bar and a push button.
  const float py = y + 40;
  FillSolid(c, {x, py, x + w, py + 9, 4.5f}, Mix(look.face, look.frame, 0.35f));
  FillVertical(c, {x + 1, py + 1, x + w * 0.62f, py + 8, 3.5f},
               Mix(look.accent, Hex(0xFFFFFF), 0.35f), look.accent);
  const float by = py + 20;
  if (by + 20 > client.y1 - 6) return;
  FillVertical(c, {x + w - 64, by, x + w, by + 20, 5}, Mix(look.caption_top, Hex(0xFFFFFF), 0.25f),
               look.caption_bottom);
  FillSolid(c, {x, by + 3, x + 14, by + 17, 3}, Mix(look.face, look.frame, 0.5f));
  FillSolid(c, {x + 3, by + 6, x + 11, by + 14, 2}, look.accent);
  FillSolid(c, {x + 22, by + 8, x + 80, by + 12, 2}, ink, 0.45f);
}

// One skinned window: shadow, frame, glossy caption with title buttons, client area.
void WindowFrame(TArtCanvas& c, const TBox& win, const TSkinLook& look) {
  FillBox(
      c, {win.x0 + 2, win.y0 + 8, win.x1 + 8, win.y1 + 12, win.radius}, 0.7f,
      [](float, float) { return Hex(0x05080F); }, 22);
  FillSolid(c, win, look.frame);
  const float cap = 26;
  FillVertical(c, {win.x0 + 1, win.y0 + 1, win.x1 - 1, win.y0 + cap, win.radius - 1},
               look.caption_top, look.caption_bottom);
  FillVertical(c, {win.x0 + 3, win.y0 + 2, win.x1 - 3, win.y0 + cap / 2, win.radius - 2},
               Hex(0xFFFFFF), Hex(0xFFFFFF), 0.16f);  // gloss
  FillSolid(c, {win.x0 + 10, win.y0 + 9, win.x0 + 64, win.y0 + 16, 3}, Hex(0xFFFFFF), 0.75f);
  const TRgb buttons[] = {Mix(look.accent, Hex(0xFFFFFF), 0.2f),
                          Mix(look.caption_top, Hex(0xFFFFFF), 0.4f),
                          Mix(look.caption_top, Hex(0xFFFFFF), 0.4f)};
  for (int i = 0; i < 3; ++i) {
    const float bx = win.x1 - 20 - float(i) * 17, by = win.y0 + 13;
    FillSolid(c, {bx - 6, by - 6, bx + 6, by + 6, 6}, Hex(0x000000), 0.25f);
    FillVertical(c, {bx - 5, by - 5, bx + 5, by + 5, 5}, Mix(buttons[i], Hex(0xFFFFFF), 0.3f),
                 buttons[i]);
  }
  ClientArea(c, {win.x0 + 5, win.y0 + cap + 1, win.x1 - 5, win.y1 - 5, 2}, look);
}

}  // namespace

TPixmap DrawSplashPicture() {
  TArtCanvas c(kSplashWidth, kSplashHeight);
  Background(c);
  const TSkinLook amber{Hex(0xF0A04A), Hex(0xB8582A), Hex(0x8C4A2C), Hex(0xF6EEE4), Hex(0xE07B39)};
  const TSkinLook steel{Hex(0x8FA3B8), Hex(0x4D6278), Hex(0x3C4B5C), Hex(0xEEF1F4), Hex(0x5A8FC8)};
  const TSkinLook jade{Hex(0x62C29A), Hex(0x237A5C), Hex(0x1E5744), Hex(0xEDF6F1), Hex(0x2FA37A)};
  WindowFrame(c, {300, 28, 488, 168, 8}, amber);
  WindowFrame(c, {214, 92, 412, 248, 8}, steel);
  WindowFrame(c, {338, 176, 496, 300, 8}, jade);
  return c.ToPixmap();
}
