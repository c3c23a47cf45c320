#include "chart/DiagramGeometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "model/Mathlib.h"

namespace chart {

int num2char(char* buf, double x, int precision) {
  // Formatted as printf does in the C locale ("%.0f" .. "%.7f", else "%e"), whatever the
  // process locale: the toolkit applies the user's locale at start, and a Russian one would
  // make printf write a comma where tick labels have the point.
  char text[400];  // "%.7f" of the largest double needs 318 characters
  const auto r =
      (precision >= 0 && precision <= 7)
          ? std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, precision)
          : std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, 6);
  const int n = r.ec == std::errc() ? static_cast<int>(r.ptr - text) : 0;
  // Like snprintf into the label buffer: a longer text is cut to what fits.
  const int kept = std::min(n, LabelBufferSize - 1);
  std::memcpy(buf, text, static_cast<size_t>(kept));
  buf[kept] = '\0';
  return kept;
}

std::string NumText(double x, int precision) {
  char buf[LabelBufferSize];
  const int n = num2char(buf, x, precision);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

long double PowerOf10(int k) {
  long double p = 1.0L;
  for (int i = 0; i < (k < 0 ? -k : k); ++i) p *= 10.0L;
  return k < 0 ? 1.0L / p : p;
}

// ---- Frame layout ---------------------------------------------------------------------

namespace {
// Characters of a label: the decimal exponent of the largest magnitude plus the decimals
// and three more (sign, point, first digit). A label has at least one character: a range of
// tiny values with few decimals would otherwise give a negative label width.
int LabelChars(int exponent, int precision) {
  return std::max(1, exponent + precision + 3);
}

int Exponent(double a, double b) {
  const double m = std::max(std::fabs(a), std::fabs(b));
  if (!(m > 0) || !std::isfinite(m)) return 0;
  return static_cast<int>(std::trunc(std::log10(m)));
}
}  // namespace

FrameLayout LayoutFrame(const FrameInput& in) {
  FrameLayout L;
  L.th = in.textHeight;
  L.half = L.th / 2;
  L.availW = in.width - in.nameXWidth;
  L.availH = in.height - L.half;
  // Only the y count takes the magnitude of the exponent: x labels of values below 1 are
  // counted shorter.
  L.cx = LabelChars(Exponent(in.xmin, in.xmax), in.precisionX);
  L.cy = LabelChars(std::abs(Exponent(in.ymin, in.ymax)), in.precisionY);
  L.lwx = in.digitWidth * L.cx;
  L.lwy = in.digitWidth * L.cy;
  L.labels = (4 * L.lwx < L.availW && 4 * L.th < L.availH) ? 1 : 0;
  L.xb_net = (L.lwy + 5) * L.labels + 2;
  L.yb_net = static_cast<int>(0.5 * L.th * L.labels + L.half + 1);
  L.w_net = static_cast<int>(L.availW - L.xb_net - 0.5 * L.lwx * L.labels - 1);
  L.h_net = in.height - L.yb_net - (L.th + 5) * L.labels - 2;
  L.x0_out = L.xb_net + in.digitWidth * L.labels;
  L.y0_out = L.yb_net + L.th * L.labels;
  L.w_out = L.xb_net + L.w_net - L.x0_out - in.digitWidth * L.labels;
  L.h_out = L.yb_net + L.h_net - L.y0_out - L.th * L.labels;
  return L;
}

// ---- Coordinate transforms -------------------------------------------------------------

int TruncToPixel(long double v) {
  if (!(v == v)) return -PixelLimit;
  if (v > PixelLimit) return PixelLimit;
  if (v < -PixelLimit) return -PixelLimit;
  return static_cast<int>(v);
}

int PlotMap::MathToPhisX(double x) const {
  const long double v = static_cast<long double>(w_out) *
                            (static_cast<long double>(x) - static_cast<long double>(xmin)) /
                            (static_cast<long double>(xmax) - static_cast<long double>(xmin)) +
                        x0_out;
  return TruncToPixel(v);
}

int PlotMap::MathToPhisY(double y) const {
  const long double v = static_cast<long double>(h_out) *
                            (static_cast<long double>(y) - static_cast<long double>(ymax)) /
                            (static_cast<long double>(ymin) - static_cast<long double>(ymax)) +
                        y0_out;
  return TruncToPixel(v);
}

namespace {

// The data x `offset` pixels right of x0_out. A plot area without width or height (a control
// too small to draw in) maps as if it had one pixel, so the inverse transforms stay finite.
double XAtOffset(const PlotMap& m, long double offset) {
  const long double w = m.w_out != 0 ? m.w_out : 1;
  const long double v =
      (static_cast<long double>(m.xmax) - static_cast<long double>(m.xmin)) * offset / w +
      static_cast<long double>(m.xmin);
  return static_cast<double>(v);
}

}  // namespace

double PlotMap::PhisToMathX(int px) const {
  return XAtOffset(*this, px - x0_out);
}

double PlotMap::ColumnEdgeX(int px) const {
  return XAtOffset(*this, px - 0.5L - x0_out);
}

double PlotMap::PhisToMathY(int py) const {
  const long double h = h_out != 0 ? h_out : 1;
  const long double v =
      (static_cast<long double>(ymin) - static_cast<long double>(ymax)) * (py - y0_out) / h +
      static_cast<long double>(ymax);
  return static_cast<double>(v);
}

// ---- Ranges and limits --------------------------------------------------------------------

int PrecisionForSpan(double d) {
  if (d < 0.00001) return 7;
  if (d < 0.0001) return 6;
  if (d < 0.001) return 5;
  if (d < 0.01) return 4;
  if (d < 0.1) return 3;
  if (d < 1) return 2;
  if (d < 10) return 1;
  return 0;
}

int StoredPrecision(int p) {
  // Compared before negating: the magnitude of the most negative int does not fit an int.
  if (p < -MaxStoredPrecision || p > MaxStoredPrecision) return MaxStoredPrecision;
  return p < 0 ? -p : p;
}

bool ApplyRange(AxisState& axis, double a, double b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return false;
  mathlib::OrderPair(a, b);
  if (b - a < MinSpan) return false;
  if (b > axis.limitMax) b = axis.limitMax;
  if (a < axis.limitMin) a = axis.limitMin;
  // A request lying wholly outside the limits clamps to an empty or reversed range.
  if (!(a < b)) return false;
  axis.min = a;
  axis.max = b;
  axis.precision = PrecisionForSpan(axis.max - axis.min);
  return true;
}

LimitResult ApplyLimit(AxisState& axis, double a, double b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return LimitResult::Ignored;
  if (!mathlib::OrderPair(a, b)) return LimitResult::Ignored;
  if (a < -AbsoluteLimit) a = -AbsoluteLimit;
  if (b > AbsoluteLimit) b = AbsoluteLimit;
  // Both ends beyond the same absolute bound collapse to one value: no limits at all.
  if (!(a < b)) return LimitResult::Ignored;
  axis.limitMin = a;
  axis.limitMax = b;
  bool changed = mathlib::RaiseTo(axis.limitMin, axis.min);
  changed = mathlib::LowerTo(axis.limitMax, axis.max) || changed;
  if (!changed) return LimitResult::Stored;
  // The range lay wholly outside the new limits: show all of them.
  if (!(axis.min < axis.max)) {
    axis.min = axis.limitMin;
    axis.max = axis.limitMax;
  }
  return LimitResult::RangeClamped;
}

double SteppingStep(int precision, double span) {
  double s = 1.0 / static_cast<double>(PowerOf10(precision));
  if (100 < span && span < 1000) s = 10;
  if (1000 < span && span < 10000) s = 100;
  if (10000 < span && span < 100000) s = 1000;
  if (100000 < span && span < 1000000) s = 10000;
  return s;
}

// ---- Grid -----------------------------------------------------------------------------------

double GridStep(double min, double max, long double maxIntervals) {
  static const double Candidates[] = {0.05, 0.1, 0.2, 0.5, 1, 2, 5};
  const double d = max - min;
  if (!(d > 0) || !std::isfinite(d)) return 1.0;
  const int k = static_cast<int>(std::trunc(std::log10(d)));
  // d * 10^-k, rounded once: 10^|k| is exact, its reciprocal is not, so a span that is a
  // whole number of candidates gives that number exactly and ties the bound exactly.
  const long double scaled = k >= 0 ? static_cast<long double>(d) / PowerOf10(k)
                                    : static_cast<long double>(d) * PowerOf10(-k);
  for (double c : Candidates) {
    const long double intervals = scaled / c;
    if (intervals <= maxIntervals) return static_cast<double>(c * PowerOf10(k));
  }
  return static_cast<double>(5 * PowerOf10(k));
}

long double GridIntervalBound(Axis axis, int pixels, const FrameLayout& layout) {
  // pixels / (1.2 * lwx) and pixels / (1.3 * th), formed from whole numbers: the doubles 1.2
  // and 1.3 lie off 12/10 and 13/10, and 1.3 above it, so a candidate giving exactly the
  // bound's number of intervals would lose on the y axis.
  if (axis == Axis::X) return 10.0L * pixels / (12.0L * layout.lwx);
  return 10.0L * pixels / (13.0L * layout.th);
}

double FirstGridPosition(double min, double step, double eps) {
  const long double q = truncl(static_cast<long double>(min) / step);
  if (min <= 0) {
    double x0 = static_cast<double>((q - 1) * step);
    if (static_cast<long double>(min) - eps > x0) x0 = static_cast<double>(q * step);
    return x0;
  }
  return static_cast<double>((q + 1) * step);
}

std::string GridLabel(double v, int precision, double eps) {
  if (std::fabs(v) > eps) return NumText(v, precision);
  return precision == 0 ? "0" : "0.0";
}

namespace {
// Every character of label equals the character at the same place of previous: label is
// previous or a beginning of it.
bool ReadsAlike(const std::string& label, const std::string& previous) {
  return label.size() <= previous.size() && previous.compare(0, label.size(), label) == 0;
}
}  // namespace

int RaiseLabelPrecision(double first, double step, double max, double eps, int precision) {
  // Precision 8 is the exponent format, the last one there is: labels that read alike
  // there stay as they are.
  constexpr int Last = MaxStoredPrecision + 1;
  if (precision >= Last) return Last;
  for (;;) {
    bool repeated = false;
    std::string previous = "a";
    double x = first;
    for (int n = 0; max + eps >= x && n < MaxWalk; ++n) {
      std::string label = GridLabel(x, precision, eps);
      if (ReadsAlike(label, previous)) {
        repeated = true;
        break;
      }
      previous = std::move(label);
      const double next = x + step;
      if (next == x) break;
      x = next;
    }
    if (!repeated) return precision;
    ++precision;
    if (precision == Last) return precision;
  }
}

double MinorTickStep(double step) {
  return static_cast<double>(static_cast<long double>(0.2) * step);
}

double FirstMinorTick(Axis axis, double min, double step) {
  // The first tick is a multiple of the step the walk then adds, so it lies where the walk
  // from any earlier tick would have put it.
  const long double m = MinorTickStep(step);
  const long double q = truncl(5 * static_cast<long double>(min) / step);
  if (min <= 0) return static_cast<double>((axis == Axis::X ? q - 1 : q) * m);
  return static_cast<double>((q + 1) * m);
}

AxisGrid BuildAxisGrid(Axis axis, const FrameLayout& layout, const PlotMap& map, int precision) {
  const bool isX = axis == Axis::X;
  const double min = isX ? map.xmin : map.ymin;
  const double max = isX ? map.xmax : map.ymax;
  const int pixels = isX ? map.w_out : map.h_out;
  auto toPixel = [&](double v) { return isX ? map.MathToPhisX(v) : map.MathToPhisY(v); };

  AxisGrid g;
  g.step = GridStep(min, max, GridIntervalBound(axis, pixels, layout));
  g.eps = (max - min) * 0.001;
  g.first = FirstGridPosition(min, g.step, g.eps);
  g.precision = precision;
  if (layout.labels == 1) {
    g.precision = RaiseLabelPrecision(g.first, g.step, max, g.eps, precision);
  }
  double x = g.first;
  for (int n = 0; max + g.eps >= x && n < MaxWalk; ++n) {
    GridMark mark;
    mark.value = x;
    mark.pixel = toPixel(x);
    // The zero line of x includes the tolerance itself; that of y does not.
    mark.zero = isX ? std::fabs(x) <= g.eps : std::fabs(x) < g.eps;
    if (layout.labels == 1) mark.label = GridLabel(x, g.precision, g.eps);
    g.marks.push_back(std::move(mark));
    const double next = x + g.step;
    if (next == x) break;
    x = next;
  }
  if (layout.labels == 1) {
    const double m = MinorTickStep(g.step);
    double t = FirstMinorTick(axis, min, g.step);
    for (int n = 0; t <= max && n < MaxWalk; ++n) {
      g.minor.push_back({t, toPixel(t)});
      const double next = t + m;
      if (next == t) break;
      t = next;
    }
  }
  return g;
}

ChartFrame BuildChartFrame(const FrameInput& in) {
  // The precisions only grow and stop at 8, so this ends after a few rounds.
  FrameInput round = in;
  ChartFrame f;
  for (int n = 0;; ++n) {
    f.layout = LayoutFrame(round);
    PlotMap map;
    map.x0_out = f.layout.x0_out;
    map.y0_out = f.layout.y0_out;
    map.w_out = f.layout.w_out;
    map.h_out = f.layout.h_out;
    map.xmin = round.xmin;
    map.xmax = round.xmax;
    map.ymin = round.ymin;
    map.ymax = round.ymax;
    f.x = BuildAxisGrid(Axis::X, f.layout, map, round.precisionX);
    f.y = BuildAxisGrid(Axis::Y, f.layout, map, round.precisionY);
    const bool settled = f.x.precision == round.precisionX && f.y.precision == round.precisionY;
    if (settled || n == 2 * (MaxStoredPrecision + 2)) return f;
    round.precisionX = f.x.precision;
    round.precisionY = f.y.precision;
  }
}

}  // namespace chart
