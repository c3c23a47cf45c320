// Noise sums with AVX-512: 32 samples at once (four vectors of eight 64-bit generator
// states), each lane adding its 50 terms in draw order, so the sums equal the plain loop's.
#include <immintrin.h>

#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/NoiseKernels.h"

namespace model::kernels {
namespace {

constexpr int Vectors = 4;
constexpr int Lanes = 8;
constexpr int Group = Vectors * Lanes;

struct Affine {
  __m512i a, c;
  explicit Affine(const mathlib::RandJump& j)
      : a(_mm512_set1_epi64(static_cast<long long>(j.a))),
        c(_mm512_set1_epi64(static_cast<long long>(j.c))) {}
  __m512i Apply(__m512i s) const { return _mm512_add_epi64(_mm512_mullo_epi64(s, a), c); }
};

}  // namespace

void NoiseSumsAvx512(std::uint64_t s, double* sums, int n) {
  const mathlib::RandJump perSample = mathlib::RandJumpOf(DrawsPerNoiseSample);
  const int groups = n / Group;
  if (groups > 0) {
    const Affine step(mathlib::RandJumpOf(1));
    const Affine skip(mathlib::RandJumpOf(std::uint64_t(DrawsPerNoiseSample) * (Group - 1)));
    const __m512i mask31 = _mm512_set1_epi64(0x7FFFFFFF);
    const __m512i magic = _mm512_set1_epi64(static_cast<long long>(DivMagic));
    const __m512i million = _mm512_set1_epi64(1000000);
    const __m512d scale = _mm512_set1_pd(1e-6);
    const __m512d half = _mm512_set1_pd(0.5);

    alignas(64) std::uint64_t start[Group];
    start[0] = s;
    for (int j = 1; j < Group; ++j) start[j] = perSample.Apply(start[j - 1]);
    __m512i st[Vectors];
    for (int v = 0; v < Vectors; ++v) st[v] = _mm512_load_si512(start + v * Lanes);

    for (int g = 0; g < groups; ++g) {
      __m512d acc[Vectors];
      for (int v = 0; v < Vectors; ++v) acc[v] = _mm512_setzero_pd();
      for (int k = 0; k < DrawsPerNoiseSample; ++k) {
        for (int v = 0; v < Vectors; ++v) {
          st[v] = step.Apply(st[v]);
          const __m512i r = _mm512_and_si512(_mm512_srli_epi64(st[v], 32), mask31);
          const __m512i q = _mm512_srli_epi64(_mm512_mul_epu32(r, magic), DivShift);
          const __m512i m = _mm512_sub_epi64(r, _mm512_mul_epu32(q, million));
          const __m512d md = _mm512_cvtepi64_pd(m);
          acc[v] = _mm512_add_pd(acc[v], _mm512_sub_pd(_mm512_mul_pd(md, scale), half));
        }
      }
      double* out = sums + g * Group;
      for (int v = 0; v < Vectors; ++v) {
        _mm512_storeu_pd(out + v * Lanes, acc[v]);
        st[v] = skip.Apply(st[v]);
      }
    }
    s = mathlib::RandJumpOf(std::uint64_t(DrawsPerNoiseSample) * Group * groups).Apply(s);
  }
  NoiseSumsPlain(s, sums + groups * Group, n - groups * Group);
}

}  // namespace model::kernels
