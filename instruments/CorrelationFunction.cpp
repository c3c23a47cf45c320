#include "instruments/CorrelationFunction.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "instruments/CorrelationKernels.h"
#include "model/Parallel.h"
#include "model/Simd.h"

namespace instruments {

// ---- FFT method --------------------------------------------------------------------------

namespace {
// Below this length one thread forms the power spectrum quicker than two.
constexpr int MinParallelSpectrum = 1 << 17;
}  // namespace

int CorrelationByFft(const double* x, int n, const Transform& transform, double* re, double* im,
                     double* power) {
  if (n <= 0 || transform(x, n, n, im, re) == 0) return 0;
  // Each value on its own: the two halves may go to two threads.
  auto spectrum = [re, im, power](int from, int to) {
    for (int k = from; k < to; ++k) power[k] = re[k] * re[k] + im[k] * im[k];
  };
  if (n >= MinParallelSpectrum && model::SecondCoreAvailable()) {
    model::RunOnTwoThreads([&] { spectrum(0, n / 2); }, [&] { spectrum(n / 2, n); });
  } else {
    spectrum(0, n);
  }
  power[0] = 0;
  if (transform(power, n, n, im, re) == 0) return 0;
  const int lags = std::min(FftLagCount, n);
  const int scaled = std::min(lags + 5, n);
  const double length = n;
  for (int j = 0; j < scaled; ++j) re[j] = re[j] / ((length - j) * length);
  return lags;
}

// ---- Direct sums, the plain loops ----------------------------------------------------------

void DirectCorrelationFullPlain(const double* x, int n, double mean, int lags, double* k) {
  for (int j = 0; j < lags; ++j) {
    double sum = 0;
    for (int i = j; i < n; ++i) sum = sum + (x[i] - mean) * (x[i - j] - mean);
    k[j] = j < n ? sum / (n - j) : 0.0;
  }
}

void DirectCorrelationEarlyStopPlain(const double* x, int n, double mean, int lags, double* k) {
  for (int j = 0; j < lags; ++j) {
    double sum = 0;
    int count = 0;
    long checkpoint = static_cast<long>(j) + EarlyStopFirst;
    double previous = 0;
    for (int i = j; i < n; ++i) {
      sum = sum + (x[i] - mean) * (x[i - j] - mean);
      count = count + 1;
      if (i == checkpoint) {
        const double current = sum / count;
        if (current != 0 && std::fabs((previous - current) / current) < EarlyStopTolerance) break;
        checkpoint = checkpoint + EarlyStopEvery;
        previous = current;
      }
    }
    k[j] = count > 0 ? sum / count : 0.0;
  }
}

// ---- Direct sums, the fast form ------------------------------------------------------------

namespace {

using kfk::LagVectors;
using kfk::MaxVectors;
constexpr int MaxWidth = 8;
constexpr int MaxLanes = MaxWidth * MaxVectors;

kfk::Level CurrentLevel() {
  switch (simd::Current()) {
    case simd::Level::Avx512:
      return kfk::LevelAvx512();
    case simd::Level::Avx2:
      return kfk::LevelAvx2();
    case simd::Level::Plain:
      break;
  }
  return kfk::LevelPlain();
}

// Consecutive lags summed side by side: `vectors` vectors of the level's width from `first`.
struct Block {
  int first;
  int vectors;
  kfk::Level level;
};

// Whole blocks of the level, then one of the whole vectors left, then the last few lags on
// the plain kernels.
std::vector<Block> BlocksOf(int lags, const kfk::Level& level) {
  std::vector<Block> blocks;
  const int whole = level.width * MaxVectors;
  int j = 0;
  for (; j + whole <= lags; j += whole) blocks.push_back({j, MaxVectors, level});
  if (const int vectors = (lags - j) / level.width; vectors > 0) {
    blocks.push_back({j, vectors, level});
    j += vectors * level.width;
  }
  if (j < lags) blocks.push_back({j, lags - j, kfk::LevelPlain()});
  return blocks;
}

// The windows of the samples a chunk needs, laid out for aligned reads: windows lo .. hi-1.
struct WindowTable {
  const double* table = nullptr;
  long lo = 0, hi = 0;
};

// One block on its way through the samples: its sums in the kernels' lane order and, with the
// early stop, how far its checkpoints have got.
//
// Lag j reaches its checkpoint c (c = EarlyStopFirst, + EarlyStopEvery, ...) at sample j + c,
// so the lanes of a vector reach theirs on W successive samples. For each c the block sums up
// to the first of a vector's checkpoints, steps through its W samples recording each lane's
// sum at its own checkpoint, and checks them. A lag that stops keeps its average; its lane
// goes on summing, unused, as long as another lane of its vector runs; a vector whose lags
// have all stopped leaves the block.
class BlockRun {
 public:
  BlockRun(const Block& block, const double* d, long n, bool earlyStop, double* k)
      : level_(block.level), w_(block.level.width), count_(block.vectors), d_(d), n_(n), k_(k) {
    for (int v = 0; v < count_; ++v) first_[v] = block.first + v * w_;
    Head();
    next_ = std::min(LastLag(), n_);
    ended_ = !earlyStop || next_ >= n_;
  }

