#pragma once
// Pictures stored with the program as JPEG files, decoded with libjpeg.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

// Decodes JPEG data. A damaged or truncated picture gives a null image and the reason in
// *error (when given); it never ends the process.
QImage DecodeJpeg(const QByteArray& data, QString* error = nullptr);

// A picture embedded in the executable, by file name ("bench.jpg", "circuit1.jpg" ..
// "circuit8.jpg", "hello.jpg"). A missing or damaged one gives a null image.
QImage StoredPicture(const QString& name);

}  // namespace platform
