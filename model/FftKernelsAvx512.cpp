// The passes of the fast transform with AVX-512: eight points per vector.
#include <immintrin.h>

#include "model/FftKernels.h"

namespace model::fftk {
namespace {

struct VecAvx512 {
  using T = __m512d;
  static constexpr int W = 8;
  static T Load(const double* p) { return _mm512_loadu_pd(p); }
  static void Store(double* p, T v) { _mm512_storeu_pd(p, v); }
  static T LoadFirst(const double* p, int n) {
    return _mm512_maskz_loadu_pd(static_cast<__mmask8>((1u << n) - 1u), p);
  }
  static T Set1(double x) { return _mm512_set1_pd(x); }
  static T Zero() { return _mm512_setzero_pd(); }
  static T Add(T x, T y) { return _mm512_add_pd(x, y); }
  static T Sub(T x, T y) { return _mm512_sub_pd(x, y); }
  static T Mul(T x, T y) { return _mm512_mul_pd(x, y); }
  // 8 x 8: pairs within 128-bit lanes, then the lanes themselves in two rounds.
  static void Transpose(T* r) {
    T t[8];
#pragma GCC unroll 4
    for (int k = 0; k < 4; ++k) {
      t[2 * k] = _mm512_unpacklo_pd(r[2 * k], r[2 * k + 1]);
      t[2 * k + 1] = _mm512_unpackhi_pd(r[2 * k], r[2 * k + 1]);
    }
    // Even columns come from t0, t2, t4, t6; odd ones from t1, t3, t5, t7.
#pragma GCC unroll 2
    for (int odd = 0; odd < 2; ++odd) {
      const T u0 = _mm512_shuffle_f64x2(t[odd], t[odd + 2], 0x88);
      const T u1 = _mm512_shuffle_f64x2(t[odd], t[odd + 2], 0xDD);
      const T u2 = _mm512_shuffle_f64x2(t[odd + 4], t[odd + 6], 0x88);
      const T u3 = _mm512_shuffle_f64x2(t[odd + 4], t[odd + 6], 0xDD);
      r[odd] = _mm512_shuffle_f64x2(u0, u2, 0x88);
      r[odd + 4] = _mm512_shuffle_f64x2(u0, u2, 0xDD);
      r[odd + 2] = _mm512_shuffle_f64x2(u1, u3, 0x88);
      r[odd + 6] = _mm512_shuffle_f64x2(u1, u3, 0xDD);
    }
  }
};

}  // namespace
}  // namespace model::fftk

#include "model/FftKernelsImpl.h"

namespace model::fftk {

void RunPhaseAAvx512(const PhaseA& job, int begin, int end) {
  RunPhaseATemplate<VecAvx512, ChunkAvx512>(job, begin, end);
}
void RunPhaseBAvx512(const PhaseB& job, int begin, int end) {
  RunPhaseBTemplate<VecAvx512, ChunkAvx512>(job, begin, end);
}

}  // namespace model::fftk
