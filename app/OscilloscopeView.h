#pragma once
// The oscilloscope views of the bench: a realization as a time graph in the oscilloscope
// chart window.
class TDiagramIncrease;

// Which side of the circuit an oscilloscope looks at.
enum class OscilloscopeSide { Input, Output };

// Shows the current realization of one side (the samples themselves, not a copy) with the
// current model settings and generator, and returns when the window is closed. The caller
// runs the model first when the run state asks for it.
void ShowOscillogram(TDiagramIncrease& window, OscilloscopeSide side);
