#pragma once
// The in-place radix-2 fast Fourier transform of a real signal over caller-owned arrays:
// X[k] = sum of x[n] * exp(+2*pi*i*k*n/len), n = 0 .. len-1, positive exponent, no scaling.
//
// Two implementations give the same bits:
//  - FftTransformPlain: the algorithm as it is defined, loop by loop (1-based bit reversal,
//    one butterfly stage after the other, twiddle factors by the recurrence u := u*w);
//  - FftTransform: the fast one. It uses the same twiddle factors (a table built once by
//    the same recurrence and cached), performs the same butterflies with the same
//    operations, only in another order across butterflies of one stage: the bit reversal is
//    folded into the first pass, several stages run per pass over blocks that fit in cache,
//    the kernels are vectorized (AVX-512, AVX2 or plain, chosen at run time) and two
//    threads share the work (joined before it returns).
namespace model {

// The three messages of the transform.
extern const char* const FftSizeBelowCountText;  // "Объём БПФ меньше длины сигнала."
extern const char* const FftZeroSizeText;  // "Модуль БПФ: Попытка установить ..."
extern const char* const FftWrongSizeText;  // followed by the size in decimal

// Receives the progress of a running transform (the progress window plugs in here).
// All calls come from the thread that called the transform.
class FftProgress {
 public:
  virtual ~FftProgress() = default;
  // The length is fixed and the arrays are about to be filled: len points, `stages`
  // butterfly stages (log2 len).
  virtual void Begin(int len, int stages) = 0;
  // A further 1/stages of the transform's work is complete: one butterfly stage of the plain
  // loops, an equal share of the work of the fast path's blocks, on whichever thread (called
  // `stages` times in all).
  virtual void Advance() = 0;
  // The transform is complete.
  virtual void End() = 0;
};

// The transform length for `size` and `count`, with the messages:
//  - size < count: "Объём БПФ меньше длины сигнала.", result 0 (nothing to compute);
//  - size 0: the zero-size message, and size 2 instead;
//  - a negative size counts by its absolute value;
//  - not a power of two: the wrong-size message with the (positive) size in decimal, and
//    the largest power of two not above it.
// Sizes above 2^30 in magnitude are taken as 2^30 with the wrong-size message.
int FftLength(int count, int size);

// Fills real[0..len-1] with the first min(count, len) source samples followed by zeros,
// imaginary[0..len-1] with zeros, and transforms in place; len = FftLength(count, size).
// Returns len, or 0 when the request was refused and the arrays were left untouched.
// Both arrays must hold len doubles and must not overlap each other; the source may be one
// of them (it is read before it is overwritten). The twiddle tables and scratch arrays of
// the fast path are built at the first call with a given length and kept for later calls.
int FftTransform(const double* source, int count, int size, double* imaginary, double* real,
                 FftProgress* progress = nullptr);

// The same, computed by the plain loops exactly as the algorithm is written.
int FftTransformPlain(const double* source, int count, int size, double* imaginary, double* real,
                      FftProgress* progress = nullptr);

// The transform of the complex signal (sourceRe[n], sourceIm[n]), n < len, len a power of
// two from 2 to 2^30, into (re, im): the same butterflies and twiddle factors as the real
// transform, with both parts permuted. Each source is either its own output (in place) or
// does not overlap either output. No messages.
void FftComplex(const double* sourceRe, const double* sourceIm, double* re, double* im, int len);
void FftComplexPlain(const double* sourceRe, const double* sourceIm, double* re, double* im,
                     int len);

}  // namespace model
