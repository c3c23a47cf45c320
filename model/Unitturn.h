#pragma once
// TFormTurn: the model-settings window: sampling period, realization length, the method of
// the correlation-function graphs and the FFT progress indicator. Closing it with changes
// decodes the two lists into ChosenPeriod and ChosenLength; the "Настройки..." command
// applies them.
#include "platform/Forms.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

class TFormTurn : public platform::Dialog {
  Q_OBJECT

 public:
  explicit TFormTurn(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;  // " Период дискретизации, мс "
  QComboBox* ComboBoxT;
  QGroupBox* GroupBox2;  // " Длина реализации "
  QComboBox* ComboBoxN;
  QGroupBox* GroupBox3;        // "  Расчёт КФ  "
  QRadioButton* RadioButton1;  // "На основе БПФ"
  QRadioButton* RadioButton2;  // "Прямой расчёт"
  QGroupBox* GroupBox4;        // " Модуль БПФ "
  QCheckBox* CheckBox1;        // "Индикатор"
  QPushButton* Button1;        // "Готово"
  QPushButton* Button2;        // "По умолчанию"

  // A setting was touched since the window was last shown (the radio buttons never count).
  bool Changed = false;
  // Decoded at the last close with Changed set; 0 until then.
  double ChosenPeriod = 0;  // ms
  int ChosenLength = 0;

  // The correlation-function graphs go through the FFT unless "Прямой расчёт" is chosen.
  bool CorrelationByFft() const;

  // Handlers.
  void ComboBoxTChange();
  void CheckBox1Click();
  void Button1Click();
  void Button2Click();

 protected:
  void FormShow() override;
  void FormClose() override;
};

extern TFormTurn* FormTurn;
