// The bench schematic: the generator feeding the nonlinear circuit, and under them the
// oscilloscope, the density meter with its indicator and the correlometer with its
// indicator, on the circuit's input (left) and output (right). Every device box is drawn
// exactly under the hot-spot that the bench window puts over it, and every indicator keeps
// a white display where the bench window shows its reading.
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "app/BenchLayout.h"
#include "tools/BenchPicture.h"
#include "tools/DrawKit.h"

namespace drawassets {

namespace {

const QColor Ink(0x1B, 0x26, 0x33);
const QColor SourceFill(0xE2, 0xEC, 0xF7);
const QColor DeviceFill(0xEE, 0xF3, 0xF9);
const QColor IndicatorFill(0xF2, 0xF4, 0xF6);
const QColor ScreenFill(0xF3, 0xF9, 0xF5);
const QColor ScreenGrid(0xB8, 0xCC, 0xC0);
const QColor Trace(0x1C, 0x77, 0x47);
const QColor Subtle(0x45, 0x55, 0x66);

double CenterY(const bench::Rect& r) {
  return r.top + r.height / 2.0;
}

// A device box whose outline lies inside the hot-spot rectangle, flush with its edges.
void Box(QPainter& p, const bench::Rect& r, const QColor& fill) {
  p.save();
  p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(r.left + 1, r.top + 1, r.width - 2, r.height - 2), 5, 5);
  p.restore();
}

TextStyle Style(double size, bool bold = false, QColor color = Ink) {
  TextStyle s;
  s.size = size;
  s.bold = bold;
  s.color = color;
  return s;
}

void Text(QPainter& p, QPointF at, const QString& t, const TextStyle& s, HAlign h = HAlign::Center,
          VAlign v = VAlign::Baseline) {
  DrawFormula(p, at, t, s, h, v);
}

// Plain (not formula) text in italic, for the secondary lines of a box.
void Italic(QPainter& p, QPointF at, const QString& t, double size, QColor color = Subtle) {
  p.save();
  const QFont f = SerifFont(size, false, true);
  p.setFont(f);
  p.setPen(color);
  const double w = QFontMetricsF(f).horizontalAdvance(t);
  p.drawText(QPointF(at.x() - w / 2, at.y()), t);
  p.restore();
}

// A signal wire with an arrowhead at its end.
void Wire(QPainter& p, QPointF from, QPointF to) {
  p.save();
  p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  Arrow(p, from, to, 10, 4);
  p.restore();
}

void Path(QPainter& p, const QPolygonF& points) {
  p.save();
  p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(points);
  p.restore();
}

void Junction(QPainter& p, QPointF at) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(Ink);
  p.drawEllipse(at, 4, 4);
  p.restore();
}

