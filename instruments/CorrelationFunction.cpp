#include "instruments/CorrelationFunction.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "instruments/CorrelationKernels.h"
#include "model/Parallel.h"
#include "model/Simd.h"

namespace instruments {

// ---- FFT method --------------------------------------------------------------------------

int CorrelationByFft(const double* x, int n, const Transform& transform, double* re, double* im,
                     double* power) {
  if (n <= 0 || transform(x, n, n, im, re) == 0) return 0;
  for (int k = 0; k < n; ++k) power[k] = re[k] * re[k] + im[k] * im[k];
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

// The sums of a block's lags, in the kernels' lane order.
struct BlockSums {
  int width;
  int first[MaxVectors] = {};
  int count;
  alignas(64) double sums[MaxLanes];

  BlockSums(const Block& b) : width(b.level.width), count(b.vectors) {
    for (int v = 0; v < count; ++v) first[v] = b.first + v * width;
  }
  LagVectors Lags(const double* d) { return {d, first, count, sums}; }
  // The sum of lag first[v] + t.
  double& Of(int v, int t) { return sums[width * v + width - 1 - t]; }
  long LastLag() const { return first[count - 1] + width - 1; }
};

// The products of each lag before the block's last lag begins, one lag after the other:
// the sum of lag j over i = j .. min(last lag, n) - 1.
void BlockHead(const double* d, long n, BlockSums& b) {
  const long last = std::min(b.LastLag(), n);
  for (int v = 0; v < b.count; ++v) {
    for (int t = 0; t < b.width; ++t) {
      const long j = b.first[v] + t;
      double s = 0;
      for (long i = j; i < last; ++i) s = s + d[i] * d[i - j];
      b.Of(v, t) = s;
    }
  }
}

// K of every lag that went on to the last sample: sum / (n - j), 0 without products.
double FullAverage(double sum, long n, long j) {
  return j < n ? sum / static_cast<double>(n - j) : 0.0;
}

void FullBlock(const double* d, long n, const Block& block, double* k) {
  BlockSums b(block);
  BlockHead(d, n, b);
  if (b.LastLag() < n) block.level.sum(b.Lags(d), b.LastLag(), n);
  for (int v = 0; v < b.count; ++v)
    for (int t = 0; t < b.width; ++t)
      k[b.first[v] + t] = FullAverage(b.Of(v, t), n, b.first[v] + t);
}

// Lag j reaches its checkpoint c (c = EarlyStopFirst, + EarlyStopEvery, ...) at sample
// j + c, so the lanes of a vector reach theirs on W successive samples. For each c the block
// sums up to the first of a vector's checkpoints, steps through its W samples recording each
// lane's sum at its own checkpoint, and checks them. A lag that stops keeps its average; its
// lane goes on summing, unused, as long as another lane of its vector runs; a vector whose
// lanes have all stopped leaves the block.
void EarlyStopBlock(const double* d, long n, const Block& block, double* k) {
  BlockSums b(block);
  BlockHead(d, n, b);
  const int w = b.width;
  double previous[MaxLanes] = {};
  bool stopped[MaxLanes] = {};
  long next = b.LastLag();  // the first sample not yet summed in every lane
  bool ended = next >= n;
  for (long c = EarlyStopFirst; !ended && b.count > 0; c += EarlyStopEvery) {
    for (int v = 0; v < b.count; ++v) {
      const long window = b.first[v] + c;
      // Lags lie closer than EarlyStopEvery: no lag of the block has a checkpoint left.
      if (window >= n) {
        ended = true;
        break;
      }
      if (next < window) block.level.sum(b.Lags(d), next, window);
      double recorded[MaxWidth];
      const int steps = static_cast<int>(std::min<long>(w, n - window));
      if (steps == w) {
        block.level.step(b.Lags(d), window, v, recorded);
      } else {
        for (int t = 0; t < steps; ++t) {
          block.level.sum(b.Lags(d), window + t, window + t + 1);
          recorded[t] = b.Of(v, t);
        }
      }
      next = window + steps;
      for (int t = 0; t < steps; ++t) {
        const int lane = w * v + t;
        if (stopped[lane]) continue;
        const double current = recorded[t] / static_cast<double>(c + 1);
        if (current != 0 && std::fabs((previous[lane] - current) / current) < EarlyStopTolerance) {
          k[b.first[v] + t] = current;
          stopped[lane] = true;
        } else {
          previous[lane] = current;
        }
      }
    }
    // Vectors whose lags have all stopped leave; the others close up, in lag order.
    int kept = 0;
    for (int v = 0; v < b.count; ++v) {
      if (std::all_of(stopped + w * v, stopped + w * v + w, [](bool s) { return s; })) continue;
      if (kept != v) {
        b.first[kept] = b.first[v];
        std::copy(b.sums + w * v, b.sums + w * v + w, b.sums + w * kept);
        std::copy(previous + w * v, previous + w * v + w, previous + w * kept);
        std::copy(stopped + w * v, stopped + w * v + w, stopped + w * kept);
      }
      ++kept;
    }
    b.count = kept;
  }
  if (b.count == 0) return;
  if (next < n) block.level.sum(b.Lags(d), next, n);
  for (int v = 0; v < b.count; ++v) {
    for (int t = 0; t < w; ++t) {
      if (stopped[w * v + t]) continue;
      k[b.first[v] + t] = FullAverage(b.Of(v, t), n, b.first[v] + t);
    }
  }
}

// Below this many products one thread is quicker than starting a second.
constexpr double MinParallelProducts = 1 << 22;

template <class BlockFn>
void DirectSums(const double* x, int n, double mean, int lags, double* k, double* centred,
                BlockFn work) {
  if (lags <= 0) return;
  for (int i = 0; i < n; ++i) centred[i] = x[i] - mean;
  const std::vector<Block> blocks = BlocksOf(lags, CurrentLevel());
  std::atomic<std::size_t> nextBlock{0};
  auto worker = [&] {
    for (std::size_t b; (b = nextBlock.fetch_add(1, std::memory_order_relaxed)) < blocks.size();)
      work(centred, static_cast<long>(n), blocks[b], k);
  };
  if (model::SecondCoreAvailable() && blocks.size() > 1 &&
      static_cast<double>(n) * lags >= MinParallelProducts) {
    model::RunOnTwoThreads(worker, worker);
  } else {
    worker();
  }
}

}  // namespace

void DirectCorrelationFull(const double* x, int n, double mean, int lags, double* k,
                           double* centred) {
  DirectSums(x, n, mean, lags, k, centred, FullBlock);
}

void DirectCorrelationEarlyStop(const double* x, int n, double mean, int lags, double* k,
                                double* centred) {
  DirectSums(x, n, mean, lags, k, centred, EarlyStopBlock);
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

CorrelationView ViewOf(bool output, int lags, double period, double k0, bool harmonic) {
  CorrelationView v;
  v.tmax = (lags - 1) * period;
  v.limitXmin = output ? -0.9 * v.tmax : -v.tmax;
  v.limitXmax = output ? 0.9 * v.tmax : v.tmax;
  // Without a signal K is zero throughout, and the chart refuses the empty pair 0 .. 0.
  v.limitYmin = -2 * k0;
  v.limitYmax = 2 * k0;
  if (!(v.limitYmax > 0)) {
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
