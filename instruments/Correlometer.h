#pragma once
// Correlation estimate of a realization at one delay.
#include <optional>

namespace instruments {

// The delay in samples: tau / period formed in extended precision, truncated toward zero
// (0.015 / 0.005 gives 2: the quotient of the two stored doubles lies just below 3).
int LagOf(double tau, double period);

// scale * sum(i = lag .. n-1) (x[i] - mean)(x[i-lag] - mean) / (n - lag), the sum rounded
// to double after each addition. No reading (empty) when no pair of samples lies lag apart
// (lag >= n) or the lag is negative.
std::optional<double> CorrelationAt(const double* samples, int n, int lag, double mean,
                                    double scale);

}  // namespace instruments
