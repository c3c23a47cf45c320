#include "chart/Diagram.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/SaveDialog.h"
#include "tests/support/Files.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/SaveDialogScript.h"

namespace {

// A chart of a fixed size with the fonts of the chart viewer.
struct Chart {
  TDiagram d;
  explicit Chart(int w = 800, int h = 500) {
    d.resize(w, h);
    const TFont names = MakeFont("Times New Roman", -16, fsBold | fsItalic);
    d.SetFontNameX(names);
    d.SetFontNameY(names);
    d.SetFontName(names);
    d.SetFontNet(MakeFont("Times New Roman", -16));
  }
  QImage Image() { return d.Picture().Image().copy(); }
  TColor At(int x, int y) { return FromQRgb(d.Picture().Image().pixel(x, y)); }
};

std::vector<QString> Texts(const std::vector<CanvasCall>& log) {
  std::vector<QString> t;
  for (const auto& c : log)
    if (c.op == "TextOut") t.push_back(c.text);
  return t;
}

double Half(double) {
  return 0.5;
}

}  // namespace

TEST(Diagram, ConstructorValuesAndTheBaseSeries) {
  TDiagram d;
  EXPECT_EQ(d.GetColorBackDiagram(), clBtnFace);
  EXPECT_EQ(d.GetColorBackNet(), clWhite);
  EXPECT_EQ(d.GetColorNetLine(), clBlack);
  EXPECT_EQ(d.GetPenStyleNetLine(), psDot);
  EXPECT_EQ(d.GetNameX(), "x");
  EXPECT_EQ(d.GetNameY(), "y");
  EXPECT_EQ(d.GetNameDiagram(), "График");
  EXPECT_TRUE(d.GetBitmapX().Empty());
  EXPECT_TRUE(d.GetShowFeeler());
  EXPECT_EQ(d.GetPenStyleFeeler(), psSolid);
  EXPECT_EQ(d.GetPenWidthFeeler(), 1);
  EXPECT_EQ(d.GetColorFeeler(), clBlack);
  EXPECT_EQ(d.GetNetCursor(), crCross);
  EXPECT_EQ(d.GetLimitXmin(), -100000.0);
  EXPECT_EQ(d.GetLimitXmax(), 100000.0);
  EXPECT_EQ(d.GetLimitYmin(), -100000.0);
  EXPECT_EQ(d.GetLimitYmax(), 100000.0);
  EXPECT_EQ(d.GetXmin(), -1.0);
  EXPECT_EQ(d.GetXmax(), 1.0);
  EXPECT_EQ(d.GetYmin(), -1.0);
  EXPECT_EQ(d.GetYmax(), 1.0);
  EXPECT_FALSE(d.GetPrintMode());
  EXPECT_TRUE(d.IsLineEnabled());
  EXPECT_EQ(d.GetRedrawCount(), 1);  // the constructor draws once
  EXPECT_EQ(d.GetKeeperListLength(), 1);
  ASSERT_NE(d.GetKeeper(0), nullptr);
  EXPECT_EQ(d.GetKeeper(0)->GetNumber(), 0);
  EXPECT_EQ(d.GetKeeper(1), nullptr);
  EXPECT_EQ(d.Picture().Width(), d.GetWidth());
}

TEST(Diagram, EveryVisualSetterRedrawsAndFeelerSettersDoNot) {
  Chart c;
  TBitmap corner(4, 4);
  int n = c.d.GetRedrawCount();
  c.d.SetColorBackDiagram(clYellow);
  c.d.SetColorBackNet(clAqua);
  c.d.SetColorNetLine(clRed);
  c.d.SetPenStyleNetLine(psSolid);
  c.d.SetNameX("t,мс");
  c.d.SetNameY("u,мВ");
  c.d.SetNameDiagram("Осциллограмма");
  c.d.SetFontNameX(MakeFont("Times New Roman", -14));
  c.d.SetFontNameY(MakeFont("Times New Roman", -14));
  c.d.SetFontName(MakeFont("Times New Roman", -14));
  c.d.SetFontNet(MakeFont("Times New Roman", -14));
  c.d.SetBitmapX(&corner);
  c.d.SetBitmapY(nullptr);
  c.d.SetPrecisionX(3);
  c.d.SetPrecisionY(-2);
  c.d.SetLeftTopX(5);
  EXPECT_EQ(c.d.GetRedrawCount(), n + 16);
  EXPECT_EQ(c.d.GetPrecisionY(), 2);

  n = c.d.GetRedrawCount();
  c.d.SetPenStyleFeeler(psDot);
  c.d.SetPenWidthFeeler(3);
  c.d.SetColorFeeler(clRed);
  c.d.SetNetCursor(crHandPoint);
  c.d.EnableLine(false);
  c.d.SetShowFeeler(false);
  EXPECT_EQ(c.d.GetRedrawCount(), n);
}

