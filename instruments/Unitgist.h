#pragma once
// TFormGist: the histogram settings: bin width or automatic width, and the law drawn over
// the histogram. Accepted tells whether the last opening ended with "Готово".
#include "platform/Forms.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TEditFloat;

class TFormGist : public platform::Dialog {
  Q_OBJECT

 public:
  explicit TFormGist(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;        // " Интервал "
  TEditFloat* EditFloat1;      // bin width, mV
  QCheckBox* CheckBox1;        // "Авто"
  QGroupBox* GroupBox2;        // " Наложить"
  QRadioButton* RadioButton3;  // "Только гистограмма"
  QRadioButton* RadioButton1;  // "Нормальный закон "
  QRadioButton* RadioButton2;  // "Равномерный закон"
  QRadioButton* RadioButton4;  // "Теоретический закон" (the expected histogram)
  QPushButton* Button1;        // "Готово"
  QPushButton* Button2;        // "Отмена"

  bool Accepted = false;

  // Handlers.
  void Button1Click();
  void Button2Click();
  void CheckBox1Click();
  void EditFloat1Exit(TEditFloat* Sender);
  void EditFloat1KeyDown(TEditFloat* Sender, int Key);

 protected:
  void FormShow() override;
};

extern TFormGist* FormGist;
