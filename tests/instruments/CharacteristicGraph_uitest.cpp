// The circuit characteristic graph driven from the bench's menu: the view chosen for each
// circuit, its fallbacks, the bound characteristic and the run state it leaves alone.
#include <gtest/gtest.h>

#include <QAction>
#include <string>
#include <vector>

#include "tests/support/GraphBench.h"
#include "tests/support/MessageRecorder.h"

using namespace graphtest;

namespace {

struct Setting {
  int field;  // 1 .. 16: EditFloat1 .. EditFloat16
  double value;
};

struct ViewCase {
  const char* what;
  int page;
  std::vector<Setting> settings;
  double xmin, xmax, ymin, ymax;
};

class Characteristic : public GraphBench {
 protected:
  static ShownGraph Show(const ViewCase& c) {
    FormCircuit->PageControl1->setCurrentIndex(c.page);
    for (const Setting& s : c.settings) FormCircuit->Fields[s.field - 1]->SetVal(s.value);
    return Capture(*DiagramIncreaseAnalysis, [] { Form1->N44->trigger(); });
  }
};

// The graph shows the view of the case, and nothing in it is "nan" or "inf".
void ExpectView(const ShownGraph& g, const ViewCase& c) {
  ASSERT_TRUE(g.shown) << c.what;
  EXPECT_DOUBLE_EQ(g.xmin, c.xmin) << c.what;
  EXPECT_DOUBLE_EQ(g.xmax, c.xmax) << c.what;
  EXPECT_DOUBLE_EQ(g.ymin, c.ymin) << c.what;
  EXPECT_DOUBLE_EQ(g.ymax, c.ymax) << c.what;
  ExpectClean(g);
}

}  // namespace

TEST_F(Characteristic, EachCircuitGetsItsOwnView) {
  const std::vector<ViewCase> cases = {
      {"circuit 1, defaults: the x range collapses", 0, {}, -1, 1, 0, 1},
      {"circuit 1, threshold at -2", 0, {{2, -2}, {1, 2}}, -5, 1, 0, 6},
      {"circuit 2, defaults", 1, {}, -2.5, 2.5, -2.5, 2.5},
      {"circuit 3, a = 3", 2, {{7, 3}}, -1, 1, 0, 3},
      {"circuit 4, a = 0", 3, {{8, 0}}, -1, 1, 0, 1},
      {"circuit 1, S = 0,005, x0 = -1", 0, {{1, 0.005}, {2, -1}}, -2.5, 0.5, 0, 0.0075},
      {"circuit 5, threshold at 2", 4, {{10, 2}}, -1, 5, 0, 9},
      {"circuit 6, b = 0", 5, {{12, 0}}, -1, 1, -1.5, 1.5},
      {"circuit 6, defaults", 5, {}, -5, 5, -1.5, 1.5},
      {"circuit 7, defaults", 6, {}, -1.5, 1.5, -4, 4},
      {"circuit 8, defaults", 7, {}, -0.5, 0.5, -0.1, 0.1},
  };
  for (const ViewCase& c : cases) {
    SetUp();
    const ShownGraph g = Show(c);
    ExpectView(g, c);
    EXPECT_DOUBLE_EQ(g.limitXmin, 90 * c.xmin) << c.what;
    EXPECT_DOUBLE_EQ(g.limitXmax, 90 * c.xmax) << c.what;
    EXPECT_EQ(g.limitYmin, -10000) << c.what;
    EXPECT_EQ(g.limitYmax, 10000) << c.what;
    EXPECT_DOUBLE_EQ(g.baseXmin, 100 * c.xmin) << c.what;
    EXPECT_DOUBLE_EQ(g.baseXmax, 100 * c.xmax) << c.what;
    EXPECT_EQ(g.initXmin, g.xmin);
    EXPECT_EQ(g.initYmax, g.ymax);
  }
}