TEST(Diagram, WithPaintingOffARedrawLaysOutAndLeavesThePicture) {
  Chart off, on;
  const QImage before = off.Image();
  const int redraws = off.d.GetRedrawCount();
  off.d.EnablePainting(false);
  for (Chart* c : {&off, &on}) {
    c->d.SetNameY("очень длинное имя оси");
    c->d.SetRangeY(0, 0.0003);  // labels that need more decimals
  }
  EXPECT_EQ(off.Image(), before);
  EXPECT_EQ(off.d.GetRedrawCount(), redraws);
  EXPECT_EQ(off.d.Get_xb_net(), on.d.Get_xb_net());
  EXPECT_EQ(off.d.GetPrecisionY(), on.d.GetPrecisionY());
  off.d.EnablePainting(true);
  off.d.ShowDiagram();
  EXPECT_EQ(off.Image(), on.Image());
}

TEST(Diagram, RangesRedrawOnlyWhenAccepted) {
  Chart c;
  int n = c.d.GetRedrawCount();
  c.d.SetRangeX(5, 2);
  EXPECT_EQ(c.d.GetXmin(), 2.0);
  EXPECT_EQ(c.d.GetXmax(), 5.0);
  EXPECT_EQ(c.d.GetRedrawCount(), n + 1);
  c.d.SetRangeX(1, 1.0000005);
  EXPECT_EQ(c.d.GetXmin(), 2.0);
  EXPECT_EQ(c.d.GetRedrawCount(), n + 1);

  c.d.SetXmax(7);
  EXPECT_EQ(c.d.GetXmax(), 7.0);
  c.d.SetYmin(-3);
  c.d.SetYmax(4);
  EXPECT_EQ(c.d.GetYmin(), -3.0);
  EXPECT_EQ(c.d.GetYmax(), 4.0);

  // Limits: narrowing past the range moves it and redraws; wider limits change nothing.
  c.d.SetRangeX(-1, 100);
  n = c.d.GetRedrawCount();
  c.d.SetLimitX(-5, 500);
  EXPECT_EQ(c.d.GetRedrawCount(), n);
  EXPECT_EQ(c.d.GetXmin(), -1.0);
  c.d.SetLimitX(0, 50);
  EXPECT_EQ(c.d.GetRedrawCount(), n + 1);
  EXPECT_EQ(c.d.GetXmin(), 0.0);
  EXPECT_EQ(c.d.GetXmax(), 50.0);
  EXPECT_EQ(c.d.GetPrecisionX(), 0);
  c.d.SetLimitXmin(-1e9);
  EXPECT_EQ(c.d.GetLimitXmin(), -100000.0);

  c.d.SetRangeY(-1, 1);
  c.d.SetLimitY(0, 0.5);
  EXPECT_EQ(c.d.GetYmin(), 0.0);
  EXPECT_EQ(c.d.GetYmax(), 0.5);
  EXPECT_EQ(c.d.GetPrecisionY(), 2);
  c.d.SetLimitYmax(1e9);
  EXPECT_EQ(c.d.GetLimitYmax(), 100000.0);

  // A range wholly outside the limits is refused, the chart stays as it was.
  n = c.d.GetRedrawCount();
  c.d.SetRangeX(60, 70);
  EXPECT_EQ(c.d.GetXmin(), 0.0);
  EXPECT_EQ(c.d.GetXmax(), 50.0);
  EXPECT_EQ(c.d.GetRedrawCount(), n);
}

TEST(Diagram, SteppingMovesOneEndBySpanDependentSteps) {
  Chart c;
  c.d.SetRangeX(-1, 1);
  ASSERT_EQ(c.d.GetPrecisionX(), 1);
  c.d.IncreaseXmin();
  EXPECT_DOUBLE_EQ(c.d.GetXmin(), -0.9);
  c.d.ReduceXmax();
  EXPECT_DOUBLE_EQ(c.d.GetXmax(), 0.9);
  c.d.SetRangeX(0, 500);
  c.d.IncreaseXmax();
  EXPECT_EQ(c.d.GetXmax(), 510.0);
  c.d.SetRangeX(0, 1000);
  c.d.SetPrecisionX(1);
  c.d.ReduceXmin();
  EXPECT_DOUBLE_EQ(c.d.GetXmin(), -0.1);  // a span of exactly 1000 keeps 1/10^p
  c.d.SetRangeY(0, 2);
  c.d.IncreaseYmax();
  EXPECT_DOUBLE_EQ(c.d.GetYmax(), 2.1);
  c.d.ReduceYmin();
  EXPECT_DOUBLE_EQ(c.d.GetYmin(), -0.1);
  // Moving Xmin past Xmax swaps the ends.
  c.d.SetRangeX(0.95, 1);
  c.d.IncrementXmin(0.1);
  EXPECT_EQ(c.d.GetXmin(), 1.0);
  EXPECT_DOUBLE_EQ(c.d.GetXmax(), 1.05);
}

