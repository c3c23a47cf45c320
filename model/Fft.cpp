#include "model/Fft.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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

// The fast path covers these lengths; the others (the tiny ones, and those above 2^20
// points, whose cached scratch and twiddle stream would pass 32 MB) run the plain loops,
// which give the same bits.
constexpr int MinFastLog2 = 6;
constexpr int MaxFastLog2 = 20;
// Below this length the second thread costs more than it saves.
constexpr int MinParallelLog2 = 17;

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
  void (*phaseA)(const fftk::PhaseA&, int, int);
  void (*phaseB)(const fftk::PhaseB&, int, int);
};

// Phase A keeps 2^s x W points in its buffer: 32 KB, the first-level data cache. Phase B
// works on chunks of 2^(m-s) x R points in the second-level cache.
constexpr int MaxPhaseA = 11;
constexpr Level Levels[] = {
    {fftk::WidthPlain, fftk::ChunkPlain, 11, fftk::RunPhaseAPlain, fftk::RunPhaseBPlain},
    {fftk::WidthAvx2, fftk::ChunkAvx2, 9, fftk::RunPhaseAAvx2, fftk::RunPhaseBAvx2},
    {fftk::WidthAvx512, fftk::ChunkAvx512, 8, fftk::RunPhaseAAvx512, fftk::RunPhaseBAvx512},
};
constexpr long PhaseABuffer = 2L << MaxPhaseA;  // doubles: 2 * 2^s * W for every level
constexpr bool BufferFits(const Level& v) {
  int w = 0;
  while ((1 << w) < v.width) ++w;
  return v.maxPhaseA + w <= MaxPhaseA && v.maxPhaseA <= MaxPhaseA;
}
static_assert(BufferFits(Levels[0]) && BufferFits(Levels[1]) && BufferFits(Levels[2]));

// Chunks lie this many doubles apart beyond their size, so that the pieces a group of rows
// writes into consecutive chunks do not all meet in one cache set.
constexpr int ChunkPad = 8;

std::unique_ptr<int[]> ReversalTable(int bits) {
  const int n = 1 << bits;
  auto t = std::make_unique<int[]>(n);
  for (int i = 0; i < n; ++i) {
    int r = 0;
    for (int k = 0; k < bits; ++k) r |= ((i >> k) & 1) << (bits - 1 - k);
    t[i] = r;
  }
  return t;
}

// The factors of stage l by the recurrence: a[j], b[j] for j < 2^(l-1).
void StageTwiddles(int l, double* a, double* b) {
  const long le1 = 1L << (l - 1);
  double ur = 1, ui = 0, wr, wi;
  StageFactor(static_cast<int>(le1), wr, wi);
  for (long j = 0; j < le1; ++j) {
    a[j] = ur;
    b[j] = ui;
    NextFactor(ur, ui, wr, wi);
  }
}

// Everything a length 2^m split at s needs besides the arrays: the bit-reversal tables, the
// scratch chunks and the twiddle stream of phase B in the order the passes read it.
struct Plan {
  int m, s, chunk;
  std::unique_ptr<int[]> revS, revHigh;
  long chunkStride, twStride;
  int chunks;
  Buffer dataRe, dataIm, tw;

