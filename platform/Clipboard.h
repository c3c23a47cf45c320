#pragma once
// The system clipboard for pictures.
#include <QImage>

namespace platform {

// Puts the picture on the clipboard as a bitmap.
void ClipboardSetPicture(const QImage& picture);
// The picture on the clipboard, or a null image when it holds none.
QImage ClipboardPicture();

}  // namespace platform
