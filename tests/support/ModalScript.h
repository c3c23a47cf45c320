#pragma once
// Scripts the modal windows of a window test. Each ShowModal takes the next action from the
// queue and runs it once the dialog's own event loop is running and the dialog is active,
// so buttons, focus and close events behave as for a user. A watchdog fails the test and closes a
// dialog that stays open, so a forgotten button never hangs the test run.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>

#include "platform/Modal.h"

class ModalScript {
 public:
  using Action = std::function<void(QDialog&)>;

  explicit ModalScript(int watchdogMs = 5000) : watchdogMs_(watchdogMs) {
    previous_ = platform::SetModalHook([this](QDialog& d) { return Run(d); });
  }
  ~ModalScript() {
    platform::SetModalHook(previous_);
    EXPECT_TRUE(actions_.empty()) << actions_.size() << " scripted modal action(s) never ran";
  }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  void Then(Action a) { actions_.push_back(std::move(a)); }
  int shown() const { return shown_; }

 private:
  int Run(QDialog& d) {
    ++shown_;
    Action a;
    if (!actions_.empty()) {
      a = std::move(actions_.front());
      actions_.pop_front();
    } else {
      ADD_FAILURE() << "unscripted modal window: " << d.windowTitle().toStdString();
      a = [](QDialog& dlg) { dlg.reject(); };
    }
    bool timedOut = false;
    // The action starts once the dialog is the active window, so focus moves as for a user.
    QTimer::singleShot(0, &d, [this, &d, a] {
      EXPECT_TRUE(QTest::qWaitForWindowActive(&d, std::min(watchdogMs_, 5000)))
          << "modal window never became active: " << d.windowTitle().toStdString();
      a(d);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &d, [&] {
      timedOut = true;
      d.reject();
    });
    watchdog.start(watchdogMs_);
    const int rc = d.exec();
    EXPECT_FALSE(timedOut) << "modal window left open: " << d.windowTitle().toStdString();
    return rc;
  }

  int watchdogMs_;
  int shown_ = 0;
  std::deque<Action> actions_;
  platform::ModalHook previous_;
};
