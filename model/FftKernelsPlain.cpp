// The passes of the fast transform without vector instructions: one point per "vector".
#include "model/FftKernels.h"

namespace model::fftk {
namespace {

struct VecPlain {
  using T = double;
  static constexpr int W = 1;
  static T Load(const double* p) { return *p; }
  static void Store(double* p, T v) { *p = v; }
  static T LoadFirst(const double* p, int n) { return n > 0 ? *p : 0.0; }
  static T Set1(double x) { return x; }
  static T Zero() { return 0.0; }
  static T Add(T x, T y) { return x + y; }
  static T Sub(T x, T y) { return x - y; }
  static T Mul(T x, T y) { return x * y; }
  static void Transpose(T*) {}
};

}  // namespace
}  // namespace model::fftk

#include "model/FftKernelsImpl.h"

namespace model::fftk {

void RunPhaseAPlain(const PhaseA& job, int begin, int end) {
  RunPhaseATemplate<VecPlain, ChunkPlain>(job, begin, end);
}
void RunPhaseBPlain(const PhaseB& job, int begin, int end) {
  RunPhaseBTemplate<VecPlain, ChunkPlain>(job, begin, end);
}

}  // namespace model::fftk
