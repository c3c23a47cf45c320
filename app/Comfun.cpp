#include "app/Comfun.h"

#include <cctype>
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

BmpName CorrectBmpName(const std::string& name) {
  // The extension starts at the last "." after the last path separator.
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  std::string ext = hasExt ? name.substr(dot) : std::string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".bmp") return {name, ""};
  BmpName result;
  result.message = name + ":\nФормат файлов " + ext + " не поддерживается.Произведена коррекция.";
  result.name = (hasExt ? name.substr(0, dot) : name) + ".bmp";
  return result;
}
