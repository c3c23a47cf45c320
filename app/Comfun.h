#pragma once
// Free functions shared by the windows: reading texts and picture file names.
#include <string>

// A reading as text with `decimals` decimals (0..7, "%e" otherwise) in the C format, the
// first "." replaced by ",".
std::string FormatFloatComma(int decimals, double value);

// A picture file name checked for the ".bmp" extension (case ignored). When the extension
// differs, `message` gets the correction text and the name its extension replaced.
struct BmpName {
  std::string name;
  std::string message;  // empty when the name was accepted as it is
};
BmpName CorrectBmpName(const std::string& name);
