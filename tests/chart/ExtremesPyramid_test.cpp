#include "chart/ExtremesPyramid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace chart;

TEST(ExtremesPyramid, EveryRunHasTheExtremesOfItsSamples) {
  // Numbers of both signs, one whole leaf block and two samples beside it that are not.
  std::vector<double> s(300);
  for (size_t i = 0; i < s.size(); ++i) s[i] = std::sin(i * 1.37) * static_cast<double>(i % 7 + 1);
  for (int i = 32; i < 50; ++i) s[i] = std::nan("");
  EXPECT_TRUE(ScanExtent(s.data(), 32, 49).Empty());
  for (int n : {1, 15, 16, 17, 300}) {
    ExtremesPyramid p;
    p.Build(s.data(), n);
    for (int a = 0; a < n; ++a) {
      for (int b = a; b < n; ++b) {
        const SampleExtent e = p.Extent(s.data(), a, b), r = ScanExtent(s.data(), a, b);
        ASSERT_TRUE(e.min == r.min && e.max == r.max) << n << " " << a << " " << b;
      }
    }
  }
}
