#include "platform/Image.h"

#include <QMouseEvent>
#include <QPainter>

Qt::CursorShape CursorShapeOf(TCursor c) {
  switch (c) {
    case crNone:
      return Qt::BlankCursor;
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crSizeAll:
      return Qt::SizeAllCursor;
    case crSizeNS:
      return Qt::SizeVerCursor;
    case crSizeWE:
      return Qt::SizeHorCursor;
    case crUpArrow:
      return Qt::UpArrowCursor;
    case crHourGlass:
      return Qt::WaitCursor;
    case crNo:
      return Qt::ForbiddenCursor;
    case crAppStart:
      return Qt::BusyCursor;
    case crHelp:
      return Qt::WhatsThisCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    default:
      return Qt::ArrowCursor;
  }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

TImage::TImage(QWidget* Owner) : QWidget(Owner) {
  setMouseTracking(true);
  picture_.SetOnChange([this] { update(); });
}

TImage::~TImage() {
  picture_.SetOnChange(nullptr);
}

void TImage::SetStretch(bool on) {
  stretch_ = on;
  update();
}

void TImage::SetCursor(TCursor c) {
  cursor_ = c;
  if (c == crDefault) {
    unsetCursor();
  } else {
    setCursor(QCursor(CursorShapeOf(c)));
  }
}

void TImage::SetHint(const QString& hint) {
  hint_ = hint;
  ApplyHint();
}

void TImage::SetShowHint(bool on) {
  showHint_ = on;
  ApplyHint();
}

void TImage::ApplyHint() {
  setToolTip(showHint_ ? hint_ : QString());
}

void TImage::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TImage::Click() {
  if (OnClick) OnClick(this);
}

void TImage::paintEvent(QPaintEvent*) {
  const QImage& image = picture_.Image();
  if (image.isNull()) return;
  QPainter p(this);
  if (stretch_) {
    p.drawImage(rect(), image);
  } else {
    p.drawImage(0, 0, image);
  }
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  MouseMove(ShiftStateOf(event->modifiers(), event->buttons()), pos.x(), pos.y());
}

void TImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) pressed_ = false;
  if (click) Click();
}
