// Closing a settings window in the middle of an edit, the ways a window manager offers:
// Alt+F4 and the close request its close box sends, and Escape. The field being edited is
// committed as when the focus leaves it, so what the window showed is what the model uses,
// the window's Changed flag and description follow, and the bench marks the change.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include "app/Editfloatunit.h"
#include "app/Unit1.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitipv.h"
#include "model/Generator.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "platform/Image.h"
#include "platform/Modal.h"
#include "tests/support/BenchStart.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/x11/XSession.h"

namespace {

using xsession::Keys;
using xsession::WaitFor;

class ClosingOnX11 : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartBenchOnce(); }
};

// Clicks into the field, replaces its text by typing, and waits until it shows the text.
void TypeInto(TEditFloat& field, const QStringList& keys, const QString& shown) {
  xsession::Click(field);
  ASSERT_TRUE(WaitFor([&] { return field.hasFocus(); }));
  Keys(QStringList{"ctrl+a"} + keys);
  ASSERT_TRUE(WaitFor([&] { return field.text() == shown; })) << field.text().toStdString();
}

// The window closed and the program has taken the loss of its focus.
void ExpectClosed(QDialog& d) {
  EXPECT_TRUE(WaitFor([&] { return !d.isVisible(); }, 10000)) << "the window did not close";
}

}  // namespace

TEST_F(ClosingOnX11, GeneratorClosedWithAltF4CommitsTheAmplitude) {
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonic);
  FormGenerator->ComboBox1Change();
  FormGenerator->EditFloatA->SetVal(1);
  Form1->SetPanelText(1, RunStateReady);
  ModalScript script(30000);
  script.Then([](QDialog& d) {
    TypeInto(*FormGenerator->EditFloatA, {"5"}, "5");
    Keys({"alt+F4"});
    ExpectClosed(d);
  });
  Form1->Image2Click();
  xsession::AwaitFocusLeft(*FormGenerator);
  EXPECT_EQ(FormGenerator->EditFloatA->Val(), 5.0);
  EXPECT_EQ(FormGenerator->EditFloatA->TextUtf8(), "5");
  EXPECT_TRUE(FormGenerator->Changed);
  EXPECT_NE(FormGenerator->Description.find("амплитуда 5мВ"), std::string::npos)
      << FormGenerator->Description;
  EXPECT_EQ(Form1->Image2->GetHint().toStdString(), FormGenerator->Description);
  EXPECT_EQ(Form1->RunState().toStdString(), RunStateChanged);
  EXPECT_TRUE(Form1->LabelIpvIn->text().isEmpty());
}

TEST_F(ClosingOnX11, CircuitClosedByACloseRequestCommitsTheSlope) {
  FormCircuit->PageControl1->setCurrentIndex(0);
  FormCircuit->EditFloat1->SetVal(1);
  Form1->SetPanelText(1, RunStateReady);
  ModalScript script(30000);
  script.Then([](QDialog& d) {
    TypeInto(*FormCircuit->EditFloat1, {"7"}, "7");
    xsession::RequestClose(d.winId());
    ExpectClosed(d);
  });
  Form1->Image3Click();
  xsession::AwaitFocusLeft(*FormCircuit);
  EXPECT_EQ(FormCircuit->EditFloat1->Val(), 7.0);
  EXPECT_TRUE(FormCircuit->Changed);
  EXPECT_EQ(FormCircuit->Params().S, 7.0);
  EXPECT_EQ(Form1->RunState().toStdString(), RunStateChanged);
}

// The meter re-measures after it closes: with the level that the field showed.
TEST_F(ClosingOnX11, DensityMeterClosedWithAltF4MeasuresAtTheTypedLevel) {
  FormIPV->EditFloatL->SetVal(0);
  Form1->SetPanelText(1, RunStateReady);
  ModalScript script(30000);
  script.Then([](QDialog& d) {
    TypeInto(*FormIPV->EditFloatL, {"minus", "3"}, "-3");
    Keys({"alt+F4"});
    ExpectClosed(d);
  });
  Form1->Image5Click();
  xsession::AwaitFocusLeft(*FormIPV);
  EXPECT_EQ(FormIPV->EditFloatL->Val(), -3.0);
  EXPECT_EQ(Form1->Image5->GetHint().toStdString(), "ИПВ вход: уровень -3мВ; интервал 0,1мВ");
}

// The histogram settings close box and Escape cancel the histogram, and the bin width typed
// before is the field's value: what the field shows on the next opening is what it holds.
TEST_F(ClosingOnX11, HistogramSettingsClosedByCloseBoxOrEscapeKeepNoStrayText) {
  FormGist->CheckBox1->setChecked(false);
  FormGist->CheckBox1Click();
  FormGist->EditFloat1->SetVal(0.1);
  ModalScript script(30000);
  script.Then([](QDialog& d) {
    TypeInto(*FormGist->EditFloat1, {"0", "comma", "5"}, "0,5");
    xsession::RequestClose(d.winId());
    ExpectClosed(d);
  });
  platform::ShowModal(*FormGist);
  xsession::AwaitFocusLeft(*FormGist);
  EXPECT_FALSE(FormGist->Accepted);
  EXPECT_EQ(FormGist->EditFloat1->Val(), 0.5);
  EXPECT_EQ(FormGist->EditFloat1->TextUtf8(), "0,5");

  script.Then([](QDialog& d) {
    TypeInto(*FormGist->EditFloat1, {"2", "period", "5"}, "2.5");
    Keys({"Escape"});
    ExpectClosed(d);
  });
  platform::ShowModal(*FormGist);
  xsession::AwaitFocusLeft(*FormGist);
  EXPECT_FALSE(FormGist->Accepted);
  EXPECT_EQ(FormGist->EditFloat1->Val(), 2.5);
  EXPECT_EQ(FormGist->EditFloat1->TextUtf8(), "2,5");
}
