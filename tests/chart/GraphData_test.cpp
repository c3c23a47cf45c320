#include "chart/GraphData.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using chart::DataFileName;
using chart::DataFileText;
using chart::NumberText;
using chart::PlotMap;
using chart::RowsOf;
using chart::SeriesRows;

// The number a spreadsheet reads from a field: the comma back to the point.
double ReadBack(const std::string& text) {
  std::string s = text;
  for (char& c : s)
    if (c == ',') c = '.';
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  EXPECT_EQ(*end, '\0') << text;
  return v;
}

// A plot area of 401 pixel columns (0 .. 400) over the visible x range a .. b.
PlotMap View(double a, double b) {
  PlotMap m;
  m.x0_out = 10;
  m.w_out = 400;
  m.y0_out = 10;
  m.h_out = 300;
  m.xmin = a;
  m.xmax = b;
  return m;
}

std::vector<std::string> Split(const std::string& s, const std::string& sep) {
  std::vector<std::string> out;
  std::size_t at = 0;
  for (;;) {
    const std::size_t next = s.find(sep, at);
    out.push_back(s.substr(at, next - at));
    if (next == std::string::npos) return out;
    at = next + sep.size();
  }
}

}  // namespace

TEST(GraphData, NumbersUseTheCommaAndReadBackAsTheSameDouble) {
  EXPECT_EQ(NumberText(0.1), "0,1");
  EXPECT_EQ(NumberText(-2.5), "-2,5");
  EXPECT_EQ(NumberText(1000), "1000");
  EXPECT_EQ(NumberText(0.00001), "0,00001");
  EXPECT_EQ(NumberText(0.0000015), "1,5E-06");
  EXPECT_EQ(NumberText(1e15), "1E+15");
  EXPECT_EQ(NumberText(123456789012345.6), "123456789012345,6");
  EXPECT_EQ(NumberText(-0.0), "0");
  // Not a number: an empty cell, never "nan" or "inf".
  EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(NumberText(-std::numeric_limits<double>::infinity()), "");

  std::mt19937_64 random(7);
  std::vector<double> values = {std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::max(),
                                1.0 / 3,
                                2.0 / 3 * 1e-5,
                                std::nextafter(1e15, 0.0),
                                std::nextafter(1e-5, 0.0)};
  for (int i = 0; i < 20000; ++i) {
    double v = std::bit_cast<double>(random());
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(std::ldexp(static_cast<double>(random() >> 11), -53 - int(random() % 40)));
  }
  for (double v : values) {
    const std::string t = NumberText(v);
    EXPECT_EQ(t.find('.'), std::string::npos) << t;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ReadBack(t)), std::bit_cast<std::uint64_t>(v)) << t;
  }
}

