#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The set pixels of a picture as rows of '#' (not white) and '.' (white).
std::vector<std::string> Rows(TBitmap& b, int x0, int y0, int w, int h) {
  std::vector<std::string> rows;
  for (int y = y0; y < y0 + h; ++y) {
    std::string r;
    for (int x = x0; x < x0 + w; ++x) r += b.Canvas()->Pixel(x, y) == clWhite ? '.' : '#';
    rows.push_back(r);
  }
  return rows;
}

int CountNonWhite(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) != 0xFFFFFFFFu ? 1 : 0;
  return n;
}

}  // namespace

TEST(Canvas, ColoursAreBlueGreenRedFromTheHighByteDown) {
  EXPECT_EQ(ToQRgb(0xFF0000), qRgb(0, 0, 255));
  EXPECT_EQ(ToQRgb(0x0000FF), qRgb(255, 0, 0));
  EXPECT_EQ(FromQRgb(qRgb(1, 2, 3)), 0x030201u);
  TBitmap b(4, 4);
  b.Canvas()->SetPixel(1, 1, clBlue);
  EXPECT_EQ(b.Image().pixel(1, 1), qRgb(0, 0, 255));
  EXPECT_EQ(b.Canvas()->Pixel(1, 1), clBlue);
  EXPECT_EQ(b.Canvas()->Pixel(9, 9), 0xFFFFFFFFu);  // outside: no colour
}

TEST(Canvas, ThinLinesLeaveOutTheirEndPointInEitherDirection) {
  TBitmap b(12, 12);
  TCanvas& c = *b.Canvas();
  c.MoveTo(2, 2);
  c.LineTo(2, 6);
  c.MoveTo(8, 6);
  c.LineTo(8, 2);
  c.MoveTo(3, 9);
  c.LineTo(9, 11);  // x-major diagonal
  EXPECT_EQ(Rows(b, 0, 0, 12, 12), (std::vector<std::string>{
                                       "............",  //
                                       "............",  //
                                       "..#.........",  //
                                       "..#.....#...",  //
                                       "..#.....#...",  //
                                       "..#.....#...",  //
                                       "........#...",  //
                                       "............",  //
                                       "............",  //
                                       "...##.......",  //
                                       ".....###....",  //
                                       "........#...",  //
                                   }));
  EXPECT_EQ(c.PenPos(), QPoint(9, 11));
}

TEST(Canvas, WideLinesSpreadAcrossTheirDirectionAndAreSolid) {
  TBitmap b(10, 10);
  TCanvas& c = *b.Canvas();
  c.Pen.Width = 2;
  c.Pen.Style = psDot;  // ignored by wide pens
  c.MoveTo(4, 1);
  c.LineTo(4, 4);
  c.MoveTo(1, 7);
  c.LineTo(6, 7);
  EXPECT_EQ(Rows(b, 0, 0, 10, 9), (std::vector<std::string>{
                                      "..........",  //
                                      "...##.....",  //
                                      "...##.....",  //
                                      "...##.....",  //
                                      "..........",  //
                                      "..........",  //
                                      ".#####....",  //
                                      ".#####....",  //
                                      "..........",  //
                                  }));
  c.Pen.Width = 3;
  c.MoveTo(8, 0);
  c.LineTo(8, 2);
  EXPECT_EQ(Rows(b, 7, 0, 3, 3), (std::vector<std::string>{"###", "###", "..."}));
}

TEST(Canvas, DottedLinesAlternateOnePixelOnOneOff) {
  TBitmap b(12, 3);
  TCanvas& c = *b.Canvas();
  c.Pen.Style = psDot;
  c.MoveTo(0, 1);
  c.LineTo(11, 1);
  EXPECT_EQ(Rows(b, 0, 1, 12, 1)[0], "#.#.#.#.#.#.");
  c.Pen.Style = psClear;
  c.MoveTo(0, 0);
  c.LineTo(11, 0);
  EXPECT_EQ(Rows(b, 0, 0, 12, 1)[0], "............");
}

// Ellipse outlines take the style as lines do (dotted here), and a width the toolkit refuses
// is limited without a warning.
TEST(Canvas, EllipsesTakeThePenStyleAndAnyWidthQuietly) {
  auto ring = [](TPenStyle style, int width) {
    TBitmap b(40, 40);
    b.Canvas()->Pen = {clBlack, width, style, pmCopy};
    b.Canvas()->Ellipse(5, 5, 35, 35);
    return CountNonWhite(b.Image());
  };
  EXPECT_LT(ring(psDot, 1), ring(psSolid, 1) * 3 / 4);
  static int warnings = 0;
  const QtMessageHandler qt = qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString&) { ++warnings; });
  ring(psSolid, 65535);
  qInstallMessageHandler(qt);
  EXPECT_EQ(warnings, 0);
}

