// The laboratory bench: application start-up.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <exception>

#include "app/Startup.h"
#include "app/Unit1.h"
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
  QApplication app(argc, argv);
  platform::SignalQuit signalQuit(platform::QuitGracefully);
  // The toolkit takes the user's locale at start; number texts of the C runtime must keep
  // the point whatever the desktop language (the program puts the comma in itself).
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationDisplayName(QString::fromUtf8(BenchTitle));
  // The installed desktop entry and icon (labbench.desktop, the hicolor theme's labbench).
  QGuiApplication::setDesktopFileName(QStringLiteral("labbench"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("labbench")));

  // Standard buttons and dialogs of the toolkit in Russian.
  QTranslator qtbase;
  if (qtbase.load(QLocale(QLocale::Russian), "qtbase", "_",
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtbase);

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
  return 0;
}