TEST(Diagram, TransformsMapTheRangesOntoThePlotArea) {
  Chart c;
  c.d.SetRangeX(-3, 7);
  c.d.SetRangeY(-2, 2);
  EXPECT_EQ(c.d.MathToPhisX(-3), c.d.Get_x0_out());
  EXPECT_EQ(c.d.MathToPhisX(7), c.d.Get_x0_out() + c.d.Get_w_out());
  EXPECT_EQ(c.d.MathToPhisY(2), c.d.Get_y0_out());
  EXPECT_EQ(c.d.MathToPhisY(-2), c.d.Get_y0_out() + c.d.Get_h_out());
  EXPECT_EQ(c.d.PhisToMathX(c.d.Get_x0_out()), -3.0);
  EXPECT_EQ(c.d.PhisToMathY(c.d.Get_y0_out()), 2.0);
  // The net encloses the plot area by one digit and one text height.
  EXPECT_LT(c.d.Get_xb_net(), c.d.Get_x0_out());
  EXPECT_GT(c.d.Get_xe_net(), c.d.Get_x0_out() + c.d.Get_w_out());
  EXPECT_EQ(c.d.Get_y0_out() - c.d.Get_yb_net(), c.d.Layout().th);
}

TEST(Diagram, LayoutComesFromTheMeasuredTexts) {
  Chart c;
  TCanvas& canvas = *c.d.Canvas();
  canvas.Font = c.d.GetFontName();
  const int th = canvas.TextHeight("0");
  canvas.Font = c.d.GetFontNameX();
  const int nameW = canvas.TextWidth(c.d.GetNameX());
  canvas.Font = c.d.GetFontNet();
  const int digit = canvas.TextWidth("0");
  chart::FrameInput in;
  in.width = 800;
  in.height = 500;
  in.textHeight = th;
  in.nameXWidth = nameW;
  in.digitWidth = digit;
  c.d.ShowDiagram();
  const chart::FrameLayout expected = chart::LayoutFrame(in);
  EXPECT_EQ(c.d.Get_xb_net(), expected.xb_net);
  EXPECT_EQ(c.d.Get_yb_net(), expected.yb_net);
  EXPECT_EQ(c.d.Get_xe_net(), expected.xe_net());
  EXPECT_EQ(c.d.Get_ye_net(), expected.ye_net());
  EXPECT_EQ(c.d.Get_w_out(), expected.w_out);
  EXPECT_EQ(c.d.Get_h_out(), expected.h_out);
  EXPECT_EQ(&c.d.GetFont(), &c.d.Canvas()->Font);
}

TEST(Diagram, GridLinesLabelsAndTicksAreDrawnWhereTheGridSays) {
  Chart c;
  c.d.SetRangeX(-1, 1);
  std::vector<CanvasCall> log;
  c.d.Canvas()->SetRecorder(&log);
  c.d.ShowDiagram();
  c.d.Canvas()->SetRecorder(nullptr);
  const chart::AxisGrid& gx = c.d.GridX();
  ASSERT_GE(gx.marks.size(), 3u);
  const auto texts = Texts(log);
  for (const auto& m : gx.marks) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), QString::fromStdString(m.label)), texts.end())
        << m.label;
  }
  // The labels sit under their lines, the names at their places.
  const int ye = c.d.Get_ye_net();
  int xLabels = 0;
  for (const auto& call : log) {
    if (call.op == "TextOut" && call.b == ye + 5) ++xLabels;
  }
  EXPECT_EQ(xLabels, static_cast<int>(gx.marks.size()));
  EXPECT_NE(std::find(texts.begin(), texts.end(), "График"), texts.end());

  // The zero line is solid, the others dotted: count the dark pixels down each line, away
  // from the horizontal grid lines that cross it.
  const int yb = c.d.Get_yb_net();
  std::vector<int> crossing;
  for (const auto& m : c.d.GridY().marks) crossing.push_back(m.pixel);
  for (const auto& m : gx.marks) {
    if (m.pixel <= c.d.Get_xb_net() || m.pixel >= c.d.Get_xe_net() - 1) continue;
    int dark = 0, rows = 0;
    for (int y = yb + 1; y < ye - 1; ++y) {
      if (std::find(crossing.begin(), crossing.end(), y) != crossing.end()) continue;
      ++rows;
      dark += c.At(m.pixel, y) == clBlack ? 1 : 0;
    }
    if (m.zero) {
      EXPECT_EQ(dark, rows) << m.value;
    } else {
      EXPECT_NEAR(dark, rows / 2, 2) << m.value;
    }
  }
  // Tick marks under the net.
  EXPECT_EQ(c.At(gx.marks[1].pixel, ye + 3), clBlack);
  EXPECT_EQ(c.At(gx.marks[1].pixel, ye + 4), clBtnFace);
}

TEST(Diagram, CoincidingLabelsRaiseThePrecisionUntilTheNextRange) {
  Chart c(1400, 500);
  c.d.SetRangeX(0, 1);
  // Wide enough for a step of 0.05: "0.1" would repeat at precision 1.
  ASSERT_EQ(c.d.GridX().step, 0.05);
  EXPECT_EQ(c.d.GetPrecisionX(), 2);
  c.d.SetNameX("x");  // another redraw keeps it
  EXPECT_EQ(c.d.GetPrecisionX(), 2);
  c.d.SetRangeX(0, 2);
  EXPECT_EQ(c.d.GetPrecisionX(), 1);
}

