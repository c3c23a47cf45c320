#include "instruments/Density.h"

#include <cmath>

#include "model/Simd.h"

namespace instruments {

long long SamplesExamined(double count) {
  if (!(count > 0)) return 0;
  // Every whole number below 2^53 converts exactly, so "i < count" holds up to ceil(count).
  return static_cast<long long>(std::ceil(std::fmin(count, 9.0e18)));
}

long long CountInWindowPlain(const double* x, long long n, double lo, double hi) {
  long long counted = 0;
  // Without a branch: which samples fall inside is as good as random for a noise signal.
  for (long long i = 0; i < n; ++i) counted += (lo <= x[i]) & (x[i] < hi);  // 0 for a NaN
  return counted;
}

long long CountInWindow(const double* x, long long n, double lo, double hi) {
  switch (simd::Current()) {
    case simd::Level::Avx512:
      return kernels::CountInWindowAvx512(x, n, lo, hi);
    case simd::Level::Avx2:
      return kernels::CountInWindowAvx2(x, n, lo, hi);
    case simd::Level::Plain:
      break;
  }
  return CountInWindowPlain(x, n, lo, hi);
}

double DensityAt(const double* samples, double interval, double level, double count) {
  const double lo = level - interval * 0.5;
  const double hi = level + interval * 0.5;
  const long long counted = CountInWindow(samples, SamplesExamined(count), lo, hi);
  const double fraction = static_cast<double>(counted) / count;
  return fraction / interval;
}

}  // namespace instruments
