// The title card shown while the program starts: the laboratory work's title over a small
// picture of what it studies, a random signal passing through a nonlinear characteristic.
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <cmath>

#include "tools/BenchPicture.h"
#include "tools/DrawKit.h"

namespace drawassets {

namespace {

const QColor Light(0xF4, 0xF7, 0xFB);
const QColor Pale(0xB9, 0xCD, 0xE4);
const QColor Accent(0xE8, 0xC5, 0x6A);

void Centered(QPainter& p, double y, const QString& text, const QFont& font, const QColor& c,
              double letterSpacing = 0) {
  QFont f = font;
  if (letterSpacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
  p.setFont(f);
  p.setPen(c);
  const double w = QFontMetricsF(f).horizontalAdvance(text) - letterSpacing;
  p.drawText(QPointF((400 - w) / 2, y), text);
}

double Noise(double t) {
  return 0.45 * std::sin(2 * M_PI * (3.1 * t + 0.1)) + 0.30 * std::sin(2 * M_PI * (7.3 * t + 0.4)) +
         0.20 * std::sin(2 * M_PI * (13.9 * t + 0.8)) +
         0.12 * std::sin(2 * M_PI * (29.3 * t + 0.3));
}

void Trace(QPainter& p, const QRectF& r, double (*f)(double)) {
  QPolygonF line;
  for (int i = 0; i <= 120; ++i) {
    const double t = i / 120.0;
    line << QPointF(r.left() + r.width() * t, r.center().y() - f(t) * r.height() / 2);
  }
  p.drawPolyline(line);
}

double Limited(double t) {
  return std::tanh(2.6 * Noise(t)) * 0.8;
}

}  // namespace

QImage DrawTitleCard() {
  QImage image(400, 300, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient bg(0, 0, 0, 300);
  bg.setColorAt(0, QColor(0x1C, 0x44, 0x72));
  bg.setColorAt(1, QColor(0x0E, 0x26, 0x44));
  p.fillRect(QRect(0, 0, 400, 300), bg);
  p.setPen(QPen(QColor(0x6F, 0x8F, 0xB5), 1));
  p.drawRect(QRectF(8.5, 8.5, 383, 283));

  Centered(p, 44, QStringLiteral("ЛАБОРАТОРНАЯ РАБОТА"), SerifFont(14, true), Pale, 2.5);
  p.setPen(QPen(Accent, 1.5));
  p.drawLine(QPointF(150, 56), QPointF(250, 56));
  const QFont title = SerifFont(25, true);
  Centered(p, 92, QStringLiteral("Прохождение"), title, Light);
  Centered(p, 120, QStringLiteral("случайного процесса"), title, Light);
  Centered(p, 148, QStringLiteral("через безынерционную"), title, Light);
  Centered(p, 176, QStringLiteral("нелинейную цепь"), title, Light);

  // x(t) -> [y = f(x)] -> y(t)
  const double top = 200, h = 48;
  p.setPen(QPen(Pale, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  Trace(p, QRectF(34, top, 96, h), Noise);
  Trace(p, QRectF(270, top, 96, h), Limited);
  p.setPen(QPen(Accent, 1.6));
  Arrow(p, QPointF(136, top + h / 2), QPointF(164, top + h / 2), 8, 3.5);
  Arrow(p, QPointF(236, top + h / 2), QPointF(264, top + h / 2), 8, 3.5);
  const QRectF box(170, top, 60, h);
  p.setPen(QPen(Light, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(box, 4, 4);
  QPolygonF s;
  for (int i = 0; i <= 40; ++i) {
    const double u = -1 + 2.0 * i / 40;
    s << QPointF(box.center().x() + u * 22, box.center().y() - std::tanh(2.2 * u) * 16);
  }
  p.setPen(QPen(Accent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(s);

  Centered(p, 276, QStringLiteral("Виртуальная лабораторная установка"), SerifFont(15, false, true),
           Pale);
  p.end();
  return image;
}

}  // namespace drawassets
