#pragma once
// The texts of the lab report: the table of the model's settings, the table of the bench's
// readings, the line that says when the readings do not belong to the settings, and the
// settings line of each graph. Numbers use the decimal comma; values the user typed are
// written as their fields show them.
#include <array>
#include <string>
#include <vector>

#include "model/Generator.h"

namespace report {

// One row of a table, its cells from left to right.
using Row = std::vector<std::string>;

// The model as the generator, circuit and model-settings windows hold it.
struct ModelSettings {
  int kind = model::KindOff;
  model::GeneratorTexts generator;      // the field texts as displayed
  int page = 0;                         // the circuit, 0..7
  std::array<std::string, 16> circuit;  // the texts of EditFloat1 .. EditFloat16
  double period = 0.005;                // T, ms
  int count = 262144;                   // N
  std::string method;                   // the correlation method, as its button names it
};

// Rows of two cells: what and its value with unit. The generator's kind and the parameters
// that kind uses, the circuit with its characteristic and the parameters of its page, T, N
// and the correlation method.
std::vector<Row> SettingsTable(const ModelSettings& s);

// "цепь 3: y = a·|x|; a = 2": the circuit, its characteristic and its parameters.
std::string CircuitText(int page, const std::array<std::string, 16>& texts);

// The four readings as the bench shows them, and what they were measured with.
struct Readings {
  // The texts of the bench labels, in the order density in, correlometer in, density out,
  // correlometer out (empty: no reading shown).
  std::array<std::string, 4> shown;
  std::string levelIn, intervalIn, levelOut, intervalOut;  // density meters' field texts, mV
  std::string tauIn, tauOut;                               // correlometers' delays, ms
  int lagIn = 0, lagOut = 0;                               // the delays in samples
  double inputMean = 0, inputSko = 0, outputMean = 0, outputSko = 0;
  bool inputSkoReestimated = false;  // a histogram replaced the run's input deviation
};

// Rows of three cells: what, the reading with its unit, what it was measured with. The four
// indicators, then the mean and the deviation at the input and at the output.
std::vector<Row> ReadingsTable(const Readings& r);

// Whether the readings belong to the settings.
enum class RunStatus { Current, Changed, NoRun };
// The sentence for the report; empty when the readings are current.
std::string RunStatusText(RunStatus status);

// The settings a graph was built with, as one line: the generator's description, the
// circuit, T and N; `extra` (the method, the bin width and law) follows when not empty.
std::string GraphSettingsLine(const std::string& generatorDescription, int page,
                              const std::array<std::string, 16>& circuitTexts, double period,
                              int count, const std::string& extra);

// The extra part of a correlation function's settings line.
std::string CorrelationExtra(const std::string& method);
// The extra part of a histogram's: the bin width used (automatic or typed) and the choice of
// the law drawn over it.
std::string HistogramExtra(double binWidth, bool automatic, const std::string& law);

}  // namespace report
