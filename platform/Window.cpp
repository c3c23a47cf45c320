#include "platform/Window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace platform {
namespace {
QScreen* ScreenOf(QWidget& w) {
  QScreen* s = w.screen();
  return s != nullptr ? s : QGuiApplication::primaryScreen();
}
}  // namespace

void ShowMaximized(QWidget& w) {
  if (QScreen* s = ScreenOf(w)) w.setGeometry(s->availableGeometry());
  w.showMaximized();
}

void CenterOnScreen(QWidget& w) {
  if (QScreen* s = ScreenOf(w)) {
    QRect r = w.frameGeometry();
    r.moveCenter(s->availableGeometry().center());
    w.move(r.topLeft());
  }
}

}  // namespace platform
