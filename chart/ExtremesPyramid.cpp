#include "chart/ExtremesPyramid.h"

#include <algorithm>
#include <new>

namespace chart {

SampleExtent ScanExtent(const double* p, int first, int last) {
  SampleExtent e;
  for (int i = first; i <= last; ++i) e.Add(p[i]);
  return e;
}

void ExtremesPyramid::Build(const double* p, int n) {
  Clear();
  if (p == nullptr || n <= 0) return;
  // Level sizes: ceil(n / LeafBlock) leaf blocks, then half as many (rounded up) per level,
  // up to a single block; at most 28 levels for an int count.
  int total = 0;
  for (int size = (n - 1) / LeafBlock + 1;; size = (size + 1) / 2) {
    levelStart_[levels_++] = total;
    total += size;
    if (size == 1) break;
  }
  try {
    blocks_.resize(total);
  } catch (const std::bad_alloc&) {
    Clear();
    return;
  }
  count_ = n;
  const int leaves = (n - 1) / LeafBlock + 1;
  for (int b = 0; b < leaves; ++b) {
    const int first = b * LeafBlock;
    blocks_[b] = ScanExtent(p, first, first + std::min(LeafBlock - 1, n - 1 - first));
  }
  for (int level = 1; level < levels_; ++level) {
    const SampleExtent* below = blocks_.data() + levelStart_[level - 1];
    const int belowSize = levelStart_[level] - levelStart_[level - 1];
    SampleExtent* here = blocks_.data() + levelStart_[level];
    for (int j = 0; 2 * j < belowSize; ++j) {
      here[j] = below[2 * j];
      if (2 * j + 1 < belowSize) here[j].Add(below[2 * j + 1]);
    }
  }
}

void ExtremesPyramid::Clear() {
  blocks_.clear();
  levels_ = 0;
  count_ = 0;
}

SampleExtent ExtremesPyramid::Extent(const double* p, int first, int last) const {
  int bl = first / LeafBlock;
  int br = last / LeafBlock;
  if (levels_ == 0 || bl == br) return ScanExtent(p, first, last);
  SampleExtent e;
  // Partial leaf blocks at either end, sample by sample.
  if (first % LeafBlock != 0) {
    e.Add(ScanExtent(p, first, (bl + 1) * LeafBlock - 1));
    ++bl;
  }
  if (last != br * LeafBlock + std::min(LeafBlock - 1, count_ - 1 - br * LeafBlock)) {
    e.Add(ScanExtent(p, br * LeafBlock, last));
    --br;
  }
  // Whole blocks bl..br: an end block without its partner of the pair (the second of a pair
  // on the left, the first on the right) is taken at this level; the rest go up as pairs.
  for (int level = 0; bl <= br; ++level) {
    const SampleExtent* b = blocks_.data() + levelStart_[level];
    if (bl & 1) e.Add(b[bl++]);
    if (bl <= br && !(br & 1)) e.Add(b[br--]);
    bl >>= 1;
    br >>= 1;
  }
  return e;
}

}  // namespace chart