// The generator symbol: a circle with a sine wave.
void GeneratorSymbol(QPainter& p, QPointF c, double r) {
  p.save();
  p.setPen(QPen(Ink, 2));
  p.setBrush(Qt::white);
  p.drawEllipse(c, r, r);
  QPainterPath wave;
  const double w = r * 1.2, h = r * 0.42;
  for (int i = 0; i <= 48; ++i) {
    const double t = i / 48.0;
    const QPointF q(c.x() - w / 2 + w * t, c.y() - h * std::sin(2 * M_PI * t));
    if (i == 0) {
      wave.moveTo(q);
    } else {
      wave.lineTo(q);
    }
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(wave);
  p.restore();
}

// A small oscilloscope screen with a grid and a trace of f(t), t in [0, 1].
template <class F>
void Screen(QPainter& p, const QRectF& s, F f) {
  p.save();
  p.setPen(QPen(Ink, 1.5));
  p.setBrush(ScreenFill);
  p.drawRoundedRect(s, 3, 3);
  QPen grid(ScreenGrid, 1);
  p.setPen(grid);
  for (int i = 1; i < 6; ++i) {
    const double x = std::round(s.left() + s.width() * i / 6) + 0.5;
    p.drawLine(QPointF(x, s.top() + 2), QPointF(x, s.bottom() - 2));
  }
  for (int i = 1; i < 4; ++i) {
    const double y = std::round(s.top() + s.height() * i / 4) + 0.5;
    p.drawLine(QPointF(s.left() + 2, y), QPointF(s.right() - 2, y));
  }
  QPolygonF trace;
  const int n = 160;
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n;
    trace << QPointF(s.left() + 4 + (s.width() - 8) * t, s.center().y() - f(t) * s.height() * 0.4);
  }
  p.setPen(QPen(Trace, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(trace);
  p.restore();
}

// A signal that looks random but is the same on every run: a sum of incommensurate sines.
double Wiggle(double t) {
  return 0.55 * std::sin(2 * M_PI * (2.1 * t + 0.10)) +
         0.30 * std::sin(2 * M_PI * (4.3 * t + 0.3)) + 0.14 * std::sin(2 * M_PI * (8.7 * t + 0.7)) +
         0.05 * std::sin(2 * M_PI * (15.9 * t + 0.2));
}

void Oscilloscope(QPainter& p, const bench::Rect& r, const QString& where, bool output) {
  Box(p, r, DeviceFill);
  const QRectF screen(r.right() - 12 - 86, r.top + 12, 86, r.height - 24);
  if (output) {
    Screen(p, screen, [](double t) { return 1.6 * std::max(Wiggle(t), 0.0) - 0.8; });
  } else {
    Screen(p, screen, [](double t) { return Wiggle(t); });
  }
  const double cx = (r.left + screen.left()) / 2;
  Text(p, QPointF(cx, CenterY(r) - 2), QStringLiteral("Осциллограф"), Style(18, true));
  Italic(p, QPointF(cx, CenterY(r) + 20), where, 15);
}

// Density meter: "ИПВ" over a bell curve.
void DensityMeter(QPainter& p, const bench::Rect& r) {
  Box(p, r, DeviceFill);
  const double cx = r.left + r.width / 2.0;
  Text(p, QPointF(cx, r.top + 38), QStringLiteral("ИПВ"), Style(28, true));
  const double baseY = r.bottom() - 16, w = 70, h = 26;
  p.save();
  p.setPen(QPen(Subtle, 1.2));
  p.drawLine(QPointF(cx - w / 2 - 6, baseY + 0.5), QPointF(cx + w / 2 + 6, baseY + 0.5));
  QPolygonF bell;
  for (int i = 0; i <= 80; ++i) {
    const double u = -3 + 6.0 * i / 80;
    bell << QPointF(cx + u * w / 6, baseY - h * std::exp(-u * u / 2));
  }
  p.setPen(QPen(Trace, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(bell);
  p.restore();
}

// Correlometer: "К" over a decaying correlation function.
void Correlometer(QPainter& p, const bench::Rect& r) {
  Box(p, r, DeviceFill);
  const double cx = r.left + r.width / 2.0;
  Text(p, QPointF(cx, r.top + 42), QStringLiteral("К"), Style(30, true));
  const double baseY = r.bottom() - 24, w = 74, h = 24;
  const double x0 = cx - w / 2;
  p.save();
  p.setPen(QPen(Subtle, 1.2));
  p.drawLine(QPointF(x0 - 4, baseY + 0.5), QPointF(x0 + w + 4, baseY + 0.5));
  p.drawLine(QPointF(x0 + 0.5, baseY + 10), QPointF(x0 + 0.5, baseY - h - 4));
  QPolygonF k;
  for (int i = 0; i <= 80; ++i) {
    const double t = i / 80.0;
    k << QPointF(x0 + w * t, baseY - h * std::exp(-3.2 * t) * std::cos(2 * M_PI * 1.6 * t));
  }
  p.setPen(QPen(Trace, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(k);
  p.restore();
}

// An indicator: its title in the upper half, and in the lower half a white display around
// the reading label's rectangle with the unit to its right.
void Indicator(QPainter& p, const bench::Rect& r, const bench::Rect& label, const QString& title,
               const QString& unit) {
  Box(p, r, IndicatorFill);
  const double cx = r.left + r.width / 2.0;
  Text(p, QPointF(cx, r.top + (label.top - r.top) / 2.0 + 2), title, Style(17, true),
       HAlign::Center, VAlign::Center);
  const QRectF display(label.left - 6, label.top - 5, label.width + 12, label.height + 10);
  p.save();
  p.setPen(QPen(Ink, 1.5));
  p.setBrush(Qt::white);
  p.drawRect(display.adjusted(-0.25, -0.25, 0.25, 0.25));
  p.restore();
  Text(p, QPointF(display.right() + 5, display.center().y()), unit, Style(17), HAlign::Left,
       VAlign::Center);
}

}  // namespace

QImage DrawBench() {
  using namespace bench;
  QImage image(PanelWidth, PanelHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  // ---- Wires first, so that the boxes cover their ends ----
  const double ySignal = 69;
  const double xIn = 450, xOut = 505, yLoop = 125, xRight = 938;
  const double yOsc = std::floor(CenterY(Image4));      // 180
  const double yIpvIn = std::floor(CenterY(Image5));    // 292
  const double yKor = std::floor(CenterY(Image7));      // 408
  const double yIpvOut = std::floor(CenterY(Image10));  // 296

  // Generator -> circuit, and the input bus.
  Wire(p, QPointF(Image2.right(), ySignal), QPointF(Image3.left, ySignal));
  Path(p,
       QPolygonF({QPointF(xIn, ySignal), QPointF(xIn, yKor), QPointF(Image7.right() + 8, yKor)}));
  Wire(p, QPointF(xIn, yOsc), QPointF(Image4.right(), yOsc));
  Wire(p, QPointF(xIn, yIpvIn), QPointF(Image5.right(), yIpvIn));
  Wire(p, QPointF(Image7.right() + 12, yKor), QPointF(Image7.right(), yKor));
  Junction(p, QPointF(xIn, ySignal));
  Junction(p, QPointF(xIn, yOsc));
  Junction(p, QPointF(xIn, yIpvIn));

  // Circuit output around to the output bus.
  Path(p, QPolygonF({QPointF(Image3.right(), ySignal), QPointF(xRight, ySignal),
                     QPointF(xRight, yLoop), QPointF(xOut, yLoop), QPointF(xOut, yKor),
                     QPointF(Image12.left - 8, yKor)}));
  Wire(p, QPointF(xOut, yOsc), QPointF(Image9.left, yOsc));
  Wire(p, QPointF(xOut, yIpvOut), QPointF(Image10.left, yIpvOut));
  Wire(p, QPointF(Image12.left - 12, yKor), QPointF(Image12.left, yKor));
  Junction(p, QPointF(xOut, yOsc));
  Junction(p, QPointF(xOut, yIpvOut));

  // Meters -> indicators.
  Wire(p, QPointF(Image5.left, yIpvIn), QPointF(Image6.right(), yIpvIn));
  Wire(p, QPointF(Image7.left, yKor), QPointF(Image8.right(), yKor));
  Wire(p, QPointF(Image10.right(), yIpvOut), QPointF(Image11.left, yIpvOut));
  Wire(p, QPointF(Image12.right(), yKor), QPointF(Image13.left, yKor));

  Text(p, QPointF((Image2.right() + xIn) / 2.0, ySignal - 9), QStringLiteral("x(t)"), Style(19));
  Text(p, QPointF((Image3.right() + xRight) / 2.0, ySignal - 9), QStringLiteral("y(t)"), Style(19));

  // ---- Generator and circuit ----
  Box(p, Image2, SourceFill);
  GeneratorSymbol(p, QPointF(Image2.left + 42, CenterY(Image2)), 24);
  const double gx = (Image2.left + 72 + Image2.right()) / 2.0;
  Text(p, QPointF(gx, CenterY(Image2) - 1), QStringLiteral("Генератор"), Style(22, true));
  Italic(p, QPointF(gx, CenterY(Image2) + 21), QStringLiteral("сигнала"), 16);

  Box(p, Image3, SourceFill);
  const double cx = Image3.left + Image3.width / 2.0;
  Text(p, QPointF(cx, Image3.top + 29), QStringLiteral("Нелинейная"), Style(19, true));
  Text(p, QPointF(cx, Image3.top + 51), QStringLiteral("безынерционная цепь"), Style(19, true));
  Text(p, QPointF(cx, Image3.top + 76), QStringLiteral("y = f(x)"), Style(17, false, Subtle));

  // ---- Instruments ----
  Oscilloscope(p, Image4, QStringLiteral("на входе цепи"), false);
  Oscilloscope(p, Image9, QStringLiteral("на выходе цепи"), true);
  DensityMeter(p, Image5);
  DensityMeter(p, Image10);
  Correlometer(p, Image7);
  Correlometer(p, Image12);

  const QString density = QStringLiteral("мВ^{−1}");
  const QString power = QStringLiteral("мВ^2");
  Indicator(p, Image6, LabelIpvIn, QStringLiteral("Индикатор ИПВ"), density);
  Indicator(p, Image8, LabelKorIn, QStringLiteral("Индикатор коррелометра"), power);
  Indicator(p, Image11, LabelIpvOut, QStringLiteral("Индикатор ИПВ"), density);
  Indicator(p, Image13, LabelKorOut, QStringLiteral("Индикатор коррелометра"), power);

  p.end();
  return image;
}

QImage BenchOverlay(const QImage& bench) {
  using namespace bench;
  QImage out = bench.convertToFormat(QImage::Format_RGB32);
  QPainter p(&out);
  p.setPen(QPen(QColor(230, 0, 0), 1));
  p.setBrush(Qt::NoBrush);
  for (const Rect& r : {Image2, Image3, Image4, Image5, Image6, Image7, Image8, Image9, Image10,
                        Image11, Image12, Image13})
    p.drawRect(r.left, r.top, r.width - 1, r.height - 1);
  p.setPen(QPen(QColor(0, 170, 0), 1));
  for (const Rect& r : {LabelIpvIn, LabelKorIn, LabelIpvOut, LabelKorOut}) {
    p.drawRect(r.left, r.top, r.width - 1, r.height - 1);
    p.setFont(SerifFont(16, true, true));
    p.drawText(QRect(r.left, r.top, r.width, r.height), Qt::AlignCenter, QStringLiteral("0,3989"));
  }
  p.end();
  return out;
}

}  // namespace drawassets
