#include "app/Comfun.h"

#include <cstdio>

std::string FormatFloatComma(int decimals, double value) {
  static const char* const formats[] = {"%.0f", "%.1f", "%.2f", "%.3f",
                                        "%.4f", "%.5f", "%.6f", "%.7f"};
  const char* format = decimals >= 0 && decimals <= 7 ? formats[decimals] : "%e";
  char buffer[400];  // "%.7f" of the largest double needs 318 characters
  std::snprintf(buffer, sizeof buffer, format, value);
  std::string text = buffer;
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text[dot] = ',';
  return text;
}
