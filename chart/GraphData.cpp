#include "chart/GraphData.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace chart {
namespace {

bool DrawnBySamples(GraphType t) {
  return t == GraphType::Discret || t == GraphType::DiscretPeriodic || t == GraphType::Histogram;
}

bool Periodic(const TKeeper& k) {
  const GraphType t = k.GetType();
  return k.GetPeriod() > 0 && (t == GraphType::AnalogPeriodic || t == GraphType::RadioPeriodic);
}

// x as the decimal of at most 12 significant digits nearest to it, when that decimal lies
// within two units in the last place of x; otherwise x itself. (A computed place, such as a
// bin centre, is nearly never that close to so short a decimal, so it is left as it is.)
double TidyPlace(double x) {
  char buf[40];
  const std::to_chars_result r =
      std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 12);
  double d = x;
  std::from_chars(buf, r.ptr, d);
  const double inf = std::numeric_limits<double>::infinity();
  const double below = std::nextafter(std::nextafter(x, -inf), -inf);
  const double above = std::nextafter(std::nextafter(x, inf), inf);
  return below <= d && d <= above ? d : x;
}

// The place of sample i of a series (i < 0: the mirrored sample -i): xmin + i*(xmax - xmin)
// /(n - 1) in extended precision, rounded once. The ends are decimals the user chose (a
// sampling period, a number of samples) rounded to binary, and the place inherits their
// rounding: 3 periods of 0,005 ms over 0 .. 999*0,005 would come out 0,015000000000000001.
// Such a place is taken as the decimal it stands for, which the file then shows as 0,015.
double SamplePlace(const TKeeper& k, int i) {
  const int n = k.GetCount();
  if (n <= 1) return k.GetXmin();
  const long double a = k.GetXmin();
  const long double span = static_cast<long double>(k.GetXmax()) - a;
  return TidyPlace(static_cast<double>(a + span * i / (n - 1)));
}

double SampleValue(const TKeeper& k, int i) {
  // Bars and stems read their samples (either binding, with the symmetry) as the chart does.
  if (DrawnBySamples(k.GetType())) return k.GetValueDiscret(i);
  const double v = k.GetSample(std::abs(i));
  return i < 0 && k.GetSymmetry() == Symmetry::Odd ? -v : v;
}

void AddSamples(SeriesRows& rows, const TKeeper& k, const PlotMap& map) {
  const int n = k.GetCount();
  const int first = k.GetSymmetry() == Symmetry::None ? 0 : -(n - 1);
  // A sample that lies on an end of the view (a view of whole sampling periods) may come
  // out a rounding error beyond it; a millionth of a step beyond counts as on the end.
  const double slack = std::fabs(k.GetStep()) * 1e-6;
  const double lo = map.xmin - slack;
  const double hi = map.xmax + slack;
  for (int i = first; i < n; ++i) {
    const double x = SamplePlace(k, i);
    if (x < lo || x > hi) continue;
    rows.x.push_back(x);
    rows.y.push_back(SampleValue(k, i));
  }
}

// Whether the curve has a value at x: inside its interval, in the mirror of the interval
// left of xmin, or anywhere when it repeats with a period.
bool HasValueAt(const TKeeper& k, double x) {
  if (Periodic(k)) return true;
  const double a = k.GetXmin();
  const double b = k.GetXmax();
  if (a <= x && x <= b) return true;
  return k.GetSymmetry() != Symmetry::None && x <= a && 2 * a - x <= b;
}

void AddPixelColumns(SeriesRows& rows, const TKeeper& k, const PlotMap& map) {
  // The columns of the plot area are the view: the first maps to xmin, the last to xmax.
  if (map.w_out <= 0) return;
  for (int px = map.x0_out; px <= map.x0_out + map.w_out; ++px) {
    const double x = map.PhisToMathX(px);
    if (!HasValueAt(k, x)) continue;
    rows.x.push_back(x);
    rows.y.push_back(k.GetValue(x));
  }
}

const char* KindWord(GraphType t) {
  switch (t) {
    case GraphType::Histogram:
      return "столбцы";
    case GraphType::Discret:
    case GraphType::DiscretPeriodic:
      return "отсчёты";
    default:
      return "кривая";
  }
}

