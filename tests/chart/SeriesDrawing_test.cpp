#include "chart/SeriesDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <tuple>
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
  View(double xmin = -1.5, double xmax = 1.5, double ymin = -0.5, double ymax = 1.5, int w = 300) {
    map.x0_out = 10;
    map.y0_out = 10;
    map.w_out = w;
    map.h_out = 200;
    map.xmin = xmin;
    map.xmax = xmax;
    map.ymin = ymin;
    map.ymax = ymax;
  }
};

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

  // Outside the bins the outline runs along the zero line itself, drawn first across the
  // whole net: the empty bars there add nothing to it.
  Recorder bars;
  bars.lines.assign(r.lines.begin() + 1, r.lines.end());
  for (const auto& s : bars.HorizontalAt(160)) {
    EXPECT_GE(std::min(s.x1, s.x2), left);
    EXPECT_LE(std::max(s.x1, s.x2), right);
  }
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

namespace {

// The picture of the series walks as the canvas paints it: a 2-pixel pen, horizontal and
// vertical lines without their end point, circle markers kept by their boxes.
class Raster : public PenSink {
 public:
  Raster(int w, int h) : w_(w), h_(h), pixels_(static_cast<size_t>(w) * h) {}
  void MoveTo(int x, int y) override {
    x_ = x;
    y_ = y;
  }
  void LineTo(int x, int y) override {
    if (x != x_ && y != y_) ADD_FAILURE() << "a slanted line";
    if (y == y_) {
      for (int c = std::min(x_, x); c <= std::max(x_, x); ++c)
        if (c != x) Plot(c, y - 1), Plot(c, y);
    } else {
      for (int r = std::min(y_, y); r <= std::max(y_, y); ++r)
        if (r != y) Plot(x - 1, r), Plot(x, r);
    }
    x_ = x;
    y_ = y;
  }
  void Ellipse(int x1, int y1, int x2, int y2) override { circles_.insert({x1, y1, x2, y2}); }
  bool operator==(const Raster& o) const { return pixels_ == o.pixels_ && circles_ == o.circles_; }
  // Circle markers centred on a row.
  size_t CirclesOn(int row) const {
    return std::count_if(circles_.begin(), circles_.end(),
                         [row](const std::array<int, 4>& c) { return c[1] + 3 == row; });
  }

 private:
  void Plot(int x, int y) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) pixels_[static_cast<size_t>(y) * w_ + x] = 1;
  }
  int w_, h_;
  std::vector<std::uint8_t> pixels_;
  std::set<std::array<int, 4>> circles_;
  int x_ = 0, y_ = 0;
};

// Every call, in order.
class Calls : public PenSink {
 public:
  void MoveTo(int x, int y) override { log.push_back({'M', x, y, 0, 0}); }
  void LineTo(int x, int y) override { log.push_back({'L', x, y, 0, 0}); }
  void Ellipse(int x1, int y1, int x2, int y2) override { log.push_back({'E', x1, y1, x2, y2}); }
  std::vector<std::tuple<char, int, int, int, int>> log;
};

using Draw = void (*)(PenSink&, const TKeeper&, const NetRect&, const PlotMap&, SeriesWalk);

// The visible walk against the plain one: the same picture, and where the view holds no
// sample beyond the data, the very same calls.
void ExpectSamePicture(Draw draw, const TKeeper& k, const View& v, bool sameCalls,
                       const std::string& what) {
  Raster fast(320, 220), plain(320, 220);
  draw(fast, k, v.net, v.map, SeriesWalk::Visible);
  draw(plain, k, v.net, v.map, SeriesWalk::EverySample);
  EXPECT_TRUE(fast == plain) << what;
  if (sameCalls) {
    Calls a, b;
    draw(a, k, v.net, v.map, SeriesWalk::Visible);
    draw(b, k, v.net, v.map, SeriesWalk::EverySample);
    EXPECT_EQ(a.log, b.log) << what;
  }
}

}  // namespace

