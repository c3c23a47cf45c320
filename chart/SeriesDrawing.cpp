#include "chart/SeriesDrawing.h"

#include <cmath>

namespace chart {
namespace {

// The zero line across the net when it lies strictly inside, then its row clamped to the
// rows where stems and bars may start.
int ZeroRow(PenSink& pen, const NetRect& net, const PlotMap& map) {
  int y0 = map.MathToPhisY(0);
  if (net.yb < y0 && y0 < net.ye) {
    pen.MoveTo(net.xb, y0);
    pen.LineTo(net.xe, y0);
  }
  if (y0 < net.yb + 1) y0 = net.yb + 1;
  if (y0 > net.ye - 2) y0 = net.ye - 2;
  return y0;
}

int ClampRow(int y, const NetRect& net) {
  if (y < net.yb + 1) return net.yb + 1;
  if (y > net.ye - 2) return net.ye - 2;
  return y;
}

// Walks the samples forward from xmin, then backward from xmin (sample 0 is visited by
// both), calling visit(i, x) for each sample whose extent [x - half, x + half] touches
// the view [xL, xR]. Positions advance by repeated addition of the step. Every sample of
// the view is visited, read or not: this is the plain walk, kept for series whose reads
// are not plain values and as the reference of the walk below.
template <typename Visit>
void WalkEverySample(const TKeeper& k, double xL, double xR, double half, Visit visit) {
  const double step = k.GetStep();
  double x = k.GetXmin();
  int i = 0;
  for (long long n = 0; x - half <= xR && n < MaxSeriesWalk; ++n) {
    if (!(x + half < xL)) visit(i, x);
    ++i;
    const double next = x + step;
    if (next == x) break;
    x = next;
  }
  x = k.GetXmin();
  i = 0;
  for (long long n = 0; x + half >= xL && n < MaxSeriesWalk; ++n) {
    if (!(x - half > xR)) visit(i, x);
    --i;
    const double next = x - step;
    if (next == x) break;
    x = next;
  }
}

// The indices whose read can give anything but a silent 0: lo..hi (empty when lo > hi).
// Every other sample reads 0 without a message. plain: the series needs the plain walk
// (reads that show a message, or a periodic series that repeats without end).
struct DataIndices {
  bool plain = false;
  int lo = 0, hi = -1;
};

DataIndices DataIndicesOf(const TKeeper& k) {
  const GraphType t = k.GetType();
  if (t != GraphType::Discret && t != GraphType::DiscretPeriodic && t != GraphType::Histogram)
    return {true};
  if (t == GraphType::DiscretPeriodic && k.GetPeriod() > 0) return {true};
  if (k.GetStorageKind() == StorageKind::None || k.GetCount() <= 0) return {};
  const int hi = k.GetCount() - 1;
  return {false, k.GetSymmetry() == Symmetry::None ? 0 : -hi, hi};
}

// The empty samples of one side beyond the data, from sample i at x on (the plain walk has
// taken `taken` steps to reach it), going in direction dir (+1 forward, -1 backward) while
// they can touch the view. visit(i, x) is called for one sample in each pixel column the
// samples fall into: the others of a column would repeat its calls. As far as the plain
// walk reaches, the samples are found by its own repeated addition, so every visit is one
// of its own; beyond its reach (a view far wider than the samples) one sample per column
// is reached by whole steps at a time.
template <typename Visit>
void WalkEmptyMarks(const TKeeper& k, const PlotMap& map, double xL, double xR, long long i,
                    double x, long long taken, int dir, Visit visit) {
  const double step = dir * k.GetStep();
  auto inView = [&](double v) { return dir > 0 ? v <= xR : v >= xL; };
  auto beforeView = [&](double v) { return dir > 0 ? v < xL : v > xR; };
  auto index = [](long long j) {
    // Far beyond the data every index reads 0; an int keeps it there.
    if (j > 2147483647LL) return 2147483647;
    if (j < -2147483647LL) return -2147483647;
    return static_cast<int>(j);
  };
  // Samples short of `same` (in the walk's direction) are still in lastColumn: pixel
  // columns grow with x, and the margin keeps clear of the rounding of the transforms.
  const double span = map.xmax - map.xmin;
  int lastColumn = 0;
  double same = 0;
  bool any = false;
  while (inView(x)) {
    if (!beforeView(x) && !(any && (dir > 0 ? x < same : x > same))) {
      const int column = map.MathToPhisX(x);
      if (!any || column != lastColumn) {
        visit(index(i), x);
        lastColumn = column;
        any = true;
        const double edge = map.PhisToMathX(dir > 0 ? column + 1 : column);
        same = edge - dir * (std::fabs(edge) + span) * 1e-12;
      }
    }
    if (taken < MaxSeriesWalk) {
      ++taken;
    } else {
      // Whole steps towards the view's edge, or towards the next column (the left edge of
      // the next column forward, of this one backward), stopping one short of it.
      const double target = beforeView(x) ? (dir > 0 ? xL : xR)
                                          : map.PhisToMathX(dir > 0 ? lastColumn + 1 : lastColumn);
      const long double j = std::floor((static_cast<long double>(target) - x) / step) - 1;
      if (j >= 1) {
        x = static_cast<double>(x + j * static_cast<long double>(step));
        i += dir * static_cast<long long>(j);
      }
    }
    const double next = x + step;
    if (next == x) break;
    x = next;
    i += dir;
  }
}

// The walk of the samples that can draw something: the samples of the data that touch the
// view, each at the place and with the calls the plain walk gives it. Samples beyond the
// data read 0 and draw only along the zero row, which the zero line already covers (or,
// off the net, nothing); only circle markers on the zero row make them visible, and those
// are visited once per pixel column (marks). The cost follows the data and the view's
// pixels, not the view's extent in steps.
template <typename Visit>
void WalkVisibleSamples(const TKeeper& k, const PlotMap& map, double xL, double xR, double half,
                        bool marks, Visit visit) {
  const DataIndices data = DataIndicesOf(k);
  if (data.plain) {
    WalkEverySample(k, xL, xR, half, visit);
    return;
  }
  const double step = k.GetStep();
  for (int dir : {1, -1}) {
    double x = k.GetXmin();
    int i = 0;
    long long n = 0;
    bool beyondData = false;
    for (; n < MaxSeriesWalk; ++n) {
      if (dir > 0 ? x - half > xR : x + half < xL) break;
      if (dir > 0 ? i > data.hi : i < data.lo) {
        beyondData = true;
        break;
      }
      if (dir > 0 ? !(x + half < xL) : !(x - half > xR)) visit(i, x);
      i += dir;
      const double next = x + dir * step;
      if (next == x) break;
      x = next;
    }
    if (beyondData && marks) WalkEmptyMarks(k, map, xL, xR, i, x, n, dir, visit);
  }
}

// ---- Extremes of a curve's columns ----------------------------------------------------------
//
// Column px spans [ColumnEdgeX(px), ColumnEdgeX(px + 1)). It holds the samples i of 0..n-1
// whose x = xmin + i*step lies there and, with a symmetry, the mirror images of samples
// 1..n-1 at xmin - i*step (with the sample's value, negated for Odd); sample 0 lies on the
// mirror and is counted once. Both positions are monotonic in i, so each column holds a run
// of indices of either kind.

// The curve reads the bound array itself (not a function, a discrete read or a period).
bool ReadsArraySamples(const TKeeper& k) {
  const GraphType t = k.GetType();
  return k.GetStorageKind() == StorageKind::Array && k.GetCount() > 1 && k.GetStep() > 0 &&
         t != GraphType::Discret && t != GraphType::DiscretPeriodic && !k.IsPeriodicWrap();
}

double OwnX(const TKeeper& k, long long i) {
  return k.GetXmin() + static_cast<double>(i) * k.GetStep();
}
double ImageX(const TKeeper& k, long long i) {
  return k.GetXmin() - static_cast<double>(i) * k.GetStep();
}

// The vertical line of one column over the extremes of its samples.
void StrokeColumn(PenSink& pen, int px, long long count, const SampleExtent& e, const NetRect& net,
                  const PlotMap& map) {
  if (count < 2 || e.Empty()) return;
  int top = map.MathToPhisY(e.max);
  int bottom = map.MathToPhisY(e.min);
  if (bottom < net.yb + 1 || top > net.ye - 1) return;  // all above, or all below the net
  if (top < net.yb + 1) top = net.yb + 1;
  if (bottom > net.ye - 1) bottom = net.ye - 1;
  pen.MoveTo(px, top);
  pen.LineTo(px, bottom + 1);  // the end point is not drawn: the smallest's row is
}

// The first index of first..last at which reached(i) holds (it is false below some index
// and true from it on), last + 1 when it never does. The guess is usually right or one
// off; only rounding far out of proportion leaves it to a binary search over them all.
template <typename Reached>
long long FirstReached(long long first, long long last, long double guess, Reached reached) {
  long long i = first;
  if (guess > last + 1) {
    i = last + 1;
  } else if (guess > first) {
    i = static_cast<long long>(guess);
  }
  for (int tries = 0; tries < 3; ++tries) {
    const bool here = i > last || reached(i);
    const bool before = i > first && reached(i - 1);
    if (here && !before) return i;
    i += here ? -1 : 1;
  }
  long long lo = first, hi = last + 1;
  while (lo < hi) {
    const long long mid = lo + (hi - lo) / 2;
    if (reached(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// Where the samples left of x end: the first own sample at or right of x, and the first
// image (counting from 1) left of x.
struct EdgeIndices {
  long long own, image;
};

EdgeIndices IndicesAt(const TKeeper& k, double x) {
  const long long last = k.GetCount() - 1;
  const long double d = (static_cast<long double>(x) - k.GetXmin()) / k.GetStep();
  const long long own =
      FirstReached(0, last, std::ceil(d), [&](long long i) { return OwnX(k, i) >= x; });
  const long long image =
      FirstReached(1, last, std::floor(-d) + 1, [&](long long i) { return ImageX(k, i) < x; });
  return {own, image};
}

// The extremes of the columns found through the indices at their edges and the keeper's
// pyramid: the cost follows the columns, not the samples.
void StrokeColumnsByIndex(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map) {
  const bool images = k.GetSymmetry() != Symmetry::None;
  const bool odd = k.GetSymmetry() == Symmetry::Odd;
  EdgeIndices left = IndicesAt(k, map.ColumnEdgeX(net.xb + 1));
  for (int px = net.xb + 1; px <= net.xe - 1; ++px) {
    const EdgeIndices right = IndicesAt(k, map.ColumnEdgeX(px + 1));
    long long count = right.own - left.own;
    SampleExtent e = k.GetSampleExtent(static_cast<int>(left.own), static_cast<int>(right.own - 1));
    if (images && left.image > right.image) {
      // Images right.image .. left.image - 1 (their x falls as the index grows).
      count += left.image - right.image;
      const SampleExtent m =
          k.GetSampleExtent(static_cast<int>(right.image), static_cast<int>(left.image - 1));
      e.Add(odd ? SampleExtent{-m.max, -m.min} : m);
    }
    StrokeColumn(pen, px, count, e, net, map);
    left = right;
  }
}

// The plain reading: every sample and image compared with the column edges in turn.
void StrokeColumnsBySample(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map) {
  const long long n = k.GetCount();
  const bool images = k.GetSymmetry() != Symmetry::None;
  const double sign = k.GetSymmetry() == Symmetry::Odd ? -1.0 : 1.0;
  long long i = 0;      // the next own sample, going right
  long long j = n - 1;  // the next image, going right as j falls
  for (int px = net.xb + 1; px <= net.xe - 1; ++px) {
    const double e0 = map.ColumnEdgeX(px);
    const double e1 = map.ColumnEdgeX(px + 1);
    long long count = 0;
    SampleExtent e;
    while (i < n && OwnX(k, i) < e0) ++i;
    for (; i < n && OwnX(k, i) < e1; ++i, ++count) e.Add(k.GetSample(static_cast<int>(i)));
    if (images) {
      while (j >= 1 && ImageX(k, j) < e0) --j;
      for (; j >= 1 && ImageX(k, j) < e1; --j, ++count)
        e.Add(sign * k.GetSample(static_cast<int>(j)));
    }
    StrokeColumn(pen, px, count, e, net, map);
  }
}

}  // namespace

void DrawAnalog(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map,
                SeriesWalk walk) {
  // The first column starts where every later column would: on the clamp row when the
  // curve is outside the net, so no line ever comes in from beyond the net.
  int px = net.xb;
  const int first = map.MathToPhisY(k.GetValue(map.PhisToMathX(px)));
  pen.MoveTo(px, first < net.yb + 1 ? net.yb + 1 : (first > net.ye - 1 ? net.ye - 1 : first));
  for (px = net.xb + 1; px <= net.xe; ++px) {
    const int py = map.MathToPhisY(k.GetValue(map.PhisToMathX(px)));
    if (py < net.yb + 1) {
      pen.MoveTo(px, net.yb + 1);
    } else if (py > net.ye - 1) {
      pen.MoveTo(px, net.ye - 1);
    } else {
      pen.LineTo(px, py);
      pen.MoveTo(px, py);
    }
  }
  if (!ReadsArraySamples(k)) return;
  if (walk == SeriesWalk::EverySample) {
    StrokeColumnsBySample(pen, k, net, map);
  } else {
    StrokeColumnsByIndex(pen, k, net, map);
  }
}

void DrawDiscret(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map,
                 SeriesWalk walk) {
  const double xL = map.PhisToMathX(net.xb);
  const double xR = map.PhisToMathX(net.xe);
  const int y0 = ZeroRow(pen, net, map);
  const int zero = map.MathToPhisY(0);
  auto draw = [&](int i, double x) {
    const double v = k.GetValueDiscret(i);
    const int py0 = map.MathToPhisY(v);
    const int py = ClampRow(py0, net);
    const int px = map.MathToPhisX(x);
    pen.MoveTo(px, y0);
    pen.LineTo(px, py);
    if (k.IsMarked() && net.yb + 1 < py0 && py0 < net.ye - 2) {
      pen.Ellipse(px - 3, py - 3, px + 3, py + 3);
    }
  };
  if (walk == SeriesWalk::EverySample) {
    WalkEverySample(k, xL, xR, 0.0, draw);
  } else {
    // An empty sample is a stem of no length; its marker shows when the zero row does.
    const bool marks = k.IsMarked() && net.yb + 1 < zero && zero < net.ye - 2;
    WalkVisibleSamples(k, map, xL, xR, 0.0, marks, draw);
  }
}

void DrawRadio(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map) {
  for (int px = net.xb + 1; px <= net.xe; ++px) {
    const double v = k.GetValue(map.PhisToMathX(px));
    const int p1 = ClampRow(map.MathToPhisY(v), net);
    const int p2 = ClampRow(map.MathToPhisY(-v), net);
    pen.MoveTo(px, p1);
    pen.LineTo(px, p2);
  }
}

void DrawHistogram(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map,
                   SeriesWalk walk) {
  const int L = net.xb;
  const int R = net.xe;
  const double xL = map.PhisToMathX(L);
  const double xR = map.PhisToMathX(R);
  const int y0 = ZeroRow(pen, net, map);
  const double h = k.GetStep() / 2;
  auto draw = [&](int i, double c) {
    const double v = k.GetValueDiscret(i);
    const int row = map.MathToPhisY(v);
    const int top = ClampRow(row, net);
    const bool clipped = top != row;
    const int a = map.MathToPhisX(c - h);
    const int b = map.MathToPhisX(c + h);
    if (a >= L && b <= R) {
      // Wholly inside: both edges, the top unless it is beyond the net.
      pen.MoveTo(a, y0);
      pen.LineTo(a, top);
      if (clipped) {
        pen.MoveTo(b, top);
      } else {
        pen.LineTo(b, top);
      }
      pen.LineTo(b, y0);
    } else if (a < L && b > R) {
      // Wider than the view: the top only.
      if (!clipped) {
        pen.MoveTo(L, top);
        pen.LineTo(R, top);
      }
    } else if (a < L) {
      // Left edge outside the view.
      pen.MoveTo(L, top);
      if (clipped) {
        pen.MoveTo(b, top);
      } else {
        pen.LineTo(b, top);
      }
      pen.LineTo(b, y0);
    } else {
      // Right edge outside the view.
      pen.MoveTo(a, y0);
      pen.LineTo(a, top);
      if (!clipped) pen.LineTo(R, top);
    }
  };
  if (walk == SeriesWalk::EverySample) {
    WalkEverySample(k, xL, xR, h, draw);
  } else {
    WalkVisibleSamples(k, map, xL, xR, h, false, draw);
  }
}

}  // namespace chart
