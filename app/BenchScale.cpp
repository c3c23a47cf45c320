#include "app/BenchScale.h"

#include <cstdint>

namespace benchscale {

int MulDiv(int a, int p, int q) {
  if (q == 0) return -1;
  const std::int64_t num = static_cast<std::int64_t>(a) * p;
  const bool negative = (num < 0) != (q < 0);
  const std::int64_t an = num < 0 ? -num : num;
  const std::int64_t aq = q < 0 ? -static_cast<std::int64_t>(q) : q;
  const std::int64_t r = (an + aq / 2) / aq;
  return static_cast<int>(negative ? -r : r);
}

Rect Scaled(const Rect& r, int p, int q) {
  return {MulDiv(r.left, p, q), MulDiv(r.top, p, q), MulDiv(r.width, p, q), MulDiv(r.height, p, q)};
}

AutoScaleResult AutoScale(int W, int H, int w, int h) {
  double r = static_cast<double>(W * 4) / static_cast<double>(w * 5);
  const int hh = static_cast<int>(h * r);
  AutoScaleResult result;
  if (hh > H) {
    result.scale = {H * 4, h * 5};
    r = static_cast<double>(result.scale.num) / result.scale.den;
  } else {
    result.scale = {W * 4, w * 5};
  }
  result.percent = static_cast<int>(r * 100);
  return result;
}

int CenterOffset(int outer, int inner) {
  const int offset = (outer - inner) / 2;
  return offset < 0 ? 1 : offset;
}

}  // namespace benchscale
