#pragma once
// The histogram of a realization: the bin grid from the run's standard deviation and the
// chosen bin width, the bin values (the density meter's estimate at every bin centre), and
// the normal and uniform laws drawn over it.

namespace instruments {

// The most bins a histogram has.
constexpr int MaxHistogramBins = 10000;

// What the histogram settings window asks for.
struct HistogramRequest {
  double binWidth = 0.1;  // h0, mV
  bool automatic = true;  // "Авто": the bin width is a tenth of the standard deviation
};

// The bin grid. The n bin centres are xmin, xmin + h, ... (a running double sum); bin i
// counts the samples in [c - h/2, c + h/2). The last centre, lastCentre, is xmax when
// n = 2k + 2 (or capped) but xmax - h when n = 2k + 1: the bars are bound from xmin to
// lastCentre so that each stands over the interval it counted, while the view and the law
// keep xmin .. xmax.
struct HistogramGrid {
  double h = 0;  // bin width, mV
  double X = 0;  // half-span base, mV
  double k = 0;  // whole bin widths in X (an integer)
  double R = 0;  // half-span: the centres run from m - R to m + R
  int n = 0;     // number of bins, 2 .. MaxHistogramBins
  double xmin = 0, xmax = 0;
  double lastCentre = 0;  // the centre of bin n - 1, as the running sum reaches it
  // The chart could not show the grid that the standard deviation gives (its span is below
  // the chart's narrowest range): the grid is the one of a zero deviation instead.
  bool tooNarrow = false;
};

// The input side's standard deviation re-estimated from the density at the mean, in a
// window of width binWidth, for the two noise kinds: 1 / (w · sqrt(12)) for uniform noise,
// 1 / (w · sqrt(6.28)) for Gaussian noise. Other kinds, and a window at the mean that holds
// no sample (the estimate would be infinite), keep `sko`.
double ReestimatedInputSko(int kind, const double* samples, double count, double binWidth,
                           double mean, double sko);

// The grid of one side: half-span base X = 5·sko and the bin width (h0, or sko/10 with
// "Авто"); a zero width becomes 0.1 mV, and at the input X then becomes 1 mV. k = X/h and
// n = 2R/h + 1 are extended-precision quotients truncated toward zero, R = (k + 0.5)·h;
// more than MaxHistogramBins bins are capped and the width widened to 2R/9999.
HistogramGrid PlanHistogram(double mean, double sko, const HistogramRequest& request, bool input);

// value[i] = DensityAt(samples, h, c_i, count) for the n bin centres c_0 = xmin,
// c_{i+1} = c_i + h: the same bits as one density estimate per bin, in one pass over the
// samples (two threads when a second core is there). Its work arrays are static: one
// histogram at a time.
void HistogramBins(const double* samples, double count, double xmin, double h, int n,
                   double* value);
// The bounds of the n bins as the count forms them, lo[i] = c_i - h·0.5 and
// hi[i] = c_i + h·0.5 (the expressions of DensityAt) for the centres c_0 = xmin,
// c_{i+1} = c_i + h; their distinct values ascending in sorted[0..m) (room for 2n) and the
// place of each bin's bounds there in loPlace[i] and hiPlace[i]. Returns m.
int SortedBinBounds(double xmin, double h, int n, double* lo, double* hi, double* sorted,
                    int* loPlace, int* hiPlace);
// The per-bin loop that HistogramBins must agree with, bit for bit.
void HistogramBinsPlain(const double* samples, double count, double xmin, double h, int n,
                        double* value);
// HistogramBins on the calling thread alone (the two-thread split gives the same bits).
void HistogramBinsOneThread(const double* samples, double count, double xmin, double h, int n,
                            double* value);

// The normal law with mean m and standard deviation s, and the uniform law of the same
// moments (height 1/W over m ± W/2, both ends included, W = sqrt(3)·2·s); both are 0 where
// s is 0, and never infinite or NaN.
double NormalLaw(double x, double m, double s);
double UniformLaw(double x, double m, double s);

// The laws of the two sides with the run's mean and standard deviation, read from
// BenchReadings whenever the chart samples them.
double NormalLawIn(double x);
double NormalLawOut(double x);
double UniformLawIn(double x);
double UniformLawOut(double x);

}  // namespace instruments
