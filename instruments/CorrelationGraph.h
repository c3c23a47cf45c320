#pragma once
// The correlation-function graphs of the bench ("График КФ на входе...", "График КФ на
// выходе..."): the correlation function of the last run's input or output realization, by
// the method chosen in the model settings, shown as an even curve over the lag axis in the
// analysis chart window.

// Computes K of the input (output) realization into the work array WorkRe, through the FFT
// window's transforms or by direct sums, and shows it in DiagramIncreaseAnalysis modally;
// returns once the window has closed and the curve no longer mirrors to negative lags. The
// caller has brought the realizations up to date. A curve that is not finite throughout
// (samples too large for their squares) is not shown: a message says so.
void ShowCorrelationGraph(bool output);
