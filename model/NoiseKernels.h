#pragma once
// Vector kernels behind model::NoiseSums. Each computes the noise sums of n consecutive
// samples from the random-source state s, bit for bit as the plain loop does, and leaves
// the state alone. Built with their own instruction-set flags; call only when available.
#include <cstdint>

namespace model::kernels {

// Magic multiplier for r / 1000000 with r < 2^31: floor(r * 1125899907 / 2^50).
constexpr std::uint64_t DivMagic = 1125899907ull;
constexpr int DivShift = 50;

// One centred uniform term of a noise sum, from one integer draw r.
inline double NoiseTerm(int r) {
  return static_cast<double>(r % 1000000) * 1e-6 - 0.5;
}

void NoiseSumsAvx2(std::uint64_t s, double* sums, int n);
void NoiseSumsAvx512(std::uint64_t s, double* sums, int n);

}  // namespace model::kernels
