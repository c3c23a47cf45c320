#include "app/Oscilloscope.h"

#include <cmath>

#include "model/Generator.h"

namespace osc {

bool IsHarmonicKind(int kind) {
  return kind == model::KindHarmonic || kind == model::KindHarmonicGaussian;
}

double YLimitFor(const double* samples, int n) {
  double largest = 0;
  for (int i = 0; i < n; ++i) {
    const double a = std::fabs(samples[i]);
    if (a > largest && std::isfinite(a)) largest = a;
  }
  if (largest <= DefaultYLimit) return DefaultYLimit;
  // Beyond about 1e300 the margin would overflow; the chart caps its limits far below.
  const double wanted = largest < 1e300 ? largest * YLimitMargin : largest;
  return std::ceil(wanted / YLimitGrain) * YLimitGrain;
}

OscilloscopeView ChooseOscilloscopeView(const double* samples, int n, double period, int kind,
                                        double frequency) {
  OscilloscopeView v;
  v.limitXmin = 0;
  v.limitXmax = (n - 1) * period;
  const double y = YLimitFor(samples, n);
  v.limitYmin = -y;
  v.limitYmax = y;
  v.rangeXmin = 0;
  // The frequency field never goes below 0,1 kHz; a zero frequency would have no period.
  v.rangeXmax = IsHarmonicKind(kind) && frequency > 0 ? 20 / frequency : 1000 * period;
  return v;
}

}  // namespace osc
