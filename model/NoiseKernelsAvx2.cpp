// Noise sums with AVX2: 16 samples at once (four vectors of four 64-bit generator states),
// each lane adding its 50 terms in draw order, so the sums equal the plain loop's.
#include <immintrin.h>

#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/NoiseKernels.h"

namespace model::kernels {
namespace {

constexpr int Vectors = 4;
constexpr int Lanes = 4;
constexpr int Group = Vectors * Lanes;

// s * b mod 2^64 for a constant b given as its 32-bit halves (each in the low dword).
inline __m256i Mul64(__m256i s, __m256i blo, __m256i bhi) {
  const __m256i lo = _mm256_mul_epu32(s, blo);
  const __m256i cross =
      _mm256_add_epi64(_mm256_mul_epu32(_mm256_srli_epi64(s, 32), blo), _mm256_mul_epu32(s, bhi));
  return _mm256_add_epi64(lo, _mm256_slli_epi64(cross, 32));
}

struct Affine {
  __m256i alo, ahi, c;
  explicit Affine(const mathlib::RandJump& j)
      : alo(_mm256_set1_epi64x(static_cast<long long>(j.a & 0xFFFFFFFFu))),
        ahi(_mm256_set1_epi64x(static_cast<long long>(j.a >> 32))),
        c(_mm256_set1_epi64x(static_cast<long long>(j.c))) {}
  __m256i Apply(__m256i s) const { return _mm256_add_epi64(Mul64(s, alo, ahi), c); }
};

}  // namespace

void NoiseSumsAvx2(std::uint64_t s, double* sums, int n) {
  const mathlib::RandJump perSample = mathlib::RandJumpOf(DrawsPerNoiseSample);
  const int groups = n / Group;
  if (groups > 0) {
    const Affine step(mathlib::RandJumpOf(1));
    // After its 50 draws a lane holds the start of the next sample; the next group
    // starts Group - 1 samples further on.
    const Affine skip(mathlib::RandJumpOf(std::uint64_t(DrawsPerNoiseSample) * (Group - 1)));
    const __m256i mask31 = _mm256_set1_epi64x(0x7FFFFFFF);
    const __m256i magic = _mm256_set1_epi64x(static_cast<long long>(DivMagic));
    const __m256i million = _mm256_set1_epi64x(1000000);
    const __m256i expBits = _mm256_set1_epi64x(0x4330000000000000LL);  // 2^52
    const __m256d two52 = _mm256_set1_pd(4503599627370496.0);
    const __m256d scale = _mm256_set1_pd(1e-6);
    const __m256d half = _mm256_set1_pd(0.5);

    alignas(32) std::uint64_t start[Group];
    start[0] = s;
    for (int j = 1; j < Group; ++j) start[j] = perSample.Apply(start[j - 1]);
    __m256i st[Vectors];
    for (int v = 0; v < Vectors; ++v)
      st[v] = _mm256_load_si256(reinterpret_cast<const __m256i*>(start + v * Lanes));

    for (int g = 0; g < groups; ++g) {
      __m256d acc[Vectors];
      for (int v = 0; v < Vectors; ++v) acc[v] = _mm256_setzero_pd();
      for (int k = 0; k < DrawsPerNoiseSample; ++k) {
        for (int v = 0; v < Vectors; ++v) {
          st[v] = step.Apply(st[v]);
          const __m256i r = _mm256_and_si256(_mm256_srli_epi64(st[v], 32), mask31);
          const __m256i q = _mm256_srli_epi64(_mm256_mul_epu32(r, magic), DivShift);
          const __m256i m = _mm256_sub_epi64(r, _mm256_mul_epu32(q, million));
          const __m256d md = _mm256_sub_pd(_mm256_castsi256_pd(_mm256_or_si256(m, expBits)), two52);
          acc[v] = _mm256_add_pd(acc[v], _mm256_sub_pd(_mm256_mul_pd(md, scale), half));
        }
      }
      double* out = sums + g * Group;
      for (int v = 0; v < Vectors; ++v) {
        _mm256_storeu_pd(out + v * Lanes, acc[v]);
        st[v] = skip.Apply(st[v]);
      }
    }
    s = mathlib::RandJumpOf(std::uint64_t(DrawsPerNoiseSample) * Group * groups).Apply(s);
  }
  NoiseSumsPlain(s, sums + groups * Group, n - groups * Group);
}

}  // namespace model::kernels
