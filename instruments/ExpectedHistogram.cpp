#include "instruments/ExpectedHistogram.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "instruments/Histogram.h"
#include "instruments/SignalLaw.h"
#include "model/Parallel.h"

namespace instruments {

namespace {

// A cell of a monotone piece with this many bin bounds inside, or fewer, finds the crossing
// of each bound by a search on the characteristic (unless it is straight and narrow).
constexpr int DirectMax = 8;
// A straight cell narrow against the input law's Smoothness is spread over its bounds with
// the density taken as linear; from this many bounds on, as one polynomial over their range.
constexpr double SpreadWidth = 0.005;  // of the Smoothness length
constexpr int SpreadMin = 32;
// A cell is straight when its values at the middle and at the first quarter are this close
// (relative to its span) to the chord between its ends.
constexpr double StraightTolerance = 1e-9;
constexpr int MaxDepth = 200;
// Crossings are found to this fraction of the input law's Smoothness length.
constexpr double CrossingTolerance = 1e-11;

// ---- The bin bounds --------------------------------------------------------------------------

// The distinct bounds of the bins, ascending, and the place of each bin's two bounds among
// them.
struct Bounds {
  std::vector<double> b;
  std::vector<int> loPlace, hiPlace;
};

Bounds BoundsOf(double xmin, double h, int n) {
  std::vector<double> lo(n), hi(n);
  Bounds s;
  s.b.resize(2 * static_cast<size_t>(n));
  s.loPlace.resize(n);
  s.hiPlace.resize(n);
  s.b.resize(SortedBinBounds(xmin, h, n, lo.data(), hi.data(), s.b.data(), s.loPlace.data(),
                             s.hiPlace.data()));
  return s;
}

// ---- P(v < b_j) for every bound ----------------------------------------------------------------

// Gathers, for every bound b_j, the probability that the side's value lies below it, from
// three kinds of contribution: a mass below every bound from some j on (a difference array),
// a value at one bound, and a quadratic in t_j = (b_j - centre) / scale over a range of
// bounds (difference arrays of its coefficients, in a coordinate of order 1 over the grid).
class Accumulator {
 public:
  explicit Accumulator(const std::vector<double>& b)
      : b_(b),
        m_(static_cast<int>(b.size())),
        from_(m_ + 1),
        at_(m_),
        c0_(m_ + 1),
        c1_(m_ + 1),
        c2_(m_ + 1),
        centre_(0.5 * (b.front() + b.back())),
        scale_(std::max(0.5 * (b.back() - b.front()), std::numeric_limits<double>::min())) {}

  double Bound(int j) const { return b_[j]; }

  // The index of the first bound above y (m when there is none); `hint` is where the last
  // answer was, as nearby values come in runs.
  int Above(double y, int& hint) const {
    const int j = hint;
    if (j >= 0 && j <= m_ && (j == 0 || b_[j - 1] <= y) && (j == m_ || y < b_[j])) return j;
    hint = static_cast<int>(std::upper_bound(b_.begin(), b_.end(), y) - b_.begin());
    return hint;
  }

  void AddFrom(int j, double p) { from_[j] += p; }
  void AddAt(int j, double p) { at_[j] += p; }
  // p(t_j) = q0 + q1·t_j + q2·t_j² for j0 <= j < j1.
  void AddPolynomial(int j0, int j1, double q0, double q1, double q2) {
    c0_[j0] += q0;
    c1_[j0] += q1;
    c2_[j0] += q2;
    c0_[j1] -= q0;
    c1_[j1] -= q1;
    c2_[j1] -= q2;
  }
  // t = (b - centre) / scale for a value b.
  double Centre() const { return centre_; }
  double Scale() const { return scale_; }

  std::vector<double> Totals() const {
    std::vector<double> G(m_);
    double from = 0, c0 = 0, c1 = 0, c2 = 0;
    for (int j = 0; j < m_; ++j) {
      from += from_[j];
      c0 += c0_[j];
      c1 += c1_[j];
      c2 += c2_[j];
      const double t = (b_[j] - centre_) / scale_;
      G[j] = from + at_[j] + (c0 + (c1 + c2 * t) * t);
    }
    return G;
  }

