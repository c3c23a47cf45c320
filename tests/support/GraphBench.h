#pragma once
// The bench with all its windows, for tests of the graph commands: the windows are created
// once, every test starts from the same small settings, and Capture runs a command, records
// what its chart viewer window showed when it came up and closes the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QString>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "chart/Diagram.h"
#include "instruments/Unitkor.h"
#include "model/Circuit.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "platform/Cursor.h"
#include "tests/support/BenchStart.h"
#include "tests/support/ModalScript.h"
#include "tests/support/Text.h"

namespace graphtest {

// The ranges of a chart viewer: shown, limits, and the initial ones ("Исходные пределы").
struct ViewNumbers {
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  double limitXmin = 0, limitXmax = 0, limitYmin = 0, limitYmax = 0;
  double initXmin = 0, initXmax = 0, initYmin = 0, initYmax = 0;
};

inline ViewNumbers ReadView(const TDiagramIncrease& window) {
  const TDiagram& c = *window.Diagram1;
  ViewNumbers v;
  v.xmin = c.GetXmin();
  v.xmax = c.GetXmax();
  v.ymin = c.GetYmin();
  v.ymax = c.GetYmax();
  v.limitXmin = c.GetLimitXmin();
  v.limitXmax = c.GetLimitXmax();
  v.limitYmin = c.GetLimitYmin();
  v.limitYmax = c.GetLimitYmax();
  v.initXmin = window.InitXmin;
  v.initXmax = window.InitXmax;
  v.initYmin = window.InitYmin;
  v.initYmax = window.InitYmax;
  return v;
}

// The coordinate readout with the mouse moved to the middle of the net.
inline QString ReadoutAtMiddle(TDiagramIncrease& window) {
  TDiagram& c = *window.Diagram1;
  const QPoint middle((c.Get_xb_net() + c.Get_xe_net()) / 2, (c.Get_yb_net() + c.Get_ye_net()) / 2);
  QMouseEvent move(QEvent::MouseMove, middle, c.mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&c, &move);
  return window.Panel2->text();
}

// What a chart viewer window showed when its command brought it up.
struct ShownGraph : ViewNumbers {
  bool shown = false;
  QString caption, title, nameX, nameY;
  bool baseShown = false;
  StorageKind baseStorage = StorageKind::None;
  GraphType baseType = GraphType::Analog;
  Symmetry baseSymmetry = Symmetry::None;
  int baseCount = 0;
  double baseXmin = 0, baseXmax = 0, baseYmax = 0;
  TColor baseColor = 0;
  std::vector<double> bars;         // a histogram's bar heights
  bool furtherSeriesShown = false;  // any series behind the base one
  double lawYmax = 0;               // the top of the law shown over a histogram
  bool lineEnabled = false;         // the chart draws its series
  platform::ScreenCursor cursor = platform::ScreenCursor::HourGlass;
  std::vector<QString> texts;  // every text of a redraw: labels, title, axis names
  int baseSegments = 0;        // the lines of that redraw in the base series' colour
  QString readout;             // the coordinate readout with the mouse inside the net
};

// Every number of the graph is finite and no text shown reads "nan" or "inf".
inline void ExpectClean(const ShownGraph& g) {
  for (double v : {g.xmin, g.xmax, g.ymin, g.ymax, g.limitXmin, g.limitXmax, g.limitYmin,
                   g.limitYmax, g.initXmin, g.initXmax, g.initYmin, g.initYmax, g.lawYmax})
    EXPECT_TRUE(std::isfinite(v)) << S(g.title);
  EXPECT_TRUE(std::all_of(g.bars.begin(), g.bars.end(), [](double v) { return std::isfinite(v); }))
      << S(g.title);
  EXPECT_FALSE(g.readout.isEmpty()) << S(g.title);
  for (const QString& t : g.texts) EXPECT_FALSE(NotANumberText(t)) << S(t);
  for (const QString& t : {g.caption, g.readout}) EXPECT_FALSE(NotANumberText(t)) << S(t);
}

// The step of a modal script that records what `window` shows into `g` and closes it.
inline ModalScript::Action Look(TDiagramIncrease& window, ShownGraph& g) {
  return [&g, &window](QDialog& d) {
    EXPECT_EQ(&d, &window);
    TDiagram& c = *window.Diagram1;
    TKeeper& base = *c.GetKeeper(0);
    g.shown = true;
    g.caption = window.windowTitle();
    g.title = c.GetNameDiagram();
    g.nameX = c.GetNameX();
    g.nameY = c.GetNameY();
    static_cast<ViewNumbers&>(g) = ReadView(window);
    g.baseShown = base.IsShown();
    g.baseStorage = base.GetStorageKind();
    g.baseType = base.GetType();
    g.baseSymmetry = base.GetSymmetry();
    g.baseCount = base.GetCount();
    g.baseXmin = base.GetXmin();
    g.baseXmax = base.GetXmax();
    g.baseYmax = base.GetYmax();
    g.baseColor = base.GetColor();
    if (g.baseType == GraphType::Histogram)
      for (int i = 0; i < g.baseCount; ++i) g.bars.push_back(base.GetSample(i));
    for (TKeeper* k = base.GetNext(); k != nullptr; k = k->GetNext())
      g.furtherSeriesShown = g.furtherSeriesShown || k->IsShown();
    if (const TKeeper* law = c.GetKeeper(1); law != nullptr && law->IsShown())
      g.lawYmax = law->GetYmax();
    g.lineEnabled = c.IsLineEnabled();
    g.cursor = platform::CurrentScreenCursor();
    std::vector<CanvasCall> log;
    c.Canvas()->SetRecorder(&log);
    c.ShowDiagram();
    c.Canvas()->SetRecorder(nullptr);
    for (const CanvasCall& call : log) {
      if (call.op == "TextOut") g.texts.push_back(call.text);
      if (call.op == "LineTo" && call.pen.Color == g.baseColor) ++g.baseSegments;
    }
    g.readout = ReadoutAtMiddle(window);
    QTest::mouseClick(window.SpeedButtonClose, Qt::LeftButton);
  };
}

// Runs the command, which must show `window` modally once; returns what it showed.
inline ShownGraph Capture(TDiagramIncrease& window, const std::function<void()>& command) {
  ShownGraph g;
  ModalScript script;
  script.Then(Look(window, g));
  command();
  EXPECT_EQ(script.shown(), 1);
  return g;
}

// The bench window and every window it creates, shared by the tests of a suite.
class GraphBench : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartBenchOnce(); }

  void SetUp() override {
    ZeroModel();
    FormKor->EditFloatTau->SetVal(0);
    FormKorOut->EditFloatTau->SetVal(0);
    FormCircuit->PageControl1->setCurrentIndex(0);
    for (int i = 0; i < 16; ++i) FormCircuit->Fields[i]->SetVal(model::CircuitFields[i].initial);
    FormCircuit->k = 1;
    FormCircuit->c = 0;
  }
};

}  // namespace graphtest