TEST_F(Characteristic, NamesSeriesAndTheCurveItself) {
  // A law curve left over from a histogram is hidden.
  TDiagram& chart = *DiagramIncreaseAnalysis->Diagram1;
  TKeeper* law = chart.GetKeeper(1);
  const bool made = law == nullptr;
  if (made) law = chart.PNewKeeper();
  ASSERT_NE(law, nullptr);
  law->SetFunction([](double) { return 50.0; }, 10, -1, 1);
  law->Show();

  FormCircuit->PageControl1->setCurrentIndex(6);
  const ShownGraph g = Capture(*DiagramIncreaseAnalysis, [] { Form1->N44Click(); });
  EXPECT_EQ(S(g.caption), "Характеристика цепи");
  EXPECT_EQ(S(g.title), "Характеристика цепи");
  EXPECT_EQ(S(g.nameX), "x, мВ");
  EXPECT_EQ(S(g.nameY), "y, мВ");
  EXPECT_TRUE(g.baseShown);
  EXPECT_EQ(g.baseStorage, StorageKind::Function);
  EXPECT_EQ(g.baseCount, 10);
  EXPECT_EQ(g.baseColor, clBlue);
  EXPECT_FALSE(g.furtherSeriesShown);

  // The curve is the selected characteristic: 0 beyond the asymptotes of circuit 7.
  TKeeper& base = *chart.GetKeeper(0);
  const model::CircuitParams p = FormCircuit->Params();
  for (double x : {-1.2, -0.999, -0.3, 0.0, 0.5, 0.9999999999, 1.0, 1.4})
    EXPECT_EQ(base.GetValue(x), model::Transfer(p, x)) << x;
  EXPECT_EQ(base.GetValue(1.2), 0);
  EXPECT_TRUE(Form1->N44->isEnabled());
  // Only a histogram makes that series (in its own colour); later tests of the same program
  // must not find this stand-in.
  if (made) chart.PDeleteKeeper(law);
}

TEST_F(Characteristic, FlatAndCollapsedRangesFallBackToAFreshView) {
  const std::vector<ViewCase> cases = {
      {"circuit 1, S = 0", 0, {{1, 0}, {2, -2}}, -5, 1, 0, 1},
      {"circuit 5, a = 0", 4, {{9, 0}, {10, 2}}, -1, 5, 0, 1},
      {"circuit 2, x1 = x2 = 0", 1, {{3, 0}, {4, 0}}, -1, 1, -2.5, 2.5},
      {"circuit 2, y1 = y2 = 0", 1, {{5, 0}, {6, 0}}, -2.5, 2.5, -1, 1},
      {"circuit 6, a = 0", 5, {{11, 0}}, -5, 5, -1, 1},
  };
  for (const ViewCase& c : cases) {
    SetUp();
    // An earlier graph with another view: none of it may stay.
    Show({"circuit 7 first", 6, {{13, 4}, {14, 0.5}}, 0, 0, 0, 0});
    ExpectView(Show(c), c);
  }
}

TEST_F(Characteristic, NeedsNoRunAndLeavesTheRunStateAlone) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  Form1->SetPanelText(1, RunStateChanged);
  Form1->LabelKorIn->clear();
  EXPECT_TRUE(Capture(*DiagramIncreaseAnalysis, [] { Form1->N44Click(); }).shown);
  EXPECT_EQ(S(Form1->RunState()), "Изменено");
  EXPECT_TRUE(Form1->LabelKorIn->text().isEmpty());
  EXPECT_EQ(SampleStore::InputSamples[10], 0);

  Form1->SetPanelText(1, RunStateReady);
  EXPECT_TRUE(Capture(*DiagramIncreaseAnalysis, [] { Form1->N44Click(); }).shown);
  EXPECT_EQ(S(Form1->RunState()), "Готово");
}

TEST_F(Characteristic, ExtremeParametersKeepEveryNumberFinite) {
  const std::vector<ViewCase> cases = {
      {"circuit 1, steepest", 0, {{1, 100}, {2, -10}}, -25, 5, 0, 1500},
      {"circuit 2, widest", 1, {{3, -10}, {4, 10}, {5, -10}, {6, 10}}, -25, 25, -25, 25},
      {"circuit 5, steepest: y beyond its limits", 4, {{9, 100}, {10, 10}}, -5, 25, 0, 10000},
      {"circuit 6, narrowest", 5, {{11, 10}, {12, 10}}, -0.5, 0.5, -15, 15},
      // 5 / b fits a double, a hundred times that does not: the series could not be bound.
      {"circuit 6, flattest", 5, {{11, 10}, {12, 1e-306}}, -1, 1, -15, 15},
      {"circuit 7, smallest", 6, {{13, 0.1}, {14, 0.1}}, -0.15, 0.15, -40, 40},
      {"circuit 8, finest", 7, {{15, 0.001}, {16, 0.1}}, -0.005, 0.005, -0.0001, 0.0001},
      {"circuit 8, coarsest", 7, {{15, 1}, {16, 10}}, -5, 5, -10, 10},
  };
  MessageRecorder messages;
  for (const ViewCase& c : cases) {
    SetUp();
    ExpectView(Show(c), c);
    EXPECT_TRUE(messages.texts.empty()) << c.what << ": " << messages.texts.front();
    messages.texts.clear();
  }
}
