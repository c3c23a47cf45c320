#include "model/Generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/Mathlib.h"
#include "model/Simd.h"
#include "tests/support/FastKernels.h"

using namespace model;
using namespace kerneltest;

namespace {

GeneratorParams Params(int kind, double M = 0, double D = 1, double A = 1, double Fr = 1) {
  GeneratorParams p;
  p.kind = kind;
  p.M = M;
  p.D = D;
  p.A = A;
  p.Fr = Fr;
  return p;
}

// The plain loop: reset, then one NextSample per entry.
std::vector<double> PlainRealization(Generator& g, const GeneratorParams& p, int n) {
  g.Reset(0, p.Fr);
  std::vector<double> out(n);
  for (double& v : out) v = g.NextSample(p);
  return out;
}

struct Moments {
  double mean, sko, min, max;
};
Moments MomentsOf(const std::vector<double>& v) {
  double s = 0, lo = v[0], hi = v[0];
  for (double x : v) {
    s += x;
    lo = std::min(lo, x);
    hi = std::max(hi, x);
  }
  const double mean = s / v.size();
  double q = 0;
  for (double x : v) q += (x - mean) * (x - mean);
  return {mean, std::sqrt(q / v.size()), lo, hi};
}

}  // namespace

// The fast path must reproduce the one-sample loop bit for bit, leave the random source
// and the harmonic counter where the loop leaves them, on every vector level.
TEST(GeneratorFill, EqualsPlainLoopForEveryKindLengthAndLevel) {
  const LevelGuard guard;
  for (simd::Level level : Levels()) {
    simd::SetLevel(level);
    for (int kind = 0; kind <= 5; ++kind) {
      for (int n : {1, 31, 12345, 65536, 524288}) {
        if (n == 524288 && kind != KindGaussianNoise && kind != KindHarmonicGaussian) continue;
        const GeneratorParams p = Params(kind, 0.25, 1.5, 2.0, 3.3);
        Generator plain, fast;
        mathlib::RandSeed(4242 + n);
        const std::vector<double> expected = PlainRealization(plain, p, n);
        const std::uint64_t endState = mathlib::RandState();

        mathlib::RandSeed(4242 + n);
        fast.Reset(0, p.Fr);
        std::vector<double> got(n);
        fast.Fill(p, got.data(), n);
        SCOPED_TRACE(testing::Message() << simd::Name(level) << " kind " << kind << " n " << n);
        ExpectSameBits(got, expected);
        EXPECT_EQ(mathlib::RandState(), endState);
        EXPECT_EQ(fast.Counter, plain.Counter);
      }
    }
  }
}

TEST(GeneratorFill, NoiseKernelsMatchPlainFromAnyState) {
  const LevelGuard guard;
  std::vector<double> plain(1000), got(1000);
  for (std::uint64_t s : {0ull, 1ull, 0x8000000000000000ull, ~0ull, 0x123456789abcdefull}) {
    NoiseSumsPlain(s, plain.data(), 1000);
    for (simd::Level level : Levels()) {
      if (level == simd::Level::Plain) continue;  // the plain loop itself
      simd::SetLevel(level);
      NoiseSums(s, got.data(), 1000);
      ExpectSameBits(got, plain);
    }
  }
}

TEST(GeneratorFill, CounterWrapsInsideABlock) {
  const GeneratorParams p = Params(KindHarmonic, 0, 1, 1, 1);
  Generator plain, fast;
  plain.Counter = fast.Counter = CounterWrap - 20000;
  plain.PhaseStep = fast.PhaseStep = 0.01;
  std::vector<double> expected(50000), got(50000);
  for (double& v : expected) v = plain.NextSample(p);
  fast.Fill(p, got.data(), 50000);
  ExpectSameBits(got, expected);
  EXPECT_EQ(fast.Counter, plain.Counter);
  EXPECT_LT(fast.Counter, 30000);
}

TEST(GeneratorReset, PhaseIsAWholeDegreeAndStepFollowsFrequency) {
  Generator g;
  g.SamplingPeriod = 0.005;
  mathlib::RandSeed(77);
  for (int i = 0; i < 500; ++i) {
    g.Reset(0, 2.0);
    const double degrees = g.Phase * 180 / 3.141592653589793;
    EXPECT_NEAR(degrees, std::round(degrees), 1e-9);
    EXPECT_GE(std::round(degrees), -180);
    EXPECT_LE(std::round(degrees), 179);
  }
  EXPECT_EQ(g.PhaseStep, 6.283185307179586 * 2.0 * 0.005);
  g.Reset(7, 1.0);
  EXPECT_EQ(g.Counter, -7);
  // The phase uses one draw: the random source moved by exactly one step.
  mathlib::RandSeed(5);
  const int r = mathlib::RandDraw();
  mathlib::RandSeed(5);
  g.Reset(0, 1.0);
  const long double expected =
      ((r % 360) - 180) * static_cast<long double>(3.141592653589793) / 180;
  EXPECT_EQ(g.Phase, static_cast<double>(expected));
}

