#include "instruments/CorrelationFunction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/Fft.h"
#include "model/Simd.h"
#include "tests/support/FastKernels.h"

using namespace instruments;
using namespace kerneltest;

namespace {

constexpr double Pi = 3.141592653589793;

// The engine's transforms, without a progress display.
const Transform FastTransform = [](const double* s, int c, int z, double* im, double* re) {
  return model::FftTransform(s, c, z, im, re);
};
const Transform PlainTransform = [](const double* s, int c, int z, double* im, double* re) {
  return model::FftTransformPlain(s, c, z, im, re);
};

std::vector<double> Gaussian(int n, double mean, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<double> g(mean, 1.0);
  std::vector<double> x(n);
  for (double& v : x) v = g(rng);
  return x;
}

// A harmonic with noise: its averages settle at different checkpoints for different lags.
std::vector<double> HarmonicAndNoise(int n, unsigned seed) {
  std::vector<double> x = Gaussian(n, 0.3, seed);
  for (int i = 0; i < n; ++i) x[i] = 0.4 * x[i] + 2 * std::sin(2 * Pi * i / 397.0 + 0.3);
  return x;
}

using Plain = void (*)(const double*, int, double, int, double*);
using Fast = void (*)(const double*, int, double, int, double*, double*);

// The fast sums against the plain loops on every vector level, with two threads and with
// the worker refused. Lags 203 and 77 leave partial blocks and a tail of single lags on
// every level; lags beyond n have no products. At n = 25102 the second checkpoint of lags
// 96 .. 101 falls within a vector's width of the last sample, so its window runs past n. The
// scratch holds NaN beyond n (the program's holds older samples there): a read past the last
// sample shows in the sums.
void CompareWithPlain(Plain plain, Fast fast, const std::vector<double>& x, double mean, int lags,
                      const std::string& what) {
  const int n = static_cast<int>(x.size());
  std::vector<double> want(lags), got(lags), centred(n + 64, std::nan(""));
  plain(x.data(), n, mean, lags, want.data());
  const LevelGuard guard;
  for (simd::Level level : Levels()) {
    for (bool oneThread : {false, true}) {
      simd::SetLevel(level);
      const WorkerRefused refused(oneThread);
      std::fill(got.begin(), got.end(), -1.0);
      fast(x.data(), n, mean, lags, got.data(), centred.data());
      ExpectSameBits(got, want,
                     what + " n=" + std::to_string(n) + " lags=" + std::to_string(lags) + " " +
                         simd::Name(level) + (oneThread ? " one thread" : ""));
    }
  }
}

}  // namespace

TEST(DirectCorrelation, FastSumsEqualThePlainLoopsBitForBit) {
  for (int n : {100, 4099, 25102, 65536}) {
    const std::vector<double> noise = Gaussian(n, 0.25, 11 + n);
    const std::vector<double> wave = HarmonicAndNoise(n, 5 + n);
    for (int lags : {203, n == 100 ? 150 : 77}) {
      CompareWithPlain(DirectCorrelationFullPlain, DirectCorrelationFull, noise, 0.25, lags,
                       "full, noise");
      CompareWithPlain(DirectCorrelationEarlyStopPlain, DirectCorrelationEarlyStop, wave, 0.1, lags,
                       "early stop, harmonic");
      CompareWithPlain(DirectCorrelationEarlyStopPlain, DirectCorrelationEarlyStop, noise, 0.0,
                       lags, "early stop, noise");
    }
  }
}

TEST(DirectCorrelation, FastEarlyStopEqualsThePlainLoopsAtTheLongestLengthAndLags) {
  // The input side's 2000 lags of the longest realization, noise about its own mean: the
  // lags stop at some forty different checkpoints, the last beyond sample 300000.
  const int n = 524288;
  const std::vector<double> x = Gaussian(n, 0.0, 3);
  CompareWithPlain(DirectCorrelationEarlyStopPlain, DirectCorrelationEarlyStop, x, 0.0,
                   DirectLagCountIn, "early stop, input side");
}

TEST(DirectCorrelation, LagsWithoutProductsReadZero) {
  const std::vector<double> x{1, 2, 3};
  std::vector<double> k(5, -1.0), centred(3);
  DirectCorrelationFull(x.data(), 3, 0, 5, k.data(), centred.data());
  EXPECT_EQ(k, (std::vector<double>{14.0 / 3, 8.0 / 2, 3.0 / 1, 0, 0}));
  DirectCorrelationEarlyStopPlain(x.data(), 3, 0, 5, k.data());
  EXPECT_EQ(k, (std::vector<double>{14.0 / 3, 8.0 / 2, 3.0 / 1, 0, 0}));
}

