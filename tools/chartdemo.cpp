// Hand-run demo of the chart control (not a test): a histogram of Gaussian noise with the
// normal law drawn over it, with the measuring cross-hair. Move the mouse over the net to
// see the cross and the coordinates.
//
//   build/chartdemo                 interactive, in a plain window
//   build/chartdemo --shot out.png  draws, places the cross over the right slope, saves the
//                                   window picture and exits
//   build/chartdemo --viewer        the same graph in the chart viewer window
//   build/chartdemo --viewer --shot out.png
//                                   the viewer with its limit up-downs shown and the cross
//                                   and readout over the right slope, saved and closed
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "app/Diagramincreaseunit.h"
#include "chart/Diagram.h"
#include "platform/Modal.h"

namespace {

constexpr int Samples = 524288;
constexpr int Bins = 81;
constexpr double Sigma = 1.0;

double NormalLaw(double x) {
  return std::exp(-x * x / (2 * Sigma * Sigma)) / (std::sqrt(6.283185307179586) * Sigma);
}

// The graph in the chart viewer window, as a histogram command shows it.
int ShowInViewer(std::vector<double>& density, const QString& shot) {
  TDiagramIncrease window;
  bool saved = true;
  if (!shot.isEmpty()) {
    platform::SetModalHook([&](QDialog& d) {
      d.show();
      if (!QTest::qWaitForWindowExposed(&d)) saved = false;
      window.SpeedButtonLimitClick();
      TDiagram* chart = window.Diagram1;
      const QPoint at(chart->MathToPhisX(1.23), chart->MathToPhisY(0.27));
      QTest::mouseMove(chart, at);
      chart->MouseMove(0, at.x(), at.y());
      QApplication::processEvents();
      if (!window.grab().save(shot)) {
        std::fprintf(stderr, "chartdemo: cannot write %s\n", qPrintable(shot));
        saved = false;
      }
      d.close();
      return 0;
    });
  }
  GraphSetup g;
  g.title = QStringLiteral("Гистограмма вход");
  g.nameX = QStringLiteral("x,мВ");
  g.nameY = QStringLiteral("w(x),1/мВ");
  g.limitXmin = -12;
  g.limitXmax = 12;
  g.limitYmin = -1;
  g.limitYmax = 10000;
  g.bind = [&density](TDiagram& chart, TKeeper& bars) {
    bars.SetArray(density.data(), Bins, -4.0, 4.0);
    bars.SetHistogram();
    bars.SetColor(0xFF0000);
    TKeeper* law = chart.GetKeeper(1);
    if (law == nullptr) law = chart.PNewKeeper();
    law->SetColor(0x0000FF);
    law->SetFunction(NormalLaw, 100, -4.0, 4.0);
  };
  g.usesFurtherSeries = true;
  g.ranges = [](TDiagram& chart) {
    chart.SetRangeX(-4.05, 4.05);
    chart.AutoRangeY();
  };
  ShowGraph(window, g);
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QString shot;
  bool viewer = false;
  for (int i = 1; i < argc; ++i) {
    if (QString(argv[i]) == "--shot" && i + 1 < argc) shot = argv[i + 1];
    if (QString(argv[i]) == "--viewer") viewer = true;
  }

  // Noise and its histogram: bins of width 0.1 centred from -4 to 4.
  std::vector<double> noise(Samples);
  std::mt19937 rng(2024);
  std::normal_distribution<double> gauss(0.0, Sigma);
  for (double& v : noise) v = gauss(rng);
  std::vector<double> density(Bins, 0.0);
  const double h = 8.0 / (Bins - 1);
  for (double v : noise) {
    const int bin = static_cast<int>(std::floor((v + 4.0) / h + 0.5));
    if (bin >= 0 && bin < Bins) density[bin] += 1.0;
  }
  for (double& d : density) d /= Samples * h;
  if (viewer) return ShowInViewer(density, shot);

  QWidget window;
  window.setWindowTitle(QStringLiteral("Гистограмма вход"));
  auto* layout = new QVBoxLayout(&window);
  auto* readout = new QLabel(&window);
  readout->setMinimumHeight(22);
  auto* chart = new TDiagram(&window);
  chart->setMinimumSize(900, 600);
  layout->addWidget(readout);
  layout->addWidget(chart, 1);

  const TFont names = MakeFont(QStringLiteral("Times New Roman"), -16, fsBold | fsItalic);
  chart->EnableLine(false);
  chart->SetFontNameX(names);
  chart->SetFontNameY(names);
  chart->SetFontName(names);
  chart->SetFontNet(MakeFont(QStringLiteral("Times New Roman"), -16));
  TKeeper* bars = chart->GetKeeper(0);
  bars->Hide();
  bars->SetArray(density.data(), Bins, -4.0, 4.0);
  bars->SetHistogram();
  bars->SetColor(0xFF0000);
  TKeeper* law = chart->PNewKeeper();
  law->SetColor(0x0000FF);
  law->SetFunction(NormalLaw, 100, -4.0, 4.0);
  chart->SetNameY(QStringLiteral("w(x),1/мВ"));
  chart->SetNameX(QStringLiteral("x,мВ"));
  chart->SetNameDiagram(QStringLiteral("Гистограмма вход"));
  chart->SetLimitX(-12, 12);
  chart->SetLimitY(-1, 10000);
  chart->SetRangeX(-4.05, 4.05);
  chart->AutoRangeY();
  bars->Show();
  chart->EnableLine(true);

  chart->OnMouseMove = [chart, readout](QObject*, TShiftState, int x, int y) {
    const bool inside = chart->Get_xb_net() + 2 <= x && x <= chart->Get_xe_net() - 2 &&
                        chart->Get_yb_net() + 2 <= y && y <= chart->Get_ye_net() - 2;
    readout->setText(inside ? QStringLiteral("(%1; %2)")
                                  .arg(chart->PhisToMathX(x), 0, 'f', chart->GetPrecisionX() + 2)
                                  .arg(chart->PhisToMathY(y), 0, 'f', chart->GetPrecisionY() + 2)
                                  .replace('.', ',')
                            : QString());
  };

  window.resize(1000, 700);
  window.show();
  app.processEvents();
  chart->ShowDiagram();

  if (!shot.isEmpty()) {
    const int x = chart->MathToPhisX(1.23);
    const int y = chart->MathToPhisY(0.27);
    chart->MouseMove(0, x, y);
    app.processEvents();
    if (!window.grab().save(shot)) {
      std::fprintf(stderr, "chartdemo: cannot write %s\n", qPrintable(shot));
      return 1;
    }
    return 0;
  }
  return app.exec();
}
