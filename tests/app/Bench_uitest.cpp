// The bench window driven as a student drives it: hot-spots, menus, modal windows scripted,
// message boxes recorded.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>
#include <new>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <QCheckBox>
#include <QPointer>
#include <QToolButton>

#include "app/Comfun.h"
#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "app/Hellounit.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "instruments/Correlometer.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitind.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Fft0unit.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"
#include "platform/Cursor.h"
#include "platform/Image.h"
#include "tests/support/GraphBench.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/SaveDialogScript.h"
#include "tests/support/Text.h"
#include "tests/support/WidgetInput.h"

namespace {

void PressDone(QDialog& d) {
  for (QPushButton* b : d.findChildren<QPushButton*>()) {
    if (b->text() == QStringLiteral("Готово")) {
      QTest::mouseClick(b, Qt::LeftButton);
      return;
    }
  }
  ADD_FAILURE() << "no button Готово in " << S(d.windowTitle());
  d.reject();
}

void ClickImage(TImage* image) {
  QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(5, 5));
}

class Bench : public graphtest::GraphBench {
 protected:
  void SetUp() override {
    GraphBench::SetUp();
    FormIPV->EditFloatL->SetVal(0);
    FormIPV->EditFloatI->SetVal(0.1);
    for (TFormInd* f : {FormIndIpvIn, FormIndIpvOut, FormIndKorIn, FormIndKorOut})
      f->ComboBox1->setCurrentIndex(2);
    BenchReadings::CorrScaleIn = BenchReadings::CorrScaleOut = 0;
  }
  void TearDown() override { Form1->N501Click(); }
};

}  // namespace

TEST_F(Bench, FirstPaintCreatedTheWindowsWithTheirCaptions) {
  ASSERT_NE(FormIndIpvIn, nullptr);
  ASSERT_NE(DiagramIncrease, nullptr);
  ASSERT_NE(DiagramIncreaseAnalysis, nullptr);
  EXPECT_EQ(S(DiagramIncrease->windowTitle()), "Осциллограф: сигнал на входе цепи");
  EXPECT_EQ(S(DiagramIncreaseAnalysis->windowTitle()), "Гистограмма");
  // Created in order, each owned by the bench: the oscilloscope viewer right after the
  // bench, the analysis viewer after the four indicators and before the output meters.
  const QObjectList& owned = Form1->children();
  EXPECT_LT(owned.indexOf(DiagramIncrease), owned.indexOf(FormGist));
  EXPECT_GE(owned.indexOf(DiagramIncrease), 0);
  EXPECT_LT(owned.indexOf(FormIndKorOut), owned.indexOf(DiagramIncreaseAnalysis));
  EXPECT_LT(owned.indexOf(DiagramIncreaseAnalysis), owned.indexOf(FormIPVOut));
  EXPECT_EQ(S(FormIPV->windowTitle()), "ИПВ вход");
  EXPECT_EQ(S(FormIPVOut->windowTitle()), "ИПВ выход");
  EXPECT_EQ(S(FormKor->windowTitle()), "Коррелометр вход");
  EXPECT_EQ(S(FormKorOut->windowTitle()), "Коррелометр выход");
  EXPECT_EQ(S(FormIndIpvIn->windowTitle()), "Индикатор ИПВ вход");
  EXPECT_EQ(S(FormIndKorOut->windowTitle()), "Индикатор коррелометр выход");
  TFormInd* before = FormIndIpvIn;
  Form1->FormPaint();  // later paints create nothing
  EXPECT_EQ(FormIndIpvIn, before);
  EXPECT_EQ(S(Form1->LabelIpvIn->text()), "0,0");
  EXPECT_EQ(S(Form1->Image3->GetHint()), "Нелинейная цепь: цепь 1");
}

