// Test main for the X-server window tests: a QApplication on the xcb platform of a real X
// server (tests/x11/xsession.sh starts a private Xvfb and a window manager), set up as the
// program sets itself up. Listing the tests needs no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdio>

#include "app/Startup.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  if (qEnvironmentVariableIsEmpty("DISPLAY")) {
    std::fprintf(stderr, "x11_tests: no X display; run them through tests/x11/xsession.sh\n");
    return 1;
  }
  // The windows talk to the X server itself, whatever the caller's environment says (make
  // test asks every other window test for the offscreen platform).
  qputenv("QT_QPA_PLATFORM", "xcb");
  QStandardPaths::setTestModeEnabled(true);
  platform::Application app(argc, argv);
  SetUpApplication();
  return RUN_ALL_TESTS();
}
