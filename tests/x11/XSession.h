#pragma once
// What the X-server window tests need beside the program's windows: keys and clicks sent
// with xdotool through the X server (they arrive exactly as a keyboard's and a mouse's,
// text included), the window manager's activation and close requests, and the properties
// the X server holds for a window. Every wait keeps the event loop running, so the program
// answers the window manager meanwhile, and every wait is bounded.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace xsession {

// Runs an X tool while the event loop keeps running; fails the test when the tool does not
// end within timeoutMs or ends with an error. Returns its standard output.
QString Run(const QString& program, const QStringList& args, int timeoutMs = 15000);

// Spins the event loop until pred holds; false when timeoutMs passed first.
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 5000);

// Presses and releases keys (xdotool key names: "Delete", "BackSpace", "Home", "minus",
// "comma", "period", "ctrl+a", "alt+F4", ...) on the keyboard: they go to the window that
// has the X input focus.
void Keys(const QStringList& keys);

// Moves the pointer to the middle of the widget and clicks the left button there.
void Click(QWidget& widget);
// The same at a point of the widget (its own coordinates).
void ClickAt(QWidget& widget, const QPoint& at);

// Raises the window and gives it the input focus through the window manager; true once the
// program reports it active.
bool Activate(QWidget& window);

// Shows a window that is not modal and waits until the window manager has mapped and
// activated it.
bool ShowAndActivate(QWidget& window);

// Waits until a window that closed or was hidden has lost the X input focus and the program
// has taken that loss (needed before the same window is shown again).
void AwaitFocusLeft(QWidget& window);
// Hides a window, then AwaitFocusLeft.
void Hide(QWidget& window);

// A text property of an X window as the X server holds it ("WM_NAME", "_NET_WM_NAME"),
// decoded by xprop; empty when the window has no such property.
QString TextProperty(unsigned long window, const char* name);

// Asks a window to close the way its close box does: the window manager sends the window's
// client the WM_DELETE_WINDOW message of the WM_PROTOCOLS.
void RequestClose(unsigned long window);

// The top-level windows the window manager manages (_NET_CLIENT_LIST of the root window).
QList<unsigned long> ManagedWindows();

// The process id a window's client gives for it (_NET_WM_PID), 0 when unknown.
long WindowPid(unsigned long window);

}  // namespace xsession
