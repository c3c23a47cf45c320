#include "model/Circuit.h"

#include <cmath>
#include <limits>

#include "model/Mathlib.h"

namespace model {

const CircuitField CircuitFields[16] = {
    {0, " S ", 0, 100, 1},       {0, "  x0,мВ  ", -10, 1, 0},   {1, "  x1 мВ  ", -10, 1, -1},
    {1, " x2, мВ ", 0, 10, 1},   {1, " y1, мВ ", -10, 1, -1},   {1, "  y2,мВ  ", 0, 10, 1},
    {2, "  a  ", 0, 100, 1},     {3, "  a , 1/мВ ", 0, 100, 1}, {4, " a, 1/мВ ", 0, 100, 1},
    {4, " x0, мВ ", -10, 10, 0}, {5, " a,мВ ", 0, 10, 1},       {5, " b, 1/мВ ", 0, 10, 1},
    {6, " a, мВ ", 0.1, 10, 1},  {6, " b, 1/мВ ", 0.1, 10, 1},  {7, " D, мВ ", 0.001, 1, 0.1},
    {7, " K ", 0.1, 10, 1},
};

namespace {

double Limiter(const CircuitParams& p, double x) {
  if (x < p.x1) return p.y1;
  if (x > p.x2) return p.y2;
  if (p.x1 == p.x2) return (p.y1 + p.y2) * 0.5;
  if (p.y1 == p.y2) return p.y1;
  return p.k * x + p.c;
}

double InverseSmoothLimiter(double a, double b, double x) {
  const double u = x / a;
  if (u > 0.9999999999 || u < -0.9999999999) return 0;
  // erf(v) ~ sqrt(1 - exp(-1.26 v^2)) solved for v; the factor 1/1.26 is held in extended
  // precision and the whole expression is rounded once.
  constexpr long double InvK = 1.0L / 1.26L;
  const long double uu = static_cast<long double>(u) * u;
  double v = static_cast<double>(std::sqrt(-std::log(1.0L - uu) * InvK));
  if (u < 0) v = -v;
  return v / b;
}

double Sawtooth(double D, double K, double x) {
  const double f = std::floor(2 * x / D);
  double m;
  if (f >= std::numeric_limits<int>::min() && f <= std::numeric_limits<int>::max()) {
    int mi = static_cast<int>(f);
    if (mi % 2 != 0) mi = mi + 1;  // the next even integer above, negative odd ones too
    m = mi;
  } else {
    // Beyond the 32-bit range (far outside any realization): the same rule in double.
    m = std::fmod(f, 2.0) != 0 ? f + 1 : f;
  }
  return K * (x - m * D * 0.5);
}

}  // namespace

double Transfer(const CircuitParams& p, double x) {
  switch (p.page) {
    case 0:
      return x > p.x0 ? p.S * (x - p.x0) : 0.0;
    case 1:
      return Limiter(p, x);
    case 2:
      return p.a3 * std::fabs(x);
    case 3:
      return p.a4 * x * x;
    case 4:
      if (x >= p.x05) {
        const double d = x - p.x05;
        return p.a5 * d * d;
      }
      return 0.0;
    case 5:
      return p.a6 * mathlib::Erf(p.b6 * x);
    case 6:
      return InverseSmoothLimiter(p.a7, p.b7, x);
    case 7:
      return Sawtooth(p.D, p.K, x);
    default:
      return 0.0;
  }
}

void TransferArray(const CircuitParams& p, const double* x, double* y, int n) {
  for (int i = 0; i < n; ++i) y[i] = Transfer(p, x[i]);
}

std::string DescribeCircuit(int page) {
  return "Нелинейная безынерционная цепь: цепь " + std::to_string(page + 1);
}

std::string CloseCircuit(CircuitParams& p) {
  mathlib::OrderPair(p.x1, p.x2);
  mathlib::OrderPair(p.y1, p.y2);
  if (p.x1 == p.x2 || p.y1 == p.y2) {
    p.k = 0;
    p.c = 0;
  } else {
    p.k = (p.y2 - p.y1) / (p.x2 - p.x1);
    p.c = p.y1 - p.k * p.x1;
    if (!std::isfinite(p.k) || !std::isfinite(p.c)) {
      // A segment so narrow that its slope overflows (x2 - x1 below about 1e-307, as a long
      // "-0,000...01" typed into x1 gives): it is a step. Outside [x1, x2] the limiter gives
      // y1 and y2; inside it gives the middle of the two levels, as a segment of no width
      // does.
      p.k = 0;
      p.c = (p.y1 + p.y2) * 0.5;
    }
  }
  return DescribeCircuit(p.page);
}

}  // namespace model
