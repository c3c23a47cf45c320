#include "app/BenchScale.h"

#include <gtest/gtest.h>

using namespace benchscale;

TEST(BenchScale, AutoScaleWidthAndHeightRules) {
  AutoScaleResult r = AutoScale(1000, 500, 952, 477);
  EXPECT_EQ(r.scale.num, 4000);
  EXPECT_EQ(r.scale.den, 4760);
  EXPECT_EQ(r.percent, 84);
  r = AutoScale(1000, 300, 952, 477);  // a short box: the height rule
  EXPECT_EQ(r.scale.num, 1200);
  EXPECT_EQ(r.scale.den, 2385);
  EXPECT_EQ(r.percent, 50);
}

TEST(BenchScale, MulDivRoundsAndScalesControls) {
  EXPECT_EQ(MulDiv(3, 1, 2), 2);    // 1.5 rounds up
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);  // away from zero
  EXPECT_EQ(MulDiv(952, 3, 4), 714);
  EXPECT_EQ(MulDiv(477, 3, 4), 358);  // 357.75
  const Rect label{83, 305, 129, 20};
  EXPECT_EQ(Scaled(label, 1, 1), label);
  EXPECT_EQ(Scaled(label, 2, 1), (Rect{166, 610, 258, 40}));
  EXPECT_EQ(Scaled(label, 1, 4), (Rect{21, 76, 32, 5}));
}

TEST(BenchScale, CenterOffsetNeverNegative) {
  EXPECT_EQ(CenterOffset(1000, 952), 24);
  EXPECT_EQ(CenterOffset(1001, 952), 24);
  EXPECT_EQ(CenterOffset(952, 952), 0);
  EXPECT_EQ(CenterOffset(900, 952), 1);  // larger panel: at 1, the box scrolls
}
