#include "instruments/Correlometer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/EditFloatRules.h"
#include "model/SampleStore.h"

using instruments::CorrelationAt;
using instruments::LagOf;

// The lag is the extended-precision quotient truncated: decimal delays that are multiples of
// the period can give one sample less than the decimal quotient.
TEST(LagOf, TruncatesTheExtendedQuotient) {
  EXPECT_EQ(LagOf(0, 0.005), 0);
  EXPECT_EQ(LagOf(0.01, 0.005), 2);
  EXPECT_EQ(LagOf(0.015, 0.005), 2);  // 0,015 / 0,005 lies just below 3
  EXPECT_EQ(LagOf(0.02, 0.005), 4);
  EXPECT_EQ(LagOf(0.0045, 0.0005), 8);      // and 0,0045 / 0,0005 just below 9
  EXPECT_EQ(LagOf(1000, 0.0005), 1999999);  // the stored 0,0005 is a little above 0,0005
  EXPECT_EQ(LagOf(0.1, 0.01), 10);
  EXPECT_EQ(LagOf(-0.015, 0.005), -2);  // toward zero
  // Quotients beyond the int range are held at its ends.
  EXPECT_EQ(LagOf(1e300, 1e-300), INT_MAX);
  EXPECT_EQ(LagOf(-1e300, 1e-300), INT_MIN);
}

