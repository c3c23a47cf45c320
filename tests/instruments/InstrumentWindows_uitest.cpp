#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/Editfloatunit.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitind.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "platform/Modal.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/WidgetInput.h"

TEST(DensityMeterWindow, DesignAsBuilt) {
  MessageRecorder rec;
  TFormIPV w;
  EXPECT_EQ(w.size(), QSize(217, 194));
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(w.GroupBox1->title().toStdString(), " Уровень, мВ ");
  EXPECT_EQ(w.GroupBox2->title().toStdString(), " Интервал, мВ ");
  EXPECT_EQ(w.EditFloatL->TextUtf8(), "0");
  EXPECT_EQ(w.EditFloatL->Min(), -100000);
  EXPECT_EQ(w.EditFloatL->Max(), 100000);
  EXPECT_EQ(w.EditFloatL->Val(), 0);
  EXPECT_EQ(w.EditFloatL->MaxLength(), 10);
  EXPECT_EQ(w.EditFloatI->TextUtf8(), "0,1");
  EXPECT_EQ(w.EditFloatI->Min(), 0.001);
  EXPECT_EQ(w.EditFloatI->Max(), 10000);
  EXPECT_EQ(w.EditFloatI->Val(), 0.1);
  EXPECT_EQ(w.EditFloatI->MaxLength(), 10);
  EXPECT_TRUE(w.EditFloatL->CorrMsg() && w.EditFloatI->CorrMsg());
  EXPECT_EQ(w.Button1->text().toStdString(), "Готово");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(DensityMeterWindow, MeasureUsesTheWindowsOwnLevelAndInterval) {
  MessageRecorder rec;
  TFormIPV in, out;
  double zeros[1000] = {};
  EXPECT_EQ(in.Measure(zeros, 1000), 10);  // all samples at the level 0, interval 0,1
  double ramp[1000];
  for (int i = 0; i < 1000; ++i) ramp[i] = i * 0.01;  // 0 .. 9.99 mV
  ModalScript script;
  script.Then([&](QDialog&) {
    input::TypeInto(*in.EditFloatL, "2");
    input::TypeInto(*in.EditFloatI, "1");  // leaving the level commits it
    QTest::mouseClick(in.Button1, Qt::LeftButton);
  });
  platform::ShowModal(in);
  EXPECT_EQ(in.EditFloatL->Val(), 2);
  EXPECT_EQ(in.EditFloatI->Val(), 1);
  // [1.5, 2.5): samples 150 .. 249.
  EXPECT_DOUBLE_EQ(in.Measure(ramp, 1000), 100.0 / 1000 / 1);
  // The other instance keeps its own parameters.
  EXPECT_EQ(out.EditFloatL->Val(), 0);
  EXPECT_EQ(out.Measure(zeros, 1000), 10);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(DensityMeterWindow, LevelBeyondTheLimitIsCorrectedOnEnter) {
  MessageRecorder rec;
  TFormIPV w;
  ModalScript script;
  script.Then([&](QDialog& d) {
    input::TypeInto(*w.EditFloatL, "200000");
    QTest::keyClick(w.EditFloatL, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(w.EditFloatL->TextUtf8(), "100000");
    w.Button1->click();
  });
  platform::ShowModal(w);
  EXPECT_EQ(w.EditFloatL->Val(), 100000);
  EXPECT_EQ(rec.texts,
            std::vector<std::string>{"Введённое значение параметра больше максимально-допустимого."
                                     "\n Произведена коррекция."});
}

TEST(CorrelometerWindow, DesignAndDelayEntry) {
  MessageRecorder rec;
  TFormKor w;
  EXPECT_EQ(w.windowTitle().toStdString(), "Коррелометр вход");
  EXPECT_EQ(w.size(), QSize(171, 117));
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(w.GroupBox1->title().toStdString(), "  Задержка, мс  ");
  EXPECT_EQ(w.EditFloatTau->TextUtf8(), "0");
  EXPECT_EQ(w.EditFloatTau->Min(), 0);
  EXPECT_EQ(w.EditFloatTau->Max(), 1000);
  EXPECT_EQ(w.EditFloatTau->MaxLength(), 0);
  ModalScript script;
  script.Then([&](QDialog&) {
    EXPECT_TRUE(w.EditFloatTau->hasFocus());  // first in the tab order
    QTest::keyClick(w.EditFloatTau, Qt::Key_End);
    QTest::keyClick(w.EditFloatTau, Qt::Key_Backspace);
    QTest::keyClicks(w.EditFloatTau, "0.015");
    QTest::mouseClick(w.Button1, Qt::LeftButton);
  });
  platform::ShowModal(w);
  EXPECT_EQ(w.EditFloatTau->Val(), 0.015);
  EXPECT_EQ(w.EditFloatTau->TextUtf8(), "0,015");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(IndicatorWindow, DesignAsBuilt) {
  TFormInd w;
  EXPECT_EQ(w.size(), QSize(218, 153));
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(w.GroupBox2->title().toStdString(), " Показания ");
  EXPECT_EQ(w.GroupBox1->title().toStdString(), " Количество знаков после запятой ");
  EXPECT_LT(w.GroupBox2->y(), w.GroupBox1->y());
  EXPECT_EQ(w.Edit1->text().toStdString(), "0,0");
  EXPECT_TRUE(w.Edit1->isReadOnly());
  ASSERT_EQ(w.ComboBox1->count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(w.ComboBox1->itemText(i), QString::number(i));
  EXPECT_EQ(w.ComboBox1->currentIndex(), 2);
  EXPECT_FALSE(w.ComboBox1->isEditable());
  ModalScript script;
  script.Then([&](QDialog&) {
    EXPECT_TRUE(w.Button1->hasFocus());
    input::ChooseItem(*w.ComboBox1, 5);
    QTest::keyClick(w.Edit1, '7');  // read-only
    QTest::mouseClick(w.Button1, Qt::LeftButton);
  });
  platform::ShowModal(w);
  EXPECT_EQ(w.ComboBox1->currentIndex(), 5);
  EXPECT_EQ(w.Edit1->text().toStdString(), "0,0");
}

TEST(HistogramSettingsWindow, DesignAsBuilt) {
  TFormGist w;
  EXPECT_EQ(w.windowTitle().toStdString(), "Гистограмма");
  EXPECT_EQ(w.size(), QSize(194, 233));
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(w.Accepted);
  EXPECT_EQ(w.GroupBox1->title().toStdString(), " Интервал ");
  EXPECT_EQ(w.GroupBox2->title().toStdString(), " Наложить");
  EXPECT_EQ(w.EditFloat1->TextUtf8(), "0,1");
  EXPECT_EQ(w.EditFloat1->Min(), 0.01);
  EXPECT_EQ(w.EditFloat1->Max(), 100);
  EXPECT_EQ(w.EditFloat1->MaxLength(), 10);
  EXPECT_FALSE(w.EditFloat1->isEnabled());
  EXPECT_EQ(w.EditFloat1->Color(), platform::SystemColor::Menu);
  EXPECT_EQ(w.CheckBox1->text().toStdString(), "Авто");
  EXPECT_TRUE(w.CheckBox1->isChecked());
  EXPECT_EQ(w.RadioButton3->text().toStdString(), "Только гистограмма");
  EXPECT_EQ(w.RadioButton1->text().toStdString(), "Нормальный закон ");
  EXPECT_EQ(w.RadioButton2->text().toStdString(), "Равномерный закон");
  EXPECT_LT(w.RadioButton3->y(), w.RadioButton1->y());
  EXPECT_EQ(w.RadioButton4->text().toStdString(), "Теоретический закон");
  EXPECT_LT(w.RadioButton1->y(), w.RadioButton2->y());
  EXPECT_LT(w.RadioButton2->y(), w.RadioButton4->y());
  EXPECT_TRUE(w.RadioButton3->isChecked());
  EXPECT_EQ(w.Button1->text().toStdString(), "Готово");
  EXPECT_EQ(w.Button2->text().toStdString(), "Отмена");
}

TEST(HistogramSettingsWindow, OnlyReadyAccepts) {
  TFormGist w;
  ModalScript script;
  const std::function<void(QDialog&)> closings[] = {
      [&](QDialog&) { QTest::mouseClick(w.Button1, Qt::LeftButton); },  // "Готово"
      [&](QDialog&) { QTest::mouseClick(w.Button2, Qt::LeftButton); },  // "Отмена"
      [&](QDialog&) { w.Button1->click(); },
      [&](QDialog& d) { d.close(); },  // the close box
      [&](QDialog&) { w.Button1->click(); },
      [&](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },  // as the close box
  };
  const bool expected[] = {true, false, true, false, true, false};
  for (int i = 0; i < 6; ++i) {
    script.Then([&, i](QDialog& d) {
      EXPECT_FALSE(w.Accepted) << i;  // cleared when shown
      closings[i](d);
      EXPECT_FALSE(d.isVisible()) << i;
    });
    platform::ShowModal(w);
    EXPECT_EQ(w.Accepted, expected[i]) << i;
  }
}

TEST(HistogramSettingsWindow, AutoSwitchesTheBinWidthFieldAndKeepsItsValue) {
  MessageRecorder rec;
  TFormGist w;
  ModalScript script;
  script.Then([&](QDialog&) {
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton);
    EXPECT_FALSE(w.CheckBox1->isChecked());
    EXPECT_TRUE(w.EditFloat1->isEnabled());
    EXPECT_EQ(w.EditFloat1->Color(), platform::SystemColor::Window);
    input::TypeInto(*w.EditFloat1, "0.5");
    QTest::keyClick(w.EditFloat1, Qt::Key_Enter);
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton);
    EXPECT_FALSE(w.EditFloat1->isEnabled());
    EXPECT_EQ(w.EditFloat1->Color(), platform::SystemColor::Menu);
    QTest::mouseClick(w.RadioButton1, Qt::LeftButton);
    QTest::mouseClick(w.Button1, Qt::LeftButton);
  });
  platform::ShowModal(w);
  EXPECT_TRUE(w.Accepted);
  EXPECT_EQ(w.EditFloat1->Val(), 0.5);
  EXPECT_EQ(w.EditFloat1->TextUtf8(), "0,5");
  EXPECT_TRUE(w.RadioButton1->isChecked());
  EXPECT_FALSE(w.RadioButton3->isChecked());
  EXPECT_TRUE(rec.texts.empty());
}
