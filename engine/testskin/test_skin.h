// Generated skins for pixel tests. Every frame of every element is made of
// flat pieces in colours of its own (centre, four edges, four corners), far
// from magenta and from the system colours, with one-pixel markers on the
// inner corner pixel of each corner piece, so a test can tell from any pixel
// which element, frame and piece it came from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/colour.h"
#include "engine/geometry.h"
#include "format/bmp.h"
#include "format/skin_file_list.h"

enum class TTestPiece : int {
  Centre,
  Left,
  Top,
  Right,
  Bottom,
  TopLeft,
  TopRight,
  BottomLeft,
  BottomRight,
  Marker
};

struct TTestSkinOptions {
  int Grow = 0;           // added to every frame's width and height
  int ColourVariant = 0;  // another set of colours
  int CheckCells = 4;     // 4 or 12 cells in the check-box strip
  int RadioCells = 4;     // 4 or 8 cells in the radio-button strip
};

// One bitmap of the test skin and how the INI describes it.
struct TTestElement {
  int Index = 0;        // colour identity
  std::string Section;  // INI section holding the bitmap key
  std::string Key;      // the bitmap key
  std::string Member;   // member file name
  int Frames = 1;
  int FrameWidth = 0, FrameHeight = 0;
  TMargins Margins;
  bool Vertical = false;  // frames stacked
};

struct TTestSkin {
  std::string Ini;
  std::vector<TTestElement> Elements;
  std::vector<TSkinFileEntry> Members;  // INI first, then one BMP per element
  // The package (version 70000) of the members.
  std::vector<uint8_t> Package() const;
  const TTestElement* Find(const std::string& member) const;
};

TTestSkin MakeTestSkin(const TTestSkinOptions& options = {});

// The colour of a piece of frame `frame` (1-based) of element `index`.
TColor TestPieceColour(int index, int frame, TTestPiece piece, int variant = 0);
// The strip of an element as the test skin draws it.
TPixmap MakeTestStrip(const TTestElement& e, int variant = 0);
// Which piece a pixel (x, y) of a fw by fh frame with margins m belongs to.
TTestPiece TestPieceAt(int x, int y, int fw, int fh, TMargins m);
