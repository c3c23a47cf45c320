// The stored bench picture against the bench's design geometry: every device box lies
// exactly under its hot-spot, and every indicator leaves a light, empty area where its
// reading label is shown.
#include <gtest/gtest.h>

#include <QImage>

#include "app/BenchLayout.h"
#include "platform/Jpeg.h"

namespace {

const QImage& Bench() {
  static const QImage img = platform::StoredPicture(QStringLiteral("bench.jpg"));
  return img;
}

int Gray(int x, int y) {
  return qGray(Bench().pixel(x, y));
}

const bench::Rect HotSpots[] = {bench::Image2,  bench::Image3,  bench::Image4,  bench::Image5,
                                bench::Image6,  bench::Image7,  bench::Image8,  bench::Image9,
                                bench::Image10, bench::Image11, bench::Image12, bench::Image13};

const bench::Rect Labels[] = {bench::LabelIpvIn, bench::LabelKorIn, bench::LabelIpvOut,
                              bench::LabelKorOut};

}  // namespace

TEST(BenchPicture, HasTheDesignSize) {
  ASSERT_FALSE(Bench().isNull());
  EXPECT_EQ(Bench().width(), bench::PanelWidth);
  EXPECT_EQ(Bench().height(), bench::PanelHeight);
}

TEST(BenchPicture, ReadingLabelsLandOnAnEmptyLightArea) {
  ASSERT_FALSE(Bench().isNull());
  for (const auto& r : Labels) {
    int darkest = 255;
    for (int y = r.top; y < r.bottom(); ++y)
      for (int x = r.left; x < r.right(); ++x) {
        const QRgb c = Bench().pixel(x, y);
        darkest = std::min({darkest, qRed(c), qGreen(c), qBlue(c)});
      }
    EXPECT_GE(darkest, 225) << "label at " << r.left << ", " << r.top;
  }
}

TEST(BenchPicture, LabelsSitInTheLowerHalfOfTheirIndicators) {
  const std::pair<bench::Rect, bench::Rect> pairs[] = {{bench::LabelIpvIn, bench::Image6},
                                                       {bench::LabelKorIn, bench::Image8},
                                                       {bench::LabelIpvOut, bench::Image11},
                                                       {bench::LabelKorOut, bench::Image13}};
  for (const auto& [label, box] : pairs) {
    EXPECT_GE(label.left, box.left);
    EXPECT_LE(label.right(), box.right());
    EXPECT_GE(2 * label.top, 2 * box.top + box.height);
    EXPECT_LE(label.bottom(), box.bottom());
    // The indicator's title sits above the label: some dark text in the upper half.
    int dark = 0;
    for (int y = box.top + 4; y < label.top - 6; ++y)
      for (int x = box.left + 4; x < box.right() - 4; ++x) dark += Gray(x, y) < 90;
    EXPECT_GT(dark, 30) << "indicator at " << box.left << ", " << box.top;
  }
}

TEST(BenchPicture, DeviceOutlinesFollowTheHotSpotEdges) {
  ASSERT_FALSE(Bench().isNull());
  for (const auto& r : HotSpots) {
    const std::string where = std::to_string(r.left) + ", " + std::to_string(r.top);
    // Away from the corners (rounded) and from the middles (where wires enter).
    for (const double f : {0.3, 0.7}) {
      const int x = r.left + static_cast<int>(r.width * f);
      const int y = r.top + static_cast<int>(r.height * f);
      // The outline: on the first and last rows and columns of the hot-spot.
      EXPECT_LT(Gray(r.left, y), 110) << where;
      EXPECT_LT(Gray(r.right() - 1, y), 110) << where;
      EXPECT_LT(Gray(x, r.top), 110) << where;
      EXPECT_LT(Gray(x, r.bottom() - 1), 110) << where;
      // Just outside the hot-spot: the white page.
      EXPECT_GT(Gray(r.left - 3, y), 200) << where;
      EXPECT_GT(Gray(r.right() + 2, y), 200) << where;
      EXPECT_GT(Gray(x, r.top - 3), 200) << where;
      EXPECT_GT(Gray(x, r.bottom() + 2), 200) << where;
      // Just inside the outline: the box's light fill.
      EXPECT_GT(Gray(r.left + 4, y), 200) << where;
      EXPECT_GT(Gray(r.right() - 5, y), 200) << where;
    }
  }
}