TEST(Diagram, RedrawingAnUnchangedChartChangesNothing) {
  // Limits -100000 .. 1 cut the range to 0.9999999 .. 1, whose labels read alike even in
  // the exponent format: the precision stops there, and further redraws keep the picture.
  Chart c;
  c.d.SetLimitX(-100000, 1);
  c.d.SetRangeX(0.9999999, 2);
  ASSERT_EQ(c.d.GetXmax(), 1.0);
  EXPECT_EQ(c.d.GetPrecisionX(), 8);
  const QImage first = c.Image();
  const int netRight = c.d.Get_xe_net();
  const size_t lines = c.d.GridX().marks.size();
  for (int redraw = 0; redraw < 4; ++redraw) {
    c.d.ShowDiagram();
    EXPECT_EQ(c.d.GetPrecisionX(), 8);
    EXPECT_EQ(c.d.Get_xe_net(), netRight);
    EXPECT_EQ(c.d.GridX().marks.size(), lines);
    EXPECT_EQ(c.Image(), first);
  }

  // A raise that widens the labels: the first picture is already the one that stays.
  Chart w(1400, 500);
  w.d.SetRangeX(0, 1);
  const QImage raised = w.Image();
  w.d.SetNameX("x");
  EXPECT_EQ(w.Image(), raised);
}

TEST(Diagram, TooSmallForLabelsDrawsOnlyGridAndNames) {
  Chart c(120, 60);
  c.d.SetPrecisionX(1);
  std::vector<CanvasCall> log;
  c.d.Canvas()->SetRecorder(&log);
  c.d.ShowDiagram();
  c.d.Canvas()->SetRecorder(nullptr);
  EXPECT_EQ(c.d.Layout().labels, 0);
  EXPECT_EQ(Texts(log), (std::vector<QString>{"График", "x", "y"}));
  EXPECT_EQ(c.d.Get_x0_out(), c.d.Get_xb_net());
  EXPECT_EQ(c.d.Get_w_out(), c.d.Get_xe_net() - c.d.Get_xb_net());
  EXPECT_TRUE(c.d.GridX().minor.empty());

  // Even no room at all draws without fault, series included.
  double bars[] = {1, 2, 3};
  c.d.GetKeeper(0)->SetArray(bars, 3, -1, 1);
  c.d.GetKeeper(0)->SetHistogram();
  c.d.PNewKeeper()->SetFunction(Half, 5, -1, 1);
  for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(6, 4), QSize(30, 12)}) {
    c.d.resize(size);
    c.d.ShowDiagram();
    c.d.MouseMove(0, 2, 2);
    EXPECT_EQ(c.d.Picture().Width(), size.width());
  }
}

TEST(Diagram, SeriesDrawOnlyWhenEnabledAndShown) {
  Chart c;
  c.d.SetColorNetLine(clGray);
  TKeeper* k = c.d.GetKeeper(0);
  k->SetFunction(Half, 10, -1, 1);
  k->SetColor(clRed);
  c.d.ShowDiagram();
  const int row = c.d.MathToPhisY(0.5);
  const int col = c.d.MathToPhisX(0.3);
  EXPECT_EQ(c.At(col, row), clRed);
  EXPECT_EQ(c.At(col, row - 1), clRed);  // two pixels wide
  c.d.EnableLine(false);
  c.d.ShowDiagram();
  EXPECT_NE(c.At(col, row), clRed);
  c.d.EnableLine(true);
  k->Hide();
  c.d.ShowDiagram();
  EXPECT_NE(c.At(col, row), clRed);

  // ShowPoint sets one pixel inside the ranges and nothing outside them.
  c.d.ShowPoint(0.25, 0.25, clLime);
  EXPECT_EQ(c.At(c.d.MathToPhisX(0.25), c.d.MathToPhisY(0.25)), clLime);
  const QImage before = c.Image();
  c.d.ShowPoint(1.5, 0.25, clLime);
  c.d.ShowPoint(0.25, -1.5, clLime);
  EXPECT_EQ(c.Image(), before);
}

TEST(Diagram, LaterSeriesLieOnTopAndCornerPicturesAreDrawnLast) {
  Chart c;
  TKeeper* a = c.d.GetKeeper(0);
  a->SetFunction(Half, 10, -1, 1);
  a->SetColor(clRed);
  TKeeper* b = c.d.PNewKeeper();
  b->SetFunction(Half, 10, -1, 1);
  b->SetColor(clBlue);
  TBitmap corner(6, 5);
  corner.Canvas()->Brush.Color = clFuchsia;
  corner.Canvas()->FillRect(0, 0, 6, 5);
  c.d.SetBitmapY(&corner);
  c.d.SetBitmapX(&corner);
  EXPECT_EQ(c.At(c.d.MathToPhisX(0.3), c.d.MathToPhisY(0.5)), clBlue);
  EXPECT_EQ(c.At(c.d.Get_xb_net() + 3, c.d.Get_yb_net() + 3), clFuchsia);
  EXPECT_EQ(c.At(c.d.Get_xb_net() + 8, c.d.Get_yb_net() + 7), clFuchsia);
  EXPECT_NE(c.At(c.d.Get_xb_net() + 9, c.d.Get_yb_net() + 3), clFuchsia);
  EXPECT_EQ(c.At(c.d.Get_xe_net() - 4, c.d.Get_ye_net() - 4), clFuchsia);
  EXPECT_EQ(c.At(c.d.Get_xe_net() - 9, c.d.Get_ye_net() - 8), clFuchsia);
  EXPECT_NE(c.At(c.d.Get_xe_net() - 3, c.d.Get_ye_net() - 4), clFuchsia);
}

