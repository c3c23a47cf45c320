#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "model/Messages.h"
#include "platform/Modal.h"

namespace platform {

namespace {
QString& Title() {
  static QString title = QStringLiteral("labbench");
  return title;
}
}  // namespace

QString ApplicationTitle() {
  return Title();
}

void SetApplicationTitle(const QString& title) {
  Title() = title;
}

void MessageBoxOk(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  ShowModal(box);
}

void InstallMessageBox() {
  lab::SetMessageHandler(
      [](const std::string& text) { MessageBoxOk(QString::fromStdString(text)); });
}

}  // namespace platform
