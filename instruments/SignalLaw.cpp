#include "instruments/SignalLaw.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace instruments {

namespace {

// The normal law is taken over M ± TailZ·D: beyond, each tail holds about 1e-17.
constexpr double TailZ = 8.5;

// Nodes of the tabulated law: ten per D in the tails and near the harmonic's extremes, ten per
// distance to the nearer extreme within them. The quintic between two nodes is then within
// about 1e-10 of the distribution function.
constexpr double NodesPerLength = 10;

// Panels of the phase integral and the Gauss-Legendre rule (8 points) on each.
constexpr int Panels = 8;
constexpr double GaussX[8] = {-0.96028985649753623168, -0.79666647741362673959,
                              -0.52553240991632898582, -0.18343464249564980494,
                              0.18343464249564980494,  0.52553240991632898582,
                              0.79666647741362673959,  0.96028985649753623168};
constexpr double GaussW[8] = {
    0.10122853629037625915, 0.22238103445337447054, 0.31370664587788728734, 0.36268378337836198297,
    0.36268378337836198297, 0.31370664587788728734, 0.22238103445337447054, 0.10122853629037625915};

double NormalCdf(double z) {
  return 0.5 * std::erfc(-z * std::numbers::sqrt2 * 0.5);
}

// The distribution function F, the density f and its slope df at x of M + A·cos θ + D·Z, θ uniform
// and Z standard normal: the average over θ in [0, π] of the normal law about M + A·cos θ. Only the
// phases whose mean lies within TailZ·D of x contribute a fraction; those with a mean further below
// x contribute 1 to F. The window is cut into panels of equal width in the normal variable z, so
// each panel holds a like part of the normal curve.
void HarmonicNormalAt(double x, double M, double A, double D, double& F, double& f, double& df) {
  const auto phaseOf = [&](double z) {
    return std::acos(std::clamp((x - M - D * z) / A, -1.0, 1.0));
  };
  const auto zOf = [&](double theta) { return (x - M - A * std::cos(theta)) / D; };
  const double first = phaseOf(-TailZ), last = phaseOf(TailZ);
  const double z0 = zOf(first), z1 = zOf(last);
  double sumF = 0, sumf = 0, sumdf = 0;
  double t0 = first;
  for (int k = 1; k <= Panels; ++k) {
    const double t1 = k == Panels ? last : phaseOf(z0 + (z1 - z0) * k / Panels);
    const double c = 0.5 * (t0 + t1), r = 0.5 * (t1 - t0);
    for (int i = 0; i < 8; ++i) {
      const double z = zOf(c + r * GaussX[i]);
      sumF += GaussW[i] * r * NormalCdf(z);
      const double phi = GaussW[i] * r * std::exp(-0.5 * z * z);
      sumf += phi;
      sumdf -= z * phi;
    }
    t0 = t1;
  }
  F = (std::numbers::pi - last + sumF) * std::numbers::inv_pi;
  const double norm = std::numbers::inv_pi / (D * std::sqrt(2 * std::numbers::pi));
  f = sumf * norm;
  df = sumdf * norm / D;
}

}  // namespace

SignalLaw::SignalLaw(const model::GeneratorParams& p) : M_(p.M) {
  const bool harmonic = p.kind == model::KindHarmonic || p.kind == model::KindHarmonicGaussian;
  const bool uniform = p.kind == model::KindUniformNoise;
  const bool normal = p.kind == model::KindGaussianNoise || p.kind == model::KindHarmonicGaussian;
  A_ = harmonic ? std::fabs(p.A) : 0;
  D_ = uniform || normal ? std::fabs(p.D) : 0;
  // A noise below the resolution of the values it is added to leaves the harmonic as it is.
  if (A_ > 0 && D_ < 1e-13 * (std::fabs(M_) + A_)) D_ = 0;
  if (uniform) {
    shape_ = Shape::Uniform;
    lo_ = M_ - std::sqrt(3.0) * D_;
    hi_ = M_ + std::sqrt(3.0) * D_;
  } else if (A_ == 0) {
    shape_ = Shape::Normal;
    lo_ = M_ - TailZ * D_;
    hi_ = M_ + TailZ * D_;
  } else if (D_ == 0) {
    shape_ = Shape::Arcsine;
    lo_ = M_ - A_;
    hi_ = M_ + A_;
  } else {
    shape_ = Shape::ArcsineNormal;
    lo_ = M_ - A_ - TailZ * D_;
    hi_ = M_ + A_ + TailZ * D_;
  }
  // No spread the doubles can show: a single value.
  if (!(hi_ > lo_)) {
    shape_ = Shape::Point;
    lo_ = hi_ = M_;
    return;
  }
  if (shape_ == Shape::ArcsineNormal) Tabulate();
}

