#include "chart/SeriesDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/MessageRecorder.h"

using namespace chart;

namespace {

struct Segment {
  int x1, y1, x2, y2;
  bool operator==(const Segment&) const = default;
};

// Records the pen: every line with its start, every move, every marker.
class Recorder : public PenSink {
 public:
  void MoveTo(int x, int y) override {
    x_ = x;
    y_ = y;
    ++moves;
  }
  void LineTo(int x, int y) override {
    lines.push_back({x_, y_, x, y});
    x_ = x;
    y_ = y;
  }
  void Ellipse(int x1, int y1, int x2, int y2) override { ellipses.push_back({x1, y1, x2, y2}); }

  std::vector<Segment> lines;
  std::vector<Segment> ellipses;
  int moves = 0;

  std::vector<Segment> Vertical() const {
    std::vector<Segment> v;
    for (const auto& s : lines)
      if (s.x1 == s.x2 && s.y1 != s.y2) v.push_back(s);
    return v;
  }
  std::vector<Segment> HorizontalAt(int row) const {
    std::vector<Segment> v;
    for (const auto& s : lines)
      if (s.y1 == row && s.y2 == row && s.x1 != s.x2) v.push_back(s);
    return v;
  }

 private:
  int x_ = 0, y_ = 0;
};

// Net 10..310 x 10..210; x -1.5..1.5 on 300 pixels, y -0.5..1.5 on 200 (zero at row 160).
struct View {
  NetRect net{10, 10, 310, 210};
  PlotMap map;
  View(double xmin = -1.5, double xmax = 1.5, double ymin = -0.5, double ymax = 1.5) {
    map.x0_out = 10;
    map.y0_out = 10;
    map.w_out = 300;
    map.h_out = 200;
    map.xmin = xmin;
    map.xmax = xmax;
    map.ymin = ymin;
    map.ymax = ymax;
  }
};

// Columns covered by horizontal segments on a row, as merged intervals.
std::vector<std::pair<int, int>> Coverage(const std::vector<Segment>& segs) {
  std::vector<std::pair<int, int>> iv;
  for (const auto& s : segs) iv.push_back({std::min(s.x1, s.x2), std::max(s.x1, s.x2)});
  std::sort(iv.begin(), iv.end());
  std::vector<std::pair<int, int>> merged;
  for (const auto& p : iv) {
    if (!merged.empty() && p.first <= merged.back().second) {
      merged.back().second = std::max(merged.back().second, p.second);
    } else {
      merged.push_back(p);
    }
  }
  return merged;
}

}  // namespace

TEST(HistogramDrawing, ElevenBinsDrawOutlinesAndTheZeroLineToTheEdges) {
  MessageRecorder rec;
  double bins[11];
  for (int i = 0; i < 11; ++i) bins[i] = 0.1 * (i + 1);
  bins[5] = 2.0;  // above Ymax = 1.5
  TKeeper k;
  k.SetArray(bins, 11, -1.0, 1.0);
  k.SetHistogram();
  View v;
  Recorder r;
  DrawHistogram(r, k, v.net, v.map);
  EXPECT_TRUE(rec.texts.empty());

  // The zero line comes first, across the whole net.
  ASSERT_FALSE(r.lines.empty());
  EXPECT_EQ(r.lines.front(), (Segment{10, 160, 310, 160}));

  // Bar edges rise from the zero row; the outer edges sit at -1.1 and 1.1.
  const auto vertical = r.Vertical();
  ASSERT_FALSE(vertical.empty());
  int left = 1000, right = -1000;
  for (const auto& s : vertical) {
    EXPECT_TRUE(s.y1 == 160 || s.y2 == 160);
    left = std::min(left, s.x1);
    right = std::max(right, s.x1);
  }
  EXPECT_NEAR(left, 50, 1);    // x = -1.1
  EXPECT_NEAR(right, 270, 1);  // x = 1.1

  // Each bar top spans its own bin at its own row; the bin above Ymax has no top but its
  // edges reach one row below the net's top.
  for (int i = 0; i < 11; ++i) {
    const double c = -1.0 + 0.2 * i;
    const int row = v.map.MathToPhisY(bins[i]);
    const auto tops = r.HorizontalAt(i == 5 ? 11 : row);
    if (i == 5) {
      EXPECT_TRUE(tops.empty());
      int reaching = 0;
      for (const auto& s : vertical) reaching += (std::min(s.y1, s.y2) == 11) ? 1 : 0;
      EXPECT_EQ(reaching, 2);
    } else {
      // Bar 0 is drawn by both passes.
      ASSERT_EQ(tops.size(), i == 0 ? 2u : 1u) << i;
      EXPECT_NEAR(tops[0].x1, v.map.MathToPhisX(c - 0.1), 1) << i;
      EXPECT_NEAR(tops[0].x2, v.map.MathToPhisX(c + 0.1), 1) << i;
    }
  }

  // Outside the bins the empty bars continue the outline along the zero row to the edges
  // of the net (the zero line itself, drawn first, left aside).
  Recorder bars;
  bars.lines.assign(r.lines.begin() + 1, r.lines.end());
  const auto zero = Coverage(bars.HorizontalAt(160));
  ASSERT_EQ(zero.size(), 2u);
  EXPECT_EQ(zero[0].first, 10);
  EXPECT_NEAR(zero[0].second, left, 1);  // the positions are sums of steps, not products
  EXPECT_NEAR(zero[1].first, right, 1);
  EXPECT_EQ(zero[1].second, 310);
}

