#include "instruments/Correlometer.h"

#include <cmath>
#include <limits>

namespace instruments {

int LagOf(double tau, double period) {
  const long double q = static_cast<long double>(tau) / static_cast<long double>(period);
  if (!(q < static_cast<long double>(std::numeric_limits<int>::max()))) {
    return std::numeric_limits<int>::max();
  }
  if (!(q > static_cast<long double>(std::numeric_limits<int>::min()))) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(q);
}

std::optional<double> CorrelationAt(const double* samples, int n, int lag, double mean,
                                    double scale) {
  if (lag < 0 || lag >= n) return std::nullopt;
  double sum = 0;
  for (int i = lag; i < n; ++i) sum = sum + (samples[i] - mean) * (samples[i - lag] - mean);
  return scale * sum / (n - lag);
}

}  // namespace instruments
