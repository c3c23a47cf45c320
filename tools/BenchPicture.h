#pragma once
// The bench schematic (952 x 477), the title card (400 x 300) and the program's icon.
#include <QImage>

namespace drawassets {

QImage DrawBench();

// The bench picture with the hot-spot rectangles (red) and the reading-label rectangles
// (green) drawn over it, to check by eye that every device sits under its hot-spot.
QImage BenchOverlay(const QImage& bench);

QImage DrawTitleCard();

// The icon at size x size pixels, with a transparent background around its tile.
QImage DrawIcon(int size);

// The sizes the icon is stored at (hicolor theme folders <size>x<size>).
inline constexpr int IconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace drawassets
