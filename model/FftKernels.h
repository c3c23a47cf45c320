#pragma once
// The passes of the fast transform (model/Fft.cpp), one set per vector level. Each is built
// with its own instruction-set flags; call a level only where the processor has it.
//
// Indices are 0-based here: point n of the transform, len = 2^m points. Stage l (1 .. m)
// joins the points n and n + 2^(l-1) for every n whose bit l-1 is clear, with the twiddle
// factor number j = n mod 2^(l-1) of that stage. Every butterfly is the one of the plain
// algorithm, operation for operation; only the order of butterflies within a stage differs.
//
// Write point n = q * 2^s + r: row q (E = m - s high bits), column r (s low bits).
//  A. Stages 1 .. s act on the rows (blocks of 2^s consecutive points) separately. A group
//     of W rows (W = the vector width) is loaded straight from the source in bit-reversed
//     order into a small buffer, one vector per column with one row per lane, so every
//     stage is a vertical vector operation with broadcast twiddle factors. The group is
//     then stored, transposed W x W, into the scratch arrays.
//  B. Stages s+1 .. m act on the columns separately. The scratch holds the columns in
//     chunks of R: chunk c is a contiguous array of 2^E slots of R points (columns
//     cR .. cR+R-1), slot i holding row rev(i) (E-bit reversal). In slot order the stages
//     join slots in contiguous runs, so a chunk is worked in place, in cache, with its
//     twiddle factors read as one stream laid out in the order of use; the last pass writes
//     the rows to their natural places in (re, im).
// Both phases fuse two stages per pass over their data.
namespace model::fftk {

struct PhaseA {
  const double* srcRe;  // source of the real parts, in natural order
  const double* srcIm;  // source of the imaginary parts, or null for zeros
  long count;           // source points present; the rest are zeros (count <= len)
  int m;                // log2 len
  int s;                // stages of this phase; 2^s >= R, 2^(m-s) >= W
  const int* revS;      // bit reversal of s bits, 2^s entries
  const int* revHigh;   // bit reversal of m-s bits, 2^(m-s) entries
  const double* twA;    // twiddle factors u = (a, b) of stage l <= s at
  const double* twB;    //   [2^(l-1) + j], j < 2^(l-1)
  double* buffer;       // 2 * 2^s * W doubles, 64-byte aligned
  double* outRe;        // the scratch: chunk c at outRe + c * chunkStride
  double* outIm;
  long chunkStride;
};

struct PhaseB {
  double* dataRe;  // the scratch written by phase A, worked in place
  double* dataIm;
  long chunkStride;
  const double* tw;  // the twiddle stream of chunk c at tw + c * twStride
  long twStride;
  const int* revHigh;  // bit reversal of m-s bits
  double* re;          // outputs, natural order
  double* im;
  int m;
  int s;
};

// Vector width W and chunk width R of each level.
constexpr int WidthPlain = 1, ChunkPlain = 8;
constexpr int WidthAvx2 = 4, ChunkAvx2 = 8;
constexpr int WidthAvx512 = 8, ChunkAvx512 = 16;

// The passes of phase B over its E stages: a single stage first when E is odd, then pairs.
// Pass k covers stage First(k) (and First(k) + 1 when it is a pair).
struct PassPlan {
  int stages;  // E
  int Count() const { return (stages + 1) / 2; }
  bool Pair(int k) const { return !(k == 0 && stages % 2 == 1); }
  int First(int k) const { return stages % 2 == 1 ? (k == 0 ? 1 : 2 * k) : 2 * k + 1; }
};

// Doubles of twiddle stream per chunk: (a, b) of R columns for every factor of every stage.
inline long TwiddleStreamLength(int stages, int chunk) {
  return 2L * chunk * ((1L << stages) - 1);
}

// Phase A for the groups [begin, end) of W rows; phase B for the chunks [begin, end).
void RunPhaseAPlain(const PhaseA& job, int begin, int end);
void RunPhaseBPlain(const PhaseB& job, int begin, int end);
void RunPhaseAAvx2(const PhaseA& job, int begin, int end);
void RunPhaseBAvx2(const PhaseB& job, int begin, int end);
void RunPhaseAAvx512(const PhaseA& job, int begin, int end);
void RunPhaseBAvx512(const PhaseB& job, int begin, int end);

}  // namespace model::fftk
