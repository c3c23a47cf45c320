#include "app/Comfun.h"

#include <charconv>

std::string FormatFloatComma(int decimals, double value) {
  // The digits of "%.<decimals>f" (0 to 7) or "%e" in the C locale, whatever locale the
  // toolkit set for the process: std::to_chars gives exactly printf's text there.
  char buffer[400];  // "%.7f" of the largest double needs 318 characters
  const bool fixed = decimals >= 0 && decimals <= 7;
  const auto r =
      fixed
          ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals)
          : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 6);
  std::string text(buffer, r.ptr);
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text[dot] = ',';
  return text;
}
