#pragma once
// Writing a picture as a Windows bitmap file (24 bits per pixel, rows bottom-up).
#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

// The file's bytes: a 14-byte file header, a 40-byte information header and the rows of
// blue, green, red triples, each row padded to a multiple of four bytes.
QByteArray EncodeBmp24(const QImage& picture);

// Writes the picture to fileName. A file that cannot be created or written gives false and,
// in *error, a sentence for the user naming the file and the reason; an existing file is
// left as it was when the new one cannot be written in full.
bool WriteBmpFile(const QImage& picture, const QString& fileName, QString* error = nullptr);

}  // namespace platform
