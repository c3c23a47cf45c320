#pragma once
// What the two oscilloscopes of the bench show: the time axis of a realization, its limits,
// the part of it in view at first, and y limits wide enough for every sample. The views
// (TForm1::Image4Click, Image9Click) put these into the oscilloscope chart window.
namespace osc {

// The y limits of an oscillogram are -1000 .. 1000 mV while every sample fits inside.
constexpr double DefaultYLimit = 1000;
// Wider signals get limits this much beyond their largest |sample| ...
constexpr double YLimitMargin = 1.1;
// ... rounded up to a whole multiple of this many millivolts.
constexpr double YLimitGrain = 1000;

struct OscilloscopeView {
  // The whole realization, 0 .. (N - 1)·T ms.
  double limitXmin = 0;
  double limitXmax = 0;
  // Symmetric about 0: -yLimit .. yLimit mV.
  double limitYmin = -DefaultYLimit;
  double limitYmax = DefaultYLimit;
  // What is in view at first: twenty periods of a harmonic, otherwise the first thousand
  // sampling periods (the chart clamps either to the limits).
  double rangeXmin = 0;
  double rangeXmax = 0;
};

// True for the generator kinds with a harmonic component.
bool IsHarmonicKind(int kind);

// The y limit for n samples: DefaultYLimit when every |sample| is at most that, otherwise
// the largest |sample| times YLimitMargin, rounded up to a multiple of YLimitGrain. Samples
// that are not finite do not count.
double YLimitFor(const double* samples, int n);

// The view of n samples taken every `period` ms, for a generator of the given kind and
// frequency (kHz). The input and the output oscilloscope use the same x range, so the two
// views of one realization line up.
OscilloscopeView ChooseOscilloscopeView(const double* samples, int n, double period, int kind,
                                        double frequency);

}  // namespace osc
