// Direct correlation sums with AVX2: four lags per vector, up to eight vectors side by
// side. Lane l of vector v holds lag firstLag + 4v + 3 - l, so that the samples it needs at
// sample i, d[i - lag], lie in ascending order in memory: one unaligned load per vector.
#include <immintrin.h>

#include "instruments/CorrelationFunction.h"

namespace instruments::kernels {
namespace {

template <int V>
void Sum(const double* d, long from, long to, int firstLag, double* sums) {
  __m256d acc[V];
  // The sums are kept in lag order outside the kernel, in lane order inside.
  alignas(64) double lanes[4 * V];
  for (int l = 0; l < 4 * V; ++l) lanes[l] = sums[l / 4 * 4 + 3 - l % 4];
#pragma GCC unroll 8
  for (int v = 0; v < V; ++v) acc[v] = _mm256_load_pd(lanes + 4 * v);
  for (long i = from; i < to; ++i) {
    const __m256d di = _mm256_set1_pd(d[i]);
    const double* back = d + (i - firstLag - 3);
#pragma GCC unroll 8
    for (int v = 0; v < V; ++v)
      acc[v] = _mm256_add_pd(acc[v], _mm256_mul_pd(di, _mm256_loadu_pd(back - 4 * v)));
  }
#pragma GCC unroll 8
  for (int v = 0; v < V; ++v) _mm256_store_pd(lanes + 4 * v, acc[v]);
  for (int l = 0; l < 4 * V; ++l) sums[l / 4 * 4 + 3 - l % 4] = lanes[l];
}

}  // namespace

void SumLagsAvx2(const double* d, long from, long to, int firstLag, int lanes, double* sums) {
  switch (lanes / WidthAvx2) {
    case 1: return Sum<1>(d, from, to, firstLag, sums);
    case 2: return Sum<2>(d, from, to, firstLag, sums);
    case 3: return Sum<3>(d, from, to, firstLag, sums);
    case 4: return Sum<4>(d, from, to, firstLag, sums);
    case 5: return Sum<5>(d, from, to, firstLag, sums);
    case 6: return Sum<6>(d, from, to, firstLag, sums);
    case 7: return Sum<7>(d, from, to, firstLag, sums);
    default: return Sum<8>(d, from, to, firstLag, sums);
  }
}

}  // namespace instruments::kernels
