#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void ClipboardSetPicture(const QImage& picture) {
  QGuiApplication::clipboard()->setImage(picture.convertToFormat(QImage::Format_RGB32));
}

QImage ClipboardPicture() {
  return QGuiApplication::clipboard()->image();
}

}  // namespace platform
