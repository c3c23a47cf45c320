#pragma once
// Run-time choice of the vector kernels. Every kernel has a plain version that gives the
// same bits; the wider ones are used only where the processor has the instructions.

namespace simd {

enum class Level { Plain = 0, Avx2 = 1, Avx512 = 2 };

// The widest level this processor supports.
Level Detected();
// The level the kernels use now: the detected one, or a narrower one forced by SetLevel.
Level Current();
// Forces a level for the kernels (tests and benchmarks); a level wider than the detected
// one is lowered to it. Returns the previous setting.
Level SetLevel(Level level);

const char* Name(Level level);

}  // namespace simd
