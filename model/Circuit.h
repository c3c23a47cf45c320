#pragma once
// The eight memoryless nonlinear characteristics y = f(x) of the circuit, x and y in mV.
// The parameters live in the circuit window's sixteen fields; the window passes their
// current values in CircuitParams at the moment of use.
#include <string>

namespace model {

constexpr int CircuitCount = 8;

struct CircuitParams {
  int page = 0;  // selected characteristic, 0..7; anything else gives 0 everywhere
  // Field values, in the order of the fields EditFloat1 .. EditFloat16.
  double S = 1, x0 = 0;                     // 1: threshold linear
  double x1 = -1, x2 = 1, y1 = -1, y2 = 1;  // 2: limiter with a sloping segment
  double a3 = 1;                            // 3: full-wave
  double a4 = 1;                            // 4: square law
  double a5 = 1, x05 = 0;                   // 5: square law above a threshold
  double a6 = 1, b6 = 1;                    // 6: smooth limiter
  double a7 = 1, b7 = 1;                    // 7: inverse of the smooth limiter
  double D = 0.1, K = 1;                    // 8: sawtooth
  // Slope and intercept of the sloping segment of circuit 2, derived at close.
  double k = 1, c = 0;
};

// Limits and initial value of each of the sixteen fields, with the caption of its group.
struct CircuitField {
  int page;  // 0..7
  const char* caption;
  double min, max, initial;
};
extern const CircuitField CircuitFields[16];

// The value of the selected characteristic at x.
double Transfer(const CircuitParams& p, double x);

// y[i] = Transfer(p, x[i]) for i in [0, n).
void TransferArray(const CircuitParams& p, const double* x, double* y, int n);

// Close processing: orders (x1, x2) and (y1, y2) ascending, derives k and c, and returns
// the description "Нелинейная безынерционная цепь: цепь N". k and c are always finite: a
// segment too narrow for a finite slope becomes a step through the middle of the levels.
std::string CloseCircuit(CircuitParams& p);

// The description for a page index.
std::string DescribeCircuit(int page);

}  // namespace model
