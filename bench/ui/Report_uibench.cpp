// The lab report's two costs: keeping a graph when its window closes, and writing the report.
//
// Journal: a chart of 1250 x 650 (a maximized viewer on a 1280 x 800 screen) holding a
// 10000-lag correlation function and its grid. "record" draws it anew at double density and
// compresses it as PNG, as a closing graph window does; "picture" is the drawing alone; the
// reference is the window's own redraw at its size.
//
// Report: ten such graphs. "write" is the whole command after the file name: the report with
// its header, schematic, tables and the ten graphs two to a page, written through the
// program's writer to a file; "one-thread" is the same document with the pictures decoded on
// the painting thread. The reference is the bare minimum any report of these pictures takes:
// the ten PNG pictures decoded and drawn two to an A4 page, nothing else.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "app/Diagramincreaseunit.h"
#include "app/GraphJournal.h"
#include "app/ReportPdf.h"
#include "bench/RatioReporter.h"
#include "chart/Diagram.h"
#include "model/Parallel.h"
#include "platform/FileWrite.h"
#include "platform/Jpeg.h"

namespace {

constexpr int Lags = 10000;
constexpr int Graphs = 10;

// A viewer window whose chart shows a decaying oscillation over 10000 lags, mirrored.
struct Viewer {
  std::vector<double> values = std::vector<double>(Lags);
  TDiagramIncrease window;

  explicit Viewer(int seed) {
    for (int j = 0; j < Lags; ++j)
      values[j] = std::exp(-j / (800.0 + seed * 50)) * std::cos(j * (0.02 + seed * 0.001));
    TDiagram& c = *window.Diagram1;
    c.resize(1250, 650);
    TKeeper& k = *c.GetKeeper(0);
    k.SetArray(values.data(), Lags, 0, (Lags - 1) * 0.005);
    k.SetAnalog();
    k.SetSymmetry(Symmetry::Even);
    k.SetColor(0xFF0000);
    c.SetNameDiagram(QStringLiteral("Корреляционная функция на выходе"));
    c.SetRangeX(-5, 5);
    c.AutoRangeY();
  }
};

void Journal(benchmark::State& state, int variant) {
  Viewer v(0);
  TDiagram& c = *v.window.Diagram1;
  for (auto _ : state) {
    switch (variant) {
      case 0:
        c.ShowDiagram();
        break;
      case 1:
        benchmark::DoNotOptimize(c.PictureAtDensity(2));
        break;
      default:
        report::RecordGraph(v.window, QString());
        break;
    }
  }
  report::Journal().Clear();
}

// The report's content with ten graphs from the journal.
struct Content {
  report::ReportContent content;
  std::vector<report::JournalEntry> graphs;

  Content() {
    report::Journal().Clear();
    for (int i = 0; i < Graphs; ++i) {
      Viewer v(i);
      report::RecordGraph(v.window, QStringLiteral("Генератор: гауссов шум. T = 0,005 мс."));
    }
    graphs.assign(report::Journal().Entries().begin(), report::Journal().Entries().end());
    report::Journal().Clear();
    content.title = QStringLiteral("Лабораторная работа");
    content.student = QStringLiteral("Иванова А. Б., РТ-21");
    content.date = QDateTime::currentDateTime();
    content.schematic = platform::StoredPicture("bench.jpg");
    content.settings = report::SettingsTable(report::ModelSettings{});
    content.readings = report::ReadingsTable(report::Readings{});
    for (const report::JournalEntry& g : graphs) content.graphs.push_back(&g);
  }
};

void Report(benchmark::State& state, int variant) {
  Content c;
  QTemporaryDir dir;
  const QString file = dir.filePath("Отчёт.pdf");
  model::ThreadStartFailsForTests = variant == 2;
  for (auto _ : state) {
    if (variant == 0) {
      QByteArray bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      QPdfWriter writer(&buffer);
      writer.setPageSize(QPageSize(QPageSize::A4));
      writer.setResolution(300);
      QPainter p(&writer);
      p.setRenderHint(QPainter::LosslessImageRendering, true);
      for (int i = 0; i < Graphs; ++i) {
        if (i > 0 && i % 2 == 0) writer.newPage();
        QImage image;
        image.loadFromData(c.graphs[i].png, "PNG");
        p.drawImage(QRectF(0, (i % 2) * 1700, 2200, 1145), image);
      }
      p.end();
      benchmark::DoNotOptimize(bytes.size());
    } else {
      platform::WriteFileReplacing(report::ReportPdf(c.content), file);
    }
  }
  model::ThreadStartFailsForTests = false;
}

const bool Registered = [] {
  benchratio::SetReference("Journal", "redraw");
  benchratio::SetReference("Report", "plain");
  benchmark::RegisterBenchmark("Journal/redraw", Journal, 0)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Journal/picture", Journal, 1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Journal/record", Journal, 2)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Report/plain", Report, 0)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Report/write", Report, 1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Report/one-thread", Report, 2)->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
