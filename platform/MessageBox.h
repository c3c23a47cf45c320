#pragma once
// Modal message boxes with one button.
#include <QString>

namespace platform {

// The application's title, shown in the caption of its message boxes.
QString ApplicationTitle();

// Shows text in a modal message box with one "OK" button.
void MessageBoxOk(const QString& text);

// Routes the core's messages (lab::ShowMessage) to MessageBoxOk.
void InstallMessageBox();

}  // namespace platform
