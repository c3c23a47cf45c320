// Hand-run demo of the switch control (not a test): every form of the switch in one window,
// a row per side of the contacts (left, right, top, bottom) and a column per type and
// channel. Click a switch to flip it; the two right-hand columns draw with 3-pixel lines in
// colour and only report their clicks below.
//
//   build/switchdemo                 interactive
//   build/switchdemo --shot out.png  saves the window picture and exits
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <cstdio>

#include "app/Switchimage.h"

namespace {

constexpr int Side = 90;

QWidget* Cell(QWidget* parent, ORIENTATION o, SWITCH_TYPE t, CHANELS c, bool styled,
              QLabel* status) {
  auto* cell = new QWidget(parent);
  cell->setFixedSize(Side + 8, Side + 8);
  auto* s = new TSwitchImage(cell);
  s->move(4, 4);
  s->resize(Side, Side);
  s->SetOrientation(o);
  s->SetSwitchType(t);
  s->SetChanel(c);
  if (styled) {
    s->SetPenColor(0x800000);    // navy
    s->SetBrushColor(0xE0FFFF);  // light yellow
    s->SetWidthLine(3);
    s->ClickSwitch = swDisable;
  }
  s->OnClick = [s, status](QObject*) {
    status->setText(
        QStringLiteral("Нажат переключатель: канал %1%2")
            .arg(s->GetChanel() == swChanel0 ? 0 : 1)
            .arg(s->ClickSwitch == swDisable ? QStringLiteral(" (не переключается)") : QString()));
  };
  return cell;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QString shot;
  for (int i = 1; i < argc; ++i) {
    if (QString(argv[i]) == "--shot" && i + 1 < argc) shot = argv[i + 1];
  }

  QWidget window;
  window.setWindowTitle(QStringLiteral("Переключатель: все виды"));
  auto* grid = new QGridLayout(&window);
  auto* status = new QLabel(QStringLiteral("Щёлкните переключатель"), &window);
  const char* columns[] = {"swSwitch\nканал 0",          "swSwitch\nканал 1",
                           "swSwitchOff\nканал 0",       "swSwitchOff\nканал 1",
                           "swSwitch, 3 пикс.\nканал 0", "swSwitchOff, 3 пикс.\nканал 1"};
  const char* rows[] = {"swLeft", "swRight", "swUP", "swDown"};
  for (int c = 0; c < 6; ++c)
    grid->addWidget(new QLabel(QString::fromUtf8(columns[c]), &window), 0, c + 1, Qt::AlignCenter);
  for (int r = 0; r < 4; ++r) {
    grid->addWidget(new QLabel(QString::fromUtf8(rows[r]), &window), r + 1, 0);
    const auto o = static_cast<ORIENTATION>(r);
    grid->addWidget(Cell(&window, o, swSwitch, swChanel0, false, status), r + 1, 1);
    grid->addWidget(Cell(&window, o, swSwitch, swChanel1, false, status), r + 1, 2);
    grid->addWidget(Cell(&window, o, swSwitchOff, swChanel0, false, status), r + 1, 3);
    grid->addWidget(Cell(&window, o, swSwitchOff, swChanel1, false, status), r + 1, 4);
    grid->addWidget(Cell(&window, o, swSwitch, swChanel0, true, status), r + 1, 5);
    grid->addWidget(Cell(&window, o, swSwitchOff, swChanel1, true, status), r + 1, 6);
  }
  grid->addWidget(status, 5, 0, 1, 7);
  window.show();

  if (!shot.isEmpty()) {
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    app.processEvents();
    if (!window.grab().save(shot)) {
      std::fprintf(stderr, "switchdemo: cannot write %s\n", qPrintable(shot));
      return 1;
    }
    return 0;
  }
  return app.exec();
}
