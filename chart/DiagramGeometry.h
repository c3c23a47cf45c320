#pragma once
// The computations of the chart that need no pixels: the frame layout from text metrics and
// sizes, the mapping between data coordinates and pixels, the visible ranges with their
// limits and label precision, range stepping, the grid (steps, positions, labels, minor
// ticks) and the number format of tick labels. Each takes plain values and returns plain
// values, so the chart control only measures texts and draws what these return.
#include <string>
#include <vector>

namespace chart {

// Every limit lies within -AbsoluteLimit..AbsoluteLimit.
constexpr double AbsoluteLimit = 100000.0;
// A range narrower than this is ignored.
constexpr double MinSpan = 0.000001;
// Precision stored by the range and precision setters (labels may raise it by one more).
constexpr int MaxStoredPrecision = 7;
// Tick label buffers hold this many characters.
constexpr int LabelBufferSize = 64;

// ---- Numbers of tick labels --------------------------------------------------------------

// Writes x with "%.0f" .. "%.7f" for precision 0..7 and "%e" otherwise (the point is the
// decimal separator); returns the number of characters written. buf holds LabelBufferSize.
int num2char(char* buf, double x, int precision);
std::string NumText(double x, int precision);

// 10^k in extended precision (exact for k >= 0 up to 10^27).
long double PowerOf10(int k);

// ---- Frame layout ---------------------------------------------------------------------

struct FrameInput {
  int width = 0;  // the control's width and height
  int height = 0;
  int textHeight = 0;  // TextHeight("0") in the larger of the y-name and title fonts
  int nameXWidth = 0;  // TextWidth(NameX) in the x-name font
  int digitWidth = 0;  // TextWidth("0") in the tick-label font
  double xmin = -1, xmax = 1, ymin = -1, ymax = 1;
  int precisionX = 1, precisionY = 1;
};

struct FrameLayout {
  int th = 0, half = 0;                              // text height and its half
  int availW = 0, availH = 0;                        // room left for the net and its labels
  int cx = 0, cy = 0;                                // characters of an x and a y label
  int lwx = 0, lwy = 0;                              // widths of an x and a y label
  int labels = 0;                                    // 1: tick marks and labels are drawn
  int xb_net = 0, yb_net = 0, w_net = 0, h_net = 0;  // the net (grid frame)
  int x0_out = 0, y0_out = 0, w_out = 0, h_out = 0;  // the plot area
  int xe_net() const { return xb_net + w_net; }
  int ye_net() const { return yb_net + h_net; }
};

FrameLayout LayoutFrame(const FrameInput& in);

// ---- Coordinate transforms -------------------------------------------------------------

// Maps the visible ranges onto the plot area. The transforms are evaluated in extended
// precision; pixel results truncate toward zero. Results beyond the pixel range a picture
// can use are clamped (a value that is not a number maps far above or left of the plot).
struct PlotMap {
  int x0_out = 0, y0_out = 0, w_out = 0, h_out = 0;
  double xmin = -1, xmax = 1, ymin = -1, ymax = 1;

  int MathToPhisX(double x) const;
  int MathToPhisY(double y) const;
  double PhisToMathX(int px) const;
  double PhisToMathY(int py) const;
  // The data x of the left edge of pixel column px, half a column left of PhisToMathX(px):
  // column px spans [ColumnEdgeX(px), ColumnEdgeX(px + 1)), so neighbouring columns share
  // their edge and every x belongs to one column.
  double ColumnEdgeX(int px) const;
};

// Pixel coordinates are kept within +-PixelLimit, far outside any picture.
constexpr int PixelLimit = 1 << 28;
int TruncToPixel(long double v);

// ---- Ranges and limits --------------------------------------------------------------------

// One axis: the visible range, its limits and the decimals of its labels.
struct AxisState {
  double min = -1.0;
  double max = 1.0;
  double limitMin = -AbsoluteLimit;
  double limitMax = AbsoluteLimit;
  int precision = 1;
};

// Decimals of the labels for a visible span d.
int PrecisionForSpan(double d);

// |p| at most MaxStoredPrecision.
int StoredPrecision(int p);

// The range request a..b: puts the ends in order, ignores spans below MinSpan, clamps each
// end to the limits and recomputes the precision. Returns false (nothing changed) when the
// request is ignored: too narrow, not finite, or lying wholly outside the limits (the
// clamped range would be empty or reversed).
bool ApplyRange(AxisState& axis, double a, double b);

enum class LimitResult {
  Ignored,       // equal ends: nothing changed
  Stored,        // limits stored, the visible range already lay within them
  RangeClamped,  // limits stored and the range moved inside them: set the range again
};
// Stores the limits a..b (ordered, clamped to the absolute bounds) and clamps the visible
// range into them. When the range lay wholly outside the new limits it becomes the limits.
LimitResult ApplyLimit(AxisState& axis, double a, double b);

// Step of the argument-free stepping operations for precision p and span d.
double SteppingStep(int precision, double span);

// ---- Grid -----------------------------------------------------------------------------------

enum class Axis { X, Y };

// Grid step for the range min..max: the first candidate 0.05, 0.1, 0.2, 0.5, 1, 2, 5 (times
// 10^k, k the truncated decimal logarithm of the span) giving at most maxIntervals
// intervals; when none does, 5 * 10^k (the coarsest candidate).
double GridStep(double min, double max, long double maxIntervals);

// The most grid intervals an axis of the given pixels holds: pixels / (1.2 * lwx) on x,
// pixels / (1.3 * th) on y, exact where the quotient is (a candidate at the bound passes).
long double GridIntervalBound(Axis axis, int pixels, const FrameLayout& layout);

// First grid position: for min <= 0 the first multiple of step not below min - eps, for
// min > 0 the first multiple of step above min (a multiple lying exactly on min is skipped).
double FirstGridPosition(double min, double step, double eps);

// Label of a grid position: the number with the given precision, or "0" / "0.0" at zero.
std::string GridLabel(double v, int precision, double eps);

// Raises the precision while two neighbouring labels would read alike (one is a prefix of
// the label before it); the result is never above MaxStoredPrecision + 1, the exponent
// format.
int RaiseLabelPrecision(double first, double step, double max, double eps, int precision);

// Distance of the minor ticks for a grid step (a fifth of it, rounded once).
double MinorTickStep(double step);
// First minor tick position: a whole multiple of MinorTickStep(step).
double FirstMinorTick(Axis axis, double min, double step);

struct GridMark {
  double value = 0;
  int pixel = 0;
  bool zero = false;  // the zero line: drawn solid
  std::string label;  // empty when labels are off
};

struct MinorTick {
  double value = 0;
  int pixel = 0;
};

struct AxisGrid {
  double step = 0;
  double first = 0;
  double eps = 0;
  int precision = 0;  // after the label precision search
  std::vector<GridMark> marks;
  std::vector<MinorTick> minor;  // empty when labels are off
};

// The whole grid of one axis for a laid-out frame and mapping.
AxisGrid BuildAxisGrid(Axis axis, const FrameLayout& layout, const PlotMap& map, int precision);

// The frame and both grids of one redraw. The layout counts label widths from the
// precisions, and the label search may raise them: the two are repeated until the
// precisions settle, so the frame is laid out for the labels it carries and redrawing an
// unchanged chart gives the same picture. x.precision and y.precision are the precisions
// to keep.
struct ChartFrame {
  FrameLayout layout;
  AxisGrid x, y;
};
ChartFrame BuildChartFrame(const FrameInput& in);

// Walks never run longer than this (a step lost in the rounding of a huge position would
// otherwise never end).
constexpr int MaxWalk = 1000000;

}  // namespace chart
