// The generator at the longest realization: the block path (vector kernels, two threads)
// against the plain one-sample loop, for each kind and each vector level.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/RatioReporter.h"
#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/SampleStore.h"
#include "model/Simd.h"

namespace {

constexpr int N = 524288;

model::GeneratorParams ParamsOf(int kind) {
  model::GeneratorParams p;
  p.kind = kind;
  p.M = 0.1;
  return p;
}

void Plain(benchmark::State& state, int kind) {
  const model::GeneratorParams p = ParamsOf(kind);
  model::Generator g;
  mathlib::RandSeed(1);
  for (auto _ : state) {
    g.Reset(0, p.Fr);
    for (int i = 0; i < N; ++i) SampleStore::InputSamples[i] = g.NextSample(p);
    benchmark::DoNotOptimize(SampleStore::InputSamples[N - 1]);
  }
}

void Fast(benchmark::State& state, int kind, simd::Level level) {
  const simd::Level saved = simd::SetLevel(level);
  const model::GeneratorParams p = ParamsOf(kind);
  model::Generator g;
  mathlib::RandSeed(1);
  for (auto _ : state) {
    g.Reset(0, p.Fr);
    g.Fill(p, SampleStore::InputSamples, N);
    benchmark::DoNotOptimize(SampleStore::InputSamples[N - 1]);
  }
  simd::SetLevel(saved);
}

const char* const KindNames[] = {"off", "harmonic", "uniform", "gaussian", "harmonic+gaussian"};

int Register() {
  for (int kind = 0; kind < 5; ++kind) {
    const std::string group = std::string("Generator.") + KindNames[kind];
    benchratio::SetReference(group, "plain");
    benchmark::RegisterBenchmark((group + "/plain").c_str(), Plain, kind)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (int l = static_cast<int>(simd::Detected()); l >= 0; --l) {
      const auto level = static_cast<simd::Level>(l);
      benchmark::RegisterBenchmark((group + "/fast-" + simd::Name(level)).c_str(), Fast, kind,
                                   level)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
  return 0;
}
const int registered = Register();

}  // namespace
