#include "app/Hellounit.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include "platform/Cursor.h"
#include "platform/Image.h"
#include "platform/Jpeg.h"

THelloForm::THelloForm(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("HelloForm");
  setAttribute(Qt::WA_DeleteOnClose);  // the close action frees the window
  // The card never keeps the program alive: closing the bench while it is shown ends the
  // program at once.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(400, 300);

  Image1 = new TImage(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(0, 0, 400, 300);
  Image1->Picture().Assign(platform::StoredPicture("hello.jpg"));
  Image1->SetCursor(crAppStart);
  Image1->OnClick = [this](QObject*) { FormClick(); };

  Timer1 = new QTimer(this);
  Timer1->setInterval(5000);
  Timer1->setSingleShot(false);
  connect(Timer1, &QTimer::timeout, this, &THelloForm::Timer1Timer);
  Timer1->start();

  // Centred on the primary monitor.
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    QRect r(0, 0, 400, 300);
    r.moveCenter(s->geometry().center());
    move(r.topLeft());
  }
  // FormCreate.
  platform::SetScreenCursor(platform::ScreenCursor::AppStart);
}

void THelloForm::Timer1Timer() {
  Timer1->stop();
  close();
}

void THelloForm::FormClick() {
  close();
}

void THelloForm::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  FormClick();
}

void THelloForm::closeEvent(QCloseEvent* event) {
  platform::SetScreenCursor(platform::ScreenCursor::Default);
  QWidget::closeEvent(event);
}

namespace {
QPointer<THelloForm> g_hello;
}

THelloForm* ShowHelloForm() {
  auto* hello = new THelloForm();
  g_hello = hello;
  hello->show();
  hello->repaint();
  return hello;
}

void RaiseHelloForm() {
  if (g_hello != nullptr && g_hello->isVisible()) g_hello->raise();
}
