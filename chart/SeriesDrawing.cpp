#include "chart/SeriesDrawing.h"

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
// both), calling visit(i, x) for each sample whose extent [x - before, x + after] touches
// the view [xL, xR]. Positions advance by repeated addition of the step.
template <typename Visit>
void WalkSamples(const TKeeper& k, double xL, double xR, double half, Visit visit) {
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

}  // namespace

void DrawAnalog(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map) {
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
}

void DrawDiscret(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map) {
  const double xL = map.PhisToMathX(net.xb);
  const double xR = map.PhisToMathX(net.xe);
  const int y0 = ZeroRow(pen, net, map);
  WalkSamples(k, xL, xR, 0.0, [&](int i, double x) {
    const double v = k.GetValueDiscret(i);
    const int py0 = map.MathToPhisY(v);
    const int py = ClampRow(py0, net);
    const int px = map.MathToPhisX(x);
    pen.MoveTo(px, y0);
    pen.LineTo(px, py);
    if (k.IsMarked() && net.yb + 1 < py0 && py0 < net.ye - 2) {
      pen.Ellipse(px - 3, py - 3, px + 3, py + 3);
    }
  });
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

void DrawHistogram(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map) {
  const int L = net.xb;
  const int R = net.xe;
  const double xL = map.PhisToMathX(L);
  const double xR = map.PhisToMathX(R);
  const int y0 = ZeroRow(pen, net, map);
  const double h = k.GetStep() / 2;
  WalkSamples(k, xL, xR, h, [&](int i, double c) {
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
  });
}

}  // namespace chart
