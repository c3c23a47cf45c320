// Test main for the window tests: a QApplication on the offscreen platform unless a
// display is wanted explicitly.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QTranslator qtbase;
  if (qtbase.load(QLocale(QLocale::Russian), "qtbase", "_",
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtbase);
  return RUN_ALL_TESTS();
}
