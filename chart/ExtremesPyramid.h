#pragma once
// The smallest and the largest value of any run of an array's samples, without reading the
// run: a pyramid of power-of-two blocks built once over the array. Level 0 holds the extent
// of every block of LeafBlock samples, each level above the extents of pairs of blocks of
// the level below, so a run is the union of at most two partial leaf blocks (read sample by
// sample) and two blocks per level. The chart uses it to find the extremes of the samples
// that fall into one pixel column.
#include <array>
#include <limits>
#include <vector>

namespace chart {

// Smallest and largest of some samples; empty (min > max) while it holds no number. Values
// that are not numbers are passed over.
struct SampleExtent {
  double min = std::numeric_limits<double>::infinity();
  double max = -std::numeric_limits<double>::infinity();

  bool Empty() const { return !(min <= max); }
  void Add(double v) {
    min = v < min ? v : min;
    max = max < v ? v : max;
  }
  void Add(const SampleExtent& e) {
    min = e.min < min ? e.min : min;
    max = max < e.max ? e.max : max;
  }
};

// The samples first..last of p, one after the other: the plain reading, and the reference
// of the pyramid.
SampleExtent ScanExtent(const double* p, int first, int last);

class ExtremesPyramid {
 public:
  static constexpr int LeafBlock = 16;

  // Builds the pyramid over the n samples of p; without memory for it, none is kept and
  // Extent reads the samples themselves.
  void Build(const double* p, int n);
  // Drops the pyramid; the memory is kept for the next one.
  void Clear();
  // Samples first..last (0 <= first <= last < n) of the array the pyramid was built over,
  // as ScanExtent gives them (the sign of a zero aside).
  SampleExtent Extent(const double* p, int first, int last) const;

 private:
  std::vector<SampleExtent> blocks_;  // level 0, then level 1, ...
  // Where each level starts in blocks_.
  std::array<int, 32> levelStart_{};
  int levels_ = 0;
  int count_ = 0;
};

}  // namespace chart
