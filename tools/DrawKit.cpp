#include "tools/DrawKit.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace drawassets {

void LoadFonts() {
  static const char* const files[] = {
      "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf",
      "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf",
      "/usr/share/fonts/truetype/liberation/LiberationSerif-Italic.ttf",
      "/usr/share/fonts/truetype/liberation/LiberationSerif-BoldItalic.ttf",
      "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
      "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
  };
  for (const char* f : files)
    if (QFile::exists(QString::fromLatin1(f))) QFontDatabase::addApplicationFont(f);
}

QFont SerifFont(double pixelSize, bool bold, bool italic) {
  QFont f(QStringLiteral("Liberation Serif"));
  f.setStyleHint(QFont::Serif);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  f.setBold(bold);
  f.setItalic(italic);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
  f.setHintingPreference(QFont::PreferVerticalHinting);
  return f;
}

namespace {

struct Run {
  QString text;
  bool italic;
  int level;  // 0 base line, -1 subscript, +1 superscript
};

bool IsVariableLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= 0x3B1 && u <= 0x3C9);
}

void Append(std::vector<Run>& runs, QChar c, bool italic, int level) {
  if (!runs.empty() && runs.back().italic == italic && runs.back().level == level) {
    runs.back().text += c;
  } else {
    runs.push_back({QString(c), italic, level});
  }
}

void Parse(const QString& s, bool italicLatin, int level, std::vector<Run>& runs) {
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s[i];
    if ((c == u'_' || c == u'^') && i + 1 < s.size()) {
      const int sub = c == u'_' ? -1 : 1;
      QString group;
      if (s[i + 1] == u'{') {
        const qsizetype end = s.indexOf(u'}', i + 2);
        const qsizetype stop = end < 0 ? s.size() : end;
        group = s.mid(i + 2, stop - (i + 2));
        i = stop;
      } else {
        group = s.mid(i + 1, 1);
        i = i + 1;
      }
      Parse(group, italicLatin, sub, runs);
    } else if (c == u'\\') {
      while (i + 1 < s.size() && s[i + 1].isLetter()) Append(runs, s[++i], false, level);
    } else {
      Append(runs, c, italicLatin && IsVariableLetter(c), level);
    }
  }
}

QFont RunFont(const Run& r, const TextStyle& st) {
  return SerifFont(r.level == 0 ? st.size : st.size * 0.7, st.bold, r.italic);
}

double RunShift(const Run& r, const TextStyle& st) {
  if (r.level < 0) return 0.25 * st.size;
  if (r.level > 0) return -0.42 * st.size;
  return 0;
}

// Extra space after an italic run that an upright run of the same level follows, so that
// "f(" does not collide.
double Gap(const std::vector<Run>& runs, size_t i, const TextStyle& st) {
  if (i + 1 >= runs.size()) return 0;
  const Run& a = runs[i];
  const Run& b = runs[i + 1];
  if (a.italic && !b.italic && a.level == b.level) return 0.08 * st.size;
  return 0;
}

}  // namespace

double FormulaWidth(const QString& text, const TextStyle& style) {
  std::vector<Run> runs;
  Parse(text, style.italicLatin, 0, runs);
  double w = 0;
  for (size_t i = 0; i < runs.size(); ++i)
    w += QFontMetricsF(RunFont(runs[i], style)).horizontalAdvance(runs[i].text) +
         Gap(runs, i, style);
  return w;
}

double DrawFormula(QPainter& p, QPointF at, const QString& text, const TextStyle& style, HAlign h,
                   VAlign v) {
  std::vector<Run> runs;
  Parse(text, style.italicLatin, 0, runs);
  const double width = FormulaWidth(text, style);
  const QFontMetricsF base(SerifFont(style.size, style.bold, false));
  double x = at.x();
  if (h == HAlign::Center) x -= width / 2;
  if (h == HAlign::Right) x -= width;
  double y = at.y();
  if (v == VAlign::Center) y += base.capHeight() / 2;
  if (v == VAlign::Top) y += base.ascent();
  if (v == VAlign::Bottom) y -= base.descent();

  p.save();
  p.setPen(style.color);
  for (size_t i = 0; i < runs.size(); ++i) {
    const QFont f = RunFont(runs[i], style);
    p.setFont(f);
    p.drawText(QPointF(x, y + RunShift(runs[i], style)), runs[i].text);
    x += QFontMetricsF(f).horizontalAdvance(runs[i].text) + Gap(runs, i, style);
  }
  p.restore();
  return width;
}

