#pragma once
// TFFT0Form: the transform's small progress window. The transform itself is computed by the
// core (model/Fft.h); this window only shows how far it has got: while a transform runs, and
// only when the indicator is on, it stands centred on the screen above the other windows
// with the caption "БПФ: <length>" and its bar stepped log2(length) times, evenly over the
// transform's work.
#include <QDialog>

#include "model/Fft.h"

class QProgressBar;

class TFFT0Form : public QDialog, private model::FftProgress {
  Q_OBJECT

 public:
  explicit TFFT0Form(QWidget* parent = nullptr);

  // The discrete Fourier transform of the first `count` source samples, zero-padded to the
  // transform length, into real[0..len-1] and imaginary[0..len-1] (positive exponent, no
  // scaling); the length comes from `size` (model::FftLength, with its messages). Returns
  // the length, or 0 when the size is below the count and nothing was done.
  int Transform(const double* source, int count, int size, double* imaginary, double* real);

  // Switch the progress display on / off for the following transforms.
  void SetIndicator();
  void ResetIndicator();

  QProgressBar* ProgressBar1;

  // State: whether to show the window during a transform, the bar in use, and the arrays
  // and length of the last transform (null and 0 before the first one).
  bool ShowProgress = true;
  QProgressBar* Bar;
  double* RealPart = nullptr;
  double* ImaginaryPart = nullptr;
  int len = 0;

 private:
  void Begin(int length, int stages) override;
  void Advance() override;
  void End() override;
};

extern TFFT0Form* FFT0Form;
