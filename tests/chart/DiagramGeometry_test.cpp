#include "chart/DiagramGeometry.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

using namespace chart;

namespace {

std::vector<std::string> LabelsOf(const AxisGrid& g) {
  std::vector<std::string> out;
  for (const auto& m : g.marks) out.push_back(m.label);
  return out;
}

// A frame whose x bound w_out / (1.2 * lwx) is w_out / 60 and whose y bound h_out / (1.3 * th)
// is h_out / 20.8.
FrameLayout Frame(int w_out, int h_out) {
  FrameLayout L;
  L.labels = 1;
  L.lwx = 50;
  L.th = 16;
  L.xb_net = 10;
  L.yb_net = 10;
  L.x0_out = 10;
  L.y0_out = 10;
  L.w_out = w_out;
  L.h_out = h_out;
  L.w_net = w_out;
  L.h_net = h_out;
  return L;
}

PlotMap MapOf(const FrameLayout& L, double xmin, double xmax, double ymin, double ymax) {
  PlotMap m;
  m.x0_out = L.x0_out;
  m.y0_out = L.y0_out;
  m.w_out = L.w_out;
  m.h_out = L.h_out;
  m.xmin = xmin;
  m.xmax = xmax;
  m.ymin = ymin;
  m.ymax = ymax;
  return m;
}

}  // namespace

TEST(Num2Char, FixedDecimalsThenExponentFormat) {
  char buf[LabelBufferSize];
  EXPECT_EQ(num2char(buf, 2.5, 0), 1);
  EXPECT_STREQ(buf, "2");  // round half to even, as the C library does
  EXPECT_EQ(num2char(buf, -0.25, 1), 4);
  EXPECT_STREQ(buf, "-0.2");
  EXPECT_EQ(num2char(buf, 1.0 / 3, 7), 9);
  EXPECT_STREQ(buf, "0.3333333");
  EXPECT_EQ(num2char(buf, 1234.5, 8), 12);
  EXPECT_STREQ(buf, "1.234500e+03");
  EXPECT_EQ(NumText(-0.001, -1), "-1.000000e-03");
  EXPECT_EQ(NumText(-100000, 7), "-100000.0000000");
}

// Switches LC_NUMERIC to a locale whose decimal separator is a comma, as the toolkit does
// at start for a Russian user; when the machine has none installed, one is compiled into a
// temporary folder. Restores the previous locale when it goes.
class CommaLocale {
 public:
  CommaLocale() {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    previous_ = current != nullptr ? current : "C";
    for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"})
      if (Try(name)) return;
    char dir[] = "/tmp/comma-locale-XXXXXX";
    if (mkdtemp(dir) == nullptr) return;
    folder_ = dir;
    const std::string command =
        "localedef -i ru_RU -f UTF-8 " + folder_ + "/ru_RU.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    const char* locpath = std::getenv("LOCPATH");
    if (locpath != nullptr) savedLocpath_ = locpath;
    hadLocpath_ = locpath != nullptr;
    setenv("LOCPATH", folder_.c_str(), 1);
    Try("ru_RU.UTF-8");
  }
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, previous_.c_str());
    if (!folder_.empty()) {
      if (hadLocpath_) {
        setenv("LOCPATH", savedLocpath_.c_str(), 1);
      } else {
        unsetenv("LOCPATH");
      }
      std::system(("rm -rf " + folder_).c_str());
    }
  }
  bool Active() const { return active_; }

 private:
  bool Try(const char* name) {
    if (std::setlocale(LC_NUMERIC, name) == nullptr) return false;
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    active_ = std::string(probe) == "0,5";
    if (!active_) std::setlocale(LC_NUMERIC, previous_.c_str());
    return active_;
  }

  std::string previous_;
  std::string folder_;
  std::string savedLocpath_;
  bool hadLocpath_ = false;
  bool active_ = false;
};

