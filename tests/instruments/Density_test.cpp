#include "instruments/Density.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "model/Simd.h"
#include "tests/support/FastKernels.h"

using instruments::CountInWindow;
using instruments::CountInWindowPlain;
using instruments::DensityAt;
using instruments::SamplesExamined;

TEST(DensityAt, LowerBoundCountedUpperBoundNot) {
  // L = 1, I = 0.5: the window is [0.75, 1.25).
  const std::vector<double> x{0.75, 1.25, 1.0, 0.7499999999999999, 1.2499999999999998};
  EXPECT_EQ(DensityAt(x.data(), 0.5, 1.0, 5), (3.0 / 5) / 0.5);
  // The same with the decimal defaults: L = 0, I = 0.1 gives [-0.05, 0.05) in doubles.
  const std::vector<double> y{-0.05, 0.05};
  EXPECT_EQ(DensityAt(y.data(), 0.1, 0.0, 2), 0.5 / 0.1);
}

TEST(DensityAt, AllSamplesInsideGiveOneOverInterval) {
  const std::vector<double> zeros(262144, 0.0);
  EXPECT_EQ(DensityAt(zeros.data(), 0.1, 0.0, 262144), 1.0 / 0.1);
  EXPECT_NEAR(DensityAt(zeros.data(), 0.1, 0.0, 262144), 10.0, 1e-12);
  // The smallest interval of the meter: readings up to 1000 1/mV.
  const std::vector<double> same(1000, 3.25);
  EXPECT_NEAR(DensityAt(same.data(), 0.001, 3.25, 1000), 1000.0, 1e-9);
}

TEST(DensityAt, FarLevelNaNAndEmptyWindowGiveZero) {
  std::vector<double> x(1000);
  for (int i = 0; i < 1000; ++i) x[i] = std::sin(i * 0.1);
  EXPECT_EQ(DensityAt(x.data(), 0.1, 500.0, 1000), 0.0);
  EXPECT_EQ(DensityAt(x.data(), 0.1, -500.0, 1000), 0.0);
  const std::vector<double> nans(100, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(DensityAt(nans.data(), 1e300, 0.0, 100), 0.0);
}

// The fraction is rounded to double, then divided by the interval: (k / N) / I, which is not
// always the bits of k / (N * I).
TEST(DensityAt, FractionIsRoundedBeforeTheDivisionByTheInterval) {
  std::vector<double> x(1000, 100.0);
  int differing = 0;
  for (int k = 1; k < 1000; ++k) {
    x[k - 1] = 0.0;  // k samples inside [-I/2, I/2)
    for (double interval : {0.1, 0.3, 0.7, 1.9}) {
      const double got = DensityAt(x.data(), interval, 0.0, 1000.0);
      const double fraction = static_cast<double>(k) / 1000.0;
      ASSERT_EQ(got, fraction / interval) << k << " " << interval;
      if (got != k / (1000.0 * interval)) ++differing;
    }
  }
  EXPECT_GT(differing, 0);  // the order matters for some of these cases
}

TEST(DensityAt, CountIsAFloatingPointBound) {
  EXPECT_EQ(SamplesExamined(0), 0);
  EXPECT_EQ(SamplesExamined(-3), 0);
  EXPECT_EQ(SamplesExamined(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(SamplesExamined(1), 1);
  EXPECT_EQ(SamplesExamined(2.5), 3);  // i = 0, 1, 2 are below 2.5
  EXPECT_EQ(SamplesExamined(524288), 524288);
  // Three samples examined, the fraction over 2.5: 3 / 2.5 / 1.
  const std::vector<double> x{0.0, 0.0, 0.0, 0.0};
  EXPECT_EQ(DensityAt(x.data(), 1.0, 0.0, 2.5), 3.0 / 2.5);
}

// A Gaussian realization: the estimate at the mean is about 1/sqrt(2 pi) for a narrow
// window; the bound is five standard errors of the count plus the curvature of the density
// over the window.
TEST(DensityAt, GaussianDensityAtItsMean) {
  const int n = 524288;
  std::mt19937_64 rng(3);
  std::normal_distribution<double> g(0.0, 1.0);
  std::vector<double> x(n);
  for (double& v : x) v = g(rng);
  const double interval = 0.1;
  const double p = 0.0398776;  // P(|z| < 0.05)
  const double expected = p / interval;
  const double sigma = std::sqrt(p * (1 - p) / n) / interval;
  EXPECT_NEAR(DensityAt(x.data(), interval, 0.0, n), expected, 5 * sigma);
}

// The vector kernels count exactly what the plain loop counts, tails and special values
// included, on every level this machine runs.
TEST(CountInWindow, SameCountAsPlainLoopOnEveryLevel) {
  constexpr double Inf = std::numeric_limits<double>::infinity();
  const kerneltest::LevelGuard guard;
  std::mt19937_64 rng(9);
  std::uniform_real_distribution<double> u(-2, 2);
  std::vector<double> x(100003);
  for (double& v : x) v = u(rng);
  x[5] = std::numeric_limits<double>::quiet_NaN();
  x[77] = std::numeric_limits<double>::infinity();
  x[78] = -std::numeric_limits<double>::infinity();
  x[79] = -0.0;
  x[80] = 0.25;  // on the lower bound of [0.25, 0.75)
  x[81] = 0.75;  // on the upper one
  for (simd::Level level : kerneltest::Levels()) {
    simd::SetLevel(level);
    for (long long n : {0LL, 1LL, 7LL, 31LL, 33LL, 1000LL, 100003LL}) {
      for (auto [lo, hi] : {std::pair{0.25, 0.75}, std::pair{0.0, 0.0}, std::pair{-0.0, 1e-300},
                            std::pair{-2.0, 2.0}, std::pair{-Inf, Inf}}) {
        ASSERT_EQ(CountInWindow(x.data(), n, lo, hi), CountInWindowPlain(x.data(), n, lo, hi))
            << simd::Name(level) << " n " << n << " [" << lo << ", " << hi << ")";
      }
    }
  }
  EXPECT_EQ(CountInWindowPlain(x.data(), 100, -Inf, Inf), 98);  // NaN and +inf out
}