// Drawn anew at double density: where only fills and axis-parallel lines lie (the net's lower
// left quarter below the curve, with its frame, grid and ticks) every pixel of the last redraw
// is a 2 x 2 block; the curve stands where it stood; the cross-hair on the screen is not drawn.
TEST(Diagram, PictureAtDoubleDensityIsTheLastRedrawWithoutTheCrossHair) {
  Chart c;
  c.d.SetColorBackDiagram(clYellow);
  TKeeper* k = c.d.GetKeeper(0);
  k->SetFunction(Half, 10, -1, 1);
  k->SetColor(clBlue);
  c.d.ShowDiagram();
  const QImage screen = c.Image();
  const int fx = c.d.MathToPhisX(-0.5), fy = c.d.MathToPhisY(0.2);
  c.d.MouseMove(0, fx, fy);
  ASSERT_NE(c.Image().pixel(fx, fy + 20), screen.pixel(fx, fy + 20));
  const QImage two = c.d.PictureAtDensity(2);
  ASSERT_EQ(two.size(), QSize(1600, 1000));
  EXPECT_EQ(two.devicePixelRatio(), 2.0);
  int differ = 0;
  for (int y = c.d.MathToPhisY(0) + 2; y < c.d.Get_ye_net() + 3; ++y)
    for (int x = c.d.Get_xb_net() - 1; x < c.d.MathToPhisX(0); ++x)
      for (int d = 0; d < 4; ++d)
        differ += two.pixel(2 * x + d % 2, 2 * y + d / 2) != screen.pixel(x, y);
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(FromQRgb(two.pixel(1, 999)), clYellow);
  EXPECT_EQ(FromQRgb(two.pixel(2 * c.d.MathToPhisX(0.3), 2 * c.d.MathToPhisY(0.5))), clBlue);
}

TEST(Diagram, PrintModeIsWhiteAndBlackWhileTheScreenKeepsItsColours) {
  MessageRecorder rec;
  Chart c;
  c.d.SetColorBackDiagram(clYellow);
  c.d.SetColorBackNet(clAqua);
  c.d.SetColorNetLine(clRed);
  TKeeper* k = c.d.GetKeeper(0);
  k->SetFunction(Half, 10, -1, 1);
  k->SetColor(clBlue);
  c.d.ShowDiagram();
  const int xb = c.d.Get_xb_net(), yb = c.d.Get_yb_net();
  const int sx = c.d.MathToPhisX(0.3), sy = c.d.MathToPhisY(0.5);
  const int ix = c.d.MathToPhisX(0.12), iy = c.d.MathToPhisY(0.8);  // net, off the grid
  auto check = [&](const QImage& img, bool print) {
    EXPECT_EQ(FromQRgb(img.pixel(0, c.d.GetHeight() - 1)), print ? clWhite : clYellow);
    EXPECT_EQ(FromQRgb(img.pixel(ix, iy)), print ? clWhite : clAqua);
    EXPECT_EQ(FromQRgb(img.pixel(xb, yb + 5)), print ? clBlack : clRed);
    EXPECT_EQ(FromQRgb(img.pixel(sx, sy)), print ? clBlack : clBlue);
  };
  check(c.Image(), false);
  c.d.SetPrintMode();
  check(c.Image(), true);
  c.d.ResetPrintMode();
  check(c.Image(), false);

  // The clipboard gets the print picture, the screen its colours back.
  c.d.CopyToClipboard();
  const QImage clip = platform::ClipboardPicture();
  ASSERT_EQ(clip.size(), QSize(800, 500));
  check(clip.convertToFormat(QImage::Format_RGB32), true);
  check(c.Image(), false);
  EXPECT_FALSE(c.d.GetPrintMode());

  // So does the file.
  QTemporaryDir dir;
  const QString name = dir.filePath("Graph.BMP");
  c.d.SaveBmpFile(name);
  EXPECT_TRUE(rec.texts.empty());
  QImage saved(name, "BMP");
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), QSize(800, 500));
  check(saved.convertToFormat(QImage::Format_RGB32), true);
  check(c.Image(), false);
}

