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
#include "instruments/ExpectedHistogram.h"
#include "instruments/Histogram.h"
#include "instruments/Unitgist.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "platform/Cursor.h"
#include "platform/Modal.h"

namespace instruments {

namespace {

// The bin values of the last histogram: the chart's base series refers to them until another
// graph rebinds it.
double HistogramValues[MaxHistogramBins];
// The expected histogram drawn over them ("Теоретический закон"), for as long as series 1 is
// bound to it.
double ExpectedValues[MaxHistogramBins];

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

  // The law over the bins, if one is chosen: a curve with the side's moments, or the expected
  // value of every bin under the generator and circuit of the run. A command that found the
  // settings changed has just run the model, so the windows' fields are the run's.
  TKeeper::Function law;
  const bool expected = FormGist->RadioButton4->isChecked();
  if (FormGist->RadioButton1->isChecked()) {
    law = input ? NormalLawIn : NormalLawOut;
  } else if (expected) {
    const model::CircuitParams circuit = FormCircuit->Params();
    ExpectedHistogram(FormGenerator->Params(), input ? nullptr : &circuit, grid.xmin, grid.h,
                      grid.n, ExpectedValues);
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
  g.usesFurtherSeries = law || expected;
  TKeeper* overlay = nullptr;
  g.bind = [&](TDiagram& chart, TKeeper& base) {
    // Bar i stands at xmin + i·(lastCentre - xmin)/(n - 1): over the bin it counted.
    base.SetArray(HistogramValues, grid.n, grid.xmin, grid.lastCentre);
    base.SetHistogram();
    base.SetColor(HistogramColor);
    if (!law && !expected) return;
    overlay = chart.GetKeeper(1);
    if (overlay == nullptr) {
      overlay = chart.PNewKeeper();
      if (overlay == nullptr) return;  // the chart has said why
      overlay->SetColor(LawColor);
    }
    if (expected) {
      // A value at every bin centre, bound as the bars are.
      overlay->SetArray(ExpectedValues, grid.n, grid.xmin, grid.lastCentre);
    } else {
      overlay->SetFunction(law, 100, grid.xmin, grid.xmax);
    }
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
