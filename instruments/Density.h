#pragma once
// Probability-density estimate of a realization at one level.

namespace instruments {

// The fraction of samples x[i], i = 0, 1, ... while i < count, with
// level - interval/2 <= x[i] < level + interval/2 (a NaN is never counted), divided by the
// interval: a density in 1/mV. count is a floating-point number, as the callers hold it;
// the fraction (number counted / count) is rounded to double before it is divided by the
// interval.
double DensityAt(const double* samples, double interval, double level, double count);

// The number of samples the loop "i = 0, 1, ... while i < count" examines: 0 for a count
// that is not positive (or not a number), otherwise count rounded up.
long long SamplesExamined(double count);

// The number of x[0..n-1] with lo <= x < hi (NaN never counted), with the vector kernel of
// the current level, and the plain loop that it must agree with.
long long CountInWindow(const double* x, long long n, double lo, double hi);
long long CountInWindowPlain(const double* x, long long n, double lo, double hi);

namespace kernels {
long long CountInWindowAvx2(const double* x, long long n, double lo, double hi);
long long CountInWindowAvx512(const double* x, long long n, double lo, double hi);
}  // namespace kernels

}  // namespace instruments
