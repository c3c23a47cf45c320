// The correlation-function graphs driven from the bench's menu: the run they start, both
// methods on both sides, the chart they leave in the analysis window, and what they do with
// a flat or an unusable curve.
#include "instruments/CorrelationGraph.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <cmath>
#include <vector>

#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "app/Unit1.h"
#include "chart/Diagram.h"
#include "chart/Keeper.h"
#include "instruments/CorrelationFunction.h"
#include "instruments/Unitkor.h"
#include "model/Fft0unit.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitturn.h"
#include "tests/support/GraphBench.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/Text.h"

using namespace graphtest;

namespace {

constexpr double Pi = 3.141592653589793;

class KfGraph : public GraphBench {
 protected:
  void SetUp() override {
    GraphBench::SetUp();
    FormTurn->RadioButton1->setChecked(true);
    FFT0Form->SetIndicator();
    BenchReadings::CorrScaleIn = BenchReadings::CorrScaleOut = 0;
    BenchReadings::InputMean = BenchReadings::OutputMean = 0;
  }

  void Generator(int kind) {
    FormGenerator->ComboBox1->setCurrentIndex(kind);
    Form1->SetPanelText(1, RunStateChanged);
  }
  void Direct() { FormTurn->RadioButton2->setChecked(true); }

  // Chooses the menu item and looks at the window it opens, then closes it.
  static ShownGraph Open(QAction* item) {
    EXPECT_TRUE(item->isEnabled());
    return Capture(*DiagramIncreaseAnalysis, [item] { item->trigger(); });
  }
};

// The chart's y range comes from the curve alone, clamped to the limits +-2 K[0].
void ExpectYRangeOfTheCurve(const ViewNumbers& s, int lags) {
  double lo = SampleStore::WorkRe[0], hi = lo;
  for (int j = 0; j < lags; ++j) {
    lo = std::min(lo, SampleStore::WorkRe[j]);
    hi = std::max(hi, SampleStore::WorkRe[j]);
  }
  EXPECT_EQ(s.ymin, std::max(lo, s.limitYmin));
  EXPECT_EQ(s.ymax, std::min(hi, s.limitYmax));
}

}  // namespace

TEST_F(KfGraph, InputByFftWithTheDefaultsRunsTheModelAndShowsAnEvenBlueCurve) {
  model::SampleCount = 262144;
  Generator(model::KindGaussianNoise);
  FFT0Form->setWindowTitle("БПФ");
  const ShownGraph s = Open(Form1->N42);

  EXPECT_EQ(S(Form1->RunState()), "Готово");  // the stale model was run first
  EXPECT_FALSE(Form1->LabelKorIn->text().isEmpty());
  // Both transforms went through the FFT window, its progress shown.
  EXPECT_EQ(S(FFT0Form->windowTitle()), "БПФ: 262144");
  EXPECT_EQ(FFT0Form->RealPart, SampleStore::WorkRe);
  EXPECT_FALSE(FFT0Form->isVisible());

  EXPECT_EQ(S(s.caption), "Корреляционная функция на входе");
  EXPECT_EQ(S(s.title), "Корреляционная функция на входе");
  EXPECT_EQ(S(s.nameX), "\u0422,мс");  // Cyrillic Т
  EXPECT_EQ(S(s.nameY), "Rвх(\u0422),мкВт");
  EXPECT_EQ(s.baseCount, instruments::FftLagCount);
  EXPECT_DOUBLE_EQ(s.baseXmax, 49.995);
  EXPECT_DOUBLE_EQ(s.limitXmin, -49.995);
  EXPECT_DOUBLE_EQ(s.limitXmax, 49.995);
  const double k0 = SampleStore::WorkRe[0];
  EXPECT_EQ(s.limitYmin, -2 * k0);
  EXPECT_EQ(s.limitYmax, 2 * k0);
  EXPECT_DOUBLE_EQ(s.xmin, -0.49995);  // noise: a hundredth of the lags in view
  EXPECT_DOUBLE_EQ(s.xmax, 0.49995);
  ExpectYRangeOfTheCurve(s, instruments::FftLagCount);
  EXPECT_EQ(s.initXmin, s.xmin);
  EXPECT_EQ(s.initXmax, s.xmax);
  EXPECT_EQ(s.initYmin, s.ymin);
  EXPECT_EQ(s.initYmax, s.ymax);
  EXPECT_EQ(s.baseSymmetry, Symmetry::Even);
  EXPECT_EQ(s.baseColor, TColor(0xFF0000));
  EXPECT_TRUE(s.baseShown);
  EXPECT_TRUE(s.lineEnabled);
  EXPECT_GT(s.baseSegments, 0);
  ExpectClean(s);

  // K[0] is the mean square deviation about the sample mean (the generator's 0 aside).
  const int n = model::SampleCount;
  double mean = 0;
  for (int i = 0; i < n; ++i) mean += SampleStore::InputSamples[i];
  mean /= n;
  double square = 0;
  for (int i = 0; i < n; ++i)
    square += (SampleStore::InputSamples[i] - mean) * (SampleStore::InputSamples[i] - mean);
  EXPECT_NEAR(k0, square / n, 1e-10);
  EXPECT_NEAR(k0, 1.0, 5 * std::sqrt(2.0 / n));  // the generator's unit deviation

  // Bound to WorkRe itself: a change there shows in the series at once.
  TKeeper& base = *DiagramIncreaseAnalysis->Diagram1->GetKeeper(0);
  SampleStore::WorkRe[3] = 12345.0;
  EXPECT_EQ(base.GetSample(3), 12345.0);
  // Closed: the curve no longer mirrors, so a later graph from x = 0 shows nothing left of 0.
  EXPECT_EQ(base.GetSymmetry(), Symmetry::None);
  GraphSetup later;
  later.title = QStringLiteral("Характеристика");
  later.bind = [](TDiagram&, TKeeper& b) {
    b.SetFunction([](double x) { return 1 + x; }, 50, 0, 5);
  };
  later.ranges = [](TDiagram& c) { c.SetRangeX(-5, 5); };
  ModalScript script;
  script.Then([](QDialog& d) {
    TKeeper& b = *DiagramIncreaseAnalysis->Diagram1->GetKeeper(0);
    EXPECT_EQ(b.GetValue(-2.5), 0.0);
    EXPECT_EQ(b.GetValue(2.5), 3.5);
    d.reject();
  });
  ShowGraph(*DiagramIncreaseAnalysis, later);
}

