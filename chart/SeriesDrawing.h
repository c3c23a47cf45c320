#pragma once
// How a chart draws one series: curves, stems, bands and histogram bars, as a sequence of
// pen moves and lines in pixels. The chart passes its canvas as the sink; tests pass a
// recorder. The series pen (colour, width, mode) is the caller's business.
#include "chart/DiagramGeometry.h"
#include "chart/Keeper.h"

namespace chart {

class PenSink {
 public:
  virtual ~PenSink() = default;
  virtual void MoveTo(int x, int y) = 0;
  // A line from the pen position to (x, y); the pen ends there.
  virtual void LineTo(int x, int y) = 0;
  // A circle marker in the bounding box x1..x2, y1..y2.
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
};

// The net: left, top, right and bottom pixel of the grid frame.
struct NetRect {
  int xb = 0, yb = 0, xe = 0, ye = 0;
};

// Which samples the stem and bar drawing visits. EverySample: every sample position of the
// view, one step of the series after the other from xmin, also far beyond the data, where
// samples read 0 (the plain walk, the reference). Visible: only the samples that can draw
// something there; the picture is the same, the cost follows the data and the pixels.
// For the extremes of a curve's columns: EverySample compares every sample with the column
// edges in turn, Visible finds each column's samples by their index and their extremes in
// the keeper's pyramid; the calls are the same.
enum class SeriesWalk { Visible, EverySample };

// One value per pixel column across the net, interrupted where the curve leaves the net.
// For a curve bound to an array, then in every column inside the frame that holds two or
// more samples (its own and, with a symmetry, their mirror images; not the zeros beyond
// the ends), a vertical line covering the rows of the largest and the smallest of them,
// kept within the rows the curve may use; none where they all lie beyond one edge of the
// net. So a dense curve keeps its peaks and its band, and a curve with at most one sample
// per column is drawn with exactly the calls of the curve alone.
void DrawAnalog(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map,
                SeriesWalk walk = SeriesWalk::Visible);
// One stem per sample from the zero line, with an optional circle marker.
void DrawDiscret(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map,
                 SeriesWalk walk = SeriesWalk::Visible);
// In every pixel column, a vertical line between +y and -y.
void DrawRadio(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map);
// Bar outlines of width step centred on the samples, from the zero line to the values.
void DrawHistogram(PenSink& pen, const TKeeper& k, const NetRect& net, const PlotMap& map,
                   SeriesWalk walk = SeriesWalk::Visible);

// The stem and bar walks step through the samples by repeated addition of the step. A walk
// stops when its position no longer moves (a step lost in the rounding of a large
// position) or after this many steps: more than three times the longest realization, so
// only a series far out of proportion to its view is cut short instead of freezing the
// window.
constexpr long long MaxSeriesWalk = 4000000;

}  // namespace chart
