#include "app/Comfun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

// The text must be exactly what printf gives in the C locale, rounding of exact binary
// halves and of long fractions included.
TEST(FormatFloatComma, SameDigitsAsPrintfInTheCLocale) {
  const double values[] = {0.125, 0.375,  2.5, 0.5, 1.005, -1e-9, 9.9999995, 123456789.123456789,
                           1e22,  5e-324, -0.0};
  const char* const formats[] = {"%.0f", "%.1f", "%.2f", "%.3f", "%.4f", "%.5f", "%.6f", "%.7f"};
  for (double v : values) {
    for (int d = -1; d <= 8; ++d) {
      char buffer[400];
      std::snprintf(buffer, sizeof buffer, d >= 0 && d <= 7 ? formats[d] : "%e", v);
      std::string expected = buffer;
      const auto dot = expected.find('.');
      if (dot != std::string::npos) expected[dot] = ',';
      EXPECT_EQ(FormatFloatComma(d, v), expected) << v << " " << d;
    }
  }
}
