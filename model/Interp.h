#pragma once
// Interpolation weight of a sampled series: sample k at position x with step h gets
// w(x - k*h, h), where w(t, h) = 1 - |t|/|h| for |t| < |h| (h != 0) and 0 otherwise.
// Summing the samples with these weights interpolates linearly between neighbours.

namespace interp {

double Weight(double t, double h);
double Interp(int k, double x, double h);

}  // namespace interp
