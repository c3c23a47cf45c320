#include "instruments/Unitind.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

TFormInd* FormIndIpvIn = nullptr;
TFormInd* FormIndIpvOut = nullptr;
TFormInd* FormIndKorIn = nullptr;
TFormInd* FormIndKorOut = nullptr;

TFormInd::TFormInd(QWidget* parent)
    : platform::Dialog(parent, QString::fromUtf8("Индикатор"), 218, 153,
                       platform::FrameButtons::None) {
  GroupBox2 = new QGroupBox(QString::fromUtf8(" Показания "), this);
  GroupBox2->setGeometry(8, 4, 202, 54);
  Edit1 = new QLineEdit(QString::fromUtf8("0,0"), GroupBox2);
  Edit1->setGeometry(10, 23, 182, 21);
  Edit1->setReadOnly(true);
  platform::SetBackground(*Edit1, platform::SystemColor::Menu);

  GroupBox1 = new QGroupBox(QString::fromUtf8(" Количество знаков после запятой "), this);
  GroupBox1->setGeometry(8, 62, 202, 54);
  ComboBox1 = new QComboBox(GroupBox1);
  ComboBox1->setGeometry(10, 23, 182, 22);
  for (int i = 0; i <= 5; ++i) ComboBox1->addItem(QString::number(i));
  ComboBox1->setCurrentIndex(2);

  Button1 = new QPushButton(QString::fromUtf8("Готово"), this);
  Button1->setGeometry(71, 123, 75, 25);
  setTabOrder(Button1, Edit1);
  setTabOrder(Edit1, ComboBox1);
  connect(Button1, &QPushButton::clicked, this, &TFormInd::Button1Click);
}

void TFormInd::FormShow() {
  Button1->setFocus();
}

void TFormInd::Button1Click() {
  accept();
}
