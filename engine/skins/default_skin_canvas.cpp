// The default skin's drawing kit: strips, glyph patterns, the button face.
#include "default_skin_canvas.h"

namespace default_skin {

// A strip of n cells side by side, each drawn by `cell`(canvas, index 0..n-1).
TPixmap Strip(int n, int w, int h, const std::function<void(TCanvas&, int)>& cell, TColor fill) {
  TCanvas strip(n * w, h, fill);
  for (int i = 0; i < n; ++i) {
    TCanvas c(w, h, fill);
    cell(c, i);
    strip.PutAll(c.img, i * w, 0);
  }
  return strip.img;
}
// Frames stacked top to bottom.
TPixmap Stack(int n, int w, int h, const std::function<void(TCanvas&, int)>& cell) {
  TCanvas strip(w, n * h);
  for (int i = 0; i < n; ++i) {
    TCanvas c(w, h);
    cell(c, i);
    strip.PutAll(c.img, 0, i * h);
  }
  return strip.img;
}

const std::vector<std::string> kGlyphClose = {"##     ##", "###   ###", " ### ### ",
                                              "  #####  ", "   ###   ", "  #####  ",
                                              " ### ### ", "###   ###", "##     ##"};
const std::vector<std::string> kGlyphMax = {"#########", "#########", "#       #", "#       #",
                                            "#       #", "#       #", "#       #", "#########"};
const std::vector<std::string> kGlyphMin = {"", "", "", "", "", "", "########", "########"};
const std::vector<std::string> kGlyphRestore = {"   #######", "   #######", "   #     #",
                                                "#######  #", "#######  #", "#     ####",
                                                "#     #",    "#     #",    "#######"};
const std::vector<std::string> kArrowUp = {"   #   ", "  ###  ", " ##### ", "#######"};
const std::vector<std::string> kArrowDown = {"#######", " ##### ", "  ###  ", "   #   "};
const std::vector<std::string> kArrowLeft = {"   #", "  ##", " ###", "####",
                                             " ###", "  ##", "   #"};
const std::vector<std::string> kArrowRight = {"#   ", "##  ", "### ", "####",
                                              "### ", "##  ", "#   "};
const std::vector<std::string> kSmallUp = {"  #  ", " ### ", "#####"};
const std::vector<std::string> kSmallDown = {"#####", " ### ", "  #  "};
const std::vector<std::string> kSmallLeft = {"  #", " ##", "###", " ##", "  #"};
const std::vector<std::string> kSmallRight = {"#  ", "## ", "###", "## ", "#  "};
const std::vector<std::string> kCheckMark = {"      +#", "     +##", "#+  +##+", "##++##+ ",
                                             "+####+  ", " +##+   ", "  ++    "};

// A rounded metallic button face in the rectangle, by state.
void ButtonFace(TCanvas& c, int x1, int y1, int x2, int y2, TState s, int radius) {
  switch (s) {
    case kNormal:
    case kFocused:
      c.VGrad(x1, y1, x2, y2, C(252, 253, 254), C(234, 237, 241), C(212, 217, 224));
      break;
    case kHot:
      c.VGrad(x1, y1, x2, y2, C(253, 254, 255), C(226, 236, 249), C(198, 216, 240));
      break;
    case kPressed:
      c.VGrad(x1, y1, x2, y2, C(198, 204, 213), C(214, 219, 226), C(228, 232, 237));
      break;
    case kDisabled:
      c.VGrad(x1, y1, x2, y2, C(244, 245, 247), C(238, 240, 243), C(232, 234, 237));
      break;
  }
  const TColor outline = s == kHot        ? kHotOutline
                         : s == kFocused  ? kAccent
                         : s == kDisabled ? kOutlineFaint
                         : s == kPressed  ? kOutlineDark
                                          : kOutline;
  if (s != kPressed && s != kDisabled) {  // the glint under the top edge
    c.Fill(x1 + 2, y1 + 1, x2 - 2, y1 + 2, C(255, 255, 255));
    c.Fill(x1 + 1, y1 + 2, x1 + 2, y2 - 2, C(250, 251, 252));
  }
  if (s == kFocused)
    c.RoundFrame(x1 + 1, y1 + 1, x2 - 1, y2 - 1, kAccentLight, std::max(radius - 1, 1));
  c.RoundFrame(x1, y1, x2, y2, outline, radius);
  c.RoundCorners(x1, y1, x2, y2, radius);
}

}  // namespace default_skin
