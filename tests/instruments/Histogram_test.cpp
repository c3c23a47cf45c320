#include "instruments/Histogram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "chart/DiagramGeometry.h"
#include "instruments/Density.h"
#include "model/Circuit.h"
#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Simd.h"
#include "tests/support/FastKernels.h"

using instruments::HistogramGrid;
using instruments::HistogramRequest;
using instruments::PlanHistogram;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
const HistogramRequest Auto{0.1, true};

HistogramRequest Width(double h0) {
  return {h0, false};
}

// Every value of the fast bins (on both thread splits and every vector level) has the bits
// of the per-bin loop.
void ExpectSameBitsAsPerBinLoop(const double* x, double count, double xmin, double h, int n,
                                const char* what) {
  std::vector<double> plain(n), fast(n), single(n);
  instruments::HistogramBinsPlain(x, count, xmin, h, n, plain.data());
  const kerneltest::LevelGuard guard;
  for (simd::Level level : kerneltest::Levels()) {
    simd::SetLevel(level);
    instruments::HistogramBins(x, count, xmin, h, n, fast.data());
    instruments::HistogramBinsOneThread(x, count, xmin, h, n, single.data());
    const std::string where = std::string(what) + ", " + std::to_string(n) + " bins, ";
    kerneltest::ExpectSameBits(fast, plain, where + simd::Name(level));
    kerneltest::ExpectSameBits(single, plain, where + "one thread");
  }
}

}  // namespace

// ---- The grid --------------------------------------------------------------------------------

TEST(HistogramGrid, KnownAnswers) {
  // sigma = 1 with "Авто": 5 / 0.1 lies just below 50 in extended precision.
  HistogramGrid g = PlanHistogram(2.0, 1.0, Auto, false);
  EXPECT_EQ(g.h, 0.1);
  EXPECT_EQ(g.X, 5.0);
  EXPECT_EQ(g.k, 49);
  EXPECT_DOUBLE_EQ(g.R, 4.95);
  EXPECT_EQ(g.n, 99);
  EXPECT_EQ(g.xmin, 2.0 - g.R);
  EXPECT_EQ(g.xmax, 2.0 + g.R);
  EXPECT_FALSE(g.tooNarrow);

  // Input of a switched-off generator: sigma 0 gives h = 0.1 and X = 1.
  g = PlanHistogram(0.0, 0.0, Auto, true);
  EXPECT_EQ(g.h, 0.1);
  EXPECT_EQ(g.X, 1.0);
  EXPECT_EQ(g.k, 9);
  EXPECT_DOUBLE_EQ(g.R, 0.95);
  EXPECT_EQ(g.n, 20);
  // At the output X stays 5 sigma = 0: two bins either side of the mean.
  g = PlanHistogram(0.0, 0.0, Auto, false);
  EXPECT_EQ(g.h, 0.1);
  EXPECT_EQ(g.k, 0);
  EXPECT_DOUBLE_EQ(g.R, 0.05);
  EXPECT_EQ(g.n, 2);
  // A fixed width keeps its value when the deviation is 0.
  g = PlanHistogram(1.0, 0.0, Width(0.3), false);
  EXPECT_EQ(g.h, 0.3);
  EXPECT_EQ(g.n, 2);

  // h0 = 0.01 and sigma = 10: k = 4999 and exactly 10000 bins, not capped.
  g = PlanHistogram(0.0, 10.0, Width(0.01), true);
  EXPECT_EQ(g.k, 4999);
  EXPECT_EQ(g.n, 10000);
  EXPECT_EQ(g.h, 0.01);
  // sigma = 20 reaches the cap: the width is widened so that 10000 bins span 2R.
  g = PlanHistogram(0.0, 20.0, Width(0.01), true);
  EXPECT_EQ(g.k, 9999);
  EXPECT_EQ(g.n, 10000);
  EXPECT_EQ(g.h, static_cast<double>(2 * static_cast<long double>(g.R) / 9999));
  EXPECT_NE(g.h, 0.01);
}