TEST(GeneratorKinds, ConstantCases) {
  Generator g;
  mathlib::RandSeed(1);
  // Off after a mean was entered under another kind: the constant mean.
  for (double v : PlainRealization(g, Params(KindOff, 3), 100)) EXPECT_EQ(v, 3.0);
  // A harmonic of amplitude 0, and noise of zero deviation: the constant mean.
  for (double v : PlainRealization(g, Params(KindHarmonic, -2, 1, 0), 100)) EXPECT_EQ(v, -2.0);
  for (double v : PlainRealization(g, Params(KindGaussianNoise, 1.5, 0), 100)) EXPECT_EQ(v, 1.5);
  for (double v : PlainRealization(g, Params(KindUniformNoise, 1.5, 0), 100)) EXPECT_EQ(v, 1.5);
  // Unknown kind: nothing but the mean.
  for (double v : PlainRealization(g, Params(9, 0.5), 10)) EXPECT_EQ(v, 0.5);
}

TEST(GeneratorKinds, MixtureWithoutNoiseIsThePureHarmonic) {
  Generator g1, g2;
  mathlib::RandSeed(9);
  const std::vector<double> h = PlainRealization(g1, Params(KindHarmonic, 0.5, 1, 2, 1), 1000);
  mathlib::RandSeed(9);
  const std::vector<double> mix =
      PlainRealization(g2, Params(KindHarmonicGaussian, 0.5, 0, 2, 1), 1000);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(h[i], mix[i]);
  // One period of 1 kHz at 0.005 ms is 200 samples.
  EXPECT_NEAR(h[0], h[200], 1e-12);
  EXPECT_NEAR(h[37], h[437], 1e-12);
}

// Statistics within five standard errors of theory, N = 524288.
TEST(GeneratorKinds, GaussianAndUniformStatistics) {
  const int n = 524288;
  Generator g;
  std::vector<double> v(n);
  mathlib::RandSeed(2024);
  g.Reset(0, 1);
  g.Fill(Params(KindGaussianNoise, 1.0, 2.0), v.data(), n);
  Moments m = MomentsOf(v);
  EXPECT_NEAR(m.mean, 1.0, 5 * 2.0 / std::sqrt(n));
  EXPECT_NEAR(m.sko, 2.0, 5 * 2.0 / std::sqrt(2.0 * n));
  // A sum of 50 bounded terms never goes beyond 25 * sqrt(0.24) deviations.
  EXPECT_LT(m.max, 1.0 + 2.0 * 25 * mathlib::Sqrt024);

  g.Fill(Params(KindUniformNoise, -1.0, 0.5), v.data(), n);
  m = MomentsOf(v);
  const double half = std::sqrt(3.0) * 0.5;
  EXPECT_GE(m.min, -1.0 - half);
  EXPECT_LE(m.max, -1.0 + half);
  EXPECT_NEAR(m.min, -1.0 - half, 0.01);
  EXPECT_NEAR(m.max, -1.0 + half, 0.01);
  EXPECT_NEAR(m.mean, -1.0, 5 * 0.5 / std::sqrt(n));
  EXPECT_NEAR(m.sko, 0.5, 5 * 0.5 * std::sqrt(0.2 / n));
}

TEST(GeneratorDescription, TextsOfEveryKind) {
  const GeneratorTexts t{"1", "2,5", "0,3", "-1"};
  const std::string c = "Генератор";
  EXPECT_EQ(DescribeGenerator(c, 0, t, "x"), "Генератор: выключен");
  EXPECT_EQ(DescribeGenerator(c, 1, t, "x"),
            "Генератор: гармонический сигнал со случайной начальной фазой: амплитуда 1мВ; "
            "частота 2,5кГц;  математическое ожидание: -1мВ");
  EXPECT_EQ(DescribeGenerator(c, 2, t, "x"),
            "Генератор: шум с равномерным распределением: среднеквадратическое отклонение: "
            "0,3мВ; математическое ожидание: -1мВ");
  EXPECT_EQ(DescribeGenerator(c, 3, t, "x"),
            "Генератор: гауссов шум: среднеквадратическое отклонение: 0,3мВ; математическое "
            "ожидание: -1мВ");
  EXPECT_EQ(DescribeGenerator(c, 4, t, "x"),
            "Генератор: аддитивная смесь гармонического сигнала и гауссова шума: амплитуда 1мВ; "
            "частота 2,5кГц; СКО: 0,3мВ; МО: -1мВ");
  EXPECT_EQ(DescribeGenerator(c, 7, t, "previous"), "previous");
}

