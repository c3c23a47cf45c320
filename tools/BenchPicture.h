#pragma once
// The bench schematic (952 x 477) and the title card (400 x 300).
#include <QImage>

namespace drawassets {

QImage DrawBench();

// The bench picture with the hot-spot rectangles (red) and the reading-label rectangles
// (green) drawn over it, to check by eye that every device sits under its hot-spot.
QImage BenchOverlay(const QImage& bench);

QImage DrawTitleCard();

}  // namespace drawassets