TEST(Num2Char, TickLabelsKeepThePointUnderACommaLocale) {
  CommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma can be made here";
  char buf[LabelBufferSize];
  EXPECT_EQ(num2char(buf, 0.5, 2), 4);
  EXPECT_STREQ(buf, "0.50");
  EXPECT_EQ(NumText(1234.5, 8), "1.234500e+03");
  EXPECT_EQ(GridLabel(-0.25, 1, 0.001), "-0.2");
  // A text longer than the label buffer is cut to what fits, as before.
  EXPECT_EQ(num2char(buf, 1e300, 7), LabelBufferSize - 1);
  EXPECT_EQ(std::string(buf).size(), static_cast<size_t>(LabelBufferSize - 1));
}

TEST(FrameLayout, StepsFromMetricsAndSizes) {
  FrameInput in;
  in.width = 1000;
  in.height = 700;
  in.textHeight = 16;
  in.nameXWidth = 8;
  in.digitWidth = 8;
  in.xmin = -1;
  in.xmax = 100;
  const FrameLayout L = LayoutFrame(in);
  EXPECT_EQ(L.half, 8);
  EXPECT_EQ(L.availW, 992);
  EXPECT_EQ(L.availH, 692);
  EXPECT_EQ(L.cx, 6);  // log10(100) = 2, precision 1, plus 3
  EXPECT_EQ(L.cy, 4);
  EXPECT_EQ(L.lwx, 48);
  EXPECT_EQ(L.lwy, 32);
  EXPECT_EQ(L.labels, 1);
  EXPECT_EQ(L.xb_net, 39);
  EXPECT_EQ(L.yb_net, 17);
  EXPECT_EQ(L.w_net, 928);
  EXPECT_EQ(L.h_net, 660);
  EXPECT_EQ(L.xe_net(), 967);
  EXPECT_EQ(L.ye_net(), 677);
  EXPECT_EQ(L.x0_out, 47);
  EXPECT_EQ(L.y0_out, 33);
  EXPECT_EQ(L.w_out, 912);
  EXPECT_EQ(L.h_out, 628);

  // Only the y count takes the magnitude of a negative exponent.
  in.xmin = 0;
  in.xmax = 0.05;
  in.ymin = 0;
  in.ymax = 0.05;
  in.precisionX = 3;
  in.precisionY = 3;
  const FrameLayout S = LayoutFrame(in);
  EXPECT_EQ(S.cx, 5);  // trunc(log10 0.05) = -1
  EXPECT_EQ(S.cy, 7);
}

TEST(FrameLayout, TooSmallForLabelsGivesPlotAreaEqualToNet) {
  FrameInput in;
  in.width = 100;
  in.height = 50;
  in.textHeight = 16;
  in.nameXWidth = 8;
  in.digitWidth = 8;
  const FrameLayout L = LayoutFrame(in);
  EXPECT_EQ(L.labels, 0);  // 4 * 32 >= 92
  EXPECT_EQ(L.xb_net, 2);
  EXPECT_EQ(L.yb_net, 9);
  EXPECT_EQ(L.w_net, 89);
  EXPECT_EQ(L.h_net, 39);
  EXPECT_EQ(L.x0_out, L.xb_net);
  EXPECT_EQ(L.y0_out, L.yb_net);
  EXPECT_EQ(L.w_out, L.w_net);
  EXPECT_EQ(L.h_out, L.h_net);

  // Too low for four text lines hides the labels too.
  in.width = 1000;
  in.height = 70;
  EXPECT_EQ(LayoutFrame(in).labels, 0);
  in.height = 80;
  EXPECT_EQ(LayoutFrame(in).labels, 1);
}

TEST(FrameLayout, TinyValuesWithFewDecimalsKeepAPositiveLabelWidth) {
  FrameInput in;
  in.width = 1000;
  in.height = 700;
  in.textHeight = 16;
  in.digitWidth = 8;
  in.xmin = 0;
  in.xmax = 0.000001;
  in.precisionX = 0;
  const FrameLayout L = LayoutFrame(in);
  EXPECT_EQ(L.cx, 1);
  EXPECT_GT(L.lwx, 0);
  EXPECT_LE(L.xe_net(), in.width);
}

