#include "platform/Canvas.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// On/off runs of the line styles, in pixels along the line.
struct Pattern {
  int runs[6];
  int count;
};
const Pattern* PatternOf(TPenStyle s) {
  static const Pattern Dash{{18, 6}, 2};
  static const Pattern Dot{{1, 1}, 2};
  static const Pattern DashDot{{9, 6, 3, 6}, 4};
  static const Pattern DashDotDot{{9, 3, 3, 3, 3, 3}, 6};
  switch (s) {
    case psDash:
      return &Dash;
    case psDot:
      return &Dot;
    case psDashDot:
      return &DashDot;
    case psDashDotDot:
      return &DashDotDot;
    default:
      return nullptr;
  }
}

// The widest pen the toolkit draws (it refuses wider ones with a warning): every figure is
// drawn at most this wide, lines and ellipses alike.
constexpr int MaxPenWidth = (1 << 15) - 1;

int WidthOf(const TPen& pen) {
  return std::clamp(pen.Width, 1, MaxPenWidth);
}

// The pen's pattern, the same for lines and ellipse outlines: its style's at width 1, none
// (solid) when wider.
const Pattern* PenPattern(const TPen& pen) {
  return WidthOf(pen) == 1 ? PatternOf(pen.Style) : nullptr;
}

bool PatternOn(const Pattern& p, long long i) {
  int period = 0;
  for (int k = 0; k < p.count; ++k) period += p.runs[k];
  long long pos = i % period;
  for (int k = 0; k < p.count; ++k) {
    if (pos < p.runs[k]) return k % 2 == 0;
    pos -= p.runs[k];
  }
  return false;
}

