#include "model/Run.h"

#include <cmath>

#include "instruments/Correlometer.h"
#include "instruments/Density.h"
#include "model/Parallel.h"
#include "model/SampleStore.h"

namespace BenchReadings {
double InputMean = 0;
double OutputMean = 0;
double InputSko = 0;
double OutputSko = 0;
double CorrIn = 0;
double CorrOut = 0;
double CorrScaleIn = 0;
double CorrScaleOut = 0;
double DensityIn = 0;
double DensityOut = 0;
bool RunMade = false;
bool InputSkoReestimated = false;
}  // namespace BenchReadings

namespace model {
namespace {

struct Snapshot {
  double v[10];
};
Snapshot Take() {
  using namespace BenchReadings;
  return {{InputMean, OutputMean, InputSko, OutputSko, CorrIn, CorrOut, CorrScaleIn, CorrScaleOut,
           DensityIn, DensityOut}};
}
void Restore(const Snapshot& s) {
  using namespace BenchReadings;
  double* fields[10] = {&InputMean, &OutputMean,  &InputSko,     &OutputSko, &CorrIn,
                        &CorrOut,   &CorrScaleIn, &CorrScaleOut, &DensityIn, &DensityOut};
  for (int i = 0; i < 10; ++i) *fields[i] = s.v[i];
}

// The circuit applied sample by sample; independent per sample, so two threads may share it.
void MapThroughCircuit(const CircuitParams& c, const double* x, double* y, int n) {
  constexpr int MinParallel = 32768;
  if (n >= MinParallel && SecondCoreAvailable()) {
    const int half = n / 2;
    RunOnTwoThreads([&] { TransferArray(c, x, y, half); },
                    [&] { TransferArray(c, x + half, y + half, n - half); });
  } else {
    TransferArray(c, x, y, n);
  }
}

}  // namespace

double RunSettings::DefaultMeter(const double* samples, double count) {
  return instruments::DensityAt(samples, 0.1, 0.0, count);
}

double MeanOf(const double* x, int n) {
  double sum = 0;
  for (int i = 0; i < n; ++i) sum = sum + x[i];
  return sum / n;
}

double SkoAbout(const double* x, int n, double mean) {
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    const double d = x[i] - mean;
    sum = sum + d * d;
  }
  return std::sqrt(sum / n);
}

namespace {

// The run itself, in the bench's order; RunModel guards the readings around it.
RunOutcome Compute(Generator& generator, const RunSettings& s) {
  using namespace BenchReadings;
  RunOutcome out;
  const int n = s.n;
  double* x = SampleStore::InputSamples;
  double* y = SampleStore::OutputSamples;

  InputSko = 0;
  OutputSko = 0;
  generator.Reset(0, s.generator.Fr);
  generator.Fill(s.generator, x, n);
  InputMean = s.generator.M;
  CorrScaleIn = 1.0;
  InputSko = SkoAbout(x, n, InputMean);
  out.lagIn = instruments::LagOf(s.tauIn, generator.SamplingPeriod);
  const std::optional<double> corrIn =
      instruments::CorrelationAt(x, n, out.lagIn, InputMean, CorrScaleIn);
  out.corrInValid = corrIn.has_value();
  CorrIn = corrIn.value_or(instruments::NoReading);
  DensityIn = s.measureIn(x, n);

  MapThroughCircuit(s.circuit, x, y, n);
  OutputMean = MeanOf(y, n);
  CorrScaleOut = 1.0;
  OutputSko = SkoAbout(y, n, OutputMean);
  out.lagOut = instruments::LagOf(s.tauOut, generator.SamplingPeriod);
  const std::optional<double> corrOut =
      instruments::CorrelationAt(y, n, out.lagOut, OutputMean, CorrScaleOut);
  out.corrOutValid = corrOut.has_value();
  CorrOut = corrOut.value_or(instruments::NoReading);
  DensityOut = s.measureOut(y, n);
  return out;
}

}  // namespace

RunOutcome RunModel(Generator& generator, const RunSettings& s) {
  const Snapshot before = Take();
  RunOutcome out;
  try {
    out = Compute(generator, s);
  } catch (...) {
    // A run ended by an exception (no memory inside a meter, say) leaves no half-written
    // statistics behind.
    Restore(before);
    throw;
  }
  for (double v : Take().v) {
    if (!std::isfinite(v)) {
      out.finite = false;
      Restore(before);
      return out;
    }
  }
  BenchReadings::RunMade = true;
  BenchReadings::InputSkoReestimated = false;
  return out;
}

}  // namespace model
