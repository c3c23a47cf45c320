#pragma once
// Modal message boxes with one button.
#include <QString>

namespace platform {

// The application's title, shown in the caption of its message boxes ("labbench" until
// the program sets it). It is kept here rather than as the toolkit's application display
// name, which the X11 platform would append to every window caption.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// Shows text in a modal message box with one "OK" button.
void MessageBoxOk(const QString& text);

// Routes the core's messages (lab::ShowMessage) to MessageBoxOk.
void InstallMessageBox();

}  // namespace platform