QString MappedFamily(const QString& name) {
  if (name.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Serif");
  if (name.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("DejaVu Sans");
  if (name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Sans");
  if (name.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Mono");
  return name;
}

}  // namespace

// ---- Colours and fonts ------------------------------------------------------------------------

QRgb ToQRgb(TColor c) {
  return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

TColor FromQRgb(QRgb rgb) {
  return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

int TFont::Size() const {
  const int h = Height < 0 ? -Height : Height;
  return (h * 72 + 48) / 96;
}

void TFont::SetSize(int points) {
  Height = -((points * 96 + 36) / 72);
}

QFont TFont::ToQFont() const {
  QFont f(MappedFamily(Name));
  if (f.family().contains(QLatin1String("Serif")) && !f.family().contains(QLatin1String("Sans")))
    f.setStyleHint(QFont::Serif);
  else
    f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(std::max(1, Height < 0 ? -Height : Height));
  f.setBold((Style & fsBold) != 0);
  f.setItalic((Style & fsItalic) != 0);
  f.setUnderline((Style & fsUnderline) != 0);
  f.setStrikeOut((Style & fsStrikeOut) != 0);
  return f;
}

TFont MakeFont(const QString& name, int height, TFontStyles style, int charset) {
  TFont f;
  f.Name = name;
  f.Height = height;
  f.Style = style;
  f.Charset = charset;
  return f;
}

// ---- TCanvas ----------------------------------------------------------------------------------

TCanvas::TCanvas() = default;

TCanvas::~TCanvas() {
  Release();
}

void TCanvas::Attach(QImage* image, std::function<void()> onFirstChange) {
  Release();
  image_ = image;
  onFirstChange_ = std::move(onFirstChange);
}

bool TCanvas::Acquire() {
  if (bits_ != nullptr) return true;
  if (image_ == nullptr || image_->isNull()) return false;
  // bits() detaches a picture that was handed out and shared: drawing never reaches a copy.
  bits_ = reinterpret_cast<QRgb*>(image_->bits());
  stride_ = image_->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  w_ = image_->width();
  h_ = image_->height();
  if (onFirstChange_) onFirstChange_();
  return true;
}

void TCanvas::Release() {
  Flush();
  painter_.reset();
  bits_ = nullptr;
}

QPainter& TCanvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    if (density_ > 1) painter_->scale(density_, density_);
  }
  return *painter_;
}

void TCanvas::Record(const char* op, int a, int b, int c, int d, const QString& text) {
  if (log_ == nullptr) return;
  log_->push_back({op, a, b, c, d, text, Pen, Brush, Font});
}

void TCanvas::SetCoalescing(bool on) {
  Flush();
  coalescing_ = on;
}

void TCanvas::SetDensity(int d) {
  d = std::max(1, d);
  if (d == density_) return;
  Flush();
  painter_.reset();  // its scale follows the density
  density_ = d;
}

void TCanvas::Plot(int x, int y, QRgb rgb, bool notXor) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  QRgb& p = bits_[y * stride_ + x];
  p = notXor ? ~(rgb ^ p) | 0xFF000000u : rgb;
}

void TCanvas::FillBox(long long x1, long long y1, long long x2, long long y2, QRgb rgb) {
  if (!Acquire()) return;
  const long long d = density_;
  const int left = static_cast<int>(std::clamp(x1 * d, 0LL, static_cast<long long>(w_)));
  const int top = static_cast<int>(std::clamp(y1 * d, 0LL, static_cast<long long>(h_)));
  const int right = static_cast<int>(std::clamp(x2 * d, 0LL, static_cast<long long>(w_)));
  const int bottom = static_cast<int>(std::clamp(y2 * d, 0LL, static_cast<long long>(h_)));
  if (left >= right || top >= bottom) return;
  // Row after row; a wide box copies its first row into the others: a whole-chart background
  // is a million pixels, and the library's block copy moves them several times faster than
  // a pixel loop. A narrow one (a stroke, the edge of a bar) is quicker pixel by pixel.
  constexpr int MinCopiedWidth = 32;
  const int width = right - left;
  QRgb* const first = bits_ + top * stride_ + left;
  QRgb* row = first;
  for (int rows = bottom - top;; row += stride_) {
    if (width >= MinCopiedWidth && row != first) {
      std::memcpy(row, first, static_cast<std::size_t>(width) * sizeof(QRgb));
    } else {
      for (int x = 0; x < width; ++x) row[x] = rgb;
    }
    if (--rows == 0) break;
  }
}

void TCanvas::MoveTo(int x, int y) {
  Record("MoveTo", x, y, 0, 0);
  penX_ = x;
  penY_ = y;
}

void TCanvas::LineTo(int x, int y) {
  Record("LineTo", penX_, penY_, x, y);
  // A line without length draws nothing (its end point is left out), so the lines waiting
  // to be merged may go on waiting: a bar narrower than a pixel has such a top, and each
  // one would otherwise paint the edges waiting in its column again.
  const bool drawsNothing = x == penX_ && y == penY_;
  if (Pen.Style != psClear && !drawsNothing && !TryMerge(penX_, penY_, x, y)) {
    Flush();
    RasterLine(penX_, penY_, x, y);
  }
  penX_ = x;
  penY_ = y;
}

bool TCanvas::TryMerge(int x1, int y1, int x2, int y2) {
  const int w = WidthOf(Pen);
  if (!coalescing_ || Pen.Mode != pmCopy || (Pen.Style != psSolid && w == 1)) return false;
  if ((x1 != x2) == (y1 != y2)) return false;  // diagonal, or no line at all
  // Far coordinates go to the plain rasteriser, which clips them.
  auto far = [](int v) { return v > (1 << 29) || v < -(1 << 29); };
  if (far(x1) || far(y1) || far(x2) || far(y2)) return false;
  const bool vert = x1 == x2;
  const int a = vert ? y1 : x1;
  const int b = vert ? y2 : x2;
  // The pixels of the line along its direction, the end point left out.
  const int lo = a < b ? a : b + 1;
  const int hi = a < b ? b - 1 : a;
  const int line = vert ? x1 : y1;
  const QRgb rgb = ToQRgb(Pen.Color);
  Span& same = vert ? vertical_ : horizontal_;
  const Span& other = vert ? horizontal_ : vertical_;
  // Only lines of one colour and width may wait together: their order does not matter.
  if ((other.active && (other.rgb != rgb || other.width != w)) ||
      (same.active && (same.rgb != rgb || same.width != w)))
    Flush();
  if (same.active && same.line == line && lo <= same.hi + 1 && same.lo <= hi + 1) {
    same.lo = std::min(same.lo, lo);
    same.hi = std::max(same.hi, hi);
    return true;
  }
  if (same.active) PaintSpan(same, vert);
  same = {true, line, lo, hi, rgb, w};
  return true;
}

void TCanvas::PaintSpan(const Span& s, bool vertical) {
  const int across = s.line - s.width / 2;
  if (vertical) {
    FillBox(across, s.lo, across + s.width, s.hi + 1, s.rgb);
  } else {
    FillBox(s.lo, across, s.hi + 1, across + s.width, s.rgb);
  }
}

void TCanvas::Flush() {
  if (vertical_.active) PaintSpan(vertical_, true);
  if (horizontal_.active) PaintSpan(horizontal_, false);
  vertical_.active = false;
  horizontal_.active = false;
}

void TCanvas::RasterLine(int x1, int y1, int x2, int y2) {
  if (Pen.Style == psClear || !Acquire()) return;
  // In picture pixels: the line runs from the block of its first pixel towards the block of
  // its end point (left out), and each logical pixel across it is `d` picture pixels wide.
  const long long d = density_;
  const long long dx = (static_cast<long long>(x2) - x1) * d;
  const long long dy = (static_cast<long long>(y2) - y1) * d;
  if (dx == 0 && dy == 0) return;
  const int lw = WidthOf(Pen);
  const Pattern* pattern = PenPattern(Pen);
  const long long w = lw * d;
  const long long across = -(lw / 2) * d;  // first offset across the line
  const QRgb rgb = ToQRgb(Pen.Color);
  const bool notXor = Pen.Mode == pmNotXor;

  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const long long len = xMajor ? std::llabs(dx) : std::llabs(dy);
  const long long sMajor = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const long long dMinor = xMajor ? dy : dx;
  const long long aMinor = std::llabs(dMinor);
  const long long sMinor = dMinor > 0 ? 1 : (dMinor < 0 ? -1 : 0);
  // The first pixel along the line is the near edge of its block in the line's direction.
  const long long m1 = (xMajor ? x1 : y1) * d + (sMajor < 0 ? d - 1 : 0);
  const long long n1 = (xMajor ? y1 : x1) * d;
  // Only the steps whose main coordinate can touch the picture are walked.
  const long long lo = -w;
  const long long hi = (xMajor ? w_ : h_) - 1 + w;
  long long from = 0, to = len - 1;
  if (sMajor > 0) {
    from = std::max(from, lo - m1);
    to = std::min(to, hi - m1);
  } else {
    from = std::max(from, m1 - hi);
    to = std::min(to, m1 - lo);
  }
  const long long minorSize = xMajor ? h_ : w_;
  for (long long i = from; i <= to; ++i) {
    if (pattern != nullptr && !PatternOn(*pattern, i / d)) continue;
    const long long m = m1 + sMajor * i;
    // Nearest minor coordinate, halves rounded away from the start.
    const long long n = n1 + sMinor * ((2 * i * aMinor + len) / (2 * len));
    for (long long j = 0; j < w; ++j) {
      const long long off = n + across + j;
      if (off < 0 || off >= minorSize) continue;
      if (xMajor) {
        Plot(static_cast<int>(m), static_cast<int>(off), rgb, notXor);
      } else {
        Plot(static_cast<int>(off), static_cast<int>(m), rgb, notXor);
      }
    }
  }
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Flush();
  Record("Rectangle", x1, y1, x2, y2);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const bool outline = Pen.Style != psClear;
  if (Brush.Style == bsSolid) {
    const QRgb rgb = ToQRgb(Brush.Color);
    if (outline) {
      FillBox(x1 + 1, y1 + 1, x2 - 1, y2 - 1, rgb);
    } else {
      FillBox(x1, y1, x2, y2, rgb);
    }
  }
  if (!outline || x2 <= x1 || y2 <= y1) return;
  RasterLine(x1, y1, x2 - 1, y1);
  RasterLine(x2 - 1, y1, x2 - 1, y2 - 1);
  RasterLine(x2 - 1, y2 - 1, x1, y2 - 1);
  RasterLine(x1, y2 - 1, x1, y1);
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
  Flush();
  Record("FillRect", x1, y1, x2, y2);
  if (Brush.Style != bsSolid) return;
  FillBox(x1, y1, x2, y2, ToQRgb(Brush.Color));
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Flush();
  Record("Ellipse", x1, y1, x2, y2);
  if (!Acquire()) return;
  QPainter& p = Painter();
  if (Pen.Style == psClear) {
    p.setPen(Qt::NoPen);
  } else {
    QPen pen{QColor(ToQRgb(Pen.Color))};
    pen.setWidth(WidthOf(Pen));
    if (const Pattern* pattern = PenPattern(Pen)) {
      pen.setDashPattern(QList<qreal>(pattern->runs, pattern->runs + pattern->count));
      pen.setCapStyle(Qt::FlatCap);
    }
    p.setPen(pen);
  }
  if (Brush.Style == bsSolid) {
    p.setBrush(QColor(ToQRgb(Brush.Color)));
  } else {
    p.setBrush(Qt::NoBrush);
  }
  p.setCompositionMode(Pen.Mode == pmNotXor ? QPainter::RasterOp_NotSourceXorDestination
                                            : QPainter::CompositionMode_SourceOver);
  p.drawEllipse(
      QRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) - 1, std::abs(y2 - y1) - 1));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

const QFontMetrics& TCanvas::Metrics() {
  if (!metricsFont_ || !(*metricsFont_ == Font)) {
    metricsFont_ = Font;
    metrics_.emplace(Font.ToQFont());
  }
  return *metrics_;
}

int TCanvas::TextWidth(const QString& text) {
  return Metrics().horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) {
  return Metrics().height();
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  Flush();
  Record("TextOut", x, y, 0, 0, text);
  if (!Acquire()) return;
  const QFontMetrics& fm = Metrics();
  if (Brush.Style == bsSolid) {
    FillBox(x, y, x + fm.horizontalAdvance(text), y + fm.height(), ToQRgb(Brush.Color));
  }
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setFont(Font.ToQFont());
  p.setPen(QColor(ToQRgb(Font.Color)));
  p.drawText(x, y + fm.ascent(), text);
}

void TCanvas::Draw(int x, int y, TBitmap& picture) {
  Flush();
  Record("Draw", x, y, picture.Width(), picture.Height());
  if (picture.Empty()) return;
  const QImage source = picture.Image();  // before the painter: it may be this picture
  if (!Acquire()) return;
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(x, y, source);
}

TColor TCanvas::Pixel(int x, int y) {
  Flush();
  const long long px = static_cast<long long>(x) * density_;
  const long long py = static_cast<long long>(y) * density_;
  if (!Acquire() || px < 0 || py < 0 || px >= w_ || py >= h_) return 0xFFFFFFFFu;
  return FromQRgb(bits_[py * stride_ + px]);
}

void TCanvas::SetPixel(int x, int y, TColor c) {
  Flush();
  FillBox(x, y, x + 1LL, y + 1LL, ToQRgb(c));
}

// ---- TBitmap ----------------------------------------------------------------------------------

TBitmap::TBitmap() {
  Rebind();
}

TBitmap::TBitmap(int width, int height) {
  Rebind();
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  canvas_.Release();
}

void TBitmap::Rebind() {
  canvas_.Attach(&image_, [this] {
    if (onChange_) onChange_();
  });
}

void TBitmap::SetOnChange(std::function<void()> f) {
  onChange_ = std::move(f);
}

void TBitmap::SetSize(int width, int height) {
  canvas_.Release();
  if (width <= 0 || height <= 0) {
    image_ = QImage();
  } else if (image_.width() != width || image_.height() != height ||
             image_.format() != QImage::Format_RGB32 || !image_.isDetached()) {
    // A picture of the same size that nobody else holds is reused: only its pixels reset.
    image_ = QImage(width, height, QImage::Format_RGB32);
  }
  if (!image_.isNull()) image_.fill(0xFFFFFFFFu);
  if (onChange_) onChange_();
}

void TBitmap::Assign(const TBitmap& other) {
  canvas_.Release();
  // Painting what the other canvas still holds back does not change the other picture.
  image_ = const_cast<TBitmap&>(other).Image();
  if (onChange_) onChange_();
}

void TBitmap::Assign(const QImage& image) {
  canvas_.Release();
  image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
  if (onChange_) onChange_();
}

void TBitmap::Clear() {
  canvas_.Release();
  image_ = QImage();
  if (onChange_) onChange_();
}

const QImage& TBitmap::Image() {
  canvas_.Release();
  return image_;
}
