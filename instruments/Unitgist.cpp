#include "instruments/Unitgist.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/Editfloatunit.h"

TFormGist* FormGist = nullptr;

TFormGist::TFormGist(QWidget* parent)
    : platform::Dialog(parent, QString::fromUtf8("Гистограмма"), 194, 233,
                       platform::FrameButtons::CloseOnly) {
  GroupBox1 = new QGroupBox(QString::fromUtf8(" Интервал "), this);
  GroupBox1->setGeometry(8, 8, 178, 56);
  EditFloat1 = new TEditFloat(GroupBox1);
  EditFloat1->setGeometry(10, 24, 96, 21);
  EditFloat1->Load(editfloat::FieldDesign{"0,1", 0.01, 100, 0.1}, 10);
  EditFloat1->SetColor(platform::SystemColor::Menu);
  EditFloat1->setEnabled(false);
  CheckBox1 = new QCheckBox(QString::fromUtf8("Авто"), GroupBox1);
  CheckBox1->setGeometry(116, 25, 56, 20);
  CheckBox1->setChecked(true);

  GroupBox2 = new QGroupBox(QString::fromUtf8(" Наложить"), this);
  GroupBox2->setGeometry(8, 70, 178, 118);
  RadioButton3 = new QRadioButton(QString::fromUtf8("Только гистограмма"), GroupBox2);
  RadioButton3->setGeometry(10, 20, 160, 20);
  RadioButton1 = new QRadioButton(QString::fromUtf8("Нормальный закон "), GroupBox2);
  RadioButton1->setGeometry(10, 44, 160, 20);
  RadioButton2 = new QRadioButton(QString::fromUtf8("Равномерный закон"), GroupBox2);
  RadioButton2->setGeometry(10, 68, 160, 20);
  RadioButton4 = new QRadioButton(QString::fromUtf8("Теоретический закон"), GroupBox2);
  RadioButton4->setGeometry(10, 92, 160, 20);
  RadioButton3->setChecked(true);

  Button1 = new QPushButton(QString::fromUtf8("Готово"), this);
  Button1->setGeometry(10, 198, 80, 27);
  Button2 = new QPushButton(QString::fromUtf8("Отмена"), this);
  Button2->setGeometry(104, 198, 80, 27);
  setTabOrder(Button1, Button2);
  setTabOrder(Button2, EditFloat1);
  setTabOrder(EditFloat1, CheckBox1);
  setTabOrder(CheckBox1, RadioButton3);

  connect(Button1, &QPushButton::clicked, this, &TFormGist::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFormGist::Button2Click);
  connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  connect(EditFloat1, &TEditFloat::Exit, this, &TFormGist::EditFloat1Exit);
  connect(EditFloat1, &TEditFloat::KeyDown, this, &TFormGist::EditFloat1KeyDown);
}

void TFormGist::FormShow() {
  Accepted = false;
  Button1->setFocus();
}

void TFormGist::Button1Click() {
  Accepted = true;
  accept();
}

void TFormGist::Button2Click() {
  Accepted = false;
  reject();
}

void TFormGist::CheckBox1Click() {
  const bool automatic = CheckBox1->isChecked();
  EditFloat1->SetColor(automatic ? platform::SystemColor::Menu : platform::SystemColor::Window);
  EditFloat1->setEnabled(!automatic);
}

void TFormGist::EditFloat1Exit(TEditFloat* Sender) {
  Sender->GetModify();
}

void TFormGist::EditFloat1KeyDown(TEditFloat* Sender, int Key) {
  if (Key == TEditFloat::KeyEnter) Sender->GetModify();
}