 private:
  const std::vector<double>& b_;
  int m_;
  std::vector<double> from_, at_, c0_, c1_, c2_;
  double centre_, scale_;
};

// ---- One monotone piece ----------------------------------------------------------------------

// Adds the mass of an input interval on which `map` is monotone to the accumulator: its part
// below each bound. Cells are halved until each holds few bounds (then each crossing is
// found) or is straight and narrow (then spread as a whole); a cell that holds no bound
// lies below or above each one entirely.
template <class Map>
class Expectation {
 public:
  Expectation(const SignalLaw& law, const Map& map, Accumulator& acc)
      : law_(law), map_(map), acc_(acc), span_(law.High() - law.Low()) {}

  double T(double x) const { return map_(x); }
  double F(double x) { return law_.Cdf(x, cdfHint_); }

  // The piece runs from a to b (its first and last input), where the map takes Ta and Tb; its
  // mass is Fb - Fa.
  void Piece(double a, double b, double Ta, double Tb, double Fa, double Fb) {
    Cell(a, b, Ta, Tb, Fa, Fb, 0);
  }

 private:
  const SignalLaw& law_;
  const Map& map_;
  Accumulator& acc_;
  double span_;
  int cdfHint_ = 0, hint0_ = 0, hint1_ = 0;

  void Cell(double u, double v, double Tu, double Tv, double Fu, double Fv, int depth) {
    if (Tu == Tv) {  // constant: the whole mass at one value
      acc_.AddFrom(acc_.Above(Tu, hint0_), Fv - Fu);
      return;
    }
    const bool up = Tu < Tv;
    const int j0 = acc_.Above(up ? Tu : Tv, hint0_);
    const int j1 = acc_.Above(up ? Tv : Tu, hint1_);
    const double mid = u + 0.5 * (v - u);
    if (j0 == j1 || depth >= MaxDepth || !(mid > u && mid < v)) {
      acc_.AddFrom(j1, Fv - Fu);  // the bounds above the cell's values have all of it below
      Crossings(u, v, Tu, Tv, Fu, Fv, j0, j1, up);
      return;
    }
    const double Tm = T(mid), Fm = F(mid);
    if (v - u <= SpreadWidth * law_.Smoothness(mid) && Straight(u, v, Tu, Tm, Tv)) {
      acc_.AddFrom(j1, Fv - Fu);
      Spread(Tu, Tv, Fu, Fm, Fv, j0, j1, up);
    } else if (j1 - j0 <= DirectMax) {
      acc_.AddFrom(j1, Fv - Fu);
      Crossings(u, v, Tu, Tv, Fu, Fv, j0, j1, up);
    } else {
      Cell(u, mid, Tu, Tm, Fu, Fm, depth + 1);
      Cell(mid, v, Tm, Tv, Fm, Fv, depth + 1);
    }
  }

  // The map is a straight line over the cell: at its middle and its first quarter within
  // StraightTolerance of the span (the quarter catches a curve symmetric about the middle).
  bool Straight(double u, double v, double Tu, double Tm, double Tv) const {
    const double tol = StraightTolerance * std::fabs(Tv - Tu);
    return std::fabs(Tm - 0.5 * (Tu + Tv)) <= tol &&
           std::fabs(T(u + 0.25 * (v - u)) - (0.75 * Tu + 0.25 * Tv)) <= tol;
  }

  // The bounds j0 .. j1 - 1 lie within the cell's values: each gets the mass of the inputs
  // below its crossing (rising map) or above it (falling map).
  void Crossings(double u, double v, double Tu, double Tv, double Fu, double Fv, int j0, int j1,
                 bool up) {
    double l = u, Tl = Tu;
    if (up) {
      for (int j = j0; j < j1; ++j)
        acc_.AddAt(j, F(Crossing(l, Tl, v, Tv, acc_.Bound(j), up)) - Fu);
    } else {
      // Higher bounds cross earlier on a falling map: take them from the top.
      for (int j = j1 - 1; j >= j0; --j)
        acc_.AddAt(j, Fv - F(Crossing(l, Tl, v, Tv, acc_.Bound(j), up)));
    }
  }

