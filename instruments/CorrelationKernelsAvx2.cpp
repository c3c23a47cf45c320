// The direct correlation sums with AVX2: four lags per vector.
#include <immintrin.h>

#include "instruments/CorrelationKernels.h"

namespace instruments::kfk {
namespace {

struct VecAvx2 {
  using T = __m256d;
  static constexpr int W = 4;
  static T Load(const double* p) { return _mm256_loadu_pd(p); }
  static void Store(double* p, T v) { _mm256_storeu_pd(p, v); }
  static T LoadAligned(const double* p) { return _mm256_load_pd(p); }
  static void StoreAligned(double* p, T v) { _mm256_store_pd(p, v); }
  static T Set1(double x) { return _mm256_set1_pd(x); }
  static T Add(T x, T y) { return _mm256_add_pd(x, y); }
  static T Mul(T x, T y) { return _mm256_mul_pd(x, y); }
};

}  // namespace
}  // namespace instruments::kfk

#include "instruments/CorrelationKernelsImpl.h"

namespace instruments::kfk {

Level LevelAvx2() {
  return LevelOf<VecAvx2>();
}

}  // namespace instruments::kfk
