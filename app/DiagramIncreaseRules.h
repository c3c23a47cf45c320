#pragma once
// The computations of the chart viewer window that need no window system: the coordinate
// readout text, the first-show placement of the chart and its four up-down buttons, and
// the order in which the initial limits are put back. TDiagramIncrease measures its
// controls, calls these and applies what they return.
#include <array>
#include <string>

#include "chart/SeriesDrawing.h"

namespace viewer {

// The net (grid frame) of the chart in chart pixels: left, top, right and bottom edge.
using NetRect = chart::NetRect;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// ---- Coordinate readout ------------------------------------------------------------------

// The readout shows coordinates only this many pixels or more inside the net's frame.
constexpr int ReadoutInset = 2;
// Significant digits of a readout number.
constexpr int ReadoutSignificantDigits = 5;

// True when the mouse at (x, y) is at least ReadoutInset pixels inside the net.
bool ReadoutInside(const NetRect& net, int x, int y);

// Fixed-point text of v with at most `significant` significant digits and exactly
// `decimals` decimals: the value is rounded (half away from zero, after a first rounding
// to eighteen significant digits) at whichever position comes first, and the decimals are
// filled up with zeros. A value that needs more integer digits than `significant` is
// written in scientific notation instead: the significant digits without trailing zeros,
// "E" and the exponent (1E5, 1.2346E5). The decimal separator is the point; a value that
// rounds to zero has no sign; a value that is not finite gives an empty text.
std::string FixedText(double v, int significant, int decimals);

// The readout "(x; y)": each number with ReadoutSignificantDigits significant digits and
// its axis precision + 2 decimals, the decimal separator ",".
std::string ReadoutText(double x, double y, int precisionX, int precisionY);

// ---- First-show layout ---------------------------------------------------------------------

// Sizes of the up-down buttons: the vertical ones (Ymax, Ymin) and the horizontal ones
// (Xmin, Xmax).
struct UpDownSizes {
  int verticalWidth = 16;
  int verticalHeight = 41;
  int horizontalWidth = 41;
  int horizontalHeight = 16;
};

// The chart inside a scroll box client area of clientWidth x clientHeight: 5 pixels from
// the top, room on the left for the vertical up-downs and below for the horizontal ones.
// Width and height never come out negative.
Rect ChartPlacement(int clientWidth, int clientHeight, const UpDownSizes& sizes);

// The four up-downs at the net's corners, in the order Ymax, Ymin, Xmin, Xmax: Ymax left of
// the net's top edge, Ymin left of its bottom edge, Xmin under its left edge, Xmax under
// its right edge. `net` is in chart pixels, `chart` in scroll box pixels.
std::array<Rect, 4> UpDownPlacement(const Rect& chart, const NetRect& net,
                                    const UpDownSizes& sizes);

// ---- Initial limits ------------------------------------------------------------------------

// Which end of an axis is set first when the initial range initMin..initMax is put back.
// The lower end goes first unless the current range lies wholly below initMin (its upper
// end not even the narrowest range above initMin): setting the lower end first would then
// turn the pair round and keep the current upper end, so the upper end goes first.
enum class RestoreOrder { MinFirst, MaxFirst };
RestoreOrder RestoreOrderFor(double currentMax, double initMin);

}  // namespace viewer
