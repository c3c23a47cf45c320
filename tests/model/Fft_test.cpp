#include "model/Fft.h"

#include <fftw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "model/Simd.h"
#include "tests/support/FastKernels.h"
#include "tests/support/MessageRecorder.h"

using namespace model;
using namespace kerneltest;

namespace {

constexpr double Pi = 3.141592653589793;

std::vector<double> RandomSignal(int n, unsigned seed, double scale = 1.0) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> u(-scale, scale);
  std::vector<double> v(n);
  for (double& x : v) x = u(rng);
  return v;
}

// The reference: FFTW's complex transform with the positive exponent (FFTW_BACKWARD), which
// does not scale either.
std::vector<std::complex<double>> Reference(const std::vector<double>& re,
                                            const std::vector<double>& im) {
  const int n = static_cast<int>(re.size());
  fftw_complex* in = fftw_alloc_complex(n);
  fftw_complex* out = fftw_alloc_complex(n);
  fftw_plan plan = fftw_plan_dft_1d(n, in, out, FFTW_BACKWARD, FFTW_ESTIMATE);
  for (int i = 0; i < n; ++i) {
    in[i][0] = re[i];
    in[i][1] = im.empty() ? 0.0 : im[i];
  }
  fftw_execute(plan);
  std::vector<std::complex<double>> r(n);
  for (int i = 0; i < n; ++i) r[i] = {out[i][0], out[i][1]};
  fftw_destroy_plan(plan);
  fftw_free(in);
  fftw_free(out);
  return r;
}

// The largest deviation of a part from the reference, relative to the largest magnitude.
double RelativeError(const std::vector<double>& re, const std::vector<double>& im,
                     const std::vector<std::complex<double>>& ref) {
  double err = 0, top = 0;
  for (size_t k = 0; k < ref.size(); ++k) {
    err = std::max({err, std::abs(re[k] - ref[k].real()), std::abs(im[k] - ref[k].imag())});
    top = std::max(top, std::abs(ref[k]));
  }
  return err / top;
}

// The error bound against FFTW. Most of the error comes from the twiddle factors: the
// recurrence u := u * w lets the factor j of a stage drift by a few units in the last place
// per step, so the factors late in the last stage (j near len/2) are off by up to about
// len * eps in the worst case (eps = 2^-52). With random data the drifts of different factors
// meet data of random sign and the measured error is about len * eps / 16 (7e-12 at 2^19).
// The bound len * eps / 4 (2.9e-11 at 2^19, below 1e-10) keeps a margin of three or more over
// what is measured at every length, while a real fault (a wrong factor, a lost butterfly, a
// wrong sign) gives errors of order one. Short transforms are bounded by 1e-14, well above
// their plain rounding error (a few 1e-16).
double ErrorBound(int len) {
  return std::max(1e-14, len * 2.220446049250313e-16 / 4);
}

struct Result {
  std::vector<double> re, im;
  int len;
};

Result Transform(const std::vector<double>& x, int count, int size, bool plain, int room = 0) {
  Result r;
  const int n = std::max({room, size, count, 2});
  r.re.assign(n, -7.0);  // not zero: the transform must clear what it uses
  r.im.assign(n, -7.0);
  r.len = plain ? FftTransformPlain(x.data(), count, size, r.im.data(), r.re.data())
                : FftTransform(x.data(), count, size, r.im.data(), r.re.data());
  return r;
}

}  // namespace

// ---- sizes and messages -----------------------------------------------------------------