TEST(SeriesWalks, VisibleSamplesDrawThePictureOfEverySample) {
  MessageRecorder rec;
  // 40 samples over -2 .. 2 with values above, inside and below the views.
  std::vector<double> data(40);
  for (size_t i = 0; i < data.size(); ++i) data[i] = 1.7 * std::sin(0.9 * i) + 0.2;
  std::vector<TKeeper> series(9);
  for (TKeeper& k : series) k.SetArray(data.data(), 40, -2, 2);
  series[4].SetFunction([](double x) { return x * x - 0.5; }, 40, -2, 2);
  series[5].Clear();  // unbound: every sample reads 0
  series[1].SetSymmetry(Symmetry::Even);
  series[2].SetSymmetry(Symmetry::Odd);
  series[7].SetSymmetry(Symmetry::Odd);
  for (int i : {0, 1, 2, 3, 4, 5}) series[i].SetHistogram();
  series[6].SetType(GraphType::Discret);
  series[7].SetType(GraphType::Discret);
  series[7].SetMarked(true);
  series[8].SetType(GraphType::DiscretPeriodic);
  series[8].SetMarked(true);
  series[3].SetType(GraphType::Discret);  // stems of a plain series, unmarked
  series[3].SetMarked(false);

  struct Range {
    double a, b;
    bool insideData = false;  // no sample beyond the data can touch the view
  };
  const Range xs[] = {{-1.3, 0.7, true},    {0.02, 0.05, true}, {-5, 0.3, false},
                      {1.1, 6, false},      {50, 60, false},    {-60, -50, false},
                      {-1000, 1000, false}, {-2.3, 2.3, false}, {1.98, 2.2, false}};
  const Range ys[] = {{-0.5, 1.5}, {0.2, 1.5}, {-2, -0.1}, {-3, 3}};
  for (size_t s = 0; s < series.size(); ++s) {
    const Draw draw = series[s].GetType() == GraphType::Histogram ? &DrawHistogram : &DrawDiscret;
    for (const Range& x : xs) {
      for (const Range& y : ys) {
        const View v(x.a, x.b, y.a, y.b);
        // A symmetric series has data left of xmin as well.
        const bool inside = x.insideData && series[s].GetStorageKind() != StorageKind::None &&
                            (x.a > -2 || series[s].GetSymmetry() != Symmetry::None);
        ExpectSamePicture(draw, series[s], v, inside,
                          "series " + std::to_string(s) + " x " + std::to_string(x.a) + ".." +
                              std::to_string(x.b) + " y " + std::to_string(y.a));
      }
    }
  }
  // The view of the bench's limits: 10^6 steps of the series on either side of the data.
  const View far(-100000, 100000);
  ExpectSamePicture(&DrawHistogram, series[0], far, false, "far histogram");
  ExpectSamePicture(&DrawDiscret, series[7], far, false, "far marked stems");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(SeriesWalks, TheCostFollowsTheDataNotTheExtentOfTheView) {
  // A histogram of 10000 bins over -5 .. 5 seen over -100000 .. 100000: 10^8 bar positions
  // in view, of which only the bins can draw anything.
  MessageRecorder rec;
  std::vector<double> bins(10000);
  for (size_t i = 0; i < bins.size(); ++i)
    bins[i] = std::exp(-0.0001 * (i - 5000.0) * (i - 5000.0));
  TKeeper k;
  k.SetArray(bins.data(), 10000, -5, 5);
  k.SetHistogram();
  const View far(-100000, 100000);
  Calls h;
  DrawHistogram(h, k, far.net, far.map);
  EXPECT_LE(h.log.size(), 4u * (10000 + 1) + 2);

  // Marked stems show a circle on the zero row for every empty sample in view, across the
  // whole net: visited once per pixel column.
  k.SetType(GraphType::Discret);
  k.SetMarked(true);
  Calls s;
  DrawDiscret(s, k, far.net, far.map);
  const int columns = far.net.xe - far.net.xb + 1;
  EXPECT_LE(s.log.size(), 3u * (10000 + 1) + 3u * columns + 2);
  Raster r(320, 220);
  DrawDiscret(r, k, far.net, far.map);
  // (The last column holds only the right edge of the view itself.)
  EXPECT_GE(r.CirclesOn(far.map.MathToPhisY(0)), static_cast<size_t>(columns - 1));
  EXPECT_TRUE(rec.texts.empty());
}

namespace {

// The lines DrawAnalog adds over the curve's extremes: its calls beyond those of a twin
// bound to a function that reads the same curve (a function gets none). The curve comes
// first and unchanged, and the plain reading of the samples gives the same calls.
std::vector<Segment> StrokesOver(const TKeeper& k, const View& v) {
  TKeeper twin;
  twin.SetFunction([&k](double x) { return k.GetValue(x); }, 2, -1e5, 1e5);
  Calls curve, fast, plain;
  DrawAnalog(curve, twin, v.net, v.map);
  DrawAnalog(fast, k, v.net, v.map, SeriesWalk::Visible);
  DrawAnalog(plain, k, v.net, v.map, SeriesWalk::EverySample);
  EXPECT_EQ(fast.log, plain.log);
  EXPECT_TRUE(fast.log.size() >= curve.log.size() &&
              std::equal(curve.log.begin(), curve.log.end(), fast.log.begin()));
  std::vector<Segment> strokes;
  for (size_t i = curve.log.size(); i + 1 < fast.log.size(); i += 2) {
    const auto [m, x1, y1, a, b] = fast.log[i];
    const auto [l, x2, y2, c, d] = fast.log[i + 1];
    EXPECT_TRUE(m == 'M' && l == 'L' && x1 == x2 && y1 < y2);
    strokes.push_back({x1, y1, x2, y2});
  }
  return strokes;
}

}  // namespace

TEST(AnalogDrawing, DenseColumnsKeepTheirExtremesSparseOnesDrawAsBefore) {
  // The correlation function of a harmonic plus noise: K[0] = 1.5 (0.5 of the harmonic, 1 of
  // the noise), then half the cosine and a little noise, lags 0.005 ms apart, seen over
  // +-5 ms on 299 columns: about seven lags to a column, none centred on the lag 0.
  MessageRecorder rec;
  std::vector<double> kf(2000);
  for (size_t j = 0; j < kf.size(); ++j)
    kf[j] = 0.5 * std::cos(0.005 * 6.283185307179586 * j) + 0.02 * std::sin(7.3 * j);
  kf[0] = 1.5;
  const double low = *std::min_element(kf.begin(), kf.end());
  const double high = *std::max_element(kf.begin() + 1, kf.end());
  TKeeper k;
  k.SetArray(kf.data(), 2000, 0, 1999 * 0.005);
  auto view = [](double x, double ymin, double ymax) { return View(-x, x, ymin, ymax, 299); };
  // The row where the highest line starts, and where the lowest ends with its column.
  auto reach = [](const std::vector<Segment>& s) {
    Segment r{-1, 1 << 30, -1, -1};
    for (const Segment& l : s) {
      if (l.y1 < r.y1) r.y1 = l.y1;
      if (l.y2 > r.y2) r.x2 = l.x2, r.y2 = l.y2;
    }
    return r;
  };
  const View v = view(4.9995, -0.6, 2);
  const int zero = v.map.MathToPhisX(0);

  // Even: the spike reaches K[0]'s row, the band its lowest value's (the line's end point,
  // not drawn, one row below it).
  k.SetSymmetry(Symmetry::Even);
  std::vector<Segment> s = StrokesOver(k, v);
  EXPECT_EQ(reach(s).y1, v.map.MathToPhisY(1.5));
  EXPECT_EQ(reach(s).y2, v.map.MathToPhisY(low) + 1);
  // Cut by the net: held one row inside it; beyond one edge, or sparse: no lines at all.
  s = StrokesOver(k, view(4.9995, 0, 0.3));
  EXPECT_EQ(reach(s).y1, v.net.yb + 1);
  EXPECT_EQ(reach(s).y2, v.net.ye);
  EXPECT_TRUE(StrokesOver(k, view(4.9995, 2, 3)).empty());
  EXPECT_TRUE(StrokesOver(k, view(4.9995, -3, -2)).empty());
  EXPECT_TRUE(StrokesOver(k, view(0.3, -0.6, 2)).empty());

  // Without a symmetry the zeros left of the lag 0 are no samples: the first line is in the
  // column of the lag 0, which lies on the edge between two columns and belongs to the right
  // one. With Odd the images are negated.
  k.SetSymmetry(Symmetry::None);
  s = StrokesOver(k, v);
  ASSERT_FALSE(s.empty());
  EXPECT_EQ(s.front().x1, zero + 1);
  k.SetSymmetry(Symmetry::Odd);
  s = StrokesOver(k, v);
  EXPECT_EQ(reach(s).y2, v.map.MathToPhisY(-high) + 1);
  EXPECT_LT(reach(s).x2, zero);
  EXPECT_TRUE(rec.texts.empty());
}
