#include "model/Unitgenerator.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

#include "app/Editfloatunit.h"

TFormGenerator* FormGenerator = nullptr;

namespace {

// Which fields each kind uses: A, D, M, Fr.
struct KindFields {
  bool A, D, M, Fr;
};
constexpr KindFields FieldsOfKind[5] = {
    {false, false, false, false},  // "Выключен"
    {true, false, true, true},     // "Гармонический"
    {false, true, true, false},  // "Шум с равномерным распределением"
    {false, true, true, false},  // "Гауссов шум"
    {true, true, true, true},    // "Гармонический + гауссов шум"
};

// Field length limit of the four parameters.
constexpr int ParamLength = 6;

void Enable(TEditFloat& field, bool on) {
  field.SetColor(on ? platform::SystemColor::Window : platform::SystemColor::Menu);
  field.setEnabled(on);
}

TEditFloat* ParamGroup(QGroupBox*& group, QWidget* parent, const char* caption, int x, int y,
                       const model::FieldLimits& limits) {
  group = new QGroupBox(QString::fromUtf8(caption), parent);
  group->setGeometry(x, y, 125, 60);
  auto* field = new TEditFloat(group);
  field->setGeometry(10, 24, 105, 21);
  field->Load(editfloat::FieldDesign{editfloat::FormatG(limits.initial), limits.min, limits.max,
                                     limits.initial},
              ParamLength);
  Enable(*field, false);
  return field;
}

}  // namespace

TFormGenerator::TFormGenerator(QWidget* parent)
    : platform::Dialog(parent, QString::fromUtf8("Генератор"), 291, 303,
                       platform::FrameButtons::None) {
  setObjectName("FormGenerator");
  GroupBox1 = new QGroupBox(QString::fromUtf8("Сигнал"), this);
  GroupBox1->setGeometry(8, 8, 275, 56);
  ComboBox1 = new QComboBox(GroupBox1);
  ComboBox1->setGeometry(10, 22, 255, 22);
  for (const char* kind : model::SignalKindTexts) ComboBox1->addItem(QString::fromUtf8(kind));
  ComboBox1->setCurrentIndex(model::KindOff);

  GroupBox2 = new QGroupBox(QString::fromUtf8("Параметры"), this);
  GroupBox2->setGeometry(8, 72, 275, 178);
  EditFloatM = ParamGroup(GroupBox3, GroupBox2, "Мат. ожидание, мВ  ", 8, 22, model::LimitsM);
  EditFloatD = ParamGroup(GroupBox4, GroupBox2, "СКО, мВ ", 142, 22, model::LimitsD);
  EditFloatA = ParamGroup(GroupBox5, GroupBox2, " Амплитуда, мВ ", 8, 100, model::LimitsA);
  EditFloatFr = ParamGroup(GroupBox6, GroupBox2, " Частота, кГц ", 142, 100, model::LimitsFr);

  Button1 = new QPushButton(QString::fromUtf8("Готово"), this);
  Button1->setGeometry(108, 264, 75, 27);

  // "Готово" first in the tab order.
  setTabOrder(Button1, ComboBox1);
  setTabOrder(ComboBox1, EditFloatM);
  setTabOrder(EditFloatM, EditFloatD);
  setTabOrder(EditFloatD, EditFloatA);
  setTabOrder(EditFloatA, EditFloatFr);

  connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
  for (TEditFloat* f : {EditFloatM, EditFloatD, EditFloatA, EditFloatFr}) {
    connect(f, &TEditFloat::Exit, this, &TFormGenerator::EditFloatAExit);
    connect(f, &TEditFloat::KeyDown, this, &TFormGenerator::EditFloatAKeyDown);
  }
  connect(Button1, &QPushButton::clicked, this, &TFormGenerator::Button1Click);

  Description = windowTitle().toStdString() + ": выключен";
}

model::GeneratorParams TFormGenerator::Params() const {
  model::GeneratorParams p;
  p.kind = ComboBox1->currentIndex();
  p.Fr = EditFloatFr->Val();
  p.A = EditFloatA->Val();
  p.M = EditFloatM->Val();
  p.D = EditFloatD->Val();
  return p;
}

model::GeneratorTexts TFormGenerator::Texts() const {
  return {EditFloatA->TextUtf8(), EditFloatFr->TextUtf8(), EditFloatD->TextUtf8(),
          EditFloatM->TextUtf8()};
}

std::string TFormGenerator::CurrentDescription() const {
  return model::DescribeGenerator(windowTitle().toStdString(), ComboBox1->currentIndex(), Texts(),
                                  Description);
}

void TFormGenerator::Reset(int startIndex) {
  Gen.Reset(startIndex, EditFloatFr->Val());
}

double TFormGenerator::NextSample() {
  return Gen.NextSample(Params());
}

void TFormGenerator::Fill(double* out, int n) {
  Gen.Fill(Params(), out, n);
}

void TFormGenerator::FormShow() {
  Changed = false;
  Button1->setFocus();
}

void TFormGenerator::ComboBox1Change() {
  Changed = true;
  const int kind = ComboBox1->currentIndex();
  if (kind < 0 || kind >= 5) return;
  const KindFields& on = FieldsOfKind[kind];
  Enable(*EditFloatA, on.A);
  Enable(*EditFloatD, on.D);
  Enable(*EditFloatM, on.M);
  Enable(*EditFloatFr, on.Fr);
}

void TFormGenerator::EditFloatAExit(TEditFloat* Sender) {
  // The field is committed even when Changed is already set, so the value used is always
  // the one shown.
  const bool modified = Sender->GetModify();
  Changed = Changed || modified;
}

void TFormGenerator::EditFloatAKeyDown(TEditFloat* Sender, int Key) {
  if (Key == TEditFloat::KeyEnter) EditFloatAExit(Sender);
}

void TFormGenerator::Button1Click() {
  accept();
}

void TFormGenerator::FormClose() {
  Description = CurrentDescription();
}
