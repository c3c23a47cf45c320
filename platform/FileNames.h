#pragma once
// File-name functions: the extension of a name and its replacement, and the correction of
// a file name to the extension of its format.
#include <QString>
#include <optional>

namespace platform {

// The extension from the last point of the file part on, point included; empty when the
// file part has no point.
QString ExtractFileExt(const QString& name);
// The name with its extension replaced by ext (appended when it has none).
QString ChangeFileExt(const QString& name, const QString& ext);

// A file of one format is always written with its extension ext (lower case, point
// included). When the name's extension, compared in lower case, differs, the name gets ext
// and the result is the message that tells the user so:
//   <name>:\nФормат файлов <own extension> не поддерживается.Произведена коррекция.
std::optional<QString> CorrectFileExt(QString& name, const QString& ext);

}  // namespace platform
