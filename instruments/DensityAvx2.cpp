// Window counting with AVX2: four samples per comparison, lane counters in a vector.
#include <immintrin.h>

#include "instruments/Density.h"

namespace instruments::kernels {

long long CountInWindowAvx2(const double* x, long long n, double lo, double hi) {
  const __m256d vlo = _mm256_set1_pd(lo), vhi = _mm256_set1_pd(hi);
  __m256i acc[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(),
                    _mm256_setzero_si256()};
  long long i = 0;
  for (; i + 16 <= n; i += 16) {
    for (int k = 0; k < 4; ++k) {
      const __m256d v = _mm256_loadu_pd(x + i + 4 * k);
      // Ordered comparisons: false for a NaN. An inside lane is all ones, that is -1.
      const __m256d in =
          _mm256_and_pd(_mm256_cmp_pd(v, vlo, _CMP_GE_OQ), _mm256_cmp_pd(v, vhi, _CMP_LT_OQ));
      acc[k] = _mm256_sub_epi64(acc[k], _mm256_castpd_si256(in));
    }
  }
  alignas(32) long long lanes[4];
  _mm256_store_si256(
      reinterpret_cast<__m256i*>(lanes),
      _mm256_add_epi64(_mm256_add_epi64(acc[0], acc[1]), _mm256_add_epi64(acc[2], acc[3])));
  long long counted = lanes[0] + lanes[1] + lanes[2] + lanes[3];
  for (; i < n; ++i) {
    if (lo <= x[i] && x[i] < hi) ++counted;
  }
  return counted;
}

}  // namespace instruments::kernels
