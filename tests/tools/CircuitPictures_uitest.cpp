// The eight stored circuit drawings show the circuits' own characteristics: along each
// curve the picture has the curve's colour where the transfer function puts it.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/Jpeg.h"
#include "tools/CircuitFigures.h"

namespace {

bool IsCurveColour(QRgb c) {
  return qBlue(c) > 110 && qBlue(c) - qRed(c) > 50;
}

bool CurveNear(const QImage& img, double px, double py) {
  const int cx = static_cast<int>(std::lround(px)), cy = static_cast<int>(std::lround(py));
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int x = cx + dx, y = cy + dy;
      if (x >= 0 && y >= 0 && x < img.width() && y < img.height() && IsCurveColour(img.pixel(x, y)))
        return true;
    }
  return false;
}

// Fraction of test abscissas where the picture shows the curve of `params` under `frame`.
// Points next to a jump or off the picture are skipped.
double Agreement(const QImage& img, const model::CircuitParams& params,
                 const drawassets::Frame& frame, int* checked) {
  int tried = 0, hit = 0;
  const double pxStep = (frame.x1 - frame.x0) / frame.width;
  for (int i = 1; i < 60; ++i) {
    const double x = frame.x0 + (frame.x1 - frame.x0) * (i + 0.37) / 60;
    const double y = frame.Y(model::Transfer(params, x));
    const double yl = frame.Y(model::Transfer(params, x - 3 * pxStep));
    const double yr = frame.Y(model::Transfer(params, x + 3 * pxStep));
    if (std::fabs(yl - y) > 12 || std::fabs(yr - y) > 12) continue;  // jump or very steep
    if (y < frame.top + 2 || y > frame.top + frame.height - 2) continue;
    ++tried;
    hit += CurveNear(img, frame.X(x), y);
  }
  *checked = tried;
  return tried ? static_cast<double>(hit) / tried : 0;
}

}  // namespace

TEST(CircuitPictures, EachShowsItsOwnCharacteristic) {
  for (int page = 0; page < model::CircuitCount; ++page) {
    const QString name = QStringLiteral("circuit%1.jpg").arg(page + 1);
    const QImage img = platform::StoredPicture(name);
    ASSERT_FALSE(img.isNull()) << name.toStdString();
    ASSERT_EQ(img.width(), drawassets::CircuitPictureWidth);
    ASSERT_EQ(img.height(), drawassets::CircuitPictureHeight);
    const auto frame = drawassets::FigureFrame(page);
    int checked = 0;
    EXPECT_EQ(Agreement(img, drawassets::FigureParams(page), frame, &checked), 1.0)
        << name.toStdString();
    EXPECT_GE(checked, 25) << name.toStdString();
  }
}

TEST(CircuitPictures, NoneShowsAnotherCharacteristic) {
  // The same test with the characteristic of every other page must fail clearly, so the
  // check above really tells the drawings apart.
  for (int page = 0; page < model::CircuitCount; ++page) {
    const QImage img = platform::StoredPicture(QStringLiteral("circuit%1.jpg").arg(page + 1));
    ASSERT_FALSE(img.isNull());
    const auto frame = drawassets::FigureFrame(page);
    for (int other = 0; other < model::CircuitCount; ++other) {
      if (other == page) continue;
      auto params = drawassets::FigureParams(other);
      int checked = 0;
      const double agree = Agreement(img, params, frame, &checked);
      if (checked >= 10) {
        EXPECT_LT(agree, 0.8) << "picture " << page + 1 << " vs " << other + 1;
      }
    }
  }
}
