#include "chart/Keeper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <utility>

#include "tests/support/MessageRecorder.h"

namespace {

const std::string ZeroCount =
    "Keeper: Hулевое значение числа отсчётов при инициализации графика. Инициализация не "
    "выполнена.";
const std::string BadInterval =
    "DiagramKeeper: Неверно заданы минимальное и максимальное \n"
    " значения аргумента при инициализации графика.";
const std::string DiscreteAsContinuous = "Keeper:Попытка считать дискретный график как непрерывный";
const std::string ContinuousAsDiscrete = "Keeper:Попытка считать непрерывный график как дискретный";

void ExpectDefaultRange(const TKeeper& k) {
  EXPECT_EQ(k.GetStorageKind(), StorageKind::None);
  EXPECT_EQ(k.GetCount(), 0);
  EXPECT_EQ(k.GetXmin(), -1.0);
  EXPECT_EQ(k.GetXmax(), 1.0);
  EXPECT_EQ(k.GetYmin(), -1.0);
  EXPECT_EQ(k.GetYmax(), 1.0);
  EXPECT_EQ(k.GetStep(), 0.1);
  EXPECT_EQ(k.GetPeriod(), 0.0);
  EXPECT_EQ(k.GetType(), GraphType::Analog);
}

}  // namespace

TEST(Keeper, MessageTextsAreExactWithLatinH) {
  EXPECT_EQ(KeeperZeroCountMessage, ZeroCount);
  EXPECT_EQ(KeeperBadIntervalMessage, BadInterval);
  EXPECT_EQ(KeeperDiscreteAsContinuousMessage, DiscreteAsContinuous);
  EXPECT_EQ(KeeperContinuousAsDiscreteMessage, ContinuousAsDiscrete);
  // "Hулевое" starts with the Latin letter, followed by Cyrillic.
  const std::string z = KeeperZeroCountMessage;
  EXPECT_EQ(z.substr(8, 1), "H");
  EXPECT_EQ(z.substr(9, 2), "у");
}

TEST(Keeper, NewAndClearedKeeperReadZeroEverywhere) {
  MessageRecorder rec;
  TKeeper k;
  ExpectDefaultRange(k);
  EXPECT_TRUE(k.IsShown());
  EXPECT_EQ(k.GetColor(), clBlack);
  EXPECT_EQ(k.GetPenWidth(), 2);
  EXPECT_FALSE(k.IsMarked());
  EXPECT_EQ(k.GetNext(), nullptr);
  EXPECT_EQ(k.GetNumber(), 0);
  for (double x : {-5.0, -1.0, 0.0, 0.3, 1.0, 7.0}) EXPECT_EQ(k.GetValue(x), 0.0);
  k.SetHistogram();
  for (int i : {-3, 0, 1, 50}) EXPECT_EQ(k.GetValueDiscret(i), 0.0);
  EXPECT_TRUE(rec.texts.empty());

  double data[] = {1, 2, 3};
  k.SetArray(data, 3, 0, 2);
  k.SetColor(clRed);
  k.Hide();
  k.SetSymmetry(Symmetry::Odd);
  k.SetNumber(4);
  TKeeper other;
  k.SetNext(&other);
  k.SetHistogram();
  k.Clear();
  ExpectDefaultRange(k);
  EXPECT_EQ(k.GetValue(1.0), 0.0);
  EXPECT_EQ(k.GetSample(1), 0.0);
  // Clear keeps the attributes that are not part of the binding.
  EXPECT_EQ(k.GetColor(), clRed);
  EXPECT_FALSE(k.IsShown());
  EXPECT_EQ(k.GetSymmetry(), Symmetry::Odd);
  EXPECT_EQ(k.GetNumber(), 4);
  EXPECT_EQ(k.GetNext(), &other);
}

