#include "model/Mathlib.h"

#include <cmath>
#include <cstdlib>

namespace mathlib {
namespace {
std::uint64_t g_state = 0;
}

void RandSeed(std::uint32_t seed) {
  const std::uint32_t low = seed * 22695477u + 1u;
  g_state = low;
}

int RandDraw() {
  g_state = g_state * RandMultiplier + RandIncrement;
  return RandValueOf(g_state);
}

std::uint64_t RandState() {
  return g_state;
}
void SetRandState(std::uint64_t s) {
  g_state = s;
}

RandJump RandJumpOf(std::uint64_t steps) {
  // Square-and-multiply on affine maps: (a, c) applied twice is (a*a, a*c + c).
  RandJump result;
  RandJump power{RandMultiplier, RandIncrement};
  while (steps != 0) {
    if (steps & 1u) result = {power.a * result.a, power.a * result.c + power.c};
    power = {power.a * power.a, power.a * power.c + power.c};
    steps >>= 1;
  }
  return result;
}

const double Sqrt024 = std::sqrt(0.24);

double Erf(double x) {
  constexpr double p = 0.3275911;
  constexpr double a1 = 0.254829592;
  constexpr double a2 = -0.284496736;
  constexpr double a3 = 1.421413741;
  constexpr double a4 = -1.453152027;
  constexpr double a5 = 1.061405429;
  const double t = 1.0 / (1.0 + p * std::fabs(x));
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double t4 = t3 * t;
  const double t5 = t4 * t;
  double q = a1 * t;
  q = q + a2 * t2;
  q = q + a3 * t3;
  q = q + a4 * t4;
  q = q + a5 * t5;
  const double e = 1.0 - q * std::exp(-x * x);
  return x >= 0 ? e : -e;
}

double Phi(double x) {
  // 1/sqrt(2) is held in extended precision; the product is rounded once to double.
  constexpr long double InvSqrt2 = 0.70710678118654752440L;
  const double arg = static_cast<double>(static_cast<long double>(x) * InvSqrt2);
  return (Erf(arg) + 1.0) * 0.5;
}

void Swap(double& a, double& b) {
  const double t = a;
  a = b;
  b = t;
}

bool OrderPair(double& a, double& b) {
  if (a == b) return false;
  if (a > b) Swap(a, b);
  return true;
}

bool RaiseTo(double candidate, double& target) {
  if (target < candidate) {
    target = candidate;
    return true;
  }
  return false;
}

bool RaiseTo(int candidate, int& target) {
  if (target < candidate) {
    target = candidate;
    return true;
  }
  return false;
}

bool LowerTo(double candidate, double& target) {
  if (target > candidate) {
    target = candidate;
    return true;
  }
  return false;
}

bool LowerTo(int candidate, int& target) {
  if (target > candidate) {
    target = candidate;
    return true;
  }
  return false;
}

void ArrayRange(const double* values, int count, double& min, double& max) {
  min = max = values[0];
  const int n = std::abs(count);
  for (int i = 0; i < n; ++i) {
    const double x = values[i];
    if (x < min) min = x;
    if (x > max) max = x;
  }
}

void FunctionRange(const std::function<double(double)>& f, double x0, double x1, int count,
                   double& min, double& max) {
  if (!OrderPair(x0, x1)) {
    min = max = f(x0);
    return;
  }
  int n = std::abs(count);
  if (n == 0) n = DefaultRangePoints;
  const double step = (x1 - x0) / (n - 1);
  min = max = f(x0);
  double x = x0;
  for (int i = 0; i < n; ++i) {
    const double v = f(x);
    if (v < min) min = v;
    if (v > max) max = v;
    x = x + step;
  }
}

}  // namespace mathlib