TEST(GraphData, TheFileHasABomAHeaderAfterTheAxisNamesQuotedWhereNeededAndCrlfRows) {
  SeriesRows one;
  one.x = {0, 0.5};
  one.y = {-1.25, 3};
  const std::string file = DataFileText("t,мс", "X(t);мВ", {one});
  ASSERT_EQ(file.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(file.substr(3), "t,мс;\"X(t);мВ\"\r\n0;-1,25\r\n0,5;3\r\n");
  EXPECT_EQ(chart::CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(chart::CsvField("two\nlines"), "\"two\nlines\"");

  // Several series: an x-y pair each, named by kind, a repeated kind numbered; a shorter
  // series leaves its fields empty, so every row has all the fields.
  SeriesRows bars;
  bars.type = GraphType::Histogram;
  bars.x = {1, 2, 3};
  bars.y = {0.1, 0.2, 0.3};
  SeriesRows law;
  law.x = {1.5};
  law.y = {0.25};
  SeriesRows curve = law;
  const std::vector<std::string> lines =
      Split(DataFileText("x,мВ", "w(x),1/мВ", {bars, law, curve}).substr(3), "\r\n");
  ASSERT_EQ(lines.size(), 5u);  // header, three rows, the empty rest after the last CRLF
  EXPECT_EQ(lines[0],
            "x,мВ (столбцы);w(x),1/мВ (столбцы);x,мВ (кривая 2);w(x),1/мВ (кривая 2);"
            "x,мВ (кривая 3);w(x),1/мВ (кривая 3)");
  EXPECT_EQ(lines[1], "1;0,1;1,5;0,25;1,5;0,25");
  EXPECT_EQ(lines[2], "2;0,2;;;;");
  EXPECT_EQ(lines[3], "3;0,3;;;;");
  EXPECT_EQ(lines[4], "");

  // No series: the header of one pair.
  EXPECT_EQ(DataFileText("x", "y", {}), "\xEF\xBB\xBFx;y\r\n");
}

TEST(GraphData, ArraySamplesInsideTheVisibleRangeEndsIncluded) {
  // An oscillogram: 1000 samples every 0,005 ms, 0,1 .. 0,2 ms in view.
  std::vector<double> s(1000);
  for (int i = 0; i < 1000; ++i) s[i] = std::sin(i * 0.01);
  TKeeper k;
  k.SetArray(s.data(), 1000, 0, 999 * 0.005);
  const SeriesRows rows = RowsOf(k, View(0.1, 0.2));
  ASSERT_EQ(rows.x.size(), 21u);  // samples 20 .. 40
  for (std::size_t r = 0; r < rows.x.size(); ++r) {
    EXPECT_EQ(rows.y[r], s[20 + r]);
    EXPECT_EQ(NumberText(rows.x[r]), NumberText((20 + r) * 5 / 1000.0));
  }
  // The places read as the multiples of the period: 0,015, not 0,015000000000000001,
  // over a whole long realization too.
  EXPECT_EQ(NumberText(RowsOf(k, View(0, 0.02)).x[3]), "0,015");
  const int n = 524288;
  std::vector<double> zeros(n);
  TKeeper longer;
  longer.SetArray(zeros.data(), n, 0, (n - 1) * 0.005);
  const SeriesRows all = RowsOf(longer, View(0, 100000));
  ASSERT_EQ(all.x.size(), static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) ASSERT_EQ(all.x[i], i * 5 / 1000.0) << i;
  // Places that stand for no short decimal stay as computed: sixths.
  TKeeper sixths;
  sixths.SetArray(zeros.data(), 7, 0, 1);
  const SeriesRows six = RowsOf(sixths, View(0, 1));
  ASSERT_EQ(six.x.size(), 7u);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(six.x[i], static_cast<double>(i / 6.0L)) << i;
  // Nor do the ends of computed bins: the first bin centre is the series' own xmin.
  const double a = -4.976969227207362;
  TKeeper bins;
  bins.SetArray(zeros.data(), 99, a, -a);
  const SeriesRows b = RowsOf(bins, View(a, -a));
  ASSERT_EQ(b.x.size(), 99u);
  EXPECT_EQ(b.x.front(), a);
  EXPECT_EQ(b.x.back(), -a);
  // A view beside the series has no rows; an unbound series none at all.
  EXPECT_TRUE(RowsOf(k, View(10, 20)).x.empty());
  EXPECT_TRUE(RowsOf(TKeeper(), View(-1, 1)).x.empty());
}

TEST(GraphData, HistogramBarsAndTheLawOverThem) {
  const double bins[5] = {0.05, 0.2, 0.4, 0.2, 0.05};
  TKeeper bars;
  bars.SetArray(bins, 5, -2, 2);
  bars.SetHistogram();
  TKeeper law;
  law.SetFunction([](double x) { return std::exp(-x * x / 2) / std::sqrt(2 * M_PI); }, 100, -2, 2);
  bars.SetNext(&law);
  const PlotMap view = View(-2, 2);
  const std::vector<SeriesRows> all = chart::ShownSeriesRows(bars, view);
  bars.ClearNext();
  ASSERT_EQ(all.size(), 2u);

  // The bins: their centres and values.
  EXPECT_EQ(all[0].type, GraphType::Histogram);
  EXPECT_EQ(all[0].x, (std::vector<double>{-2, -1, 0, 1, 2}));
  EXPECT_EQ(all[0].y, (std::vector<double>(bins, bins + 5)));

  // The law at every pixel column of the plot area, as the chart draws it.
  ASSERT_EQ(all[1].x.size(), 401u);
  for (int c = 0; c <= 400; ++c) {
    const double x = view.PhisToMathX(view.x0_out + c);
    EXPECT_EQ(all[1].x[c], x);
    EXPECT_EQ(all[1].y[c], law.GetValue(x));
  }
  EXPECT_EQ(all[1].x.front(), -2);
  EXPECT_EQ(all[1].x.back(), 2);

  // A view wider than the law: only the columns over its interval.
  const SeriesRows wide = RowsOf(law, View(-4, 4));
  ASSERT_FALSE(wide.x.empty());
  EXPECT_GE(wide.x.front(), -2);
  EXPECT_LE(wide.x.back(), 2);
  EXPECT_GT(wide.x.size(), 190u);
  EXPECT_LT(wide.x.size(), 210u);

  // Hidden and unbound series are not in the file.
  law.Hide();
  bars.SetNext(&law);
  EXPECT_EQ(chart::ShownSeriesRows(bars, view).size(), 1u);
  law.Show();
  law.Clear();
  EXPECT_EQ(chart::ShownSeriesRows(bars, view).size(), 1u);
  bars.ClearNext();
}

TEST(GraphData, ASymmetricSeriesHoldsItsMirroredPartInIncreasingX) {
  // A correlation function: K(j*T) over 0 .. 4T, shown with its mirror -4T .. 4T.
  const double k[5] = {4, 3, 2, 1, 0.5};
  TKeeper even;
  even.SetArray(k, 5, 0, 0.4);
  even.SetSymmetry(Symmetry::Even);
  const SeriesRows rows = RowsOf(even, View(-0.25, 0.4));
  EXPECT_EQ(rows.x, (std::vector<double>{-0.2, -0.1, 0, 0.1, 0.2, 0.3, 0.4}));
  EXPECT_EQ(rows.y, (std::vector<double>{2, 3, 4, 3, 2, 1, 0.5}));
  for (std::size_t r = 0; r < 2; ++r) EXPECT_EQ(rows.y[r], even.GetValue(rows.x[r])) << r;

  TKeeper odd;
  odd.SetArray(k, 5, 0, 0.4);
  odd.SetSymmetry(Symmetry::Odd);
  EXPECT_EQ(RowsOf(odd, View(-0.2, 0)).y, (std::vector<double>{-2, -3, 4}));

  // A mirrored function curve: columns left of xmin read the mirror.
  TKeeper f;
  f.SetFunction([](double x) { return x; }, 10, 0, 1);
  f.SetSymmetry(Symmetry::Even);
  const SeriesRows fr = RowsOf(f, View(-1, 1));
  EXPECT_EQ(fr.x.size(), 401u);
  EXPECT_EQ(fr.y.front(), 1);
  EXPECT_EQ(fr.y.back(), 1);
}

TEST(GraphData, TheOfferedNameIsTheTitleSafeForAnyFileSystem) {
  EXPECT_EQ(DataFileName("Гистограмма вход"), "Гистограмма вход.csv");
  EXPECT_EQ(DataFileName("Осциллограф: сигнал на входе цепи"),
            "Осциллограф сигнал на входе цепи.csv");
  EXPECT_EQ(DataFileName(" ..a/b*c?\"d\"<e>|f\t\\g. "), "a b c d e f g.csv");
  EXPECT_EQ(DataFileName(""), "Диаграмма.csv");
  EXPECT_EQ(DataFileName(" : . "), "Диаграмма.csv");
}
