#pragma once
// JPEG encoding of the drawn pictures with libjpeg.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace drawassets {

// Encodes the picture as a baseline JPEG without chroma subsampling (thin coloured lines
// keep their colour) at the given quality. A failure gives an empty array and the reason.
QByteArray EncodeJpeg(const QImage& image, int quality, QString* error);

}  // namespace drawassets
