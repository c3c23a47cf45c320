#pragma once
// Random source and small numeric helpers shared by the model, the circuits and the chart.
#include <cstdint>
#include <functional>
#include <limits>

// The extended quotients and constants (the phase, circuit 7's factor, lags, the histogram's
// bins, the chart's transforms and grid positions) are evaluated in long double and rely on
// the x87 80-bit format with its 64-bit mantissa. Where long double is another format (a
// plain double under MSVC and Apple's ARM compilers, the 128-bit one on AArch64 Linux) they
// would round differently, and lags, bins and grid lines would change without a word: such
// a compiler cannot build the core.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended format (64-bit mantissa): the core's "
              "lags, histogram bins and chart grids depend on it. Build with GCC or clang for "
              "x86-64 (on Windows MinGW-w64 GCC, on macOS clang with -arch x86_64); MSVC and "
              "ARM compilers do not have this format.");

namespace mathlib {

// ---- Integer source ------------------------------------------------------------------
// A 64-bit linear congruential generator, process-wide, reproduced exactly:
//   seed t:  s := (t * 22695477 + 1) mod 2^32          (high half 0)
//   draw:    s := s * 1486058704437 + 1 mod 2^64;  result = bits 32..62 of s
constexpr std::uint64_t RandMultiplier = 1486058704437ull;  // 346 * 2^32 + 20021
constexpr std::uint64_t RandIncrement = 1;

void RandSeed(std::uint32_t seed);
int RandDraw();  // 0 .. 2147483647

// Direct access to the state, for the vector kernels that draw many values at once.
std::uint64_t RandState();
void SetRandState(std::uint64_t s);

// The affine map s -> a*s + c (mod 2^64) equal to `steps` draws.
struct RandJump {
  std::uint64_t a = 1;
  std::uint64_t c = 0;
  std::uint64_t Apply(std::uint64_t s) const { return a * s + c; }
};
RandJump RandJumpOf(std::uint64_t steps);

// The value a draw returns for the state it produced.
inline int RandValueOf(std::uint64_t s) {
  return static_cast<int>((s >> 32) & 0x7FFFFFFFu);
}

// ---- Distribution functions ----------------------------------------------------------
// Rational approximation of the error function (|error| < 1.5e-7), odd in x except at
// +-0, where the x >= 0 branch is taken.
double Erf(double x);
// Standard normal distribution function, (Erf(x / sqrt 2) + 1) / 2.
double Phi(double x);

// sqrt(0.24) in double: scales a sum of 50 centred uniform terms to unit variance.
extern const double Sqrt024;

// ---- Order helpers -------------------------------------------------------------------
void Swap(double& a, double& b);
// Puts a and b in ascending order; false when they are equal (nothing changes then).
bool OrderPair(double& a, double& b);
// target := candidate when target < candidate; true when it changed.
bool RaiseTo(double candidate, double& target);
bool RaiseTo(int candidate, int& target);
// target := candidate when target > candidate; true when it changed.
bool LowerTo(double candidate, double& target);
bool LowerTo(int candidate, int& target);

// Minimum and maximum of the first |count| elements (element 0 always included).
void ArrayRange(const double* values, int count, double& min, double& max);

constexpr int DefaultRangePoints = 100;
// Minimum and maximum of f sampled at |count| points (100 when count is 0) on [x0, x1].
// A count of 1 is not allowed.
void FunctionRange(const std::function<double(double)>& f, double x0, double x1, int count,
                   double& min, double& max);

}  // namespace mathlib
