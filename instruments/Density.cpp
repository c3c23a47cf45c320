#include "instruments/Density.h"

namespace instruments {

double DensityAt(const double* samples, double interval, double level, double count) {
  const double lo = level - interval * 0.5;
  const double hi = level + interval * 0.5;
  long long counted = 0;
  for (long long i = 0; static_cast<double>(i) < count; ++i) {
    const double x = samples[i];
    if (lo <= x && x < hi) ++counted;  // false for a NaN
  }
  const double fraction = static_cast<double>(counted) / count;
  return fraction / interval;
}

}  // namespace instruments
