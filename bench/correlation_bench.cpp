// The correlation-function graphs at the longest realization (524288 Gaussian samples of the
// bench's generator): the direct sums of each side on every vector level against their plain
// loops, and the whole FFT method against one transform of N points.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/RatioReporter.h"
#include "instruments/CorrelationFunction.h"
#include "model/Fft.h"
#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/SampleStore.h"
#include "model/Simd.h"

namespace {

constexpr int N = 524288;

void FillGaussian() {
  model::GeneratorParams p;
  p.kind = model::KindGaussianNoise;
  model::Generator g;
  mathlib::RandSeed(3);
  g.Reset(0, p.Fr);
  g.Fill(p, SampleStore::InputSamples, N);
}

using Plain = void (*)(const double*, int, double, int, double*);
using Fast = void (*)(const double*, int, double, int, double*, double*);

void DirectPlain(benchmark::State& state, Plain plain, int lags) {
  FillGaussian();
  for (auto _ : state) {
    plain(SampleStore::InputSamples, N, 0.0, lags, SampleStore::WorkRe);
    benchmark::DoNotOptimize(SampleStore::WorkRe[lags - 1]);
  }
}

void DirectFast(benchmark::State& state, Fast fast, int lags, simd::Level level) {
  const simd::Level saved = simd::SetLevel(level);
  FillGaussian();
  for (auto _ : state) {
    fast(SampleStore::InputSamples, N, 0.0, lags, SampleStore::WorkRe, SampleStore::WorkPower);
    benchmark::DoNotOptimize(SampleStore::WorkRe[lags - 1]);
  }
  simd::SetLevel(saved);
}

void OneTransform(benchmark::State& state) {
  FillGaussian();
  for (auto _ : state) {
    model::FftTransform(SampleStore::InputSamples, N, N, SampleStore::WorkIm, SampleStore::WorkRe);
    benchmark::DoNotOptimize(SampleStore::WorkRe[N - 1]);
  }
}

void WholeFftMethod(benchmark::State& state) {
  FillGaussian();
  using namespace SampleStore;
  for (auto _ : state) {
    instruments::CorrelationFunction(false, true, InputSamples, N, 0.0, 1.0,
                                     [](const double* s, int c, int z, double* im, double* re) {
                                       return model::FftTransform(s, c, z, im, re);
                                     },
                                     {WorkRe, WorkIm, WorkPower});
    benchmark::DoNotOptimize(WorkRe[0]);
  }
}

void RegisterDirect(const char* group, Plain plain, Fast fast, int lags) {
  benchratio::SetReference(group, "plain");
  benchmark::RegisterBenchmark((std::string(group) + "/plain").c_str(), DirectPlain, plain, lags)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  for (int l = static_cast<int>(simd::Detected()); l >= 0; --l) {
    const auto level = static_cast<simd::Level>(l);
    benchmark::RegisterBenchmark((std::string(group) + "/fast-" + simd::Name(level)).c_str(),
                                 DirectFast, fast, lags, level)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

const int registered = [] {
  RegisterDirect("KfDirectOut", instruments::DirectCorrelationFullPlain,
                 instruments::DirectCorrelationFull, instruments::DirectLagCountOut);
  RegisterDirect("KfDirectIn", instruments::DirectCorrelationEarlyStopPlain,
                 instruments::DirectCorrelationEarlyStop, instruments::DirectLagCountIn);
  benchratio::SetReference("KfFft", "one-transform");
  benchmark::RegisterBenchmark("KfFft/one-transform", OneTransform)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("KfFft/whole-method", WholeFftMethod)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return 0;
}();

}  // namespace
