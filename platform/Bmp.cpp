#include "platform/Bmp.h"

#include <cstdint>

#include "platform/FileWrite.h"

namespace platform {
namespace {

void Put16(QByteArray& b, int at, std::uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void Put32(QByteArray& b, int at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

QByteArray EncodeBmp24(const QImage& picture) {
  const QImage img = picture.convertToFormat(QImage::Format_RGB32);
  const int w = img.width();
  const int h = img.height();
  const int rowBytes = (w * 3 + 3) / 4 * 4;
  const int headers = 14 + 40;
  const std::uint32_t dataSize = static_cast<std::uint32_t>(rowBytes) * h;
  QByteArray b(headers + static_cast<qsizetype>(dataSize), '\0');
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, headers + dataSize);
  Put32(b, 10, headers);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(w));
  Put32(b, 22, static_cast<std::uint32_t>(h));
  Put16(b, 26, 1);
  Put16(b, 28, 24);
  Put32(b, 30, 0);  // no compression
  Put32(b, 34, dataSize);
  Put32(b, 38, 3780);  // 96 pixels per inch
  Put32(b, 42, 3780);
  for (int y = 0; y < h; ++y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(img.constScanLine(h - 1 - y));
    char* dst = b.data() + headers + static_cast<qsizetype>(y) * rowBytes;
    for (int x = 0; x < w; ++x) {
      dst[3 * x] = static_cast<char>(qBlue(src[x]));
      dst[3 * x + 1] = static_cast<char>(qGreen(src[x]));
      dst[3 * x + 2] = static_cast<char>(qRed(src[x]));
    }
  }
  return b;
}

bool WriteBmpFile(const QImage& picture, const QString& fileName, QString* error) {
  if (picture.isNull()) {
    if (error != nullptr) *error = WriteFailureText(fileName, QStringLiteral("рисунок пуст"));
    return false;
  }
  return WriteFileReplacing(EncodeBmp24(picture), fileName, error);
}

}  // namespace platform