TEST(FftLength, PowersOfTwoPassSilently) {
  MessageRecorder rec;
  for (int m = 1; m <= 30; ++m) EXPECT_EQ(FftLength(0, 1 << m), 1 << m);
  EXPECT_EQ(FftLength(5, 8), 8);
  EXPECT_EQ(FftLength(-3, 4), 4);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(FftLength, CorrectedSizesSayWhy) {
  MessageRecorder rec;
  EXPECT_EQ(FftLength(0, 0), 2);
  EXPECT_EQ(FftLength(4, 6), 4);
  EXPECT_EQ(FftLength(-10, -8), 8);  // a negative size counts by its magnitude
  EXPECT_EQ(FftLength(-10, -6), 4);
  EXPECT_EQ(FftLength(1, 524287), 262144);
  EXPECT_EQ(FftLength(1, 0x7FFFFFFF), 1 << 30);
  EXPECT_EQ(FftLength(-0x7FFFFFFF - 1, -0x7FFFFFFF - 1), 1 << 30);  // 2^31 is too long
  EXPECT_EQ(rec.texts,
            (std::vector<std::string>{
                "Модуль БПФ: Попытка установить нулевой объем преобразования.",
                "Установлен неправильный объем БПФ: 6", "Установлен неправильный объем БПФ: 6",
                "Установлен неправильный объем БПФ: 524287",
                "Установлен неправильный объем БПФ: 2147483647",
                "Установлен неправильный объем БПФ: 2147483648"}));
}

TEST(FftTransform, SizeBelowCountRefusesAndLeavesArraysAlone) {
  for (bool plain : {true, false}) {
    MessageRecorder rec;
    const std::vector<double> x = RandomSignal(64, 1);
    const Result r = Transform(x, 64, 32, plain, 64);
    EXPECT_EQ(r.len, 0);
    EXPECT_EQ(rec.texts, std::vector<std::string>{"Объём БПФ меньше длины сигнала."});
    for (int i = 0; i < 64; ++i) {
      EXPECT_EQ(r.re[i], -7.0);
      EXPECT_EQ(r.im[i], -7.0);
    }
  }
}

TEST(FftTransform, ZeroSizeWarnsAndTransformsTwoPoints) {
  for (bool plain : {true, false}) {
    MessageRecorder rec;
    const std::vector<double> x{3.0, 5.0};
    const Result r = Transform(x, 0, 0, plain, 4);
    EXPECT_EQ(r.len, 2);
    EXPECT_EQ(rec.texts, std::vector<std::string>{
                             "Модуль БПФ: Попытка установить нулевой объем преобразования."});
    // count 0: nothing copied, the transform of zeros; the rest of the arrays untouched.
    EXPECT_EQ(r.re, (std::vector<double>{0, 0, -7, -7}));
    EXPECT_EQ(r.im, (std::vector<double>{0, 0, -7, -7}));
  }
}

TEST(FftTransform, SizeSixWithCountFourIsAFourPointTransform) {
  for (bool plain : {true, false}) {
    MessageRecorder rec;
    const std::vector<double> x{1, 2, 3, 4, 100, 200};
    const Result r = Transform(x, 4, 6, plain);
    EXPECT_EQ(r.len, 4);
    EXPECT_EQ(rec.texts, std::vector<std::string>{"Установлен неправильный объем БПФ: 6"});
    // X[k] = sum x[n] e^{+i pi k n / 2}: 10, -2-2i, -2, -2+2i.
    const double wantRe[] = {10, -2, -2, -2}, wantIm[] = {0, -2, 0, 2};
    for (int k = 0; k < 4; ++k) {
      EXPECT_NEAR(r.re[k], wantRe[k], 1e-14) << k;
      EXPECT_NEAR(r.im[k], wantIm[k], 1e-14) << k;
    }
    EXPECT_EQ(r.re[4], -7.0);  // nothing written beyond the length
    EXPECT_EQ(r.re[5], -7.0);
  }
}

// A size that is not a power of two with more samples than the corrected length: only the
// samples that fit are copied, and nothing is written beyond the length.
TEST(FftTransform, CountAboveCorrectedLengthCopiesOnlyWhatFits) {
  const std::vector<double> x = RandomSignal(1000, 2);
  const std::vector<double> head(x.begin(), x.begin() + 512);
  for (bool plain : {true, false}) {
    MessageRecorder rec;
    const Result r = Transform(x, 1000, 1000, plain);
    ASSERT_EQ(r.len, 512);
    EXPECT_EQ(rec.texts, std::vector<std::string>{"Установлен неправильный объем БПФ: 1000"});
    const Result whole = Transform(head, 512, 512, true);
    ExpectSameBits(std::vector<double>(r.re.begin(), r.re.begin() + 512), whole.re, "re");
    ExpectSameBits(std::vector<double>(r.im.begin(), r.im.begin() + 512), whole.im, "im");
    for (int i = 512; i < 1000; ++i) {
      ASSERT_EQ(r.re[i], -7.0) << i;
      ASSERT_EQ(r.im[i], -7.0) << i;
    }
  }
}

// ---- known answers ------------------------------------------------------------------------

TEST(FftTransform, KnownAnswers) {
  for (int len : {2, 8, 64, 4096, 65536}) {
    for (bool plain : {true, false}) {
      SCOPED_TRACE(testing::Message() << "len " << len << (plain ? " plain" : " fast"));
      std::vector<double> impulse(len, 0.0), constant(len, 1.0), cosine(len), sine(len);
      impulse[0] = 1;
      for (int n = 0; n < len; ++n) {
        cosine[n] = std::cos(2 * Pi * n / len);
        sine[n] = std::sin(2 * Pi * n / len);
      }
      const double tol = 1e-12 * len;

      Result r = Transform(impulse, len, len, plain);
      for (int k = 0; k < len; ++k) {
        ASSERT_EQ(r.re[k], 1.0) << k;
        ASSERT_EQ(r.im[k], 0.0) << k;
      }

      r = Transform(constant, len, len, plain);
      EXPECT_EQ(r.re[0], len);
      EXPECT_EQ(r.im[0], 0.0);
      for (int k = 1; k < len; ++k) {
        ASSERT_NEAR(r.re[k], 0, tol) << k;
        ASSERT_NEAR(r.im[k], 0, tol) << k;
      }

      if (len < 4) continue;
      r = Transform(cosine, len, len, plain);
      for (int k = 0; k < len; ++k) {
        const double want = (k == 1 || k == len - 1) ? len / 2.0 : 0.0;
        ASSERT_NEAR(r.re[k], want, tol) << k;
        ASSERT_NEAR(r.im[k], 0, tol) << k;
      }

      // The positive exponent: sin gives +len/2 at k = 1 in the imaginary part.
      r = Transform(sine, len, len, plain);
      for (int k = 0; k < len; ++k) {
        const double want = k == 1 ? len / 2.0 : (k == len - 1 ? -len / 2.0 : 0.0);
        ASSERT_NEAR(r.re[k], 0, tol) << k;
        ASSERT_NEAR(r.im[k], want, tol) << k;
      }
    }
  }
}

// ---- against FFTW ----------------------------------------------------------------------------

TEST(FftOracle, RealSignalsOfEveryLength) {
  for (int m = 1; m <= 19; ++m) {
    const int len = 1 << m;
    const std::vector<double> x = RandomSignal(len, 100 + m, 3.0);
    const auto ref = Reference(x, {});
    for (bool plain : {true, false}) {
      const Result r = Transform(x, len, len, plain);
      const double err = RelativeError(r.re, r.im, ref);
      EXPECT_LT(err, ErrorBound(len)) << "len " << len << (plain ? " plain" : " fast");
    }
    // A signal shorter than the length is padded with zeros.
    const int count = len / 2 + 1;
    std::vector<double> padded = x;
    std::fill(padded.begin() + count, padded.end(), 0.0);
    const Result r = Transform(x, count, len, false);
    EXPECT_LT(RelativeError(r.re, r.im, Reference(padded, {})), ErrorBound(len))
        << "padded, len " << len;
  }
}

TEST(FftOracle, ComplexSignalsOfEveryLength) {
  for (int m = 1; m <= 19; ++m) {
    const int len = 1 << m;
    const std::vector<double> xr = RandomSignal(len, 200 + m), xi = RandomSignal(len, 300 + m);
    const auto ref = Reference(xr, xi);
    std::vector<double> re(len), im(len);
    FftComplex(xr.data(), xi.data(), re.data(), im.data(), len);
    EXPECT_LT(RelativeError(re, im, ref), ErrorBound(len)) << "len " << len;
    FftComplexPlain(xr.data(), xi.data(), re.data(), im.data(), len);
    EXPECT_LT(RelativeError(re, im, ref), ErrorBound(len)) << "plain, len " << len;
  }
}

// ---- the fast path against the plain loops ---------------------------------------------------

TEST(FftFast, SameBitsAsPlainLoopOnEveryLevel) {
  LevelGuard guard;
  for (int len : {64, 128, 256, 2048, 16384, 32768, 65536, 524288}) {
    const std::vector<double> x = RandomSignal(len, len, 50.0);
    // Full, and a count that ends inside a vector.
    for (int count : {len, len / 2 + 3}) {
      const Result want = Transform(x, count, len, true);
      for (simd::Level level : Levels()) {
        simd::SetLevel(level);
        const Result got = Transform(x, count, len, false);
        const std::string what = std::string(simd::Name(level)) + " len " + std::to_string(len) +
                                 " count " + std::to_string(count);
        ExpectSameBits(got.re, want.re, what + " re");
        ExpectSameBits(got.im, want.im, what + " im");
      }
    }
  }
}

TEST(FftFast, ComplexSameBitsAsPlainLoopOnEveryLevel) {
  LevelGuard guard;
  for (int len : {64, 512, 8192, 131072}) {
    const std::vector<double> xr = RandomSignal(len, 7 * len), xi = RandomSignal(len, 9 * len);
    std::vector<double> wantRe(len), wantIm(len);
    FftComplexPlain(xr.data(), xi.data(), wantRe.data(), wantIm.data(), len);
    for (simd::Level level : Levels()) {
      simd::SetLevel(level);
      std::vector<double> re(len), im(len);
      FftComplex(xr.data(), xi.data(), re.data(), im.data(), len);
      const std::string what = std::string(simd::Name(level)) + " len " + std::to_string(len);
      ExpectSameBits(re, wantRe, what + " re");
      ExpectSameBits(im, wantIm, what + " im");
    }
  }
}

// Special values travel through the butterflies the same way in both paths (the sign of a
// zero, an infinity or a NaN in the input).
TEST(FftFast, SameBitsWithZerosOfBothSignsAndSpecialValues) {
  LevelGuard guard;
  const int len = 4096;
  std::vector<double> x = RandomSignal(len, 5);
  for (int i = 0; i < len; i += 3) x[i] = (i % 2) ? -0.0 : 0.0;
  const Result want = Transform(x, len, len, true);
  std::vector<double> y = x;
  y[100] = INFINITY;
  y[1001] = NAN;
  const Result wantSpecial = Transform(y, len, len, true);
  for (simd::Level level : Levels()) {
    simd::SetLevel(level);
    const Result got = Transform(x, len, len, false);
    ExpectSameBits(got.re, want.re, "zeros re");
    ExpectSameBits(got.im, want.im, "zeros im");
    const Result gotSpecial = Transform(y, len, len, false);
    for (int k = 0; k < len; ++k) {
      ASSERT_EQ(std::isnan(gotSpecial.re[k]), std::isnan(wantSpecial.re[k])) << k;
      ASSERT_EQ(std::isnan(gotSpecial.im[k]), std::isnan(wantSpecial.im[k])) << k;
    }
  }
}

TEST(FftFast, SourceMayBeTheRealArray) {
  const int len = 8192;
  const std::vector<double> x = RandomSignal(len, 11);
  const Result want = Transform(x, len, len, true);
  std::vector<double> re = x, im(len, 1.0);
  EXPECT_EQ(FftTransform(re.data(), len, len, im.data(), re.data()), len);
  ExpectSameBits(re, want.re, "re");
  ExpectSameBits(im, want.im, "im");
  // ... or the imaginary one.
  std::vector<double> re2(len, 1.0), im2 = x;
  EXPECT_EQ(FftTransform(im2.data(), len, len, im2.data(), re2.data()), len);
  ExpectSameBits(re2, want.re, "re");
  ExpectSameBits(im2, want.im, "im");
}

TEST(FftFast, ComplexInPlaceSameBitsAsOutOfPlace) {
  const int len = 4096;
  const std::vector<double> xr = RandomSignal(len, 13), xi = RandomSignal(len, 14);
  std::vector<double> wantRe(len), wantIm(len);
  FftComplex(xr.data(), xi.data(), wantRe.data(), wantIm.data(), len);
  std::vector<double> re = xr, im = xi;
  FftComplex(re.data(), im.data(), re.data(), im.data(), len);
  ExpectSameBits(re, wantRe, "re");
  ExpectSameBits(im, wantIm, "im");
}

// Transforms requested from several threads at once (each with its own arrays, lengths that
// share and that do not share cached tables) give the same bits as one after the other.
TEST(FftFast, ConcurrentCallersGetTheirOwnResults) {
  const int lengths[] = {1 << 17, 1 << 12, 1 << 17, 1 << 15};
  std::vector<std::vector<double>> inputs, wantRe, wantIm;
  for (int k = 0; k < 4; ++k) {
    inputs.push_back(RandomSignal(lengths[k], 40 + k));
    const Result r = Transform(inputs[k], lengths[k], lengths[k], true);
    wantRe.push_back(r.re);
    wantIm.push_back(r.im);
  }
  std::vector<Result> got(4);
  std::vector<std::thread> threads;
  for (int k = 0; k < 4; ++k) {
    threads.emplace_back([&, k] {
      for (int rep = 0; rep < 3; ++rep)
        got[k] = Transform(inputs[k], lengths[k], lengths[k], false);
    });
  }
  for (std::thread& t : threads) t.join();
  for (int k = 0; k < 4; ++k) {
    ExpectSameBits(got[k].re, wantRe[k], "re " + std::to_string(k));
    ExpectSameBits(got[k].im, wantIm[k], "im " + std::to_string(k));
  }
}

// ---- progress --------------------------------------------------------------------------------

namespace {
class ProgressLog : public FftProgress {
 public:
  void Begin(int len, int stages) override {
    log += "B" + std::to_string(len) + "/" + std::to_string(stages);
  }
  void Advance() override { log += "+"; }
  void End() override { log += "E"; }
  std::string log;
};
}  // namespace

TEST(FftProgress, OneStepPerStageBetweenBeginAndEnd) {
  std::vector<double> x(65536, 1.0), re(65536), im(65536);
  for (bool plain : {true, false}) {
    ProgressLog p;
    (plain ? FftTransformPlain : FftTransform)(x.data(), 65536, 65536, im.data(), re.data(), &p);
    EXPECT_EQ(p.log, "B65536/16" + std::string(16, '+') + "E");
    ProgressLog small;
    (plain ? FftTransformPlain : FftTransform)(x.data(), 8, 8, im.data(), re.data(), &small);
    EXPECT_EQ(small.log, "B8/3+++E");
  }
  MessageRecorder rec;
  ProgressLog refused;
  FftTransform(x.data(), 16, 8, im.data(), re.data(), &refused);
  EXPECT_EQ(refused.log, "");
}