TEST(PlotMap, TransformsTruncateTowardZeroInExtendedPrecision) {
  PlotMap m;
  m.x0_out = 47;
  m.w_out = 912;
  m.xmin = -1;
  m.xmax = 100;
  m.y0_out = 33;
  m.h_out = 628;
  m.ymin = -1;
  m.ymax = 1;
  EXPECT_EQ(m.MathToPhisX(-1), 47);
  EXPECT_EQ(m.MathToPhisX(100), 47 + 912);
  EXPECT_EQ(m.MathToPhisY(1), 33);
  EXPECT_EQ(m.MathToPhisY(-1), 33 + 628);
  EXPECT_EQ(m.MathToPhisY(0), 347);
  EXPECT_EQ(m.PhisToMathX(47), -1.0);
  EXPECT_EQ(m.PhisToMathX(959), 100.0);
  EXPECT_EQ(m.PhisToMathY(33), 1.0);
  EXPECT_EQ(m.PhisToMathY(661), -1.0);

  PlotMap u;
  u.x0_out = 0;
  u.w_out = 100;
  u.xmin = 0;
  u.xmax = 1;
  EXPECT_EQ(u.MathToPhisX(0.05), 5);
  EXPECT_EQ(u.MathToPhisX(std::nextafter(0.05, 0.0)), 4);  // just left of the boundary
  EXPECT_EQ(u.MathToPhisX(-0.005), 0);                     // -0.5 truncates to 0, not -1
  EXPECT_EQ(u.MathToPhisX(-0.015), -1);
  // 0.3 is stored just below 3/10: in double the product rounds up to 30, in extended
  // precision it stays below and truncates to 29.
  EXPECT_EQ(u.MathToPhisX(0.3), 29);
  EXPECT_EQ(u.MathToPhisX(0.5), 50);
  // Far values and values that are not numbers stay within the pixel bounds.
  EXPECT_EQ(u.MathToPhisX(1e300), PixelLimit);
  EXPECT_EQ(u.MathToPhisX(-1e300), -PixelLimit);
  EXPECT_EQ(u.MathToPhisX(std::numeric_limits<double>::quiet_NaN()), -PixelLimit);
  // A plot area without width keeps the inverse transform finite.
  u.w_out = 0;
  EXPECT_TRUE(std::isfinite(u.PhisToMathX(5)));
}

TEST(Ranges, SetRangeOrdersClampsAndChoosesThePrecision) {
  AxisState a;
  EXPECT_TRUE(ApplyRange(a, 5, 2));
  EXPECT_EQ(a.min, 2.0);
  EXPECT_EQ(a.max, 5.0);
  EXPECT_EQ(a.precision, 1);

  AxisState tiny;
  EXPECT_FALSE(ApplyRange(tiny, 1, 1.0000005));
  EXPECT_EQ(tiny.min, -1.0);
  EXPECT_EQ(tiny.max, 1.0);

  AxisState lim;
  lim.limitMin = -10;
  lim.limitMax = 10;
  EXPECT_TRUE(ApplyRange(lim, -20, 5));
  EXPECT_EQ(lim.min, -10.0);
  EXPECT_EQ(lim.max, 5.0);

  struct Case {
    double a, b;
    int precision;
  };
  for (const Case& c : {Case{0, 2.5, 1}, Case{0, 0.05, 3}, Case{0, 10, 0}, Case{0, 1, 1},
                        Case{0, 0.5, 2}, Case{0, 0.000005, 7}, Case{0, 0.00005, 6},
                        Case{0, 0.0005, 5}, Case{0, 0.005, 4}, Case{-500, 500, 0}}) {
    AxisState s;
    ASSERT_TRUE(ApplyRange(s, c.a, c.b));
    EXPECT_EQ(s.precision, c.precision) << c.b - c.a;
  }
}

TEST(Ranges, RequestsOutsideTheLimitsOrNotFiniteAreIgnored) {
  AxisState s;
  s.limitMin = 10;
  s.limitMax = 100;
  s.min = 20;
  s.max = 30;
  s.precision = 4;
  EXPECT_FALSE(ApplyRange(s, 5, 6));  // would clamp to 10..6
  EXPECT_FALSE(ApplyRange(s, 200, 300));
  EXPECT_FALSE(ApplyRange(s, std::numeric_limits<double>::quiet_NaN(), 50));
  EXPECT_FALSE(ApplyRange(s, 20, std::numeric_limits<double>::infinity()));
  EXPECT_EQ(s.min, 20.0);
  EXPECT_EQ(s.max, 30.0);
  EXPECT_EQ(s.precision, 4);
  // Touching the limits from outside is accepted as far as it reaches inside.
  EXPECT_TRUE(ApplyRange(s, 5, 12));
  EXPECT_EQ(s.min, 10.0);
  EXPECT_EQ(s.max, 12.0);
}

