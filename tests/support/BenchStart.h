#pragma once
// The bench of a window test or an X-server test: started once per test program as the
// application starts it, without the title card, and its model brought back to a known state
// before each test.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <cstring>

#include "app/Editfloatunit.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "model/Mathlib.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"

inline void StartBenchOnce() {
  if (Form1 != nullptr) return;
  ShowSplashAtStart = false;
  CreateStartupWindows();
  Form1->resize(1008, 656);
  Form1->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
  Form1->FormPaint();  // normally done by the first paint; a no-op once it has run
}

// The generator switched off with its design parameters, realizations of 65536 samples at
// 0,005 ms, both zero, and the model current ("Готово"). The random sequence starts from a
// fixed seed (the program seeds it with the time at start), so a run draws the same
// realization in every test program and in every order of tests.
inline void ZeroModel() {
  mathlib::RandSeed(1);
  model::SampleCount = 65536;
  FormGenerator->SamplingPeriod = 0.005;
  FormGenerator->ComboBox1->setCurrentIndex(model::KindOff);
  FormGenerator->EditFloatM->SetVal(0);
  FormGenerator->EditFloatA->SetVal(1);
  FormGenerator->EditFloatFr->SetVal(1);
  FormGenerator->EditFloatD->SetVal(1);
  std::memset(SampleStore::InputSamples, 0, sizeof SampleStore::InputSamples);
  std::memset(SampleStore::OutputSamples, 0, sizeof SampleStore::OutputSamples);
  Form1->SetPanelText(1, RunStateReady);
}
