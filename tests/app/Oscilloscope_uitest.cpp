// The two oscilloscopes driven from the bench: hot-spots and menu items, the run they start
// when the settings changed, the time axis, the first view and the y limits.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "tests/support/GraphBench.h"

using namespace graphtest;

namespace {

class Oscilloscopes : public GraphBench {
 protected:
  static ShownGraph Input() {
    return Capture(*DiagramIncrease, [] { QTest::mouseClick(Form1->Image4, Qt::LeftButton); });
  }
  static ShownGraph Output() {
    return Capture(*DiagramIncrease, [] { QTest::mouseClick(Form1->Image9, Qt::LeftButton); });
  }
};

double LargestMagnitude(const double* x, int n) {
  double m = 0;
  for (int i = 0; i < n; ++i) m = std::max(m, std::fabs(x[i]));
  return m;
}

}  // namespace

TEST_F(Oscilloscopes, DefaultSettingsShowTheWholeTimeAxisAndTheFirstThousandPeriods) {
  model::SampleCount = 262144;
  const ShownGraph in = Input();
  ASSERT_TRUE(in.shown);
  EXPECT_EQ(S(in.caption), "Осциллограф: сигнал на входе цепи");
  EXPECT_EQ(S(in.title), "Осциллограф: сигнал на входе цепи");
  EXPECT_EQ(S(in.nameX), "t,мс");
  EXPECT_EQ(S(in.nameY), "X(t),мВ");
  EXPECT_EQ(in.limitXmin, 0);
  EXPECT_EQ(in.limitXmax, 262143 * 0.005);  // 1310,715 ms
  EXPECT_EQ(in.limitYmin, -1000);
  EXPECT_EQ(in.limitYmax, 1000);
  EXPECT_EQ(in.xmin, 0);
  EXPECT_EQ(in.xmax, 1000 * 0.005);  // noise or nothing: 5 ms
  // Before any run: N zero samples, bound over the whole axis, shown.
  EXPECT_TRUE(in.baseShown);
  EXPECT_EQ(in.baseStorage, StorageKind::Array);
  EXPECT_EQ(in.baseCount, 262144);
  EXPECT_EQ(in.baseXmax, 262143 * 0.005);
  EXPECT_EQ(in.ymin, 0);
  EXPECT_NEAR(in.ymax, 0.00001, 1e-12);
  EXPECT_EQ(in.initXmin, in.xmin);
  EXPECT_EQ(in.initXmax, in.xmax);
  EXPECT_EQ(in.initYmin, in.ymin);
  EXPECT_EQ(in.initYmax, in.ymax);
  ExpectClean(in);
  EXPECT_EQ(S(Form1->RunState()), "Готово");

  // The series reads the samples themselves: a later change shows without a new binding.
  SampleStore::InputSamples[7] = 42;
  EXPECT_EQ(DiagramIncrease->Diagram1->GetKeeper(0)->GetSample(7), 42);

  const ShownGraph out = Output();
  EXPECT_EQ(S(out.caption), "Осциллограф: сигнал на выходе цепи");
  EXPECT_EQ(S(out.nameY), "Y(t),мВ");
  EXPECT_EQ(S(out.nameX), "t,мс");
  EXPECT_EQ(out.xmax, 5);  // the same first view as the input, whatever came before
  ExpectClean(out);
}

TEST_F(Oscilloscopes, HarmonicKindsShowTwentyPeriodsNoiseAThousandSamplingPeriods) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  Form1->SpeedButton3Click();
  ShownGraph g = Input();
  EXPECT_EQ(g.xmin, 0);
  EXPECT_EQ(g.xmax, 20);  // 1 kHz
  EXPECT_NEAR(g.ymin, -1, 1e-3);
  EXPECT_NEAR(g.ymax, 1, 1e-3);
  EXPECT_EQ(g.limitYmax, 1000);
  ExpectClean(g);

  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonicGaussian);
  FormGenerator->EditFloatFr->SetVal(2.5);
  Form1->SpeedButton3Click();
  g = Output();
  EXPECT_EQ(g.xmax, 20 / 2.5);
  ExpectClean(g);

  // A zoomed harmonic view is not inherited by the noise view of the output.
  FormGenerator->ComboBox1->setCurrentIndex(model::KindUniformNoise);
  Form1->SpeedButton3Click();
  g = Output();
  EXPECT_EQ(g.xmin, 0);
  EXPECT_EQ(g.xmax, 5);
  ExpectClean(g);

  // Twenty periods of 0,1 kHz are 200 ms, beyond 65536 samples of 0,0005 ms: clamped.
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  FormGenerator->EditFloatFr->SetVal(0.1);
  FormGenerator->SamplingPeriod = 0.0005;
  Form1->SpeedButton3Click();
  g = Input();
  EXPECT_EQ(g.limitXmax, 65535 * 0.0005);
  EXPECT_EQ(g.xmax, 65535 * 0.0005);  // 32,7675 ms
  ExpectClean(g);
}