TEST(Diagram, SavedFileNamesAreCorrectedToBmp) {
  MessageRecorder rec;
  Chart c(200, 150);
  QTemporaryDir dir;
  c.d.SaveBmpFile(dir.filePath("graph.jpg"));
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0], (dir.filePath("graph.jpg") +
                           ":\nФормат файлов .jpg не поддерживается.Произведена коррекция.")
                              .toStdString());
  EXPECT_TRUE(QFile::exists(dir.filePath("graph.bmp")));
  EXPECT_FALSE(QFile::exists(dir.filePath("graph.jpg")));

  c.d.SaveBmpFile(dir.filePath("plain"));
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(rec.texts[1],
            (dir.filePath("plain") + ":\nФормат файлов  не поддерживается.Произведена коррекция.")
                .toStdString());
  const QByteArray file = FileBytes(dir.filePath("plain.bmp"));
  ASSERT_GE(file.size(), 54);
  EXPECT_EQ(file.left(2), "BM");
  EXPECT_EQ(static_cast<int>(file[28]), 24);  // bits per pixel
  EXPECT_EQ(file.size(), 54 + 150 * ((200 * 3 + 3) / 4 * 4));
}

TEST(Diagram, AFileThatCannotBeWrittenIsReportedAndTheColoursReturn) {
  MessageRecorder rec;
  Chart c(200, 150);
  c.d.SetColorBackDiagram(clYellow);
  QTemporaryDir dir;
  const QString name = dir.filePath("no/such/folder/chart.bmp");
  c.d.SaveBmpFile(name);
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_NE(rec.texts[0].find("Не удаётся записать файл"), std::string::npos);
  EXPECT_NE(rec.texts[0].find("chart.bmp"), std::string::npos);
  EXPECT_FALSE(c.d.GetPrintMode());
  EXPECT_EQ(c.At(0, 0), clYellow);
}

TEST(Diagram, SaveAsksForANameOfferingDiagramBmp) {
  MessageRecorder rec;
  Chart c(200, 150);
  QTemporaryDir dir;
  ModalScript script;
  SaveOffer offer;
  script.Then(SaveAsOffered(dir.path(), "chosen", offer));  // typed without extension
  script.Then([](QDialog& d) { d.reject(); });
  c.d.SaveBmpFile();
  EXPECT_EQ(offer.name, "Диаграмма.bmp");
  EXPECT_EQ(offer.suffix, "bmp");
  EXPECT_EQ(offer.filters, QStringList{"Bitmaps (*.bmp)"});
  EXPECT_TRUE(QFile::exists(dir.filePath("chosen.bmp")));  // the dialog adds the extension
  EXPECT_TRUE(rec.texts.empty());

  // Cancelling saves nothing and says nothing.
  const int before = QDir(dir.path()).entryList(QDir::Files).size();
  c.d.SaveBmpFile();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), before);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(SeriesList, NumbersStayGaplessAndTheBaseStays) {
  MessageRecorder rec;
  TDiagram d;
  TKeeper* one = d.PNewKeeper();
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->GetNumber(), 1);
  EXPECT_EQ(d.NewKeeper(), 2);
  EXPECT_EQ(d.NewKeeper(), 3);
  EXPECT_EQ(d.GetKeeperListLength(), 4);
  TKeeper* two = d.GetKeeper(2);
  TKeeper* three = d.GetKeeper(3);
  d.DeleteKeeper(1);
  EXPECT_EQ(d.GetKeeperListLength(), 3);
  EXPECT_EQ(d.GetKeeper(1), two);
  EXPECT_EQ(d.GetKeeper(2), three);
  EXPECT_EQ(d.GetKeeper(3), nullptr);

  d.DeleteKeeper(0);
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0], "Diagram: Попытка удалить базовый график отменена.");
  EXPECT_EQ(d.GetKeeperListLength(), 3);
  d.DeleteKeeper(9);  // not in the list: ignored
  TKeeper stranger;
  d.PDeleteKeeper(&stranger);
  EXPECT_EQ(d.GetKeeperListLength(), 3);
  EXPECT_EQ(rec.texts.size(), 1u);

  d.NewKeeper();
  d.NewKeeper();
  ASSERT_EQ(d.GetKeeperListLength(), 5);
  d.NewKeeperList(3);
  EXPECT_EQ(d.GetKeeperListLength(), 3);
  EXPECT_EQ(d.GetKeeper(2)->GetXmin(), -1.0);  // new default series
  d.NewKeeperList(1);
  EXPECT_EQ(d.GetKeeperListLength(), 1);

  double data[] = {1, 2, 3};
  d.GetKeeper(0)->SetArray(data, 3, 0, 2);
  d.PNewKeeper();
  d.DeleteKeeperList();
  EXPECT_EQ(d.GetKeeperListLength(), 1);
  EXPECT_EQ(d.GetKeeper(0)->GetCount(), 3);  // the base keeps its data
}

TEST(SeriesList, AppendingStopsAtTheLargestList) {
  MessageRecorder rec;
  TDiagram d;
  d.NewKeeperList(255);
  EXPECT_EQ(d.GetKeeperListLength(), 255);
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_EQ(d.GetKeeper(254)->GetNumber(), 254);
  EXPECT_EQ(d.NewKeeper(), 0);
  EXPECT_EQ(d.PNewKeeper(), nullptr);
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(rec.texts[0], "Diagram: Отказано в выделении памяти при создании графика.");
  EXPECT_EQ(rec.texts[1], "Diagram: Hе удалось создать график.");
  EXPECT_EQ(d.GetKeeperListLength(), 255);
}