TEST(Keeper, RefusedBindingsShowTheirMessageAndChangeNothing) {
  MessageRecorder rec;
  double data[] = {1, 2, 3, 4};
  double other[] = {9, 9};
  TKeeper k;
  k.SetArray(data, 4, 0, 3);
  k.SetHistogram();
  ASSERT_TRUE(rec.texts.empty());

  k.SetArray(other, 0, 5, 6);
  k.SetArray(other, -2, 5, 6);
  k.SetFunction([](double) { return 1.0; }, 0, 5, 6);
  ASSERT_EQ(rec.texts.size(), 3u);
  for (const auto& t : rec.texts) EXPECT_EQ(t, ZeroCount);

  k.SetArray(other, 2, 4.5, 4.5);
  k.SetFunction([](double) { return 1.0; }, 10, -2, -2);
  ASSERT_EQ(rec.texts.size(), 5u);
  EXPECT_EQ(rec.texts[3], BadInterval);
  EXPECT_EQ(rec.texts[4], BadInterval);

  // Ends that are not finite numbers, or an interval wider than a double holds, give no
  // step to place the samples by.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, double> bad[] = {{nan, 1}, {0, nan},    {nan, nan},         {-inf, 1},
                                           {0, inf}, {inf, -inf}, {-1.7e308, 1.7e308}};
  for (const auto& [a, b] : bad) {
    k.SetArray(other, 2, a, b);
    k.SetFunction([](double) { return 1.0; }, 10, a, b);
  }
  ASSERT_EQ(rec.texts.size(), 5u + 2 * std::size(bad));
  for (size_t i = 5; i < rec.texts.size(); ++i) EXPECT_EQ(rec.texts[i], BadInterval);

  // The earlier binding is still in force, type included.
  EXPECT_EQ(k.GetStorageKind(), StorageKind::Array);
  EXPECT_EQ(k.GetType(), GraphType::Histogram);
  EXPECT_EQ(k.GetCount(), 4);
  EXPECT_EQ(k.GetXmin(), 0.0);
  EXPECT_EQ(k.GetXmax(), 3.0);
  EXPECT_EQ(k.GetStep(), 1.0);
  EXPECT_EQ(k.GetValueDiscret(2), 3.0);
}

TEST(Keeper, ReadsThatFindNoSampleAreZero) {
  // Each read here once converted a quotient that is not a number, or far beyond an int,
  // to an index (the sanitizer build checks these conversions).
  MessageRecorder rec;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  double data[] = {1, 2, 3};
  TKeeper k;
  k.SetArray(data, 3, 0, 2);
  for (double x : {nan, inf, -inf}) EXPECT_EQ(k.GetValue(x), 0.0);
  k.SetSymmetry(Symmetry::Odd);
  for (double x : {nan, inf, -inf}) EXPECT_EQ(k.GetValue(x), 0.0);
  EXPECT_EQ(k.GetValue(-1.5), -2.5);

  // Three samples over the smallest interval there is: the step is lost to underflow.
  TKeeper tiny;
  const double least = std::numeric_limits<double>::denorm_min();
  tiny.SetArray(data, 3, 0, least);
  ASSERT_EQ(tiny.GetStep(), 0.0);
  for (double x : {0.0, least}) EXPECT_TRUE(std::isfinite(tiny.GetValue(x)));
  EXPECT_TRUE(rec.texts.empty());
}

TEST(Keeper, ArrayBindingOrdersTheIntervalAndSizesTheRange) {
  MessageRecorder rec;
  double data[] = {3, -1, 7, 2, 0};
  TKeeper k;
  k.SetArray(data, 5, 4.0, 2.0);
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_EQ(k.GetXmin(), 2.0);
  EXPECT_EQ(k.GetXmax(), 4.0);
  EXPECT_EQ(k.GetStep(), 0.5);
  EXPECT_EQ(k.GetYmin(), -1.0);
  EXPECT_EQ(k.GetYmax(), 7.0);

  double flat[] = {5, 5, 5};
  k.SetArray(flat, 3, 0, 1);
  EXPECT_EQ(k.GetYmin(), 5.0);
  EXPECT_EQ(k.GetYmax(), 5.0 + 0.00001);

  // The caller's array is read in place, never copied.
  double live[] = {0, 1, 2};
  k.SetArray(live, 3, 0, 2);
  live[1] = 10;
  EXPECT_EQ(k.GetSample(1), 10.0);
  EXPECT_EQ(k.GetValue(1.0), 10.0);
}

