// The two histogram commands driven from the bench's menu: the settings window and the
// analysis chart window scripted, every value the chart was given checked.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <cmath>

#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "app/Unit1.h"
#include "chart/Diagram.h"
#include "chart/Keeper.h"
#include "instruments/Density.h"
#include "instruments/ExpectedHistogram.h"
#include "instruments/Histogram.h"
#include "instruments/HistogramCommand.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitind.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "platform/Cursor.h"
#include "tests/support/GraphBench.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/Text.h"
#include "tests/support/WidgetInput.h"

using namespace graphtest;

namespace {

using instruments::HistogramGrid;

void Click(QAbstractButton* b) {
  QTest::mouseClick(b, Qt::LeftButton);
}

// The settings window: the overlay radio button to click (none keeps the current choice),
// then "Готово".
ModalScript::Action Settings(QRadioButton* overlay) {
  return [overlay](QDialog& d) {
    EXPECT_EQ(&d, FormGist);
    if (overlay != nullptr) Click(overlay);
    Click(FormGist->Button1);
  };
}

// Everything the command put on screen is a number, the bench's readings too.
void ExpectAllFinite(const ShownGraph& s) {
  ExpectClean(s);
  for (QLabel* l : {Form1->LabelIpvIn, Form1->LabelKorIn, Form1->LabelIpvOut, Form1->LabelKorOut})
    EXPECT_FALSE(NotANumberText(l->text())) << S(l->text());
}

// The common starting point of the graph tests (the circuit's fields too: other suites of the
// same test program change them), and no readings from an earlier run.
class Histograms : public GraphBench {
 protected:
  void SetUp() override {
    GraphBench::SetUp();
    BenchReadings::InputMean = BenchReadings::InputSko = 0;
    BenchReadings::OutputMean = BenchReadings::OutputSko = 0;
  }

  void TearDown() override {
    // What other tests may not set themselves back to its design state: the histogram
    // settings, the circuit, the model settings.
    FormGist->CheckBox1->setChecked(true);
    FormGist->CheckBox1Click();
    FormGist->EditFloat1->SetVal(0.1);
    FormGist->RadioButton3->setChecked(true);
    FormCircuit->PageControl1->setCurrentIndex(0);
    FormCircuit->EditFloat8->SetVal(1);
    FormGenerator->SamplingPeriod = model::DefaultSamplingPeriod;
    model::SampleCount = model::DefaultSampleCount;
    Form1->SetPanelText(1, RunStateReady);
  }

  // Runs the model with the current settings the way the bench does after a change.
  static void MarkChanged() { Form1->SetPanelText(1, RunStateChanged); }

  // Chooses the menu item (a disabled item would do nothing, and the script would miss its
  // two windows). The command says nothing: no message box.
  static ShownGraph Histogram(QAction* item, QRadioButton* overlay) {
    ShownGraph s;
    MessageRecorder messages;
    ModalScript script;
    script.Then(Settings(overlay));
    script.Then(Look(*DiagramIncreaseAnalysis, s));
    item->trigger();
    EXPECT_EQ(script.shown(), 2);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    EXPECT_TRUE(s.baseShown);
    return s;
  }
};

}  // namespace