TEST_F(Bench, ScaleRulesAndCentring) {
  QScrollArea* box = Form1->ScrollBox1;
  box->resize(1000, 500);
  Form1->ToolButton4Click();
  EXPECT_EQ(S(Form1->PanelText(0)), "Масштаб: 84%");
  EXPECT_EQ(Form1->ScaleM, 4000);
  EXPECT_EQ(Form1->ScaleD, 4760);
  EXPECT_EQ(Form1->Panel1->width(), 800);
  EXPECT_TRUE(Form1->N7->isChecked());
  EXPECT_TRUE(Form1->N22->isChecked());
  EXPECT_EQ(Form1->Panel1->x(), (1000 - 800) / 2);

  box->resize(1000, 300);  // a short box: 80 % of its height
  Form1->ToolButton4Click();
  EXPECT_EQ(S(Form1->PanelText(0)), "Масштаб: 50%");
  EXPECT_EQ(Form1->ScaleM, 1200);
  EXPECT_EQ(Form1->ScaleD, 2385);

  Form1->N801Click();
  EXPECT_EQ(S(Form1->PanelText(0)), "Масштаб: 200%");
  EXPECT_TRUE(Form1->N801->isChecked());
  EXPECT_TRUE(Form1->N2001->isChecked());
  EXPECT_FALSE(Form1->N7->isChecked());
  // Larger than the box: at 1, 1, the box scrolls.
  EXPECT_EQ(Form1->Panel1->pos(), QPoint(1, 1));
  EXPECT_GE(box->widget()->width(), Form1->Panel1->width());

  Form1->N501Click();  // 100 % restores the design geometry
  EXPECT_EQ(Form1->Panel1->size(), QSize(952, 477));
  EXPECT_EQ(Form1->LabelIpvIn->geometry(), QRect(83, 305, 129, 20));
  EXPECT_EQ(Form1->Image13->geometry(), QRect(680, 360, 241, 97));
  EXPECT_EQ(Form1->LabelIpvIn->font().pixelSize(), 16);
  EXPECT_TRUE(Form1->N1001->isChecked());

  Form1->N401Click();
  EXPECT_EQ(Form1->LabelIpvIn->geometry(), QRect(62, 229, 97, 15));
  EXPECT_EQ(Form1->LabelIpvIn->font().pixelSize(), 12);
  box->resize(1200, 700);  // a resize re-centres, the scale stays
  EXPECT_EQ(S(Form1->PanelText(0)), "Масштаб: 75%");
  Form1->CenterPanel();
  EXPECT_EQ(Form1->Panel1->x(), (1200 - 714) / 2);
}

TEST_F(Bench, StatusPanelTwoNamesTheElementUnderTheMouse) {
  QTest::mouseMove(Form1->Image5, QPoint(10, 10));
  EXPECT_EQ(S(Form1->PanelText(2)), S(Form1->Image5->GetHint()));
  QTest::mouseMove(Form1->Image2, QPoint(10, 10));
  EXPECT_EQ(S(Form1->PanelText(2)), FormGenerator->Description);
  QTest::mouseMove(Form1->Image3, QPoint(10, 10));
  EXPECT_EQ(S(Form1->PanelText(2)), FormCircuit->Description);
  QTest::mouseMove(Form1->Image1, QPoint(2, 2));
  EXPECT_EQ(S(Form1->PanelText(2)), "Элемент не выбран");
}

TEST_F(Bench, DensityMeterBeforeAnyRunMeasuresTheZeroRealization) {
  ModalScript script;
  script.Then(PressDone);
  ClickImage(Form1->Image5);
  EXPECT_EQ(S(Form1->LabelIpvIn->text()), "10,00");
  EXPECT_EQ(S(Form1->LabelIpvIn->toolTip()), "10,00");
  EXPECT_EQ(S(Form1->Image5->GetHint()), "ИПВ вход: уровень 0мВ; интервал 0,1мВ");
  EXPECT_EQ(S(Form1->Image6->GetHint()), "Индикатор ИПВ вход: 10,00");
  EXPECT_EQ(S(Form1->RunState()), "Готово");
}

TEST_F(Bench, RunWithTheGeneratorOff) {
  FormCircuit->PageControl1->setCurrentIndex(0);
  QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  EXPECT_EQ(S(Form1->LabelKorIn->text()), "0,00");
  EXPECT_EQ(S(Form1->LabelIpvIn->text()), "10,00");
  EXPECT_EQ(S(Form1->LabelKorOut->text()), "0,00");
  EXPECT_EQ(S(Form1->LabelIpvOut->text()), "10,00");
  EXPECT_EQ(S(Form1->Image8->GetHint()), "Индикатор коррелометр вход: 0,00");
  EXPECT_EQ(BenchReadings::CorrScaleIn, 1.0);
}