TEST_F(KfGraph, HarmonicOnBothSidesByBothMethodsIsHalfTheCosine) {
  Generator(model::KindHarmonic);  // A = 1, f = 1 kHz, circuit 1 passes x >= 0 unchanged
  const int n = model::SampleCount;
  const double T = 0.005;

  // FFT, output: 0.9 of the lags as x limits, a tenth in view for a harmonic.
  ShownGraph s = Open(Form1->N43);
  EXPECT_EQ(S(s.caption), "Корреляционная функция на выходе");
  EXPECT_EQ(S(s.nameY), "Rвых(\u0422),мкВт");
  EXPECT_DOUBLE_EQ(s.limitXmin, -44.9955);
  EXPECT_DOUBLE_EQ(s.limitXmax, 44.9955);
  EXPECT_DOUBLE_EQ(s.xmin, -4.9995);
  EXPECT_DOUBLE_EQ(s.xmax, 4.9995);
  ExpectClean(s);

  // FFT, input: about cos/2; the circular sum pairs j samples across the ends, so the error
  // bound grows with j / (N - j).
  s = Open(Form1->N42);
  EXPECT_DOUBLE_EQ(s.limitXmax, 49.995);
  for (int j = 0; j <= 2000; j += 13)
    ASSERT_NEAR(SampleStore::WorkRe[j], 0.5 * std::cos(2 * Pi * j * T), 0.005 + double(j) / (n - j))
        << j;

  // Direct, input: 2000 lags, with the early stop; the same values as the plain loop.
  Direct();
  s = Open(Form1->N42);
  EXPECT_EQ(s.baseCount, instruments::DirectLagCountIn);
  EXPECT_DOUBLE_EQ(s.baseXmax, 9.995);
  EXPECT_DOUBLE_EQ(s.limitXmax, 9.995);
  EXPECT_DOUBLE_EQ(s.xmax, 0.9995);
  ExpectYRangeOfTheCurve(s, instruments::DirectLagCountIn);
  ExpectClean(s);
  std::vector<double> plain(instruments::DirectLagCountIn);
  instruments::DirectCorrelationEarlyStopPlain(SampleStore::InputSamples, n,
                                               BenchReadings::InputMean,
                                               instruments::DirectLagCountIn, plain.data());
  for (int j = 0; j < instruments::DirectLagCountIn; ++j) {
    ASSERT_EQ(SampleStore::WorkRe[j], plain[j]) << j;
    ASSERT_NEAR(SampleStore::WorkRe[j], 0.5 * std::cos(2 * Pi * j * T), 0.01) << j;
  }

  // Direct, output: 5000 lags, full sums about the output's mean.
  s = Open(Form1->N43);
  EXPECT_EQ(s.baseCount, instruments::DirectLagCountOut);
  EXPECT_DOUBLE_EQ(s.baseXmax, 24.995);
  EXPECT_DOUBLE_EQ(s.limitXmax, 0.9 * 24.995);
  EXPECT_DOUBLE_EQ(s.xmax, 2.4995);
  ExpectClean(s);
  plain.resize(instruments::DirectLagCountOut);
  instruments::DirectCorrelationFullPlain(SampleStore::OutputSamples, n, BenchReadings::OutputMean,
                                          instruments::DirectLagCountOut, plain.data());
  for (int j = 0; j < instruments::DirectLagCountOut; ++j)
    ASSERT_EQ(SampleStore::WorkRe[j], plain[j]) << j;
}

