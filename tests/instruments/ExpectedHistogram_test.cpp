// The expected histogram against laws worked out by hand (closed forms over the bin bounds),
// and against the histogram of a long realization of every generator kind.
#include "instruments/ExpectedHistogram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "instruments/Histogram.h"
#include "model/Mathlib.h"
#include "model/Run.h"

namespace {

using Mass = std::function<double(double lo, double hi)>;  // P(lo <= v < hi)

double Phi(double z) {
  return 0.5 * std::erfc(-z / std::numbers::sqrt2);
}
double Clip(double v) {
  return std::max(v, 0.0);
}
// The mass of [a, b) within [from, to) under the distribution function F.
double Part(const std::function<double(double)>& F, double a, double b, double from, double to) {
  a = std::max(a, from);
  b = std::min(b, to);
  return a < b ? F(b) - F(a) : 0.0;
}
double In(double lo, double hi, double v) {
  return lo <= v && v < hi ? 1.0 : 0.0;
}

model::GeneratorParams Generator(int kind, double M, double A, double D) {
  model::GeneratorParams g;
  g.kind = kind;
  g.M = M;
  g.A = A;
  g.D = D;
  return g;
}

struct Row {
  const char* what;
  model::GeneratorParams generator;
  int page;  // -1: the input
  std::function<void(model::CircuitParams&)> set;
  double xmin, h;
  int n;
  Mass exact;
};

}  // namespace

// Every bin within 1e-4 of the tallest exact value, bins narrower than the law's features
// and bins holding a point mass included.
TEST(ExpectedHistogram, ClosedForms) {
  const auto arcsine = [](double M, double A) {
    return [=](double x) {
      return 0.5 + std::asin(std::clamp((x - M) / A, -1.0, 1.0)) / std::numbers::pi;
    };
  };
  const double L = 0.03 - std::sqrt(3.0), U = 0.03 + std::sqrt(3.0);
  const Row rows[] = {
      {"normal at the input", Generator(3, 0.3, 1, 2), -1, nullptr, -9.7, 0.002, 10000,
       [](double lo, double hi) { return Phi((hi - 0.3) / 2) - Phi((lo - 0.3) / 2); }},
      {"normal through 1: half-normal and 1/2 at 0", Generator(3, 0, 1, 1), 0, nullptr, -0.5,
       0.0005, 10000,
       [](double lo, double hi) { return 0.5 * In(lo, hi, 0) + Part(Phi, lo, hi, 0, 99); }},
      {"normal through 4: a·x², chi-square of one degree", Generator(3, 0, 1, 1.5), 3,
       [](model::CircuitParams& c) { c.a4 = 2; }, -1, 0.0025, 10000,
       [](double lo, double hi) {
         const auto F = [](double y) { return 2 * Phi(std::sqrt(y / 2) / 1.5) - 1; };
         return Part(F, lo, hi, 0, 1e9);
       }},
      {"normal through 2: the middle and two levels", Generator(3, 0.2, 1, 1), 1,
       [](model::CircuitParams& c) {
         c.y1 = -0.5;
         c.y2 = 2;
         model::CloseCircuit(c);
       },
       -1, 0.01, 400,
       [](double lo, double hi) {
         const auto F = [](double y) { return Phi((y - 0.75) / 1.25 - 0.2); };
         return Phi(-1.2) * In(lo, hi, -0.5) + Phi(-0.8) * In(lo, hi, 2) + Part(F, lo, hi, -0.5, 2);
       }},
      {"harmonic at the input: arcsine", Generator(1, 0.5, 2, 1), -1, nullptr, -1.6, 0.0004, 10000,
       [&](double lo, double hi) { return Part(arcsine(0.5, 2), lo, hi, -9, 9); }},
      {"harmonic through 3: a·|x|", Generator(1, 0.5, 2, 1), 2,
       [](model::CircuitParams& c) { c.a3 = 1.5; }, -0.1, 0.001, 4000,
       [&](double lo, double hi) {
         const auto F = [&](double y) {
           return arcsine(0.5, 2)(y / 1.5) - arcsine(0.5, 2)(-y / 1.5);
         };
         return Part(F, lo, hi, 0, 9);
       }},
      {"uniform through 8: uniform over each tooth", Generator(2, 0.03, 1, 1), 7,
       [](model::CircuitParams& c) { c.K = 2; }, -0.12, 0.0001, 2401,
       [&](double lo, double hi) {
         double p = 0;
         for (int j = -20; j <= 20; ++j)
           p += Clip(std::min({U, j * 0.1 + hi / 2, (j + 0.5) * 0.1}) -
                     std::max({L, j * 0.1 + lo / 2, (j - 0.5) * 0.1}));
         return p / (U - L);
       }},
      {"normal through 8: 170 teeth", Generator(3, 0, 1, 1), 7, nullptr, -0.06, 0.00001, 10000,
       [](double lo, double hi) {
         double p = 0;
         for (int j = -90; j <= 90; ++j)
           p += Part(Phi, j * 0.1 + lo, j * 0.1 + hi, (j - 0.5) * 0.1, (j + 0.5) * 0.1);
         return p;
       }},
      {"the generator off at the output, M = 0", Generator(0, 0, 1, 1), 0, nullptr, -0.05, 0.1, 2,
       [](double lo, double hi) { return In(lo, hi, 0); }},
      {"harmonic and normal at the input", Generator(4, -0.3, 1, 0.5), -1, nullptr, -3, 0.002, 2000,
       [](double lo, double hi) {
         constexpr int K =
             400;  // the midpoint rule over the phase: exact for a smooth periodic law
         double p = 0;
         for (int k = 0; k < K; ++k) {
           const double mu = -0.3 + std::cos(std::numbers::pi * (k + 0.5) / K);
           p += Phi((hi - mu) / 0.5) - Phi((lo - mu) / 0.5);
         }
         return p / K;
       }},
  };
  for (const Row& r : rows) {
    model::CircuitParams c;
    c.page = r.page;
    if (r.set) r.set(c);
    std::vector<double> value(r.n), exact(r.n);
    instruments::ExpectedHistogram(r.generator, r.page < 0 ? nullptr : &c, r.xmin, r.h, r.n,
                                   value.data());
    double centre = r.xmin;
    for (int i = 0; i < r.n; ++i, centre += r.h)
      exact[i] = r.exact(centre - r.h * 0.5, centre + r.h * 0.5) / r.h;
    const double tol = 1e-4 * *std::max_element(exact.begin(), exact.end());
    for (int i = 0; i < r.n; ++i) ASSERT_NEAR(value[i], exact[i], tol) << r.what << ", bin " << i;
  }
}

