#include "instruments/CorrelationFunction.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

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

// The plain level's kernel: `Lanes` scalar sums side by side, lag firstLag + l in sums[l].
template <int Lanes>
void SumLagsScalar(const double* d, long from, long to, int firstLag, double* sums) {
  double acc[Lanes];
  for (int l = 0; l < Lanes; ++l) acc[l] = sums[l];
  for (long i = from; i < to; ++i) {
    const double di = d[i];
    const double* back = d + (i - firstLag);
#pragma GCC unroll 8
    for (int l = 0; l < Lanes; ++l) acc[l] = acc[l] + di * back[-l];
  }
  for (int l = 0; l < Lanes; ++l) sums[l] = acc[l];
}

}  // namespace

void kernels::SumLagsPlain(const double* d, long from, long to, int firstLag, int lanes,
                           double* sums) {
  switch (lanes) {
    case 1: return SumLagsScalar<1>(d, from, to, firstLag, sums);
    case 2: return SumLagsScalar<2>(d, from, to, firstLag, sums);
    case 3: return SumLagsScalar<3>(d, from, to, firstLag, sums);
    case 4: return SumLagsScalar<4>(d, from, to, firstLag, sums);
    case 5: return SumLagsScalar<5>(d, from, to, firstLag, sums);
    case 6: return SumLagsScalar<6>(d, from, to, firstLag, sums);
    case 7: return SumLagsScalar<7>(d, from, to, firstLag, sums);
    default: return SumLagsScalar<8>(d, from, to, firstLag, sums);
  }
}

namespace {

using SumLags = void (*)(const double*, long, long, int, int, double*);

// The kernel of the current vector level, its width and the lags of one block.
struct Level {
  SumLags sum;
  int width;
  int maxLanes;
};

Level CurrentLevel() {
  using namespace kernels;
  switch (simd::Current()) {
    case simd::Level::Avx512:
      return {SumLagsAvx512, WidthAvx512, WidthAvx512 * VectorsPerBlock};
    case simd::Level::Avx2:
      return {SumLagsAvx2, WidthAvx2, WidthAvx2 * VectorsPerBlock};
    case simd::Level::Plain:
      break;
  }
  return {SumLagsPlain, WidthPlain, WidthPlain * VectorsPerBlock};
}

// A run of consecutive lags summed side by side by one kernel.
struct Block {
  int first;
  int lanes;
  SumLags sum;
};

// Whole blocks of the level, then one of the whole vectors left, then the last few lags on
// the plain kernel.
std::vector<Block> BlocksOf(int lags, const Level& level) {
  std::vector<Block> blocks;
  int j = 0;
  for (; j + level.maxLanes <= lags; j += level.maxLanes) blocks.push_back({j, level.maxLanes, level.sum});
  const int vectors = (lags - j) / level.width * level.width;
  if (vectors > 0) {
    blocks.push_back({j, vectors, level.sum});
    j += vectors;
  }
  if (j < lags) blocks.push_back({j, lags - j, kernels::SumLagsPlain});
  return blocks;
}

// The products of each lag of the block before its last lag begins, one lag after the
// other: sums[l] := sum(i = first + l .. min(last, n) - 1) d[i] d[i - first - l].
void BlockHead(const double* d, long n, const Block& b, double* sums) {
  const long last = std::min<long>(b.first + b.lanes - 1, n);
  for (int l = 0; l < b.lanes; ++l) {
    const long j = b.first + l;
    double s = 0;
    for (long i = j; i < last; ++i) s = s + d[i] * d[i - j];
    sums[l] = s;
  }
}

void FullBlock(const double* d, long n, const Block& b, double* k) {
  double sums[kernels::WidthAvx512 * kernels::VectorsPerBlock];
  BlockHead(d, n, b, sums);
  const long from = b.first + b.lanes - 1;
  if (from < n) b.sum(d, from, n, b.first, b.lanes, sums);
  for (int l = 0; l < b.lanes; ++l) {
    const long j = b.first + l;
    k[j] = j < n ? sums[l] / static_cast<double>(n - j) : 0.0;
  }
}

// The lanes check at different samples: lag first + l reaches its checkpoint number c at
// i = first + l + EarlyStopFirst + c * EarlyStopEvery. The block sums up to the first lag's
// checkpoint in one go, then steps one sample at a time through the window where its lags
// reach theirs, checking one lag after each step. A lag that stops keeps its average; its
// lane goes on summing, unused, until every lane has stopped or the samples end.
void EarlyStopBlock(const double* d, long n, const Block& b, double* k) {
  constexpr int MaxLanes = kernels::WidthAvx512 * kernels::VectorsPerBlock;
  double sums[MaxLanes], previous[MaxLanes];
  bool stopped[MaxLanes];
  BlockHead(d, n, b, sums);
  std::fill(previous, previous + b.lanes, 0.0);
  std::fill(stopped, stopped + b.lanes, false);
  int running = b.lanes;
  long next = b.first + b.lanes - 1;  // the first sample not yet summed in every lane
  for (long window = b.first + EarlyStopFirst; running > 0 && next < n;
       window += EarlyStopEvery) {
    const long body = std::min(window, n);
    if (next < body) b.sum(d, next, body, b.first, b.lanes, sums);
    next = body;
    const long windowEnd = std::min(window + b.lanes, n);
    for (long i = window; i < windowEnd && running > 0; ++i) {
      b.sum(d, i, i + 1, b.first, b.lanes, sums);
      next = i + 1;
      const int l = static_cast<int>(i - window);
      if (stopped[l]) continue;
      const long count = i - (b.first + l) + 1;
      const double current = sums[l] / static_cast<double>(count);
      if (current != 0 && std::fabs((previous[l] - current) / current) < EarlyStopTolerance) {
        k[b.first + l] = current;
        stopped[l] = true;
        --running;
      } else {
        previous[l] = current;
      }
    }
  }
  for (int l = 0; l < b.lanes; ++l) {
    if (stopped[l]) continue;
    const long j = b.first + l;
    k[j] = j < n ? sums[l] / static_cast<double>(n - j) : 0.0;
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