// The generator switched off: every input sample is 0 and sigma is 0.
TEST_F(Histograms, ZeroRealizationAtTheInputAndTheOutput) {
  const ShownGraph in = Histogram(Form1->N30, nullptr);
  EXPECT_EQ(S(in.caption), "Гистограмма вход");
  EXPECT_EQ(S(in.title), "Гистограмма вход");
  EXPECT_EQ(S(in.nameX), "x,мВ");
  EXPECT_EQ(S(in.nameY), "w(x),1/мВ");
  EXPECT_EQ(in.baseType, GraphType::Histogram);
  EXPECT_EQ(in.baseColor, 0xFF0000u);
  ASSERT_EQ(in.baseCount, 20);
  EXPECT_DOUBLE_EQ(in.baseXmin, -0.95);
  EXPECT_DOUBLE_EQ(in.baseXmax, 0.95);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(in.bars[i], i == 10 ? 10.0 : 0.0) << i;
  // Limits one span either side, y from -1 to 10000; the view is the grid's range.
  const double span = in.xmax - in.xmin;
  EXPECT_EQ(in.limitXmin, in.xmin - span);
  EXPECT_EQ(in.limitXmax, in.xmax + span);
  EXPECT_EQ(in.limitYmin, -1.0);
  EXPECT_EQ(in.limitYmax, 10000.0);
  EXPECT_EQ(in.xmin, in.baseXmin);
  EXPECT_DOUBLE_EQ(in.xmax, 0.95);
  EXPECT_EQ(in.ymin, 0.0);
  EXPECT_EQ(in.ymax, 10.0);
  EXPECT_EQ(in.initXmin, in.xmin);
  EXPECT_EQ(in.initXmax, in.xmax);
  EXPECT_EQ(in.initYmin, in.ymin);
  EXPECT_EQ(in.initYmax, in.ymax);
  EXPECT_FALSE(in.furtherSeriesShown);
  EXPECT_TRUE(in.lineEnabled);
  EXPECT_EQ(in.cursor, platform::ScreenCursor::Default);
  ExpectAllFinite(in);
  EXPECT_EQ(S(Form1->RunState()), "Готово");

  // The output of circuit 1 (0 for 0): two bins, the upper one holds every sample.
  const ShownGraph out = Histogram(Form1->N32, nullptr);
  EXPECT_EQ(S(out.caption), "Гистограмма выход");
  ASSERT_EQ(out.baseCount, 2);
  EXPECT_DOUBLE_EQ(out.baseXmin, -0.05);
  EXPECT_DOUBLE_EQ(out.baseXmax, 0.05);
  EXPECT_EQ(out.bars[0], 0.0);
  EXPECT_EQ(out.bars[1], 10.0);
  ExpectAllFinite(out);
}

TEST_F(Histograms, CancelOrTheCloseBoxBuildsNothing) {
  ModalScript script;
  script.Then([](QDialog&) { Click(FormGist->Button2); });
  script.Then([](QDialog& d) { d.close(); });
  Form1->N30->trigger();
  Form1->N32->trigger();
  EXPECT_EQ(script.shown(), 2);  // the settings window twice, the chart never
  EXPECT_FALSE(FormGist->Accepted);
}

// A command finding the model changed runs it first; the input of Gaussian noise gets its
// deviation re-estimated from the density at the mean, which the normal law then uses, until
// the next run. The law, red, counts in the y range.
TEST_F(Histograms, GaussianInputWithTheNormalLaw) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindGaussianNoise);
  FormGenerator->EditFloatM->SetVal(0.5);
  MarkChanged();
  const ShownGraph s = Histogram(Form1->N30, FormGist->RadioButton1);
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  EXPECT_FALSE(Form1->LabelIpvIn->text().isEmpty());
  const double runSko = model::SkoAbout(SampleStore::InputSamples, 65536, 0.5);
  const double w = instruments::DensityAt(SampleStore::InputSamples, 0.1, 0.5, 65536);
  EXPECT_EQ(BenchReadings::InputSko, 1 / (w * std::sqrt(6.28)));
  EXPECT_NE(BenchReadings::InputSko, runSko);
  EXPECT_NEAR(BenchReadings::InputSko, 1.0, 0.05);

  const HistogramGrid g =
      instruments::PlanHistogram(0.5, BenchReadings::InputSko, {0.1, true}, true);
  ASSERT_EQ(s.baseCount, g.n);
  EXPECT_EQ(s.baseXmax, g.lastCentre);  // n = 99: the last bar is over the last bin
  std::vector<double> expected(g.n);
  instruments::HistogramBinsPlain(SampleStore::InputSamples, 65536, g.xmin, g.h, g.n,
                                  expected.data());
  EXPECT_EQ(s.bars, expected);
  EXPECT_TRUE(s.furtherSeriesShown);
  TKeeper* law = DiagramIncreaseAnalysis->Diagram1->GetKeeper(1);
  ASSERT_NE(law, nullptr);
  EXPECT_EQ(law->GetColor(), 0x0000FFu);
  EXPECT_EQ(law->GetStorageKind(), StorageKind::Function);
  EXPECT_EQ(law->GetValue(0.5), instruments::NormalLaw(0.5, 0.5, BenchReadings::InputSko));
  EXPECT_EQ(s.ymax, std::max(s.baseYmax, s.lawYmax));
  ExpectAllFinite(s);

  // A second input histogram estimates from the same realization: the same deviation.
  const double reestimated = BenchReadings::InputSko;
  Histogram(Form1->N30, nullptr);
  EXPECT_EQ(BenchReadings::InputSko, reestimated);
  // The next run puts its own value back.
  Form1->SpeedButton3Click();
  EXPECT_EQ(BenchReadings::InputSko, model::SkoAbout(SampleStore::InputSamples, 65536, 0.5));
}

