// The density meter and the correlometer over the longest realization (524288 samples): the
// window count on each vector level against the plain loop, and the correlation sum (one
// sum in index order, so it has only the plain form).
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/RatioReporter.h"
#include "instruments/Correlometer.h"
#include "instruments/Density.h"
#include "model/SampleStore.h"
#include "model/Simd.h"

namespace {

constexpr int N = 524288;

void FillGaussian() {
  std::mt19937_64 rng(7);
  std::normal_distribution<double> g(0.0, 1.0);
  for (int i = 0; i < N; ++i) SampleStore::InputSamples[i] = g(rng);
}

void DensityPlain(benchmark::State& state) {
  FillGaussian();
  for (auto _ : state) {
    const long long c = instruments::CountInWindowPlain(SampleStore::InputSamples, N, -0.05, 0.05);
    benchmark::DoNotOptimize(static_cast<double>(c) / N / 0.1);
  }
}

void DensityFast(benchmark::State& state, simd::Level level) {
  const simd::Level saved = simd::SetLevel(level);
  FillGaussian();
  for (auto _ : state) {
    benchmark::DoNotOptimize(instruments::DensityAt(SampleStore::InputSamples, 0.1, 0.0, N));
  }
  simd::SetLevel(saved);
}

void Correlation(benchmark::State& state) {
  FillGaussian();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        instruments::CorrelationAt(SampleStore::InputSamples, N, 20, 0.0, 1.0));
  }
}

int Register() {
  benchratio::SetReference("DensityAt", "plain");
  benchmark::RegisterBenchmark("DensityAt/plain", DensityPlain)->Unit(benchmark::kMicrosecond);
  for (int l = static_cast<int>(simd::Detected()); l >= 0; --l) {
    const auto level = static_cast<simd::Level>(l);
    benchmark::RegisterBenchmark((std::string("DensityAt/fast-") + simd::Name(level)).c_str(),
                                 DensityFast, level)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("CorrelationAt/plain", Correlation)->Unit(benchmark::kMicrosecond);
  return 0;
}
const int registered = Register();

}  // namespace
