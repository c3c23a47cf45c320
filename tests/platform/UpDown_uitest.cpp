#include "platform/UpDown.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

namespace {

// An up-down on screen that writes down what it reports: "down", "next", "prev", "up".
struct Recorded {
  QWidget window;
  TUpDown* u;
  std::vector<std::string> events;

  explicit Recorded(TUDOrientation o) {
    u = new TUpDown(&window, o);
    u->move(10, 10);
    u->OnClick = [this](QObject* s, TUDBtnType b) {
      EXPECT_EQ(s, u);
      events.push_back(b == btNext ? "next" : "prev");
    };
    u->OnMouseDown = [this](QObject*, TMouseButton, TShiftState, int, int) {
      events.push_back("down");
    };
    u->OnMouseUp = [this](QObject*, TMouseButton, TShiftState, int, int) {
      events.push_back("up");
    };
    window.resize(100, 100);
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QPoint Centre(TUDBtnType b) const { return u->ArrowRect(b).center(); }
};

}  // namespace

TEST(UpDown, SizesAndArrowHalves) {
  Recorded v(udVertical);
  EXPECT_EQ(v.u->size(), QSize(16, 41));
  EXPECT_EQ(v.u->ArrowAt(QPoint(8, 2)), btNext);  // the upper arrow
  EXPECT_EQ(v.u->ArrowAt(QPoint(8, 38)), btPrev);
  Recorded h(udHorizontal);
  EXPECT_EQ(h.u->size(), QSize(41, 16));
  EXPECT_EQ(h.u->ArrowAt(QPoint(38, 8)), btNext);  // the right arrow
  EXPECT_EQ(h.u->ArrowAt(QPoint(2, 8)), btPrev);
}

TEST(UpDown, AClickIsOneStepBetweenThePressAndTheRelease) {
  Recorded r(udVertical);
  QTest::mouseClick(r.u, Qt::LeftButton, {}, r.Centre(btNext));
  QTest::mouseClick(r.u, Qt::LeftButton, {}, r.Centre(btPrev));
  EXPECT_EQ(r.events, (std::vector<std::string>{"down", "next", "up", "down", "prev", "up"}));

  Recorded h(udHorizontal);
  QTest::mouseClick(h.u, Qt::LeftButton, {}, h.Centre(btNext));
  EXPECT_EQ(h.events, (std::vector<std::string>{"down", "next", "up"}));
  // Another button reports its press and release but steps nothing.
  QTest::mouseClick(h.u, Qt::RightButton, {}, h.Centre(btNext));
  EXPECT_EQ(h.events.size(), 5u);
  EXPECT_EQ(h.events[3], "down");
  EXPECT_EQ(h.events[4], "up");
}

TEST(UpDown, PositionWrapsRoundWhenAsked) {
  Recorded r(udVertical);
  r.u->SetMin(0);
  r.u->SetMax(3);
  r.u->Step(btPrev);
  EXPECT_EQ(r.u->GetPosition(), 0);  // stops at the minimum
  r.u->SetWrap(true);
  r.u->Step(btPrev);
  EXPECT_EQ(r.u->GetPosition(), 3);
  r.u->Step(btNext);
  EXPECT_EQ(r.u->GetPosition(), 0);
  EXPECT_EQ(r.events, (std::vector<std::string>{"prev", "prev", "next"}));
}

TEST(UpDown, HoldingRepeatsUntilTheRelease) {
  Recorded r(udVertical);
  QTest::mousePress(r.u, Qt::LeftButton, {}, r.Centre(btPrev));
  ASSERT_EQ(r.events, (std::vector<std::string>{"down", "prev"}));  // the first step at once
  EXPECT_TRUE(r.u->IsPressed());
  QTest::qWait(TUpDown::RepeatDelayMs + 3 * TUpDown::RepeatIntervalMs + 50);
  const size_t held = r.events.size();
  EXPECT_GE(held, 4u);  // the press step and at least two repetitions
  for (size_t i = 1; i < held; ++i) EXPECT_EQ(r.events[i], "prev");
  QTest::mouseRelease(r.u, Qt::LeftButton, {}, r.Centre(btPrev));
  EXPECT_EQ(r.events.back(), "up");
  EXPECT_FALSE(r.u->IsPressed());
  const size_t released = r.events.size();
  QTest::qWait(3 * TUpDown::RepeatIntervalMs);
  EXPECT_EQ(r.events.size(), released);  // nothing after the release
}

TEST(UpDown, RepetitionPausesWhileTheMouseIsOffTheHeldArrow) {
  Recorded r(udHorizontal);
  QTest::mousePress(r.u, Qt::LeftButton, {}, r.Centre(btNext));
  QTest::mouseMove(r.u, r.Centre(btPrev));  // onto the other arrow, still held
  QTest::qWait(TUpDown::RepeatDelayMs + 3 * TUpDown::RepeatIntervalMs);
  EXPECT_EQ(r.events, (std::vector<std::string>{"down", "next"}));
  QTest::mouseMove(r.u, r.Centre(btNext));
  QTest::qWait(3 * TUpDown::RepeatIntervalMs);
  QTest::mouseRelease(r.u, Qt::LeftButton, {}, r.Centre(btNext));
  ASSERT_GE(r.events.size(), 4u);
  EXPECT_EQ(r.events[2], "next");
  EXPECT_EQ(r.events.back(), "up");
}

TEST(UpDown, AHeldArrowLetsGoWhenItCanNoLongerSeeItsRelease) {
  // Each way the release can be lost: the press ends at once as a release would end it, the
  // repetition stops, and the late release is not reported a second time.
  struct Way {
    const char* name;
    std::function<void(Recorded&)> lose;
    std::function<void(Recorded&)> restore;
  };
  QWidget* grabber = nullptr;
  const Way ways[] = {
      {"hidden", [](Recorded& r) { r.u->hide(); }, [](Recorded& r) { r.u->show(); }},
      {"disabled", [](Recorded& r) { r.u->setEnabled(false); },
       [](Recorded& r) { r.u->setEnabled(true); }},
      {"window deactivated",
       [](Recorded& r) {
         QEvent deactivate(QEvent::WindowDeactivate);
         QApplication::sendEvent(&r.window, &deactivate);
       },
       [](Recorded&) {}},
      {"released elsewhere",
       [](Recorded& r) {
         const QPoint p = r.Centre(btNext);
         QMouseEvent move(QEvent::MouseMove, p, r.u->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
         QApplication::sendEvent(r.u, &move);
       },
       [](Recorded&) {}},
      {"mouse taken",
       [&grabber](Recorded& r) {
         grabber = new QWidget(&r.window);
         grabber->setGeometry(50, 50, 20, 20);
         grabber->show();
         grabber->grabMouse();
         // Noticed at the next repetition.
         EXPECT_TRUE(QTest::qWaitFor([&r] { return !r.u->IsPressed(); }, 5000));
       },
       [&grabber](Recorded&) { grabber->releaseMouse(); }},
  };
  for (const Way& way : ways) {
    Recorded r(udVertical);
    QTest::mousePress(r.u, Qt::LeftButton, {}, r.Centre(btNext));
    way.lose(r);
    EXPECT_EQ(r.events, (std::vector<std::string>{"down", "next", "up"})) << way.name;
    EXPECT_FALSE(r.u->IsPressed()) << way.name;
    QTest::qWait(TUpDown::RepeatDelayMs + 2 * TUpDown::RepeatIntervalMs);
    way.restore(r);
    QTest::mouseRelease(r.u, Qt::LeftButton, {}, r.Centre(btNext));
    EXPECT_EQ(r.events.size(), 3u) << way.name;
    // The control works as before.
    QTest::mouseClick(r.u, Qt::LeftButton, {}, r.Centre(btPrev));
    EXPECT_EQ(r.events, (std::vector<std::string>{"down", "next", "up", "down", "prev", "up"}))
        << way.name;
  }
}
