#include "model/Generator.h"

#include <algorithm>
#include <cmath>

#include "model/Mathlib.h"
#include "model/NoiseKernels.h"
#include "model/Parallel.h"
#include "model/Simd.h"

namespace model {

const char* const SignalKindTexts[5] = {"Выключен", "Гармонический",
                                        "Шум с равномерным распределением", "Гауссов шум",
                                        "Гармонический + гауссов шум"};

namespace {

constexpr double TwoPi = 6.283185307179586;
constexpr double Pi = 3.141592653589793;
const double Sqrt12 = std::sqrt(12.0);

// The per-sample formulas, shared by the one-sample path and the block path so that both
// give the same bits.
inline double HarmonicAt(double A, double step, double counter, double phase) {
  return A * std::cos(step * counter + phase);
}
inline double AdvanceCounter(double counter) {
  counter = counter + 1;
  return counter > CounterWrap ? 0.0 : counter;
}
inline double UniformFromSum(double S, double D) {
  const double z = S * mathlib::Sqrt024;
  return Sqrt12 * (mathlib::Phi(z) - 0.5) * D;
}
inline double GaussianFromSum(double S, double D) {
  return S * D * mathlib::Sqrt024;
}
inline double MixFromSum(double h, double S, double D) {
  return h + S * mathlib::Sqrt024 * D;
}

// The counter after `steps` advances from c.
double CounterAfter(double c, int steps) {
  if (c == std::floor(c) && std::fabs(c) < 4.0e15 && c + steps <= CounterWrap) return c + steps;
  for (int i = 0; i < steps; ++i) c = AdvanceCounter(c);
  return c;
}

bool IsNoise(int kind) {
  return kind == KindUniformNoise || kind == KindGaussianNoise || kind == KindHarmonicGaussian;
}
bool IsHarmonic(int kind) {
  return kind == KindHarmonic || kind == KindHarmonicGaussian;
}

// Samples [0, n) of a realization whose first sample has the counter `counter` and the
// random-source state `state`.
void FillRange(const GeneratorParams& p, double step, double phase, double counter,
               std::uint64_t state, double* out, int n) {
  constexpr int Block = 2048;
  double sums[Block];
  const mathlib::RandJump blockJump =
      mathlib::RandJumpOf(std::uint64_t(DrawsPerNoiseSample) * Block);
  for (int base = 0; base < n; base += Block) {
    const int len = std::min(Block, n - base);
    double* o = out + base;
    if (IsNoise(p.kind)) {
      NoiseSums(state, sums, len);
      state = blockJump.Apply(state);
    }
    switch (p.kind) {
      case KindHarmonic:
        for (int i = 0; i < len; ++i) {
          o[i] = HarmonicAt(p.A, step, counter, phase) + p.M;
          counter = AdvanceCounter(counter);
        }
        break;
      case KindUniformNoise:
        for (int i = 0; i < len; ++i) o[i] = UniformFromSum(sums[i], p.D) + p.M;
        break;
      case KindGaussianNoise:
        for (int i = 0; i < len; ++i) o[i] = GaussianFromSum(sums[i], p.D) + p.M;
        break;
      case KindHarmonicGaussian:
        for (int i = 0; i < len; ++i) {
          const double h = HarmonicAt(p.A, step, counter, phase);
          counter = AdvanceCounter(counter);
          o[i] = MixFromSum(h, sums[i], p.D) + p.M;
        }
        break;
      default:
        for (int i = 0; i < len; ++i) o[i] = 0.0 + p.M;
        break;
    }
  }
}

}  // namespace

void Generator::Reset(int startIndex, double frequency) {
  PhaseStep = TwoPi * frequency * SamplingPeriod;
  Counter = -static_cast<double>(startIndex);
  const int r = mathlib::RandDraw();
  // A whole number of degrees, -180 .. 179, to radians; the quotient is formed in extended
  // precision and rounded once.
  const long double degrees = (r % 360) - 180;
  Phase = static_cast<double>(degrees * static_cast<long double>(Pi) * (1.0L / 180.0L));
}

double NoiseSum() {
  double S = 0;
  for (int k = 0; k < DrawsPerNoiseSample; ++k) S = S + kernels::NoiseTerm(mathlib::RandDraw());
  return S;
}

double Generator::NextSample(const GeneratorParams& p) {
  double b = 0;
  switch (p.kind) {
    case KindHarmonic:
      b = HarmonicAt(p.A, PhaseStep, Counter, Phase);
      Counter = AdvanceCounter(Counter);
      break;
    case KindUniformNoise:
      b = UniformFromSum(NoiseSum(), p.D);
      break;
    case KindGaussianNoise:
      b = GaussianFromSum(NoiseSum(), p.D);
      break;
    case KindHarmonicGaussian: {
      const double h = HarmonicAt(p.A, PhaseStep, Counter, Phase);
      Counter = AdvanceCounter(Counter);
      b = MixFromSum(h, NoiseSum(), p.D);
      break;
    }
    default:
      break;
  }
  return b + p.M;
}

void Generator::Fill(const GeneratorParams& p, double* out, int n) {
  if (n <= 0) return;
  const bool noise = IsNoise(p.kind);
  const bool harmonic = IsHarmonic(p.kind);
  const std::uint64_t state = mathlib::RandState();
  // Two halves on two threads when the work is worth a thread.
  constexpr int MinParallel = 16384;
  const bool split = (noise || harmonic) && n >= MinParallel && SecondCoreAvailable();
  if (split) {
    // Each half starts from its own counter and random-source state, so the halves give the
    // same bits whichever thread computes them, and in whichever order.
    const int first = n / 2;
    const double counter2 = harmonic ? CounterAfter(Counter, first) : Counter;
    const std::uint64_t state2 =
        noise ? mathlib::RandJumpOf(std::uint64_t(DrawsPerNoiseSample) * first).Apply(state)
              : state;
    RunOnTwoThreads(
        [&] { FillRange(p, PhaseStep, Phase, Counter, state, out, first); },
        [&] { FillRange(p, PhaseStep, Phase, counter2, state2, out + first, n - first); });
  } else {
    FillRange(p, PhaseStep, Phase, Counter, state, out, n);
  }
  if (harmonic) Counter = CounterAfter(Counter, n);
  if (noise)
    mathlib::SetRandState(mathlib::RandJumpOf(std::uint64_t(DrawsPerNoiseSample) * n).Apply(state));
}

void NoiseSumsPlain(std::uint64_t s, double* sums, int n) {
  for (int i = 0; i < n; ++i) {
    double S = 0;
    for (int k = 0; k < DrawsPerNoiseSample; ++k) {
      s = s * mathlib::RandMultiplier + mathlib::RandIncrement;
      S = S + kernels::NoiseTerm(mathlib::RandValueOf(s));
    }
    sums[i] = S;
  }
}

void NoiseSums(std::uint64_t s, double* sums, int n) {
  switch (simd::Current()) {
    case simd::Level::Avx512:
      kernels::NoiseSumsAvx512(s, sums, n);
      return;
    case simd::Level::Avx2:
      kernels::NoiseSumsAvx2(s, sums, n);
      return;
    case simd::Level::Plain:
      break;
  }
  NoiseSumsPlain(s, sums, n);
}

std::string DescribeGenerator(const std::string& caption, int kind, const GeneratorTexts& t,
                              const std::string& previous) {
  switch (kind) {
    case KindOff:
      return caption + ": выключен";
    case KindHarmonic:
      return caption + ": гармонический сигнал со случайной начальной фазой: амплитуда " + t.A +
             "мВ; частота " + t.Fr + "кГц;  математическое ожидание: " + t.M + "мВ";
    case KindUniformNoise:
      return caption +
             ": шум с равномерным распределением: среднеквадратическое отклонение: " + t.D +
             "мВ; математическое ожидание: " + t.M + "мВ";
    case KindGaussianNoise:
      return caption + ": гауссов шум: среднеквадратическое отклонение: " + t.D +
             "мВ; математическое ожидание: " + t.M + "мВ";
    case KindHarmonicGaussian:
      return caption + ": аддитивная смесь гармонического сигнала и гауссова шума: амплитуда " +
             t.A + "мВ; частота " + t.Fr + "кГц; СКО: " + t.D + "мВ; МО: " + t.M + "мВ";
    default:
      return previous;
  }
}

}  // namespace model
