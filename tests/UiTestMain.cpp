// Test main for the window tests: a QApplication on the offscreen platform unless a
// display is wanted explicitly.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <clocale>

#include "platform/Application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  // Settings the toolkit keeps (the file dialog's last folder) go to a test location, so tests
  // never see or change the user's.
  QStandardPaths::setTestModeEnabled(true);
  // The program's own application object, so a command that throws ends as in the program.
  platform::Application app(argc, argv);
  // The toolkit takes the user's locale at start; number texts of the C runtime must keep
  // the point whatever the desktop language (the program puts the comma in itself).
  std::setlocale(LC_NUMERIC, "C");
  QTranslator qtbase;
  if (qtbase.load(QLocale(QLocale::Russian), "qtbase", "_",
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtbase);
  return RUN_ALL_TESTS();
}
