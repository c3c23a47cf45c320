#pragma once
// Free functions shared by the windows: reading texts.
#include <string>

// A reading as text with `decimals` decimals (0..7, "%e" otherwise) in the C format, the
// first "." replaced by ",".
std::string FormatFloatComma(int decimals, double value);
