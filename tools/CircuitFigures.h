#pragma once
// The eight drawings of the circuit window: which characteristic each shows, with which
// parameters, and where its world coordinates land in the 300 x 250 picture.
#include <QImage>
#include <QRgb>

#include "model/Circuit.h"
#include "tools/DrawKit.h"

namespace drawassets {

constexpr int CircuitPictureWidth = 300;
constexpr int CircuitPictureHeight = 250;

// Colour of the characteristic's curve.
constexpr QRgb CurveColor = 0xFF1F5AA6;

// The parameters a drawing shows: the initial field values, except that the thresholds x0
// of characteristics 1 and 5 are moved off the origin (their initial value 0 would put the
// mark x0 on top of the axes' crossing).
inline model::CircuitParams FigureParams(int page) {
  model::CircuitParams p;
  p.page = page;
  p.x0 = 0.5;
  p.x05 = 0.5;
  return p;
}

// World range of each drawing (mV) and the pixel rectangle of its axes.
inline Frame FigureFrame(int page) {
  static const double range[model::CircuitCount][4] = {
      {-2.0, 2.4, -0.7, 2.0},        // 1: threshold linear
      {-2.4, 2.4, -1.8, 1.8},        // 2: limiter
      {-2.2, 2.2, -0.6, 2.2},        // 3: full-wave
      {-1.7, 1.7, -0.5, 2.6},        // 4: square law
      {-1.9, 2.3, -0.5, 2.6},        // 5: square law above a threshold
      {-3.2, 3.2, -1.6, 1.6},        // 6: smooth limiter
      {-1.7, 1.7, -2.6, 2.6},        // 7: inverse smooth limiter
      {-0.19, 0.19, -0.085, 0.085},  // 8: sawtooth
  };
  const double* r = range[page];
  return Frame{r[0], r[1], r[2], r[3], 12, 12, 276, 226};
}

// Draws the picture of characteristic `page` (0..7).
QImage DrawCircuit(int page);

}  // namespace drawassets
