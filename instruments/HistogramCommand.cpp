#include "instruments/HistogramCommand.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>

#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "app/GraphJournal.h"
#include "chart/Diagram.h"
#include "chart/Keeper.h"
#include "instruments/Histogram.h"
#include "instruments/Unitgist.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "platform/Cursor.h"
#include "platform/Modal.h"

namespace instruments {

namespace {

// The bin values of the last histogram: the chart's base series refers to them until another
// graph rebinds it.
double HistogramValues[MaxHistogramBins];

constexpr TColor HistogramColor = 0xFF0000;  // blue
constexpr TColor LawColor = 0x0000FF;        // red

// What goes over the bins, named by the caption of the button chosen in the settings window:
// every choice of its group names itself.
QString ChosenOverlay() {
  for (const QRadioButton* b : FormGist->GroupBox2->findChildren<QRadioButton*>())
    if (b->isChecked()) return b->text().trimmed();
  return {};
}

}  // namespace

void HistogramCommand(HistogramSide side, const std::function<bool()>& upToDate) {
  using namespace BenchReadings;
  const bool input = side == HistogramSide::Input;
  platform::ShowModal(*FormGist);
  if (!FormGist->Accepted) return;
  if (!upToDate()) return;
  platform::SetScreenCursor(platform::ScreenCursor::HourGlass);

  const double* samples = input ? SampleStore::InputSamples : SampleStore::OutputSamples;
  const double count = model::SampleCount;
  const HistogramRequest request{FormGist->EditFloat1->Val(), FormGist->CheckBox1->isChecked()};
  if (input) {
    // The estimate replaces the run's value until the next run: the overlay and later input
    // histograms use it.
    const double runSko = InputSko;
    InputSko = ReestimatedInputSko(FormGenerator->ComboBox1->currentIndex(), samples, count,
                                   request.binWidth, InputMean, InputSko);
    if (InputSko != runSko) InputSkoReestimated = true;
  }
  const double mean = input ? InputMean : OutputMean;
  const HistogramGrid grid = PlanHistogram(mean, input ? InputSko : OutputSko, request, input);
  HistogramBins(samples, count, grid.xmin, grid.h, grid.n, HistogramValues);

  // The law over the bins, if one is chosen.
  TKeeper::Function law;
  if (FormGist->RadioButton1->isChecked()) {
    law = input ? NormalLawIn : NormalLawOut;
  } else if (FormGist->RadioButton2->isChecked()) {
    law = input ? UniformLawIn : UniformLawOut;
  }

  GraphSetup g;
  g.title = QString::fromUtf8(input ? "Гистограмма вход" : "Гистограмма выход");
  g.nameX = QStringLiteral("x,мВ");
  g.nameY = QStringLiteral("w(x),1/мВ");
  g.limitXmin = grid.xmin - (grid.xmax - grid.xmin);
  g.limitXmax = grid.xmax + (grid.xmax - grid.xmin);
  g.limitYmin = -1;
  g.limitYmax = 10000;
  g.usesFurtherSeries = static_cast<bool>(law);
  TKeeper* overlay = nullptr;
  g.bind = [&](TDiagram& chart, TKeeper& base) {
    // Bar i stands at xmin + i·(lastCentre - xmin)/(n - 1): over the bin it counted.
    base.SetArray(HistogramValues, grid.n, grid.xmin, grid.lastCentre);
    base.SetHistogram();
    base.SetColor(HistogramColor);
    if (!law) return;
    overlay = chart.GetKeeper(1);
    if (overlay == nullptr) {
      overlay = chart.PNewKeeper();
      if (overlay == nullptr) return;  // the chart has said why
      overlay->SetColor(LawColor);
    }
    overlay->SetFunction(law, 100, grid.xmin, grid.xmax);
    overlay->Hide();
  };
  g.ranges = [&](TDiagram& chart) {
    chart.SetRangeX(grid.xmin, grid.xmax);
    // The law, still hidden, counts: the y range holds both the bins and the curve.
    chart.AutoRangeY();
    if (overlay != nullptr) overlay->Show();
  };
  g.settings = report::GraphSettings(
      report::HistogramExtra(grid.h, request.automatic, ChosenOverlay().toStdString()));
  platform::SetScreenCursor(platform::ScreenCursor::Default);
  ShowGraph(*DiagramIncreaseAnalysis, g);
}

}  // namespace instruments
