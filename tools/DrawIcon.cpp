// The program's icon: the dark blue of the title card as a rounded tile, a measuring grid,
// the axes, and the characteristic of a limiter (gold) over the bell of a normal density
// (pale). Drawn for each size on its own so that thin lines fall on whole pixels.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "tools/BenchPicture.h"

namespace drawassets {

namespace {

const QColor Top(0x1C, 0x44, 0x72);
const QColor Bottom(0x0E, 0x26, 0x44);
const QColor Rim(0x6F, 0x8F, 0xB5);
const QColor Grid(0x2F, 0x5C, 0x8E);
const QColor Pale(0xB9, 0xCD, 0xE4);
const QColor Accent(0xE8, 0xC5, 0x6A);

// A line width in whole pixels: `units` of the 256-pixel design, at least one pixel.
int Width(double units, int size) {
  return std::max(1, static_cast<int>(std::lround(units * size / 256.0)));
}

// The coordinate of a line of width w whose centre is near c, so that it covers whole pixels.
double Snap(double c, int w) {
  return std::round(c - w / 2.0) + w / 2.0;
}

}  // namespace

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double k = size / 256.0;

  // The tile: nearly the whole square at small sizes, a margin at large ones.
  const double margin = size >= 48 ? std::round(10 * k) : 0;
  const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
  const double radius = std::max(2.0, 40 * k);
  QLinearGradient bg(0, tile.top(), 0, tile.bottom());
  bg.setColorAt(0, Top);
  bg.setColorAt(1, Bottom);
  QPainterPath shape;
  shape.addRoundedRect(tile, radius, radius);
  p.fillPath(shape, bg);

  // The plotting area inside the tile.
  const double inset = size >= 32 ? std::round(34 * k) : 3;
  const QRectF area = tile.adjusted(inset, inset, -inset, -inset);
  const double cx = area.center().x(), cy = area.center().y();
  const double half = area.width() / 2;

  p.setClipPath(shape);
  if (size >= 48) {
    // Eight divisions each way where they stay apart, four below.
    const int divisions = size >= 128 ? 8 : 4;
    const int w = Width(3, size);
    p.setPen(QPen(Grid, w, Qt::SolidLine, Qt::FlatCap));
    for (int i = 1; i < divisions; ++i) {
      if (2 * i == divisions) continue;  // the axis goes there
      const double x = Snap(area.left() + area.width() * i / divisions, w);
      const double y = Snap(area.top() + area.height() * i / divisions, w);
      p.drawLine(QPointF(x, tile.top()), QPointF(x, tile.bottom()));
      p.drawLine(QPointF(tile.left(), y), QPointF(tile.right(), y));
    }
  }

  // The bell of a normal density standing on the lower edge of the plotting area.
  if (size >= 22) {
    QPainterPath bell;
    const double base = area.bottom();
    bell.moveTo(area.left(), base);
    for (int i = 0; i <= 64; ++i) {
      const double u = -1 + 2.0 * i / 64;
      bell.lineTo(cx + u * half, base - std::exp(-u * u * 8) * area.height() * 0.42);
    }
    bell.lineTo(area.right(), base);
    bell.closeSubpath();
    QColor fill = Pale;
    fill.setAlpha(70);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(bell);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Pale, std::max(1.0, 5 * k), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(bell);
  }

  // The axes through the centre.
  {
    const int w = Width(6, size);
    p.setPen(QPen(Pale, w, Qt::SolidLine, Qt::FlatCap));
    const double x = Snap(cx, w), y = Snap(cy, w);
    p.drawLine(QPointF(area.left() - inset / 2, y), QPointF(area.right() + inset / 2, y));
    p.drawLine(QPointF(x, area.top() - inset / 2), QPointF(x, area.bottom() + inset / 2));
  }

  // The characteristic of a limiter: y = tanh(2.4 x), through the centre.
  {
    QPainterPath curve;
    for (int i = 0; i <= 96; ++i) {
      const double u = -1 + 2.0 * i / 96;
      const QPointF pt(cx + u * half, cy - std::tanh(2.4 * u) / std::tanh(2.4) * half * 0.8);
      if (i == 0)
        curve.moveTo(pt);
      else
        curve.lineTo(pt);
    }
    p.setPen(QPen(Accent, std::max(1.6, 16 * k), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve);
  }

  // A thin rim at sizes where it shows.
  if (size >= 32) {
    p.setClipping(false);
    const double w = std::max(1.0, 4 * k);
    p.setPen(QPen(Rim, w));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(w / 2, w / 2, -w / 2, -w / 2), radius - w / 2, radius - w / 2);
  }
  p.end();
  return image;
}

}  // namespace drawassets
