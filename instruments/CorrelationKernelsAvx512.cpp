// The direct correlation sums with AVX-512: eight lags per vector.
#include <immintrin.h>

#include "instruments/CorrelationKernels.h"

namespace instruments::kfk {
namespace {

struct VecAvx512 {
  using T = __m512d;
  static constexpr int W = 8;
  static T Load(const double* p) { return _mm512_loadu_pd(p); }
  static void Store(double* p, T v) { _mm512_storeu_pd(p, v); }
  static T LoadAligned(const double* p) { return _mm512_load_pd(p); }
  static void StoreAligned(double* p, T v) { _mm512_store_pd(p, v); }
  static T Set1(double x) { return _mm512_set1_pd(x); }
  static T Add(T x, T y) { return _mm512_add_pd(x, y); }
  static T Mul(T x, T y) { return _mm512_mul_pd(x, y); }
};

}  // namespace
}  // namespace instruments::kfk

#include "instruments/CorrelationKernelsImpl.h"

namespace instruments::kfk {

Level LevelAvx512() {
  return LevelOf<VecAvx512>();
}

}  // namespace instruments::kfk
