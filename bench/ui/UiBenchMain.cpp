// Main of the window benchmarks: a Qt application on the offscreen platform (fonts and
// painting need one), then the benchmarks with the ratio report. The offscreen screen is
// 1280 x 800, the size the README's virtual display has, so a maximized chart viewer is as
// large as there.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryFile>

#include "bench/RatioReporter.h"

int main(int argc, char** argv) {
  QTemporaryFile screens;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    QByteArray platform = "offscreen";
    if (screens.open()) {
      screens.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1280,)"
                    R"( "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
      screens.flush();
      platform += ":configfile=" + screens.fileName().toLocal8Bit();
    }
    qputenv("QT_QPA_PLATFORM", platform);
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchratio::Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
