#pragma once
// TCanvas: drawing on a picture with a pen, a brush and a font, in the manner of the
// component framework the program's controls follow. TBitmap: a picture with its canvas.
//
// Lines are rasterised here, exactly and deterministically, straight into the picture:
//  - a line of width 1 is the Bresenham line from the pen position to the end point, the
//    end point itself not drawn;
//  - a wider line of width w repeats that line w times, side by side across its main
//    direction (offsets -w/2 .. w-1-w/2), so a vertical line at x covers the columns
//    x-w/2 .. x-w/2+w-1;
//  - styles other than solid (dash, dot ...) apply to lines and ellipse outlines of width 1;
//    wider ones are solid;
//  - a pen wider than 32767 pixels (the most the toolkit draws) draws 32767 wide;
//  - pen mode copy paints the pen colour, not-xor paints not(pen xor picture), so a figure
//    drawn twice in not-xor leaves the picture as it was.
// Text, ellipses and pictures are drawn with QPainter. Colours are TColor (0x00BBGGRR)
// until they reach the picture.
//
// A canvas may draw at a higher pixel density (SetDensity): coordinates, widths and fonts stay
// in logical pixels, each of which covers d x d pixels of a picture d times as large. Fills and
// axis-parallel lines then cover exactly the blocks of the logical pixels; sloping lines are
// rasterised at the picture's own resolution (d pixels wide for width 1), texts, ellipses and
// pictures are painted at that resolution too.
//
// Horizontal and vertical solid lines in copy mode that continue or overlap one another
// (bar outlines, bands) are merged before they are painted: with one colour and copy mode
// the picture depends only on the union of the pixels, so merging gives the same pixels with
// far fewer writes. Any other operation paints the merged lines first.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/GraphicsTypes.h"

class QPainter;

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = psSolid;
  TPenMode Mode = pmCopy;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

// A font as the framework describes it. A negative Height is the character height in
// pixels (without internal leading), a positive one the cell height; Size is in points at
// 96 pixels per inch. Family names of the classic fonts map to fonts present here.
struct TFont {
  QString Name = QStringLiteral("MS Sans Serif");
  int Height = -11;
  TFontStyles Style = 0;
  TColor Color = clBlack;
  int Charset = 1;  // DEFAULT_CHARSET; kept, not used: every font here covers Cyrillic

  int Size() const;
  void SetSize(int points);
  void Assign(const TFont& other) { *this = other; }
  QFont ToQFont() const;
  bool operator==(const TFont& other) const = default;
};

// A font as the chart viewer's design gives it: "Times New Roman", 16 pixels, Cyrillic.
TFont MakeFont(const QString& name, int height, TFontStyles style = 0, int charset = 204);

// The Qt colour of a TColor.
QRgb ToQRgb(TColor c);
TColor FromQRgb(QRgb rgb);

// One drawing call as a test sees it (see TCanvas::SetRecorder).
struct CanvasCall {
  std::string op;  // "MoveTo", "LineTo", "FillRect", "Rectangle", "Ellipse", "TextOut", "Draw"
  int a = 0, b = 0, c = 0, d = 0;
  QString text;
  TPen pen;
  TBrush brush;
  TFont font;
};

class TCanvas {
 public:
  TCanvas();
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen Pen;
  TBrush Brush;
  TFont Font;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  QPoint PenPos() const { return {penX_, penY_}; }

  // Outline with the pen, inside with the brush; covers x1..x2-1, y1..y2-1. The pen
  // position does not move.
  void Rectangle(int x1, int y1, int x2, int y2);
  // x1..x2-1, y1..y2-1 with the brush.
  void FillRect(int x1, int y1, int x2, int y2);
  // The ellipse inside x1..x2-1, y1..y2-1: outline with the pen, inside with the brush.
  void Ellipse(int x1, int y1, int x2, int y2);
  // Text with its top left at x, y; with a solid brush its box is filled first.
  void TextOut(int x, int y, const QString& text);
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);
  // Another picture with its top left at x, y.
  void Draw(int x, int y, class TBitmap& picture);
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor c);

  // Merging of horizontal and vertical lines (on by default); off draws each line at once.
  void SetCoalescing(bool on);
  // Logical pixels per picture pixel along each axis (1 by default; see above).
  void SetDensity(int d);
  int Density() const { return density_; }
  // Every drawing call is appended to log while it is set (for tests).
  void SetRecorder(std::vector<CanvasCall>* log) { log_ = log; }

  // Binding to a picture, used by TBitmap: Release paints what is pending, ends the painter
  // and lets go of the pixels, so the picture may be copied or shared safely.
  void Attach(QImage* image, std::function<void()> onFirstChange);
  void Release();

 private:
  struct Span {
    bool active = false;
    int line = 0;  // x of a vertical span, y of a horizontal one
    int lo = 0, hi = 0;
    QRgb rgb = 0;
    int width = 1;
  };

  bool Acquire();
  QPainter& Painter();
  void Flush();
  void Record(const char* op, int a, int b, int c, int d, const QString& text = {});
  void RasterLine(int x1, int y1, int x2, int y2);
  bool TryMerge(int x1, int y1, int x2, int y2);
  void PaintSpan(const Span& s, bool vertical);
  // x1..x2-1, y1..y2-1 in logical pixels.
  void FillBox(long long x1, long long y1, long long x2, long long y2, QRgb rgb);
  void Plot(int x, int y, QRgb rgb, bool notXor);
  const QFontMetrics& Metrics();

  QImage* image_ = nullptr;
  std::function<void()> onFirstChange_;
  QRgb* bits_ = nullptr;
  qsizetype stride_ = 0;  // in pixels
  int w_ = 0, h_ = 0;
  std::unique_ptr<QPainter> painter_;
  int penX_ = 0, penY_ = 0;
  bool coalescing_ = true;
  int density_ = 1;
  Span vertical_, horizontal_;
  std::vector<CanvasCall>* log_ = nullptr;
  std::optional<TFont> metricsFont_;
  std::optional<QFontMetrics> metrics_;
};

// A picture (32-bit, opaque) with its canvas.
class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  bool Empty() const { return image_.isNull() || image_.width() == 0 || image_.height() == 0; }

  // A fresh white picture of this size: everything drawn before is gone. The canvas keeps
  // its pen, brush and font.
  void SetSize(int width, int height);
  void Assign(const TBitmap& other);
  void Assign(const QImage& image);
  void Clear();

  TCanvas* Canvas() { return &canvas_; }
  // The picture itself, with everything drawn so far; safe to copy and keep.
  const QImage& Image();

  // Called when the canvas starts drawing on a picture that was handed out or fresh (for
  // the control showing it to repaint).
  void SetOnChange(std::function<void()> f);

 private:
  void Rebind();

  QImage image_;
  TCanvas canvas_;
  std::function<void()> onChange_;
};
