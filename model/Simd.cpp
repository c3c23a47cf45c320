#include "model/Simd.h"

#include <atomic>

namespace simd {
namespace {

Level Detect() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
      __builtin_cpu_supports("avx512vl"))
    return Level::Avx512;
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return Level::Avx2;
  return Level::Plain;
}

std::atomic<int> g_level{-1};

}  // namespace

Level Detected() {
  static const Level level = Detect();
  return level;
}

Level Current() {
  const int l = g_level.load(std::memory_order_relaxed);
  return l < 0 ? Detected() : static_cast<Level>(l);
}

Level SetLevel(Level level) {
  const Level previous = Current();
  if (static_cast<int>(level) > static_cast<int>(Detected())) level = Detected();
  g_level.store(static_cast<int>(level), std::memory_order_relaxed);
  return previous;
}

const char* Name(Level level) {
  switch (level) {
    case Level::Avx512:
      return "avx512";
    case Level::Avx2:
      return "avx2";
    case Level::Plain:
      break;
  }
  return "plain";
}

}  // namespace simd