// A deviation whose span the chart would refuse (the mean of a constant output is off by a
// few units in the last place, so its deviation is 1e-13 rather than 0) gets the grid of a
// zero deviation, at either side; a deviation that gives a visible span keeps its own.
TEST(HistogramGrid, TooNarrowADeviationIsDrawnAsZero) {
  HistogramGrid g = PlanHistogram(0.10000000000009629, 9.6e-14, Auto, false);
  EXPECT_TRUE(g.tooNarrow);
  EXPECT_EQ(g.h, 0.1);
  EXPECT_EQ(g.n, 2);
  g = PlanHistogram(0.1, 1e-9, Auto, true);
  EXPECT_TRUE(g.tooNarrow);
  EXPECT_EQ(g.n, 20);
  EXPECT_EQ(g.X, 1.0);
  // Spans of about 10 sigma: 2e-7 is refused, 2e-6 is shown with its 99 bins.
  EXPECT_TRUE(PlanHistogram(0.0, 2e-8, Auto, false).tooNarrow);
  g = PlanHistogram(0.0, 2e-7, Auto, false);
  EXPECT_FALSE(g.tooNarrow);
  EXPECT_EQ(g.h, 2e-8);
  // A mean so large that m - R and m + R round to the same double.
  EXPECT_TRUE(PlanHistogram(1e5, 1e-13, Auto, false).tooNarrow);
}

// Every bin width the settings window accepts, at deviations and means from the extremes of
// the generator and the circuits, gives a finite grid the chart can show.
TEST(HistogramGrid, FiniteAndDrawableForEverySetting) {
  for (double sko : {0.0, 1e-300, 1e-13, 1e-7, 0.0029, 1.0, 10.0, 3.5e3, 1e6, Inf, NaN}) {
    for (double mean : {-1e6, -10.0, 0.0, 0.1, 10.0, 1e5}) {
      for (const HistogramRequest& r : {Auto, Width(0.01), Width(0.1), Width(100)}) {
        for (bool input : {true, false}) {
          const HistogramGrid g = PlanHistogram(mean, sko, r, input);
          SCOPED_TRACE(testing::Message() << "sko " << sko << " mean " << mean << " h0 "
                                          << r.binWidth << " auto " << r.automatic);
          EXPECT_TRUE(std::isfinite(g.h) && g.h > 0);
          EXPECT_TRUE(std::isfinite(g.R) && std::isfinite(g.xmin) && std::isfinite(g.xmax));
          EXPECT_GE(g.n, 2);
          EXPECT_LE(g.n, instruments::MaxHistogramBins);
          EXPECT_GE(g.xmax - g.xmin, chart::MinSpan);
        }
      }
    }
  }
}

TEST(HistogramGrid, InputDeviationReestimatedFromTheDensityAtTheMean) {
  // 40 of 100 samples in [0.95, 1.05): w = 0.4 / 0.1 = 4.
  std::vector<double> x(100, 7.0);
  for (int i = 0; i < 40; ++i) x[i] = 1.0;
  const double w = instruments::DensityAt(x.data(), 0.1, 1.0, 100);
  EXPECT_EQ(instruments::ReestimatedInputSko(model::KindUniformNoise, x.data(), 100, 0.1, 1.0, 3),
            1 / (w * std::sqrt(12.0)));
  EXPECT_EQ(instruments::ReestimatedInputSko(model::KindGaussianNoise, x.data(), 100, 0.1, 1.0, 3),
            1 / (w * std::sqrt(6.28)));
  for (int kind : {model::KindOff, model::KindHarmonic, model::KindHarmonicGaussian})
    EXPECT_EQ(instruments::ReestimatedInputSko(kind, x.data(), 100, 0.1, 1.0, 3), 3.0);
  // No sample in the window at the mean: the estimate would be infinite, the run's value stays.
  EXPECT_EQ(
      instruments::ReestimatedInputSko(model::KindGaussianNoise, x.data(), 100, 0.01, 3.0, 2.5),
      2.5);
  EXPECT_EQ(
      instruments::ReestimatedInputSko(model::KindUniformNoise, x.data(), 100, 0.01, 3.0, 2.5),
      2.5);
}

