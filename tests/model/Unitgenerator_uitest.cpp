#include "model/Unitgenerator.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "app/Editfloatunit.h"
#include "platform/Modal.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/WidgetInput.h"

namespace {

std::vector<bool> Enabled(const TFormGenerator& g) {
  return {g.EditFloatA->isEnabled(), g.EditFloatD->isEnabled(), g.EditFloatM->isEnabled(),
          g.EditFloatFr->isEnabled()};
}

}  // namespace

TEST(GeneratorWindow, DesignAsBuilt) {
  MessageRecorder rec;
  TFormGenerator g;
  EXPECT_EQ(g.windowTitle().toStdString(), "Генератор");
  EXPECT_EQ(g.size(), QSize(291, 303));
  EXPECT_FALSE(g.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(g.windowFlags().testFlag(Qt::WindowSystemMenuHint));
  EXPECT_EQ(g.GroupBox1->title().toStdString(), "Сигнал");
  EXPECT_EQ(g.GroupBox2->title().toStdString(), "Параметры");
  ASSERT_EQ(g.ComboBox1->count(), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(g.ComboBox1->itemText(i).toStdString(), model::SignalKindTexts[i]);
  EXPECT_EQ(g.ComboBox1->currentIndex(), 0);
  EXPECT_EQ(g.Button1->text().toStdString(), "Готово");

  struct Expect {
    TEditFloat* field;
    QGroupBox* group;
    const char* caption;
    double min, max, val;
    const char* text;
  } fields[] = {
      {g.EditFloatM, g.GroupBox3, "Мат. ожидание, мВ  ", -10, 10, 0, "0"},
      {g.EditFloatD, g.GroupBox4, "СКО, мВ ", 0, 10, 1, "1"},
      {g.EditFloatA, g.GroupBox5, " Амплитуда, мВ ", 0, 10, 1, "1"},
      {g.EditFloatFr, g.GroupBox6, " Частота, кГц ", 0.1, 10, 1, "1"},
  };
  for (const auto& e : fields) {
    EXPECT_EQ(e.group->title().toStdString(), e.caption);
    EXPECT_EQ(e.field->parentWidget(), e.group);
    EXPECT_EQ(e.field->Min(), e.min);
    EXPECT_EQ(e.field->Max(), e.max);
    EXPECT_EQ(e.field->Val(), e.val);
    EXPECT_EQ(e.field->TextUtf8(), e.text);
    EXPECT_EQ(e.field->MaxLength(), 6);
    EXPECT_TRUE(e.field->CorrMsg());
    EXPECT_FALSE(e.field->isEnabled());
    EXPECT_EQ(e.field->Color(), platform::SystemColor::Menu);
  }
  // Top left, top right, bottom left, bottom right.
  EXPECT_LT(g.GroupBox3->x(), g.GroupBox4->x());
  EXPECT_EQ(g.GroupBox3->y(), g.GroupBox4->y());
  EXPECT_LT(g.GroupBox3->y(), g.GroupBox5->y());
  EXPECT_EQ(g.GroupBox5->x(), g.GroupBox3->x());
  EXPECT_EQ(g.GroupBox6->x(), g.GroupBox4->x());

  EXPECT_EQ(g.Description, "Генератор: выключен");
  EXPECT_EQ(g.SamplingPeriod, 0.005);
  EXPECT_FALSE(g.Changed);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(GeneratorWindow, KindChangeEnablesTheFieldsOfTheKindAndSetsChanged) {
  TFormGenerator g;
  const std::vector<std::vector<bool>> table = {{false, false, false, false},
                                                {true, false, true, true},
                                                {false, true, true, false},
                                                {false, true, true, false},
                                                {true, true, true, true}};
  ModalScript script;
  script.Then([&](QDialog&) {
    for (int kind : {4, 1, 2, 3, 0, 4}) {
      g.Changed = false;
      input::ChooseItem(*g.ComboBox1, kind);
      EXPECT_EQ(g.ComboBox1->currentIndex(), kind);
      EXPECT_TRUE(g.Changed) << kind;
      EXPECT_EQ(Enabled(g), table[kind]) << kind;
      for (TEditFloat* f : {g.EditFloatA, g.EditFloatD, g.EditFloatM, g.EditFloatFr})
        EXPECT_EQ(f->Color(),
                  f->isEnabled() ? platform::SystemColor::Window : platform::SystemColor::Menu);
    }
    g.Button1->click();
  });
  platform::ShowModal(g);
}

TEST(GeneratorWindow, ShowingClearsChangedAndAnUntouchedCloseStillDescribes) {
  TFormGenerator g;
  g.Changed = true;
  g.ComboBox1->setCurrentIndex(1);  // as if chosen at an earlier opening
  ModalScript script;
  script.Then([&](QDialog&) {
    EXPECT_FALSE(g.Changed);
    EXPECT_TRUE(g.Button1->hasFocus());
    QTest::mouseClick(g.Button1, Qt::LeftButton);
  });
  platform::ShowModal(g);
  EXPECT_FALSE(g.Changed);
  EXPECT_EQ(g.Description,
            "Генератор: гармонический сигнал со случайной начальной фазой: амплитуда 1мВ; частота "
            "1кГц;  математическое ожидание: 0мВ");
}

TEST(GeneratorWindow, TypingThenPressingReadyCommitsThroughFocusLoss) {
  MessageRecorder rec;
  TFormGenerator g;
  ModalScript script;
  script.Then([&](QDialog& d) {
    input::ChooseItem(*g.ComboBox1, 1);
    g.Changed = false;  // only the field's commit should set it from here
    input::TypeInto(*g.EditFloatA, "5");
    EXPECT_EQ(g.EditFloatA->Val(), 1);  // nothing committed while typing
    QTest::mouseClick(g.Button1, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
  });
  platform::ShowModal(g);
  EXPECT_EQ(g.EditFloatA->Val(), 5);
  EXPECT_TRUE(g.Changed);
  EXPECT_EQ(g.Description,
            "Генератор: гармонический сигнал со случайной начальной фазой: амплитуда 5мВ; частота "
            "1кГц;  математическое ожидание: 0мВ");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(GeneratorWindow, AFieldIsCommittedEvenWhenChangedIsAlreadySet) {
  MessageRecorder rec;
  TFormGenerator g;
  ModalScript script;
  script.Then([&](QDialog&) {
    input::ChooseItem(*g.ComboBox1, 4);  // sets Changed
    input::TypeInto(*g.EditFloatD, "2.5");
    input::TypeInto(*g.EditFloatM, "-3");  // leaving D commits it
    QTest::mouseClick(g.Button1, Qt::LeftButton);
  });
  platform::ShowModal(g);
  EXPECT_EQ(g.EditFloatD->Val(), 2.5);
  EXPECT_EQ(g.EditFloatM->Val(), -3);
  const model::GeneratorParams p = g.Params();
  EXPECT_EQ(p.kind, 4);
  EXPECT_EQ(p.D, 2.5);
  EXPECT_EQ(p.M, -3);
  EXPECT_EQ(g.Description,
            "Генератор: аддитивная смесь гармонического сигнала и гауссова шума: амплитуда 1мВ; "
            "частота 1кГц; СКО: 2,5мВ; МО: -3мВ");
}

TEST(GeneratorWindow, EnterCommitsWithoutLeavingTheField) {
  MessageRecorder rec;
  TFormGenerator g;
  ModalScript script;
  script.Then([&](QDialog& d) {
    input::ChooseItem(*g.ComboBox1, 2);
    g.Changed = false;
    input::TypeInto(*g.EditFloatD, "12");
    QTest::keyClick(g.EditFloatD, Qt::Key_Return);
    EXPECT_TRUE(g.Changed);
    EXPECT_TRUE(g.EditFloatD->hasFocus());
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(g.EditFloatD->Val(), 10);
    EXPECT_EQ(rec.texts, std::vector<std::string>{editfloat::MsgAboveMaxCorrected});
    // Enter with an unchanged value is no change; Escape does not close the window.
    g.Changed = false;
    QTest::keyClick(g.EditFloatD, Qt::Key_Return);
    QTest::keyClick(&d, Qt::Key_Escape);
    QTest::keyClick(g.ComboBox1, Qt::Key_Return);
    EXPECT_FALSE(g.Changed);
    EXPECT_TRUE(d.isVisible());
    g.Button1->click();
  });
  platform::ShowModal(g);
  EXPECT_EQ(g.Description,
            "Генератор: шум с равномерным распределением: среднеквадратическое отклонение: 10мВ; "
            "математическое ожидание: 0мВ");
}

TEST(GeneratorWindow, SwitchedOffKeepsTheMeanAndTheSamplesFollowTheFields) {
  MessageRecorder rec;
  TFormGenerator g;
  ModalScript script;
  script.Then([&](QDialog&) {
    input::ChooseItem(*g.ComboBox1, 3);
    input::TypeInto(*g.EditFloatM, "3");
    input::ChooseItem(*g.ComboBox1, 0);  // leaving M commits it
    EXPECT_FALSE(g.EditFloatM->isEnabled());
    g.Button1->click();
  });
  platform::ShowModal(g);
  EXPECT_EQ(g.EditFloatM->Val(), 3);
  EXPECT_EQ(g.Description, "Генератор: выключен");
  g.Reset(0);
  double block[64];
  g.Fill(block, 64);
  for (double v : block) EXPECT_EQ(v, 3);
  EXPECT_EQ(g.NextSample(), 3);
}

TEST(GeneratorWindow, ResetUsesTheFrequencyFieldAndTheSamplingPeriod) {
  TFormGenerator g;
  g.EditFloatFr->SetVal(2);
  g.SamplingPeriod = 0.01;
  g.Reset(3);
  EXPECT_EQ(g.Gen.PhaseStep, 6.283185307179586 * 2 * 0.01);
  EXPECT_EQ(g.Gen.Counter, -3);
  EXPECT_EQ(g.Gen.SamplingPeriod, 0.01);
}