TEST(Diagram, AutoRangingWalksEverySeries) {
  Chart c;
  double a[] = {0, 4, 2};
  double b[] = {-3, 1};
  c.d.GetKeeper(0)->SetArray(a, 3, 10, 20);
  TKeeper* k = c.d.PNewKeeper();
  k->SetArray(b, 2, -10, 0);
  k->Hide();         // hidden series count too
  c.d.PNewKeeper();  // unbound: -1..1
  c.d.AutoRangeX();
  EXPECT_EQ(c.d.GetXmin(), -10.0);
  EXPECT_EQ(c.d.GetXmax(), 20.0);
  c.d.AutoRangeY();
  EXPECT_EQ(c.d.GetYmin(), -3.0);
  EXPECT_EQ(c.d.GetYmax(), 4.0);
  c.d.AutoRangeXAverage();
  EXPECT_DOUBLE_EQ(c.d.GetXmin(), (10 - 10 - 1) / 3.0);
  EXPECT_DOUBLE_EQ(c.d.GetXmax(), (20 + 0 + 1) / 3.0);
  c.d.AutoRangeYAverage();
  EXPECT_DOUBLE_EQ(c.d.GetYmin(), (0 - 3 - 1) / 3.0);
  EXPECT_DOUBLE_EQ(c.d.GetYmax(), (4 + 1 + 1) / 3.0);
}

TEST(Diagram, AutoRangingSkipsSeriesWithoutData) {
  Chart c;
  double a[] = {0.25, 0.5};
  c.d.GetKeeper(0)->SetArray(a, 2, 2, 3);
  TKeeper* law = c.d.PNewKeeper();
  law->SetFunction([](double x) { return x / 10; }, 11, -50, 50);
  law->Hide();
  c.d.AutoRangeY();  // a hidden but bound series still counts
  EXPECT_EQ(c.d.GetYmin(), -5.0);
  EXPECT_EQ(c.d.GetYmax(), 5.0);
  law->Clear();  // out of the graph: its placeholder -1 .. 1 must not widen the range
  c.d.AutoRangeY();
  EXPECT_EQ(c.d.GetYmin(), 0.25);
  EXPECT_EQ(c.d.GetYmax(), 0.5);
  c.d.AutoRangeX();
  EXPECT_EQ(c.d.GetXmin(), 2.0);
  EXPECT_EQ(c.d.GetXmax(), 3.0);
}

TEST(Feeler, OneCrossFollowsTheMouseAndVanishesOutside) {
  Chart c;
  c.d.ShowDiagram();
  const QImage clean = c.Image();
  const int xb = c.d.Get_xb_net(), yb = c.d.Get_yb_net();
  const int xe = c.d.Get_xe_net(), ye = c.d.Get_ye_net();
  const int x = (xb + xe) / 2 + 3, y = (yb + ye) / 2 + 5;

  c.d.MouseMove(0, x, y);
  EXPECT_TRUE(c.d.IsFeelerDrawn());
  QImage one = c.Image();
  EXPECT_NE(one, clean);
  // The figure: down from 11 below the mouse to the net's bottom, left from 11 before it.
  EXPECT_NE(one.pixel(x, y + 11), clean.pixel(x, y + 11));
  EXPECT_EQ(one.pixel(x, y + 10), clean.pixel(x, y + 10));
  EXPECT_EQ(one.pixel(x, y), clean.pixel(x, y));
  EXPECT_NE(one.pixel(x - 11, y), clean.pixel(x - 11, y));
  EXPECT_EQ(one.pixel(x - 10, y), clean.pixel(x - 10, y));
  EXPECT_EQ(one.pixel(x + 5, y), clean.pixel(x + 5, y));

  // Moving on leaves exactly one cross: the same picture as a fresh one with a single move.
  c.d.MouseMove(0, x + 40, y - 30);
  const QImage moved = c.Image();
  c.d.ShowDiagram();
  EXPECT_FALSE(c.d.IsFeelerDrawn());
  c.d.MouseMove(0, x + 40, y - 30);
  EXPECT_EQ(c.Image(), moved);

  // Leaving the net (its frame counts as outside) takes the cross away, pixel for pixel.
  c.d.MouseMove(0, xb, y);
  EXPECT_FALSE(c.d.IsFeelerDrawn());
  EXPECT_EQ(c.Image(), clean);

  // Switching the feeler off removes a drawn cross; on again draws nothing until a move.
  c.d.MouseMove(0, x, y);
  c.d.SetShowFeeler(false);
  EXPECT_EQ(c.Image(), clean);
  c.d.SetShowFeeler(true);
  EXPECT_EQ(c.Image(), clean);
}

TEST(Feeler, AChangedPenDoesNotLeaveTheOldCrossBehind) {
  Chart c;
  c.d.ShowDiagram();
  const QImage clean = c.Image();
  const int x = (c.d.Get_xb_net() + c.d.Get_xe_net()) / 2;
  const int y = (c.d.Get_yb_net() + c.d.Get_ye_net()) / 2;
  c.d.MouseMove(0, x, y);
  c.d.SetColorFeeler(clRed);
  c.d.SetPenWidthFeeler(3);
  c.d.MouseMove(0, 0, 0);  // outside: erase
  EXPECT_EQ(c.Image(), clean);
  c.d.MouseMove(0, x, y);
  c.d.SetShowFeeler(false);
  EXPECT_EQ(c.Image(), clean);
}