  Plan(int m_, int s_, int chunk_) : m(m_), s(s_), chunk(chunk_) {
    const int E = m - s;
    const long S = 1L << s;
    revS = ReversalTable(s);
    revHigh = ReversalTable(E);
    chunks = static_cast<int>(S / chunk);
    chunkStride = (1L << E) * chunk + ChunkPad;
    dataRe = Allocate(chunks * chunkStride);
    dataIm = Allocate(chunks * chunkStride);
    twStride = fftk::TwiddleStreamLength(E, chunk);
    tw = Allocate(chunks * twStride);

    // Lay out the factors of stages s+1 .. m: for each chunk, pass after pass, for each run
    // G of the pass the factors number rev(G) (and rev(G) + 2^(e-1) for the second stage of
    // a pair) of the chunk's R columns, a parts then b parts.
    const fftk::PassPlan plan{E};
    const long le1max = 1L << (m - 1);
    Buffer a = Allocate(le1max), b = Allocate(le1max);
    long passOffset = 0;
    for (int k = 0; k < plan.Count(); ++k) {
      const int e0 = plan.First(k);
      const bool pair = plan.Pair(k);
      const int runs = 1 << (e0 - 1);
      const long record = (pair ? 6L : 2L) * chunk;
      const std::unique_ptr<int[]> rev = ReversalTable(e0 - 1);
      for (int e = e0; e <= e0 + (pair ? 1 : 0); ++e) {
        StageTwiddles(s + e, a.get(), b.get());
        for (int c = 0; c < chunks; ++c) {
          double* const dst = tw.get() + c * twStride + passOffset;
          for (int G = 0; G < runs; ++G) {
            const long t = rev[G];
            double* const r = dst + G * record;
            for (int j = 0; j < chunk; ++j) {
              const long col = static_cast<long>(c) * chunk + j;
              if (e == e0) {
                r[j] = a[t * S + col];
                r[chunk + j] = b[t * S + col];
              } else {
                r[2 * chunk + j] = a[t * S + col];
                r[3 * chunk + j] = b[t * S + col];
                r[4 * chunk + j] = a[(t + runs) * S + col];
                r[5 * chunk + j] = b[(t + runs) * S + col];
              }
            }
          }
        }
      }
      passOffset += runs * record;
    }
  }

  long Bytes() const {
    return static_cast<long>(sizeof(double)) * chunks * (2 * chunkStride + twStride);
  }
};

// The cached plans, the factors of the first stages and the phase-A buffers of the two
// threads. A transform holds the lock from start to end.
class Engine {
 public:
  static Engine& Instance() {
    static Engine engine;
    return engine;
  }

  std::mutex mutex;

  const Plan& PlanFor(int m, int s, int chunk) {
    for (const auto& p : plans_)
      if (p->m == m && p->s == s && p->chunk == chunk) return *p;
    // Keep the memory bounded: the program uses a handful of lengths, but a caller could
    // walk through many.
    long total = 0;
    for (const auto& p : plans_) total += p->Bytes();
    if (total > (96L << 20)) plans_.clear();
    plans_.push_back(std::make_unique<Plan>(m, s, chunk));
    return *plans_.back();
  }

  const double* twA() const { return twA_.get(); }
  const double* twB() const { return twB_.get(); }
  double* buffer(int k) const { return buffers_[k].get(); }

 private:
  Engine()
      : twA_(Allocate(1L << MaxPhaseA)),
        twB_(Allocate(1L << MaxPhaseA)),
        buffers_{Allocate(PhaseABuffer), Allocate(PhaseABuffer)} {
    twA_[0] = twB_[0] = 0;  // unused
    for (int l = 1; l <= MaxPhaseA; ++l) {
      const long le1 = 1L << (l - 1);
      StageTwiddles(l, twA_.get() + le1, twB_.get() + le1);
    }
  }

  Buffer twA_, twB_;
  Buffer buffers_[2];
  std::vector<std::unique_ptr<Plan>> plans_;
};

// The progress of a fast transform, measured in point-stages (one butterfly stage over all
// len points is len of them; a work item of either phase is its points times its stages).
// Step k of the m is due once k * len point-stages are done, so the steps spread evenly over
// the work, whichever thread does it; only the calling thread sends them.
class StepMeter {
 public:
  StepMeter(FftProgress* progress, long len, int m) : progress_(progress), len_(len), m_(m) {}
  void Add(long work) { done_.fetch_add(work, std::memory_order_relaxed); }
  // On the calling thread: the steps that have come due.
  void Send() {
    if (progress_ == nullptr) return;
    const long done = done_.load(std::memory_order_relaxed);
    while (sent_ < m_ && done >= (sent_ + 1) * len_) Step();
  }
  // On the calling thread, the work complete: the steps still to send.
  void Finish() {
    while (progress_ != nullptr && sent_ < m_) Step();
  }

 private:
  void Step() {
    progress_->Advance();
    ++sent_;
  }

  FftProgress* const progress_;
  const long len_;
  const int m_;
  std::atomic<long> done_{0};
  int sent_ = 0;
};

