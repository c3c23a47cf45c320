#include "app/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

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

void DrawNet(QPainter& p, const QRectF& r) {
  // A small chart net: white field, dark frame, two dotted grid lines.
  p.setPen(QPen(QColor(60, 70, 90), 1));
  p.setBrush(Qt::white);
  p.drawRect(r);
  QPen grid(QColor(150, 160, 175), 1, Qt::DotLine);
  p.setPen(grid);
  p.drawLine(QPointF(r.left() + r.width() / 2, r.top() + 1),
             QPointF(r.left() + r.width() / 2, r.bottom() - 1));
  p.drawLine(QPointF(r.left() + 1, r.top() + r.height() / 2),
             QPointF(r.right() - 1, r.top() + r.height() / 2));
}

void DrawCurve(QPainter& p, const QRectF& r, const QColor& colour) {
  // One period of a wave across the rectangle.
  QPainterPath path;
  const int n = 24;
  for (int i = 0; i <= n; ++i) {
    const qreal t = static_cast<qreal>(i) / n;
    const QPointF pt(r.left() + t * r.width(),
                     r.center().y() - 0.4 * r.height() * std::sin(6.283185307179586 * t));
    if (i == 0) {
      path.moveTo(pt);
    } else {
      path.lineTo(pt);
    }
  }
  p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void DrawMeasure(QPainter& p) {
  // A graph with the measuring cross-hair: two black lines meeting with a gap round the
  // point, and a red dot on the curve.
  DrawNet(p, QRectF(1.5, 1.5, 17, 17));
  DrawCurve(p, QRectF(2.5, 4, 15, 12), QColor(40, 80, 200));
  p.setPen(QPen(Qt::black, 1.2));
  p.drawLine(QPointF(12, 2), QPointF(12, 7));
  p.drawLine(QPointF(12, 11), QPointF(12, 18));
  p.drawLine(QPointF(2, 9), QPointF(10, 9));
  p.drawLine(QPointF(14, 9), QPointF(18, 9));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 30, 30));
  p.drawEllipse(QPointF(12, 9), 1.6, 1.6);
}

void DrawTriangle(QPainter& p, QPointF a, QPointF b, QPointF c) {
  QPainterPath path;
  path.moveTo(a);
  path.lineTo(b);
  path.lineTo(c);
  path.closeSubpath();
  p.drawPath(path);
}

void DrawLimits(QPainter& p) {
  // A net with an up-down pair left of it and a left-right pair under it, as the limit
  // buttons stand at the chart.
  DrawNet(p, QRectF(7.5, 1.5, 11, 11));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 110, 40));
  DrawTriangle(p, QPointF(0.5, 6), QPointF(6.5, 6), QPointF(3.5, 1.5));
  DrawTriangle(p, QPointF(0.5, 8), QPointF(6.5, 8), QPointF(3.5, 12.5));
  DrawTriangle(p, QPointF(12, 13.5), QPointF(12, 19.5), QPointF(7.5, 16.5));
  DrawTriangle(p, QPointF(14, 13.5), QPointF(14, 19.5), QPointF(18.5, 16.5));
}

void DrawRestoreLimits(QPainter& p) {
  // A net and a blue arrow turning back to it.
  DrawNet(p, QRectF(1.5, 1.5, 12, 12));
  QPainterPath arc;
  arc.moveTo(8, 17.5);
  arc.cubicTo(QPointF(17, 18.5), QPointF(19.5, 10), QPointF(15, 6));
  p.setPen(QPen(QColor(30, 80, 180), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(arc);
  QPainterPath head;
  head.moveTo(4.5, 17.5);
  head.lineTo(9, 14.5);
  head.lineTo(9, 20.5);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 80, 180));
  p.drawPath(head);
}

void DrawSuspendDrawing(QPainter& p) {
  // A graph struck through by a red line: the curve is not drawn while limits change.
  DrawNet(p, QRectF(1.5, 1.5, 17, 17));
  DrawCurve(p, QRectF(2.5, 4, 15, 12), QColor(40, 80, 200));
  p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3.5, 16.5), QPointF(16.5, 3.5));
}

void DrawSaveBitmap(QPainter& p) {
  // The diskette with a small graph on its label.
  DrawSave(p);
  DrawCurve(p, QRectF(6, 11.5, 8, 5), QColor(200, 40, 40));
}

void DrawSaveData(QPainter& p) {
  // The diskette with a small table on its label.
  DrawSave(p);
  p.setPen(QPen(QColor(30, 120, 60), 1));
  p.setBrush(QColor(225, 245, 230));
  p.drawRect(QRectF(5, 10.5, 10, 7));
  p.drawLine(QPointF(10, 10.5), QPointF(10, 17.5));
  p.drawLine(QPointF(5, 12.8), QPointF(15, 12.8));
  p.drawLine(QPointF(5, 15.2), QPointF(15, 15.2));
}

void DrawClose(QPainter& p) {
  // A window frame with its title bar and a red cross.
  p.setPen(QPen(QColor(60, 70, 90), 1.1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(1.5, 2.5, 17, 15));
  p.setBrush(QColor(70, 110, 190));
  p.drawRect(QRectF(1.5, 2.5, 17, 3.5));
  p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(6.5, 8.5), QPointF(13.5, 15.5));
  p.drawLine(QPointF(13.5, 8.5), QPointF(6.5, 15.5));
}

void Draw(QPainter& p, Glyph glyph) {
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
    case Glyph::Measure:
      DrawMeasure(p);
      break;
    case Glyph::Limits:
      DrawLimits(p);
      break;
    case Glyph::RestoreLimits:
      DrawRestoreLimits(p);
      break;
    case Glyph::SuspendDrawing:
      DrawSuspendDrawing(p);
      break;
    case Glyph::SaveBitmap:
      DrawSaveBitmap(p);
      break;
    case Glyph::SaveData:
      DrawSaveData(p);
      break;
    case Glyph::Close:
      DrawClose(p);
      break;
  }
}

QPixmap Render(Glyph glyph, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(static_cast<qreal>(size) / Size, static_cast<qreal>(size) / Size);
  Draw(p, glyph);
  return pm;
}

}  // namespace

QIcon GlyphIcon(Glyph glyph) {
  QIcon icon;
  icon.addPixmap(Render(glyph, 16));
  icon.addPixmap(Render(glyph, Size));
  return icon;
}
