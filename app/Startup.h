#pragma once
// Creation of the program's long-lived windows, in the order the bench relies on.

// The application-wide settings, made once the QApplication exists: number texts of the C
// runtime keep the point whatever the desktop language, the toolkit's standard buttons and
// dialogs speak Russian, and message boxes carry the title of the laboratory work. Window
// captions stay exactly the texts the windows give themselves.
void SetUpApplication();

// Start-up: Form1, then the windows every command shares, each a single instance.
void CreateStartupWindows();
// The first paint of the bench: the indicator windows, the analysis chart window and the
// output-side meters; then the captions of the windows that exist (the two chart viewers
// first).
void CreateFirstPaintWindows();
void SetFirstPaintCaptions();

// Switches the FFT progress window on or off (the model settings' "Индикатор").
void ApplyFftIndicator(bool on);