TEST_F(Bench, HarmonicCorrelationAndLag) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  Form1->SpeedButton3Click();
  EXPECT_NEAR(BenchReadings::CorrIn, 0.5, 2e-3);
  EXPECT_EQ(S(Form1->LabelKorIn->text()), "0,50");
  for (double tau : {0.05, 0.1, 0.25}) {
    FormKor->EditFloatTau->SetVal(tau);
    Form1->SpeedButton3Click();
    const int lag = instruments::LagOf(tau, 0.005);
    EXPECT_NEAR(BenchReadings::CorrIn, 0.5 * std::cos(2 * M_PI * lag * 0.005), 3e-3) << tau;
    EXPECT_EQ(S(Form1->LabelKorIn->text()), FormatFloatComma(2, BenchReadings::CorrIn));
  }
  FormKor->EditFloatTau->SetVal(0.015);  // just below 3 periods: lag 2
  Form1->SpeedButton3Click();
  EXPECT_EQ(BenchReadings::CorrIn,
            *instruments::CorrelationAt(SampleStore::InputSamples, 65536, 2, 0, 1));
}

TEST_F(Bench, ChangingTheGeneratorClearsReadingsAndAMeterRunsTheModel) {
  Form1->SpeedButton3Click();
  ModalScript script;
  script.Then([](QDialog& d) {
    input::ChooseItem(*FormGenerator->ComboBox1, model::KindHarmonic);
    PressDone(d);
  });
  ClickImage(Form1->Image2);
  EXPECT_EQ(S(Form1->RunState()), "Изменено");
  for (QLabel* l : {Form1->LabelIpvIn, Form1->LabelKorIn, Form1->LabelIpvOut, Form1->LabelKorOut}) {
    EXPECT_TRUE(l->text().isEmpty());
    EXPECT_TRUE(l->toolTip().isEmpty());
  }
  EXPECT_EQ(S(Form1->Image2->GetHint()), FormGenerator->Description);
  EXPECT_NE(FormGenerator->Description.find("гармонический"), std::string::npos);

  // An indicator opened now shows an empty reading with its unit and changes nothing.
  QString shown;
  script.Then([&shown](QDialog& d) {
    shown = FormIndIpvIn->Edit1->text();
    PressDone(d);
  });
  ClickImage(Form1->Image6);
  EXPECT_EQ(S(shown), "     1/мВ");
  EXPECT_TRUE(Form1->LabelIpvIn->text().isEmpty());

  script.Then(PressDone);
  ClickImage(Form1->Image12);  // the output correlometer: a whole run
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  for (QLabel* l : {Form1->LabelIpvIn, Form1->LabelKorIn, Form1->LabelIpvOut, Form1->LabelKorOut})
    EXPECT_FALSE(l->text().isEmpty());
  EXPECT_NEAR(BenchReadings::CorrIn, 0.5, 2e-3);
  EXPECT_EQ(S(Form1->Image12->GetHint()), "Коррелометр выход: задержка 0 мс");
}

TEST_F(Bench, IndicatorDecimalsReformatTheStoredReading) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  Form1->SpeedButton3Click();
  const std::string two = S(Form1->LabelKorIn->text());
  ModalScript script;
  QString shown;
  script.Then([&shown](QDialog& d) {
    shown = FormIndKorIn->Edit1->text();
    input::ChooseItem(*FormIndKorIn->ComboBox1, 5);
    PressDone(d);
  });
  ClickImage(Form1->Image8);
  EXPECT_EQ(S(shown), two + "     мВ*мВ");
  EXPECT_EQ(S(Form1->LabelKorIn->text()), FormatFloatComma(5, BenchReadings::CorrIn));
  EXPECT_EQ(S(Form1->Image8->GetHint()),
            "Индикатор коррелометр вход: " + FormatFloatComma(5, BenchReadings::CorrIn));
  Form1->SpeedButton3Click();  // later runs keep the choice; the others keep theirs
  EXPECT_EQ(S(Form1->LabelKorIn->text()).size(), FormatFloatComma(5, 0.5).size());
  EXPECT_EQ(S(Form1->LabelIpvIn->text()), FormatFloatComma(2, BenchReadings::DensityIn));
}

