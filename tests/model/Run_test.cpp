#include "model/Run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "model/Mathlib.h"
#include "model/SampleStore.h"
#include "tests/support/FastKernels.h"

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

  // An output that is not a number (a slope close processing never stores, set directly):
  // every reading stays as the last good run left it.
  const double kept[] = {R::InputMean, R::OutputMean, R::InputSko,  R::OutputSko,
                         R::CorrIn,    R::CorrOut,    R::DensityIn, R::DensityOut};
  RunSettings bad = Settings(KindOff, 0.5, 1024);
  bad.circuit.page = 1;
  bad.circuit.k = std::numeric_limits<double>::infinity();
  bad.circuit.c = -std::numeric_limits<double>::infinity();
  const RunOutcome out = RunModel(g, bad);
  EXPECT_FALSE(out.finite);
  const double after[] = {R::InputMean, R::OutputMean, R::InputSko,  R::OutputSko,
                          R::CorrIn,    R::CorrOut,    R::DensityIn, R::DensityOut};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(after[i], kept[i]) << i;
}

// An exception inside the run (a meter out of memory) reaches the caller with every reading
// as before, none half written.
TEST(Run, AnExceptionInsideTheRunRestoresTheReadings) {
  Generator g;
  RunModel(g, Settings(KindHarmonic, 0.5, 4096));
  const double keptSko = R::InputSko, keptCorr = R::CorrIn, keptDensity = R::DensityOut;
  RunSettings s = Settings(KindGaussianNoise, 1, 4096);
  s.measureOut = [](const double*, double) -> double { throw std::bad_alloc(); };
  EXPECT_THROW(RunModel(g, s), std::bad_alloc);
  EXPECT_EQ(R::InputMean, 0.5);
  EXPECT_EQ(R::InputSko, keptSko);
  EXPECT_EQ(R::CorrIn, keptCorr);
  EXPECT_EQ(R::DensityOut, keptDensity);
}

// The circuit's two halves on one thread when no worker can start: the same samples and
// readings.
TEST(Run, OneThreadWhenNoWorkerCanStartGivesTheSameBits) {
  static double input[65536], output[65536];
  double readings[2][6];
  for (int refuse = 0; refuse < 2; ++refuse) {
    const kerneltest::WorkerRefused refused(refuse == 1);
    Generator g;
    mathlib::RandSeed(17);
    RunSettings s = Settings(KindHarmonicGaussian, 0.5, 65536);
    s.circuit.page = 6;  // the inverse smooth limiter: the costliest transfer
    s.circuit.a7 = 3;
    RunModel(g, s);
    const double r[6] = {R::OutputMean, R::OutputSko, R::CorrIn,
                         R::CorrOut,    R::DensityIn, R::DensityOut};
    std::copy(r, r + 6, readings[refuse]);
    if (refuse == 0) {
      std::copy(SampleStore::InputSamples, SampleStore::InputSamples + 65536, input);
      std::copy(SampleStore::OutputSamples, SampleStore::OutputSamples + 65536, output);
    }
  }
  EXPECT_EQ(std::memcmp(input, SampleStore::InputSamples, sizeof input), 0);
  EXPECT_EQ(std::memcmp(output, SampleStore::OutputSamples, sizeof output), 0);
  EXPECT_EQ(std::memcmp(readings[0], readings[1], sizeof readings[0]), 0);
}
