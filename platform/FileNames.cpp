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

std::optional<QString> CorrectToBmpName(QString& name) {
  const QString ext = ExtractFileExt(name).toLower();
  if (ext == QLatin1String(".bmp")) return std::nullopt;
  QString message = name + QStringLiteral(":\nФормат файлов ") + ext +
                    QStringLiteral(" не поддерживается.Произведена коррекция.");
  name = ChangeFileExt(name, QStringLiteral(".bmp"));
  return message;
}

}  // namespace platform
