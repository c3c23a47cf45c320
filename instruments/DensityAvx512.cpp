// Window counting with AVX-512: eight samples per comparison, lane counters in a vector.
#include <immintrin.h>

#include "instruments/Density.h"

namespace instruments::kernels {

long long CountInWindowAvx512(const double* x, long long n, double lo, double hi) {
  const __m512d vlo = _mm512_set1_pd(lo), vhi = _mm512_set1_pd(hi);
  const __m512i one = _mm512_set1_epi64(1);
  __m512i acc[4] = {_mm512_setzero_si512(), _mm512_setzero_si512(), _mm512_setzero_si512(),
                    _mm512_setzero_si512()};
  long long i = 0;
  for (; i + 32 <= n; i += 32) {
    for (int k = 0; k < 4; ++k) {
      const __m512d v = _mm512_loadu_pd(x + i + 8 * k);
      // Ordered comparisons: false for a NaN.
      const __mmask8 in =
          _mm512_mask_cmp_pd_mask(_mm512_cmp_pd_mask(v, vlo, _CMP_GE_OQ), v, vhi, _CMP_LT_OQ);
      acc[k] = _mm512_mask_add_epi64(acc[k], in, acc[k], one);
    }
  }
  for (; i < n; i += 8) {
    const long long left = n - i < 8 ? n - i : 8;
    const __mmask8 lanes = static_cast<__mmask8>((1u << left) - 1u);
    const __m512d v = _mm512_maskz_loadu_pd(lanes, x + i);
    const __mmask8 in = _mm512_mask_cmp_pd_mask(_mm512_mask_cmp_pd_mask(lanes, v, vlo, _CMP_GE_OQ),
                                                v, vhi, _CMP_LT_OQ);
    acc[0] = _mm512_mask_add_epi64(acc[0], in, acc[0], one);
  }
  alignas(64) long long lanes[8];
  _mm512_store_si512(
      lanes, _mm512_add_epi64(_mm512_add_epi64(acc[0], acc[1]), _mm512_add_epi64(acc[2], acc[3])));
  long long counted = 0;
  for (long long c : lanes) counted += c;
  return counted;
}

}  // namespace instruments::kernels
