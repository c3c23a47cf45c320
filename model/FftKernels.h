#pragma once
// The passes of the fast transform (model/Fft.cpp), one set per vector level. Each is built
// with its own instruction-set flags; call a level only where the processor has it.
//
// Indices are 0-based here: point n of the transform, len = 2^m points. Stage l (1 .. m)
// joins the points n and n + 2^(l-1) for every n whose bit l-1 is clear, with the twiddle
// factor number j = n mod 2^(l-1) of that stage. Every butterfly is the one of the plain
// algorithm, operation for operation; only the order of butterflies within a stage differs.
//
// The work is split in two phases:
//  A. Stages 1 .. s act on blocks of 2^s consecutive points. A group of W blocks (W = the
//     vector width) is loaded straight from the source in bit-reversed order into a
//     scratch buffer, one vector per point offset with one block per lane, so every stage
//     is a plain vertical vector operation with broadcast twiddle factors. The blocks are
//     then written to their places in (re, im), transposed W x W back to natural order.
//  B. Stages s+1 .. m join points 2^s apart and more. A chunk of R consecutive columns
//     (point numbers with the same high part) of all 2^(m-s) rows is copied to a scratch
//     buffer, transformed there with vector twiddle factors, and copied back.
// Both phases fuse two stages per pass over the buffer.
#include <cstddef>

namespace model::fftk {

// Twiddle factors u = (a, b) of stage l at a[2^(l-1) + j], b[2^(l-1) + j], j < 2^(l-1).
struct Twiddles {
  const double* a;
  const double* b;
};

struct PhaseA {
  const double* srcRe;  // source of the real parts, in natural order
  const double* srcIm;  // source of the imaginary parts, or null for zeros
  long count;           // source points present; the rest are zeros (count <= len)
  double* re;           // outputs (natural order), must not overlap the sources
  double* im;
  int m;               // log2 len
  int s;               // stages of this phase; 2^s >= W, 2^(m-s) >= W
  const int* revS;     // bit reversal of s bits, 2^s entries
  const int* revHigh;  // bit reversal of m-s bits, 2^(m-s) entries
  Twiddles tw;
  double* scratch;  // 2 * 2^s * W doubles, 64-byte aligned
  int groupBegin;   // groups of W blocks to process, out of 2^(m-s) / W
  int groupEnd;
};

struct PhaseB {
  double* re;  // in place
  double* im;
  int m;
  int s;  // stages s+1 .. m are done here
  Twiddles tw;
  double* scratch;  // 2 * 2^(m-s) * R doubles, 64-byte aligned
  int chunkBegin;   // chunks of R columns to process, out of 2^s / R
  int chunkEnd;
};

// Vector width W and chunk width R of each level.
constexpr int WidthPlain = 1, ChunkPlain = 8;
constexpr int WidthAvx2 = 4, ChunkAvx2 = 8;
constexpr int WidthAvx512 = 8, ChunkAvx512 = 8;

void RunPhaseAPlain(const PhaseA& job);
void RunPhaseBPlain(const PhaseB& job);
void RunPhaseAAvx2(const PhaseA& job);
void RunPhaseBAvx2(const PhaseB& job);
void RunPhaseAAvx512(const PhaseA& job);
void RunPhaseBAvx512(const PhaseB& job);

}  // namespace model::fftk
