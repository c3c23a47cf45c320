#include "instruments/CharacteristicGraph.h"

#include <QString>

#include "app/Diagramincreaseunit.h"
#include "app/GraphJournal.h"
#include "chart/Diagram.h"
#include "instruments/Characteristic.h"
#include "model/Unitnlcircuit.h"

void ShowCharacteristic(TDiagramIncrease& window, const TFormCircuit& circuit) {
  using namespace instruments;
  // The window is modal while the graph is shown, so the parameters cannot change under it:
  // the series keeps the values of this moment.
  const model::CircuitParams params = circuit.Params();
  const CharacteristicView v = ChooseCharacteristicView(params);
  GraphSetup g;
  g.title = QStringLiteral("Характеристика цепи");
  g.nameX = QStringLiteral("x, мВ");
  g.nameY = QStringLiteral("y, мВ");
  g.limitXmin = CharacteristicLimitFactor * v.xmin;
  g.limitXmax = CharacteristicLimitFactor * v.xmax;
  g.limitYmin = -CharacteristicYLimit;
  g.limitYmax = CharacteristicYLimit;
  g.bind = [&params, &v](TDiagram&, TKeeper& base) {
    base.SetFunction([params](double x) { return model::Transfer(params, x); },
                     CharacteristicPoints, CharacteristicBindFactor * v.xmin,
                     CharacteristicBindFactor * v.xmax);
    base.SetAnalog();
    base.SetColor(clBlue);
  };
  g.ranges = [&v](TDiagram& chart) {
    chart.SetRangeX(v.xmin, v.xmax);
    chart.SetRangeY(v.ymin, v.ymax);
  };
  g.settings = report::GraphSettings();
  ShowGraph(window, g);
}
