// The transform of a real signal against FFTW's complex in-place transform (FFTW_ESTIMATE,
// the reference), at the lengths the correlation graphs use; the fast path on each vector
// level and the plain loops. Our variants do the whole job from the source signal (the copy,
// the permutation and all stages); for FFTW only the execution of its plan is timed, not the
// refilling of its buffer.
#include <fftw3.h>

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/RatioReporter.h"
#include "model/Fft.h"
#include "model/SampleStore.h"
#include "model/Simd.h"

namespace {

void FillSignal(int n) {
  std::mt19937_64 rng(12345);
  std::normal_distribution<double> g(0.0, 1.0);
  for (int i = 0; i < n; ++i) SampleStore::InputSamples[i] = g(rng);
}

void Fftw(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FillSignal(n);
  fftw_complex* data = fftw_alloc_complex(n);
  fftw_plan plan = fftw_plan_dft_1d(n, data, data, FFTW_BACKWARD, FFTW_ESTIMATE);
  for (auto _ : state) {
    // The transform alone is timed; refilling its in-place buffer is not.
    state.PauseTiming();
    for (int i = 0; i < n; ++i) {
      data[i][0] = SampleStore::InputSamples[i];
      data[i][1] = 0.0;
    }
    state.ResumeTiming();
    fftw_execute(plan);
    benchmark::DoNotOptimize(data[n - 1][0]);
  }
  fftw_destroy_plan(plan);
  fftw_free(data);
}

void Fast(benchmark::State& state, simd::Level level) {
  const simd::Level saved = simd::SetLevel(level);
  const int n = static_cast<int>(state.range(0));
  FillSignal(n);
  for (auto _ : state) {
    model::FftTransform(SampleStore::InputSamples, n, n, SampleStore::WorkIm, SampleStore::WorkRe);
    benchmark::DoNotOptimize(SampleStore::WorkRe[n - 1]);
  }
  simd::SetLevel(saved);
}

void Plain(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FillSignal(n);
  for (auto _ : state) {
    model::FftTransformPlain(SampleStore::InputSamples, n, n, SampleStore::WorkIm,
                             SampleStore::WorkRe);
    benchmark::DoNotOptimize(SampleStore::WorkRe[n - 1]);
  }
}

int Register() {
  benchratio::SetReference("Fft", "fftw-estimate");
  const int lengths[] = {1 << 16, 1 << 18, 1 << 19};
  for (int n : lengths) {
    benchmark::RegisterBenchmark("Fft/fftw-estimate", Fftw)
        ->Arg(n)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (int l = static_cast<int>(simd::Detected()); l >= 0; --l) {
      const auto level = static_cast<simd::Level>(l);
      benchmark::RegisterBenchmark((std::string("Fft/fast-") + simd::Name(level)).c_str(), Fast,
                                   level)
          ->Arg(n)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
    benchmark::RegisterBenchmark("Fft/plain", Plain)
        ->Arg(n)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  return 0;
}
const int registered = Register();

}  // namespace
