#pragma once
// TFormInd: an indicator window: the reading with its unit, and the number of decimals the
// reading is shown with.
#include "platform/Forms.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TFormInd : public platform::Dialog {
  Q_OBJECT

 public:
  explicit TFormInd(QWidget* parent = nullptr);

  QGroupBox* GroupBox2;  // " Показания "
  QLineEdit* Edit1;      // the reading and its unit, read-only
  QGroupBox* GroupBox1;  // " Количество знаков после запятой "
  QComboBox* ComboBox1;  // "0" .. "5": the number of decimals
  QPushButton* Button1;  // "Готово"

  // Handlers.
  void Button1Click();

 protected:
  void FormShow() override;
};

extern TFormInd* FormIndIpvIn;
extern TFormInd* FormIndIpvOut;
extern TFormInd* FormIndKorIn;
extern TFormInd* FormIndKorOut;
