// The laboratory bench: application start-up.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <exception>

#include "app/Startup.h"
#include "app/Unit1.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/SignalQuit.h"
#include "platform/Window.h"

int main(int argc, char* argv[]) {
  const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                         qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  if (noDisplay) {
    std::fprintf(stderr,
                 "labbench: нет графического дисплея (DISPLAY не задан).\n"
                 "labbench: no display. Start it inside a desktop session, or under a virtual\n"
                 "  display:  xvfb-run -s \"-screen 0 1280x800x24\" build/labbench\n");
    return 1;
  }

  // SIGTERM (a session's logout) and SIGINT end the program as its exit command does; one
  // that comes while the toolkit starts waits until the handler is in place.
  platform::SignalQuit::HoldSignals();
  // Its notify() ends a command that throws with a message, never the program.
  platform::Application app(argc, argv);
  platform::SignalQuit signalQuit(platform::QuitGracefully);
  SetUpApplication();
  // The installed desktop entry and icon (labbench.desktop, the hicolor theme's labbench).
  QGuiApplication::setDesktopFileName(QStringLiteral("labbench"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("labbench")));

  platform::InstallMessageBox();
  try {
    CreateStartupWindows();
    platform::ShowMaximized(*Form1);
    const int rc = app.exec();
    delete Form1;
    return rc;
  } catch (const std::exception& e) {
    platform::MessageBoxOk(QString::fromUtf8(e.what()));
  }
  return 1;  // the windows could not be created
}
