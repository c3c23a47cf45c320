// The kernels of the direct correlation sums, written once over a vector type V and included
// by each kernel file (instruments/CorrelationKernels*.cpp) after it has defined V for its
// instruction set. Everything here has internal linkage, so code built with wider
// instructions can never stand in for the plain build at link time.
//
// V provides: type T, lanes W, Load/Store (unaligned), LoadAligned/StoreAligned, Set1, Add,
// Mul. Each product is rounded, then each addition (no fused multiply-add).
#include <type_traits>

#include "instruments/CorrelationKernels.h"

namespace instruments::kfk {
namespace {

// One sample: every vector adds its product, its window read from d or from the table.
template <class V, int N, bool Table>
inline void StepAll(const LagVectors& s, long i, const long* back, typename V::T* acc) {
  const typename V::T di = V::Set1(s.d[i]);
#pragma GCC unroll 8
  for (int v = 0; v < N; ++v) {
    const typename V::T w = Table ? V::LoadAligned(s.table + V::W * (i - back[v] - s.base))
                                  : V::Load(s.d + (i - back[v]));
    acc[v] = V::Add(acc[v], V::Mul(di, w));
  }
}

template <class V, int N>
inline void LoadSums(const LagVectors& s, typename V::T* acc, long* back) {
#pragma GCC unroll 8
  for (int v = 0; v < N; ++v) {
    acc[v] = V::Load(s.sums + V::W * v);
    back[v] = s.first[v] + V::W - 1;
  }
}

template <class V, int N>
inline void StoreSums(const LagVectors& s, const typename V::T* acc) {
#pragma GCC unroll 8
  for (int v = 0; v < N; ++v) V::Store(s.sums + V::W * v, acc[v]);
}

template <class V, int N>
void SumN(const LagVectors& s, long from, long to) {
  typename V::T acc[N];
  long back[N];
  LoadSums<V, N>(s, acc, back);
  if (s.table != nullptr) {
    for (long i = from; i < to; ++i) StepAll<V, N, true>(s, i, back, acc);
  } else {
    for (long i = from; i < to; ++i) StepAll<V, N, false>(s, i, back, acc);
  }
  StoreSums<V, N>(s, acc);
}

template <class V, int N>
void StepN(const LagVectors& s, long from, int record, double* recorded) {
  typename V::T acc[N];
  long back[N];
  LoadSums<V, N>(s, acc, back);
  for (int t = 0; t < V::W; ++t) {
    if (s.table != nullptr) {
      StepAll<V, N, true>(s, from + t, back, acc);
    } else {
      StepAll<V, N, false>(s, from + t, back, acc);
    }
    double lanes[V::W];
    V::Store(lanes, acc[record]);
    recorded[t] = lanes[V::W - 1 - t];
  }
  StoreSums<V, N>(s, acc);
}

static_assert(MaxVectors == 8, "WithCount lists the counts below MaxVectors one by one");

// f(std::integral_constant<int, N>) for N = count, 1 .. MaxVectors.
template <class F>
void WithCount(int count, F f) {
  switch (count) {
    case 1:
      return f(std::integral_constant<int, 1>{});
    case 2:
      return f(std::integral_constant<int, 2>{});
    case 3:
      return f(std::integral_constant<int, 3>{});
    case 4:
      return f(std::integral_constant<int, 4>{});
    case 5:
      return f(std::integral_constant<int, 5>{});
    case 6:
      return f(std::integral_constant<int, 6>{});
    case 7:
      return f(std::integral_constant<int, 7>{});
    default:
      return f(std::integral_constant<int, MaxVectors>{});
  }
}

template <class V>
void Sum(const LagVectors& s, long from, long to) {
  WithCount(s.count, [&](auto n) { SumN<V, decltype(n)::value>(s, from, to); });
}

template <class V>
void Step(const LagVectors& s, long from, int record, double* recorded) {
  WithCount(s.count, [&](auto n) { StepN<V, decltype(n)::value>(s, from, record, recorded); });
}

template <class V>
void Table(const double* d, long from, long to, double* table) {
  for (long k = from; k < to; ++k) V::StoreAligned(table + V::W * (k - from), V::Load(d + k));
}

template <class V>
Level LevelOf() {
  return {V::W, Sum<V>, Step<V>, Table<V>};
}

}  // namespace
}  // namespace instruments::kfk