  // Where, between l and r, the map first reaches beta (rising: T >= beta) or first falls
  // below it (falling: T < beta); the condition fails at l and holds at r. Regula falsi with
  // the Anderson-Björck step, kept a little way inside the bracket, and a halving whenever the
  // bracket has not halved in four steps; until the bracket is within CrossingTolerance of the
  // input law's Smoothness there (the mass it leaves open is far below any bin's) or two
  // neighbouring doubles. l and Tl end at the last place where the condition failed, a valid
  // start for the next bound in the order Crossings takes them.
  double Crossing(double& l, double& Tl, double r, double Tr, double beta, bool up) {
    const auto g = [&](double y) { return up ? y - beta : beta - y; };
    const auto holds = [&](double y) { return up ? y >= beta : y < beta; };
    const double xtol =
        CrossingTolerance * std::min({span_, law_.Smoothness(l), law_.Smoothness(r)});
    double gl = g(Tl), gr = g(Tr);
    int side = 0;  // +1: the last step moved r, -1: it moved l
    double before = r - l;
    for (int step = 0; step < 400 && r - l > xtol; ++step) {
      double x = r - gr * ((r - l) / (gr - gl));
      // A step that would stay within a few units in the last place of an end goes that far
      // in, so the next value lands on the other side of the crossing.
      const double nudge = std::max(
          0.5 * xtol,
          4 * (std::nextafter(std::fabs(r) + std::fabs(l), 1e300) - (std::fabs(r) + std::fabs(l))));
      if (r - l > 4 * nudge) x = std::clamp(x, l + nudge, r - nudge);
      if (step % 4 == 3) {
        if (r - l > 0.5 * before) x = l + 0.5 * (r - l);
        before = r - l;
      }
      if (!(x > l && x < r)) x = l + 0.5 * (r - l);
      if (!(x > l && x < r)) break;  // neighbours
      const double Tx = T(x), gx = g(Tx);
      if (holds(Tx)) {
        // The end kept twice has its value scaled down, so the next step reaches past it.
        if (side == 1) gl *= gr > gx && gx >= 0 ? 1 - gx / gr : 0.5;
        r = x;
        gr = gx;
        side = 1;
        if (up && gx == 0) {  // exactly on it: does the value just before still fail?
          const double p = std::nextafter(x, l);
          const double Tp = T(p);
          if (!holds(Tp)) {
            l = p;
            Tl = Tp;
            break;
          }
        }
      } else {
        if (side == -1) gr *= gl < gx && gx <= 0 ? 1 - gx / gl : 0.5;
        l = x;
        Tl = Tx;
        gl = gx;
        side = -1;
        if (!up && gx == 0) {  // exactly on it: does the value just after hold?
          const double p = std::nextafter(x, r);
          if (holds(T(p))) {
            r = p;
            break;
          }
        }
      }
    }
    return l + 0.5 * (r - l);
  }

