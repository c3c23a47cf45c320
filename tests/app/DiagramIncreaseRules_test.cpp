#include "app/DiagramIncreaseRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace viewer;

TEST(ViewerReadout, InsideMeansTwoPixelsWithinTheNetFrame) {
  const NetRect net{50, 20, 750, 450};
  EXPECT_TRUE(ReadoutInside(net, 52, 22));
  EXPECT_TRUE(ReadoutInside(net, 748, 448));
  EXPECT_TRUE(ReadoutInside(net, 400, 200));
  // On the frame and one pixel inside it: outside.
  EXPECT_FALSE(ReadoutInside(net, 50, 200));
  EXPECT_FALSE(ReadoutInside(net, 51, 200));
  EXPECT_FALSE(ReadoutInside(net, 749, 200));
  EXPECT_FALSE(ReadoutInside(net, 400, 20));
  EXPECT_FALSE(ReadoutInside(net, 400, 21));
  EXPECT_FALSE(ReadoutInside(net, 400, 449));
  EXPECT_FALSE(ReadoutInside(net, 400, 450));
  EXPECT_FALSE(ReadoutInside(net, 10, 10));
  EXPECT_FALSE(ReadoutInside(net, 900, 200));
}

TEST(ViewerReadout, FixedTextKeepsFiveSignificantDigitsAndPadsTheDecimals) {
  EXPECT_EQ(FixedText(1.23456789, 5, 3), "1.235");
  EXPECT_EQ(FixedText(1.23456789, 5, 7), "1.2346000");
  EXPECT_EQ(FixedText(123.456, 5, 4), "123.4600");
  EXPECT_EQ(FixedText(12345.678, 5, 3), "12346.000");
  EXPECT_EQ(FixedText(-0.0123456, 5, 4), "-0.0123");
  EXPECT_EQ(FixedText(-0.0123456, 5, 9), "-0.012346000");
  EXPECT_EQ(FixedText(2.5, 5, 0), "3");  // half away from zero
  EXPECT_EQ(FixedText(-2.5, 5, 0), "-3");
  EXPECT_EQ(FixedText(0.125, 5, 2), "0.13");
  EXPECT_EQ(FixedText(9.9996, 5, 3), "10.000");  // the carry adds an integer digit
  EXPECT_EQ(FixedText(0.006, 5, 2), "0.01");     // rounds up from below the last decimal
  EXPECT_EQ(FixedText(0.004, 5, 2), "0.00");
  EXPECT_EQ(FixedText(0.0004, 5, 2), "0.00");
  EXPECT_EQ(FixedText(0, 5, 3), "0.000");
}

TEST(ViewerReadout, FixedTextZeroHasNoSign) {
  EXPECT_EQ(FixedText(-0.0, 5, 2), "0.00");
  EXPECT_EQ(FixedText(-0.004, 5, 2), "0.00");
  EXPECT_EQ(FixedText(-1e-300, 5, 3), "0.000");
}

TEST(ViewerReadout, MoreThanFiveIntegerDigitsGiveScientificNotation) {
  EXPECT_EQ(FixedText(99999.4, 5, 2), "99999.00");
  EXPECT_EQ(FixedText(100000, 5, 2), "1E5");
  EXPECT_EQ(FixedText(-100000, 5, 3), "-1E5");
  EXPECT_EQ(FixedText(99999.6, 5, 2), "1E5");  // rounding reaches a sixth digit
  EXPECT_EQ(FixedText(123456, 5, 2), "1.2346E5");
  EXPECT_EQ(FixedText(1234567, 5, 1), "1.2346E6");
}

TEST(ViewerReadout, NothingThatIsNotANumberReachesTheText) {
  EXPECT_EQ(FixedText(std::numeric_limits<double>::quiet_NaN(), 5, 2), "");
  EXPECT_EQ(FixedText(std::numeric_limits<double>::infinity(), 5, 2), "");
}

TEST(ViewerReadout, ReadoutHasCommasAndTheAxisPrecisionsPlusTwo) {
  EXPECT_EQ(ReadoutText(1.2281, 0.27034, 1, 2), "(1,228; 0,2703)");
  EXPECT_EQ(ReadoutText(-3.5, 10.0, 0, 0), "(-3,50; 10,00)");
  EXPECT_EQ(ReadoutText(500, -0.25, 0, 7), "(500,00; -0,250000000)");
  EXPECT_EQ(ReadoutText(100000, -100000, 0, 0), "(1E5; -1E5)");
  EXPECT_EQ(ReadoutText(123456, 2, 1, 1), "(1,2346E5; 2,000)");
}

TEST(ViewerLayout, ChartLeavesRoomForTheUpDowns) {
  const UpDownSizes sizes;  // 16 x 41 and 41 x 16
  const Rect c = ChartPlacement(1000, 700, sizes);
  EXPECT_EQ(c.left, 21);
  EXPECT_EQ(c.top, 5);
  EXPECT_EQ(c.width, 1000 - 16 - 20);
  EXPECT_EQ(c.height, 700 - 16 - 10);
  const Rect tiny = ChartPlacement(20, 10, sizes);
  EXPECT_EQ(tiny.width, 0);
  EXPECT_EQ(tiny.height, 0);
}

TEST(ViewerLayout, UpDownsStandAtTheNetCorners) {
  UpDownSizes sizes;
  sizes.verticalWidth = 16;
  sizes.verticalHeight = 41;
  sizes.horizontalWidth = 40;
  sizes.horizontalHeight = 15;
  const Rect chart = ChartPlacement(1000, 700, sizes);
  const NetRect net{60, 30, 900, 620};
  const auto u = UpDownPlacement(chart, net, sizes);
  // Ymax: left of the net's top edge.
  EXPECT_EQ(u[0].left, 5);
  EXPECT_EQ(u[0].top, chart.top + 30);
  EXPECT_EQ(u[0].width, 16);
  EXPECT_EQ(u[0].height, 41);
  // Ymin: left of the bottom edge, its own bottom on it.
  EXPECT_EQ(u[1].left, 5);
  EXPECT_EQ(u[1].top + u[1].height, chart.top + 620);
  // Xmin: under the left edge, right below the chart.
  EXPECT_EQ(u[2].left, chart.left + 60);
  EXPECT_EQ(u[2].top, chart.top + chart.height);
  EXPECT_EQ(u[2].width, 40);
  EXPECT_EQ(u[2].height, 15);
  // Xmax: under the right edge, its own right end on it.
  EXPECT_EQ(u[3].left + u[3].width, chart.left + 900);
  EXPECT_EQ(u[3].top, u[2].top);
}

TEST(ViewerRestore, LowerEndFirstUnlessTheRangeLiesWhollyBelow) {
  EXPECT_EQ(RestoreOrderFor(10, 0), RestoreOrder::MinFirst);
  EXPECT_EQ(RestoreOrderFor(0.5, 0), RestoreOrder::MinFirst);
  EXPECT_EQ(RestoreOrderFor(-2, 0), RestoreOrder::MaxFirst);
  EXPECT_EQ(RestoreOrderFor(0, 0), RestoreOrder::MaxFirst);
  // Closer above than the narrowest range the chart accepts: setting the lower end would be
  // refused, so the upper end goes first.
  EXPECT_EQ(RestoreOrderFor(0.0000005, 0), RestoreOrder::MaxFirst);
  EXPECT_EQ(RestoreOrderFor(0.000002, 0), RestoreOrder::MinFirst);
}
