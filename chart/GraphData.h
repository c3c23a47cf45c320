#pragma once
// The numbers of a chart's graph for a spreadsheet: the rows of every shown series inside
// the visible x range, and the text of the data file. The file is what Russian spreadsheets
// open without questions: UTF-8 with a byte-order mark (so the Cyrillic column names are
// read as UTF-8, not in the system's 8-bit code page), ";" between fields, the decimal
// comma, CRLF line ends, a field quoted when it holds ";", a quote or a line break.
//
// Layout: one x column and one y column per series, side by side, so each series is a
// ready x-y pair for a scatter chart (the histogram's bins and the law over them plot
// together from one file); a series with fewer rows leaves its fields empty below its end.
#include <string>
#include <string_view>
#include <vector>

#include "chart/DiagramGeometry.h"
#include "chart/Keeper.h"

namespace chart {

// The rows of one series in increasing x.
struct SeriesRows {
  GraphType type = GraphType::Analog;
  std::vector<double> x;
  std::vector<double> y;
};

// The rows of a series inside the visible x range map.xmin .. map.xmax (ends included; a
// sample a millionth of its step beyond an end counts as on it):
// - a series drawn sample by sample (bars, stems) and a curve bound to an array: its own
//   samples, sample i at xmin + i*(xmax - xmin)/(n - 1) (extended precision, rounded once,
//   and taken as the decimal of at most 12 significant digits within two units in the last
//   place of it, when there is one: 3*0,005 is 0,015, not 0,015000000000000001), and with a
//   symmetry the mirrored samples left of xmin as the chart shows them (negated for odd
//   symmetry);
// - a curve bound to a function: the function at the pixel columns of the plot area, where
//   the series has a value (its interval, the mirror of it, or everywhere when periodic).
// An unbound series has no rows.
SeriesRows RowsOf(const TKeeper& k, const PlotMap& map);

// The rows of every shown series bound to data, in the order of the list from first on.
std::vector<SeriesRows> ShownSeriesRows(const TKeeper& first, const PlotMap& map);

// A number as the file writes it: the shortest text that reads back as the same double,
// with the decimal comma; plain digits for magnitudes 1e-5 up to 1e15, otherwise with an
// exponent ("1,5E-07"); "0" for either zero. Empty (an empty cell) for a value that is not
// a finite number.
std::string NumberText(double v);

// A field as it stands, or in double quotes with inner quotes doubled when it holds ";",
// a quote, a carriage return or a line feed.
std::string CsvField(std::string_view text);

// The whole file: the byte-order mark, the header row naming the columns after the axis
// names (with several series each name is followed by the kind of its series, "столбцы",
// "отсчёты" or "кривая", numbered when a kind repeats), then the rows.
std::string DataFileText(std::string_view nameX, std::string_view nameY,
                         const std::vector<SeriesRows>& series);

// The byte-order mark that opens the file.
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// The file name offered for a graph: its title with the characters that some file systems
// refuse (\ / : * ? " < > | and control characters) taken out, blanks collapsed, no
// leading or trailing blank or point, "Диаграмма" when nothing is left; then ".csv".
std::string DataFileName(std::string_view title);

}  // namespace chart
