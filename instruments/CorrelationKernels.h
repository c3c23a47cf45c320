#pragma once
// The kernels of the fast direct correlation sums (instruments/CorrelationFunction.cpp), one
// set per vector level, each built with its own instruction-set flags: call a level only
// where the processor has it.
//
// A vector holds W consecutive lags, one per lane, in descending order: lane l of a vector
// whose first lag is f holds the lag f + W - 1 - l. At sample i that lane needs d[i - lag] =
// d[i - f - W + 1 + l], so the samples of all lanes are one contiguous (unaligned) load, and
// each lane adds its products d[i] * d[i - lag] one sample after the other, in index order,
// exactly as the plain loop of its lag does.
namespace instruments::kfk {

// Up to this many vectors are summed side by side, enough independent sums to hide the
// latency of an addition.
constexpr int MaxVectors = 8;

// A window is the W samples d[k .. k+W-1] one lane needs at some sample: lane l of a vector
// with first lag f reads window i - f - W + 1 at sample i. Read straight from d it is an
// unaligned load, which mostly straddles two cache lines; a table of windows laid out one
// after the other makes every read an aligned load.
struct LagVectors {
  const double* d;   // the centred samples
  const int* first;  // first lag of each vector
  int count;         // vectors, 1 .. MaxVectors
  double* sums;      // W * count sums in lane order: sums[W v + l] is of lag first[v] + W - 1 - l
  const double* table;  // null: windows from d; else window k at table + W (k - base), aligned
  long base;
};

// Adds d[i] * d[i - lag] to the sum of every lag for i = from .. to-1. Every lag must have
// begun: from >= first[v] + W - 1.
using SumFn = void (*)(const LagVectors& v, long from, long to);
// The same for the W samples from `from` on; after the step at sample from + t the sum of
// lag first[record] + t is copied to recorded[t].
using StepFn = void (*)(const LagVectors& v, long from, int record, double* recorded);

// Fills the table of windows k = from .. to-1 (table + W (k - from), aligned to W doubles);
// d must hold the samples up to to + W - 2.
using TableFn = void (*)(const double* d, long from, long to, double* table);

struct Level {
  int width;  // W
  SumFn sum;
  StepFn step;
  TableFn table;
};

Level LevelPlain();
Level LevelAvx2();
Level LevelAvx512();

}  // namespace instruments::kfk