  bool Done() const { return count_ == 0 || next_ >= n_; }
  long Next() const { return next_; }
  int Width() const { return w_; }
  int Vectors() const { return count_; }
  long FirstLag() const { return first_[0]; }
  long LastLag() const { return first_[count_ - 1] + w_ - 1; }

  // Sums up to sample `until`, or a little beyond it to finish a checkpoint's window.
  void Advance(long until, const WindowTable& table) {
    while (!Done() && next_ < until) {
      if (ended_) {
        Sum(next_, until, table);
        next_ = until;
        continue;
      }
      const long window = first_[vector_] + checkpoint_;
      // Lags lie closer than EarlyStopEvery: no lag of the block has a checkpoint left.
      if (window >= n_) {
        ended_ = true;
        continue;
      }
      if (next_ < window) {
        const long to = std::min(window, until);
        Sum(next_, to, table);
        next_ = to;
        continue;
      }
      Checkpoint(window, table);
    }
  }

  // K of the lags that did not stop: sum / (n - j), 0 without products.
  void Finish() {
    for (int v = 0; v < count_; ++v) {
      for (int t = 0; t < w_; ++t) {
        if (stopped_[w_ * v + t]) continue;
        const long j = first_[v] + t;
        k_[j] = j < n_ ? Of(v, t) / static_cast<double>(n_ - j) : 0.0;
      }
    }
  }

 private:
  double& Of(int v, int t) { return sums_[w_ * v + w_ - 1 - t]; }

  // The products of each lag before the block's last lag begins, one lag after the other:
  // the sum of lag j over i = j .. min(last lag, n) - 1.
  void Head() {
    const long last = std::min(LastLag(), n_);
    for (int v = 0; v < count_; ++v) {
      for (int t = 0; t < w_; ++t) {
        const long j = first_[v] + t;
        double s = 0;
        for (long i = j; i < last; ++i) s = s + d_[i] * d_[i - j];
        Of(v, t) = s;
      }
    }
  }

  // The kernels' view of the block for the samples from .. to-1, reading the table when it
  // holds every window they need.
  LagVectors Lags(long from, long to, const WindowTable& table) {
    const bool covered = table.table != nullptr && w_ > 1 && from - LastLag() >= table.lo &&
                         to - first_[0] - w_ < table.hi;
    return {d_, first_, count_, sums_, covered ? table.table : nullptr, table.lo};
  }

  void Sum(long from, long to, const WindowTable& table) {
    if (from < to) level_.sum(Lags(from, to, table), from, to);
  }