namespace {

// The estimate as defined: one sum in index order, rounded after each addition; the scale
// times the sum, divided by the number of products.
double Reference(const std::vector<double>& x, int lag, double mean, double scale) {
  const int n = static_cast<int>(x.size());
  double sum = 0;
  for (int i = lag; i < n; ++i) sum = sum + (x[i] - mean) * (x[i - lag] - mean);
  return scale * sum / (n - lag);
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

TEST(CorrelationAt, OneSumInIndexOrderScaledThenDivided) {
  std::mt19937_64 rng(21);
  std::normal_distribution<double> g(0.3, 2.0);
  std::vector<double> x(65536);
  for (double& v : x) v = g(rng);
  for (int lag : {0, 1, 2, 17, 4000, 65535}) {
    for (double scale : {1.0, 0.0, 1.7, 3.3e-5}) {
      const auto r = CorrelationAt(x.data(), 65536, lag, 0.3, scale);
      ASSERT_TRUE(r.has_value());
      EXPECT_TRUE(SameBits(*r, Reference(x, lag, 0.3, scale)))
          << "lag " << lag << " scale " << scale << ": " << *r;
    }
  }
  // The order scale * sum / (N - lag) is observable: it differs from scale * (sum / (N - lag))
  // in the last bits for some of these.
  int differing = 0;
  for (int lag = 0; lag < 200; ++lag) {
    double sum = 0;
    for (int i = lag; i < 65536; ++i) sum = sum + (x[i] - 0.3) * (x[i - lag] - 0.3);
    const double got = *CorrelationAt(x.data(), 65536, lag, 0.3, 1.7);
    ASSERT_EQ(got, 1.7 * sum / (65536 - lag));
    if (got != 1.7 * (sum / (65536 - lag))) ++differing;
  }
  EXPECT_GT(differing, 0);
}

TEST(CorrelationAt, LagZeroIsTheMeanSquareDeviation) {
  std::mt19937_64 rng(5);
  std::normal_distribution<double> g(1.5, 0.7);
  std::vector<double> x(262144);
  for (double& v : x) v = g(rng);
  long double s = 0;
  for (double v : x) s += v;
  const double mean = static_cast<double>(s / x.size());
  long double q = 0;
  for (double v : x) q += (v - mean) * static_cast<long double>(v - mean);
  const double msd = static_cast<double>(q / x.size());
  EXPECT_NEAR(*CorrelationAt(x.data(), 262144, 0, mean, 1.0), msd, 1e-12 * msd);
}

// A harmonic of amplitude A gives A^2/2 cos(2 pi f tau); what the finite realization adds is
// bounded by A^2/2 / ((N - lag) |sin(2 pi f T)|) (a sum of cosines at twice the frequency).
TEST(CorrelationAt, HarmonicSignal) {
  const int n = 262144;
  const double A = 2.5, f = 1.0, T = 0.005, phase = 0.7;  // kHz, ms
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = A * std::cos(2 * M_PI * f * i * T + phase);
  for (double tau : {0.0, 0.1, 0.25, 0.5, 1.3}) {
    const int lag = LagOf(tau, T);
    const double expected = A * A / 2 * std::cos(2 * M_PI * f * lag * T);
    const double bound = A * A / 2 / ((n - lag) * std::abs(std::sin(2 * M_PI * f * T))) + 1e-12;
    EXPECT_NEAR(*CorrelationAt(x.data(), n, lag, 0.0, 1.0), expected, bound) << "tau " << tau;
  }
}

TEST(CorrelationAt, NoReadingWithoutAPairOfSamples) {
  std::vector<double> x{1, 2, 3, 4};
  EXPECT_FALSE(CorrelationAt(x.data(), 4, 4, 0, 1).has_value());
  EXPECT_FALSE(CorrelationAt(x.data(), 4, 5000, 0, 1).has_value());
  EXPECT_FALSE(CorrelationAt(x.data(), 4, -1, 0, 1).has_value());
  EXPECT_FALSE(CorrelationAt(x.data(), 0, 0, 0, 1).has_value());
  EXPECT_EQ(*CorrelationAt(x.data(), 4, 3, 0, 1), 4.0 * 1.0);  // one product, N - lag = 1
  // With the period 0,0005 ms and 65536 samples, a delay of 40 ms is beyond the realization.
  const std::vector<double> y(65536, 1.0);
  EXPECT_FALSE(CorrelationAt(y.data(), 65536, LagOf(40, 0.0005), 0, 1).has_value());
  EXPECT_TRUE(CorrelationAt(y.data(), 65536, LagOf(32, 0.0005), 0, 1).has_value());
}

TEST(CorrelationAt, BeforeAnyRunReadsZero) {
  const std::vector<double> zeros(262144, 0.0);
  EXPECT_EQ(*CorrelationAt(zeros.data(), 262144, 0, 0.0, 0.0), 0.0);
  EXPECT_EQ(*CorrelationAt(zeros.data(), 262144, 20, 0.0, 0.0), 0.0);
}

namespace {
// The delay a user gets by typing the text into a correlometer's field (0 .. 1000 ms).
double TypedBack(const std::string& text) {
  editfloat::EditFloatState field;
  editfloat::ApplyDesign(field, {"0", 0, 1000, 0});
  field.Text = text;
  field.GetModify();
  return field.Val();
}
}  // namespace

// The longest delay offered for a realization must itself be accepted: typed back, it gives
// lag N - 1. Six significant digits rounded to nearest (131,072 and 262,144 ms at 0,0005 ms)
// give lag N, and so does the exact (N - 1) * T only by luck of the binary fractions.
TEST(LongestDelayText, TypedBackGivesTheLastLag) {
  EXPECT_EQ(instruments::LongestDelayText(262144, 0.0005), "131,0719");
  EXPECT_EQ(instruments::LongestDelayText(524288, 0.0005), "262,1439");
  EXPECT_EQ(LagOf(TypedBack("131,072"), 0.0005), 262144);
  EXPECT_EQ(LagOf(TypedBack("262,144"), 0.0005), 524288);
  for (double period : model::SamplingPeriodChoices) {
    for (int n : model::SampleCountChoices) {
      if (n * period > 1000) continue;  // beyond the field: every delay leaves pairs
      const std::string text = instruments::LongestDelayText(n, period);
      SCOPED_TRACE(text);
      EXPECT_EQ(LagOf(TypedBack(text), period), n - 1);
    }
  }
  // Short realizations and a lag of 0: six digits, cut, not rounded.
  EXPECT_EQ(instruments::LongestDelayText(3, 0.005), "0,0149999");
  EXPECT_EQ(LagOf(TypedBack("0,0149999"), 0.005), 2);
  EXPECT_EQ(LagOf(TypedBack(instruments::LongestDelayText(1, 0.01)), 0.01), 0);
}
