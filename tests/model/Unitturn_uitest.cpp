#include "model/Unitturn.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/Modal.h"
#include "tests/support/ModalScript.h"
#include "tests/support/WidgetInput.h"

namespace {

QStringList Items(const QComboBox& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
  return items;
}

}  // namespace

TEST(ModelSettingsWindow, DesignAsBuilt) {
  TFormTurn t;
  EXPECT_EQ(t.windowTitle().toStdString(), "Настройки численной модели");
  EXPECT_EQ(t.size(), QSize(347, 198));
  EXPECT_FALSE(t.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(t.GroupBox1->title().toStdString(), " Период дискретизации, мс ");
  EXPECT_EQ(t.GroupBox2->title().toStdString(), " Длина реализации ");
  EXPECT_EQ(t.GroupBox3->title().toStdString(), "  Расчёт КФ  ");
  EXPECT_EQ(t.GroupBox4->title().toStdString(), " Модуль БПФ ");
  EXPECT_EQ(Items(*t.ComboBoxT), QString::fromUtf8("0,0005 0,001 0,005 0,01").split(' '));
  EXPECT_EQ(Items(*t.ComboBoxN), QString("65536 131072 262144 524288").split(' '));
  EXPECT_EQ(t.ComboBoxT->currentIndex(), 2);
  EXPECT_EQ(t.ComboBoxN->currentIndex(), 2);
  EXPECT_EQ(t.RadioButton1->text().toStdString(), "На основе БПФ");
  EXPECT_EQ(t.RadioButton1->toolTip().toStdString(),
            "Расчёт  корреляционных фукнций на основе БПФ");
  EXPECT_EQ(t.RadioButton2->text().toStdString(), "Прямой расчёт");
  EXPECT_EQ(t.RadioButton2->toolTip().toStdString(), "Прямой расчёт корреляционных функций");
  EXPECT_TRUE(t.RadioButton1->isChecked());
  EXPECT_FALSE(t.RadioButton2->isChecked());
  EXPECT_EQ(t.CheckBox1->text().toStdString(), "Индикатор");
  EXPECT_EQ(t.CheckBox1->toolTip().toStdString(), "Показывать индикатор хода выполнения БПФ");
  EXPECT_TRUE(t.CheckBox1->isChecked());
  EXPECT_EQ(t.Button1->text().toStdString(), "Готово");
  EXPECT_EQ(t.Button2->text().toStdString(), "По умолчанию");
  EXPECT_EQ(t.Button2->toolTip().toStdString(), "Восстановить настройки по умолчанию");
  EXPECT_EQ(t.ChosenPeriod, 0);
  EXPECT_EQ(t.ChosenLength, 0);
  EXPECT_TRUE(t.CorrelationByFft());
}

TEST(ModelSettingsWindow, UntouchedCloseChangesNothing) {
  TFormTurn t;
  ModalScript script;
  script.Then([&](QDialog&) { QTest::mouseClick(t.Button1, Qt::LeftButton); });
  platform::ShowModal(t);
  EXPECT_FALSE(t.Changed);
  EXPECT_EQ(t.ChosenPeriod, 0);
  EXPECT_EQ(t.ChosenLength, 0);
}

TEST(ModelSettingsWindow, DefaultsThenReadyReportTheDefaultSettings) {
  TFormTurn t;
  ModalScript script;
  script.Then([&](QDialog&) {
    input::ChooseItem(*t.ComboBoxT, 0);
    input::ChooseItem(*t.ComboBoxN, 3);
    QTest::mouseClick(t.RadioButton2, Qt::LeftButton);
    QTest::mouseClick(t.CheckBox1, Qt::LeftButton);
    EXPECT_FALSE(t.CheckBox1->isChecked());
    QTest::mouseClick(t.Button2, Qt::LeftButton);
    EXPECT_EQ(t.ComboBoxT->currentIndex(), 2);
    EXPECT_EQ(t.ComboBoxN->currentIndex(), 2);
    EXPECT_TRUE(t.RadioButton1->isChecked());
    EXPECT_FALSE(t.RadioButton2->isChecked());
    EXPECT_TRUE(t.CheckBox1->isChecked());
    QTest::mouseClick(t.Button1, Qt::LeftButton);
  });
  platform::ShowModal(t);
  EXPECT_TRUE(t.Changed);
  EXPECT_EQ(t.ChosenPeriod, 0.005);
  EXPECT_EQ(t.ChosenLength, 262144);
  EXPECT_TRUE(t.CorrelationByFft());

  // Defaults alone, at a later opening, also count as a change.
  script.Then([&](QDialog&) {
    EXPECT_FALSE(t.Changed);
    t.Button2->click();
    t.Button1->click();
  });
  platform::ShowModal(t);
  EXPECT_TRUE(t.Changed);
}

TEST(ModelSettingsWindow, OnlyARadioButtonChoiceIsNoChange) {
  TFormTurn t;
  ModalScript script;
  script.Then([&](QDialog&) {
    QTest::mouseClick(t.RadioButton2, Qt::LeftButton);
    EXPECT_TRUE(t.RadioButton2->isChecked());
    QTest::mouseClick(t.Button1, Qt::LeftButton);
  });
  platform::ShowModal(t);
  EXPECT_FALSE(t.Changed);
  EXPECT_EQ(t.ChosenPeriod, 0);
  EXPECT_EQ(t.ChosenLength, 0);
  EXPECT_FALSE(t.CorrelationByFft());
}

TEST(ModelSettingsWindow, ListsAndCheckBoxSetChangedAndCloseDecodesThem) {
  TFormTurn t;
  ModalScript script;
  // Period to 0,01 and back: still a change.
  script.Then([&](QDialog&) {
    input::ChooseItem(*t.ComboBoxT, 3);
    input::ChooseItem(*t.ComboBoxT, 2);
    t.Button1->click();
  });
  platform::ShowModal(t);
  EXPECT_TRUE(t.Changed);
  EXPECT_EQ(t.ChosenPeriod, 0.005);
  EXPECT_EQ(t.ChosenLength, 262144);

  script.Then([&](QDialog&) {
    input::ChooseItem(*t.ComboBoxT, 0);
    input::ChooseItem(*t.ComboBoxN, 3);
    t.Button1->click();
  });
  platform::ShowModal(t);
  EXPECT_EQ(t.ChosenPeriod, 0.0005);
  EXPECT_EQ(t.ChosenLength, 524288);

  script.Then([&](QDialog&) {
    QTest::mouseClick(t.CheckBox1, Qt::LeftButton);
    t.Button1->click();
  });
  platform::ShowModal(t);
  EXPECT_TRUE(t.Changed);
  EXPECT_FALSE(t.CheckBox1->isChecked());
  EXPECT_EQ(t.ChosenPeriod, 0.0005);  // decoded again from the unchanged lists
}

TEST(ModelSettingsWindow, EnterAndEscapeDoNotCloseIt) {
  TFormTurn t;
  ModalScript script;
  script.Then([&](QDialog& d) {
    t.ComboBoxT->setFocus();
    QTest::keyClick(t.ComboBoxT, Qt::Key_Return);
    QTest::keyClick(t.ComboBoxT, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    // Enter on the focused button presses it.
    t.Button1->setFocus();
    QTest::keyClick(t.Button1, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  });
  platform::ShowModal(t);
  EXPECT_FALSE(t.Changed);
}
