// A full redraw of a 1000 x 700 chart holding a 524288-sample analog series and a
// 10000-bin histogram over the same view, as the analysis and oscilloscope windows draw
// them: layout, backgrounds, grid, labels, names, both series. Variants show where the time
// goes; the reference draws every line at once (no merging of bar outlines).
//
// HistogramView: the 10000-bin histogram alone, over its own range (the reference) and over
// -100000 .. 100000, the chart viewer's limits, which the limit up-downs reach: there the
// bars are a sliver in the middle of the net and 10^8 bar positions lie in view. "wide"
// draws it as the chart does; "wide-every-sample" walks every bar position of the view (the
// plain walk, cut off after its step limit).
//
// DenseCurve: the curve alone in the same chart. Its 524288 samples all lie in view, about
// 580 to a pixel column, so each column also gets the vertical line over its extremes:
// found in the keeper's pyramid ("extremes", as the chart draws), or by comparing every
// sample with the column edges ("extremes-every-sample", the plain reading); the reference
// is the curve without them (the same curve read through a function, which gets none).
// Bind: binding the 524288 samples (their y range, and the pyramid) against the y range
// alone, the whole of a binding without the pyramid.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "bench/RatioReporter.h"
#include "chart/Diagram.h"
#include "model/Mathlib.h"

namespace {

constexpr int Samples = 524288;
constexpr int Bins = 10000;

struct Scene {
  std::vector<double> signal = std::vector<double>(Samples);
  std::vector<double> bars = std::vector<double>(Bins);
  TDiagram chart;

  explicit Scene(bool withSignal, bool withBars) {
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 0.2);
    for (int i = 0; i < Samples; ++i) signal[i] = std::sin(i * 0.0005) + noise(rng);
    for (int i = 0; i < Bins; ++i) {
      const double x = -5.0 + 10.0 * i / (Bins - 1);
      bars[i] = std::exp(-x * x / 2) / std::sqrt(6.283185307179586) * (1 + 0.3 * noise(rng));
    }
    chart.resize(1000, 700);
    const TFont names = MakeFont("Times New Roman", -16, fsBold | fsItalic);
    chart.SetFontNameX(names);
    chart.SetFontNameY(names);
    chart.SetFontName(names);
    chart.SetFontNet(MakeFont("Times New Roman", -16));
    TKeeper* a = chart.GetKeeper(0);
    a->SetArray(signal.data(), Samples, -5.0, 5.0);
    a->SetColor(0x008000);
    if (!withSignal) a->Hide();
    TKeeper* h = chart.PNewKeeper();
    h->SetArray(bars.data(), Bins, -5.0, 5.0);
    h->SetHistogram();
    h->SetColor(0xFF0000);
    if (!withBars) h->Hide();
    chart.SetRangeX(-5.5, 5.5);
    chart.SetRangeY(-1.5, 1.5);
  }
};

void Redraw(benchmark::State& state, bool signal, bool bars, bool merge) {
  Scene scene(signal, bars);
  scene.chart.Canvas()->SetCoalescing(merge);
  for (auto _ : state) {
    scene.chart.ShowDiagram();
    benchmark::DoNotOptimize(scene.chart.Picture().Image().constBits());
  }
}

enum class Extremes { None, Pyramid, EverySample };

void DenseCurve(benchmark::State& state, Extremes extremes) {
  Scene scene(true, false);
  TKeeper samples;
  samples.SetArray(scene.signal.data(), Samples, -5.0, 5.0);
  if (extremes == Extremes::None) {
    scene.chart.GetKeeper(0)->SetFunction([&samples](double x) { return samples.GetValue(x); }, 2,
                                          -5.0, 5.0);
  }
  if (extremes == Extremes::EverySample) scene.chart.SetSeriesWalk(chart::SeriesWalk::EverySample);
  for (auto _ : state) {
    scene.chart.ShowDiagram();
    benchmark::DoNotOptimize(scene.chart.Picture().Image().constBits());
  }
}

void Bind(benchmark::State& state, bool keeper) {
  Scene scene(false, false);
  TKeeper& k = *scene.chart.GetKeeper(0);
  double lo = 0, hi = 0;
  for (auto _ : state) {
    if (keeper) {
      k.SetArray(scene.signal.data(), Samples, -5.0, 5.0);
    } else {
      mathlib::ArrayRange(scene.signal.data(), Samples, lo, hi);
    }
    benchmark::DoNotOptimize(lo);
    benchmark::DoNotOptimize(hi);
    benchmark::ClobberMemory();
  }
}

enum class View { Normal, Wide, WideEverySample };

void HistogramView(benchmark::State& state, View view) {
  Scene scene(false, true);
  if (view != View::Normal) scene.chart.SetRangeX(-100000, 100000);
  if (view == View::WideEverySample) scene.chart.SetSeriesWalk(chart::SeriesWalk::EverySample);
  for (auto _ : state) {
    scene.chart.ShowDiagram();
    benchmark::DoNotOptimize(scene.chart.Picture().Image().constBits());
  }
}

int Register() {
  benchratio::SetReference("Redraw", "line-by-line");
  auto add = [](const char* name, bool signal, bool bars, bool merge) {
    benchmark::RegisterBenchmark(name, Redraw, signal, bars, merge)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  };
  add("Redraw/line-by-line", true, true, false);
  add("Redraw/full", true, true, true);
  add("Redraw/analog-only", true, false, true);
  add("Redraw/histogram-only", false, true, true);
  add("Redraw/grid-and-texts", false, false, true);

  benchratio::SetReference("DenseCurve", "curve-alone");
  for (auto [name, e] : {std::pair{"DenseCurve/curve-alone", Extremes::None},
                         std::pair{"DenseCurve/extremes", Extremes::Pyramid},
                         std::pair{"DenseCurve/extremes-every-sample", Extremes::EverySample}})
    benchmark::RegisterBenchmark(name, DenseCurve, e)->Unit(benchmark::kMillisecond)->UseRealTime();

  benchratio::SetReference("Bind", "y-range-alone");
  for (bool keeper : {false, true})
    benchmark::RegisterBenchmark(keeper ? "Bind/SetArray" : "Bind/y-range-alone", Bind, keeper)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();

  benchratio::SetReference("HistogramView", "normal");
  auto view = [](const char* name, View v) {
    benchmark::RegisterBenchmark(name, HistogramView, v)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  };
  view("HistogramView/normal", View::Normal);
  view("HistogramView/wide", View::Wide);
  view("HistogramView/wide-every-sample", View::WideEverySample);
  return 0;
}
const int registered = Register();

}  // namespace
