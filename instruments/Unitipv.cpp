#include "instruments/Unitipv.h"

#include <QGroupBox>
#include <QPushButton>

#include "app/Editfloatunit.h"
#include "instruments/Density.h"

TFormIPV* FormIPV = nullptr;
TFormIPV* FormIPVOut = nullptr;

TFormIPV::TFormIPV(QWidget* parent)
    : platform::Dialog(parent, QString::fromUtf8("ИПВ вход"), 217, 194,
                       platform::FrameButtons::None) {
  GroupBox1 = new QGroupBox(QString::fromUtf8(" Уровень, мВ "), this);
  GroupBox1->setGeometry(8, 8, 201, 60);
  EditFloatL = new TEditFloat(GroupBox1);
  EditFloatL->setGeometry(10, 26, 181, 21);
  EditFloatL->Load(editfloat::FieldDesign{"0", -100000, 100000, 0}, 10);

  GroupBox2 = new QGroupBox(QString::fromUtf8(" Интервал, мВ "), this);
  GroupBox2->setGeometry(8, 76, 201, 60);
  EditFloatI = new TEditFloat(GroupBox2);
  EditFloatI->setGeometry(10, 26, 181, 21);
  EditFloatI->Load(editfloat::FieldDesign{"0,1", 0.001, 10000, 0.1}, 10);

  Button1 = new QPushButton(QString::fromUtf8("Готово"), this);
  Button1->setGeometry(71, 152, 75, 27);
  setTabOrder(Button1, EditFloatL);
  setTabOrder(EditFloatL, EditFloatI);

  for (TEditFloat* f : {EditFloatL, EditFloatI}) {
    connect(f, &TEditFloat::Exit, this, &TFormIPV::EditFloatLExit);
    connect(f, &TEditFloat::KeyDown, this, &TFormIPV::EditFloatLKeyDown);
  }
  connect(Button1, &QPushButton::clicked, this, &TFormIPV::Button1Click);
}

double TFormIPV::Measure(const double* samples, double count) const {
  return instruments::DensityAt(samples, EditFloatI->Val(), EditFloatL->Val(), count);
}

void TFormIPV::FormShow() {
  Button1->setFocus();
}

void TFormIPV::EditFloatLExit(TEditFloat* Sender) {
  Sender->GetModify();
}

void TFormIPV::EditFloatLKeyDown(TEditFloat* Sender, int Key) {
  if (Key == TEditFloat::KeyEnter) Sender->GetModify();
}

void TFormIPV::Button1Click() {
  accept();
}