TEST(DirectCorrelation, EarlyStopStopsWhereTheCheckpointsSay) {
  // x = 1 up to sample 20000, 1.01 up to 25000, 3 after. Lag 0 reads the average 1 at its
  // first checkpoint (20001 products), which never stops, then 1.004 at the second (25001
  // products, the product at the checkpoint included): within 10 %, so it stops there.
  const int n = 40000;
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = i <= 20000 ? 1.0 : i <= 25000 ? 1.01 : 3.0;
  auto stoppedAfter = [&](int lag, int last) {
    double sum = 0;
    for (int i = lag; i <= last; ++i) sum = sum + x[i] * x[i - lag];
    return sum / (last - lag + 1);
  };
  std::vector<double> plain(DirectLagCountIn), fast(DirectLagCountIn), centred(n);
  DirectCorrelationEarlyStopPlain(x.data(), n, 0.0, DirectLagCountIn, plain.data());
  DirectCorrelationEarlyStop(x.data(), n, 0.0, DirectLagCountIn, fast.data(), centred.data());
  EXPECT_EQ(plain[0], stoppedAfter(0, 25000));
  EXPECT_GT(plain[0], 1.0);
  // Lag 1 takes one product of 3 * 1.01 at its second checkpoint (sample 25001): 1.0001 is
  // still within 10 % of 1.0000, so it stops there too.
  EXPECT_EQ(plain[1], stoppedAfter(1, 25001));
  // Lag 1999 meets the products 3 * 1.01 and then 3 * 3 before its later checkpoints: its
  // average climbs by more than 10 % at each, and the samples end before it settles.
  EXPECT_EQ(plain[1999], stoppedAfter(1999, n - 1));
  ExpectSameBits(fast, plain, "constructed");

  // An average of 0 never stops the sums: x = 0 up to sample 35000, 1 after it. Every lag j
  // reads 0 at each of its checkpoints (the last at sample j + 35000), and every product
  // after them still counts: K[j] = (4999 - j) / (40000 - j).
  std::vector<double> late(n, 0.0);
  std::fill(late.begin() + 35001, late.end(), 1.0);
  DirectCorrelationEarlyStopPlain(late.data(), n, 0.0, 203, plain.data());
  for (int j = 0; j < 203; ++j) ASSERT_EQ(plain[j], (4999.0 - j) / (n - j)) << j;
  CompareWithPlain(DirectCorrelationEarlyStopPlain, DirectCorrelationEarlyStop, late, 0.0, 203,
                   "zero at every checkpoint");
}

TEST(FftCorrelation, PipelineOfAHarmonicWithWholePeriods) {
  // 64 whole periods: the circular sum of the centred signal is exactly (N/2) cos(2 pi 64 j/N),
  // divided by N - j. The transforms, the power spectrum, the removed constant and the
  // scaling all show in this one figure.
  const int n = 1 << 13;
  std::vector<double> x(n), re(n), im(n), power(n);
  for (int i = 0; i < n; ++i) x[i] = 5 + std::cos(2 * Pi * 64 * i / n + 0.7);
  const int lags = CorrelationByFft(x.data(), n, FastTransform, re.data(), im.data(), power.data());
  ASSERT_EQ(lags, n);  // fewer samples than 10000 lags
  EXPECT_EQ(power[0], 0.0);
  for (int j = 0; j < n; j += 37) {
    EXPECT_NEAR(re[j] * (n - j) / n, 0.5 * std::cos(2 * Pi * 64 * j / n), 1e-9) << j;
  }
}

TEST(FftCorrelation, ZeroLagIsTheDeviationAboutTheSampleMeanAndFastTransformsKeepTheBits) {
  const int n = 1 << 16;
  const std::vector<double> x = Gaussian(n, 4.0, 21);
  std::vector<double> re(n), im(n), power(n), rePlain(n), imPlain(n), powerPlain(n);
  ASSERT_EQ(CorrelationByFft(x.data(), n, FastTransform, re.data(), im.data(), power.data()),
            FftLagCount);
  double mean = 0;
  for (double v : x) mean += v;
  mean /= n;
  double square = 0;
  for (double v : x) square += (v - mean) * (v - mean);
  EXPECT_NEAR(re[0], square / n, 1e-10 * square / n);

  CorrelationByFft(x.data(), n, PlainTransform, rePlain.data(), imPlain.data(), powerPlain.data());
  re.resize(FftLagCount + 5);
  rePlain.resize(FftLagCount + 5);
  ExpectSameBits(re, rePlain, "fft method");
}

TEST(FftCorrelation, LongestRealizationScalesWithoutOverflow) {
  // (N - j) * N passes the 32-bit range at N = 2^19; K must still read the variance at lag
  // 0 and stay near 0 (about 1/sqrt(N)) at the five extra lags.
  const int n = 1 << 19;
  const std::vector<double> x = Gaussian(n, 0.0, 8);
  std::vector<double> re(n), im(n), power(n);
  ASSERT_EQ(CorrelationByFft(x.data(), n, FastTransform, re.data(), im.data(), power.data()),
            FftLagCount);
  EXPECT_NEAR(re[0], 1.0, 5 * std::sqrt(2.0 / n));
  for (int j = FftLagCount - 1; j < FftLagCount + 5; ++j) EXPECT_NEAR(re[j], 0.0, 0.01) << j;
}

