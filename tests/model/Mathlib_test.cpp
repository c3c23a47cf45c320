#include "model/Mathlib.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/Interp.h"

using namespace mathlib;

// Expected draws worked out independently with Python's unbounded integers:
//   s = (seed*22695477 + 1) % 2**32
//   s = (s*1486058704437 + 1) % 2**64;  r = (s >> 32) & 0x7fffffff   (repeated)
TEST(RandomSource, FirstDrawsMatchIndependentComputation) {
  RandSeed(12345);
  const int expected[] = {1220244142, 1374406965, 308141128, 1558318993, 598390725};
  for (int e : expected) EXPECT_EQ(RandDraw(), e);
  RandSeed(0);
  EXPECT_EQ(RandDraw(), 346);
  EXPECT_EQ(RandDraw(), 13854878);
  EXPECT_EQ(RandDraw(), 1621890440);
}

TEST(RandomSource, SameSeedSameSequenceAndJumpAhead) {
  RandSeed(987654321);
  int first[1000];
  for (int& v : first) v = RandDraw();
  const std::uint64_t after = RandState();
  RandSeed(987654321);
  const std::uint64_t start = RandState();
  for (int v : first) ASSERT_EQ(RandDraw(), v);
  EXPECT_EQ(RandJumpOf(1000).Apply(start), after);
  EXPECT_EQ(RandJumpOf(0).Apply(start), start);
  // Draws stay in 0..2^31-1 whatever the state.
  SetRandState(~0ull);
  for (int i = 0; i < 100; ++i) {
    const int r = RandDraw();
    EXPECT_GE(r, 0);
  }
}

TEST(Erf, KnownValuesSymmetryAndBounds) {
  EXPECT_NEAR(Erf(0.0), 0.0, 1.5e-7);
  EXPECT_GT(Erf(0.0), 0.0);        // the formula's error: about 1e-9
  EXPECT_EQ(Erf(-0.0), Erf(0.0));  // -0 takes the x >= 0 branch
  for (double x : {1e-9, 0.1, 0.5, 1.0, 2.0, 3.5, 10.0, 1e300}) {
    EXPECT_EQ(Erf(-x), -Erf(x)) << x;
    EXPECT_NEAR(Erf(x), std::erf(x), 1.5e-7) << x;
    EXPECT_LE(Erf(x), 1.0);
  }
  EXPECT_EQ(Erf(40.0), 1.0);
}

TEST(Phi, HalfAtZeroAndComplement) {
  EXPECT_NEAR(Phi(0.0), 0.5, 1.5e-7);
  for (double x : {0.01, 0.3, 1.0, 1.96, 4.0, 9.0}) {
    EXPECT_NEAR(Phi(x) + Phi(-x), 1.0, 1e-15) << x;
    EXPECT_NEAR(Phi(x), 0.5 * std::erfc(-x / std::sqrt(2.0)), 1.5e-7) << x;
  }
  EXPECT_GE(Phi(-50.0), 0.0);
  EXPECT_LE(Phi(50.0), 1.0);
}

TEST(Sqrt024, IsTheDoubleSquareRoot) {
  EXPECT_EQ(Sqrt024, 0x1.f5a7cecdb684ap-2);
}

TEST(OrderHelpers, PairsAndBounds) {
  double a = 2, b = 1;
  EXPECT_TRUE(OrderPair(a, b));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  double c = 3, d = 3;
  EXPECT_FALSE(OrderPair(c, d));
  EXPECT_EQ(c, 3);
  EXPECT_EQ(d, 3);

  double t = 1;
  EXPECT_TRUE(RaiseTo(5.0, t));
  EXPECT_EQ(t, 5);
  EXPECT_FALSE(RaiseTo(4.0, t));
  EXPECT_TRUE(LowerTo(-1.0, t));
  EXPECT_EQ(t, -1);
  EXPECT_FALSE(LowerTo(0.0, t));
  int i = 3;
  EXPECT_TRUE(RaiseTo(7, i));
  EXPECT_FALSE(RaiseTo(7, i));
  EXPECT_TRUE(LowerTo(-2, i));
  EXPECT_EQ(i, -2);
}

TEST(Ranges, ArrayAndFunction) {
  const double v[] = {3, -1, 8, 2};
  double lo, hi;
  ArrayRange(v, 4, lo, hi);
  EXPECT_EQ(lo, -1);
  EXPECT_EQ(hi, 8);
  ArrayRange(v, -2, lo, hi);  // |count|
  EXPECT_EQ(lo, -1);
  EXPECT_EQ(hi, 3);
  ArrayRange(v, 0, lo, hi);
  EXPECT_EQ(lo, 3);
  EXPECT_EQ(hi, 3);

  int calls = 0;
  auto square = [&calls](double x) {
    ++calls;
    return x * x;
  };
  FunctionRange(square, 2, -1, 0, lo, hi);  // reversed ends, default 100 points
  EXPECT_EQ(calls, 101);                    // the first point is evaluated once more
  EXPECT_LT(lo, 1e-3);                      // the grid passes near 0
  EXPECT_GE(lo, 0);
  EXPECT_NEAR(hi, 4, 1e-12);  // x is accumulated step by step: the end is 2 up to rounding
  calls = 0;
  FunctionRange(square, 3, 3, 10, lo, hi);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(lo, 9);
  EXPECT_EQ(hi, 9);
}

TEST(Interp, LinearBetweenNeighbours) {
  EXPECT_EQ(interp::Interp(2, 2.0, 1.0), 1.0);
  EXPECT_EQ(interp::Interp(2, 2.5, 1.0), 0.5);
  EXPECT_EQ(interp::Interp(3, 2.5, 1.0), 0.5);
  EXPECT_EQ(interp::Interp(2, 3.0, 1.0), 0.0);
  EXPECT_EQ(interp::Interp(2, 0.5, 0.0), 0.0);  // no step: no weight
  EXPECT_EQ(interp::Weight(0.25, -1.0), 0.75);  // the sign of the step does not matter
}
