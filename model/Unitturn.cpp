#include "model/Unitturn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "model/SampleStore.h"

TFormTurn* FormTurn = nullptr;

namespace {
constexpr int DefaultIndex = 2;  // 0,005 ms and 262144 samples
const char* const PeriodTexts[] = {"0,0005", "0,001", "0,005", "0,01"};
static_assert(std::size(PeriodTexts) == std::size(model::SamplingPeriodChoices));
}  // namespace

TFormTurn::TFormTurn(QWidget* parent)
    : platform::Dialog(parent, QString::fromUtf8("Настройки численной модели"), 347, 198,
                       platform::FrameButtons::None) {
  setObjectName("FormTurn");
  GroupBox1 = new QGroupBox(QString::fromUtf8(" Период дискретизации, мс "), this);
  GroupBox1->setGeometry(8, 8, 168, 56);
  ComboBoxT = new QComboBox(GroupBox1);
  ComboBoxT->setGeometry(10, 24, 148, 22);
  for (const char* t : PeriodTexts) ComboBoxT->addItem(QString::fromUtf8(t));

  GroupBox2 = new QGroupBox(QString::fromUtf8(" Длина реализации "), this);
  GroupBox2->setGeometry(8, 72, 168, 56);
  ComboBoxN = new QComboBox(GroupBox2);
  ComboBoxN->setGeometry(10, 24, 148, 22);
  for (int n : model::SampleCountChoices) ComboBoxN->addItem(QString::number(n));

  GroupBox3 = new QGroupBox(QString::fromUtf8("  Расчёт КФ  "), this);
  GroupBox3->setGeometry(184, 8, 155, 70);
  RadioButton1 = new QRadioButton(QString::fromUtf8("На основе БПФ"), GroupBox3);
  RadioButton1->setGeometry(10, 22, 140, 20);
  RadioButton1->setToolTip(QString::fromUtf8("Расчёт  корреляционных фукнций на основе БПФ"));
  RadioButton2 = new QRadioButton(QString::fromUtf8("Прямой расчёт"), GroupBox3);
  RadioButton2->setGeometry(10, 44, 140, 20);
  RadioButton2->setToolTip(QString::fromUtf8("Прямой расчёт корреляционных функций"));

  GroupBox4 = new QGroupBox(QString::fromUtf8(" Модуль БПФ "), this);
  GroupBox4->setGeometry(184, 84, 155, 48);
  CheckBox1 = new QCheckBox(QString::fromUtf8("Индикатор"), GroupBox4);
  CheckBox1->setGeometry(10, 21, 140, 20);
  CheckBox1->setToolTip(QString::fromUtf8("Показывать индикатор хода выполнения БПФ"));

  Button1 = new QPushButton(QString::fromUtf8("Готово"), this);
  Button1->setGeometry(40, 156, 110, 27);
  Button2 = new QPushButton(QString::fromUtf8("По умолчанию"), this);
  Button2->setGeometry(197, 156, 110, 27);
  Button2->setToolTip(QString::fromUtf8("Восстановить настройки по умолчанию"));

  ComboBoxT->setCurrentIndex(DefaultIndex);
  ComboBoxN->setCurrentIndex(DefaultIndex);
  RadioButton1->setChecked(true);
  CheckBox1->setChecked(true);

  connect(ComboBoxT, &QComboBox::activated, this, [this] { ComboBoxTChange(); });
  connect(ComboBoxN, &QComboBox::activated, this, [this] { ComboBoxTChange(); });
  connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  connect(Button1, &QPushButton::clicked, this, &TFormTurn::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFormTurn::Button2Click);
}

bool TFormTurn::CorrelationByFft() const {
  return !RadioButton2->isChecked();
}

void TFormTurn::FormShow() {
  Changed = false;
  Button1->setFocus();
}

void TFormTurn::ComboBoxTChange() {
  Changed = true;
}

void TFormTurn::CheckBox1Click() {
  Changed = true;
}

void TFormTurn::Button1Click() {
  accept();
}

void TFormTurn::Button2Click() {
  ComboBoxT->setCurrentIndex(DefaultIndex);
  ComboBoxN->setCurrentIndex(DefaultIndex);
  RadioButton1->setChecked(true);
  CheckBox1->setChecked(true);
  Changed = true;
}

void TFormTurn::FormClose() {
  if (!Changed) return;
  const int t = ComboBoxT->currentIndex();
  if (t >= 0 && t < int(std::size(model::SamplingPeriodChoices)))
    ChosenPeriod = model::SamplingPeriodChoices[t];
  const int n = ComboBoxN->currentIndex();
  if (n >= 0 && n < int(std::size(model::SampleCountChoices)))
    ChosenLength = model::SampleCountChoices[n];
}
