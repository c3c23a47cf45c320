#pragma once
// Correlation estimate of a realization at one delay.
#include <optional>
#include <string>

namespace instruments {

// What BenchReadings keeps for a correlometer that has no reading (its lag leaves no pair of
// samples): the run and the re-measurement from the bench store the same value.
constexpr double NoReading = 0.0;

// The delay in samples: tau / period formed in extended precision, truncated toward zero
// (0.015 / 0.005 gives 2: the quotient of the two stored doubles lies just below 3).
int LagOf(double tau, double period);

// scale * sum(i = lag .. n-1) (x[i] - mean)(x[i-lag] - mean) / (n - lag), the sum rounded
// to double after each addition. No reading (empty) when no pair of samples lies lag apart
// (lag >= n) or the lag is negative.
std::optional<double> CorrelationAt(const double* samples, int n, int lag, double mean,
                                    double scale);

// The longest delay that leaves a pair of samples in a realization of n samples (lag n - 1),
// as the text a user can type back: the fewest significant digits, six at least, of the
// largest such delay, cut off (never rounded up, which would give lag n), in the C format
// with "," for the point. n >= 1, period > 0.
std::string LongestDelayText(int n, double period);

}  // namespace instruments
