#pragma once
// The two histogram commands of the bench ("Гистограмма на входе", "Гистограмма на выходе"):
// the settings window, the model brought up to date, the bins of the side's realization and
// the law chosen to go over them, shown in the analysis chart window.
#include <functional>

namespace instruments {

enum class HistogramSide { Input, Output };

// Runs one histogram command to its end. `upToDate` brings the model up to date when the
// bench marks its realizations as changed (a run) and tells whether they are current; when
// they are not, the command stops there.
void HistogramCommand(HistogramSide side, const std::function<bool()>& upToDate);

}  // namespace instruments