void ArrowHead(QPainter& p, QPointF tip, double dx, double dy, double length, double halfWidth) {
  const double n = std::hypot(dx, dy);
  if (n == 0) return;
  const double ux = dx / n, uy = dy / n;
  const QPointF back(tip.x() - ux * length, tip.y() - uy * length);
  QPolygonF head;
  head << tip << QPointF(back.x() - uy * halfWidth, back.y() + ux * halfWidth)
       << QPointF(back.x() + uy * halfWidth, back.y() - ux * halfWidth);
  p.save();
  p.setBrush(p.pen().color());
  QPen pen = p.pen();
  pen.setWidthF(1);
  pen.setStyle(Qt::SolidLine);
  pen.setJoinStyle(Qt::MiterJoin);
  p.setPen(pen);
  p.drawPolygon(head);
  p.restore();
}

void Arrow(QPainter& p, QPointF from, QPointF to, double headLength, double halfWidth) {
  const double dx = to.x() - from.x(), dy = to.y() - from.y();
  const double n = std::hypot(dx, dy);
  if (n == 0) return;
  // The shaft stops inside the head so that a wide pen does not blunt the tip.
  const double cut = std::min(n, headLength * 0.6);
  p.drawLine(from, QPointF(to.x() - dx / n * cut, to.y() - dy / n * cut));
  ArrowHead(p, to, dx, dy, headLength, halfWidth);
}

std::vector<QPolygonF> SampleCurve(const std::function<double(double)>& f, const Frame& frame,
                                   int samplesPerPixel) {
  // Pixel ordinate, kept within a few frame heights so that painting stays in range; the
  // painter's clip cuts the rest.
  const double lo = frame.top - 4 * frame.height;
  const double hi = frame.top + 5 * frame.height;
  auto py = [&](double x) { return std::clamp(frame.Y(f(x)), lo, hi); };
  constexpr double JumpPx = 3.0;

  std::vector<QPolygonF> lines(1);
  auto add = [&](double x) { lines.back() << QPointF(frame.X(x), py(x)); };

  const int n = std::max(2, static_cast<int>(frame.width) * samplesPerPixel);
  const double step = (frame.x1 - frame.x0) / n;
  double xa = frame.x0;
  add(xa);
  for (int i = 1; i <= n; ++i) {
    const double xb = i == n ? frame.x1 : frame.x0 + step * i;
    if (std::fabs(py(xb) - py(xa)) > JumpPx) {
      // Narrow down to the steepest point between the two samples.
      double a = xa, b = xb;
      for (int k = 0; k < 80 && a < b; ++k) {
        const double m = a + (b - a) / 2;
        if (m <= a || m >= b) break;
        if (std::fabs(py(m) - py(a)) >= std::fabs(py(b) - py(m))) {
          b = m;
        } else {
          a = m;
        }
      }
      if (std::fabs(py(b) - py(a)) > JumpPx) {
        // A jump: approach it from both sides, geometrically.
        for (int k = 1; k <= 52; ++k) {
          const double x = a - (a - xa) * std::ldexp(1.0, -k);
          if (x <= xa || x >= a) break;
          add(x);
        }
        add(a);
        lines.emplace_back();
        add(b);
        for (int k = 52; k >= 1; --k) {
          const double x = b + (xb - b) * std::ldexp(1.0, -k);
          if (x <= b || x >= xb) continue;
          add(x);
        }
      } else {
        // Steep but continuous: fill in.
        constexpr int Fill = 64;
        for (int k = 1; k < Fill; ++k) add(xa + (xb - xa) * k / Fill);
      }
    }
    add(xb);
    xa = xb;
  }
  return lines;
}

}  // namespace drawassets