TEST(Feeler, CursorSwitchesAtTheNetEdgeAndTheEventSeesEveryMove) {
  Chart c;
  c.d.SetCursor(crHandPoint);  // the control's own cursor outside the net
  std::vector<QPoint> seen;
  QObject* sender = nullptr;
  c.d.OnMouseMove = [&](QObject* s, TShiftState, int x, int y) {
    sender = s;
    seen.push_back({x, y});
  };
  const int xb = c.d.Get_xb_net(), yb = c.d.Get_yb_net();
  c.d.MouseMove(0, xb + 1, yb + 1);
  EXPECT_EQ(c.d.GetCursor(), crCross);
  c.d.MouseMove(0, xb, yb + 1);
  EXPECT_EQ(c.d.GetCursor(), crHandPoint);
  c.d.SetShowFeeler(false);
  c.d.SetNetCursor(crIBeam);
  c.d.MouseMove(0, xb + 5, yb + 5);
  EXPECT_EQ(c.d.GetCursor(), crIBeam);
  EXPECT_FALSE(c.d.IsFeelerDrawn());
  c.d.MouseMove(0, c.d.Get_xe_net(), yb + 5);
  EXPECT_EQ(c.d.GetCursor(), crHandPoint);
  EXPECT_EQ(sender, &c.d);
  EXPECT_EQ(seen,
            (std::vector<QPoint>{
                {xb + 1, yb + 1}, {xb, yb + 1}, {xb + 5, yb + 5}, {c.d.Get_xe_net(), yb + 5}}));
}

TEST(Diagram, BarsStemsAndCurvesDrawTheSamePictureAsThePlainWalk) {
  // On the canvas itself: 200 bars over -5 .. 5 seen from far out (80000 bar positions in
  // view) and zoomed in, with the zero line in the net and below it; then as stems, marked
  // where the plain walk's circles are few enough to wait for; then as a curve, which from
  // far out has all its samples in two or three columns.
  std::vector<double> bars(200);
  for (size_t i = 0; i < bars.size(); ++i) bars[i] = 0.5 + 0.6 * std::sin(i * 0.37);
  Chart visible(900, 500), plain(900, 500);
  plain.d.SetSeriesWalk(chart::SeriesWalk::EverySample);
  for (Chart* c : {&visible, &plain}) {
    TKeeper* k = c->d.GetKeeper(0);
    k->SetArray(bars.data(), static_cast<int>(bars.size()), -5, 5);
    k->SetColor(clBlue);
  }
  struct View {
    double xmin, xmax, ymin, ymax;
  };
  const View views[] = {{-2000, 2000, -0.5, 1.5},
                        {-2000, 2000, 0.2, 1.5},
                        {-7.3, 2.9, -0.5, 1.5},
                        {4.91, 4.97, -0.1, 1.2}};
  for (GraphType type : {GraphType::Histogram, GraphType::Discret, GraphType::Analog}) {
    for (const View& v : views) {
      for (Chart* c : {&visible, &plain}) {
        TKeeper* k = c->d.GetKeeper(0);
        k->SetType(type);
        k->SetMarked(type == GraphType::Discret && v.xmax - v.xmin < 100);
        c->d.EnableLine(false);
        c->d.SetRangeY(v.ymin, v.ymax);
        c->d.SetRangeX(v.xmin, v.xmax);
        c->d.EnableLine(true);
        c->d.ShowDiagram();
      }
      EXPECT_EQ(visible.Image(), plain.Image()) << int(type) << " " << v.xmin << " " << v.ymin;
    }
  }
}

TEST(Diagram, MergedBarOutlinesGiveTheSamePictureAsLineByLine) {
  // The redraw of a 10000-bin histogram over a 524288-sample curve, merged and line by line.
  std::vector<double> signal(524288), bars(10000);
  for (size_t i = 0; i < signal.size(); ++i) signal[i] = std::sin(i * 0.001) * 0.8;
  for (size_t i = 0; i < bars.size(); ++i) bars[i] = 0.5 + 0.45 * std::sin(i * 0.37);
  Chart merged(1000, 700), plain(1000, 700);
  plain.d.Canvas()->SetCoalescing(false);
  for (Chart* c : {&merged, &plain}) {
    TKeeper* a = c->d.GetKeeper(0);
    a->SetArray(signal.data(), static_cast<int>(signal.size()), -5, 5);
    TKeeper* h = c->d.PNewKeeper();
    h->SetArray(bars.data(), static_cast<int>(bars.size()), -5, 5);
    h->SetHistogram();
    h->SetColor(clBlue);
    c->d.SetRangeX(-5.5, 5.5);
  }
  EXPECT_EQ(merged.Image(), plain.Image());
  merged.d.SetRangeX(-0.3, 0.2);  // zoomed in: bars wider than pixels
  plain.d.SetRangeX(-0.3, 0.2);
  EXPECT_EQ(merged.Image(), plain.Image());
}
