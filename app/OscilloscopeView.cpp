#include "app/OscilloscopeView.h"

#include <QComboBox>
#include <QString>

#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "app/GraphJournal.h"
#include "app/Oscilloscope.h"
#include "chart/Diagram.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"

void ShowOscillogram(TDiagramIncrease& window, OscilloscopeSide side) {
  const bool input = side == OscilloscopeSide::Input;
  const double* samples = input ? SampleStore::InputSamples : SampleStore::OutputSamples;
  const int n = model::SampleCount;
  const double period = FormGenerator->SamplingPeriod;
  const osc::OscilloscopeView view =
      osc::ChooseOscilloscopeView(samples, n, period, FormGenerator->ComboBox1->currentIndex(),
                                  FormGenerator->EditFloatFr->Val());
  GraphSetup g;
  g.title = input ? QStringLiteral("Осциллограф: сигнал на входе цепи")
                  : QStringLiteral("Осциллограф: сигнал на выходе цепи");
  g.nameX = QStringLiteral("t,мс");
  g.nameY = input ? QStringLiteral("X(t),мВ") : QStringLiteral("Y(t),мВ");
  g.limitXmin = view.limitXmin;
  g.limitXmax = view.limitXmax;
  g.limitYmin = view.limitYmin;
  g.limitYmax = view.limitYmax;
  g.bind = [samples, n, &view](TDiagram&, TKeeper& base) {
    base.SetArray(samples, n, view.limitXmin, view.limitXmax);
  };
  g.ranges = [&view](TDiagram& chart) {
    chart.SetRangeX(view.rangeXmin, view.rangeXmax);
    chart.AutoRangeY();
  };
  g.settings = report::GraphSettings();
  ShowGraph(window, g);
}
