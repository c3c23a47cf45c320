#include "model/Fft.h"

#include <algorithm>
#include <barrier>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "model/FftKernels.h"
#include "model/Messages.h"
#include "model/Simd.h"

namespace model {

const char* const FftSizeBelowCountText = "Объём БПФ меньше длины сигнала.";
const char* const FftZeroSizeText = "Модуль БПФ: Попытка установить нулевой объем преобразования.";
const char* const FftWrongSizeText = "Установлен неправильный объем БПФ: ";

namespace {

constexpr double Pi = 3.141592653589793;
constexpr long long MaxLength = 1LL << 30;

// The fast path covers these lengths; the others (tiny, or with a twiddle table larger
// than 64 MB) run the plain loops, which give the same bits.
constexpr int MinFastLog2 = 6;
constexpr int MaxFastLog2 = 22;
// Below this length the second thread costs more than it saves.
constexpr int MinParallelLog2 = 31;

int Log2(long long len) {
  int m = 0;
  while ((1LL << m) < len) ++m;
  return m;
}

// The stage factor w = (cos(pi/le1), sin(pi/le1)). One function for the plain loop and the
// table, so both see the same bits whatever the compiler does with constants.
[[gnu::noinline]] void StageFactor(int le1, double& wr, double& wi) {
  const double angle = Pi / le1;
  wr = std::cos(angle);
  wi = std::sin(angle);
}

// u := u * w with the four multiplications as written.
inline void NextFactor(double& ur, double& ui, double wr, double wi) {
  const double re = ur * wr - ui * wi;
  ui = ui * wr + ur * wi;
  ur = re;
}

// One butterfly on the 0-based points i and ip with the factor (a, b), three
// multiplications, each partial result rounded to double.
inline void Butterfly(double* xr, double* xi, long i, long ip, double a, double b) {
  const double c = xr[ip], d = xi[ip];
  const double f = (c + d) * a;
  const double tr = f - d * (a + b);
  const double ti = f + c * (b - a);
  xr[ip] = xr[i] - tr;
  xi[ip] = xi[i] - ti;
  xr[i] = xr[i] + tr;
  xi[i] = xi[i] + ti;
}

// real[0..n-1] := source, real[n..len-1] := 0, imaginary[0..len-1] := 0. The source is read
// before either array is cleared, so it may be one of them.
void LoadReal(const double* source, long n, double* re, double* im, long len) {
  if (n > 0 && source != re) std::memmove(re, source, sizeof(double) * n);
  std::memset(re + n, 0, sizeof(double) * (len - n));
  std::memset(im, 0, sizeof(double) * len);
}

// The permutation by bit reversal, with the 1-based indices of the algorithm.
void BitReversePlain(double* x, long len) {
  long j = 1;
  for (long i = 1; i <= len - 1; ++i) {
    if (i < j) std::swap(x[i - 1], x[j - 1]);
    long k = len / 2;
    while (k < j) {
      j = j - k;
      k = k / 2;
    }
    j = j + k;
  }
}

// The butterfly stages, with the 1-based indices of the algorithm.
void StagesPlain(double* xr, double* xi, long len, FftProgress* progress) {
  const int m = Log2(len);
  for (int l = 1; l <= m; ++l) {
    const long le = 1L << l;
    const long le1 = le / 2;
    double ur = 1, ui = 0, wr, wi;
    StageFactor(static_cast<int>(le1), wr, wi);
    for (long j = 1; j <= le1; ++j) {
      for (long i = j; i <= len; i += le) {
        const long ip = i + le1;
        Butterfly(xr, xi, i - 1, ip - 1, ur, ui);
      }
      NextFactor(ur, ui, wr, wi);
    }
    if (progress) progress->Advance();
  }
}

bool Overlaps(const double* p, long n, const double* q, long len) {
  if (p == nullptr || n <= 0) return false;
  const auto a = reinterpret_cast<std::uintptr_t>(p);
  const auto b = reinterpret_cast<std::uintptr_t>(q);
  return a < b + sizeof(double) * len && b < a + sizeof(double) * n;
}

// ---- the fast path -------------------------------------------------------------------

struct AlignedFree {
  void operator()(double* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<double[], AlignedFree>;

Buffer Allocate(long n) {
  const std::size_t bytes = (sizeof(double) * n + 63) / 64 * 64;
  auto* p = static_cast<double*>(std::aligned_alloc(64, bytes));
  if (p == nullptr) throw std::bad_alloc();
  return Buffer(p);
}

struct Level {
  int width, chunk, maxPhaseA;
  void (*phaseA)(const fftk::PhaseA&);
  void (*phaseB)(const fftk::PhaseB&);
};

// Phase A keeps 2^s x W points in its buffer: up to 32 KB, the first-level data cache.
constexpr Level Levels[] = {
    {fftk::WidthPlain, fftk::ChunkPlain, 11, fftk::RunPhaseAPlain, fftk::RunPhaseBPlain},
    {fftk::WidthAvx2, fftk::ChunkAvx2, 9, fftk::RunPhaseAAvx2, fftk::RunPhaseBAvx2},
    {fftk::WidthAvx512, fftk::ChunkAvx512, 8, fftk::RunPhaseAAvx512, fftk::RunPhaseBAvx512},
};

// The twiddle factors of the stages 1 .. m by the recurrence, the bit-reversal tables and
// the scratch buffers. The tables only grow: the factors of a stage do not depend on the
// length, so one table serves every shorter transform.
class Engine {
 public:
  static Engine& Instance() {
    static Engine engine;
    return engine;
  }

  std::mutex mutex;

  // Makes the tables ready for 2^m points split at s, and the scratch for two threads.
  void Prepare(int m, int s, int width, int chunk) {
    if (m > twLog2_) BuildTwiddles(m);
    if (s != revSLog2_) revS_ = ReversalTable(s), revSLog2_ = s;
    if (m - s != revHighLog2_) revHigh_ = ReversalTable(m - s), revHighLog2_ = m - s;
    const long need = 2 * std::max((1L << s) * width, (1L << (m - s)) * chunk);
    if (need > scratchSize_) {
      for (Buffer& b : scratch_) b = Allocate(need);
      scratchSize_ = need;
    }
  }

  fftk::Twiddles twiddles() const { return {twA_.get(), twB_.get()}; }
  const int* revS() const { return revS_.get(); }
  const int* revHigh() const { return revHigh_.get(); }
  double* scratch(int k) const { return scratch_[k].get(); }

 private:
  void BuildTwiddles(int m) {
    Buffer a = Allocate(1L << m), b = Allocate(1L << m);
    a[0] = b[0] = 0;  // unused
    for (int l = 1; l <= m; ++l) {
      const long le1 = 1L << (l - 1);
      double ur = 1, ui = 0, wr, wi;
      StageFactor(static_cast<int>(le1), wr, wi);
      for (long j = 0; j < le1; ++j) {
        a[le1 + j] = ur;
        b[le1 + j] = ui;
        NextFactor(ur, ui, wr, wi);
      }
    }
    twA_ = std::move(a);
    twB_ = std::move(b);
    twLog2_ = m;
  }

  static std::unique_ptr<int[]> ReversalTable(int bits) {
    const int n = 1 << bits;
    auto t = std::make_unique<int[]>(n);
    for (int i = 0; i < n; ++i) {
      int r = 0;
      for (int k = 0; k < bits; ++k) r |= ((i >> k) & 1) << (bits - 1 - k);
      t[i] = r;
    }
    return t;
  }

  Buffer twA_, twB_;
  int twLog2_ = 0;
  std::unique_ptr<int[]> revS_, revHigh_;
  int revSLog2_ = -1, revHighLog2_ = -1;
  Buffer scratch_[2];
  long scratchSize_ = 0;
};

// Runs the whole fast transform of 2^m points, m in [MinFastLog2, MaxFastLog2]:
// (srcRe, srcIm) are read in bit-reversed order (srcIm null: zeros; count points present),
// (re, im) receive the result. The sources must not overlap the outputs.
void RunFast(const double* srcRe, const double* srcIm, long count, double* re, double* im, int m,
             FftProgress* progress) {
  int levelIndex = static_cast<int>(simd::Current());
  // The widest level that fits this length: 2^s >= chunk and 2^(m-s) >= width.
  while (levelIndex > 0 && Log2(Levels[levelIndex].width) + Log2(Levels[levelIndex].chunk) > m)
    --levelIndex;
  const Level& level = Levels[levelIndex];
  const int s = std::min(level.maxPhaseA, m - Log2(level.width));

  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> lock(engine.mutex);
  engine.Prepare(m, s, level.width, level.chunk);

  fftk::PhaseA a{srcRe,
                 srcIm,
                 count,
                 re,
                 im,
                 m,
                 s,
                 engine.revS(),
                 engine.revHigh(),
                 engine.twiddles(),
                 engine.scratch(0),
                 0,
                 (1 << (m - s)) / level.width};
  fftk::PhaseB b{re, im, m, s, engine.twiddles(), engine.scratch(0), 0, (1 << s) / level.chunk};
  auto advance = [progress](int stages) {
    if (progress)
      for (int k = 0; k < stages; ++k) progress->Advance();
  };

  const bool parallel = m >= MinParallelLog2 && std::thread::hardware_concurrency() > 1;
  if (parallel) {
    fftk::PhaseA a2 = a;
    fftk::PhaseB b2 = b;
    a.groupEnd = a2.groupBegin = a.groupEnd / 2;
    b.chunkEnd = b2.chunkBegin = b.chunkEnd / 2;
    a2.scratch = b2.scratch = engine.scratch(1);
    std::barrier<> sync(2);
    std::thread worker;
    try {
      worker = std::thread([&] {
        level.phaseA(a2);
        sync.arrive_and_wait();
        level.phaseB(b2);
      });
    } catch (const std::system_error&) {
      // No second thread: this one does all the work.
      a.groupEnd = a2.groupEnd;
      b.chunkEnd = b2.chunkEnd;
      level.phaseA(a);
      advance(s);
      level.phaseB(b);
      advance(m - s);
      return;
    }
    level.phaseA(a);
    sync.arrive_and_wait();
    advance(s);
    level.phaseB(b);
    worker.join();
    advance(m - s);
    return;
  }
  level.phaseA(a);
  advance(s);
  level.phaseB(b);
  advance(m - s);
}

void TransformPlainBody(const double* source, long n, double* im, double* re, long len,
                        FftProgress* progress) {
  LoadReal(source, n, re, im, len);
  BitReversePlain(re, len);
  StagesPlain(re, im, len, progress);
}

}  // namespace

int FftLength(int count, int size) {
  if (size < count) {
    lab::ShowMessage(FftSizeBelowCountText);
    return 0;
  }
  long long n = size;
  if (n == 0) {
    lab::ShowMessage(FftZeroSizeText);
    n = 2;
  }
  if (n < 0) n = -n;
  if ((n & (n - 1)) == 0 && n <= MaxLength) return static_cast<int>(n);
  lab::ShowMessage(FftWrongSizeText + std::to_string(n));
  long long len = 1;
  while (len < n) len = len * 2;
  len = len / 2;
  return static_cast<int>(std::min(len, MaxLength));
}

int FftTransformPlain(const double* source, int count, int size, double* imaginary, double* real,
                      FftProgress* progress) {
  const int len = FftLength(count, size);
  if (len == 0) return 0;
  if (progress) progress->Begin(len, Log2(len));
  // Only what fits: with a length cut down from the size, samples beyond it are ignored.
  const long n = std::clamp<long>(count, 0, len);
  TransformPlainBody(source, n, imaginary, real, len, progress);
  if (progress) progress->End();
  return len;
}

int FftTransform(const double* source, int count, int size, double* imaginary, double* real,
                 FftProgress* progress) {
  const int len = FftLength(count, size);
  if (len == 0) return 0;
  const int m = Log2(len);
  if (progress) progress->Begin(len, m);
  const long n = std::clamp<long>(count, 0, len);
  if (m < MinFastLog2 || m > MaxFastLog2 || Overlaps(source, n, real, len) ||
      Overlaps(source, n, imaginary, len)) {
    TransformPlainBody(source, n, imaginary, real, len, progress);
  } else {
    RunFast(n > 0 ? source : nullptr, nullptr, n, real, imaginary, m, progress);
  }
  if (progress) progress->End();
  return len;
}

void FftComplexPlain(const double* sourceRe, const double* sourceIm, double* re, double* im,
                     int len) {
  if (sourceRe != re) std::memcpy(re, sourceRe, sizeof(double) * len);
  if (sourceIm != im) std::memcpy(im, sourceIm, sizeof(double) * len);
  BitReversePlain(re, len);
  BitReversePlain(im, len);
  StagesPlain(re, im, len, nullptr);
}

void FftComplex(const double* sourceRe, const double* sourceIm, double* re, double* im, int len) {
  const int m = Log2(len);
  if (m < MinFastLog2 || m > MaxFastLog2 || Overlaps(sourceRe, len, re, len) ||
      Overlaps(sourceRe, len, im, len) || Overlaps(sourceIm, len, re, len) ||
      Overlaps(sourceIm, len, im, len)) {
    FftComplexPlain(sourceRe, sourceIm, re, im, len);
    return;
  }
  RunFast(sourceRe, sourceIm, len, re, im, m, nullptr);
}

}  // namespace model
