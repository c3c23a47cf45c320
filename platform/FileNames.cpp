#include "platform/FileNames.h"

namespace platform {
namespace {
qsizetype ExtensionStart(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const qsizetype sep =
      std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
  return dot > sep ? dot : -1;
}
}  // namespace

QString ExtractFileExt(const QString& name) {
  const qsizetype at = ExtensionStart(name);
  return at < 0 ? QString() : name.mid(at);
}

QString ChangeFileExt(const QString& name, const QString& ext) {
  const qsizetype at = ExtensionStart(name);
  return (at < 0 ? name : name.left(at)) + ext;
}

std::optional<QString> CorrectFileExt(QString& name, const QString& ext) {
  const QString own = ExtractFileExt(name).toLower();
  if (own == ext) return std::nullopt;
  QString message = name + QStringLiteral(":\nФормат файлов ") + own +
                    QStringLiteral(" не поддерживается.Произведена коррекция.");
  name = ChangeFileExt(name, ext);
  return message;
}

}  // namespace platform