// At density 2 every fill, pixel and axis-parallel line (dotted, wide, not-xor) covers the
// 2 x 2 blocks of the pixels it covers at density 1; a sloping line is drawn at the finer grid.
TEST(Canvas, AtDoubleDensityAxisParallelFiguresCoverTheBlocksOfTheirPixels) {
  TBitmap one(24, 16), two(48, 32);
  two.Canvas()->SetDensity(2);
  for (TBitmap* b : {&one, &two}) {
    TCanvas& c = *b->Canvas();
    c.Brush.Color = clSilver;
    c.FillRect(1, 1, 6, 4);
    c.Pen.Color = clRed;
    c.Rectangle(7, 1, 12, 6);
    c.Pen.Style = psDot;
    c.MoveTo(1, 8);
    c.LineTo(22, 8);
    c.Pen.Style = psSolid;
    c.Pen.Width = 3;
    c.MoveTo(15, 14);
    c.LineTo(15, 2);
    c.Pen.Width = 1;
    c.Pen.Mode = pmNotXor;
    c.MoveTo(0, 11);
    c.LineTo(23, 11);
    c.MoveTo(3, 0);
    c.LineTo(3, 15);
    c.SetPixel(20, 14, clBlue);
  }
  const QImage a = one.Image();
  const QImage b = two.Image();
  int differ = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) differ += b.pixel(x, y) != a.pixel(x / 2, y / 2);
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(two.Canvas()->Pixel(20, 14), clBlue);

  TBitmap fine(24, 12);
  fine.Canvas()->SetDensity(2);
  fine.Canvas()->MoveTo(0, 0);
  fine.Canvas()->LineTo(8, 4);  // slope 1/2 over 16 picture pixels, two pixels thick
  fine.Canvas()->SetDensity(1);
  EXPECT_EQ(Rows(fine, 0, 0, 18, 4), (std::vector<std::string>{
                                         "#.................",  //
                                         "###...............",  //
                                         ".####.............",  //
                                         "...####...........",  //
                                     }));
}

TEST(Canvas, NotXorFiguresDrawnTwiceLeaveThePictureUnchanged) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-20, 80);
  TBitmap b(64, 48);
  TCanvas& c = *b.Canvas();
  for (int i = 0; i < 200; ++i) {
    c.Pen.Color = static_cast<TColor>(rng() & 0xFFFFFF);
    c.MoveTo(coord(rng), coord(rng));
    c.LineTo(coord(rng), coord(rng));
  }
  const QImage before = b.Image().copy();
  struct Seg {
    int x1, y1, x2, y2, width;
    TPenStyle style;
  };
  std::vector<Seg> figure;
  for (int i = 0; i < 60; ++i) {
    figure.push_back(
        {coord(rng), coord(rng), coord(rng), coord(rng), 1 + i % 4, static_cast<TPenStyle>(i % 5)});
  }
  figure.push_back({10, 10, 10, 40, 2, psSolid});  // axis-aligned lines too
  figure.push_back({5, 20, 50, 20, 1, psSolid});
  c.Pen.Mode = pmNotXor;
  c.Pen.Color = 0x3366CC;
  for (int pass = 0; pass < 2; ++pass) {
    for (const Seg& s : figure) {
      c.Pen.Width = s.width;
      c.Pen.Style = s.style;
      c.MoveTo(s.x1, s.y1);
      c.LineTo(s.x2, s.y2);
    }
    if (pass == 0) {
      EXPECT_NE(b.Image(), before);
    }
  }
  EXPECT_EQ(b.Image(), before);
}

TEST(Canvas, MergedLinesGiveTheSamePixelsAsLineByLine) {
  // Bar outlines and bands: runs of vertical and horizontal lines that continue, overlap
  // and touch, mixed with diagonals, colour and width changes and other operations.
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pos(-5, 105);
  std::uniform_int_distribution<int> kind(0, 9);
  TBitmap merged(100, 80);
  TBitmap plain(100, 80);
  plain.Canvas()->SetCoalescing(false);
  for (TBitmap* b : {&merged, &plain}) {
    std::mt19937 r(rng);
    TCanvas& c = *b->Canvas();
    int x = 50, y = 40;
    c.MoveTo(x, y);
    for (int i = 0; i < 3000; ++i) {
      const int k = kind(r);
      if (k < 4) {
        y = pos(r) % 80;
        c.LineTo(x, y);  // vertical
      } else if (k < 7) {
        x = pos(r) % 100;
        c.LineTo(x, y);  // horizontal
      } else if (k == 7) {
        x = pos(r);
        y = pos(r);
        c.LineTo(x, y);  // diagonal
      } else if (k == 8) {
        c.Pen.Color = (r() % 3) * 0x404040;
        c.Pen.Width = 1 + static_cast<int>(r() % 3);
      } else {
        c.Brush.Color = clYellow;
        c.FillRect(pos(r), pos(r), pos(r), pos(r));
        c.MoveTo(x, y);
      }
    }
  }
  EXPECT_EQ(merged.Image(), plain.Image());
  EXPECT_GT(CountNonWhite(merged.Image()), 1000);
}