// ---- The bins ----------------------------------------------------------------------------------

TEST(HistogramBins, ZeroRealizationFillsOnlyTheBinAboveZero) {
  std::vector<double> x(65536, 0.0);
  // Input: 20 bins centred from -0.95; the bin centred at 0.05 holds [0, 0.1).
  HistogramGrid g = PlanHistogram(0.0, 0.0, Auto, true);
  std::vector<double> v(g.n);
  instruments::HistogramBins(x.data(), 65536, g.xmin, g.h, g.n, v.data());
  for (int i = 0; i < g.n; ++i) EXPECT_EQ(v[i], i == 10 ? 10.0 : 0.0) << i;
  // Output: two bins, the second's lower bound 0 is inclusive.
  g = PlanHistogram(0.0, 0.0, Auto, false);
  instruments::HistogramBins(x.data(), 65536, g.xmin, g.h, g.n, v.data());
  EXPECT_EQ(v[0], 0.0);
  EXPECT_EQ(v[1], 10.0);
}

TEST(HistogramBins, SameBitsAsThePerBinLoopOnEveryGeneratorKind) {
  constexpr int N = 65536 + 5;  // past the two-thread threshold, with an odd tail
  std::vector<double> x(N);
  for (int kind = 0; kind < 5; ++kind) {
    model::Generator gen;
    model::GeneratorParams p;
    p.kind = kind;
    p.M = 0.7;
    p.A = 2;
    p.D = 1.5;
    mathlib::RandSeed(17 + kind);
    gen.Reset(0, p.Fr);
    gen.Fill(p, x.data(), N);
    const double sko = model::SkoAbout(x.data(), N, p.M);
    for (const HistogramRequest& r : {Auto, Width(0.01), Width(0.37), Width(100)}) {
      const HistogramGrid g = PlanHistogram(p.M, sko, r, true);
      ExpectSameBitsAsPerBinLoop(x.data(), N, g.xmin, g.h, g.n, model::SignalKindTexts[kind]);
    }
  }
}

// Samples placed on every bin bound and one unit in the last place either side of it, NaN
// and infinite samples, a mean where rounding makes neighbouring bins overlap or leave gaps,
// and a width below the resolution of the centres (bins collapse onto each other).
TEST(HistogramBins, SameBitsOnBoundsNaNAndDegenerateGrids) {
  struct Case {
    double xmin, h;
    int n;
  };
  for (const Case& c :
       {Case{-4.95, 0.1, 99}, Case{1234.567, 0.0123, 2000}, Case{0.1 - 0.05, 0.1, 2},
        Case{-5.0, 2 * 5.0 / 9999, 10000}, Case{1e5, 1e-12, 300}, Case{-1.0, 1e-300, 50}}) {
    std::vector<double> x;
    double centre = c.xmin;
    for (int i = 0; i < c.n; ++i) {
      for (double bound : {centre - c.h * 0.5, centre + c.h * 0.5}) {
        x.push_back(bound);
        x.push_back(std::nextafter(bound, -Inf));
        x.push_back(std::nextafter(bound, Inf));
      }
      centre += c.h;
    }
    for (int i = 0; i < 50; ++i) x.push_back(NaN);
    x.push_back(Inf);
    x.push_back(-Inf);
    x.push_back(-0.0);
    std::mt19937_64 rng(5);
    std::shuffle(x.begin(), x.end(), rng);
    const double count = static_cast<double>(x.size());
    ExpectSameBitsAsPerBinLoop(x.data(), count, c.xmin, c.h, c.n, "bounds");
    // A count that is not a whole number examines the samples below it, as DensityAt does.
    ExpectSameBitsAsPerBinLoop(x.data(), count - 2.5, c.xmin, c.h, c.n, "fractional count");
  }
  // Every sample NaN: every bin 0.
  const std::vector<double> nans(70000, NaN);
  std::vector<double> v(99, -1.0);
  instruments::HistogramBins(nans.data(), 70000, -4.95, 0.1, 99, v.data());
  for (double d : v) EXPECT_EQ(d, 0.0);
}

