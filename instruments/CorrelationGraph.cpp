#include "instruments/CorrelationGraph.h"

#include <QComboBox>
#include <QString>

#include "app/Diagramincreaseunit.h"
#include "app/GraphJournal.h"
#include "chart/Diagram.h"
#include "chart/Keeper.h"
#include "instruments/CorrelationFunction.h"
#include "model/Fft0unit.h"
#include "model/Generator.h"
#include "model/Messages.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitturn.h"
#include "platform/Cursor.h"

namespace {

constexpr TColor Blue = 0xFF0000;

// The transforms go through the FFT window, which shows its progress unless switched off.
int TransformInFftWindow(const double* source, int count, int size, double* imaginary,
                         double* real) {
  return FFT0Form->Transform(source, count, size, imaginary, real);
}

}  // namespace

void ShowCorrelationGraph(bool output) {
  using namespace BenchReadings;
  using namespace SampleStore;
  platform::SetScreenCursor(platform::ScreenCursor::HourGlass);
  const int n = model::SampleCount;
  const bool byFft = FormTurn->CorrelationByFft();
  const double* x = output ? OutputSamples : InputSamples;
  const int lags = instruments::CorrelationFunction(
      output, byFft, x, n, output ? OutputMean : InputMean, output ? CorrScaleOut : CorrScaleIn,
      TransformInFftWindow, {WorkRe, WorkIm, WorkPower});
  const QString title = QString::fromUtf8(output ? "Корреляционная функция на выходе"
                                                 : "Корреляционная функция на входе");
  if (lags == 0 || !instruments::CurveIsFinite(WorkRe, lags)) {
    platform::SetScreenCursor(platform::ScreenCursor::Default);
    // A refused transform has said why itself.
    if (lags != 0)
      lab::ShowMessage(title.toStdString() +
                       ": значения не выражаются конечными числами (отсчёты сигнала слишком "
                       "велики). График не построен.");
    return;
  }

  const int kind = FormGenerator->ComboBox1->currentIndex();
  const bool harmonic = kind == model::KindHarmonic || kind == model::KindHarmonicGaussian;
  const instruments::CorrelationView view =
      instruments::ViewOf(output, lags, FormGenerator->SamplingPeriod, WorkRe[0],
                          instruments::K0RoundingLevel(x, n), harmonic);

  GraphSetup graph;
  graph.title = title;
  // The lag is written with the Cyrillic capital Т.
  graph.nameX = QString::fromUtf8("Т,мс");
  graph.nameY = QString::fromUtf8(output ? "Rвых(Т),мкВт" : "Rвх(Т),мкВт");
  graph.limitXmin = view.limitXmin;
  graph.limitXmax = view.limitXmax;
  graph.limitYmin = view.limitYmin;
  graph.limitYmax = view.limitYmax;
  graph.bind = [&](TDiagram&, TKeeper& base) {
    base.SetArray(WorkRe, lags, 0, view.tmax);  // value j at the lag j * T, no copy
    base.SetAnalog();
    base.SetSymmetry(Symmetry::Even);  // K(-T) = K(T)
    base.SetColor(Blue);
  };
  graph.ranges = [&](TDiagram& chart) {
    chart.SetRangeX(view.rangeXmin, view.rangeXmax);
    chart.AutoRangeY();
  };
  graph.settings = report::GraphSettings(report::CorrelationExtra(report::CorrelationMethodName()));
  platform::SetScreenCursor(platform::ScreenCursor::Default);
  ShowGraph(*DiagramIncreaseAnalysis, graph);
  // Later graphs in this window (histograms, the characteristic) start at x >= 0 and must
  // not show a mirrored part.
  DiagramIncreaseAnalysis->Diagram1->GetKeeper(0)->SetSymmetry(Symmetry::None);
}
