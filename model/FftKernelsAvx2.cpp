// The passes of the fast transform with AVX2: four points per vector.
#include <immintrin.h>

#include "model/FftKernels.h"

namespace model::fftk {
namespace {

struct VecAvx2 {
  using T = __m256d;
  static constexpr int W = 4;
  static T Load(const double* p) { return _mm256_loadu_pd(p); }
  static void Store(double* p, T v) { _mm256_storeu_pd(p, v); }
  static T LoadFirst(const double* p, int n) {
    const __m256i lane = _mm256_setr_epi64x(0, 1, 2, 3);
    const __m256i mask = _mm256_cmpgt_epi64(_mm256_set1_epi64x(n), lane);
    return _mm256_maskload_pd(p, mask);
  }
  static T Set1(double x) { return _mm256_set1_pd(x); }
  static T Zero() { return _mm256_setzero_pd(); }
  static T Add(T x, T y) { return _mm256_add_pd(x, y); }
  static T Sub(T x, T y) { return _mm256_sub_pd(x, y); }
  static T Mul(T x, T y) { return _mm256_mul_pd(x, y); }
  static void Transpose(T* r) {
    const T t0 = _mm256_unpacklo_pd(r[0], r[1]);
    const T t1 = _mm256_unpackhi_pd(r[0], r[1]);
    const T t2 = _mm256_unpacklo_pd(r[2], r[3]);
    const T t3 = _mm256_unpackhi_pd(r[2], r[3]);
    r[0] = _mm256_permute2f128_pd(t0, t2, 0x20);
    r[1] = _mm256_permute2f128_pd(t1, t3, 0x20);
    r[2] = _mm256_permute2f128_pd(t0, t2, 0x31);
    r[3] = _mm256_permute2f128_pd(t1, t3, 0x31);
  }
};

}  // namespace
}  // namespace model::fftk

#include "model/FftKernelsImpl.h"

namespace model::fftk {

void RunPhaseAAvx2(const PhaseA& job, int begin, int end) {
  RunPhaseATemplate<VecAvx2, ChunkAvx2>(job, begin, end);
}
void RunPhaseBAvx2(const PhaseB& job, int begin, int end) {
  RunPhaseBTemplate<VecAvx2, ChunkAvx2>(job, begin, end);
}

}  // namespace model::fftk