TEST(HistogramDrawing, ZoomedIntoOneBinDrawsOnlyItsTopAcrossTheNet) {
  MessageRecorder rec;
  double bins[11];
  for (double& b : bins) b = 0.5;
  TKeeper k;
  k.SetArray(bins, 11, -1.0, 1.0);
  k.SetHistogram();
  View v(0.02, 0.08);
  Recorder r;
  DrawHistogram(r, k, v.net, v.map);
  ASSERT_EQ(r.lines.size(), 2u);  // the zero line and the one top
  EXPECT_EQ(r.lines[1], (Segment{10, v.map.MathToPhisY(0.5), 310, v.map.MathToPhisY(0.5)}));

  // The same bin above the view vertically: nothing but the zero line.
  bins[5] = 3.0;
  Recorder high;
  DrawHistogram(high, k, v.net, v.map);
  EXPECT_EQ(high.lines.size(), 1u);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(HistogramDrawing, ZeroLineOutsideTheNetIsNotDrawnAndBarsStartAtTheNearestEdge) {
  MessageRecorder rec;
  double bins[3] = {1.2, 1.4, 1.3};
  TKeeper k;
  k.SetArray(bins, 3, -0.2, 0.2);
  k.SetHistogram();
  View v(-0.5, 0.5, 1.0, 1.5);  // Ymin > 0
  Recorder r;
  DrawHistogram(r, k, v.net, v.map);
  for (const auto& s : r.lines) EXPECT_FALSE(s.y1 == s.y2 && s.x1 == 10 && s.x2 == 310);
  const auto vertical = r.Vertical();
  ASSERT_FALSE(vertical.empty());
  for (const auto& s : vertical) EXPECT_EQ(std::max(s.y1, s.y2), 210 - 2);
}

TEST(HistogramDrawing, HiddenTypeMismatchShowsTheReadMessagePerBar) {
  MessageRecorder rec;
  double bins[4] = {1, 2, 3, 4};
  TKeeper k;
  k.SetArray(bins, 4, -0.3, 0.3);  // Analog: refuses discrete reads
  View v(-0.5, 0.5);
  Recorder r;
  DrawHistogram(r, k, v.net, v.map);
  ASSERT_FALSE(rec.texts.empty());
  for (const auto& t : rec.texts)
    EXPECT_EQ(t, "Keeper:Попытка считать непрерывный график как дискретный");
  // Bars 0..3, bar 0 twice, and the empty bars left and right of them inside the view.
  EXPECT_GE(rec.texts.size(), 5u);
}

TEST(AnalogDrawing, OneValuePerColumnInterruptedOutsideTheNet) {
  MessageRecorder rec;
  TKeeper k;
  // 0 on the left third, 3 (above the net) in the middle third, 0.5 on the right third.
  k.SetFunction([](double x) { return x < -0.5 ? 0.0 : (x < 0.5 ? 3.0 : 0.5); }, 3, -1.5, 1.5);
  View v;
  Recorder r;
  DrawAnalog(r, k, v.net, v.map);
  // Every line is one column wide and lies inside the net's inner rows.
  for (const auto& s : r.lines) {
    EXPECT_EQ(s.x2, s.x1 + 1);
    EXPECT_GE(s.y2, v.net.yb + 1);
    EXPECT_LE(s.y2, v.net.ye - 1);
  }
  const int middleStart = v.map.MathToPhisX(-0.5);
  const int middleEnd = v.map.MathToPhisX(0.5);
  for (const auto& s : r.lines) {
    EXPECT_FALSE(s.x2 > middleStart + 1 && s.x2 < middleEnd) << s.x2;
  }
  // The first segment after re-entry starts at the upper clamp row of the previous column.
  bool found = false;
  for (const auto& s : r.lines) {
    if (s.y1 == v.net.yb + 1) {
      found = true;
      EXPECT_EQ(s.y2, v.map.MathToPhisY(0.5));
    }
  }
  EXPECT_TRUE(found);
  // One value per column: 300 columns, the middle ones without lines.
  EXPECT_GT(r.lines.size(), 150u);
  EXPECT_LT(r.lines.size(), 300u);
}

TEST(AnalogDrawing, CurveBelowTheNetUsesTheLowerClampRow) {
  MessageRecorder rec;
  TKeeper k;
  k.SetFunction([](double x) { return x < 0 ? -5.0 : 1.0; }, 3, -1.5, 1.5);
  View v;
  Recorder r;
  DrawAnalog(r, k, v.net, v.map);
  ASSERT_FALSE(r.lines.empty());
  EXPECT_EQ(r.lines.front().y1, v.net.ye - 1);
  EXPECT_EQ(r.lines.front().y2, v.map.MathToPhisY(1.0));
}

TEST(AnalogDrawing, ACurveOutsideAtTheFirstColumnStartsFromTheClampRow) {
  MessageRecorder rec;
  TKeeper k;
  const double firstColumn = View().map.PhisToMathX(10);
  k.SetFunction([firstColumn](double x) { return x <= firstColumn ? 1e6 : 0.5; }, 3, -1.5, 1.5);
  View v;
  Recorder r;
  DrawAnalog(r, k, v.net, v.map);
  ASSERT_FALSE(r.lines.empty());
  EXPECT_EQ(r.lines.front(), (Segment{10, v.net.yb + 1, 11, v.map.MathToPhisY(0.5)}));
}

TEST(DiscreteDrawing, StemsFromTheZeroLineWithMarkersInside) {
  MessageRecorder rec;
  double s[5] = {1.0, -0.25, 0.5, 2.0, 0.25};
  TKeeper k;
  k.SetArray(s, 5, -1, 1);
  k.SetType(GraphType::Discret);
  k.SetMarked(true);
  View v;
  Recorder r;
  DrawDiscret(r, k, v.net, v.map);
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_EQ(r.lines.front(), (Segment{10, 160, 310, 160}));
  // Stems: five samples, sample 0 twice, plus empty stems left of the first one that lie in
  // the view (zero length, no visible line but still a visit).
  std::vector<Segment> stems(r.lines.begin() + 1, r.lines.end());
  int nonEmpty = 0;
  for (const auto& st : stems) {
    EXPECT_EQ(st.x1, st.x2);
    EXPECT_EQ(st.y1, 160);
    if (st.y2 != 160) ++nonEmpty;
  }
  EXPECT_EQ(nonEmpty, 6);
  // Sample 3 (2.0) is above the net: clamped stem, no marker. The empty samples -1 and 5
  // in the view get theirs on the zero line.
  EXPECT_EQ(r.ellipses.size(), 7u);
  for (const auto& e : r.ellipses) EXPECT_EQ(e.x2 - e.x1, 6);
}

TEST(RadioDrawing, BandBetweenPlusAndMinusValue) {
  MessageRecorder rec;
  TKeeper k;
  k.SetFunction([](double) { return 0.25; }, 3, -1.5, 1.5);
  View v(-1.5, 1.5, -1, 1);
  Recorder r;
  DrawRadio(r, k, v.net, v.map);
  ASSERT_EQ(r.lines.size(), 300u);
  for (const auto& s : r.lines) {
    EXPECT_EQ(s.x1, s.x2);
    EXPECT_EQ(s.y1, v.map.MathToPhisY(0.25));
    EXPECT_EQ(s.y2, v.map.MathToPhisY(-0.25));
  }
}

TEST(SeriesWalks, StopWhenTheStepIsLostInRounding) {
  MessageRecorder rec;
  double bins[5] = {1, 2, 3, 4, 5};
  TKeeper k;
  // Four steps across one unit in the last place of 1e5: x + step == x.
  k.SetArray(bins, 5, 1e5, std::nextafter(1e5, 2e5));
  ASSERT_TRUE(rec.texts.empty());
  k.SetHistogram();
  View v(99999, 100001);
  Recorder r;
  DrawHistogram(r, k, v.net, v.map);
  k.SetType(GraphType::Discret);
  DrawDiscret(r, k, v.net, v.map);
  EXPECT_LT(r.lines.size(), 20u);
}