TEST_F(Bench, ACorrelometerDelayBeyondTheRealizationGivesAClearMessage) {
  FormGenerator->SamplingPeriod = 0.0005;
  FormKor->EditFloatTau->SetVal(40);
  MessageRecorder rec;
  Form1->SpeedButton3Click();
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_NE(rec.texts[0].find("Коррелометр вход: задержка 40 мс"), std::string::npos);
  // The longest delay offered is itself accepted (lag 65535).
  EXPECT_NE(rec.texts[0].find("Наибольшая задержка для этой реализации: 32,7679 мс"),
            std::string::npos);
  EXPECT_TRUE(Form1->LabelKorIn->text().isEmpty());
  EXPECT_FALSE(Form1->LabelIpvIn->text().isEmpty());
  EXPECT_FALSE(Form1->LabelKorOut->text().isEmpty());
  EXPECT_EQ(S(Form1->RunState()), "Готово");

  // The same from the correlometer window, re-measuring.
  ModalScript script;
  script.Then(PressDone);
  ClickImage(Form1->Image7);
  EXPECT_EQ(rec.texts.size(), 2u);
  EXPECT_TRUE(Form1->LabelKorIn->text().isEmpty());
}

TEST_F(Bench, SettingsApplyLengthPeriodAndClearReadings) {
  Form1->SpeedButton3Click();
  ModalScript script;
  script.Then([](QDialog& d) {
    input::ChooseItem(*FormTurn->ComboBoxN, 0);
    input::ChooseItem(*FormTurn->ComboBoxT, 3);
    QTest::mouseClick(FormTurn->CheckBox1, Qt::LeftButton);  // progress indicator off
    PressDone(d);
  });
  Form1->N24Click();
  EXPECT_EQ(model::SampleCount, 65536);
  EXPECT_EQ(FormGenerator->SamplingPeriod, 0.01);
  EXPECT_FALSE(FFT0Form->ShowProgress);
  script.Then([](QDialog& d) {
    QTest::mouseClick(FormTurn->Button2, Qt::LeftButton);  // "По умолчанию"
    PressDone(d);
  });
  Form1->N24Click();
  EXPECT_EQ(model::SampleCount, 262144);
  EXPECT_EQ(FormGenerator->SamplingPeriod, 0.005);
  EXPECT_TRUE(FFT0Form->ShowProgress);
  model::SampleCount = 65536;
  EXPECT_EQ(S(Form1->RunState()), "Изменено");
  EXPECT_TRUE(Form1->LabelKorOut->text().isEmpty());

  // Untouched: nothing changes.
  Form1->SetPanelText(1, RunStateReady);
  Form1->LabelIpvIn->setText("1,00");
  script.Then(PressDone);
  Form1->N24Click();
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  EXPECT_EQ(S(Form1->LabelIpvIn->text()), "1,00");
}

TEST_F(Bench, SaveAndCopyTheBenchPictureAtDesignSize) {
  QTemporaryDir dir;
  MessageRecorder rec;
  ModalScript script;
  Form1->N801Click();  // whatever the scale
  SaveOffer offer;
  script.Then(SaveAsOffered(dir.path(), "Bench.BMP", offer));
  Form1->SpeedButton1Click();
  EXPECT_EQ(S(offer.name), "Рисунок.bmp");
  EXPECT_EQ(offer.filters, QStringList{"Bitmaps (*.bmp)"});
  EXPECT_TRUE(rec.texts.empty());
  QImage saved(dir.filePath("Bench.BMP"), "BMP");
  EXPECT_EQ(saved.size(), QSize(952, 477));

  script.Then(SaveAs(dir.path(), "bench.jpg"));
  Form1->SpeedButton1Click();
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0], S(dir.filePath("bench.jpg")) +
                              ":\nФормат файлов .jpg не поддерживается.Произведена коррекция.");
  EXPECT_TRUE(QFile::exists(dir.filePath("bench.bmp")));
  EXPECT_FALSE(QFile::exists(dir.filePath("bench.jpg")));

  script.Then(SaveAs(dir.path(), "dot."));
  Form1->SpeedButton1Click();
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_NE(rec.texts[1].find("Формат файлов . не поддерживается."), std::string::npos);
  EXPECT_TRUE(QFile::exists(dir.filePath("dot.bmp")));

  // A folder that cannot take the file: a message, and the program goes on. The dialog would
  // not accept a missing folder, so the name is confirmed past its own check.
  script.Then([&dir](QDialog& d) {
    auto* fd = qobject_cast<QFileDialog*>(&d);
    ASSERT_NE(fd, nullptr);
    fd->setDirectory(dir.path());
    fd->findChild<QLineEdit*>("fileNameEdit")->setText("missing/bench.bmp");
    d.done(QDialog::Accepted);
  });
  Form1->SpeedButton1Click();
  ASSERT_EQ(rec.texts.size(), 3u);
  EXPECT_NE(rec.texts[2].find("bench.bmp"), std::string::npos);

  Form1->SpeedButton2Click();
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(952, 477));
}

