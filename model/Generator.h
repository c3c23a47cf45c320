#pragma once
// The signal generator: one realization of the input process, sample by sample.
// The parameters live in the generator window's fields; the window passes their current
// values in GeneratorParams at the moment of use.
#include <cstdint>
#include <string>

namespace model {

enum SignalKind : int {
  KindOff = 0,              // "Выключен"
  KindHarmonic = 1,         // "Гармонический"
  KindUniformNoise = 2,     // "Шум с равномерным распределением"
  KindGaussianNoise = 3,    // "Гауссов шум"
  KindHarmonicGaussian = 4  // "Гармонический + гауссов шум"
};

// The texts of the kind list, in index order.
extern const char* const SignalKindTexts[5];

struct GeneratorParams {
  int kind = KindOff;
  double Fr = 1;  // frequency, kHz
  double A = 1;   // amplitude, mV
  double M = 0;   // mean, mV (added in every kind)
  double D = 1;   // standard deviation, mV
};

// Limits and initial values of the four parameter fields.
struct FieldLimits {
  double min, max, initial;
};
constexpr FieldLimits LimitsFr{0.1, 10, 1};
constexpr FieldLimits LimitsA{0, 10, 1};
constexpr FieldLimits LimitsM{-10, 10, 0};
constexpr FieldLimits LimitsD{0, 10, 1};

// Number of integer draws behind one noise sample.
constexpr int DrawsPerNoiseSample = 50;
// The harmonic's sample counter returns to 0 once it exceeds this value.
constexpr double CounterWrap = 10000000.0;

class Generator {
 public:
  double SamplingPeriod = 0.005;  // ms
  double PhaseStep = 0;           // radians per sample
  double Counter = 0;             // sample counter, whole numbers
  double Phase = 0;               // initial phase, radians

  // Prepares the harmonic component: phase step from the frequency (kHz) and the period,
  // counter := -startIndex, and a random whole-degree initial phase (one draw).
  void Reset(int startIndex, double frequency);

  // The next sample, mV; advances the counter and the random source as the kind needs.
  double NextSample(const GeneratorParams& p);

  // Writes n samples; the same bits, the same final state of the generator and of the
  // random source as n calls of NextSample, only faster (vector kernels, two threads).
  void Fill(const GeneratorParams& p, double* out, int n);
};

// Sum of 50 centred uniform terms ((r mod 1000000) * 1e-6 - 0.5) drawn from the random
// source, in draw order.
double NoiseSum();

// Noise sums of n consecutive noise samples starting from the random-source state s
// (the state is not changed). Chooses the widest vector kernel available.
void NoiseSums(std::uint64_t s, double* sums, int n);
// The plain loop: the reference every vector kernel must match bit for bit.
void NoiseSumsPlain(std::uint64_t s, double* sums, int n);

// The field texts as displayed in the generator window.
struct GeneratorTexts {
  std::string A, Fr, D, M;
};

// The one-line description of a setting, composed from the window caption and the field
// texts; an unknown kind keeps the previous description.
std::string DescribeGenerator(const std::string& caption, int kind, const GeneratorTexts& t,
                              const std::string& previous);

}  // namespace model
