// The direct correlation sums without vector instructions: one lag per "vector", eight
// scalar sums side by side.
#include "instruments/CorrelationKernels.h"

namespace instruments::kfk {
namespace {

struct VecPlain {
  using T = double;
  static constexpr int W = 1;
  static T Load(const double* p) { return *p; }
  static void Store(double* p, T v) { *p = v; }
  static T LoadAligned(const double* p) { return *p; }
  static void StoreAligned(double* p, T v) { *p = v; }
  static T Set1(double x) { return x; }
  static T Add(T x, T y) { return x + y; }
  static T Mul(T x, T y) { return x * y; }
};

}  // namespace
}  // namespace instruments::kfk

#include "instruments/CorrelationKernelsImpl.h"

namespace instruments::kfk {

Level LevelPlain() {
  return LevelOf<VecPlain>();
}

}  // namespace instruments::kfk
