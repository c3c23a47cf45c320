#include "chart/Keeper.h"

#include <cmath>
#include <limits>
#include <utility>

#include "model/Interp.h"
#include "model/Mathlib.h"
#include "model/Messages.h"

const char* const KeeperZeroCountMessage =
    "Keeper: Hулевое значение числа отсчётов при инициализации графика. Инициализация не "
    "выполнена.";
const char* const KeeperBadIntervalMessage =
    "DiagramKeeper: Неверно заданы минимальное и максимальное \n"
    " значения аргумента при инициализации графика.";
const char* const KeeperDiscreteAsContinuousMessage =
    "Keeper:Попытка считать дискретный график как непрерывный";
const char* const KeeperContinuousAsDiscreteMessage =
    "Keeper:Попытка считать непрерывный график как дискретный";

namespace {
// Smallest y extent a bound series gets; a flat series is widened to this much more.
constexpr double MinYExtent = 0.000001;
constexpr double FlatYExtent = 0.00001;
}  // namespace

TKeeper::TKeeper() = default;

TKeeper::~TKeeper() {
  Clear();
}

bool TKeeper::Bind(int n, double& a, double& b) {
  if (n <= 0) {
    lab::ShowMessage(KeeperZeroCountMessage);
    return false;
  }
  // Ends that are not numbers, or an interval wider than a double holds, give no step to
  // place samples by: refused like an empty interval.
  if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(b - a) ||
      !mathlib::OrderPair(a, b)) {
    lab::ShowMessage(KeeperBadIntervalMessage);
    return false;
  }
  Clear();
  count_ = n;
  xmin_ = a;
  xmax_ = b;
  // A single sample has no neighbour to divide the interval by; it gets the whole interval
  // as its step, which keeps every read finite.
  step_ = n > 1 ? (b - a) / (n - 1) : (b - a);
  return true;
}

void TKeeper::SetFunction(Function f, int n, double a, double b) {
  if (!Bind(n, a, b)) return;
  if (n > 1) {
    mathlib::FunctionRange(f, xmin_, xmax_, n, ymin_, ymax_);
  } else {
    ymin_ = ymax_ = f(xmin_);
  }
  function_ = std::move(f);
  storage_ = StorageKind::Function;
  if (ymax_ - ymin_ < MinYExtent) ymax_ = ymin_ + FlatYExtent;
}

void TKeeper::SetArray(const double* p, int n, double a, double b) {
  if (!Bind(n, a, b)) return;
  storage_ = StorageKind::Array;
  samples_ = p;
  extremes_.Build(p, n);
  mathlib::ArrayRange(p, n, ymin_, ymax_);
  if (ymax_ - ymin_ < MinYExtent) ymax_ = ymin_ + FlatYExtent;
}

void TKeeper::Clear() {
  storage_ = StorageKind::None;
  samples_ = nullptr;
  function_ = nullptr;
  count_ = 0;
  xmin_ = -1.0;
  xmax_ = 1.0;
  ymin_ = -1.0;
  ymax_ = 1.0;
  period_ = 0.0;
  step_ = 0.1;
  type_ = GraphType::Analog;
  extremes_.Clear();
}

bool TKeeper::IsPeriodicWrap() const {
  return period_ > 0 && (type_ == GraphType::AnalogPeriodic || type_ == GraphType::RadioPeriodic ||
                         type_ == GraphType::DiscretPeriodic);
}

double TKeeper::GetValue(double x) const {
  if (type_ == GraphType::Discret || type_ == GraphType::DiscretPeriodic) {
    lab::ShowMessage(KeeperDiscreteAsContinuousMessage);
    return 0;
  }
  // A periodic series with a period repeats its first period [xmin, xmin + period).
  if (IsPeriodicWrap()) {
    double r = std::fmod(x - xmin_, period_);
    if (r < 0) r += period_;
    x = xmin_ + r;
  }
  double sign = 1.0;
  if (symmetry_ == Symmetry::Even) {
    if (x <= xmin_) x = 2 * xmin_ - x;
  } else if (symmetry_ == Symmetry::Odd) {
    if (x <= xmin_) {
      x = 2 * xmin_ - x;
      sign = -1.0;
    }
  }
  // Written so that an argument that is not a number reads 0 as well.
  if (!(x >= xmin_ && x <= xmax_)) return 0;
  switch (storage_) {
    case StorageKind::None:
      return 0;
    case StorageKind::Function:
      return sign * function_(x);
    case StorageKind::Array: {
      const double d = x - xmin_;
      const double q = std::floor(d / step_);
      // Inside the interval q lies in 0..n. Only a step lost to underflow (a tiny interval
      // over very many samples) gives anything else; every sample there reads 0.
      if (!(q >= 0 && q <= count_)) return 0;
      const int k = static_cast<int>(q);
      const double s = GetSample(k - 1) * interp::Interp(k - 1, d, step_) +
                       GetSample(k) * interp::Interp(k, d, step_) +
                       GetSample(k + 1) * interp::Interp(k + 1, d, step_);
      return sign * s;
    }
  }
  return 0;
}

double TKeeper::GetValueDiscret(int i) const {
  if (type_ != GraphType::Discret && type_ != GraphType::DiscretPeriodic &&
      type_ != GraphType::Histogram) {
    lab::ShowMessage(KeeperContinuousAsDiscreteMessage);
    return 0;
  }
  // A periodic series with a period repeats its first round(period / step) samples.
  if (IsPeriodicWrap()) {
    const double samples = std::floor(period_ / step_ + 0.5);
    if (samples >= 1 && samples <= 2147483647.0) {
      const long long p = static_cast<long long>(samples);
      long long r = static_cast<long long>(i) % p;
      if (r < 0) r += p;
      i = static_cast<int>(r);
    }
  }
  // The mirror of the most negative index does not fit an int and lies beyond any series.
  if (i == std::numeric_limits<int>::min()) return 0;
  double sign = 1.0;
  if (symmetry_ == Symmetry::Even) {
    if (i < 0) i = -i;
  } else if (symmetry_ == Symmetry::Odd) {
    if (i < 0) {
      i = -i;
      sign = -1.0;
    }
  }
  if (i < 0 || i > count_ - 1) return 0;
  switch (storage_) {
    case StorageKind::None:
      return 0;
    case StorageKind::Function:
      return sign * function_(xmin_ + i * step_);
    case StorageKind::Array:
      return sign * samples_[i];
  }
  return 0;
}

double TKeeper::GetSample(int i) const {
  if (storage_ != StorageKind::Array || i < 0 || i >= count_) return 0;
  return samples_[i];
}

chart::SampleExtent TKeeper::GetSampleExtent(int first, int last) const {
  if (first < 0) first = 0;
  if (last > count_ - 1) last = count_ - 1;
  if (storage_ != StorageKind::Array || first > last) return {};
  return extremes_.Extent(samples_, first, last);
}
