#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "model/Messages.h"
#include "platform/Modal.h"

namespace platform {

QString ApplicationTitle() {
  const QString name = QApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("labbench") : name;
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
