#pragma once
// The program's windows for the X-server tests, created once per test process as the
// program creates them (the title card left out), with the bench shown and painted.
#include <gtest/gtest.h>

#include <QTest>

#include "app/Startup.h"
#include "app/Unit1.h"

inline void StartBenchWindows() {
  if (Form1 != nullptr) return;
  ShowSplashAtStart = false;
  CreateStartupWindows();
  Form1->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
  Form1->FormPaint();
}
