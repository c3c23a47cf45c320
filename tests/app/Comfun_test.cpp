#include "app/Comfun.h"

#include <gtest/gtest.h>

TEST(FormatFloatComma, DecimalsAndExponentForm) {
  EXPECT_EQ(FormatFloatComma(2, 10), "10,00");
  EXPECT_EQ(FormatFloatComma(0, 12.7), "13");
  EXPECT_EQ(FormatFloatComma(2, -0.25), "-0,25");
  EXPECT_EQ(FormatFloatComma(1, 12345.75), "12345,8");
  EXPECT_EQ(FormatFloatComma(7, 0.5), "0,5000000");
  EXPECT_EQ(FormatFloatComma(8, 1234.56), "1,234560e+03");
  EXPECT_EQ(FormatFloatComma(-1, 1234.56), "1,234560e+03");
  EXPECT_EQ(FormatFloatComma(7, -1e300).substr(0, 3), "-10");  // long texts are not cut
}
