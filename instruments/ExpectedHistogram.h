#pragma once
// The expected histogram: the value each bin of a histogram takes on average over
// realizations, for the textbook law of the generator's sample at the circuit's input or
// through the circuit's characteristic at its output. Drawn over the bars as the theoretical
// law of the side.
#include "model/Circuit.h"
#include "model/Generator.h"

namespace instruments {

// value[i] = P(lo_i <= v < hi_i) / h for the n bins of a histogram grid, with the centres
// c_0 = xmin, c_{i+1} = c_i + h and the bounds lo_i = c_i - h·0.5, hi_i = c_i + h·0.5 formed
// as the count forms them. v is the generator's sample under the textbook law of its kind
// (SignalLaw) when `circuit` is null, and Transfer(*circuit, sample) otherwise.
//
// The probability of a bin is the measure of the inputs the characteristic maps into it,
// computed through Transfer itself: the input axis is cut where the characteristic jumps
// (each jump pinned between two neighbouring doubles by bisection) or turns; on every
// monotone piece each bin bound is traced back to the input where the characteristic
// crosses it, and the input law's distribution function is taken there. A flat stretch
// puts its whole mass on its value, into the bins whose bounds enclose it as a sample would
// be. Pieces that are straight lines over many bins (the teeth of the sawtooth) are spread
// over the bins with the input density taken as linear across each small cell.
// At most 1e-4 of the tallest bin's value off the exact one in every bin.
void ExpectedHistogram(const model::GeneratorParams& generator, const model::CircuitParams* circuit,
                       double xmin, double h, int n, double* value);

}  // namespace instruments