// Known answers: the first four samples of every kind, computed outside the program from the
// random source's draws (doubles with round-to-nearest; the phase in exact rational
// arithmetic, rounded to the 64-bit extended mantissa at each step, then once to double).
//   Settings: A = 2 mV, f = 1.3 kHz, T = 0.005 ms, M = 0.25 mV, D = 0.7 mV.
//   Seed 20240611: s = 20240611 * 22695477 + 1 mod 2^32 = 0x7cd41100.
//   Draw: s = s * 1486058704437 + 1 mod 2^64, r = bits 32..62 of s.
//   Reset: draw 1 = 916398114; phase = (916398114 mod 360 - 180) = -66 degrees
//     = -66 * pi * (1/180) = -0x1.26e40d7653223p+0; step = 2 pi * 1.3 * 0.005.
//   Noise sample i: draws 2 + 50 i .. 51 + 50 i, S = sum of ((r mod 1000000) * 1e-6 - 0.5) in
//     draw order: S0 = 0x1.59fe21d96e9bap+1, S1 = -0x1.2b9cc74b838c2p+0,
//     S2 = 0x1.05b1c864883f2p-2, S3 = 0x1.5378359bc33f4p+0.
//   Off:       M.
//   Harmonic:  A * cos(step * i + phase) + M.
//   Uniform:   sqrt(12) * (Phi(S * sqrt(0.24)) - 0.5) * D + M.
//   Gaussian:  S * D * sqrt(0.24) + M.
//   Mixture:   (A * cos(step * i + phase) + S * sqrt(0.24) * D) + M.
// The order of the products matters in the last bit: S * sqrt(0.24) * D instead of
// S * D * sqrt(0.24) changes sample 1 of the Gaussian kind, and the mixture's the other way
// round; sqrt(12) * D * (...) changes sample 3 of the uniform kind.
TEST(GeneratorKinds, FirstSamplesOfEveryKindAreTheKnownAnswers) {
  const double expected[5][4] = {
      {0x1p-2, 0x1p-2, 0x1p-2, 0x1p-2},
      {0x1.103fc90830d68p+0, 0x1.232c3f1564302p+0, 0x1.35b7b7f3ed1a3p+0, 0x1.47da48c1fe498p+0},
      {0x1.3cd46f4851442p+0, -0x1.1a536e47650b2p-2, 0x1.7bb2eafe33ed8p-2, 0x1.ac7e86e8ea65cp-1},
      {0x1.2d4d332f4b743p+0, -0x1.35f71a44ca85cp-3, 0x1.59be14ec04a5ep-2, 0x1.68d3df18e98cep-1},
      {0x1.fd8cfc377c4acp+0, 0x1.78dab79995becp-1, 0x1.4c273d2eee43ap+0, 0x1.bc44384e730ffp+0},
  };
  // The draws and the sums behind the noise samples.
  mathlib::RandSeed(20240611);
  EXPECT_EQ(mathlib::RandState(), 0x7cd41100u);
  EXPECT_EQ(mathlib::RandDraw(), 916398114);
  const double sums[4] = {0x1.59fe21d96e9bap+1, -0x1.2b9cc74b838c2p+0, 0x1.05b1c864883f2p-2,
                          0x1.5378359bc33f4p+0};
  for (double S : sums) EXPECT_EQ(NoiseSum(), S);

  const LevelGuard guard;
  for (int kind = KindOff; kind <= KindHarmonicGaussian; ++kind) {
    const GeneratorParams p = Params(kind, 0.25, 0.7, 2.0, 1.3);
    Generator g;
    mathlib::RandSeed(20240611);
    const std::vector<double> plain = PlainRealization(g, p, 4);
    EXPECT_EQ(g.Phase, -0x1.26e40d7653223p+0);
    ExpectSameBits(plain, std::vector<double>(expected[kind], expected[kind] + 4));
    for (simd::Level level : Levels()) {
      simd::SetLevel(level);
      mathlib::RandSeed(20240611);
      g.Reset(0, p.Fr);
      std::vector<double> fast(4);
      g.Fill(p, fast.data(), 4);
      SCOPED_TRACE(testing::Message() << "kind " << kind << " " << simd::Name(level));
      ExpectSameBits(fast, plain);
    }
  }
}

// When no worker thread can start, the halves run one after the other on the calling
// thread: the same bits, the same random-source state and counter at the end.
TEST(GeneratorFill, OneThreadWhenNoWorkerCanStartGivesTheSameBits) {
  for (int kind : {KindHarmonic, KindUniformNoise, KindHarmonicGaussian}) {
    const GeneratorParams p = Params(kind, 0.25, 1.5, 2.0, 3.3);
    std::vector<double> results[2];
    std::uint64_t states[2];
    double counters[2];
    for (int refuse = 0; refuse < 2; ++refuse) {
      const WorkerRefused refused(refuse == 1);
      Generator g;
      mathlib::RandSeed(99);
      g.Reset(0, p.Fr);
      results[refuse].resize(65536);
      g.Fill(p, results[refuse].data(), 65536);
      states[refuse] = mathlib::RandState();
      counters[refuse] = g.Counter;
    }
    SCOPED_TRACE(kind);
    ExpectSameBits(results[1], results[0]);
    EXPECT_EQ(states[1], states[0]);
    EXPECT_EQ(counters[1], counters[0]);
  }
}