TEST(Canvas, FarCoordinatesAreClippedWithoutWalkingThem) {
  TBitmap b(20, 20);
  TCanvas& c = *b.Canvas();
  c.MoveTo(3, -(1 << 28));
  c.LineTo(3, 10);
  c.MoveTo(-(1 << 28), -(1 << 27));
  c.LineTo(1 << 28, 1 << 27);
  c.Brush.Color = clBlack;
  c.FillRect(-(1 << 28), 18, 1 << 28, 1 << 28);
  const QImage img = b.Image();
  for (int y = 0; y < 10; ++y) EXPECT_NE(img.pixel(3, y), 0xFFFFFFFFu) << y;
  EXPECT_EQ(img.pixel(3, 10), 0xFFFFFFFFu);
  EXPECT_NE(img.pixel(0, 19), 0xFFFFFFFFu);
}

TEST(Canvas, RectangleFillRectAndTextCoverTheirBoxes) {
  TBitmap b(40, 40);
  TCanvas& c = *b.Canvas();
  c.Brush.Color = clYellow;
  c.Pen.Color = clRed;
  c.Rectangle(2, 3, 8, 9);
  EXPECT_EQ(c.Pixel(2, 3), clRed);
  EXPECT_EQ(c.Pixel(7, 8), clRed);
  EXPECT_EQ(c.Pixel(8, 8), clWhite);  // right and bottom edges excluded
  EXPECT_EQ(c.Pixel(7, 9), clWhite);
  EXPECT_EQ(c.Pixel(4, 5), clYellow);
  EXPECT_EQ(c.PenPos(), QPoint(0, 0));

  // A rectangle outline in not-xor touches each pixel once.
  const QImage before = b.Image().copy();
  c.Pen.Mode = pmNotXor;
  c.Brush.Style = bsClear;
  c.Rectangle(10, 10, 30, 20);
  c.Rectangle(10, 10, 30, 20);
  EXPECT_EQ(b.Image(), before);

  c.Pen.Mode = pmCopy;
  c.Brush.Style = bsSolid;
  c.Brush.Color = clAqua;
  c.FillRect(20, 0, 25, 2);
  EXPECT_EQ(c.Pixel(24, 1), clAqua);
  EXPECT_EQ(c.Pixel(25, 1), clWhite);

  c.Brush.Color = clLime;
  c.Font = MakeFont("Times New Roman", -12);
  const int w = c.TextWidth("0");
  const int h = c.TextHeight("0");
  EXPECT_GT(w, 3);
  EXPECT_GT(h, 10);
  c.TextOut(1, 25, "0");
  EXPECT_EQ(c.Pixel(1, 25), clLime);  // the box is filled with the brush
  EXPECT_EQ(c.Pixel(1 + w - 1, 25 + h - 1), clLime);
  EXPECT_EQ(c.Pixel(1 + w, 25), clWhite);
  int dark = 0;
  for (int y = 25; y < 25 + h; ++y)
    for (int x = 1; x < 1 + w; ++x) dark += c.Pixel(x, y) != clLime ? 1 : 0;
  EXPECT_GT(dark, 0);  // the glyph itself
}

TEST(Canvas, HandedOutPicturesDoNotChangeWithLaterDrawing) {
  TBitmap b(8, 8);
  const QImage kept = b.Image();
  b.Canvas()->SetPixel(2, 2, clBlack);
  EXPECT_EQ(kept.pixel(2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(b.Image().pixel(2, 2), qRgb(0, 0, 0));

  // A fresh picture of the same size is white again.
  b.SetSize(8, 8);
  EXPECT_EQ(b.Canvas()->Pixel(2, 2), clWhite);
  b.SetSize(0, 5);
  EXPECT_TRUE(b.Empty());
}

TEST(Canvas, FontsMapToLocalFamiliesAndSizes) {
  TFont f;
  EXPECT_EQ(f.Size(), 8);
  f.SetSize(12);
  EXPECT_EQ(f.Height, -16);
  const TFont tnr = MakeFont("Times New Roman", -16, fsBold | fsItalic);
  EXPECT_EQ(tnr.Size(), 12);
  const QFont q = tnr.ToQFont();
  EXPECT_EQ(q.family(), "Liberation Serif");
  EXPECT_EQ(q.pixelSize(), 16);
  EXPECT_TRUE(q.bold());
  EXPECT_TRUE(q.italic());
}

TEST(Canvas, RecorderSeesEveryCallWithItsPen) {
  TBitmap b(20, 20);
  std::vector<CanvasCall> log;
  b.Canvas()->SetRecorder(&log);
  b.Canvas()->Pen.Color = clRed;
  b.Canvas()->MoveTo(1, 2);
  b.Canvas()->LineTo(5, 2);
  b.Canvas()->TextOut(3, 4, "ab");
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1].op, "LineTo");
  EXPECT_EQ(log[1].a, 1);
  EXPECT_EQ(log[1].c, 5);
  EXPECT_EQ(log[1].pen.Color, clRed);
  EXPECT_EQ(log[2].text, "ab");
}
