#pragma once
// Probability-density estimate of a realization at one level.

namespace instruments {

// The fraction of samples x[i], i = 0, 1, ... while i < count, with
// level - interval/2 <= x[i] < level + interval/2 (a NaN is never counted), divided by the
// interval: a density in 1/mV. count is a floating-point number, as the callers hold it.
double DensityAt(const double* samples, double interval, double level, double count);

}  // namespace instruments
