#include "model/Run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Mathlib.h"
#include "model/SampleStore.h"

using namespace model;
namespace R = BenchReadings;

namespace {
RunSettings Settings(int kind, double M = 0, int n = 65536) {
  RunSettings s;
  s.generator.kind = kind;
  s.generator.M = M;
  s.n = n;
  return s;
}
}  // namespace

TEST(Run, GeneratorOffGivesZeroReadingsButTheDensityOfAConstant) {
  Generator g;
  const RunOutcome out = RunModel(g, Settings(KindOff));
  EXPECT_TRUE(out.finite);
  EXPECT_EQ(R::InputMean, 0);
  EXPECT_EQ(R::InputSko, 0);
  EXPECT_EQ(R::CorrIn, 0);
  EXPECT_EQ(R::OutputMean, 0);
  EXPECT_EQ(R::OutputSko, 0);
  EXPECT_EQ(R::CorrOut, 0);
  EXPECT_DOUBLE_EQ(R::DensityIn, 10);  // all samples inside [-0.05, 0.05): 1/I
  EXPECT_DOUBLE_EQ(R::DensityOut, 10);
  EXPECT_EQ(R::CorrScaleIn, 1.0);
  EXPECT_EQ(R::CorrScaleOut, 1.0);

  // A constant nonzero input has no deviation and no correlation either.
  RunModel(g, Settings(KindOff, 5));
  EXPECT_EQ(R::InputMean, 5);
  EXPECT_EQ(R::InputSko, 0);
  EXPECT_EQ(R::CorrIn, 0);
  EXPECT_EQ(R::DensityIn, 0);
  EXPECT_EQ(R::OutputMean, 5);  // circuit 1 with S = 1, x0 = 0 passes positive values
}

TEST(Run, HarmonicCorrelationFollowsTheCosineLaw) {
  Generator g;  // 1 kHz at 0.005 ms: 200 samples a period
  mathlib::RandSeed(3);
  RunSettings s = Settings(KindHarmonic, 0, 131072);
  RunModel(g, s);
  EXPECT_NEAR(R::CorrIn, 0.5, 1e-3);
  EXPECT_NEAR(R::CorrIn, R::InputSko * R::InputSko, 1e-12);
  for (double tau : {0.05, 0.1, 0.25, 0.5, 0.6}) {
    s.tauIn = tau;
    const RunOutcome out = RunModel(g, s);
    const double lagTime = out.lagIn * 0.005;
    EXPECT_NEAR(R::CorrIn, 0.5 * std::cos(2 * M_PI * lagTime), 2e-3) << tau;
  }
  s.tauIn = 0.015;
  EXPECT_EQ(RunModel(g, s).lagIn, 2);
}

TEST(Run, CorrelometerWithoutPairsGivesNoReading) {
  Generator g;
  g.SamplingPeriod = 0.0005;
  RunSettings s = Settings(KindGaussianNoise, 0, 65536);
  s.tauOut = 40;  // 80000 samples: longer than the realization
  const RunOutcome out = RunModel(g, s);
  EXPECT_TRUE(out.corrInValid);
  EXPECT_FALSE(out.corrOutValid);
  EXPECT_EQ(out.lagOut, 79999);  // 40 / 0.0005 lies just below 80000
  EXPECT_EQ(R::CorrOut, 0);
  EXPECT_TRUE(std::isfinite(R::DensityOut));
}

TEST(Run, MatchesThePlainLoopsAndKeepsReadingsWhenNotFinite) {
  Generator g;
  mathlib::RandSeed(11);
  RunSettings s = Settings(KindHarmonicGaussian, 0.5, 65536);
  s.circuit.page = 5;  // smooth limiter
  s.tauIn = 0.01;
  s.tauOut = 0.02;
  RunModel(g, s);

  // Reference: the one-sample generator loop and the sums written out.
  Generator ref;
  mathlib::RandSeed(11);
  ref.Reset(0, 1);
  double sumIn = 0, sumOut = 0, corrOut = 0;
  static double y[65536];
  for (int i = 0; i < 65536; ++i) {
    const double x = ref.NextSample(s.generator);
    ASSERT_EQ(x, SampleStore::InputSamples[i]) << i;
    y[i] = Transfer(s.circuit, x);
    ASSERT_EQ(y[i], SampleStore::OutputSamples[i]) << i;
    sumIn = sumIn + (x - 0.5) * (x - 0.5);
    sumOut = sumOut + y[i];
  }
  const double meanOut = sumOut / 65536;
  for (int i = 4; i < 65536; ++i) corrOut = corrOut + (y[i] - meanOut) * (y[i - 4] - meanOut);
  EXPECT_EQ(R::InputSko, std::sqrt(sumIn / 65536));
  EXPECT_EQ(R::OutputMean, meanOut);
  EXPECT_EQ(R::CorrOut, corrOut / (65536 - 4));

  // A limiter slope that overflows makes the output not a number: the readings stay.
  const double keptMean = R::OutputMean;
  RunSettings bad = Settings(KindOff, 0, 1024);
  bad.circuit.page = 1;
  bad.circuit.x1 = -std::numeric_limits<double>::denorm_min();
  bad.circuit.x2 = 0;
  CloseCircuit(bad.circuit);
  const RunOutcome out = RunModel(g, bad);
  EXPECT_FALSE(out.finite);
  EXPECT_EQ(R::OutputMean, keptMean);
}