TEST(CorrelationMethods, DirectInputDiffersFromTheFftBySquareOfTheMeanOffset) {
  // Noise about 3 measured with the nominal mean 2: the direct sums see the offset 1, the FFT
  // removes the sample mean. Bounds: six standard errors of the averages (the direct input
  // sums stop after about 25001 products, where (1 + z)(1 + z') has variance 3, at lag 0
  // (1 + z)^2 has 6).
  const int n = 1 << 16;
  const std::vector<double> x = Gaussian(n, 3.0, 99);
  std::vector<double> re(n), im(n), power(n);
  auto none = [](const double*, int, int, double*, double*) { return 0; };
  ASSERT_EQ(CorrelationFunction(false, false, x.data(), n, 2.0, 1.0, none,
                                {re.data(), im.data(), power.data()}),
            DirectLagCountIn);
  const std::vector<double> direct(re.begin(), re.begin() + DirectLagCountIn);
  ASSERT_EQ(CorrelationFunction(false, true, x.data(), n, 2.0, 1.0, FastTransform,
                                {re.data(), im.data(), power.data()}),
            FftLagCount);
  EXPECT_NEAR(direct[0] - re[0], 1.0, 6 * std::sqrt(6.0 / 25001));
  for (int j = 1; j < DirectLagCountIn; ++j)
    ASSERT_NEAR(direct[j] - re[j], 1.0, 6 * std::sqrt(3.0 / 25001)) << j;
}

TEST(CorrelationMethods, ScaleMultipliesEveryValueAndDirectOutputHasItsLagCount) {
  const int n = 8192;
  const std::vector<double> x = Gaussian(n, 0.0, 4);
  std::vector<double> re(n), im(n), power(n), plain(DirectLagCountOut);
  DirectCorrelationFullPlain(x.data(), n, 0.5, DirectLagCountOut, plain.data());
  ASSERT_EQ(CorrelationFunction(true, false, x.data(), n, 0.5, 3.0, nullptr,
                                {re.data(), im.data(), power.data()}),
            DirectLagCountOut);
  for (int j = 0; j < DirectLagCountOut; j += 71) EXPECT_EQ(re[j], 3.0 * plain[j]);
  // Before any run the scale is 0: a flat zero, whatever the samples.
  CorrelationFunction(true, true, x.data(), n, 0.5, 0.0, FastTransform,
                      {re.data(), im.data(), power.data()});
  for (int j = 0; j < n; ++j) ASSERT_EQ(re[j], 0.0) << j;
}

TEST(CorrelationView, LimitsAndRangesOfEachSideAndMethod) {
  // The defaults: FFT method, T = 0.005 ms.
  const CorrelationView in = ViewOf(false, FftLagCount, 0.005, 0.8, false);
  EXPECT_DOUBLE_EQ(in.tmax, 49.995);
  EXPECT_DOUBLE_EQ(in.limitXmin, -49.995);
  EXPECT_DOUBLE_EQ(in.limitXmax, 49.995);
  EXPECT_DOUBLE_EQ(in.rangeXmin, -0.49995);
  EXPECT_DOUBLE_EQ(in.rangeXmax, 0.49995);
  EXPECT_EQ(in.limitYmin, -1.6);
  EXPECT_EQ(in.limitYmax, 1.6);
  const CorrelationView out = ViewOf(true, FftLagCount, 0.005, 0.8, true);
  EXPECT_DOUBLE_EQ(out.limitXmin, -44.9955);
  EXPECT_DOUBLE_EQ(out.limitXmax, 44.9955);
  EXPECT_DOUBLE_EQ(out.rangeXmin, -4.9995);
  EXPECT_DOUBLE_EQ(out.rangeXmax, 4.9995);
  EXPECT_DOUBLE_EQ(ViewOf(false, DirectLagCountIn, 0.005, 1, false).tmax, 9.995);
  EXPECT_DOUBLE_EQ(ViewOf(true, DirectLagCountOut, 0.005, 1, false).tmax, 24.995);

  // A flat zero (before a run, generator off, constant output): the pair 0 .. 0 would be
  // refused by the chart, so the y limits are -1 .. 1.
  for (double k0 : {0.0, -0.0, -1e-20}) {
    const CorrelationView flat = ViewOf(false, FftLagCount, 0.005, k0, false);
    EXPECT_EQ(flat.limitYmin, -1.0);
    EXPECT_EQ(flat.limitYmax, 1.0);
  }
}

TEST(CorrelationView, CurveIsFiniteOnlyWhenEveryValueAndTheLimitAre) {
  std::vector<double> k{1.0, 0.5, -0.25};
  EXPECT_TRUE(CurveIsFinite(k.data(), 3));
  k[2] = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(CurveIsFinite(k.data(), 3));
  EXPECT_TRUE(CurveIsFinite(k.data(), 2));
  k[1] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(CurveIsFinite(k.data(), 2));
  k[0] = 1e308;  // finite, but 2 * K[0] as the y limit is not
  EXPECT_FALSE(CurveIsFinite(k.data(), 1));
}