// The histogram of 524288 samples of each kind through circuit 7 (jumps to 0 beyond |x| = a,
// a point mass there) agrees with the expected one within five standard errors in every bin
// that expects at least 5 samples.
TEST(ExpectedHistogram, RealizationsOfEveryKind) {
  constexpr int N = 524288;
  static std::vector<double> x(N), y(N);
  model::CircuitParams c;
  c.page = 6;
  for (int kind = 0; kind < 5; ++kind) {
    model::GeneratorParams g = Generator(kind, 0.1, 1, 1);
    g.Fr = 1.234;
    model::Generator gen;
    gen.SamplingPeriod = 0.005;
    mathlib::RandSeed(7 + kind);
    gen.Reset(0, g.Fr);
    gen.Fill(g, x.data(), N);
    model::TransferArray(c, x.data(), y.data(), N);
    const double mean = model::MeanOf(y.data(), N);
    const instruments::HistogramGrid grid =
        instruments::PlanHistogram(mean, model::SkoAbout(y.data(), N, mean), {0.1, true}, false);
    std::vector<double> counted(grid.n), expected(grid.n);
    instruments::HistogramBinsPlain(y.data(), N, grid.xmin, grid.h, grid.n, counted.data());
    instruments::ExpectedHistogram(g, &c, grid.xmin, grid.h, grid.n, expected.data());
    for (int i = 0; i < grid.n; ++i) {
      const double p = expected[i] * grid.h;
      if (N * p < 5) continue;
      EXPECT_NEAR(counted[i] * grid.h * N, N * p,
                  5 * std::sqrt(N * p * std::max(0.0, 1 - p)) + 1e-6)
          << "kind " << kind << ", bin " << i;
    }
  }
}