// "Теоретический закон": series 1, red, is the expected histogram of the run's generator and
// circuit (at the input, of the generator alone) at the bin centres, and counts in the y range.
TEST_F(Histograms, TheTheoreticalLawIsTheExpectedHistogram) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindGaussianNoise);
  MarkChanged();
  for (QAction* item : {Form1->N32, Form1->N30}) {
    const ShownGraph s = Histogram(item, FormGist->RadioButton4);
    const bool in = item == Form1->N30;
    const HistogramGrid g = instruments::PlanHistogram(
        in ? BenchReadings::InputMean : BenchReadings::OutputMean,
        in ? BenchReadings::InputSko : BenchReadings::OutputSko, {0.1, true}, in);
    const model::CircuitParams c = FormCircuit->Params();
    std::vector<double> expected(g.n);
    instruments::ExpectedHistogram(FormGenerator->Params(), in ? nullptr : &c, g.xmin, g.h, g.n,
                                   expected.data());
    const TKeeper* law = DiagramIncreaseAnalysis->Diagram1->GetKeeper(1);
    ASSERT_NE(law, nullptr);
    EXPECT_TRUE(s.furtherSeriesShown);
    EXPECT_EQ(law->GetColor(), 0x0000FFu);
    EXPECT_EQ(law->GetStorageKind(), StorageKind::Array);
    ASSERT_EQ(law->GetCount(), g.n);
    EXPECT_EQ(law->GetXmin(), g.xmin);
    EXPECT_EQ(law->GetXmax(), g.lastCentre);
    for (int i = 0; i < g.n; ++i) ASSERT_EQ(law->GetSample(i), expected[i]) << i;
    EXPECT_EQ(s.ymax, std::max(s.baseYmax, s.lawYmax));
    ExpectAllFinite(s);
  }
}

// After a histogram with a tall law (a narrow Gaussian), "Только гистограмма" of a wider one
// hides the red curve, and the y range comes from the bins alone.
TEST_F(Histograms, OnlyTheHistogramAfterALawHidesItAndRangesOnTheBins) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindGaussianNoise);
  FormGenerator->EditFloatD->SetVal(0.1);
  MarkChanged();
  const ShownGraph narrow = Histogram(Form1->N30, FormGist->RadioButton1);
  EXPECT_TRUE(narrow.furtherSeriesShown);
  EXPECT_GT(narrow.lawYmax, 3.5);

  FormGenerator->EditFloatD->SetVal(1);
  MarkChanged();
  const ShownGraph wide = Histogram(Form1->N30, FormGist->RadioButton3);
  EXPECT_FALSE(wide.furtherSeriesShown);
  EXPECT_EQ(wide.ymin, 0.0);
  EXPECT_EQ(wide.ymax, wide.baseYmax);
  EXPECT_LT(wide.ymax, 0.5);
  ExpectAllFinite(wide);
}

// Circuit 8 (sawtooth) folds a wide Gaussian input into a nearly uniform output: the uniform
// law of the output's moments, its height 1/(2 sqrt(3) sigma) over m ± sqrt(3) sigma.
TEST_F(Histograms, SawtoothOutputWithTheUniformLaw) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindGaussianNoise);
  FormGenerator->EditFloatD->SetVal(10);
  FormCircuit->PageControl1->setCurrentIndex(7);
  MarkChanged();
  const ShownGraph s = Histogram(Form1->N32, FormGist->RadioButton2);
  const double m = BenchReadings::OutputMean;
  const double sigma = BenchReadings::OutputSko;
  const double W = std::sqrt(3.0) * 2 * sigma;
  EXPECT_NEAR(W, 0.1, 0.002);  // the sawtooth's span D K = 0.1 mV
  TKeeper* law = DiagramIncreaseAnalysis->Diagram1->GetKeeper(1);
  ASSERT_NE(law, nullptr);
  EXPECT_TRUE(s.furtherSeriesShown);
  EXPECT_EQ(law->GetValue(m), 1 / W);
  EXPECT_EQ(law->GetValue(m + 0.7 * W), 0.0);
  EXPECT_EQ(law->GetValue(m - 0.7 * W), 0.0);
  EXPECT_EQ(s.lawYmax, 1 / W);
  EXPECT_EQ(s.ymax, std::max(s.baseYmax, 1 / W));
  // The bins inside the sawtooth's span follow the law's height within the sampling error.
  const double h = (s.baseXmax - s.baseXmin) / (s.baseCount - 1);
  int inside = 0;
  for (int i = 0; i < s.baseCount; ++i) {
    const double c = s.baseXmin + i * h;
    if (std::fabs(c - m) > 0.4 * W) continue;
    ++inside;
    const double p = h / W;
    EXPECT_NEAR(s.bars[i], 1 / W, 5 * std::sqrt(p / 65536) / h) << c;
  }
  EXPECT_GT(inside, 20);
  ExpectAllFinite(s);
}

