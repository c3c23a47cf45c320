#pragma once
// The textbook law of the generator's sample, for each signal kind: all mass at M when the
// generator is off; M + A·cos θ with θ uniform over a period (the arcsine law); uniform on
// M ± √3·D; normal with mean M and deviation D; and the sum of the harmonic and the normal
// parts with θ and the noise independent. The generator itself only approximates them (its
// noises are sums of 50 uniform terms, its initial phase a whole number of degrees).
#include <vector>

#include "model/Generator.h"

namespace instruments {

class SignalLaw {
 public:
  explicit SignalLaw(const model::GeneratorParams& p);

  // The law is a single value (the generator off, or a kind whose random parts are all zero).
  bool IsPoint() const { return shape_ == Shape::Point; }
  double Point() const { return M_; }

  // Outside [Low, High] the law holds less than 1e-16 of its mass (none, when it is bounded).
  double Low() const { return lo_; }
  double High() const { return hi_; }

  // P(X < x) of a continuous law. `hint` speeds up a run of nearby arguments (a tabulated
  // law starts its search there); any value will do.
  double Cdf(double x, int& hint) const;

  // A length over which the density around x changes little: over a small fraction of it
  // the density is close to linear, so the distribution function is close to a parabola.
  double Smoothness(double x) const;

 private:
  enum class Shape { Point, Uniform, Normal, Arcsine, ArcsineNormal };
  Shape shape_ = Shape::Point;
  double M_ = 0, A_ = 0, D_ = 0;
  double lo_ = 0, hi_ = 0;
  // The sum of the harmonic and the normal part: the distribution function, the density and
  // its slope at nodes x_, quintic between them (Hermite).
  std::vector<double> x_, F_, f_, df_;

  void Tabulate();
};

}  // namespace instruments