  void Checkpoint(long window, const WindowTable& table) {
    double recorded[MaxWidth];
    const int steps = static_cast<int>(std::min<long>(w_, n_ - window));
    if (steps == w_) {
      level_.step(Lags(window, window + w_, table), window, vector_, recorded);
    } else {
      for (int t = 0; t < steps; ++t) {
        Sum(window + t, window + t + 1, table);
        recorded[t] = Of(vector_, t);
      }
    }
    next_ = window + steps;
    for (int t = 0; t < steps; ++t) {
      const int lane = w_ * vector_ + t;
      if (stopped_[lane]) continue;
      const double current = recorded[t] / static_cast<double>(checkpoint_ + 1);
      if (current != 0 && std::fabs((previous_[lane] - current) / current) < EarlyStopTolerance) {
        k_[first_[vector_] + t] = current;
        stopped_[lane] = true;
      } else {
        previous_[lane] = current;
      }
    }
    if (++vector_ < count_) return;
    // The pass of this checkpoint is complete. Vectors whose lags have all stopped leave;
    // the others close up, in lag order.
    int kept = 0;
    for (int v = 0; v < count_; ++v) {
      bool* lanes = stopped_ + w_ * v;
      if (std::all_of(lanes, lanes + w_, [](bool s) { return s; })) continue;
      if (kept != v) {
        first_[kept] = first_[v];
        std::copy(sums_ + w_ * v, sums_ + w_ * v + w_, sums_ + w_ * kept);
        std::copy(previous_ + w_ * v, previous_ + w_ * v + w_, previous_ + w_ * kept);
        std::copy(lanes, lanes + w_, stopped_ + w_ * kept);
      }
      ++kept;
    }
    count_ = kept;
    vector_ = 0;
    checkpoint_ += EarlyStopEvery;
  }

