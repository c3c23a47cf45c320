#pragma once
// The files of a window test: one a test puts in place, one it reads back.
#include <QByteArray>
#include <QFile>
#include <QString>

// The whole content of a file or an embedded resource; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes the file anew; false when it cannot be written whole.
inline bool PutFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