  // A straight cell: the map carries s in [0, 1] along the cell to Tu + s·(Tv - Tu), and the
  // mass below s is the parabola m1·s + m2·s² through F at the ends and the middle (a linear
  // density). Few bounds take it one by one; many take it as a polynomial in
  // t = (beta - centre) / scale added over their range.
  void Spread(double Tu, double Tv, double Fu, double Fm, double Fv, int j0, int j1, bool up) {
    const double whole = Fv - Fu, half = Fm - Fu;
    const double m1 = 4 * half - whole, m2 = 2 * whole - 4 * half;
    // Rising: the part below the crossing; falling: the part above it.
    const double base = up ? 0 : whole, sign = up ? 1 : -1;
    if (j1 - j0 < SpreadMin) {
      for (int j = j0; j < j1; ++j) {
        const double s = (acc_.Bound(j) - Tu) / (Tv - Tu);
        acc_.AddAt(j, base + sign * (m1 + m2 * s) * s);
      }
      return;
    }
    const double s1 = acc_.Scale() / (Tv - Tu);
    const double s0 = (acc_.Centre() - Tu) / (Tv - Tu);
    acc_.AddPolynomial(j0, j1, base + sign * (m1 + m2 * s0) * s0, sign * (m1 + 2 * m2 * s0) * s1,
                       sign * m2 * s1 * s1);
  }
};

// ---- Where the characteristic jumps or turns -------------------------------------------------

// Calls cut(x, jump, reach) for each place strictly inside (lo, hi), ascending, where the
// characteristic changes branch: a turn or the end of a flat part at the exact double x, or a
// jump near x, with both branches certainly reached within `reach` either side.
template <class Cut>
void ForEachCut(const model::CircuitParams& p, double lo, double hi, Cut&& cut) {
  const auto at = [&](double x, bool jump, double reach) {
    if (x > lo && x < hi) cut(x, jump, reach);
  };
  switch (p.page) {
    case 0:  // flat up to x0
      at(p.x0, false, 0);
      break;
    case 1:  // flat outside [x1, x2]; a jump at x1 = x2
      at(std::min(p.x1, p.x2), false, 0);
      if (p.x1 != p.x2) at(std::max(p.x1, p.x2), false, 0);
      break;
    case 2:  // turns at 0
    case 3:
    case 5:  // the rational erf steps by about 2e-9 at 0 (its erf(0) is about 1e-9)
      at(0, false, 0);
      break;
    case 4:  // flat up to x0
      at(p.x05, false, 0);
      break;
    case 6: {  // cut to 0 where |x / a| passes 0.9999999999
      const double edge = std::fabs(p.a7) * 0.9999999999, reach = std::fabs(p.a7) * 1e-11;
      at(-edge, true, reach);
      at(edge, true, reach);
      break;
    }
    case 7: {  // a jump where 2x / D passes an odd whole number: x = (j + 1/2)·D
      const double D = std::fabs(p.D);
      if (!(D > 0)) break;
      const double first = std::floor(lo / D - 0.5), last = std::ceil(hi / D - 0.5);
      for (double j = first; j <= last; ++j) at((2 * j + 1) * (D * 0.5), true, 0.25 * D);
      break;
    }
    default:
      break;
  }
}

// The two neighbouring doubles between which the map jumps near t: `end` the last on the
// left branch, `next` the first on the right one. Each side is told by the branch value it
// is closer to (the values a reach either side). False when the map does not jump there.
template <class Map>
bool PinJump(const Map& map, double t, double reach, double& end, double& Tend, double& next,
             double& Tnext) {
  const double yl = map(t - reach), yr = map(t + reach);
  if (!(yl != yr)) return false;
  const auto left = [&](double y) { return std::fabs(y - yl) < std::fabs(y - yr); };
  double a = t, Ta = map(t), b, Tb;
  double step = std::nextafter(t, std::numeric_limits<double>::infinity()) - t;
  if (left(Ta)) {  // gallop right until the right branch
    for (;;) {
      b = std::min(a + step, t + reach);
      Tb = map(b);
      if (!left(Tb) || b >= t + reach) break;
      a = b;
      Ta = Tb;
      step *= 2;
    }
  } else {  // gallop left until the left branch
    b = a;
    Tb = Ta;
    for (;;) {
      a = std::max(b - step, t - reach);
      Ta = map(a);
      if (left(Ta) || a <= t - reach) break;
      b = a;
      Tb = Ta;
      step *= 2;
    }
  }
  for (;;) {
    const double m = a + 0.5 * (b - a);
    if (!(m > a && m < b)) break;
    const double Tm = map(m);
    if (left(Tm)) {
      a = m;
      Ta = Tm;
    } else {
      b = m;
      Tb = Tm;
    }
  }
  end = a;
  Tend = Ta;
  next = b;
  Tnext = Tb;
  return true;
}

// Adds the mass of the inputs from `from` to `to` (F there Ffrom and Fto) to the accumulator,
// piece by piece between the characteristic's cuts (none for the identity).
template <class Map>
void AddPieces(const SignalLaw& law, const Map& map, const model::CircuitParams* circuit,
               double from, double to, double Ffrom, double Fto, Accumulator& acc) {
  Expectation<Map> e(law, map, acc);
  double a = from, Ta = map(a), Fa = Ffrom;
  const auto cut = [&](double t, bool jump, double reach) {
    double end, Tend, next, Tnext;
    if (!jump || !PinJump(map, t, reach, end, Tend, next, Tnext)) {
      end = next = t;
      Tend = Tnext = map(t);
    }
    if (end < a) {  // a jump within a few units in the last place of the start: begin past it
      if (next > a) {
        a = next;
        Ta = Tnext;
      }
      return;
    }
    const double Fnext = e.F(next);
    e.Piece(a, end, Ta, Tend, Fa, Fnext);
    a = next;
    Ta = Tnext;
    Fa = Fnext;
  };
  if (circuit != nullptr) ForEachCut(*circuit, from, to, cut);
  if (a < to) e.Piece(a, to, Ta, map(to), Fa, Fto);
}

// With this many bin bounds or cuts (the teeth of a sawtooth over a wide law) the pieces are
// shared between two threads: those below a place near the middle of the law's extent and
// those above it. The place depends only on the settings, so the bits do not depend on
// whether a second thread runs.
constexpr int SplitBounds = 4000;
constexpr int SplitCuts = 256;

// The place: the middle of the extent when a turn or the end of a flat part is there,
// otherwise halfway between the cuts either side of the middle (well clear of a jump).
double SplitPlace(const model::CircuitParams* circuit, double lo, double hi) {
  const double mid = lo + 0.5 * (hi - lo);
  double below = lo, above = hi;
  bool turnAtMiddle = false;
  if (circuit != nullptr) {
    ForEachCut(*circuit, lo, hi, [&](double t, bool jump, double) {
      if (t <= mid) {
        below = t;
        turnAtMiddle = t == mid && !jump;
      } else if (above == hi) {
        above = t;
      }
    });
  }
  return turnAtMiddle ? mid : below + 0.5 * (above - below);
}

// P(v < b_j) for every bound b_j, v = map(X) with X under a continuous law.
template <class Map>
std::vector<double> BelowEachBound(const SignalLaw& law, const Map& map,
                                   const model::CircuitParams* circuit,
                                   const std::vector<double>& b) {
  const double lo = law.Low(), hi = law.High();
  int cuts = 0;
  if (circuit != nullptr) ForEachCut(*circuit, lo, hi, [&](double, bool, double) { ++cuts; });
  Accumulator acc(b);
  if (static_cast<int>(b.size()) < SplitBounds && cuts < SplitCuts) {
    AddPieces(law, map, circuit, lo, hi, 0, 1, acc);
    return acc.Totals();
  }
  const double split = SplitPlace(circuit, lo, hi);
  int hint = 0;
  const double Fsplit = law.Cdf(split, hint);
  Accumulator upper(b);
  model::RunOnTwoThreads([&] { AddPieces(law, map, circuit, lo, split, 0, Fsplit, acc); },
                         [&] { AddPieces(law, map, circuit, split, hi, Fsplit, 1, upper); });
  std::vector<double> G = acc.Totals();
  const std::vector<double> Gupper = upper.Totals();
  for (size_t j = 0; j < G.size(); ++j) G[j] += Gupper[j];
  return G;
}

}  // namespace

void ExpectedHistogram(const model::GeneratorParams& generator, const model::CircuitParams* circuit,
                       double xmin, double h, int n, double* value) {
  if (n <= 0) return;
  const Bounds bounds = BoundsOf(xmin, h, n);
  const SignalLaw law(generator);
  const auto transfer = [circuit](double x) { return model::Transfer(*circuit, x); };
  const auto identity = [](double x) { return x; };
  std::vector<double> G;
  if (law.IsPoint()) {
    const double v = circuit != nullptr ? transfer(law.Point()) : law.Point();
    G.resize(bounds.b.size());
    for (size_t j = 0; j < G.size(); ++j) G[j] = bounds.b[j] > v ? 1.0 : 0.0;
  } else {
    G = circuit != nullptr ? BelowEachBound(law, transfer, circuit, bounds.b)
                           : BelowEachBound(law, identity, circuit, bounds.b);
  }
  for (int i = 0; i < n; ++i)
    value[i] = std::max(0.0, G[bounds.hiPlace[i]] - G[bounds.loPlace[i]]) / h;
}

}  // namespace instruments