// Hands out work items one at a time to whichever thread asks, and tells when all are done.
// Each item done adds its work to the meter.
class Items {
 public:
  Items(int total, long workEach, StepMeter& meter)
      : total_(total), workEach_(workEach), meter_(meter) {}
  // `after` runs after each item this thread completes.
  template <class Fn, class After>
  void Work(Fn fn, After after) {
    for (int i; (i = next_.fetch_add(1, std::memory_order_relaxed)) < total_;) {
      fn(i);
      meter_.Add(workEach_);
      done_.fetch_add(1, std::memory_order_release);
      after();
    }
  }
  // Waits until every item is done, running `meanwhile` while it waits.
  template <class Meanwhile>
  void AwaitAll(Meanwhile meanwhile) const {
    while (done_.load(std::memory_order_acquire) < total_) {
      meanwhile();
      std::this_thread::yield();
    }
  }

 private:
  const int total_;
  const long workEach_;
  StepMeter& meter_;
  std::atomic<int> next_{0}, done_{0};
};

// Runs the whole fast transform of 2^m points, m in [MinFastLog2, MaxFastLog2]:
// (srcRe, srcIm) are read in bit-reversed order (srcIm null: zeros; count points present),
// (re, im) receive the result. The sources must not overlap the outputs.
void RunFast(const double* srcRe, const double* srcIm, long count, double* re, double* im, int m,
             FftProgress* progress) {
  // The widest level that fits this length: 2^s >= R and 2^(m-s) >= max(W, 2).
  auto split = [m](const Level& v) {
    return std::min(v.maxPhaseA, m - std::max(Log2(v.width), 1));
  };
  int levelIndex = static_cast<int>(simd::Current());
  while (levelIndex > 0 && split(Levels[levelIndex]) < Log2(Levels[levelIndex].chunk)) --levelIndex;
  const Level& level = Levels[levelIndex];
  const int s = split(level);

  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> lock(engine.mutex);
  const Plan& plan = engine.PlanFor(m, s, level.chunk);

  fftk::PhaseA a{srcRe,
                 srcIm,
                 count,
                 m,
                 s,
                 plan.revS.get(),
                 plan.revHigh.get(),
                 engine.twA(),
                 engine.twB(),
                 engine.buffer(0),
                 plan.dataRe.get(),
                 plan.dataIm.get(),
                 plan.chunkStride};
  const fftk::PhaseB b{plan.dataRe.get(),
                       plan.dataIm.get(),
                       plan.chunkStride,
                       plan.tw.get(),
                       plan.twStride,
                       plan.revHigh.get(),
                       re,
                       im,
                       m,
                       s};
  const long len = 1L << m;
  const int groups = (1 << (m - s)) / level.width;
  // A group of phase A is len / groups points through s stages, a chunk of phase B len /
  // chunks points through m - s stages.
  StepMeter meter(progress, len, m);
  Items itemsA(groups, len / groups * s, meter),
      itemsB(plan.chunks, len / plan.chunks * (m - s), meter);
  auto nothing = [] {};
  auto send = [&meter] { meter.Send(); };

  std::thread worker;
  if (m >= MinParallelLog2 && std::thread::hardware_concurrency() > 1) {
    try {
      worker = std::thread([&] {
        fftk::PhaseA mine = a;
        mine.buffer = engine.buffer(1);
        itemsA.Work([&](int i) { level.phaseA(mine, i, i + 1); }, nothing);
        itemsA.AwaitAll(nothing);
        itemsB.Work([&](int i) { level.phaseB(b, i, i + 1); }, nothing);
      });
    } catch (const std::system_error&) {
      // No second thread: this one does all the work.
    }
  }
  itemsA.Work([&](int i) { level.phaseA(a, i, i + 1); }, send);
  itemsA.AwaitAll(send);
  itemsB.Work([&](int i) { level.phaseB(b, i, i + 1); }, send);
  itemsB.AwaitAll(send);
  if (worker.joinable()) worker.join();
  meter.Finish();
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
  // The progress display ends even if the scratch for a new length cannot be allocated.
  struct EndOnExit {
    FftProgress* p;
    ~EndOnExit() {
      if (p) p->End();
    }
  } endOnExit{progress};
  const long n = std::clamp<long>(count, 0, len);
  if (m < MinFastLog2 || m > MaxFastLog2 || Overlaps(source, n, real, len) ||
      Overlaps(source, n, imaginary, len)) {
    TransformPlainBody(source, n, imaginary, real, len, progress);
  } else {
    RunFast(n > 0 ? source : nullptr, nullptr, n, real, imaginary, m, progress);
  }
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
