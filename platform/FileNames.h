#pragma once
// File-name functions: the extension of a name and its replacement, and the correction of
// a picture file name to the bitmap extension.
#include <QString>
#include <optional>

namespace platform {

// The extension from the last point of the file part on, point included; empty when the
// file part has no point.
QString ExtractFileExt(const QString& name);
// The name with its extension replaced by ext (appended when it has none).
QString ChangeFileExt(const QString& name, const QString& ext);

// A picture is always written as ".bmp". When the name's extension, compared in lower case,
// is not ".bmp", the name gets ".bmp" and the result is the message that tells the user so:
//   <name>:\nФормат файлов <ext> не поддерживается.Произведена коррекция.
std::optional<QString> CorrectToBmpName(QString& name);

}  // namespace platform
