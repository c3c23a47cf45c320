// Test main for the window tests: a QApplication on the offscreen platform unless a
// display is wanted explicitly.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  // Settings the toolkit keeps (the file dialog's last folder) go to a test location, so tests
  // never see or change the user's.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QTranslator qtbase;
  if (qtbase.load(QLocale(QLocale::Russian), "qtbase", "_",
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtbase);
  return RUN_ALL_TESTS();
}