// A Gaussian run: the bins integrate to 1, and each bin follows the normal law within five standard
// errors of its count plus the curvature of the density over the bin.
TEST(HistogramBins, GaussianRunFollowsTheNormalLaw) {
  constexpr int N = 524288;
  static double x[N];
  model::Generator gen;
  model::GeneratorParams p;
  p.kind = model::KindGaussianNoise;
  p.M = 1.0;
  p.D = 2.0;
  mathlib::RandSeed(23);
  gen.Reset(0, p.Fr);
  gen.Fill(p, x, N);
  const double sko = model::SkoAbout(x, N, p.M);
  const HistogramGrid g = PlanHistogram(p.M, sko, Auto, false);
  ASSERT_GE(g.n, 99);  // 2k + 1 or 2k + 2 with k = 49
  std::vector<double> v(g.n);
  instruments::HistogramBins(x, N, g.xmin, g.h, g.n, v.data());
  double integral = 0;
  double c = g.xmin;
  for (int i = 0; i < g.n; ++i, c += g.h) {
    integral += v[i] * g.h;
    const double law = instruments::NormalLaw(c, p.M, sko);
    const double prob = law * g.h;
    const double error = std::sqrt(prob * (1 - prob) / N) / g.h;
    // The mean of the density over the bin differs from its value at the centre by about
    // f''(c) h^2 / 24, and |f''| <= f (z^2 + 1) / sigma^2.
    const double z = (c - p.M) / sko;
    const double curvature = law * (z * z + 1) / (sko * sko) * g.h * g.h / 24;
    EXPECT_NEAR(v[i], law, 5 * error + curvature + 1e-12) << "bin " << i << " at " << c;
  }
  // What is missing are the samples beyond 4.95 sigma, about one in a million.
  EXPECT_NEAR(integral, 1.0, 1e-5);
}

// Runs at the extremes of the generator's parameters, of every circuit's fields and of the
// sampling period, histogrammed with every setting the window accepts: everything that reaches
// the chart is finite.
TEST(HistogramBins, FiniteAtTheExtremesOfEveryGeneratorAndCircuit) {
  constexpr int N = 65536;
  model::Generator gen;
  int histograms = 0;
  for (int kind = 0; kind < 5; ++kind) {
    for (bool high : {false, true}) {
      model::RunSettings s;
      s.n = N;
      s.generator.kind = kind;
      s.generator.A = high ? model::LimitsA.max : model::LimitsA.min;
      s.generator.D = high ? model::LimitsD.max : model::LimitsD.min;
      s.generator.M = high ? model::LimitsM.max : model::LimitsM.min;
      s.generator.Fr = high ? model::LimitsFr.max : model::LimitsFr.min;
      gen.SamplingPeriod = high ? 0.0005 : 0.01;
      for (int page = 0; page < model::CircuitCount; ++page) {
        s.circuit.page = page;
        double* fields[16] = {&s.circuit.S,  &s.circuit.x0,  &s.circuit.x1, &s.circuit.x2,
                              &s.circuit.y1, &s.circuit.y2,  &s.circuit.a3, &s.circuit.a4,
                              &s.circuit.a5, &s.circuit.x05, &s.circuit.a6, &s.circuit.b6,
                              &s.circuit.a7, &s.circuit.b7,  &s.circuit.D,  &s.circuit.K};
        for (int f = 0; f < 16; ++f)
          *fields[f] = high ? model::CircuitFields[f].max : model::CircuitFields[f].min;
        model::CloseCircuit(s.circuit);
        mathlib::RandSeed(kind * 16 + page);
        if (!model::RunModel(gen, s).finite) continue;
        for (bool input : {true, false}) {
          const double* x = input ? SampleStore::InputSamples : SampleStore::OutputSamples;
          const double mean = input ? BenchReadings::InputMean : BenchReadings::OutputMean;
          for (const HistogramRequest& r : {Auto, Width(0.01), Width(100)}) {
            double sko = input ? BenchReadings::InputSko : BenchReadings::OutputSko;
            if (input) sko = instruments::ReestimatedInputSko(kind, x, N, r.binWidth, mean, sko);
            ASSERT_TRUE(std::isfinite(sko));
            const HistogramGrid g = PlanHistogram(mean, sko, r, input);
            SCOPED_TRACE(testing::Message()
                         << "kind " << kind << " high " << high << " page " << page << " input "
                         << input << " h0 " << r.binWidth << " auto " << r.automatic);
            ASSERT_GE(g.n, 2);
            ASSERT_LE(g.n, instruments::MaxHistogramBins);
            ASSERT_GE(g.xmax - g.xmin, chart::MinSpan);
            std::vector<double> v(g.n);
            instruments::HistogramBins(x, N, g.xmin, g.h, g.n, v.data());
            for (double d : v) ASSERT_TRUE(std::isfinite(d));
            for (int i = 0; i < 100; ++i) {
              const double at = g.xmin + i * (g.xmax - g.xmin) / 99;
              ASSERT_TRUE(std::isfinite(instruments::NormalLaw(at, mean, sko)));
              ASSERT_TRUE(std::isfinite(instruments::UniformLaw(at, mean, sko)));
            }
            ++histograms;
          }
        }
      }
    }
  }
  EXPECT_GT(histograms, 400);
}

