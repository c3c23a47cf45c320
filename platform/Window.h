#pragma once
// Window placement helpers.
class QWidget;

namespace platform {

// Shows a top-level window maximized. The geometry is also set to the screen's available
// area, so the window fills the screen even where no window manager handles maximizing.
void ShowMaximized(QWidget& w);

// Centres a top-level window on its screen.
void CenterOnScreen(QWidget& w);

}  // namespace platform
