// The eight characteristic drawings of the circuit window: axes with arrows, the curve
// computed from the circuit's own transfer function, and the marks of its parameters.
#include <QPainter>
#include <QPen>
#include <cmath>

#include "tools/CircuitFigures.h"

namespace drawassets {

namespace {

const QColor Ink(0x22, 0x22, 0x22);
const QColor AxisInk(0x33, 0x33, 0x33);
const QColor MarkInk(0x66, 0x66, 0x66);

TextStyle Label(double size = 17) {
  TextStyle s;
  s.size = size;
  s.color = Ink;
  return s;
}

class Figure {
 public:
  explicit Figure(int page)
      : page_(page),
        params_(FigureParams(page)),
        f_(FigureFrame(page)),
        image_(CircuitPictureWidth, CircuitPictureHeight, QImage::Format_RGB32),
        p_(&image_) {
    image_.fill(Qt::white);
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setRenderHint(QPainter::TextAntialiasing);
  }

  QImage Finish() {
    p_.end();
    return image_;
  }

  double X(double x) const { return f_.X(x); }
  double Y(double y) const { return f_.Y(y); }
  QPointF P(double x, double y) const { return f_.P(x, y); }
  QPainter& painter() { return p_; }
  const model::CircuitParams& params() const { return params_; }

  double F(double x) const { return model::Transfer(params_, x); }

  // Axes with arrows; the label x goes under the arrow, or over it where the curve needs the
  // space below.
  void Axes(bool xLabelAbove = false) {
    QPen pen(AxisInk, 1.3);
    pen.setCapStyle(Qt::FlatCap);
    p_.setPen(pen);
    const double ox = X(0), oy = Y(0);
    Arrow(p_, QPointF(f_.left, oy), QPointF(f_.left + f_.width, oy), 10, 3.8);
    Arrow(p_, QPointF(ox, f_.top + f_.height), QPointF(ox, f_.top), 10, 3.8);
    if (xLabelAbove) {
      DrawFormula(p_, QPointF(f_.left + f_.width - 4, oy - 7), QStringLiteral("x"), Label(19),
                  HAlign::Right, VAlign::Bottom);
    } else {
      DrawFormula(p_, QPointF(f_.left + f_.width - 4, oy + 6), QStringLiteral("x"), Label(19),
                  HAlign::Right, VAlign::Top);
    }
    DrawFormula(p_, QPointF(ox + 8, f_.top + 2), QStringLiteral("y"), Label(19), HAlign::Left,
                VAlign::Top);
  }

  // "0" at the crossing of the axes, in the quadrant given (sx, sy = +-1).
  void Origin(int sx = -1, int sy = -1) {
    const double x = X(0) + (sx < 0 ? -4 : 4);
    const double y = Y(0) + (sy < 0 ? 4 : -4);
    DrawFormula(p_, QPointF(x, y), QStringLiteral("0"), Label(16),
                sx < 0 ? HAlign::Right : HAlign::Left, sy < 0 ? VAlign::Top : VAlign::Bottom);
  }

  // The curve; returns its polylines (pixel coordinates) for marks that need them.
  std::vector<QPolygonF> Curve(bool joinJumps = false) {
    const auto lines = SampleCurve([this](double x) { return F(x); }, f_);
    p_.save();
    p_.setClipRect(QRectF(f_.left, f_.top - 1, f_.width, f_.height + 2));
    if (joinJumps) {
      QPen thin(QColor(CurveColor), 1.2);
      p_.setPen(thin);
      for (size_t i = 0; i + 1 < lines.size(); ++i)
        p_.drawLine(lines[i].back(), lines[i + 1].front());
    }
    QPen pen(QColor(CurveColor), 2.6);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p_.setPen(pen);
    for (const auto& l : lines) p_.drawPolyline(l);
    p_.restore();
    return lines;
  }

  void Dashed(QPointF a, QPointF b) {
    QPen pen(MarkInk, 1.0);
    pen.setDashPattern({4, 3});
    pen.setCapStyle(Qt::FlatCap);
    p_.setPen(pen);
    p_.drawLine(a, b);
  }

  void Tick(double x) {
    QPen pen(AxisInk, 1.3);
    p_.setPen(pen);
    p_.drawLine(QPointF(X(x), Y(0) - 3.5), QPointF(X(x), Y(0) + 3.5));
  }

  void TickY(double y) {
    QPen pen(AxisInk, 1.3);
    p_.setPen(pen);
    p_.drawLine(QPointF(X(0) - 3.5, Y(y)), QPointF(X(0) + 3.5, Y(y)));
  }

  void Text(QPointF at, const QString& t, HAlign h, VAlign v, double size = 17) {
    DrawFormula(p_, at, t, Label(size), h, v);
  }

