#pragma once
// The view of the circuit characteristic graph: the x and y ranges that make the interesting
// part of the selected characteristic (threshold, knees, saturation, period) fill the chart,
// chosen from the circuit's parameters.
#include "model/Circuit.h"

namespace instruments {

struct CharacteristicView {
  double xmin = -1;
  double xmax = 1;
  double ymin = -1;
  double ymax = 1;
};

// An axis narrower than this falls back to a default range.
constexpr double NarrowestCharacteristicAxis = 0.01;

// The view for the selected page of p, with its fallbacks: on pages 0 to 5 an x range
// narrower than NarrowestCharacteristicAxis becomes -1 .. 1; so does the y range of the
// limiter and of the smooth limiter, while the y range 0 .. f(1) of pages 2 and 3 becomes
// 0 .. 1. The y range 0 .. f(xmax) of pages 0 and 4 becomes 0 .. 1 only where the chart
// would refuse it (narrower than chart::MinSpan, or not finite): a small but nonzero slope
// keeps its own view. Any other range the chart would refuse becomes -1 .. 1, and so does
// an x range whose bound interval (CharacteristicBindFactor times it) overflows, so the
// result is always finite, always a fresh view, and always a series the chart accepts.
CharacteristicView ChooseCharacteristicView(const model::CircuitParams& p);

// The characteristic is bound over this many times the view's x range, so zooming out
// within the limits still shows the curve; the limits allow LimitFactor times the view.
constexpr double CharacteristicBindFactor = 100;
constexpr double CharacteristicLimitFactor = 90;
// The y limits of the characteristic graph.
constexpr double CharacteristicYLimit = 10000;
// Points on which the bound characteristic is sampled to size the series' own y range.
constexpr int CharacteristicPoints = 10;

}  // namespace instruments
