#include "platform/FileWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {
namespace {

QString DiskReason() {
  return QStringLiteral("ошибка записи на диск (возможно, диск заполнен)");
}

QString ReasonOf(const QSaveFile& file, const QString& fileName) {
  const QFileInfo info(fileName);
  switch (file.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
      if (!info.absoluteDir().exists()) return QStringLiteral("папка не существует");
      return QStringLiteral("нет права на запись или файл занят");
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
      return DiskReason();
    default:
      return file.errorString();
  }
}

}  // namespace

QString WriteFailureText(const QString& fileName, const QString& reason) {
  return QStringLiteral("Не удаётся записать файл %1: %2.")
      .arg(QDir::toNativeSeparators(fileName), reason);
}

bool WriteFileReplacing(const QByteArray& bytes, const QString& fileName, QString* error) {
  auto fail = [&](const QString& reason) {
    if (error != nullptr) *error = WriteFailureText(fileName, reason);
    return false;
  };
  QSaveFile file(fileName);
  // Never write into the target itself when no temporary file can be made beside it.
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) return fail(ReasonOf(file, fileName));
  if (file.write(bytes) != bytes.size()) {
    // A write cut short by the file system (a full disk, a size limit) reports no error of
    // its own.
    const QString reason =
        file.error() == QFileDevice::NoError ? DiskReason() : ReasonOf(file, fileName);
    file.cancelWriting();
    return fail(reason);
  }
  if (!file.commit()) return fail(ReasonOf(file, fileName));
  return true;
}

}  // namespace platform
