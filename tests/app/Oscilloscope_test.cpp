// The y limits of an oscillogram.
#include "app/Oscilloscope.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(OscilloscopeYLimit, StaysAtAThousandUnlessASampleIsBeyond) {
  const double inside[] = {-1000, 3, 999.9};
  EXPECT_EQ(osc::YLimitFor(inside, 3), 1000);
  const double beyond[] = {0, -2500, 10};
  EXPECT_EQ(osc::YLimitFor(beyond, 3), 3000);  // 2750 rounded up to whole thousands
  const double justBeyond[] = {1000.5};
  EXPECT_EQ(osc::YLimitFor(justBeyond, 1), 2000);
  const double odd[] = {NAN, INFINITY, -INFINITY, 5};
  EXPECT_EQ(osc::YLimitFor(odd, 4), 1000);
  const double huge[] = {1.7e308};
  EXPECT_TRUE(std::isfinite(osc::YLimitFor(huge, 1)));
}
