#include "platform/UpDown.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "platform/Image.h"

namespace {

TMouseButton ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::RightButton:
      return mbRight;
    case Qt::MiddleButton:
      return mbMiddle;
    default:
      return mbLeft;
  }
}

}  // namespace

TUpDown::TUpDown(QWidget* Owner, TUDOrientation orientation)
    : QWidget(Owner), orientation_(orientation) {
  if (orientation == udVertical) {
    resize(16, 41);
  } else {
    resize(41, 16);
  }
  setFocusPolicy(Qt::NoFocus);
  repeat_.setSingleShot(false);
  connect(&repeat_, &QTimer::timeout, this, &TUpDown::Repeat);
}

TUpDown::~TUpDown() = default;

QRect TUpDown::ArrowRect(TUDBtnType b) const {
  if (orientation_ == udVertical) {
    const int half = height() / 2;
    return b == btNext ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
  }
  const int half = width() / 2;
  return b == btPrev ? QRect(0, 0, half, height()) : QRect(half, 0, width() - half, height());
}

TUDBtnType TUpDown::ArrowAt(const QPoint& p) const {
  return ArrowRect(btNext).contains(p) ? btNext : btPrev;
}

void TUpDown::Step(TUDBtnType b) {
  if (b == btNext) {
    position_ += increment_;
    if (position_ > max_) position_ = wrap_ ? min_ : max_;
  } else {
    position_ -= increment_;
    if (position_ < min_) position_ = wrap_ ? max_ : min_;
  }
  if (OnClick) OnClick(this, b);
}

bool TUpDown::MouseTakenAway() const {
  const QWidget* grabber = QWidget::mouseGrabber();
  return (grabber != nullptr && grabber != this) || QApplication::activePopupWidget() != nullptr;
}

void TUpDown::Repeat() {
  repeat_.setInterval(RepeatIntervalMs);
  if (!held_) return;
  if (!isVisible() || !isEnabled() || MouseTakenAway()) {
    LetGo();
    return;
  }
  if (overHeldArrow_) Step(heldArrow_);
}

void TUpDown::LetGo() {
  if (!held_) return;
  held_ = false;
  releaseOwed_ = true;
  setMouseTracking(false);
  repeat_.stop();
  update();
  if (OnMouseUp)
    OnMouseUp(this, mbLeft, ShiftStateOf(QApplication::keyboardModifiers(), Qt::NoButton),
              lastPos_.x(), lastPos_.y());
}

void TUpDown::hideEvent(QHideEvent* event) {
  LetGo();
  QWidget::hideEvent(event);
}

void TUpDown::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) LetGo();
  QWidget::changeEvent(event);
}

bool TUpDown::event(QEvent* event) {
  // The window passes its deactivation on to its visible controls.
  if (event->type() == QEvent::WindowDeactivate) LetGo();
  return QWidget::event(event);
}

void TUpDown::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  lastPos_ = pos;
  if (OnMouseDown)
    OnMouseDown(this, ButtonOf(event->button()), ShiftStateOf(event->modifiers(), event->buttons()),
                pos.x(), pos.y());
  if (event->button() != Qt::LeftButton || held_) return;
  releaseOwed_ = false;
  held_ = true;
  // Moves without the button then still arrive: they tell of a release that went elsewhere.
  setMouseTracking(true);
  heldArrow_ = ArrowAt(pos);
  overHeldArrow_ = true;
  update();
  repeat_.start(RepeatDelayMs);
  Step(heldArrow_);
}

void TUpDown::mouseMoveEvent(QMouseEvent* event) {
  if (!held_) return;
  lastPos_ = event->position().toPoint();
  // The left button is up, and its release went elsewhere.
  if (!(event->buttons() & Qt::LeftButton)) {
    LetGo();
    return;
  }
  const bool over = ArrowRect(heldArrow_).contains(lastPos_);
  if (over != overHeldArrow_) {
    overHeldArrow_ = over;
    update();
  }
}

void TUpDown::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && releaseOwed_ && !held_) {
    // The press this release belongs to was already ended, and reported, by LetGo.
    releaseOwed_ = false;
    return;
  }
  if (event->button() == Qt::LeftButton && held_) {
    held_ = false;
    setMouseTracking(false);
    repeat_.stop();
    update();
  }
  const QPoint pos = event->position().toPoint();
  if (OnMouseUp)
    OnMouseUp(this, ButtonOf(event->button()), ShiftStateOf(event->modifiers(), event->buttons()),
              pos.x(), pos.y());
}

void TUpDown::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (TUDBtnType b : {btNext, btPrev}) {
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.rect = ArrowRect(b);
    const bool sunken = held_ && overHeldArrow_ && heldArrow_ == b;
    opt.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, &p, this);
    QStyle::PrimitiveElement arrow;
    if (orientation_ == udVertical) {
      arrow = b == btNext ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown;
    } else {
      arrow = b == btNext ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowLeft;
    }
    QStyleOption arrowOpt;
    arrowOpt.initFrom(this);
    arrowOpt.rect = opt.rect.adjusted(2, 2, -2, -2);
    if (sunken) arrowOpt.rect.translate(1, 1);
    style()->drawPrimitive(arrow, &arrowOpt, &p, this);
  }
}
