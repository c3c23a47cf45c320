#pragma once
// The correlation function of a realization over a range of lags, through two Fourier
// transforms or by direct sums, and the chart layout of its graph.
//
// The direct sums come in two forms that give the same bits: the plain loops, lag after lag
// exactly as the method is written, and the fast ones. Each lag's sum stays one double sum
// in index order; the fast form only computes many lags at once (one lag per vector lane,
// AVX-512, AVX2 or plain chosen at run time) and shares the lags between two threads.
#include <functional>

namespace instruments {

// Number of lags M of each method and side.
constexpr int FftLagCount = 10000;
constexpr int DirectLagCountIn = 2000;
constexpr int DirectLagCountOut = 5000;

// The early stop of the input side's direct sums: the first checkpoint lies this many
// samples after a lag's first product, the next ones this far apart; the sum stops when two
// successive averages agree within the tolerance.
constexpr int EarlyStopFirst = 20000;
constexpr int EarlyStopEvery = 5000;
constexpr double EarlyStopTolerance = 0.1;

// A Fourier transform as the engine offers it: source, count, size, imaginary, real; returns
// the transform length, 0 when refused.
using Transform =
    std::function<int(const double* source, int count, int size, double* imaginary, double* real)>;

// The FFT method over x[0..n-1], n a power of two: the transform of x into (re, im), the power
// spectrum into power with power[0] := 0 (the sample mean removed), its transform into
// (re, im), then re[j] := re[j] / ((n - j) * n) for j = 0 .. M + 4 (five values beyond M are
// scaled too), the product formed in double so that it cannot overflow. Leaves K[j] in
// re[0..M-1] and returns M = min(FftLagCount, n), or 0 when a transform refused.
// re, im and power hold n doubles each; x may be none of them.
int CorrelationByFft(const double* x, int n, const Transform& transform, double* re, double* im,
                     double* power);

// The output side's direct sums: for j = 0 .. lags-1,
//   k[j] = sum(i = j .. n-1) (x[i] - mean)(x[i-j] - mean) / (n - j),
// and k[j] = 0 for a lag that leaves no pair of samples (j >= n). `centred` is scratch for
// n doubles (it receives x[i] - mean); it may overlap neither x nor k.
void DirectCorrelationFull(const double* x, int n, double mean, int lags, double* k,
                           double* centred);
void DirectCorrelationFullPlain(const double* x, int n, double mean, int lags, double* k);

// The input side's direct sums with the early stop: lag j sums from i = j on, counting the
// products; at i = j + EarlyStopFirst, then every EarlyStopEvery samples, the average so far
// is compared with the previous one (0 at the first checkpoint, so that one always goes on)
// and the sum ends, the product at the checkpoint included, when the average is not 0 and
// |(previous - average) / average| < EarlyStopTolerance. k[j] = sum / count (0 without
// products).
void DirectCorrelationEarlyStop(const double* x, int n, double mean, int lags, double* k,
                                double* centred);
void DirectCorrelationEarlyStopPlain(const double* x, int n, double mean, int lags, double* k);

// The whole K of a graph into k[0..M-1], M returned (0 when the transform refused):
// the FFT method (k = re, also using im and power) or the direct method of the side
// (k = re, power as scratch), then k[j] := scale * k[j].
struct CorrelationArrays {
  double* re;
  double* im;
  double* power;
};
int CorrelationFunction(bool output, bool byFft, const double* x, int n, double mean, double scale,
                        const Transform& transform, const CorrelationArrays& arrays);

// (n * 2^-52 * max|x[i]|)^2: a bound on K[0] that the rounding of the mean alone can give
// (the direct sums of a constant 0,1 mV at n = 262144 leave 1.5e-25, some two hundred times
// below it); a K[0] at or below it says the realization has no spread.
double K0RoundingLevel(const double* x, int n);

// Where the graph of K stands on the chart.
struct CorrelationView {
  double tmax;                  // (M - 1) * period, ms
  double limitXmin, limitXmax;  // input: +-tmax; output: +-0.9 * tmax
  double limitYmin, limitYmax;  // +-2 * K[0], or -1 .. 1 when K[0] <= its rounding level
  double rangeXmin, rangeXmax;  // +-0.1 * tmax for a harmonic generator, else +-0.01 * tmax
};
CorrelationView ViewOf(bool output, int lags, double period, double k0, double k0Rounding,
                       bool harmonic);

// True when every k[0..m-1] is a finite number and so is 2 * k[0], the y limit.
bool CurveIsFinite(const double* k, int m);

}  // namespace instruments
