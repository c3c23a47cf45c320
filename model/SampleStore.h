#pragma once
// The realizations of the last run and the FFT work data, plus the model-wide settings
// that are not owned by a window.
//
// Every array has room for the longest realization and twelve samples more; only the
// first SampleCount entries are meaningful. Entries beyond keep whatever a longer run left.

namespace model {

constexpr int SampleCapacity = 524300;

// Allowed realization lengths and sampling periods (ms), in the order of their lists.
constexpr int SampleCountChoices[] = {65536, 131072, 262144, 524288};
constexpr double SamplingPeriodChoices[] = {0.0005, 0.001, 0.005, 0.01};

constexpr int DefaultSampleCount = 262144;
constexpr double DefaultSamplingPeriod = 0.005;  // ms; held by the generator
constexpr bool DefaultCorrelationByFft = true;   // correlation-function method
constexpr bool DefaultFftProgress = true;        // FFT progress indicator

// Realization length N used by every loop over the realizations.
extern int SampleCount;

}  // namespace model

namespace SampleStore {

// Static storage, zero at program start; aligned for the vector kernels.
alignas(64) extern double InputSamples[model::SampleCapacity];
alignas(64) extern double OutputSamples[model::SampleCapacity];
alignas(64) extern double WorkRe[model::SampleCapacity];
alignas(64) extern double WorkIm[model::SampleCapacity];
alignas(64) extern double WorkPower[model::SampleCapacity];

}  // namespace SampleStore