TEST(HelloForm, ClosesAfterItsTimerOrAClickAndFreesItself) {
  QPointer<THelloForm> hello = ShowHelloForm();
  ASSERT_FALSE(hello.isNull());
  EXPECT_TRUE(hello->isVisible());
  EXPECT_EQ(hello->size(), QSize(400, 300));
  EXPECT_TRUE(hello->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(hello->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(hello->Timer1->interval(), 5000);
  EXPECT_TRUE(hello->Timer1->isActive());
  EXPECT_EQ(platform::CurrentScreenCursor(), platform::ScreenCursor::AppStart);
  hello->Timer1->start(20);     // the same timer, sooner
  QTRY_VERIFY(hello.isNull());  // closed by the timer and freed
  EXPECT_EQ(platform::CurrentScreenCursor(), platform::ScreenCursor::Default);

  hello = ShowHelloForm();
  QTest::mouseClick(hello->Image1, Qt::LeftButton, {}, QPoint(200, 150));
  EXPECT_EQ(platform::CurrentScreenCursor(), platform::ScreenCursor::Default);
  QTRY_VERIFY(hello.isNull());
}

TEST_F(Bench, CircuitWindowRenamesItsHintAndOnlyAChangeClearsTheReadings) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  FormCircuit->PageControl1->setCurrentIndex(0);
  // A run shows the density readings on the labels only; their indicator hints stay.
  Form1->Image6->SetHint(QStringLiteral("Индикатор ИПВ вход"));
  Form1->SpeedButton3Click();
  EXPECT_EQ(S(Form1->Image6->GetHint()), "Индикатор ИПВ вход");
  const QString korHint = Form1->Image8->GetHint();
  const std::string label = S(Form1->LabelKorOut->text());

  ModalScript script;
  script.Then(PressDone);  // untouched: only the hint follows the window
  ClickImage(Form1->Image3);
  EXPECT_EQ(S(Form1->Image3->GetHint()), "Нелинейная безынерционная цепь: цепь 1");
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  EXPECT_EQ(S(Form1->LabelKorOut->text()), label);

  script.Then([](QDialog& d) {
    FormCircuit->PageControl1->setCurrentIndex(3);
    FormCircuit->PageControl1->setCurrentIndex(0);  // and back: still a change
    PressDone(d);
  });
  ClickImage(Form1->Image3);
  EXPECT_EQ(S(Form1->Image3->GetHint()), "Нелинейная безынерционная цепь: цепь 1");
  EXPECT_EQ(S(Form1->RunState()), "Изменено");
  for (QLabel* l : {Form1->LabelIpvIn, Form1->LabelKorIn, Form1->LabelIpvOut, Form1->LabelKorOut}) {
    EXPECT_TRUE(l->text().isEmpty());
    EXPECT_TRUE(l->toolTip().isEmpty());
  }
  EXPECT_EQ(Form1->Image8->GetHint(), korHint);  // kept until the next reading
}

namespace {

// Every label, hint and status text of the bench: no "nan" or "inf" anywhere, each label's
// hint is its caption, each correlometer indicator's hint repeats its label, and every label
// that shows a reading shows the stored one with its indicator's decimals.
void ExpectBenchConsistent() {
  QStringList texts;
  for (TImage* image : Form1->Panel1->findChildren<TImage*>()) texts << image->GetHint();
  for (int i = 0; i < 3; ++i) texts << Form1->PanelText(i);
  struct Reading {
    QLabel* label;
    TFormInd* form;
    double value;
  };
  const Reading readings[] = {{Form1->LabelIpvIn, FormIndIpvIn, BenchReadings::DensityIn},
                              {Form1->LabelIpvOut, FormIndIpvOut, BenchReadings::DensityOut},
                              {Form1->LabelKorIn, FormIndKorIn, BenchReadings::CorrIn},
                              {Form1->LabelKorOut, FormIndKorOut, BenchReadings::CorrOut}};
  for (const Reading& r : readings) {
    texts << r.label->text() << r.label->toolTip();
    EXPECT_EQ(r.label->toolTip(), r.label->text()) << S(r.label->objectName());
    if (!r.label->text().isEmpty()) {
      EXPECT_EQ(S(r.label->text()), FormatFloatComma(r.form->ComboBox1->currentIndex(), r.value))
          << S(r.label->objectName());
    }
  }
  EXPECT_EQ(S(Form1->Image8->GetHint()),
            "Индикатор коррелометр вход: " + S(Form1->LabelKorIn->text()));
  EXPECT_EQ(S(Form1->Image13->GetHint()),
            "Индикатор коррелометр выход: " + S(Form1->LabelKorOut->text()));
  for (const QString& t : texts) EXPECT_FALSE(NotANumberText(t)) << S(t);
}

}  // namespace

// A limiter segment of subnormal width typed into circuit 2 (a long "-0,000...01" for x1, 0
// for x2): its slope does not fit a double, so the circuit is a step; the run and a
// re-measurement of the output correlometer show numbers everywhere.
TEST_F(Bench, ALimiterSegmentTooNarrowForItsSlopeRunsAsAStep) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  Form1->SpeedButton3Click();
  ModalScript script;
  script.Then([](QDialog& d) {
    FormCircuit->PageControl1->setCurrentIndex(1);
    // Each field committed with Enter.
    input::TypeInto(*FormCircuit->EditFloat3, "-0," + QString(320, '0') + "1");
    QTest::keyClick(FormCircuit->EditFloat3, Qt::Key_Enter);
    input::TypeInto(*FormCircuit->EditFloat4, "0");
    QTest::keyClick(FormCircuit->EditFloat4, Qt::Key_Enter);
    PressDone(d);
  });
  MessageRecorder rec;
  ClickImage(Form1->Image3);
  EXPECT_EQ(S(Form1->RunState()), "Изменено");
  const double x1 = FormCircuit->EditFloat3->Val();
  EXPECT_LT(x1, 0);
  EXPECT_GT(x1, -1e-320);
  EXPECT_EQ(FormCircuit->EditFloat4->Val(), 0);
  EXPECT_EQ(FormCircuit->k, 0);
  EXPECT_EQ(FormCircuit->c, 0);  // the middle of -1 and 1
  EXPECT_EQ(FormCircuit->Transfer(-0.5), -1);
  EXPECT_EQ(FormCircuit->Transfer(0.0), 0);
  EXPECT_EQ(FormCircuit->Transfer(0.5), 1);

  QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  EXPECT_NEAR(BenchReadings::OutputSko, 1, 1e-2);  // a square wave of +-1
  ExpectBenchConsistent();

  script.Then(PressDone);
  ClickImage(Form1->Image12);  // re-measures the output correlometer from the samples
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_NEAR(BenchReadings::CorrOut, BenchReadings::OutputSko * BenchReadings::OutputSko, 1e-2);
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  ExpectBenchConsistent();
}