TEST_F(Oscilloscopes, ChangedSettingsRunFirstReadySettingsShowTheStoredRealization) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  Form1->SetPanelText(1, RunStateChanged);
  Form1->LabelKorIn->clear();
  const ShownGraph g = Input();
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  EXPECT_FALSE(Form1->LabelKorIn->text().isEmpty());
  EXPECT_NEAR(g.ymax, 1, 1e-3);  // the new realization, not the zeros before it
  EXPECT_EQ(g.xmax, 20);

  // Ready: no run, the stored samples as they are.
  for (int i = 0; i < model::SampleCount; ++i) SampleStore::OutputSamples[i] = 3;
  Form1->LabelKorOut->setText(QStringLiteral("7,00"));
  const ShownGraph out =
      Capture(*DiagramIncrease, [] { Form1->NOscOut->trigger(); });  // the menu item
  EXPECT_EQ(SampleStore::OutputSamples[100], 3);
  EXPECT_EQ(S(Form1->LabelKorOut->text()), "7,00");
  EXPECT_EQ(out.ymin, 3);
  EXPECT_NEAR(out.ymax, 3.00001, 1e-12);

  EXPECT_TRUE(Form1->NOscIn->isEnabled());
  EXPECT_TRUE(Form1->NOscOut->isEnabled());
  EXPECT_TRUE(Capture(*DiagramIncrease, [] { Form1->NOscIn->trigger(); }).shown);
}

TEST_F(Oscilloscopes, OutputsBeyondAThousandMillivoltsWidenTheYLimits) {
  // Square law with a = 1 on Gaussian noise of deviation 10: peaks of some 2500 mV.
  FormGenerator->ComboBox1->setCurrentIndex(model::KindGaussianNoise);
  FormGenerator->EditFloatD->SetVal(10);
  FormCircuit->PageControl1->setCurrentIndex(3);
  Form1->SpeedButton3Click();
  const double peak = LargestMagnitude(SampleStore::OutputSamples, model::SampleCount);
  ASSERT_GT(peak, 1000);
  const ShownGraph out = Output();
  EXPECT_EQ(out.limitYmax, -out.limitYmin);
  EXPECT_GE(out.limitYmax, 1.1 * peak);
  EXPECT_LT(out.limitYmax, 1.1 * peak + 1000);
  EXPECT_EQ(out.ymax, peak);  // every peak in view
  ExpectClean(out);
  const ShownGraph in = Input();  // the input fits: the usual limits
  EXPECT_EQ(in.limitYmax, 1000);
  EXPECT_EQ(in.limitYmin, -1000);
}

TEST_F(Oscilloscopes, ExtremeSettingsKeepEveryNumberFinite) {
  // The largest signal into the steepest square law: outputs near 2e6 mV, capped limits.
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonicGaussian);
  FormGenerator->EditFloatM->SetVal(10);
  FormGenerator->EditFloatA->SetVal(10);
  FormGenerator->EditFloatD->SetVal(10);
  FormGenerator->EditFloatFr->SetVal(10);
  FormCircuit->PageControl1->setCurrentIndex(3);
  FormCircuit->EditFloat8->SetVal(100);
  struct Model {
    int n;
    double period;
  };
  for (const Model m : {Model{524288, 0.01}, Model{65536, 0.0005}}) {
    model::SampleCount = m.n;
    FormGenerator->SamplingPeriod = m.period;
    Form1->SetPanelText(1, RunStateChanged);
    const ShownGraph out = Output();
    EXPECT_EQ(out.limitXmax, (m.n - 1) * m.period);
    EXPECT_EQ(out.xmax, std::min(2.0, (m.n - 1) * m.period));
    EXPECT_EQ(out.limitYmax, 100000);
    EXPECT_EQ(out.ymax, 100000);
    ExpectClean(out);
    ExpectClean(Input());
  }
}

TEST_F(Oscilloscopes, InitialLimitsReturnToTheFirstView) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  Form1->SpeedButton3Click();
  double xmax = 0, back = 0;
  ModalScript script;
  script.Then([&](QDialog&) {
    TDiagram& c = *DiagramIncrease->Diagram1;
    xmax = c.GetXmax();
    c.SetRangeX(3, 7);
    c.SetRangeY(-0.5, 0.25);
    QTest::mouseClick(DiagramIncrease->SpeedButtonRetLim, Qt::LeftButton);
    back = c.GetXmax();
    EXPECT_EQ(c.GetXmin(), 0);
    EXPECT_EQ(c.GetYmin(), DiagramIncrease->InitYmin);
    EXPECT_EQ(c.GetYmax(), DiagramIncrease->InitYmax);
    QTest::mouseClick(DiagramIncrease->SpeedButtonClose, Qt::LeftButton);
  });
  Form1->Image4Click();
  EXPECT_EQ(xmax, 20);
  EXPECT_EQ(back, 20);
}
