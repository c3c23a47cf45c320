#include "model/Unitnlcircuit.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "app/Editfloatunit.h"
#include "platform/Jpeg.h"

TFormCircuit* FormCircuit = nullptr;

namespace {
constexpr int PictureWidth = 300;
constexpr int PictureHeight = 250;
}  // namespace

TFormCircuit::TFormCircuit(QWidget* parent)
    : platform::Dialog(parent, QString::fromUtf8("Нелинейная безынерционная цепь"), 524, 371,
                       platform::FrameButtons::None) {
  setObjectName("FormCircuit");
  PageControl1 = new QTabWidget(this);
  PageControl1->setGeometry(8, 8, 508, 318);
  // Eight tabs side by side in the window's width, without scroll arrows.
  PageControl1->tabBar()->setStyleSheet(
      "QTabBar::tab { padding: 3px 7px; margin-right: 1px; border: 1px solid #a0a0a0;"
      " border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px;"
      " background: #e4e4e4; }"
      "QTabBar::tab:selected { background: #fafafa; }"
      "QTabBar::tab:!selected { margin-top: 2px; }");
  PageControl1->setUsesScrollButtons(false);

  std::array<int, model::CircuitCount> placed{};  // fields placed on each page so far
  std::array<QWidget*, model::CircuitCount> pages{};
  for (int page = 0; page < model::CircuitCount; ++page) {
    auto* sheet = new QWidget;
    pages[page] = sheet;
    Panels[page] = new QFrame(sheet);
    Panels[page]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panels[page]->setLineWidth(1);
    Panels[page]->setGeometry(8, 10, PictureWidth + 2, PictureHeight + 2);
    Images[page] = new QLabel(Panels[page]);
    Images[page]->setGeometry(1, 1, PictureWidth, PictureHeight);
    Images[page]->setAutoFillBackground(true);
    QPalette white = Images[page]->palette();
    white.setColor(QPalette::Window, Qt::white);
    Images[page]->setPalette(white);
    const QImage picture = platform::StoredPicture(QString("circuit%1.jpg").arg(page + 1));
    if (!picture.isNull()) Images[page]->setPixmap(QPixmap::fromImage(picture));
    PageControl1->addTab(sheet, QString::fromUtf8("Цепь %1").arg(page + 1));
  }
  for (int i = 0; i < 16; ++i) {
    const model::CircuitField& d = model::CircuitFields[i];
    const int row = placed[d.page]++;
    Groups[i] = new QGroupBox(QString::fromUtf8(d.caption), pages[d.page]);
    Groups[i]->setGeometry(322, 10 + row * 62, 170, 54);
    Fields[i] = new TEditFloat(Groups[i]);
    Fields[i]->setGeometry(10, 22, 150, 21);
    Fields[i]->setObjectName(QString("EditFloat%1").arg(i + 1));
    Fields[i]->Load(editfloat::FieldDesign{editfloat::FormatG(d.initial), d.min, d.max, d.initial},
                    0);
    connect(Fields[i], &TEditFloat::Exit, this, &TFormCircuit::EditFloat1Exit);
    connect(Fields[i], &TEditFloat::KeyDown, this, &TFormCircuit::EditFloat1KeyDown);
  }
  EditFloat1 = Fields[0];
  EditFloat2 = Fields[1];
  EditFloat3 = Fields[2];
  EditFloat4 = Fields[3];
  EditFloat5 = Fields[4];
  EditFloat6 = Fields[5];
  EditFloat7 = Fields[6];
  EditFloat8 = Fields[7];
  EditFloat9 = Fields[8];
  EditFloat10 = Fields[9];
  EditFloat11 = Fields[10];
  EditFloat12 = Fields[11];
  EditFloat13 = Fields[12];
  EditFloat14 = Fields[13];
  EditFloat15 = Fields[14];
  EditFloat16 = Fields[15];
  PageControl1->setCurrentIndex(0);

  Button1 = new QPushButton(QString::fromUtf8("Готово"), this);
  Button1->setGeometry(224, 336, 75, 27);
  setTabOrder(PageControl1, Button1);

  connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
  connect(Button1, &QPushButton::clicked, this, &TFormCircuit::Button1Click);
}

model::CircuitParams TFormCircuit::Params() const {
  model::CircuitParams p;
  p.page = PageControl1->currentIndex();
  double* values[16] = {&p.S,  &p.x0,  &p.x1, &p.x2, &p.y1, &p.y2, &p.a3, &p.a4,
                        &p.a5, &p.x05, &p.a6, &p.b6, &p.a7, &p.b7, &p.D,  &p.K};
  for (int i = 0; i < 16; ++i) *values[i] = Fields[i]->Val();
  p.k = k;
  p.c = c;
  return p;
}

double TFormCircuit::Transfer(double x) const {
  return model::Transfer(Params(), x);
}

void TFormCircuit::FormShow() {
  Changed = false;
  Button1->setFocus();
}

void TFormCircuit::PageControl1Change() {
  Changed = true;
}

void TFormCircuit::EditFloat1Exit(TEditFloat* Sender) {
  // Committed even when Changed is already set, so the value used is the one shown.
  const bool modified = Sender->GetModify();
  Changed = Changed || modified;
}

void TFormCircuit::EditFloat1KeyDown(TEditFloat* Sender, int Key) {
  if (Key == TEditFloat::KeyEnter) EditFloat1Exit(Sender);
}

void TFormCircuit::Button1Click() {
  accept();
}

void TFormCircuit::FormClose() {
  model::CircuitParams p = Params();
  model::CloseCircuit(p);  // orders (x1, x2) and (y1, y2)
  EditFloat3->SetVal(p.x1);
  EditFloat4->SetVal(p.x2);
  EditFloat5->SetVal(p.y1);
  EditFloat6->SetVal(p.y2);
  // The slope and intercept follow the values as the fields now hold them (SetVal keeps
  // what the text shows), so the segment meets both levels exactly.
  p = Params();
  Description = model::CloseCircuit(p);
  k = p.k;
  c = p.c;
}
