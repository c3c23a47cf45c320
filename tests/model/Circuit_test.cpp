#include "model/Circuit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace model;

namespace {
CircuitParams Page(int page) {
  CircuitParams p;
  p.page = page;
  return p;
}
}  // namespace

TEST(Circuit, ThresholdLinear) {
  CircuitParams p = Page(0);
  p.S = 2;
  p.x0 = 0.5;
  EXPECT_EQ(Transfer(p, 0.5), 0.0);
  EXPECT_EQ(Transfer(p, 0.75), 0.5);
  EXPECT_EQ(Transfer(p, -3), 0.0);
}

TEST(Circuit, LimiterTestOrderAndCloseProcessing) {
  CircuitParams p = Page(1);
  p.x1 = p.x2 = 0;
  p.y1 = -1;
  p.y2 = 1;
  CloseCircuit(p);
  EXPECT_EQ(p.k, 0);
  EXPECT_EQ(p.c, 0);
  EXPECT_EQ(Transfer(p, -0.1), -1);
  EXPECT_EQ(Transfer(p, 0.1), 1);
  EXPECT_EQ(Transfer(p, 0.0), 0);  // (y1 + y2) / 2

  // Entered falling: stored ordered, so the limiter never falls from left to right.
  p.x1 = 2;
  p.x2 = -2;
  p.y1 = 1;
  p.y2 = 0.5;
  EXPECT_EQ(CloseCircuit(p), "Нелинейная безынерционная цепь: цепь 2");
  EXPECT_EQ(p.x1, -2);
  EXPECT_EQ(p.x2, 2);
  EXPECT_EQ(p.y1, 0.5);
  EXPECT_EQ(p.y2, 1);
  EXPECT_EQ(p.k, 0.125);
  EXPECT_EQ(p.c, 0.75);
  EXPECT_EQ(Transfer(p, 0.0), 0.75);
  EXPECT_EQ(Transfer(p, -5), 0.5);
  EXPECT_EQ(Transfer(p, 5), 1);

  p.y1 = p.y2 = 0.3;  // flat: the constant everywhere
  CloseCircuit(p);
  for (double x : {-5.0, -1.0, 0.0, 1.5, 9.0}) EXPECT_EQ(Transfer(p, x), 0.3);
}

// A segment too narrow for a finite slope (x2 - x1 subnormal, as a long "-0,000...01" typed
// into x1 gives) is stored as a step: y1 left of x1, y2 right of x2, the middle of the levels
// on the segment itself, and finite k and c. A narrow segment whose slope fits keeps it.
TEST(Circuit, LimiterSegmentTooNarrowForItsSlopeIsAStep) {
  for (double x1 : {-std::numeric_limits<double>::denorm_min(), -1e-320, -2e-309}) {
    CircuitParams p = Page(1);
    p.x1 = 0;  // entered the other way round: ordered first
    p.x2 = x1;
    p.y1 = -1;
    p.y2 = 3;
    CloseCircuit(p);
    SCOPED_TRACE(x1);
    EXPECT_EQ(p.x1, x1);
    EXPECT_EQ(p.x2, 0);
    EXPECT_EQ(p.k, 0);
    EXPECT_EQ(p.c, 1);
    EXPECT_EQ(Transfer(p, -1e-3), -1);
    EXPECT_EQ(Transfer(p, std::nextafter(x1, -1.0)), -1);
    EXPECT_EQ(Transfer(p, x1), 1);
    EXPECT_EQ(Transfer(p, x1 / 2), 1);
    EXPECT_EQ(Transfer(p, 0.0), 1);
    EXPECT_EQ(Transfer(p, std::numeric_limits<double>::denorm_min()), 3);
    EXPECT_EQ(Transfer(p, 5), 3);
  }
  CircuitParams p = Page(1);
  p.x1 = -1e-300;
  p.x2 = 0;
  CloseCircuit(p);
  EXPECT_NEAR(p.k, 2e300, 1e286);
  EXPECT_NEAR(Transfer(p, -0.5e-300), 0, 1e-15);
  EXPECT_NEAR(Transfer(p, 0.0), 1, 1e-15);
}

TEST(Circuit, FullWaveSquareAndThresholdSquare) {
  CircuitParams p = Page(2);
  p.a3 = 3;
  EXPECT_EQ(Transfer(p, -2), 6);
  p.page = 3;
  p.a4 = 0.5;
  EXPECT_EQ(Transfer(p, -2), 2);
  p.page = 4;
  p.a5 = 2;
  p.x05 = 1;
  EXPECT_EQ(Transfer(p, 1), 0);
  EXPECT_EQ(Transfer(p, 0.5), 0);
  EXPECT_EQ(Transfer(p, 3), 8);
}

TEST(Circuit, SmoothLimiterAndItsInverse) {
  CircuitParams p = Page(5);
  p.a6 = 2;
  p.b6 = 3;
  EXPECT_NEAR(Transfer(p, 10), 2, 1e-12);
  EXPECT_EQ(Transfer(p, -0.4), -Transfer(p, 0.4));

  p.page = 6;
  p.a7 = 1;
  p.b7 = 1;
  const double nearEdge = Transfer(p, 0.9999999999);
  EXPECT_TRUE(std::isfinite(nearEdge));
  EXPECT_GT(nearEdge, 3);
  EXPECT_EQ(Transfer(p, 1.0), 0);
  EXPECT_EQ(Transfer(p, -1.0), 0);
  EXPECT_EQ(Transfer(p, 5.0), 0);
  for (double x : {0.1, 0.5, 0.9, 0.99}) {
    EXPECT_EQ(Transfer(p, -x), -Transfer(p, x));
    // The inverse of erf(v) ~ sqrt(1 - exp(-1.26 v^2)).
    const double v = Transfer(p, x);
    EXPECT_NEAR(std::sqrt(1 - std::exp(-1.26 * v * v)), x, 1e-12);
  }
  p.b7 = 2;
  EXPECT_NEAR(Transfer(p, 0.5), Transfer(Page(6), 0.5) / 2, 1e-15);
}

TEST(Circuit, SawtoothFloorAndOddStep) {
  CircuitParams p = Page(7);
  p.D = 0.1;
  p.K = 1;
  EXPECT_EQ(Transfer(p, 0.04), 0.04);
  EXPECT_EQ(Transfer(p, 0.05), -0.05);
  EXPECT_EQ(Transfer(p, -0.05), -0.05);
  EXPECT_NEAR(Transfer(p, 0.16), -0.04, 1e-15);
  // Wraps every D with slope K, values in [-K*D/2, K*D/2).
  p.K = 2;
  for (double x = -3; x < 3; x += 0.0137) {
    const double y = Transfer(p, x);
    EXPECT_GE(y, -0.1 - 1e-12);
    EXPECT_LT(y, 0.1 + 1e-12);
  }
  // Far outside the 32-bit range of 2x/D the rule still holds.
  p.D = 0.001;
  p.K = 1;
  EXPECT_NEAR(Transfer(p, 1e7 + 0.0002), 0.0002, 1e-8);
}

TEST(Circuit, NoPageGivesZeroAndDescriptions) {
  for (int page : {-1, 8, 100}) EXPECT_EQ(Transfer(Page(page), 1.5), 0.0);
  CircuitParams p = Page(7);
  EXPECT_EQ(CloseCircuit(p), "Нелинейная безынерционная цепь: цепь 8");
  EXPECT_EQ(DescribeCircuit(0), "Нелинейная безынерционная цепь: цепь 1");
  double in[3] = {-1, 0.5, 2}, out[3];
  p = Page(3);
  TransferArray(p, in, out, 3);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[2], 4);
}