void SignalLaw::Tabulate() {
  double x = lo_;
  for (;;) {
    double F, f, df;
    HarmonicNormalAt(x, M_, A_, D_, F, f, df);
    x_.push_back(x);
    F_.push_back(F);
    f_.push_back(f);
    df_.push_back(df);
    if (x >= hi_) break;
    const double e = std::fabs(x - M_) - A_;
    const double step = (e >= 0 ? D_ : std::max(D_, -e)) / NodesPerLength;
    x = std::min(hi_, std::max(x + step, std::nextafter(x, hi_)));
  }
}

double SignalLaw::Cdf(double x, int& hint) const {
  switch (shape_) {
    case Shape::Point:
      return x > M_ ? 1.0 : 0.0;
    case Shape::Uniform:
      if (x <= lo_) return 0;
      if (x >= hi_) return 1;
      return (x - lo_) / (hi_ - lo_);
    case Shape::Normal:
      return NormalCdf((x - M_) / D_);
    case Shape::Arcsine:
      // 2/π·asin(sqrt(d / 2A)) from the nearer end, d the distance to it: well conditioned
      // at both ends, where the density grows without bound.
      if (x <= lo_) return 0;
      if (x >= hi_) return 1;
      if (x < M_) return 2 * std::numbers::inv_pi * std::asin(std::sqrt((x - lo_) / (2 * A_)));
      return 1 - 2 * std::numbers::inv_pi * std::asin(std::sqrt((hi_ - x) / (2 * A_)));
    case Shape::ArcsineNormal:
      break;
  }
  const int last = static_cast<int>(x_.size()) - 1;
  if (x <= x_[0]) return F_[0];
  if (x >= x_[last]) return F_[last];
  int k = hint;
  if (k < 0 || k >= last || x < x_[k] || x >= x_[k + 1]) {
    if (k >= 0 && k + 1 < last && x >= x_[k + 1] && x < x_[k + 2]) {
      ++k;
    } else {
      k = static_cast<int>(std::upper_bound(x_.begin(), x_.end(), x) - x_.begin()) - 1;
    }
    hint = k;
  }
  // Quintic Hermite: F, f and f' at both nodes.
  const double d = x_[k + 1] - x_[k];
  const double s = (x - x_[k]) / d, s3 = s * s * s;
  const double rise = s3 * (10 + s * (-15 + 6 * s));  // 0 at s = 0, 1 at s = 1, flat at both
  const double F =
      F_[k] + (F_[k + 1] - F_[k]) * rise +
      d * (f_[k] * (s - s3 * (6 + s * (-8 + 3 * s))) + f_[k + 1] * s3 * (-4 + s * (7 - 3 * s))) +
      0.5 * d * d *
          (df_[k] * s * s * (1 + s * (-3 + s * (3 - s))) + df_[k + 1] * s3 * (1 + s * (-2 + s)));
  return std::clamp(F, 0.0, 1.0);
}

double SignalLaw::Smoothness(double x) const {
  switch (shape_) {
    case Shape::Point:
      return 0;
    case Shape::Uniform:
      return std::numeric_limits<double>::infinity();
    case Shape::Normal:
      return D_ / (1 + std::fabs(x - M_) / D_);
    case Shape::Arcsine:
      return std::max(0.0, std::min(x - lo_, hi_ - x));
    case Shape::ArcsineNormal:
      break;
  }
  // Beyond the harmonic's reach the normal tail, within it the arcsine law smoothed over D.
  const double e = std::fabs(x - M_) - A_;
  return e >= 0 ? D_ / (1 + e / D_) : std::max(D_, -e);
}

}  // namespace instruments
