#pragma once
// The circuit characteristic graph: y = f(x) of the selected circuit in a chart viewer
// window, over a view chosen from the circuit's parameters. It needs no run.
class TDiagramIncrease;
class TFormCircuit;

// Draws the characteristic selected in `circuit`, with its current parameters, and shows
// the window modally; returns when the window is closed.
void ShowCharacteristic(TDiagramIncrease& window, const TFormCircuit& circuit);