// A run whose statistics are not finite (forced here: close processing no longer stores the
// slope that did it) says so, keeps the previous readings and leaves the model marked
// changed, so the next command runs again instead of reading the samples thrown away.
TEST_F(Bench, ARunThatFailsKeepsTheReadingsAndLeavesTheModelChanged) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  Form1->SpeedButton3Click();
  const QString kept = Form1->LabelKorOut->text();
  const double keptCorr = BenchReadings::CorrOut;
  FormCircuit->PageControl1->setCurrentIndex(1);
  FormCircuit->k = std::numeric_limits<double>::infinity();
  FormCircuit->c = -std::numeric_limits<double>::infinity();
  MessageRecorder rec;
  QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0],
            "Расчёт прерван: при заданных параметрах цепи выходной сигнал не выражается "
            "конечными числами. Показания предыдущего расчёта сохранены.");
  EXPECT_EQ(S(Form1->RunState()), "Изменено");
  EXPECT_EQ(platform::CurrentScreenCursor(), platform::ScreenCursor::Default);
  EXPECT_EQ(Form1->LabelKorOut->text(), kept);
  EXPECT_EQ(BenchReadings::CorrOut, keptCorr);
  ExpectBenchConsistent();

  ModalScript script;
  script.Then(PressDone);
  ClickImage(Form1->Image12);  // runs the model again rather than re-measuring
  EXPECT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(S(Form1->RunState()), "Изменено");
  EXPECT_EQ(BenchReadings::CorrOut, keptCorr);
  ExpectBenchConsistent();
}

