// SIGTERM and SIGINT reach the program through its event loop, and the graceful quit unwinds
// every modal window and returns 0 from the application's loop.
#include "platform/SignalQuit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <string>
#include <vector>

namespace {

void (*CurrentHandler(int sig))(int) {
  struct sigaction sa = {};
  sigaction(sig, nullptr, &sa);
  return sa.sa_handler;
}

// Puts SIGTERM and SIGINT back to their default actions at the end of a test.
struct DefaultSignals {
  ~DefaultSignals() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
  }
};

// A window that refuses to be closed, as one asking "save changes?" would.
class Stubborn : public QWidget {
 protected:
  void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

}  // namespace

TEST(SignalQuit, SignalsReachTheLoopInBatchesAndHandlersComeBack) {
  DefaultSignals restore;
  std::signal(SIGTERM, SIG_IGN);
  std::signal(SIGINT, SIG_IGN);
  {
    int calls = 0;
    platform::SignalQuit quit([&] { ++calls; });
    ASSERT_TRUE(quit.installed());

    // The handler only writes: nothing runs until the loop reads, and two signals that
    // arrive before it looks make one call.
    std::raise(SIGTERM);
    std::raise(SIGINT);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 2000));
    QTest::qWait(50);
    EXPECT_EQ(calls, 1);

    // A second instance installs nothing, and its end leaves the first one working.
    {
      EXPECT_FALSE(platform::SignalQuit([] {}).installed());
    }
    std::raise(SIGINT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 2000));
  }
  // The handlers from before are back: the ignored signal leaves this process alive.
  EXPECT_EQ(CurrentHandler(SIGTERM), SIG_IGN);
  EXPECT_EQ(CurrentHandler(SIGINT), SIG_IGN);
  std::raise(SIGTERM);

  // A new instance can install again.
  platform::SignalQuit again([] {});
  EXPECT_TRUE(again.installed());
}

TEST(SignalQuit, ASignalHeldBackDuringStartUpIsHandledOnceInstalled) {
  DefaultSignals restore;
  // With the default action still in place, a held SIGTERM must not end this process.
  platform::SignalQuit::HoldSignals();
  std::raise(SIGTERM);
  int calls = 0;
  platform::SignalQuit quit([&] { ++calls; });
  ASSERT_TRUE(quit.installed());
  EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 2000));
  // No longer held: the next one arrives as well.
  std::raise(SIGINT);
  EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 2000));
}

TEST(SignalQuit, GracefulQuitUnwindsNestedModalWindows) {
  DefaultSignals restore;
  platform::SignalQuit quit(platform::QuitGracefully);
  ASSERT_TRUE(quit.installed());

  QMainWindow main;
  main.show();
  Stubborn stubborn;
  stubborn.show();
  QDialog outer(&main);
  QMessageBox inner(QMessageBox::NoIcon, "t", "x", QMessageBox::Ok, &outer);
  std::vector<std::string> steps;

  // main -> outer dialog -> inner message box; the signal comes while both are open.
  QTimer::singleShot(0, &main, [&] {
    QTimer::singleShot(0, &outer, [&] {
      QTimer::singleShot(0, &inner, [&] {
        steps.push_back("inner open");
        std::raise(SIGTERM);
      });
      inner.exec();
      steps.push_back("inner returned");
      // A command that goes on to open another modal window must not stall the quit: the
      // outer dialog returns only after this one, and the watchdog fails a stalled quit.
      QDialog late(&main);
      late.exec();
    });
    outer.exec();
    steps.push_back("outer returned");
  });
  // Should the quit fail, end the loops anyway with a code the test rejects.
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
  watchdog.start(10000);

  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_EQ(steps, (std::vector<std::string>{"inner open", "inner returned", "outer returned"}));
  EXPECT_FALSE(inner.isVisible());
  EXPECT_FALSE(outer.isVisible());
  EXPECT_FALSE(main.isVisible());
  EXPECT_FALSE(stubborn.isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(SignalQuit, GracefulQuitBeforeTheApplicationLoopEndsItToo) {
  DefaultSignals restore;
  platform::SignalQuit quit(platform::QuitGracefully);
  ASSERT_TRUE(quit.installed());
  // A message box during start-up, before the application's loop runs, sees the signal.
  QMessageBox box(QMessageBox::NoIcon, "t", "x", QMessageBox::Ok);
  QTimer::singleShot(0, &box, [] { std::raise(SIGTERM); });
  box.exec();
  EXPECT_FALSE(box.isVisible());

  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
  watchdog.start(5000);
  EXPECT_EQ(QApplication::exec(), 0);
}
