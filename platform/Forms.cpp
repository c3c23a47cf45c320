#include "platform/Forms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QShowEvent>

namespace platform {

void SetBackground(QWidget& widget, SystemColor color) {
  QPalette p = widget.palette();
  const QPalette standard = QApplication::palette(&widget);
  const QColor c = color == SystemColor::Window
                       ? standard.color(QPalette::Active, QPalette::Base)
                       : standard.color(QPalette::Active, QPalette::Window);
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    p.setColor(group, QPalette::Base, c);
  widget.setPalette(p);
}

Dialog::Dialog(QWidget* parent, const QString& caption, int clientWidth, int clientHeight,
               FrameButtons buttons)
    : QDialog(parent), buttons_(buttons) {
  setWindowTitle(caption);
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (buttons == FrameButtons::CloseOnly) flags |= Qt::WindowCloseButtonHint;
  setWindowFlags(flags);
  setFixedSize(clientWidth, clientHeight);
  setSizeGripEnabled(false);
  // The small dialog font: the default sans family, 11 pixels high.
  QFont f = QApplication::font();
  f.setPixelSize(11);
  setFont(f);
}

void Dialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void Dialog::keyPressEvent(QKeyEvent* event) {
  // Enter never closes a window through a button that has no focus, and Escape closes only
  // a window with a close box (as that box would).
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    case Qt::Key_Escape:
      if (buttons_ == FrameButtons::CloseOnly) reject();
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void Dialog::Closing() {
  closing_ = true;
  if (auto* field = dynamic_cast<EditField*>(focusWidget())) field->FinishEdit();
  FormClose();
}

void Dialog::done(int result) {
  const bool closing = !closing_;
  if (closing) Closing();
  QDialog::done(result);
  if (closing) closing_ = false;
}

void Dialog::setVisible(bool visible) {
  // A dialog hidden without done() (hide(), setVisible(false)) closes all the same.
  const bool closing = !visible && isVisible() && !closing_;
  if (closing) Closing();
  QDialog::setVisible(visible);
  if (closing) closing_ = false;
}

}  // namespace platform