// "No reading" clears the label, its hint and the indicator picture's value together, and
// the run and the re-measurement both store instruments::NoReading for it.
TEST_F(Bench, NoReadingClearsTheIndicatorHintAndIsStoredAlikeOnBothPaths) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  FormGenerator->SamplingPeriod = 0.0005;
  MessageRecorder rec;
  Form1->SpeedButton3Click();
  EXPECT_EQ(S(Form1->Image8->GetHint()),
            "Индикатор коррелометр вход: " + FormatFloatComma(2, BenchReadings::CorrIn));
  FormKor->EditFloatTau->SetVal(40);
  Form1->SpeedButton3Click();
  EXPECT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(S(Form1->Image8->GetHint()), "Индикатор коррелометр вход: ");
  EXPECT_EQ(BenchReadings::CorrIn, instruments::NoReading);
  ExpectBenchConsistent();

  ModalScript script;
  script.Then([](QDialog& d) {
    input::TypeInto(*FormKorOut->EditFloatTau, "0");
    PressDone(d);
  });
  ClickImage(Form1->Image12);
  EXPECT_NE(BenchReadings::CorrOut, instruments::NoReading);
  script.Then([](QDialog& d) {
    input::TypeInto(*FormKorOut->EditFloatTau, "40");
    PressDone(d);
  });
  ClickImage(Form1->Image12);
  EXPECT_EQ(rec.texts.size(), 2u);
  EXPECT_TRUE(Form1->LabelKorOut->text().isEmpty());
  EXPECT_EQ(S(Form1->Image13->GetHint()), "Индикатор коррелометр выход: ");
  EXPECT_EQ(BenchReadings::CorrOut, instruments::NoReading);
  ExpectBenchConsistent();
}

namespace {
// A message handler that fails like an allocation does the first time it is asked to show
// a message, and records every text after that.
struct FailingOnce {
  FailingOnce()
      : previous(lab::SetMessageHandler([this](const std::string& t) {
          if (!failed) {
            failed = true;
            throw std::bad_alloc();
          }
          texts.push_back(t);
        })) {}
  ~FailingOnce() { lab::SetMessageHandler(previous); }
  bool failed = false;
  std::vector<std::string> texts;
  lab::MessageHandler previous;
};

// An exception that ends a command unwinds through Qt's own frames to
// platform::Application::notify. Qt Widgets is built without exception cleanups, so the copy
// of the mouse event that QApplication::notify made for the button is never destroyed: a few
// hundred bytes per failed command, out of our reach. In the sanitizer build the leak checker
// overlooks what this thread allocates while one of these lives.
#if defined(__SANITIZE_ADDRESS__)
using LeaksOutOfReach = __lsan::ScopedDisabler;
#else
struct LeaksOutOfReach {};
#endif
}  // namespace

// An allocation failure inside a command (here while the run builds its message about a
// delay beyond the realization) ends that command only: the program goes on, the cursor is
// normal again, a message says what happened, and the run does not claim "Готово".
TEST_F(Bench, AnExceptionInsideACommandEndsOnlyThatCommand) {
  FormGenerator->SamplingPeriod = 0.0005;
  FormKor->EditFloatTau->SetVal(40);
  {
    FailingOnce handler;
    {
      [[maybe_unused]] LeaksOutOfReach qtFrames;
      QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
    }
    EXPECT_TRUE(handler.failed);
    ASSERT_EQ(handler.texts.size(), 1u);
    EXPECT_EQ(handler.texts[0], "Недостаточно памяти для выполнения команды. Команда прервана.");
  }
  EXPECT_EQ(S(Form1->RunState()), "Изменено");
  EXPECT_EQ(platform::CurrentScreenCursor(), platform::ScreenCursor::Default);

  // The next command works as usual.
  FormKor->EditFloatTau->SetVal(0);
  QTest::mouseClick(Form1->SpeedButton3, Qt::LeftButton);
  EXPECT_EQ(S(Form1->RunState()), "Готово");
  ExpectBenchConsistent();
}