TEST(Keeper, BindingMakesTheSeriesAnalogAgain) {
  MessageRecorder rec;
  double data[] = {1, 2, 3};
  TKeeper k;
  k.SetArray(data, 3, 0, 2);
  k.SetHistogram();
  EXPECT_EQ(k.GetType(), GraphType::Histogram);
  k.SetArray(data, 3, 0, 2);
  EXPECT_EQ(k.GetType(), GraphType::Analog);
  k.SetHistogram();
  k.SetFunction([](double x) { return x; }, 5, 0, 1);
  EXPECT_EQ(k.GetType(), GraphType::Analog);
}

TEST(Keeper, ContinuousReadInterpolatesAndIsZeroOutside) {
  MessageRecorder rec;
  double data[] = {1, 3, -2, 4};
  TKeeper k;
  k.SetArray(data, 4, 10, 13);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(k.GetValue(10 + i), data[i]) << i;
  EXPECT_DOUBLE_EQ(k.GetValue(10.5), 2.0);
  EXPECT_DOUBLE_EQ(k.GetValue(11.5), 0.5);
  EXPECT_DOUBLE_EQ(k.GetValue(12.25), -2 + 0.25 * 6);
  // Just outside the interval the read is 0, not the end sample.
  EXPECT_EQ(k.GetValue(std::nextafter(10.0, 0.0)), 0.0);
  EXPECT_EQ(k.GetValue(std::nextafter(13.0, 20.0)), 0.0);
  EXPECT_EQ(k.GetValue(-100), 0.0);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(Keeper, SymmetryContinuesTheSeriesLeftOfItsStart) {
  MessageRecorder rec;
  double data[] = {2, 4, 8, 16, 32};
  TKeeper k;
  k.SetArray(data, 5, 0, 4);
  k.SetSymmetry(Symmetry::Even);
  for (double d : {0.5, 1.0, 2.75, 4.0}) EXPECT_EQ(k.GetValue(-d), k.GetValue(d)) << d;
  EXPECT_EQ(k.GetValue(-4.5), 0.0);
  k.SetSymmetry(Symmetry::Odd);
  for (double d : {0.5, 1.0, 2.75, 4.0}) EXPECT_EQ(k.GetValue(-d), -k.GetValue(d)) << d;
  EXPECT_EQ(k.GetValue(0.0), -2.0);  // the start itself is mirrored too

  k.SetHistogram();
  k.SetSymmetry(Symmetry::Even);
  EXPECT_EQ(k.GetValueDiscret(-3), 16.0);
  EXPECT_EQ(k.GetValueDiscret(3), 16.0);
  k.SetSymmetry(Symmetry::Odd);
  EXPECT_EQ(k.GetValueDiscret(-3), -16.0);
  EXPECT_EQ(k.GetValueDiscret(std::numeric_limits<int>::min()), 0.0);
  EXPECT_EQ(k.GetValueDiscret(0), 2.0);
  EXPECT_EQ(k.GetValueDiscret(5), 0.0);
  k.SetSymmetry(Symmetry::None);
  EXPECT_EQ(k.GetValueDiscret(-3), 0.0);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(Keeper, ReadsOfTheWrongKindShowTheirMessageEveryTime) {
  MessageRecorder rec;
  double data[] = {1, 2, 3};
  TKeeper k;
  k.SetArray(data, 3, 0, 2);
  EXPECT_EQ(k.GetValueDiscret(1), 0.0);
  EXPECT_EQ(k.GetValueDiscret(1), 0.0);
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(rec.texts[0], ContinuousAsDiscrete);

  rec.texts.clear();
  k.SetHistogram();  // bars accept both reads
  EXPECT_EQ(k.GetValueDiscret(1), 2.0);
  EXPECT_DOUBLE_EQ(k.GetValue(0.5), 1.5);
  EXPECT_TRUE(rec.texts.empty());

  for (GraphType t : {GraphType::Discret, GraphType::DiscretPeriodic}) {
    k.SetType(t);
    EXPECT_EQ(k.GetValue(1.0), 0.0);
    EXPECT_EQ(k.GetValueDiscret(2), 3.0);
  }
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(rec.texts[1], DiscreteAsContinuous);
}

TEST(Keeper, FunctionBindingSamplesTheRangeAndReadsTheFunction) {
  MessageRecorder rec;
  TKeeper k;
  int calls = 0;
  k.SetFunction(
      [&](double x) {
        ++calls;
        return x * x;
      },
      5, 2, -2);
  EXPECT_EQ(k.GetStorageKind(), StorageKind::Function);
  EXPECT_EQ(k.GetXmin(), -2.0);
  EXPECT_EQ(k.GetStep(), 1.0);
  EXPECT_EQ(k.GetYmin(), 0.0);  // the five points -2, -1, 0, 1, 2
  EXPECT_EQ(k.GetYmax(), 4.0);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(k.GetValue(1.5), 2.25);  // the function itself, not an interpolation
  EXPECT_EQ(k.GetValue(2.5), 0.0);
  k.SetHistogram();
  EXPECT_EQ(k.GetValueDiscret(1), 1.0);
  k.SetSymmetry(Symmetry::Odd);
  EXPECT_EQ(k.GetValueDiscret(-1), -1.0);
  EXPECT_EQ(k.GetValue(-2.5), -2.25);  // mirrored about xmin = -2: -f(-1.5)
  EXPECT_TRUE(rec.texts.empty());
}

TEST(Keeper, SingleSampleBindsWithFiniteReads) {
  MessageRecorder rec;
  double one[] = {3.5};
  TKeeper k;
  k.SetArray(one, 1, 0, 2);
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_EQ(k.GetStep(), 2.0);
  EXPECT_EQ(k.GetValue(0.0), 3.5);
  EXPECT_EQ(k.GetValue(1.0), 1.75);
  EXPECT_TRUE(std::isfinite(k.GetValue(2.0)));
  k.SetFunction([](double x) { return x + 1; }, 1, 0, 2);
  EXPECT_EQ(k.GetYmin(), 1.0);
  EXPECT_EQ(k.GetYmax(), 1.0 + 0.00001);
}

TEST(Keeper, PeriodicTypesRepeatTheirFirstPeriodOnlyWithAPeriod) {
  MessageRecorder rec;
  double data[] = {0, 1, 2, 3, 4, 5, 6, 7};
  TKeeper k;
  k.SetArray(data, 8, 0, 7);
  k.SetType(GraphType::AnalogPeriodic);
  // Without a period they read like their plain types.
  EXPECT_EQ(k.GetValue(9.0), 0.0);
  EXPECT_EQ(k.GetValue(2.5), 2.5);
  k.SetPeriod(4.0);
  EXPECT_EQ(k.GetValue(5.5), 1.5);
  EXPECT_EQ(k.GetValue(-0.5), 3.5);
  EXPECT_EQ(k.GetValue(41.0), 1.0);
  k.SetType(GraphType::RadioPeriodic);
  EXPECT_EQ(k.GetValue(6.0), 2.0);
  k.SetType(GraphType::DiscretPeriodic);
  EXPECT_EQ(k.GetValueDiscret(5), 1.0);
  EXPECT_EQ(k.GetValueDiscret(-1), 3.0);
  k.SetType(GraphType::Histogram);  // not periodic: the period does not apply
  EXPECT_EQ(k.GetValueDiscret(5), 5.0);
  k.Clear();
  EXPECT_EQ(k.GetPeriod(), 0.0);
  EXPECT_TRUE(rec.texts.empty());
}