std::string KindWordOf(const std::vector<SeriesRows>& series, std::size_t s) {
  const std::string word = KindWord(series[s].type);
  int same = 0;
  for (const SeriesRows& r : series)
    if (word == KindWord(r.type)) ++same;
  return same > 1 ? word + " " + std::to_string(s + 1) : word;
}

// The number text of NumberText, appended.
void AppendNumber(std::string& out, double v) {
  if (!std::isfinite(v)) return;
  if (v == 0) {
    out += '0';
    return;
  }
  const double a = std::fabs(v);
  const std::chars_format format =
      a >= 1e-5 && a < 1e15 ? std::chars_format::fixed : std::chars_format::scientific;
  char buf[64];
  const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v, format);
  for (char* c = buf; c != r.ptr; ++c) {
    if (*c == '.') *c = ',';
    if (*c == 'e') *c = 'E';
  }
  out.append(buf, r.ptr);
}

}  // namespace

SeriesRows RowsOf(const TKeeper& k, const PlotMap& map) {
  SeriesRows rows;
  rows.type = k.GetType();
  switch (k.GetStorageKind()) {
    case StorageKind::None:
      break;
    case StorageKind::Array:
      AddSamples(rows, k, map);
      break;
    case StorageKind::Function:
      if (DrawnBySamples(rows.type)) {
        AddSamples(rows, k, map);
      } else {
        AddPixelColumns(rows, k, map);
      }
      break;
  }
  return rows;
}

std::vector<SeriesRows> ShownSeriesRows(const TKeeper& first, const PlotMap& map) {
  std::vector<SeriesRows> out;
  for (const TKeeper* k = &first; k != nullptr; k = k->GetNext())
    if (k->IsShown() && k->GetStorageKind() != StorageKind::None) out.push_back(RowsOf(*k, map));
  return out;
}

std::string NumberText(double v) {
  std::string s;
  AppendNumber(s, v);
  return s;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(";\"\r\n") == std::string_view::npos) return std::string(text);
  std::string s = "\"";
  for (char c : text) {
    if (c == '"') s += '"';
    s += c;
  }
  s += '"';
  return s;
}

std::string DataFileText(std::string_view nameX, std::string_view nameY,
                         const std::vector<SeriesRows>& series) {
  std::string out(Utf8Bom);
  std::size_t rows = 0;
  for (const SeriesRows& s : series) rows = std::max(rows, s.x.size());
  out.reserve(out.size() + 64 + rows * series.size() * 44);

  // The header: the axis names, with the kind of each series when there are several.
  if (series.size() <= 1) {
    out += CsvField(nameX) + ";" + CsvField(nameY);
  } else {
    for (std::size_t s = 0; s < series.size(); ++s) {
      const std::string kind = " (" + KindWordOf(series, s) + ")";
      if (s > 0) out += ';';
      out += CsvField(std::string(nameX) + kind) + ";" + CsvField(std::string(nameY) + kind);
    }
  }
  out += "\r\n";

  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t s = 0; s < series.size(); ++s) {
      if (s > 0) out += ';';
      if (r < series[s].x.size()) {
        AppendNumber(out, series[s].x[r]);
        out += ';';
        AppendNumber(out, series[s].y[r]);
      } else {
        out += ';';
      }
    }
    out += "\r\n";
  }
  return out;
}

std::string DataFileName(std::string_view title) {
  std::string name;
  bool blank = false;
  for (char c : title) {
    const auto u = static_cast<unsigned char>(c);
    const bool refused =
        u < 0x20 || u == 0x7F || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    if (refused || c == ' ') {
      blank = true;
      continue;
    }
    if (blank && !name.empty()) name += ' ';
    blank = false;
    name += c;
  }
  // No point at either end: a leading one hides the file, a trailing one is dropped by
  // some file systems.
  while (!name.empty() && (name.front() == '.' || name.front() == ' ')) name.erase(0, 1);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  if (name.empty()) name = "Диаграмма";
  return name + ".csv";
}

}  // namespace chart