// The mean of a constant output is a few units in the last place off the samples, so its
// deviation is about 1e-13: too narrow for the chart. The histogram is then the one of a zero
// deviation, in a fresh view, not the range of the graph before.
TEST_F(Histograms, AVerySmallDeviationGetsAFreshView) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  FormGenerator->EditFloatA->SetVal(5);
  MarkChanged();
  const ShownGraph before = Histogram(Form1->N32, nullptr);
  EXPECT_GT(before.xmax - before.xmin, 5.0);

  FormGenerator->ComboBox1->setCurrentIndex(model::KindOff);
  FormGenerator->EditFloatM->SetVal(0.1);
  MarkChanged();
  const ShownGraph s = Histogram(Form1->N32, FormGist->RadioButton1);
  ASSERT_GT(BenchReadings::OutputSko, 0.0);
  ASSERT_LT(BenchReadings::OutputSko, 1e-9);
  const double m = BenchReadings::OutputMean;
  ASSERT_EQ(s.baseCount, 2);
  EXPECT_DOUBLE_EQ(s.xmin, m - 0.05);
  EXPECT_DOUBLE_EQ(s.xmax, m + 0.05);
  EXPECT_EQ(s.initXmin, s.xmin);
  EXPECT_EQ(s.bars[0] + s.bars[1], 10.0);  // every sample in one of the two bins
  ExpectAllFinite(s);
}

// A bin width typed into the settings window (Авто unchecked): at the output of the square
// law the deviation is thousands of millivolts, so 0,01 mV reaches the cap of 10000 bins and
// the width is widened. The longest realization, the shortest period.
TEST_F(Histograms, ATypedWidthReachesTheCap) {
  model::SampleCount = 524288;
  FormGenerator->SamplingPeriod = 0.0005;
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonicGaussian);
  FormGenerator->EditFloatA->SetVal(10);
  FormGenerator->EditFloatD->SetVal(10);
  FormGenerator->EditFloatM->SetVal(10);
  FormCircuit->PageControl1->setCurrentIndex(3);
  FormCircuit->EditFloat8->SetVal(100);
  MarkChanged();
  ShownGraph s;
  MessageRecorder messages;
  {
    ModalScript script;
    script.Then([](QDialog&) {
      Click(FormGist->CheckBox1);
      EXPECT_TRUE(FormGist->EditFloat1->isEnabled());
      input::TypeInto(*FormGist->EditFloat1, QString::fromUtf8("0,01"));
      QTest::keyClick(FormGist->EditFloat1, Qt::Key_Enter);
      Click(FormGist->RadioButton1);
      Click(FormGist->Button1);
    });
    script.Then(Look(*DiagramIncreaseAnalysis, s));
    Form1->N32->trigger();
  }
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(FormGist->EditFloat1->Val(), 0.01);
  EXPECT_TRUE(s.baseShown);
  ASSERT_EQ(s.baseCount, 10000);
  const HistogramGrid g = instruments::PlanHistogram(
      BenchReadings::OutputMean, BenchReadings::OutputSko, {0.01, false}, false);
  EXPECT_EQ(g.n, 10000);
  EXPECT_GT(g.h, 0.01);
  std::vector<double> expected(g.n);
  instruments::HistogramBinsPlain(SampleStore::OutputSamples, 524288, g.xmin, g.h, g.n,
                                  expected.data());
  EXPECT_EQ(s.bars, expected);
  // The chart's limits are within its absolute bounds; the view is inside them.
  EXPECT_GE(s.limitXmin, -100000.0);
  EXPECT_LE(s.limitXmax, 100000.0);
  EXPECT_GE(s.xmin, s.limitXmin);
  EXPECT_LE(s.xmax, s.limitXmax);
  ExpectAllFinite(s);
}
