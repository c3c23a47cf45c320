#pragma once
// Painting helpers shared by the drawings of the stored pictures: fonts, formula-like text
// with italic variables, subscripts and superscripts, arrows, and the sampling of a
// characteristic y = f(x) into polylines that break at its jumps.
#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <functional>
#include <vector>

namespace drawassets {

// Registers the bundled font files of the system (Liberation, DejaVu) so that every run
// draws with the same faces whatever the font configuration says.
void LoadFonts();

// The serif face of the drawings (Liberation Serif, metric twin of Times New Roman).
QFont SerifFont(double pixelSize, bool bold = false, bool italic = false);

enum class HAlign { Left, Center, Right };
enum class VAlign { Baseline, Center, Top, Bottom };

struct TextStyle {
  double size = 16;  // pixel size of the base font
  bool bold = false;
  QColor color = Qt::black;
  bool italicLatin = true;  // Latin and Greek letters in italic, as variables in formulas
};

// Draws formula-like text anchored at `at`. Markup: "_x" or "_{..}" subscript, "^x" or
// "^{..}" superscript, "\word" an upright word (function names such as \erf). Digits,
// Cyrillic and signs stay upright. Returns the width drawn.
double DrawFormula(QPainter& p, QPointF at, const QString& text, const TextStyle& style,
                   HAlign h = HAlign::Left, VAlign v = VAlign::Baseline);
double FormulaWidth(const QString& text, const TextStyle& style);

// A filled arrowhead with its tip at `tip`, pointing along (dx, dy).
void ArrowHead(QPainter& p, QPointF tip, double dx, double dy, double length = 9,
               double halfWidth = 3.5);

// A line from `from` to `to` ending in an arrowhead at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, double headLength = 9, double halfWidth = 3.5);

// Maps world coordinates (mV) into a pixel rectangle of a figure.
struct Frame {
  double x0, x1, y0, y1;            // world range shown
  double left, top, width, height;  // pixel rectangle
  double X(double x) const { return left + (x - x0) / (x1 - x0) * width; }
  double Y(double y) const { return top + (y1 - y) / (y1 - y0) * height; }
  QPointF P(double x, double y) const { return {X(x), Y(y)}; }
};

// Samples f over [frame.x0, frame.x1] (several points per pixel column) into pixel
// polylines. Where two neighbouring samples differ by more than a few pixels the interval
// is bisected: a jump ends one polyline at its left limit and starts the next at its right
// limit; a steep but continuous stretch gets extra points instead.
std::vector<QPolygonF> SampleCurve(const std::function<double(double)>& f, const Frame& frame,
                                   int samplesPerPixel = 4);

}  // namespace drawassets
