// The picker's state machine: layout, colour, the cached pictures and the
// drags of sliders, handles and the strip; and the text read-outs.
#include "editor/colour_picker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

int Trunc(double v) {
  return static_cast<int>(std::trunc(v));
}

uint32_t WithChannel(uint32_t colour, int channel, int value) {
  int c[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
  c[channel] = std::clamp(value, 0, 255);
  return MakeColour(c[0], c[1], c[2]);
}

bool Near(int x, int y, int px, int py, int c) {
  return x >= px - c && x <= px + c && y >= py - c && y <= py + c;
}

}  // namespace

TColourPicker::TColourPicker() {
  AdjustLayout(240);
}

TPickerLayout TColourPicker::AdjustLayout(int width) {
  const TPickerLayout layout = PickerLayoutFor(width);
  geometry_ = PickerGeometryFor(layout.Width, layout.MarkerSize);
  font_size_ = layout.FontSize;
  mode_ = pmIdle;
  static_valid_ = false;
  ColourChanged();
  return layout;
}

void TColourPicker::SetBackGround(uint32_t colour) {
  background_ = colour & 0xFFFFFF;
  AdjustLayout(geometry_.W);
}

void TColourPicker::SetCurrentColor(uint32_t colour) {
  colour_ = colour & 0xFFFFFF;
  ColourChanged();
}

void TColourPicker::ColourChanged() {
  marks_ = PickerMarksFor(geometry_, colour_);
  overlay_valid_ = false;
}

const TPixmap& TColourPicker::Render() {
  if (!static_valid_) {
    DrawPickerStatic(static_image_, geometry_, background_, colour_);
    static_valid_ = true;
    overlay_valid_ = false;
  }
  if (!overlay_valid_) {
    DrawPickerOverlay(static_image_, overlay_image_, geometry_, marks_, colour_);
    overlay_valid_ = true;
  }
  return overlay_image_;
}

// The slider markers and the handles, in the order they are tested.
TPickMode TColourPicker::HitTest(int x, int y) const {
  const TPickerGeometry& g = geometry_;
  const TPickerMarks& p = marks_;
  const int c = g.c;
  if (x >= g.x0 && x <= g.GreenPressLeft && y >= p.yR - c && y <= p.yR + c) return pmRedSlider;
  if (x >= g.GreenPressLeft && x <= g.BluePressLeft && y >= p.yG - c && y <= p.yG + c)
    return pmGreenSlider;
  if (x >= g.BluePressLeft && x <= g.x1 && y >= p.yB - c && y <= p.yB + c) return pmBlueSlider;
  if (Near(x, y, p.Rx, p.Ry, c)) return pmRedHandle;
  if (Near(x, y, p.Gx, p.Gy, c)) return pmGreenHandle;
  if (Near(x, y, g.cx, p.Bz, c)) return pmBlueHandle;
  return pmIdle;
}

// Takes the finished picture's pixel at a point of the strip; a point
// outside the picture changes nothing.
bool TColourPicker::TakeStripPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= geometry_.W || y >= geometry_.W) return false;
  SetCurrentColor(PixelOf(Render(), x, y, colour_));
  return true;
}

bool TColourPicker::MouseDown(int x, int y) {
  mode_ = HitTest(x, y);
  if (mode_ != pmIdle) return false;  // a marker or handle waits for the mouse to move
  if (x > geometry_.s && y >= 0 && x < geometry_.W && y < geometry_.W) {
    mode_ = pmStrip;
    return TakeStripPixel(x, y);
  }
  return false;
}

bool TColourPicker::MouseMove(int x, int y) {
  const TPickerGeometry& g = geometry_;
  switch (mode_) {
    case pmRedSlider:
    case pmGreenSlider:
    case pmBlueSlider: {
      const int yc = std::clamp(y, g.o, g.x1 - g.o);
      SetCurrentColor(WithChannel(colour_, mode_ - pmRedSlider,
                                  255 - Trunc((yc - g.o) * 255.0 / std::max(1, g.L))));
      return true;
    }
    case pmRedHandle: {
      const int xc = std::clamp(x, g.cx - g.e, g.cx);
      SetCurrentColor(
          WithChannel(colour_, 0, 255 - Trunc((xc - (g.cx - g.e)) * 255.0 / std::max(1, g.e))));
      return true;
    }
    case pmGreenHandle: {
      const int xc = std::clamp(x, g.cx, g.cx + g.e);
      SetCurrentColor(
          WithChannel(colour_, 1, 255 - Trunc((g.cx + g.e - xc) * 255.0 / std::max(1, g.e))));
      return true;
    }
    case pmBlueHandle: {
      const int yc = std::clamp(y, 1, std::max(1, g.r));
      SetCurrentColor(
          WithChannel(colour_, 2, 255 - Trunc((yc - 1) * 255.0 / std::max(1, g.r - 1))));
      return true;
    }
    case pmStrip:
      return x > g.s + 1 && TakeStripPixel(x, y);
    case pmIdle:
      break;
  }
  return false;
}

bool TColourPicker::CrossCursorAt(int x, int y) const {
  if (HitTest(x, y) != pmIdle) return true;
  return x > geometry_.s && x < geometry_.W && y >= 0 && y < geometry_.W;
}

std::vector<TPickerReadout> PickerReadouts(const TPickerGeometry& g, uint32_t background,
                                           uint32_t colour, const TReadoutMetrics& metrics) {
  background &= 0xFFFFFF;
  const uint32_t letter_colour = background == 0xC0C0C0 ? 0x808080 : 0xC0C0C0;
  const uint32_t value_colour = background == 0xFFFFFF ? 0xC0C0C0 : 0xFFFFFF;
  const int red = RedOf(colour), green = GreenOf(colour), blue = BlueOf(colour);
  const TColourTriple hsv = RgbToHsv(red, green, blue), hls = RgbToHls(red, green, blue);
  const int rgb[3] = {red, green, blue};
  const int values[2][3] = {{Trunc(hsv.A), Trunc(hsv.B), Trunc(hsv.C)},
                            {Trunc(hls.A), Trunc(hls.B), Trunc(hls.C)}};
  const char* const letters[4] = {"RGB", "HSV", "HLS", "RGB"};
  std::vector<TPickerReadout> out;
  for (int col = 0; col < 4; ++col) {
    const int x = g.m + col * metrics.ColumnWidth;
    for (int row = 0; row < 3; ++row) {
      const int y = g.s + 5 + row * (2 + metrics.LineHeight);
      char text[8];
      if (col == 0) {
        std::snprintf(text, sizeof text, "%d", rgb[row]);
      } else if (col == 3) {
        std::snprintf(text, sizeof text, "%02X", rgb[row]);
      } else {
        std::snprintf(text, sizeof text, "%d", values[col - 1][row]);
      }
      out.push_back({x, y, std::string(1, letters[col][row]), letter_colour});
      out.push_back({x + metrics.LetterWidth, y, text, value_colour});
    }
  }
  return out;
}
