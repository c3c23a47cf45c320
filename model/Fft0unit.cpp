#include "model/Fft0unit.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

TFFT0Form* FFT0Form = nullptr;

namespace {
constexpr int ClientWidth = 223, ClientHeight = 34;
}  // namespace

TFFT0Form::TFFT0Form(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setObjectName("FFT0Form");
  setWindowTitle(QString::fromUtf8("БПФ"));
  setModal(false);
  setFixedSize(ClientWidth, ClientHeight);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setGeometry(8, 8, 201, 16);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  Bar = ProgressBar1;
}

void TFFT0Form::SetIndicator() {
  ShowProgress = true;
  Bar = ProgressBar1;
}

void TFFT0Form::ResetIndicator() {
  ShowProgress = false;
  Bar = ProgressBar1;
}

int TFFT0Form::Transform(const double* source, int count, int size, double* imaginary,
                         double* real) {
  const int length = model::FftTransform(source, count, size, imaginary, real, this);
  if (length > 0) {
    RealPart = real;
    ImaginaryPart = imaginary;
    len = length;
  }
  return length;
}

void TFFT0Form::Begin(int length, int stages) {
  // m stages against a maximum of m - 1: the bar is full one stage before the end. A
  // one-stage transform gets the maximum 1 (a range 0..0 would show a busy animation).
  Bar->setRange(0, std::max(stages - 1, 1));
  Bar->setValue(0);
  if (!ShowProgress) return;
  setWindowTitle(QString::fromUtf8("БПФ: ") + QString::number(length));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  // Let the window system map and paint the window once; the transform then runs without
  // servicing the event loop (no user input is taken while it works), and the bar repaints
  // itself as it is stepped.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFFT0Form::Advance() {
  Bar->setValue(std::min(Bar->value() + 1, Bar->maximum()));
}

void TFFT0Form::End() {
  if (ShowProgress) hide();
}
