// The program itself, started as a user starts it, on the X server of the tests.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>

#include "app/Unit1.h"
#include "tests/x11/XSession.h"

namespace {

// The managed windows of a process.
QList<unsigned long> WindowsOf(qint64 pid) {
  QList<unsigned long> out;
  for (unsigned long w : xsession::ManagedWindows())
    if (xsession::WindowPid(w) == pid) out << w;
  return out;
}

}  // namespace

// The title card is up for five seconds after the start. Closing the bench in that time
// (with the close request of its close box) ends the program at once, not when the card's
// timer fires: the program has ended before that timer, started after the process, could
// fire (a coarse timer of 5 s may fire up to 5 % early). On the way, the bench's caption is
// checked as the X server holds it.
TEST(ProgramOnX11, ClosingTheBenchWhileTheTitleCardIsUpEndsTheProgram) {
  constexpr int CardTimerEarliestMs = 5000 * 95 / 100;
  for (int attempt = 1;; ++attempt) {
    QProcess program;
    QElapsedTimer sinceStart;
    sinceStart.start();
    program.start(QStringLiteral(LAB_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    const qint64 pid = program.processId();

    unsigned long bench = 0;
    bool cardUp = false;
    xsession::WaitFor(
        [&] {
          for (unsigned long w : WindowsOf(pid)) {
            if (xsession::TextProperty(w, "_NET_WM_NAME") == QString::fromUtf8(BenchTitle))
              bench = w;
            else
              cardUp = true;  // the other window of the program at this time: the card
          }
          return bench != 0 && cardUp;
        },
        10000);
    ASSERT_NE(bench, 0u) << "no bench window captioned \"" << BenchTitle << "\"";
    EXPECT_EQ(xsession::TextProperty(bench, "WM_NAME").toStdString(), BenchTitle);
    ASSERT_TRUE(cardUp) << "the title card is not shown";

    xsession::RequestClose(bench);
    const bool ended =
        xsession::WaitFor([&] { return program.state() == QProcess::NotRunning; }, 10000);
    const qint64 endedAt = sinceStart.elapsed();
    if (!ended) {
      program.kill();
      program.waitForFinished(2000);
    }
    // Ended only when the card's timer may have fired, which proves nothing either way (a
    // start or a machine that slow): try again.
    if (ended && endedAt >= CardTimerEarliestMs && attempt < 3) continue;
    ASSERT_TRUE(ended) << "the program kept running after its bench was closed";
    EXPECT_LT(endedAt, CardTimerEarliestMs)
        << "the program ended " << endedAt
        << " ms after its start, not before the title card's timer";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    return;
  }
}