// ---- The laws -------------------------------------------------------------------------------

TEST(HistogramLaws, NormalAndUniformShapes) {
  using instruments::NormalLaw;
  using instruments::UniformLaw;
  const double s = 0.8, m = -1.5;
  EXPECT_DOUBLE_EQ(NormalLaw(m, m, s), 1 / (std::sqrt(2 * std::numbers::pi) * s));
  EXPECT_DOUBLE_EQ(NormalLaw(m + s, m, s), std::exp(-0.5) / (std::sqrt(2 * std::numbers::pi) * s));
  EXPECT_EQ(NormalLaw(m + 0.3, m, s), NormalLaw(m - 0.3, m, s));
  // The uniform law: 1/(2 sqrt(3) s) over m ± sqrt(3) s, both ends included.
  const double W = std::sqrt(3.0) * 2 * s;
  EXPECT_DOUBLE_EQ(UniformLaw(m, m, s), 1 / (2 * std::sqrt(3.0) * s));
  EXPECT_EQ(UniformLaw(W / 2, 0, s), 1 / W);
  EXPECT_EQ(UniformLaw(-W / 2, 0, s), 1 / W);
  EXPECT_EQ(UniformLaw(std::nextafter(W / 2, Inf), 0, s), 0.0);
  EXPECT_EQ(UniformLaw(std::nextafter(-W / 2, -Inf), 0, s), 0.0);
  EXPECT_EQ(UniformLaw(m + 1.38, m, s), 1 / W);  // W/2 = 1.3856...
  EXPECT_EQ(UniformLaw(m - 1.38, m, s), 1 / W);
  EXPECT_EQ(UniformLaw(m + 1.39, m, s), 0.0);
  EXPECT_EQ(UniformLaw(m - 1.39, m, s), 0.0);
  // No spread: no law. A spread too small to square stays finite.
  EXPECT_EQ(NormalLaw(m, m, 0), 0.0);
  EXPECT_EQ(UniformLaw(m, m, 0), 0.0);
  for (double x : {m, m + 1e-300, 5.0}) {
    EXPECT_TRUE(std::isfinite(NormalLaw(x, m, 1e-200)));
    EXPECT_TRUE(std::isfinite(UniformLaw(x, m, 1e-320)));
  }
  EXPECT_EQ(NormalLaw(NaN, m, s), 0.0);
  EXPECT_EQ(UniformLaw(NaN, m, s), 0.0);
}
