#pragma once
// TKeeper: one data series of a chart. It is bound either to a function y = f(x) sampled on
// n points over [xmin, xmax], or to a caller-owned array of n samples spread evenly over that
// interval, and carries what the chart needs to draw it: graph type, colour, pen width,
// shown flag, the continuation to the left of the first sample, and its link and number in
// the chart's list of series. The keeper draws nothing; it answers reads.
#include <cstdint>
#include <functional>

#include "chart/ExtremesPyramid.h"
#include "platform/GraphicsTypes.h"

enum class StorageKind : std::uint8_t { None, Function, Array };

// How the chart draws a series. Analog and AnalogPeriodic are curves, Discret and
// DiscretPeriodic stems, Radio and RadioPeriodic bands between +y and -y, Histogram bars.
enum class GraphType : std::uint8_t {
  Analog = 0,
  Discret = 1,
  Radio = 2,
  AnalogPeriodic = 3,
  DiscretPeriodic = 4,
  RadioPeriodic = 5,
  Histogram = 6
};

// Continuation of a series to the left of xmin: Even mirrors it, Odd mirrors and negates.
enum class Symmetry : std::uint8_t { None = 0, Even = 1, Odd = 2 };

class TKeeper {
 public:
  using Function = std::function<double(double)>;

  TKeeper();
  ~TKeeper();
  TKeeper(const TKeeper&) = delete;
  TKeeper& operator=(const TKeeper&) = delete;

  // Binds f sampled on n points over a..b (the ends are put in order). Refused with a
  // message, leaving the keeper unchanged, when n <= 0, a = b, or an end (or the width of
  // the interval) is not a finite number.
  void SetFunction(Function f, int n, double a, double b);
  // Binds the caller's array of n samples; sample i lies at xmin + i*step. The array is
  // never copied or freed: it must stay valid while the chart may draw the series, and
  // unchanged, since the extremes the chart draws come from a pyramid built here over it
  // (about n/8 pairs of doubles; bind again after changing the samples).
  void SetArray(const double* p, int n, double a, double b);
  // Drops the binding; range, step, period and type return to their defaults.
  void Clear();

  // Continuous read y(x): linear interpolation between samples, 0 outside the series.
  double GetValue(double x) const;
  // The i-th sample (bars and stems).
  double GetValueDiscret(int i) const;
  // The stored i-th array element; 0 outside 0..n-1 or when not bound to an array.
  double GetSample(int i) const;
  // Smallest and largest of the array elements first..last (kept within 0..n-1), from the
  // pyramid; empty when none is read or the series is not bound to an array.
  chart::SampleExtent GetSampleExtent(int first, int last) const;

  void Show() { shown_ = true; }
  void Hide() { shown_ = false; }
  bool IsShown() const { return shown_; }
  void SetColor(TColor c) { color_ = c; }
  TColor GetColor() const { return color_; }
  int GetPenWidth() const { return penWidth_; }
  GraphType GetType() const { return type_; }
  void SetAnalog() { type_ = GraphType::Analog; }
  void SetHistogram() { type_ = GraphType::Histogram; }
  void SetSymmetry(Symmetry s) { symmetry_ = s; }
  Symmetry GetSymmetry() const { return symmetry_; }
  StorageKind GetStorageKind() const { return storage_; }
  int GetCount() const { return count_; }
  double GetXmin() const { return xmin_; }
  double GetXmax() const { return xmax_; }
  double GetYmin() const { return ymin_; }
  double GetYmax() const { return ymax_; }
  double GetStep() const { return step_; }
  bool IsMarked() const { return marked_; }

  // Beyond the operations the analyses use: any graph type, the period of the periodic
  // types and the circle markers of stems.
  void SetType(GraphType t) { type_ = t; }
  void SetPeriod(double period) { period_ = period; }
  double GetPeriod() const { return period_; }
  // The reads repeat the first period: a periodic type with a period set.
  bool IsPeriodicWrap() const;
  void SetMarked(bool m) { marked_ = m; }

  // List link and number, used only by the chart that owns the list.
  TKeeper* GetNext() const { return next_; }
  void SetNext(TKeeper* k) { next_ = k; }
  void ClearNext() { next_ = nullptr; }
  std::uint8_t GetNumber() const { return number_; }
  void SetNumber(std::uint8_t n) { number_ = n; }

 private:
  // Shared first part of both bindings; false when refused (message shown).
  bool Bind(int n, double& a, double& b);

  StorageKind storage_ = StorageKind::None;
  const double* samples_ = nullptr;
  Function function_;
  int count_ = 0;
  double xmin_ = -1.0;
  double xmax_ = 1.0;
  double ymin_ = -1.0;
  double ymax_ = 1.0;
  double period_ = 0.0;
  double step_ = 0.1;
  TColor color_ = clBlack;
  int penWidth_ = 2;
  GraphType type_ = GraphType::Analog;
  std::uint8_t interpolation_ = 0;  // always 0: the continuous read interpolates linearly
  bool shown_ = true;
  Symmetry symmetry_ = Symmetry::None;
  bool marked_ = false;
  TKeeper* next_ = nullptr;
  std::uint8_t number_ = 0;
  chart::ExtremesPyramid extremes_;  // over the bound array
};

// The messages of the keeper, exact texts (the first letter of the second word of the
// zero-count message is a Latin H).
extern const char* const KeeperZeroCountMessage;
extern const char* const KeeperBadIntervalMessage;
extern const char* const KeeperDiscreteAsContinuousMessage;
extern const char* const KeeperContinuousAsDiscreteMessage;
