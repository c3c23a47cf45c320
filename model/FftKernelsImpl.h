// The two phases of the fast transform, written once over a vector type V and included by
// each kernel file (model/FftKernels*.cpp) after it has defined V for its instruction set.
// Everything here has internal linkage, so code built with wider instructions can never
// stand in for the plain build at link time.
//
// V provides: type T, lanes W, Load/Store (unaligned), LoadFirst(p, n) (lanes >= n zero),
// Set1, Zero, Add, Sub, Mul, and Transpose(T rows[W]) (rows become columns).
//
// The butterfly is the plain algorithm's: with (c, d) = x[ip] and u = (a, b),
//   f = (c + d) * a;  t = (f - d * (a + b), f + c * (b - a));  x[ip] = x[i] - t;  x[i] += t,
// every operation rounded to double in this order (no fused multiply-add).
#include "model/FftKernels.h"

namespace model::fftk {
namespace {

template <class V>
struct Tw {
  typename V::T a, ab, ba;  // a, a + b, b - a of the factor (a, b)
};

template <class V>
inline Tw<V> MakeTw(typename V::T a, typename V::T b) {
  return {a, V::Add(a, b), V::Sub(b, a)};
}

template <class V>
inline Tw<V> BroadcastTw(const double* a, const double* b, int l, long j) {
  const long k = (1L << (l - 1)) + j;
  return MakeTw<V>(V::Set1(a[k]), V::Set1(b[k]));
}

template <class V>
inline void Butterfly(typename V::T& pr, typename V::T& pi, typename V::T& qr, typename V::T& qi,
                      const Tw<V>& w) {
  using T = typename V::T;
  const T f = V::Mul(V::Add(qr, qi), w.a);
  const T tr = V::Sub(f, V::Mul(qi, w.ab));
  const T ti = V::Add(f, V::Mul(qr, w.ba));
  qr = V::Sub(pr, tr);
  qi = V::Sub(pi, ti);
  pr = V::Add(pr, tr);
  pi = V::Add(pi, ti);
}

// The phase-A buffer: row o (a column of the group) is one vector at re + o * W.
struct Rows {
  double* re;
  double* im;
  long stride;
};

// One stage in place: rows g + t and g + t + h (t < h, g a multiple of 2h) with the
// stage's factor tw(t).
template <class V, class TwFn>
void Pass2(Rows x, int rows, int h, TwFn tw) {
  using T = typename V::T;
  for (int t = 0; t < h; ++t) {
    const Tw<V> w = tw(t);
    for (int g = t; g < rows; g += 2 * h) {
      double* const pr = x.re + g * x.stride;
      double* const pi = x.im + g * x.stride;
      double* const qr = pr + h * x.stride;
      double* const qi = pi + h * x.stride;
      T a = V::Load(pr), b = V::Load(pi), c = V::Load(qr), d = V::Load(qi);
      Butterfly<V>(a, b, c, d, w);
      V::Store(pr, a);
      V::Store(pi, b);
      V::Store(qr, c);
      V::Store(qi, d);
    }
  }
}

// Two stages in place: the first with half-distance h and factors tw1(t), the second with
// half-distance 2h and factors tw2(t), t < 2h. Rows g+t, g+t+h, g+t+2h, g+t+3h (t < h, g a
// multiple of 4h) pass through both stages before they are stored.
template <class V, class Tw1Fn, class Tw2Fn>
void Pass4(Rows x, int rows, int h, Tw1Fn tw1, Tw2Fn tw2) {
  using T = typename V::T;
  for (int t = 0; t < h; ++t) {
    const Tw<V> w1 = tw1(t), w2 = tw2(t), w3 = tw2(t + h);
    for (int g = t; g < rows; g += 4 * h) {
      double* r[4];
      double* i[4];
      T vr[4], vi[4];
#pragma GCC unroll 4
      for (int k = 0; k < 4; ++k) {
        r[k] = x.re + (g + k * h) * x.stride;
        i[k] = x.im + (g + k * h) * x.stride;
        vr[k] = V::Load(r[k]);
        vi[k] = V::Load(i[k]);
      }
      Butterfly<V>(vr[0], vi[0], vr[1], vi[1], w1);
      Butterfly<V>(vr[2], vi[2], vr[3], vi[3], w1);
      Butterfly<V>(vr[0], vi[0], vr[2], vi[2], w2);
      Butterfly<V>(vr[1], vi[1], vr[3], vi[3], w3);
#pragma GCC unroll 4
      for (int k = 0; k < 4; ++k) {
        V::Store(r[k], vr[k]);
        V::Store(i[k], vi[k]);
      }
    }
  }
}

// Phase A: groups of W rows, bit-reversed load, stages 1 .. s, transposed store into the
// chunks of the scratch.
template <class V, int R>
void RunPhaseATemplate(const PhaseA& job, int begin, int end) {
  using T = typename V::T;
  constexpr int W = V::W;
  const int s = job.s;
  const int S = 1 << s;
  const int shift = job.m - s;
  double* const bre = job.buffer;
  double* const bim = job.buffer + static_cast<long>(S) * W;
  const Rows buf{bre, bim, W};

  // Row o of the buffer holds column o of the group's W rows, lane k from row
  // revHigh[C*W + k]; in the source that is point revS[o] * 2^(m-s) + C*W + k: the lanes are
  // consecutive source samples. Past `count` the source reads as zeros.
  const bool whole = job.count >= (1L << job.m);
  auto load = [&](const double* src, long base) -> T {
    if (src == nullptr || base >= job.count) return V::Zero();
    if (base + W <= job.count) return V::Load(src + base);
    return V::LoadFirst(src + base, static_cast<int>(job.count - base));
  };
  auto loadRow = [&](long base, T& r, T& i) {
    if (whole) {
      r = V::Load(job.srcRe + base);
      i = job.srcIm ? V::Load(job.srcIm + base) : V::Zero();
    } else {
      r = load(job.srcRe, base);
      i = load(job.srcIm, base);
    }
  };

  for (int C = begin; C < end; ++C) {
    const long first = static_cast<long>(C) * W;
    // The first stages are applied as the rows arrive.
    if (s >= 2) {
      const Tw<V> w1 = BroadcastTw<V>(job.twA, job.twB, 1, 0);
      const Tw<V> w2 = BroadcastTw<V>(job.twA, job.twB, 2, 0);
      const Tw<V> w3 = BroadcastTw<V>(job.twA, job.twB, 2, 1);
      for (int o = 0; o < S; o += 4) {
        T r[4], i[4];
#pragma GCC unroll 4
        for (int k = 0; k < 4; ++k)
          loadRow((static_cast<long>(job.revS[o + k]) << shift) + first, r[k], i[k]);
        Butterfly<V>(r[0], i[0], r[1], i[1], w1);
        Butterfly<V>(r[2], i[2], r[3], i[3], w1);
        Butterfly<V>(r[0], i[0], r[2], i[2], w2);
        Butterfly<V>(r[1], i[1], r[3], i[3], w3);
#pragma GCC unroll 4
        for (int k = 0; k < 4; ++k) {
          V::Store(bre + (o + k) * W, r[k]);
          V::Store(bim + (o + k) * W, i[k]);
        }
      }
    } else {
      const Tw<V> w1 = BroadcastTw<V>(job.twA, job.twB, 1, 0);
      for (int o = 0; o < S; o += 2) {
        T r[2], i[2];
        for (int k = 0; k < 2; ++k)
          loadRow((static_cast<long>(job.revS[o + k]) << shift) + first, r[k], i[k]);
        Butterfly<V>(r[0], i[0], r[1], i[1], w1);
        for (int k = 0; k < 2; ++k) {
          V::Store(bre + (o + k) * W, r[k]);
          V::Store(bim + (o + k) * W, i[k]);
        }
      }
    }
    // The other stages, two per pass over the buffer.
    auto twOf = [&job](int l) {
      return [&job, l](int t) { return BroadcastTw<V>(job.twA, job.twB, l, t); };
    };
    for (int l = s >= 2 ? 3 : 2; l <= s; l += 2) {
      if (l + 1 <= s)
        Pass4<V>(buf, S, 1 << (l - 1), twOf(l), twOf(l + 1));
      else
        Pass2<V>(buf, S, 1 << (l - 1), twOf(l));
    }
    // Into the chunks: W columns (buffer rows) by W rows (lanes), transposed, so that each
    // row's R columns of a chunk lie together in its slot C*W + k.
    for (int o = 0; o < S; o += W) {
      const long at = (o / R) * job.chunkStride + first * R + o % R;
      T t[W];
#pragma GCC unroll 16
      for (int k = 0; k < W; ++k) t[k] = V::Load(bre + (o + k) * W);
      V::Transpose(t);
#pragma GCC unroll 16
      for (int k = 0; k < W; ++k) V::Store(job.outRe + at + k * R, t[k]);
#pragma GCC unroll 16
      for (int k = 0; k < W; ++k) t[k] = V::Load(bim + (o + k) * W);
      V::Transpose(t);
#pragma GCC unroll 16
      for (int k = 0; k < W; ++k) V::Store(job.outIm + at + k * R, t[k]);
    }
  }
}

// Where the last pass of a chunk writes: slot p is row revHigh[p], at re + row * 2^s + col.
struct Out {
  double* re;
  double* im;
  const int* rev;
  long rowStride;
  long col;
};

// Phase B, one stage e of E in slot order: slots p and p + D (D = 2^(E-e)) within runs of
// 2D, run G using the factor number rev(G) of the stage, read from the twiddle stream.
// Returns the stream position after this stage's factors.
template <class V, int R>
const double* SlotPass2(double* dr, double* di, const double* tw, int E, int e, const Out* out) {
  using T = typename V::T;
  constexpr int W = V::W, Nv = R / W;
  const long D = 1L << (E - e);
  const int runs = 1 << (e - 1);
  for (int G = 0; G < runs; ++G, tw += 2 * R) {
    Tw<V> w[Nv];
#pragma GCC unroll 8
    for (int v = 0; v < Nv; ++v) w[v] = MakeTw<V>(V::Load(tw + v * W), V::Load(tw + R + v * W));
    const long base = 2 * D * G;
    for (long u = 0; u < D; ++u) {
      const long p = base + u, q = p + D;
#pragma GCC unroll 8
      for (int v = 0; v < Nv; ++v) {
        const long o = v * W;
        T pr = V::Load(dr + p * R + o), pi = V::Load(di + p * R + o);
        T qr = V::Load(dr + q * R + o), qi = V::Load(di + q * R + o);
        Butterfly<V>(pr, pi, qr, qi, w[v]);
        if (out) {
          const long dp = out->rev[p] * out->rowStride + out->col + o;
          const long dq = out->rev[q] * out->rowStride + out->col + o;
          V::Store(out->re + dp, pr);
          V::Store(out->im + dp, pi);
          V::Store(out->re + dq, qr);
          V::Store(out->im + dq, qi);
        } else {
          V::Store(dr + p * R + o, pr);
          V::Store(di + p * R + o, pi);
          V::Store(dr + q * R + o, qr);
          V::Store(di + q * R + o, qi);
        }
      }
    }
  }
  return tw;
}

// Phase B, stages e and e+1 together: slots p0 .. p3 = p0 + {0, Q, 2Q, 3Q} (Q = 2^(E-e-1))
// within runs of 4Q; stage e joins (p0, p2) and (p1, p3) with its factor rev(G), stage e+1
// joins (p0, p1) and (p2, p3) with its factors rev(G) and rev(G) + 2^(e-1).
template <class V, int R>
const double* SlotPass4(double* dr, double* di, const double* tw, int E, int e, const Out* out) {
  using T = typename V::T;
  constexpr int W = V::W, Nv = R / W;
  const long Q = 1L << (E - e - 1);
  const int runs = 1 << (e - 1);
  for (int G = 0; G < runs; ++G, tw += 6 * R) {
    Tw<V> w1[Nv], w2[Nv], w3[Nv];
#pragma GCC unroll 8
    for (int v = 0; v < Nv; ++v) {
      w1[v] = MakeTw<V>(V::Load(tw + v * W), V::Load(tw + R + v * W));
      w2[v] = MakeTw<V>(V::Load(tw + 2 * R + v * W), V::Load(tw + 3 * R + v * W));
      w3[v] = MakeTw<V>(V::Load(tw + 4 * R + v * W), V::Load(tw + 5 * R + v * W));
    }
    const long base = 4 * Q * G;
    for (long u = 0; u < Q; ++u) {
      long p[4];
#pragma GCC unroll 4
      for (int k = 0; k < 4; ++k) p[k] = (base + u + k * Q) * R;
      long d[4];
      if (out) {
#pragma GCC unroll 4
        for (int k = 0; k < 4; ++k) d[k] = out->rev[base + u + k * Q] * out->rowStride + out->col;
      }
#pragma GCC unroll 8
      for (int v = 0; v < Nv; ++v) {
        const long o = v * W;
        T r0 = V::Load(dr + p[0] + o), i0 = V::Load(di + p[0] + o);
        T r1 = V::Load(dr + p[1] + o), i1 = V::Load(di + p[1] + o);
        T r2 = V::Load(dr + p[2] + o), i2 = V::Load(di + p[2] + o);
        T r3 = V::Load(dr + p[3] + o), i3 = V::Load(di + p[3] + o);
        Butterfly<V>(r0, i0, r2, i2, w1[v]);
        Butterfly<V>(r1, i1, r3, i3, w1[v]);
        Butterfly<V>(r0, i0, r1, i1, w2[v]);
        Butterfly<V>(r2, i2, r3, i3, w3[v]);
        if (out) {
          V::Store(out->re + d[0] + o, r0);
          V::Store(out->im + d[0] + o, i0);
          V::Store(out->re + d[1] + o, r1);
          V::Store(out->im + d[1] + o, i1);
          V::Store(out->re + d[2] + o, r2);
          V::Store(out->im + d[2] + o, i2);
          V::Store(out->re + d[3] + o, r3);
          V::Store(out->im + d[3] + o, i3);
        } else {
          V::Store(dr + p[0] + o, r0);
          V::Store(di + p[0] + o, i0);
          V::Store(dr + p[1] + o, r1);
          V::Store(di + p[1] + o, i1);
          V::Store(dr + p[2] + o, r2);
          V::Store(di + p[2] + o, i2);
          V::Store(dr + p[3] + o, r3);
          V::Store(di + p[3] + o, i3);
        }
      }
    }
  }
  return tw;
}

// Phase B: chunks of R columns, stages s+1 .. m.
template <class V, int R>
void RunPhaseBTemplate(const PhaseB& job, int begin, int end) {
  const int E = job.m - job.s;
  const PassPlan plan{E};
  for (int c = begin; c < end; ++c) {
    double* const dr = job.dataRe + c * job.chunkStride;
    double* const di = job.dataIm + c * job.chunkStride;
    const double* tw = job.tw + c * job.twStride;
    const Out out{job.re, job.im, job.revHigh, 1L << job.s, static_cast<long>(c) * R};
    for (int k = 0; k < plan.Count(); ++k) {
      const Out* const dest = k + 1 == plan.Count() ? &out : nullptr;
      tw = plan.Pair(k) ? SlotPass4<V, R>(dr, di, tw, E, plan.First(k), dest)
                        : SlotPass2<V, R>(dr, di, tw, E, plan.First(k), dest);
    }
  }
}

}  // namespace
}  // namespace model::fftk
