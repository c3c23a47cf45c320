#include "instruments/Characteristic.h"

#include <cmath>

#include "chart/DiagramGeometry.h"

namespace instruments {
namespace {

struct Range {
  double min, max;
};

constexpr Range Symmetric{-1, 1};
constexpr Range FromZero{0, 1};

// The fallback when r is narrower than `narrowest` or not finite.
Range OrFallback(Range r, Range fallback, double narrowest = NarrowestCharacteristicAxis) {
  const bool usable = std::isfinite(r.min) && std::isfinite(r.max) && !(r.max - r.min < narrowest);
  return usable ? r : fallback;
}

// Ranges the chart accepts as they are; only a range it would refuse falls back.
Range AsChartTakesIt(Range r) {
  return OrFallback(r, Symmetric, chart::MinSpan);
}

// From v - 1.5·|v| to w + 1.5·|w|: around a threshold, or around two knees.
Range Around(double v, double w) {
  return {v - 1.5 * std::fabs(v), w + 1.5 * std::fabs(w)};
}

}  // namespace

CharacteristicView ChooseCharacteristicView(const model::CircuitParams& p) {
  Range x = Symmetric;
  Range y = Symmetric;
  switch (p.page) {
    case 0:  // threshold linear
    case 4:  // square law above a threshold
    {
      const double x0 = p.page == 0 ? p.x0 : p.x05;
      x = OrFallback(Around(x0, x0), Symmetric);
      // However small f(xmax) is, the curve fills the view; only S = 0 or a = 0 (a flat
      // line at 0, a range the chart refuses) is shown in 0 .. 1.
      y = OrFallback({0, model::Transfer(p, x.max)}, FromZero, chart::MinSpan);
      break;
    }
    case 1:  // limiter
      x = OrFallback(Around(p.x1, p.x2), Symmetric);
      y = OrFallback(Around(p.y1, p.y2), Symmetric);
      break;
    case 2:  // full-wave
    case 3:  // square law
      y = OrFallback({0, model::Transfer(p, 1)}, FromZero);
      break;
    case 5:  // smooth limiter
      if (p.b6 != 0) x = {-5 / p.b6, 5 / p.b6};
      x = OrFallback(x, Symmetric);
      y = OrFallback({-p.a6 - 0.5 * std::fabs(p.a6), p.a6 + 0.5 * std::fabs(p.a6)}, Symmetric);
      break;
    case 6:  // inverse of the smooth limiter
      x = AsChartTakesIt({-1.5 * p.a7, 1.5 * p.a7});
      y = AsChartTakesIt({-4 / p.b7, 4 / p.b7});
      break;
    case 7:  // sawtooth
      x = AsChartTakesIt({-5 * p.D, 5 * p.D});
      y = AsChartTakesIt({-p.D * p.K, p.D * p.K});
      break;
    default:
      break;
  }
  // The series is bound over CharacteristicBindFactor times the x range. A range so wide that
  // this interval does not fit a double (circuit 6 with b below about 1e-306) is one the
  // series would refuse.
  if (!std::isfinite(CharacteristicBindFactor * x.max - CharacteristicBindFactor * x.min))
    x = Symmetric;
  return {x.min, x.max, y.min, y.max};
}

}  // namespace instruments
