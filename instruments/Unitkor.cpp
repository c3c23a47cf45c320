#include "instruments/Unitkor.h"

#include <QGroupBox>
#include <QPushButton>

#include "app/Editfloatunit.h"

TFormKor* FormKor = nullptr;
TFormKor* FormKorOut = nullptr;

TFormKor::TFormKor(QWidget* parent)
    : platform::Dialog(parent, QString::fromUtf8("Коррелометр вход"), 171, 117,
                       platform::FrameButtons::None) {
  GroupBox1 = new QGroupBox(QString::fromUtf8("  Задержка, мс  "), this);
  GroupBox1->setGeometry(8, 8, 155, 60);
  EditFloatTau = new TEditFloat(GroupBox1);
  EditFloatTau->setGeometry(10, 26, 135, 21);
  EditFloatTau->Load(editfloat::FieldDesign{"0", 0, 1000, 0}, 0);

  Button1 = new QPushButton(QString::fromUtf8("Готово"), this);
  Button1->setGeometry(48, 80, 75, 27);
  setTabOrder(EditFloatTau, Button1);

  connect(EditFloatTau, &TEditFloat::Exit, this, &TFormKor::EditFloatTauExit);
  connect(EditFloatTau, &TEditFloat::KeyDown, this, &TFormKor::EditFloatTauKeyDown);
  connect(Button1, &QPushButton::clicked, this, &TFormKor::Button1Click);
}

void TFormKor::FormShow() {
  // The delay group is first in the tab order: the field takes the focus.
  EditFloatTau->setFocus();
}

void TFormKor::EditFloatTauExit(TEditFloat* Sender) {
  Sender->GetModify();
}

void TFormKor::EditFloatTauKeyDown(TEditFloat* Sender, int Key) {
  if (Key == TEditFloat::KeyEnter) Sender->GetModify();
}

void TFormKor::Button1Click() {
  accept();
}