  kfk::Level level_;
  int w_;
  int count_;
  int first_[MaxVectors] = {};
  alignas(64) double sums_[MaxLanes] = {};
  const double* d_;
  long n_;
  double* k_;
  long next_ = 0;      // the first sample not yet summed in every lane
  bool ended_ = true;  // no checkpoint left (or none at all: full sums)
  long checkpoint_ = EarlyStopFirst;
  int vector_ = 0;  // the vector whose checkpoint window comes next
  double previous_[MaxLanes] = {};
  bool stopped_[MaxLanes] = {};
};

// Blocks are worked in groups, sample chunk after sample chunk: a chunk's windows are laid
// out once for the whole group and read from the cache by every block of it.
// Full sums keep every vector to the end, so their groups are larger; the early stop's groups
// finish at very different samples, so smaller ones share out better between two threads.
constexpr long ChunkSamples = 4096;
constexpr int GroupLagsFull = 4 * MaxLanes;
constexpr int GroupLagsEarlyStop = 2 * MaxLanes;
// Laying out a window costs about as much as reading one unaligned, and an aligned read saves
// about a third of a vector step: below this many vectors the group reads its windows
// straight from the samples.
constexpr int MinTableVectors = 8;
constexpr long TableDoubles = (ChunkSamples + GroupLagsFull + MaxWidth) * MaxWidth;

struct AlignedFree {
  void operator()(double* p) const { std::free(p); }
};

void RunGroup(const double* d, long n, const Block* blocks, int count, bool earlyStop, double* k,
              double* tableBuffer) {
  std::vector<BlockRun> runs;
  runs.reserve(count);
  for (int b = 0; b < count; ++b) runs.emplace_back(blocks[b], d, n, earlyStop, k);
  const int w = blocks[0].level.width;
  long i0 = n;
  for (const BlockRun& r : runs)
    if (!r.Done()) i0 = std::min(i0, r.Next());
  for (; i0 < n; i0 += ChunkSamples) {
    const long i1 = std::min(i0 + ChunkSamples, n);
    // The windows the group's vectors of the level's width read from i0 to i1.
    int vectors = 0;
    long lo = n, hi = 0;
    for (const BlockRun& r : runs) {
      if (r.Done() || r.Width() != w || r.Next() >= i1) continue;
      vectors += r.Vectors();
      lo = std::min(lo, std::max(r.Next(), i0) - r.LastLag());
      hi = std::max(hi, i1 - r.FirstLag() - w + 1);
    }
    WindowTable table;
    if (w > 1 && vectors >= MinTableVectors) {
      blocks[0].level.table(d, lo, hi, tableBuffer);
      table = {tableBuffer, lo, hi};
    }
    bool any = false;
    for (BlockRun& r : runs) {
      r.Advance(i1, table);
      any = any || !r.Done();
    }
    if (!any) break;
  }
  for (BlockRun& r : runs) r.Finish();
}

// Below this many products one thread is quicker than starting a second.
constexpr double MinParallelProducts = 1 << 22;

void DirectSums(const double* x, int n, double mean, int lags, double* k, double* centred,
                bool earlyStop) {
  if (lags <= 0) return;
  for (int i = 0; i < n; ++i) centred[i] = x[i] - mean;
  const std::vector<Block> blocks = BlocksOf(lags, CurrentLevel());
  // Groups of consecutive blocks spanning up to groupLags lags.
  const int groupLags = earlyStop ? GroupLagsEarlyStop : GroupLagsFull;
  std::vector<std::pair<int, int>> groups;  // first block, blocks
  for (int b = 0; b < static_cast<int>(blocks.size());) {
    int e = b + 1;
    while (e < static_cast<int>(blocks.size()) &&
           blocks[e].first + blocks[e].vectors * blocks[e].level.width - blocks[b].first <=
               groupLags)
      ++e;
    groups.push_back({b, e - b});
    b = e;
  }
  std::atomic<std::size_t> nextGroup{0};
  auto worker = [&] {
    std::unique_ptr<double[], AlignedFree> table(
        static_cast<double*>(std::aligned_alloc(64, sizeof(double) * TableDoubles)));
    if (!table) throw std::bad_alloc();
    for (std::size_t g; (g = nextGroup.fetch_add(1, std::memory_order_relaxed)) < groups.size();)
      RunGroup(centred, n, &blocks[groups[g].first], groups[g].second, earlyStop, k, table.get());
  };
  if (model::SecondCoreAvailable() && groups.size() > 1 &&
      static_cast<double>(n) * lags >= MinParallelProducts) {
    model::RunOnTwoThreads(worker, worker);
  } else {
    worker();
  }
}

}  // namespace

void DirectCorrelationFull(const double* x, int n, double mean, int lags, double* k,
                           double* centred) {
  DirectSums(x, n, mean, lags, k, centred, false);
}

void DirectCorrelationEarlyStop(const double* x, int n, double mean, int lags, double* k,
                                double* centred) {
  DirectSums(x, n, mean, lags, k, centred, true);
}

// ---- The whole graph ----------------------------------------------------------------------

int CorrelationFunction(bool output, bool byFft, const double* x, int n, double mean, double scale,
                        const Transform& transform, const CorrelationArrays& arrays) {
  int lags;
  if (byFft) {
    lags = CorrelationByFft(x, n, transform, arrays.re, arrays.im, arrays.power);
  } else if (output) {
    lags = DirectLagCountOut;
    DirectCorrelationFull(x, n, mean, lags, arrays.re, arrays.power);
  } else {
    lags = DirectLagCountIn;
    DirectCorrelationEarlyStop(x, n, mean, lags, arrays.re, arrays.power);
  }
  for (int j = 0; j < lags; ++j) arrays.re[j] = scale * arrays.re[j];
  return lags;
}

double K0RoundingLevel(const double* x, int n) {
  double largest = 0;
  for (int i = 0; i < n; ++i) largest = std::max(largest, std::fabs(x[i]));
  const double level = n * 0x1p-52 * largest;
  return level * level;
}

CorrelationView ViewOf(bool output, int lags, double period, double k0, double k0Rounding,
                       bool harmonic) {
  CorrelationView v;
  v.tmax = (lags - 1) * period;
  v.limitXmin = output ? -0.9 * v.tmax : -v.tmax;
  v.limitXmax = output ? 0.9 * v.tmax : v.tmax;
  // Without a signal K is zero throughout, and the chart refuses the empty pair 0 .. 0. A
  // constant realization leaves only the rounding of its mean in K (about 1e-25): limits of
  // that size would label the axis in units of 1e-25 and leave the limit buttons nothing to
  // do, so it counts as zero too. The values themselves stay as computed.
  v.limitYmin = -2 * k0;
  v.limitYmax = 2 * k0;
  if (!(v.limitYmax > 0) || k0 <= k0Rounding) {
    v.limitYmin = -1;
    v.limitYmax = 1;
  }
  const double share = harmonic ? 0.1 : 0.01;
  v.rangeXmin = -share * v.tmax;
  v.rangeXmax = share * v.tmax;
  return v;
}

bool CurveIsFinite(const double* k, int m) {
  if (m > 0 && !std::isfinite(2 * k[0])) return false;
  for (int j = 0; j < m; ++j)
    if (!std::isfinite(k[j])) return false;
  return true;
}

}  // namespace instruments
