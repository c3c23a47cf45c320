// The expected histogram ("Теоретический закон") at 10000 bins: every generator kind with its
// default parameters at the input and through every circuit with its defaults, and settings
// that make it work hardest (a sawtooth of 0,001 mV under wide noise: 170 000 teeth and more;
// narrow noise on a wide harmonic; the steepest circuits). There is no other way of computing
// it to compare with, so the table gives times, not ratios.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "instruments/ExpectedHistogram.h"
#include "instruments/Histogram.h"
#include "model/Circuit.h"
#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/Run.h"

namespace {

constexpr int N = 65536;

struct Setting {
  model::GeneratorParams generator;
  int page;  // -1: the input
  std::function<void(model::CircuitParams&)> circuit;
};

// The grid of the side's histogram with a bin width small enough for the cap of 10000 bins,
// from the mean and deviation of a realization (as the command plans it).
void Expected(benchmark::State& state, const Setting& s) {
  model::CircuitParams c;
  c.page = s.page;
  if (s.circuit) s.circuit(c);
  std::vector<double> x(N), y(N);
  model::Generator gen;
  mathlib::RandSeed(1);
  gen.Reset(0, s.generator.Fr);
  gen.Fill(s.generator, x.data(), N);
  if (s.page >= 0) model::TransferArray(c, x.data(), y.data(), N);
  const std::vector<double>& v = s.page >= 0 ? y : x;
  const double mean = model::MeanOf(v.data(), N);
  const double sko = model::SkoAbout(v.data(), N, mean);
  const instruments::HistogramGrid g =
      instruments::PlanHistogram(mean, sko, {sko / 2000, false}, s.page < 0);
  std::vector<double> value(g.n);
  const model::CircuitParams* circuit = s.page >= 0 ? &c : nullptr;
  for (auto _ : state) {
    instruments::ExpectedHistogram(s.generator, circuit, g.xmin, g.h, g.n, value.data());
    benchmark::DoNotOptimize(value[g.n / 2]);
  }
  state.counters["bins"] = g.n;
}

model::GeneratorParams Kind(int kind, double M = 0, double A = 1, double D = 1) {
  model::GeneratorParams p;
  p.kind = kind;
  p.M = M;
  p.A = A;
  p.D = D;
  return p;
}

void Add(const std::string& name, const Setting& s) {
  benchmark::RegisterBenchmark(name.c_str(), Expected, s)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

int Register() {
  const char* const kinds[] = {"off", "harmonic", "uniform", "gaussian", "harmonic+gaussian"};
  for (int kind = 0; kind < 5; ++kind) {
    const std::string group = std::string("Expected.") + kinds[kind];
    Add(group + "/input", {Kind(kind), -1, nullptr});
    for (int page = 0; page < model::CircuitCount; ++page)
      Add(group + "/circuit" + std::to_string(page + 1), {Kind(kind), page, nullptr});
  }
  const auto sawtooth = [](model::CircuitParams& c) { c.D = 0.001; };
  Add("Expected.hardest/gaussian10-circuit8-D0.001", {Kind(3, 0, 1, 10), 7, sawtooth});
  Add("Expected.hardest/mixed10-10-M10-circuit8-D0.001", {Kind(4, 10, 10, 10), 7, sawtooth});
  Add("Expected.hardest/harmonic10-circuit8-D0.001", {Kind(1, 0, 10), 7, sawtooth});
  Add("Expected.hardest/mixed10-0.000001-circuit7", {Kind(4, 0, 10, 0.000001), 6, nullptr});
  Add("Expected.hardest/mixed10-0.001-input", {Kind(4, -10, 10, 0.001), -1, nullptr});
  Add("Expected.hardest/gaussian10-circuit6-b10",
      {Kind(3, 0, 1, 10), 5, [](model::CircuitParams& c) { c.b6 = 10; }});
  Add("Expected.hardest/mixed10-10-M10-circuit4-a100",
      {Kind(4, 10, 10, 10), 3, [](model::CircuitParams& c) { c.a4 = 100; }});
  Add("Expected.hardest/gaussian-circuit2-step", {Kind(3), 1, [](model::CircuitParams& c) {
                                                    c.x1 = c.x2 = 0;
                                                    model::CloseCircuit(c);
                                                  }});
  return 0;
}
const int registered = Register();

}  // namespace
