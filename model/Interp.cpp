#include "model/Interp.h"

#include <cmath>

namespace interp {

double Weight(double t, double h) {
  if (h == 0) return 0;
  const double at = std::fabs(t);
  const double ah = std::fabs(h);
  if (at >= ah) return 0;
  return 1.0 - at / ah;
}

double Interp(int k, double x, double h) {
  return Weight(x - k * h, h);
}

}  // namespace interp
