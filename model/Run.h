#pragma once
// The run: one realization of the input process, its image at the circuit output, and the
// statistics and the four readings of the bench.
#include <functional>
#include <optional>

#include "model/Circuit.h"
#include "model/Generator.h"
#include "model/SampleStore.h"

// Statistics and readings of the last run, model-wide, 0 at program start.
namespace BenchReadings {
extern double InputMean;     // the generator's mean parameter at the run
extern double OutputMean;    // mean of the output samples
extern double InputSko;      // deviation of the input samples about InputMean
extern double OutputSko;     // deviation of the output samples about OutputMean
extern double CorrIn;        // input correlometer reading, mV*mV
extern double CorrOut;       // output correlometer reading
extern double CorrScaleIn;   // factor of the input correlometer sums (1 after a run)
extern double CorrScaleOut;  // factor of the output correlometer sums
extern double DensityIn;     // input density-meter reading, 1/mV
extern double DensityOut;    // output density-meter reading
// A run has ended with finite readings since the program started.
extern bool RunMade;
// InputSko is a histogram's estimate from the density at the mean, not the run's value
// (until the next run).
extern bool InputSkoReestimated;
}  // namespace BenchReadings

namespace model {

// What a run reads from the windows, taken at its start.
struct RunSettings {
  GeneratorParams generator;
  CircuitParams circuit;
  int n = DefaultSampleCount;  // realization length
  double tauIn = 0;            // correlometer delays, ms
  double tauOut = 0;
  // The density meters: the estimate of a realization with each meter's own level and
  // interval (the bench passes its meter windows; the defaults measure at 0 over 0.1 mV).
  using Meter = std::function<double(const double* samples, double count)>;
  Meter measureIn = DefaultMeter;
  Meter measureOut = DefaultMeter;
  static double DefaultMeter(const double* samples, double count);
};

// How the run went, beyond the readings it stored.
struct RunOutcome {
  bool finite = true;  // false: a statistic was not a finite number; readings kept as before
  int lagIn = 0, lagOut = 0;
  bool corrInValid = true;   // false: lagIn >= n, no input correlometer reading
  bool corrOutValid = true;  // false: lagOut >= n
};

// Resets the generator, fills InputSamples and OutputSamples over [0, n) and computes the
// statistics and readings into BenchReadings, in the bench's order. A correlometer whose lag
// leaves no pair of samples stores instruments::NoReading and reports it. When some
// statistic is not finite, the previous readings are restored and reported; an exception
// (passed on to the caller) restores them too. The samples are rewritten either way, so
// after a failed run they no longer match the readings.
RunOutcome RunModel(Generator& generator, const RunSettings& s);

// Arithmetic mean of the first n samples, summed in index order.
double MeanOf(const double* x, int n);
// sqrt(sum (x[i] - mean)^2 / n), summed in index order.
double SkoAbout(const double* x, int n, double mean);

}  // namespace model
