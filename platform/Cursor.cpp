#include "platform/Cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {
namespace {
ScreenCursor g_cursor = ScreenCursor::Default;
}

void SetScreenCursor(ScreenCursor cursor) {
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  switch (cursor) {
    case ScreenCursor::HourGlass:
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
      break;
    case ScreenCursor::AppStart:
      QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
      break;
    case ScreenCursor::Default:
      break;
  }
  g_cursor = cursor;
}

ScreenCursor CurrentScreenCursor() {
  return g_cursor;
}

}  // namespace platform