  // A slope triangle under the line from (x, y): one unit along x, `rise` along y.
  void SlopeTriangle(double x, double y, double rise, const QString& name) {
    const QPointF a = P(x, y), b = P(x + 1, y), c = P(x + 1, y + rise);
    Dashed(a, b);
    Dashed(b, c);
    Text(QPointF((a.x() + b.x()) / 2, a.y() + 4), QStringLiteral("1"), HAlign::Center, VAlign::Top,
         16);
    Text(QPointF(b.x() + 5, (b.y() + c.y()) / 2), name, HAlign::Left, VAlign::Center);
  }

 private:
  int page_;
  model::CircuitParams params_;
  Frame f_;
  QImage image_;
  QPainter p_;
};

void Threshold(Figure& g) {
  const double x0 = g.params().x0;
  g.Axes();
  g.Origin();
  g.Tick(x0);
  g.Text(QPointF(g.X(x0), g.Y(0) + 6), QStringLiteral("x_0"), HAlign::Center, VAlign::Top);
  g.SlopeTriangle(x0 + 0.6, 0.6 * g.params().S, g.params().S, QStringLiteral("S"));
  g.Curve();
  g.Text(g.P(-1.85, 1.55), QStringLiteral("y = S(x − x_0)"), HAlign::Left, VAlign::Baseline);
  g.Text(g.P(-1.85, 1.55) + QPointF(0, 22), QStringLiteral("при x > x_0"), HAlign::Left,
         VAlign::Baseline, 15);
}

void Limiter(Figure& g) {
  const auto& p = g.params();
  g.Axes();
  g.Origin(1, -1);
  g.Dashed(g.P(p.x1, 0), g.P(p.x1, p.y1));
  g.Dashed(g.P(p.x1, p.y1), g.P(0, p.y1));
  g.Dashed(g.P(p.x2, 0), g.P(p.x2, p.y2));
  g.Dashed(g.P(p.x2, p.y2), g.P(0, p.y2));
  g.Tick(p.x1);
  g.Tick(p.x2);
  g.TickY(p.y1);
  g.TickY(p.y2);
  g.Curve();
  g.Text(QPointF(g.X(p.x1), g.Y(0) - 6), QStringLiteral("x_1"), HAlign::Center, VAlign::Bottom);
  g.Text(QPointF(g.X(p.x2), g.Y(0) + 6), QStringLiteral("x_2"), HAlign::Center, VAlign::Top);
  g.Text(QPointF(g.X(0) + 7, g.Y(p.y1)), QStringLiteral("y_1"), HAlign::Left, VAlign::Center);
  g.Text(QPointF(g.X(0) - 7, g.Y(p.y2)), QStringLiteral("y_2"), HAlign::Right, VAlign::Center);
}

void FullWave(Figure& g) {
  g.Axes();
  g.Origin(1, -1);
  g.SlopeTriangle(0.8, 0.8 * g.params().a3, g.params().a3, QStringLiteral("a"));
  g.Curve();
  g.Text(g.P(0.25, -0.3), QStringLiteral("y = a|x|"), HAlign::Left, VAlign::Center);
}

void Square(Figure& g) {
  const double a = g.params().a4;
  g.Axes();
  g.Origin(1, -1);
  g.Dashed(g.P(1, 0), g.P(1, a));
  g.Dashed(g.P(1, a), g.P(0, a));
  g.Tick(1);
  g.TickY(a);
  g.Curve();
  g.Text(QPointF(g.X(1), g.Y(0) + 6), QStringLiteral("1"), HAlign::Center, VAlign::Top, 16);
  g.Text(QPointF(g.X(0) - 7, g.Y(a)), QStringLiteral("a"), HAlign::Right, VAlign::Center);
  g.Text(g.P(0.18, 1.85), QStringLiteral("y = ax^2"), HAlign::Left, VAlign::Center);
}

void SquareAbove(Figure& g) {
  const double a = g.params().a5, x0 = g.params().x05;
  g.Axes();
  g.Origin();
  g.Dashed(g.P(x0 + 1, 0), g.P(x0 + 1, a));
  g.Dashed(g.P(x0 + 1, a), g.P(0, a));
  g.Tick(x0);
  g.Tick(x0 + 1);
  g.TickY(a);
  g.Curve();
  g.Text(QPointF(g.X(x0), g.Y(0) + 6), QStringLiteral("x_0"), HAlign::Center, VAlign::Top);
  g.Text(QPointF(g.X(x0 + 1), g.Y(0) + 6), QStringLiteral("x_0 + 1"), HAlign::Center, VAlign::Top);
  g.Text(QPointF(g.X(0) - 7, g.Y(a)), QStringLiteral("a"), HAlign::Right, VAlign::Center);
  g.Text(g.P(-1.8, 2.25), QStringLiteral("y = a(x − x_0)^2"), HAlign::Left, VAlign::Center);
  g.Text(g.P(-1.8, 2.25) + QPointF(0, 22), QStringLiteral("при x ≥ x_0"), HAlign::Left,
         VAlign::Center, 15);
}

void SmoothLimiter(Figure& g) {
  const double a = g.params().a6;
  g.Axes();
  g.Origin(1, -1);
  g.Dashed(g.P(-3.2, a), g.P(3.05, a));
  g.Dashed(g.P(-3.2, -a), g.P(3.2, -a));
  g.Curve();
  g.Text(QPointF(g.X(0) - 7, g.Y(a) - 4), QStringLiteral("a"), HAlign::Right, VAlign::Bottom);
  g.Text(QPointF(g.X(0) + 7, g.Y(-a) + 4), QStringLiteral("−a"), HAlign::Left, VAlign::Top);
  g.Text(g.P(-3.05, 0.45), QStringLiteral("y = a \\erf(bx)"), HAlign::Left, VAlign::Center);
}

void InverseLimiter(Figure& g) {
  const double a = g.params().a7;
  g.Axes();
  g.Dashed(g.P(a, -2.6), g.P(a, 2.45));
  g.Dashed(g.P(-a, -2.6), g.P(-a, 2.6));
  g.Curve();
  g.Text(QPointF(g.X(0) + 5, g.Y(0) + 4), QStringLiteral("0"), HAlign::Left, VAlign::Top, 16);
  g.Text(QPointF(g.X(a) + 5, g.Y(0) + 5), QStringLiteral("a"), HAlign::Left, VAlign::Top);
  g.Text(QPointF(g.X(-a) - 5, g.Y(0) - 5), QStringLiteral("−a"), HAlign::Right, VAlign::Bottom);
  g.Text(g.P(0.12, -1.55), QStringLiteral("y = \\erf^{−1}(x/a) / b"), HAlign::Left, VAlign::Center,
         15);
}

void Sawtooth(Figure& g) {
  const auto& p = g.params();
  const double half = p.D / 2, peak = p.K * p.D / 2;
  g.Axes(true);
  g.Dashed(g.P(0, peak), g.P(half, peak));
  g.Dashed(g.P(0, -peak), g.P(-half, -peak));
  g.TickY(peak);
  g.TickY(-peak);
  g.Curve(true);
  // The period, as a dimension line between two neighbouring peaks.
  const double yd = 0.072;
  QPen pen(MarkInk, 1.0);
  g.painter().setPen(pen);
  const QPointF l = g.P(half, yd), r = g.P(half + p.D, yd);
  Arrow(g.painter(), QPointF((l.x() + r.x()) / 2, l.y()), l, 7, 3);
  Arrow(g.painter(), QPointF((l.x() + r.x()) / 2, l.y()), r, 7, 3);
  g.Dashed(g.P(half, peak), g.P(half, yd + 0.006));
  g.Dashed(g.P(half + p.D, peak), g.P(half + p.D, yd + 0.006));
  g.Text(QPointF((l.x() + r.x()) / 2, l.y() - 3), QStringLiteral("D"), HAlign::Center,
         VAlign::Bottom);
  g.Text(QPointF(g.X(0) + 5, g.Y(peak) - 3), QStringLiteral("KD/2"), HAlign::Left, VAlign::Bottom,
         16);
  g.Text(QPointF(g.X(0) - 5, g.Y(-peak) + 3), QStringLiteral("−KD/2"), HAlign::Right, VAlign::Top,
         16);
  g.Tick(half);
  g.Text(QPointF(g.X(half) - 6, g.Y(0) + 4), QStringLiteral("D/2"), HAlign::Right, VAlign::Top, 16);
  g.Text(QPointF(g.X(0) - 4, g.Y(0) - 4), QStringLiteral("0"), HAlign::Right, VAlign::Bottom, 16);
}

}  // namespace

QImage DrawCircuit(int page) {
  Figure g(page);
  switch (page) {
    case 0:
      Threshold(g);
      break;
    case 1:
      Limiter(g);
      break;
    case 2:
      FullWave(g);
      break;
    case 3:
      Square(g);
      break;
    case 4:
      SquareAbove(g);
      break;
    case 5:
      SmoothLimiter(g);
      break;
    case 6:
      InverseLimiter(g);
      break;
    default:
      Sawtooth(g);
      break;
  }
  return g.Finish();
}

}  // namespace drawassets
