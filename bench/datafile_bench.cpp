// The data file of the longest oscillogram with the whole realization in view (524288
// Gaussian samples, every 0,005 ms): its text from the rows against the plain way of writing
// every number with "%.17g" (which reads back exactly too, but longer), and the rows and the
// text together, the whole work of the command but the disk.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "chart/GraphData.h"

namespace {

constexpr int N = 524288;

struct Oscillogram {
  std::vector<double> samples = std::vector<double>(N);
  TKeeper series;
  chart::PlotMap view;

  Oscillogram() {
    std::mt19937_64 rng(5);
    std::normal_distribution<double> g(0.0, 1.0);
    for (double& v : samples) v = g(rng);
    series.SetArray(samples.data(), N, 0, (N - 1) * 0.005);
    view.x0_out = 50;
    view.w_out = 1100;
    view.xmin = 0;
    view.xmax = (N - 1) * 0.005;
  }
};

Oscillogram& Data() {
  static Oscillogram o;
  return o;
}

void Printf(benchmark::State& state) {
  const std::vector<chart::SeriesRows> rows = chart::ShownSeriesRows(Data().series, Data().view);
  const chart::SeriesRows& r = rows.front();
  for (auto _ : state) {
    std::string out(chart::Utf8Bom);
    out += "t,мс;X(t),мВ\r\n";
    char buf[64];
    for (std::size_t i = 0; i < r.x.size(); ++i) {
      const int n = std::snprintf(buf, sizeof buf, "%.17g;%.17g\r\n", r.x[i], r.y[i]);
      for (int c = 0; c < n; ++c)
        if (buf[c] == '.') buf[c] = ',';
      out.append(buf, n);
    }
    benchmark::DoNotOptimize(out.data());
  }
}

void Text(benchmark::State& state) {
  const std::vector<chart::SeriesRows> rows = chart::ShownSeriesRows(Data().series, Data().view);
  for (auto _ : state) {
    const std::string out = chart::DataFileText("t,мс", "X(t),мВ", rows);
    benchmark::DoNotOptimize(out.data());
  }
}

void RowsAndText(benchmark::State& state) {
  for (auto _ : state) {
    const std::string out =
        chart::DataFileText("t,мс", "X(t),мВ", chart::ShownSeriesRows(Data().series, Data().view));
    benchmark::DoNotOptimize(out.data());
  }
}

int RegisterAll() {
  const std::string group = "DataFile.524288samples";
  benchratio::SetReference(group, "printf");
  benchmark::RegisterBenchmark((group + "/printf").c_str(), Printf)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark((group + "/text").c_str(), Text)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark((group + "/rows+text").c_str(), RowsAndText)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return 0;
}
const int registered = RegisterAll();

}  // namespace
