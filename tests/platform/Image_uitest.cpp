#include "platform/Image.h"

#include <gtest/gtest.h>

#include <QTest>

TEST(ImageControl, ShowsItsPictureStretchedOrNot) {
  TImage image;
  image.resize(40, 20);
  image.Picture().SetSize(20, 10);
  image.Canvas()->Brush.Color = clRed;
  image.Canvas()->FillRect(0, 0, 10, 10);
  QImage shown = image.grab().toImage();
  EXPECT_EQ(shown.pixel(5, 5), qRgb(255, 0, 0));
  EXPECT_NE(shown.pixel(15, 5), qRgb(255, 0, 0));
  image.SetStretch(true);
  shown = image.grab().toImage();
  EXPECT_EQ(shown.pixel(15, 15), qRgb(255, 0, 0));  // the left half, twice as large
  EXPECT_NE(shown.pixel(25, 15), qRgb(255, 0, 0));
}

TEST(ImageControl, CursorHintClickAndMouseMove) {
  TImage image;
  image.resize(50, 50);
  image.SetCursor(crHandPoint);
  EXPECT_EQ(image.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(image.GetCursor(), crHandPoint);
  image.SetCursor(crCross);
  EXPECT_EQ(image.cursor().shape(), Qt::CrossCursor);
  image.SetHint("Осциллограф");
  EXPECT_EQ(image.toolTip(), "Осциллограф");
  image.SetShowHint(false);
  EXPECT_TRUE(image.toolTip().isEmpty());

  int clicks = 0;
  QObject* sender = nullptr;
  image.OnClick = [&](QObject* s) {
    ++clicks;
    sender = s;
  };
  std::vector<std::tuple<int, int, TShiftState>> moves;
  image.OnMouseMove = [&](QObject*, TShiftState shift, int x, int y) {
    moves.emplace_back(x, y, shift);
  };
  QTest::mouseClick(&image, Qt::LeftButton, Qt::NoModifier, QPoint(10, 12));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, &image);
  QTest::mouseClick(&image, Qt::RightButton, Qt::NoModifier, QPoint(10, 12));
  EXPECT_EQ(clicks, 1);
  QTest::mouseMove(&image, QPoint(7, 9));
  QMouseEvent move(QEvent::MouseMove, QPointF(30, 31), QPointF(30, 31), Qt::NoButton,
                   Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(&image, &move);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back(), std::make_tuple(30, 31, TShiftState(ssShift | ssLeft)));
}
