// The bins of a histogram over the longest realization (524288 Gaussian samples): the
// ranked count against the per-bin density loop, at the cap of 10000 bins and at the 99 bins
// of a unit deviation with the automatic width.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/RatioReporter.h"
#include "instruments/Histogram.h"
#include "model/SampleStore.h"

namespace {

constexpr int N = 524288;

void FillGaussian() {
  std::mt19937_64 rng(11);
  std::normal_distribution<double> g(0.0, 1.0);
  for (int i = 0; i < N; ++i) SampleStore::InputSamples[i] = g(rng);
}

using BinsFunction = void (*)(const double*, double, double, double, int, double*);

// The grid of the unit deviation: "Авто" gives 99 bins; a bin width of 0,001 mV gives the cap.
void Bins(benchmark::State& state, BinsFunction bins, double binWidth, bool automatic) {
  FillGaussian();
  const instruments::HistogramGrid g =
      instruments::PlanHistogram(0.0, 1.0, {binWidth, automatic}, true);
  static double value[instruments::MaxHistogramBins];
  for (auto _ : state) {
    bins(SampleStore::InputSamples, N, g.xmin, g.h, g.n, value);
    benchmark::DoNotOptimize(value[g.n / 2]);
  }
  state.counters["bins"] = g.n;
}

void Register(const std::string& group, double binWidth, bool automatic) {
  benchratio::SetReference(group, "per-bin");
  benchmark::RegisterBenchmark((group + "/per-bin").c_str(), Bins, &instruments::HistogramBinsPlain,
                               binWidth, automatic)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark((group + "/fast-1thread").c_str(), Bins,
                               &instruments::HistogramBinsOneThread, binWidth, automatic)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark((group + "/fast").c_str(), Bins, &instruments::HistogramBins,
                               binWidth, automatic)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

int RegisterAll() {
  Register("Histogram.10000bins", 0.001, false);
  Register("Histogram.99bins", 0.1, true);
  return 0;
}
const int registered = RegisterAll();

}  // namespace
