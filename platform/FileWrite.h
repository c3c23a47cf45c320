#pragma once
// Writing a whole file so that a failure never leaves a damaged or half-written file: the
// bytes go to a temporary file in the same folder, which is renamed over the target only
// when all of them are on disk.
#include <QByteArray>
#include <QString>

namespace platform {

// Writes bytes to fileName. A file that cannot be created or written gives false and, in
// *error, a sentence for the user naming the file and the reason; an existing file of that
// name is then left as it was, and no temporary file stays behind.
bool WriteFileReplacing(const QByteArray& bytes, const QString& fileName, QString* error = nullptr);

// The sentence of a failed write: "Не удаётся записать файл <name>: <reason>."
QString WriteFailureText(const QString& fileName, const QString& reason);

}  // namespace platform
