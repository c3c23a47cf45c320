#pragma once
// TFormIPV: the probability-density meter window: its level and interval, and the
// estimate of a realization with them.
#include "platform/Forms.h"

class QGroupBox;
class QPushButton;
class TEditFloat;

class TFormIPV : public platform::Dialog {
  Q_OBJECT

 public:
  explicit TFormIPV(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;    // " Уровень, мВ "
  TEditFloat* EditFloatL;  // level, mV
  QGroupBox* GroupBox2;    // " Интервал, мВ "
  TEditFloat* EditFloatI;  // interval, mV
  QPushButton* Button1;    // "Готово"

  // The density of samples[0 .. count) at the meter's level, with its interval (1/mV).
  double Measure(const double* samples, double count) const;

  // Handlers.
  void EditFloatLExit(TEditFloat* Sender);
  void EditFloatLKeyDown(TEditFloat* Sender, int Key);
  void Button1Click();

 protected:
  void FormShow() override;
};

extern TFormIPV* FormIPV;
extern TFormIPV* FormIPVOut;
