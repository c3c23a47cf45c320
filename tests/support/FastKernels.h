#pragma once
// What the tests of the fast kernels share: the vector levels this processor runs, guards
// that put the kernels' vector level and the refusal of worker threads back when their scope
// ends (an ASSERT that returns early included, so the next test starts as the program
// does), and the comparison with the plain loops bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "model/Parallel.h"
#include "model/Simd.h"

namespace kerneltest {

// Every vector level of this processor, the plain one first.
inline std::vector<simd::Level> Levels() {
  std::vector<simd::Level> levels;
  for (int l = 0; l <= static_cast<int>(simd::Detected()); ++l)
    levels.push_back(static_cast<simd::Level>(l));
  return levels;
}

// Puts back the vector level it found.
class LevelGuard {
 public:
  LevelGuard() : saved_(simd::Current()) {}
  ~LevelGuard() { simd::SetLevel(saved_); }
  LevelGuard(const LevelGuard&) = delete;
  LevelGuard& operator=(const LevelGuard&) = delete;

 private:
  simd::Level saved_;
};

// While it lives, a worker thread cannot start (or can, with false), as if the system
// refused it; then the switch is as it was.
class WorkerRefused {
 public:
  explicit WorkerRefused(bool refused = true) : saved_(model::ThreadStartFailsForTests) {
    model::ThreadStartFailsForTests = refused;
  }
  ~WorkerRefused() { model::ThreadStartFailsForTests = saved_; }
  WorkerRefused(const WorkerRefused&) = delete;
  WorkerRefused& operator=(const WorkerRefused&) = delete;

 private:
  bool saved_;
};

// The same bits at every index (a NaN equals itself here); the failure names the first
// three indices that differ.
inline void ExpectSameBits(const std::vector<double>& got, const std::vector<double>& want,
                           const std::string& what = {}) {
  ASSERT_EQ(got.size(), want.size()) << what;
  std::ostringstream first;
  int differing = 0;
  for (std::size_t i = 0; i < got.size(); ++i) {
    if (std::memcmp(&got[i], &want[i], sizeof(double)) != 0 && ++differing <= 3)
      first << "\n  index " << i << ": " << got[i] << " instead of " << want[i];
  }
  EXPECT_EQ(differing, 0) << what << first.str();
}

}  // namespace kerneltest