TEST(Ranges, StoredPrecisionIsTheMagnitudeAtMostSeven) {
  EXPECT_EQ(StoredPrecision(-3), 3);
  EXPECT_EQ(StoredPrecision(12), 7);
  EXPECT_EQ(StoredPrecision(-7), 7);
  EXPECT_EQ(StoredPrecision(std::numeric_limits<int>::min()), 7);
}

TEST(Limits, ClampToAbsoluteBoundsAndMoveTheRangeInside) {
  AxisState s;
  EXPECT_EQ(ApplyLimit(s, 1e9, -1e9), LimitResult::Stored);
  EXPECT_EQ(s.limitMin, -100000.0);
  EXPECT_EQ(s.limitMax, 100000.0);
  EXPECT_EQ(ApplyLimit(s, 3, 3), LimitResult::Ignored);
  EXPECT_EQ(s.limitMin, -100000.0);

  AxisState x;
  x.min = -1;
  x.max = 100;
  EXPECT_EQ(ApplyLimit(x, 0, 50), LimitResult::RangeClamped);
  EXPECT_EQ(x.min, 0.0);
  EXPECT_EQ(x.max, 50.0);

  AxisState w;
  w.min = -1;
  w.max = 100;
  EXPECT_EQ(ApplyLimit(w, -5, 500), LimitResult::Stored);
  EXPECT_EQ(w.min, -1.0);
  EXPECT_EQ(w.max, 100.0);

  AxisState y;
  EXPECT_EQ(ApplyLimit(y, 0.5, 0), LimitResult::RangeClamped);
  EXPECT_EQ(y.min, 0.0);
  EXPECT_EQ(y.max, 0.5);

  // A range wholly outside the new limits becomes the limits, never reversed.
  AxisState o;
  o.min = -1;
  o.max = 100;
  EXPECT_EQ(ApplyLimit(o, 200, 300), LimitResult::RangeClamped);
  EXPECT_EQ(o.min, 200.0);
  EXPECT_EQ(o.max, 300.0);

  // Both ends beyond the same absolute bound leave no limits: ignored.
  AxisState far;
  EXPECT_EQ(ApplyLimit(far, 2e5, 3e5), LimitResult::Ignored);
  EXPECT_EQ(far.limitMax, 100000.0);
}

TEST(Stepping, StepFollowsPrecisionAndSpan) {
  EXPECT_DOUBLE_EQ(SteppingStep(1, 2), 0.1);
  EXPECT_EQ(SteppingStep(1, 500), 10.0);
  EXPECT_DOUBLE_EQ(SteppingStep(1, 1000), 0.1);  // exactly 1000 keeps 1/10^p
  EXPECT_EQ(SteppingStep(0, 5000), 100.0);
  EXPECT_EQ(SteppingStep(0, 50000), 1000.0);
  EXPECT_EQ(SteppingStep(0, 200000), 10000.0);
  EXPECT_EQ(SteppingStep(0, 100), 1.0);
  EXPECT_DOUBLE_EQ(SteppingStep(3, 0.05), 0.001);

  // Moving the lower end past the upper one swaps them.
  AxisState s;
  ASSERT_TRUE(ApplyRange(s, 0.95, 1));
  ASSERT_TRUE(ApplyRange(s, s.min + 0.1, s.max));
  EXPECT_EQ(s.min, 1.0);
  EXPECT_DOUBLE_EQ(s.max, 1.05);
}