// The first view spans a tenth of the lags for the kinds with a harmonic, a hundredth for
// noise alone (the harmonic and the Gaussian noise are seen above).
TEST_F(KfGraph, FirstViewOfTheOtherKinds) {
  const struct {
    int kind;
    double xmax;
  } cases[] = {{model::KindHarmonicGaussian, 4.9995}, {model::KindUniformNoise, 0.49995}};
  for (const auto& c : cases) {
    Generator(c.kind);
    const ShownGraph s = Open(Form1->N42);
    EXPECT_DOUBLE_EQ(s.xmin, -c.xmax) << c.kind;
    EXPECT_DOUBLE_EQ(s.xmax, c.xmax) << c.kind;
  }
}

TEST_F(KfGraph, FlatZeroCurveTakesTheLimitsMinusOneToOne) {
  // A graph with other limits first: a flat curve must not keep them.
  Generator(model::KindHarmonic);
  FormGenerator->EditFloatA->SetVal(5);
  ShownGraph s = Open(Form1->N42);
  EXPECT_NEAR(s.limitYmax, 25.0, 0.5);

  // Before any run: zero samples and scale factors 0, by both methods.
  for (bool direct : {false, true}) {
    SetUp();
    if (direct) Direct();
    for (QAction* item : {Form1->N42, Form1->N43}) {
      s = Open(item);
      for (int j = 0; j < s.baseCount; ++j) ASSERT_EQ(SampleStore::WorkRe[j], 0.0) << j;
      EXPECT_EQ(s.limitYmin, -1.0);
      EXPECT_EQ(s.limitYmax, 1.0);
      EXPECT_GE(s.ymin, -1.0);
      EXPECT_LE(s.ymax, 1.0);
      EXPECT_GT(s.baseSegments, 0);
      ExpectClean(s);
    }
  }

  // The generator off at a mean of 5 mV: a constant input and output.
  SetUp();
  FormGenerator->EditFloatM->SetVal(5);
  Generator(model::KindOff);
  for (bool direct : {false, true}) {
    if (direct) Direct();
    for (QAction* item : {Form1->N42, Form1->N43}) {
      s = Open(item);
      EXPECT_EQ(SampleStore::WorkRe[0], 0.0);
      EXPECT_EQ(s.limitYmin, -1.0);
      EXPECT_EQ(s.limitYmax, 1.0);
      ExpectClean(s);
    }
  }
}

TEST_F(KfGraph, HiddenHistogramLawDoesNotStretchTheYRange) {
  // A law overlay left by a histogram: series 1, a density far above the correlation.
  TDiagram& chart = *DiagramIncreaseAnalysis->Diagram1;
  TKeeper* law = chart.GetKeeper(1);
  const bool made = law == nullptr;
  if (made) law = chart.PNewKeeper();
  ASSERT_NE(law, nullptr);
  law->SetFunction([](double x) { return 400.0 * std::exp(-x * x); }, 1000, -50, 50);
  law->Show();

  Generator(model::KindGaussianNoise);
  const ShownGraph s = Open(Form1->N42);
  EXPECT_FALSE(law->IsShown());
  ExpectYRangeOfTheCurve(s, instruments::FftLagCount);
  // Only a histogram makes that series (in its own colour); later tests of the same program
  // must not find this stand-in.
  if (made) chart.PDeleteKeeper(law);
}

TEST_F(KfGraph, ACurveTooLargeForDoublesIsNotShown) {
  // Output samples whose squares overflow: a message, no window, the chart as it was.
  for (int i = 0; i < model::SampleCount; ++i)
    SampleStore::OutputSamples[i] = (i % 2 ? 1e200 : -1e200);
  BenchReadings::CorrScaleOut = 1;
  const double before = DiagramIncreaseAnalysis->Diagram1->GetLimitYmax();
  for (bool direct : {false, true}) {
    FormTurn->RadioButton2->setChecked(direct);
    MessageRecorder messages;
    ModalScript script;  // no window expected
    Form1->N43->trigger();
    EXPECT_EQ(script.shown(), 0);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0],
              "Корреляционная функция на выходе: значения не выражаются конечными числами "
              "(отсчёты сигнала слишком велики). График не построен.");
    EXPECT_EQ(DiagramIncreaseAnalysis->Diagram1->GetLimitYmax(), before);
  }
}
