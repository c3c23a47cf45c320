#pragma once
// TFormKor: the correlometer window: its delay.
#include "platform/Forms.h"

class QGroupBox;
class QPushButton;
class TEditFloat;

class TFormKor : public platform::Dialog {
  Q_OBJECT

 public:
  explicit TFormKor(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;      // "  Задержка, мс  "
  TEditFloat* EditFloatTau;  // delay, ms
  QPushButton* Button1;      // "Готово"

  // Handlers.
  void EditFloatTauExit(TEditFloat* Sender);
  void EditFloatTauKeyDown(TEditFloat* Sender, int Key);
  void Button1Click();

 protected:
  void FormShow() override;
};

extern TFormKor* FormKor;
extern TFormKor* FormKorOut;