TEST(Grid, MinusOneToOneStepsByHalvesWithSolidZero) {
  const FrameLayout L = Frame(480, 300);  // bound 8 on x
  const PlotMap m = MapOf(L, -1, 1, -1, 1);
  const AxisGrid g = BuildAxisGrid(Axis::X, L, m, 1);
  EXPECT_EQ(g.step, 0.5);
  EXPECT_EQ(g.first, -1.0);
  EXPECT_EQ(g.precision, 1);
  EXPECT_EQ(LabelsOf(g), (std::vector<std::string>{"-1.0", "-0.5", "0.0", "0.5", "1.0"}));
  ASSERT_EQ(g.marks.size(), 5u);
  const int pixels[] = {10, 130, 250, 370, 490};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(g.marks[i].pixel, pixels[i]);
    EXPECT_EQ(g.marks[i].zero, i == 2);
  }
  // Minor ticks every 0.1, starting one below the first multiple on x.
  ASSERT_FALSE(g.minor.empty());
  EXPECT_DOUBLE_EQ(g.minor.front().value, -1.1);
  EXPECT_NEAR(g.minor.back().value, 1.0, 1e-12);
}

TEST(Grid, ZeroToHundredStepsByTenFromZero) {
  const FrameLayout L = Frame(600, 300);  // bound 10
  const PlotMap m = MapOf(L, 0, 100, -1, 1);
  const AxisGrid g = BuildAxisGrid(Axis::X, L, m, 0);
  EXPECT_EQ(g.step, 10.0);
  EXPECT_EQ(g.first, 0.0);
  EXPECT_EQ(LabelsOf(g), (std::vector<std::string>{"0", "10", "20", "30", "40", "50", "60", "70",
                                                   "80", "90", "100"}));
}

TEST(Grid, PositiveMinimumOnAGridPositionIsSkipped) {
  const FrameLayout L = Frame(480, 300);
  const PlotMap m = MapOf(L, 2, 4, -1, 1);
  const AxisGrid g = BuildAxisGrid(Axis::X, L, m, 1);
  EXPECT_EQ(g.step, 0.5);
  EXPECT_EQ(g.first, 2.5);
  EXPECT_EQ(LabelsOf(g), (std::vector<std::string>{"2.5", "3.0", "3.5", "4.0"}));
  EXPECT_EQ(FirstGridPosition(-1, 0.5, 0.002), -1.0);
  EXPECT_EQ(FirstGridPosition(-0.9, 0.5, 0.002), -0.5);
  EXPECT_EQ(FirstGridPosition(-0.999, 0.5, 0.002), -1.0);  // within the tolerance below
  EXPECT_EQ(FirstGridPosition(0.3, 0.5, 0.001), 0.5);
}

TEST(Grid, LabelsThatReadAlikeRaiseThePrecision) {
  const FrameLayout L = Frame(1200, 300);  // bound 20: step 0.05 on 0..1
  const PlotMap m = MapOf(L, 0, 1, -1, 1);
  const AxisGrid g = BuildAxisGrid(Axis::X, L, m, 1);
  EXPECT_EQ(g.step, 0.05);
  EXPECT_EQ(g.precision, 2);
  const auto labels = LabelsOf(g);
  ASSERT_EQ(labels.size(), 21u);
  EXPECT_EQ(labels[0], "0.0");
  EXPECT_EQ(labels[1], "0.05");
  EXPECT_EQ(labels[2], "0.10");
  EXPECT_EQ(labels[3], "0.15");
  EXPECT_EQ(labels[20], "1.00");

  // The raise stops after 8, which switches to the exponent format.
  EXPECT_EQ(RaiseLabelPrecision(0, 1e-9, 1e-8, 1e-11, 1), 8);
  // Labels off: the precision stays as it was.
  FrameLayout off = L;
  off.labels = 0;
  const AxisGrid h = BuildAxisGrid(Axis::X, off, m, 1);
  EXPECT_EQ(h.precision, 1);
  EXPECT_TRUE(h.minor.empty());
  EXPECT_EQ(h.marks.front().label, "");
}

TEST(Grid, StepWhenNoCandidateFits) {
  // Span 2 with room for less than 0.4 intervals: the coarsest candidate, 5.
  EXPECT_EQ(GridStep(-1, 1, 0.3L), 5.0);
  EXPECT_EQ(GridStep(0, 300, 0.0L), 500.0);
  EXPECT_EQ(GridStep(0, 300, -2.0L), 500.0);
  EXPECT_DOUBLE_EQ(GridStep(0, 0.05, 0.0L), 0.5);
  EXPECT_EQ(GridStep(0, 300, 100.0L), 5.0);  // 0.05 * 100 gives 60 intervals
}

