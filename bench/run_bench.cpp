// The whole run at the longest realization with Gaussian noise: the bench's path against
// the same steps written as plain one-sample loops.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/RatioReporter.h"
#include "instruments/Correlometer.h"
#include "instruments/Density.h"
#include "model/Mathlib.h"
#include "model/Parallel.h"
#include "model/Run.h"
#include "model/SampleStore.h"

namespace {

constexpr int N = 524288;

model::RunSettings Settings(int page) {
  model::RunSettings s;
  s.generator.kind = model::KindGaussianNoise;
  s.circuit.page = page;
  s.n = N;
  s.tauIn = s.tauOut = 0.01;
  return s;
}

void Fast(benchmark::State& state) {
  const model::RunSettings s = Settings(static_cast<int>(state.range(0)));
  model::Generator g;
  mathlib::RandSeed(1);
  for (auto _ : state) benchmark::DoNotOptimize(model::RunModel(g, s));
}

// The bench's path when no worker thread can start: both halves on the calling thread.
void OneThread(benchmark::State& state) {
  model::ThreadStartFailsForTests = true;
  Fast(state);
  model::ThreadStartFailsForTests = false;
}

void Plain(benchmark::State& state) {
  const model::RunSettings s = Settings(static_cast<int>(state.range(0)));
  model::Generator g;
  mathlib::RandSeed(1);
  double* x = SampleStore::InputSamples;
  double* y = SampleStore::OutputSamples;
  for (auto _ : state) {
    g.Reset(0, s.generator.Fr);
    for (int i = 0; i < N; ++i) x[i] = g.NextSample(s.generator);
    const double sko = model::SkoAbout(x, N, s.generator.M);
    const int lag = instruments::LagOf(s.tauIn, g.SamplingPeriod);
    const double corr = *instruments::CorrelationAt(x, N, lag, s.generator.M, 1.0);
    const double dens = instruments::DensityAt(x, 0.1, 0.0, N);
    for (int i = 0; i < N; ++i) y[i] = model::Transfer(s.circuit, x[i]);
    const double mean = model::MeanOf(y, N);
    const double skoOut = model::SkoAbout(y, N, mean);
    const double corrOut = *instruments::CorrelationAt(y, N, lag, mean, 1.0);
    const double densOut = instruments::DensityAt(y, 0.1, 0.0, N);
    benchmark::DoNotOptimize(sko + corr + dens + skoOut + corrOut + densOut);
  }
}

const int registered = [] {
  benchratio::SetReference("Run.gaussian", "plain");
  // Circuit 1 (threshold linear) and circuit 6 (smooth limiter, the costliest).
  benchmark::RegisterBenchmark("Run.gaussian/plain", Plain)
      ->Arg(0)
      ->Arg(5)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("Run.gaussian/bench", Fast)
      ->Arg(0)
      ->Arg(5)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("Run.gaussian/bench-one-thread", OneThread)
      ->Arg(0)
      ->Arg(5)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return 0;
}();

}  // namespace
