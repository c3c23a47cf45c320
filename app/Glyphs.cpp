#include "app/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Size = 20;

void DrawSave(QPainter& p) {
  // A diskette: body, shutter and label.
  p.setPen(QPen(QColor(30, 60, 120), 1.2));
  p.setBrush(QColor(70, 110, 190));
  p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
  p.setBrush(QColor(220, 225, 235));
  p.drawRect(QRectF(5.5, 2.5, 9, 5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(5, 10.5, 10, 7));
  p.setPen(QPen(QColor(120, 130, 150), 1));
  p.drawLine(QPointF(7, 13), QPointF(13, 13));
  p.drawLine(QPointF(7, 15.5), QPointF(13, 15.5));
}

void DrawCopy(QPainter& p) {
  // Two sheets, one over the other.
  for (int i = 0; i < 2; ++i) {
    const qreal o = i * 5;
    p.setPen(QPen(QColor(60, 70, 90), 1.1));
    p.setBrush(i == 0 ? QColor(225, 230, 240) : Qt::white);
    p.drawRect(QRectF(3.5 + o, 2.5 + o, 9, 11));
    p.setPen(QPen(QColor(140, 150, 170), 1));
    for (int k = 0; k < 3; ++k)
      p.drawLine(QPointF(5.5 + o, 6 + o + 2.5 * k), QPointF(10.5 + o, 6 + o + 2.5 * k));
  }
}

void DrawRun(QPainter& p) {
  // A green triangle: start.
  QPainterPath path;
  path.moveTo(5, 3);
  path.lineTo(17, 10);
  path.lineTo(5, 17);
  path.closeSubpath();
  p.setPen(QPen(QColor(20, 100, 40), 1.2));
  p.setBrush(QColor(50, 170, 70));
  p.drawPath(path);
}

void DrawScale(QPainter& p) {
  // A magnifier.
  p.setPen(QPen(QColor(50, 60, 80), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(12.5, 12.5), QPointF(17.5, 17.5));
  p.setPen(QPen(QColor(50, 60, 80), 1.5));
  p.setBrush(QColor(210, 230, 250));
  p.drawEllipse(QPointF(8.5, 8.5), 5.5, 5.5);
  p.setPen(QPen(QColor(50, 60, 80), 1.3));
  p.drawLine(QPointF(6, 8.5), QPointF(11, 8.5));
  p.drawLine(QPointF(8.5, 6), QPointF(8.5, 11));
}

void DrawExit(QPainter& p) {
  // A door with an arrow leaving it.
  p.setPen(QPen(QColor(90, 60, 30), 1.2));
  p.setBrush(QColor(190, 140, 80));
  p.drawRect(QRectF(2.5, 2.5, 8, 15));
  p.setPen(QPen(QColor(170, 30, 30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(QPointF(8, 10), QPointF(17, 10));
  p.drawLine(QPointF(14, 7), QPointF(17, 10));
  p.drawLine(QPointF(14, 13), QPointF(17, 10));
}

}  // namespace

QIcon GlyphIcon(Glyph glyph) {
  QPixmap pm(Size, Size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (glyph) {
    case Glyph::Save:
      DrawSave(p);
      break;
    case Glyph::Copy:
      DrawCopy(p);
      break;
    case Glyph::Run:
      DrawRun(p);
      break;
    case Glyph::Scale:
      DrawScale(p);
      break;
    case Glyph::Exit:
      DrawExit(p);
      break;
  }
  return QIcon(pm);
}