TEST(Grid, YAxisZeroIsStrictAndMinorTicksStartAtTheMultiple) {
  const FrameLayout L = Frame(480, 208);  // y bound 10
  const PlotMap m = MapOf(L, -1, 1, -1, 1);
  const AxisGrid g = BuildAxisGrid(Axis::Y, L, m, 1);
  EXPECT_EQ(g.step, 0.2);
  EXPECT_EQ(g.marks.front().pixel, 10 + 208);  // Ymin at the bottom
  int zeros = 0;
  for (const auto& mark : g.marks) zeros += mark.zero ? 1 : 0;
  EXPECT_EQ(zeros, 1);
  // -5 / 0.2 is -24.99.. in extended precision and truncates to -24: the y ticks start at
  // -0.96, the x ticks (one more below) at -1.
  EXPECT_NEAR(g.minor.front().value, -0.96, 1e-12);
  EXPECT_NEAR(FirstMinorTick(Axis::X, -1, 0.2), -1.0, 1e-12);
  EXPECT_DOUBLE_EQ(FirstMinorTick(Axis::Y, 0.5, 0.2), 0.52);
  EXPECT_DOUBLE_EQ(FirstMinorTick(Axis::X, 0.5, 0.2), 0.52);

  EXPECT_EQ(GridLabel(0.002, 1, 0.002), "0.0");
  EXPECT_EQ(GridLabel(0.0021, 3, 0.002), "0.002");
  EXPECT_EQ(GridLabel(1e-9, 0, 0.002), "0");
}

TEST(Grid, ACandidateExactlyAtTheBoundPassesOnBothAxes) {
  // y: h_out / (1.3 * th) = 52 / 13 = 4, and the step 0.5 gives exactly 4 intervals on
  // -1 .. 1 (and 5 on 0 .. 20); one pixel less and it no longer fits.
  FrameLayout L = Frame(480, 52);
  L.th = 10;
  EXPECT_EQ(BuildAxisGrid(Axis::Y, L, MapOf(L, -1, 1, -1, 1), 1).step, 0.5);
  EXPECT_EQ(BuildAxisGrid(Axis::Y, L, MapOf(L, -1, 1, 0, 20), 1).step, 5.0);
  L.h_out = 51;
  EXPECT_EQ(BuildAxisGrid(Axis::Y, L, MapOf(L, -1, 1, -1, 1), 1).step, 1.0);

  // x: w_out / (1.2 * lwx) = 48 / 12 = 4 likewise.
  FrameLayout W = Frame(48, 300);
  W.lwx = 10;
  EXPECT_EQ(BuildAxisGrid(Axis::X, W, MapOf(W, -1, 1, -1, 1), 1).step, 0.5);
  EXPECT_EQ(BuildAxisGrid(Axis::X, W, MapOf(W, 0, 20, -1, 1), 1).step, 5.0);
  EXPECT_EQ(BuildAxisGrid(Axis::X, W, MapOf(W, 0, 0.2, -1, 1), 1).step, 0.05);
  W.w_out = 47;
  EXPECT_EQ(BuildAxisGrid(Axis::X, W, MapOf(W, -1, 1, -1, 1), 1).step, 1.0);
}

namespace {

void ExpectSameGrid(const AxisGrid& a, const AxisGrid& b) {
  EXPECT_EQ(a.step, b.step);
  EXPECT_EQ(a.precision, b.precision);
  ASSERT_EQ(a.marks.size(), b.marks.size());
  for (size_t i = 0; i < a.marks.size(); ++i) {
    EXPECT_EQ(a.marks[i].pixel, b.marks[i].pixel);
    EXPECT_EQ(a.marks[i].label, b.marks[i].label);
  }
  ASSERT_EQ(a.minor.size(), b.minor.size());
  for (size_t i = 0; i < a.minor.size(); ++i) EXPECT_EQ(a.minor[i].pixel, b.minor[i].pixel);
}

}  // namespace

