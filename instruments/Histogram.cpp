#include "instruments/Histogram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/DiagramGeometry.h"
#include "instruments/Density.h"
#include "model/Generator.h"
#include "model/Parallel.h"
#include "model/Run.h"

namespace instruments {

// ---- The grid ------------------------------------------------------------------------------

double ReestimatedInputSko(int kind, const double* samples, double count, double binWidth,
                           double mean, double sko) {
  double root;
  if (kind == model::KindUniformNoise) {
    root = std::sqrt(12.0);
  } else if (kind == model::KindGaussianNoise) {
    root = std::sqrt(6.28);
  } else {
    return sko;
  }
  const double w = DensityAt(samples, binWidth, mean, count);
  // An empty window at the mean says nothing about the spread: keep the run's value.
  if (!(w > 0)) return sko;
  return 1 / (w * root);
}

namespace {

// The quotient of two doubles in extended precision, truncated toward zero. Every caller's
// quotient is finite and far below 2^63.
long double TruncatedQuotient(long double a, long double b) {
  return std::trunc(a / b);
}

// k, R, n and the ends of the grid from the half-span base X and the width h.
HistogramGrid Grid(double mean, double X, double h) {
  HistogramGrid g;
  g.X = X;
  g.h = h;
  g.k = static_cast<double>(TruncatedQuotient(X, h));
  g.R = (g.k + 0.5) * g.h;
  if (2 * g.R < g.h) g.R = 3 * g.h;
  // trunc(2R/h + 1) > MaxHistogramBins exactly when the quotient reaches MaxHistogramBins + 1.
  const long double bins = std::trunc(2 * static_cast<long double>(g.R) / g.h + 1);
  if (bins > MaxHistogramBins) {
    g.n = MaxHistogramBins;
    g.h = static_cast<double>(2 * static_cast<long double>(g.R) / (MaxHistogramBins - 1));
  } else {
    g.n = static_cast<int>(bins);
  }
  g.xmin = mean - g.R;
  g.xmax = mean + g.R;
  // The same running sum as the bins' centres (HistogramBinsPlain, SortedBinBounds).
  double c = g.xmin;
  for (int i = 1; i < g.n; ++i) c += g.h;
  // A width below the resolution of the centres would leave them all at xmin, an interval the
  // chart cannot bind: the bars then spread to xmax as before.
  g.lastCentre = c > g.xmin ? c : g.xmax;
  return g;
}

}  // namespace

HistogramGrid PlanHistogram(double mean, double sko, const HistogramRequest& request, bool input) {
  if (!std::isfinite(sko)) sko = 0;  // no spread known: the grid of a constant
  double X = 5 * sko;
  double h = request.automatic ? 0.1 * sko : request.binWidth;
  // A deviation too small to give the chart a visible span (it refuses ranges narrower than
  // its narrowest one, and a span below the resolution of the mean gives no range at all)
  // is drawn as a zero one.
  bool tooNarrow = false;
  if (h != 0) {
    const HistogramGrid g = Grid(mean, X, h);
    if (g.xmax - g.xmin >= chart::MinSpan) return g;
    tooNarrow = true;
  }
  h = 0.1;
  if (input) X = 1.0;
  HistogramGrid g = Grid(mean, X, h);
  g.tooNarrow = tooNarrow;
  return g;
}

// ---- The bins ------------------------------------------------------------------------------

int SortedBinBounds(double xmin, double h, int n, double* lo, double* hi, double* sorted,
                    int* loPlace, int* hiPlace) {
  double c = xmin;
  for (int i = 0; i < n; ++i) {
    // The same expressions as in DensityAt.
    lo[i] = c - h * 0.5;
    hi[i] = c + h * 0.5;
    c += h;
  }
  // The centres never decrease, so neither do the lower nor the upper bounds: one merge.
  int a = 0, u = 0, m = 0;
  while (a < n || u < n) {
    const bool takeLo = u >= n || (a < n && lo[a] <= hi[u]);
    const double v = takeLo ? lo[a] : hi[u];
    if (m == 0 || sorted[m - 1] != v) sorted[m++] = v;
    if (takeLo) {
      loPlace[a++] = m - 1;
    } else {
      hiPlace[u++] = m - 1;
    }
  }
  return m;
}

void HistogramBinsPlain(const double* samples, double count, double xmin, double h, int n,
                        double* value) {
  double c = xmin;
  for (int i = 0; i < n; ++i) {
    value[i] = DensityAt(samples, h, c, count);
    c += h;
  }
}

// A bin [lo, hi) holds (number of samples >= lo) - (number >= hi), exactly, whatever the
// rounding of the bounds makes of neighbouring bins (an overlap or a gap of a few units in
// the last place). Nearly every sample lies where only its own bin holds it: above the upper
// bound of the bin before and below the lower bound of the bin after. Those samples are
// counted per bin directly, after one multiplication finds the bin. The few others (on the
// bounds, outside every bin, NaN) are ranked among the distinct bounds by a binary search,
// rank(x) = the number of bounds at or below x, so that x >= bound j exactly when
// rank(x) > j; a NaN is at or above no bound, and has rank 0.
namespace {

// The samples of bin i that no other bin holds: a <= x < b.
struct Clear {
  double a, b;
};

constexpr int MaxBounds = 2 * MaxHistogramBins;

// The bounds of the bins and what is counted against them. Static, so that a histogram
// allocates nothing (fresh pages cost more than the counting); one histogram at a time.
struct Workspace {
  double lo[MaxHistogramBins], hi[MaxHistogramBins];
  Clear clear[MaxHistogramBins];
  double sorted[MaxBounds];                                  // the distinct bounds, ascending
  int m;                                                     // how many
  int loPlace[MaxHistogramBins], hiPlace[MaxHistogramBins];  // each bin's bounds in `sorted`
  // Per half of the samples: per bin the samples only it holds, per rank the others.
  std::uint32_t inBin[2][MaxHistogramBins];
  std::uint32_t ranks[2][MaxBounds + 1];
  long long atOrAbove[MaxBounds + 1];
};
Workspace work;

void PrepareBounds(Workspace& w, double xmin, double h, int n) {
  w.m = SortedBinBounds(xmin, h, n, w.lo, w.hi, w.sorted, w.loPlace, w.hiPlace);
  for (int i = 0; i < n; ++i) {
    w.clear[i].a = i > 0 ? std::max(w.lo[i], w.hi[i - 1]) : w.lo[i];
    w.clear[i].b = i + 1 < n ? std::min(w.hi[i], w.lo[i + 1]) : w.hi[i];
  }
}

// Counts x[from .. to) into half `part` of the workspace.
void Count(Workspace& w, int n, double h, const double* x, long long from, long long to, int part) {
  const Clear* clear = w.clear;
  const int lastBin = n - 1;
  const double first = w.lo[0];
  const double perBin = 1 / h;  // only for the guess of a sample's bin
  const double* sortedBegin = w.sorted;
  const double* sortedEnd = w.sorted + w.m;
  std::uint32_t* inBin = w.inBin[part];
  std::uint32_t* ranks = w.ranks[part];
  std::fill(inBin, inBin + n, 0);
  std::fill(ranks, ranks + w.m + 1, 0);
  for (long long k = from; k < to; ++k) {
    const double v = x[k];
    // The bin v falls in by arithmetic (any bin would do: the test below decides).
    const double t = (v - first) * perBin;
    int i = 0;
    if (t >= 0) i = t < lastBin ? static_cast<int>(t) : lastBin;  // false for a NaN
    if (clear[i].a <= v && v < clear[i].b) {
      ++inBin[i];
    } else if (!std::isnan(v)) {
      ++ranks[std::upper_bound(sortedBegin, sortedEnd, v) - sortedBegin];
    }  // a NaN would have rank 0, which counts in no bin
  }
}

void Bins(const double* samples, double count, double xmin, double h, int n, double* value,
          bool twoThreads) {
  if (n <= 0) return;
  if (n > MaxHistogramBins) {
    HistogramBinsPlain(samples, count, xmin, h, n, value);
    return;
  }
  Workspace& w = work;
  PrepareBounds(w, xmin, h, n);
  const long long total = SamplesExamined(count);
  // A worker thread pays for itself only over a long realization.
  const bool split = twoThreads && total >= 65536 && model::SecondCoreAvailable();
  if (split) {
    const long long half = total / 2;
    model::RunOnTwoThreads([&] { Count(w, n, h, samples, 0, half, 0); },
                           [&] { Count(w, n, h, samples, half, total, 1); });
  } else {
    Count(w, n, h, samples, 0, total, 0);
  }
  // atOrAbove[j] = number of ranked samples >= bound j = those with a rank above j.
  long long sum = 0;
  w.atOrAbove[w.m] = 0;
  for (int j = w.m; j >= 1; --j) {
    sum += w.ranks[0][j] + (split ? w.ranks[1][j] : 0);
    w.atOrAbove[j - 1] = sum;
  }
  for (int i = 0; i < n; ++i) {
    const long long counted = static_cast<long long>(w.inBin[0][i]) + (split ? w.inBin[1][i] : 0) +
                              w.atOrAbove[w.loPlace[i]] - w.atOrAbove[w.hiPlace[i]];
    // The same two divisions as DensityAt.
    const double fraction = static_cast<double>(counted) / count;
    value[i] = fraction / h;
  }
}

}  // namespace

void HistogramBins(const double* samples, double count, double xmin, double h, int n,
                   double* value) {
  Bins(samples, count, xmin, h, n, value, true);
}

void HistogramBinsOneThread(const double* samples, double count, double xmin, double h, int n,
                            double* value) {
  Bins(samples, count, xmin, h, n, value, false);
}

// ---- The laws ------------------------------------------------------------------------------

double NormalLaw(double x, double m, double s) {
  if (s == 0) return 0;
  const double d = x - m;
  const double v = std::exp(-(d * d) / (2 * (s * s))) / (std::sqrt(6.283185307179586) * s);
  // Only a deviation below 1e-154 (its square vanishes) could make this 0/0 or infinite.
  return std::isfinite(v) ? v : 0;
}

double UniformLaw(double x, double m, double s) {
  if (s == 0) return 0;
  const double W = std::sqrt(3.0) * 2 * s;
  if (!(std::fabs(x - m) <= W / 2)) return 0;
  const double v = 1 / W;
  return std::isfinite(v) ? v : 0;
}

double NormalLawIn(double x) {
  return NormalLaw(x, BenchReadings::InputMean, BenchReadings::InputSko);
}
double NormalLawOut(double x) {
  return NormalLaw(x, BenchReadings::OutputMean, BenchReadings::OutputSko);
}
double UniformLawIn(double x) {
  return UniformLaw(x, BenchReadings::InputMean, BenchReadings::InputSko);
}
double UniformLawOut(double x) {
  return UniformLaw(x, BenchReadings::OutputMean, BenchReadings::OutputSko);
}

}  // namespace instruments
