#pragma once
#include "app/BenchLayout.h"
// Geometry of the bench panel at a magnification M/D: the control scaling rules as pure
// integer arithmetic, so the bench window and its tests share them.

namespace benchscale {

// a * p / q rounded to the nearest integer, halves away from zero (64-bit intermediate).
int MulDiv(int a, int p, int q);

using Rect = bench::Rect;

// A control of the panel at the design geometry r, with the panel scaled by p/q.
Rect Scaled(const Rect& r, int p, int q);

struct Fraction {
  int num = 1, den = 1;
};

// The "Авто" scale for a box of outer size W x H and a panel of design size w x h:
// 80 % of the box's width when the panel then fits the box's height, otherwise 80 % of
// the height. percent is r * 100 truncated.
struct AutoScaleResult {
  Fraction scale;
  int percent;
};
AutoScaleResult AutoScale(int W, int H, int w, int h);

// The panel's offset inside the box: (W - w) / 2 truncated, a negative offset becomes 1.
int CenterOffset(int outer, int inner);

}  // namespace benchscale