TEST(Grid, LabelPrecisionStopsAtTheExponentFormatAndARedrawChangesNothing) {
  // Limits -100000 .. 1 cut the range 0.9999999 .. 2 to a span of 1e-7, whose labels read
  // alike even in the exponent format.
  AxisState x;
  x.limitMax = 1;
  ASSERT_TRUE(ApplyRange(x, 0.9999999, 2));
  FrameInput in;
  in.width = 800;
  in.height = 500;
  in.textHeight = 19;
  in.nameXWidth = 9;
  in.digitWidth = 8;
  in.xmin = x.min;
  in.xmax = x.max;
  in.precisionX = x.precision;
  const ChartFrame first = BuildChartFrame(in);
  EXPECT_EQ(first.x.precision, 8);
  EXPECT_EQ(first.x.marks.front().label, "9.999999e-01");
  // The frame is laid out for the precision it keeps: drawn again with it, nothing moves.
  for (int redraw = 0; redraw < 4; ++redraw) {
    in.precisionX = first.x.precision;
    in.precisionY = first.y.precision;
    const ChartFrame again = BuildChartFrame(in);
    EXPECT_EQ(again.layout.xb_net, first.layout.xb_net);
    EXPECT_EQ(again.layout.w_out, first.layout.w_out);
    EXPECT_EQ(again.layout.lwx, first.layout.lwx);
    ExpectSameGrid(again.x, first.x);
    ExpectSameGrid(again.y, first.y);
  }
  EXPECT_EQ(RaiseLabelPrecision(0.9999999, 2e-8, 1, 1e-10, 8), 8);
  EXPECT_EQ(RaiseLabelPrecision(0.9999999, 2e-8, 1, 1e-10, 12), 8);

  // A raise that widens the labels so much that a coarser step follows: the frame settles
  // on the step its labels fit, in one redraw.
  FrameInput wide = in;
  wide.width = 1400;
  wide.xmin = 0;
  wide.xmax = 1;
  wide.precisionX = 1;
  const ChartFrame settled = BuildChartFrame(wide);
  wide.precisionX = settled.x.precision;
  ExpectSameGrid(BuildChartFrame(wide).x, settled.x);
}

TEST(Grid, FirstMinorTickIsAWholeNumberOfTheWalksSteps) {
  // x from -4.034 with the step 0.01: the first tick is -4.034 itself and sits on the plot
  // area's left edge. Placed with the unrounded fifth of the step it fell one unit in the
  // last place below, one pixel left of the edge.
  PlotMap m;
  m.x0_out = 10;
  m.w_out = 500;
  m.xmin = -4.034;
  m.xmax = -3.934;
  const double t = FirstMinorTick(Axis::X, m.xmin, 0.01);
  EXPECT_EQ(t, -4.034);
  EXPECT_EQ(m.MathToPhisX(t), 10);
  const FrameLayout L = Frame(720, 300);  // bound 12: ten intervals of 0.01
  const AxisGrid g = BuildAxisGrid(Axis::X, L, MapOf(L, -4.034, -3.934, -1, 1), 2);
  ASSERT_EQ(g.step, 0.01);
  ASSERT_FALSE(g.minor.empty());
  EXPECT_EQ(g.minor.front().pixel, L.x0_out);

  // Over many ranges starting on a tick of the lattice, on both axes and both sides of
  // zero: the first tick lies where the walk's own step puts it, at a whole number of
  // steps from zero.
  int ranges = 0;
  for (double step : {0.001, 0.01, 0.02, 0.05, 0.1, 0.5, 2.0, 50.0}) {
    const double walk = MinorTickStep(step);
    for (int j = -3000; j <= 3000; j += 7) {
      char text[64];
      std::snprintf(text, sizeof text, "%.10f", j * step / 5);
      PlotMap p;
      p.x0_out = 10;
      p.w_out = 500;
      p.xmin = std::strtod(text, nullptr);
      p.xmax = p.xmin + 10 * step;
      for (Axis axis : {Axis::X, Axis::Y}) {
        const double first = FirstMinorTick(axis, p.xmin, step);
        const long double n = std::round(static_cast<long double>(first) / walk);
        const double reference = static_cast<double>(n * walk);
        EXPECT_EQ(p.MathToPhisX(first), p.MathToPhisX(reference)) << p.xmin << " " << step;
        ++ranges;
      }
    }
  }
  EXPECT_GT(ranges, 10000);
}
