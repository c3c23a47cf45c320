#include "instruments/Correlometer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace instruments {

int LagOf(double tau, double period) {
  const long double q = static_cast<long double>(tau) / static_cast<long double>(period);
  if (!(q < static_cast<long double>(std::numeric_limits<int>::max()))) {
    return std::numeric_limits<int>::max();
  }
  if (!(q > static_cast<long double>(std::numeric_limits<int>::min()))) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(q);
}

std::optional<double> CorrelationAt(const double* samples, int n, int lag, double mean,
                                    double scale) {
  if (lag < 0 || lag >= n) return std::nullopt;
  double sum = 0;
  for (int i = lag; i < n; ++i) sum = sum + (samples[i] - mean) * (samples[i - lag] - mean);
  return scale * sum / (n - lag);
}

std::string LongestDelayText(int n, double period) {
  // The largest delay whose lag is still below n; the lag never falls as the delay grows.
  constexpr double Up = std::numeric_limits<double>::infinity();
  double limit = static_cast<double>(static_cast<long double>(n) * period);
  while (limit > 0 && LagOf(limit, period) >= n) limit = std::nextafter(limit, 0.0);
  while (LagOf(std::nextafter(limit, Up), period) < n) limit = std::nextafter(limit, Up);

  // Its exact decimal digits (a double has at most 309 before the point, 1074 after it).
  char exact[1400];
  const auto written =
      std::to_chars(exact, exact + sizeof exact, limit, std::chars_format::fixed, 1074);
  const std::string digits(exact, written.ptr);
  const std::size_t point = digits.find('.');

  std::string text = digits;
  for (int wanted = 6; wanted <= 40; ++wanted) {
    // Cut after the wanted-th significant digit; the whole part is always kept.
    int significant = 0;
    std::size_t cut = point;
    for (std::size_t i = 0; i < digits.size(); ++i) {
      if (digits[i] == '.') continue;
      if (significant > 0 || digits[i] != '0') ++significant;
      if (significant == wanted) {
        cut = std::max(i + 1, point);
        break;
      }
    }
    text = digits.substr(0, cut);
    if (text.find('.') != std::string::npos) {
      while (text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
    }
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    if (LagOf(back, period) == n - 1) break;
  }
  const std::size_t dot = text.find('.');
  if (dot != std::string::npos) text[dot] = ',';
  return text;
}

}  // namespace instruments
