#include "model/Fft0unit.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/Fft.h"
#include "tests/support/MessageRecorder.h"

namespace {

// Records, for every step of the bar, whether the window was visible and its caption, and
// every show of the window.
struct Watch : QObject {
  explicit Watch(TFFT0Form& f) : form(f) {
    form.installEventFilter(this);
    QObject::connect(form.ProgressBar1, &QProgressBar::valueChanged, this, [this](int v) {
      if (v == 0) return;  // the reset (not signalled when the bar already stood at 0)
      steps.push_back(v);
      visibleAtStep.push_back(form.isVisible());
      captionAtStep.push_back(form.windowTitle().toStdString());
    });
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Show) ++shows;
    return false;
  }
  TFFT0Form& form;
  std::vector<int> steps;
  std::vector<bool> visibleAtStep;
  std::vector<std::string> captionAtStep;
  int shows = 0;
};

std::vector<double> Ramp(int n) {
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i) v[i] = (i % 17) - 8.5;
  return v;
}

}  // namespace

TEST(FFT0Form, LooksAsDesigned) {
  TFFT0Form form;
  EXPECT_EQ(form.objectName(), "FFT0Form");
  EXPECT_EQ(form.windowTitle().toStdString(), "БПФ");
  EXPECT_EQ(form.size(), QSize(223, 34));
  const Qt::WindowFlags f = form.windowFlags();
  EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(f & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(f & Qt::CustomizeWindowHint);
  EXPECT_FALSE(f & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
  EXPECT_EQ(form.ProgressBar1->objectName(), "ProgressBar1");
  EXPECT_EQ(form.ProgressBar1->geometry(), QRect(8, 8, 201, 16));
  EXPECT_EQ(form.ProgressBar1->minimum(), 0);
  EXPECT_EQ(form.ProgressBar1->maximum(), 100);
  EXPECT_TRUE(form.ShowProgress);
  EXPECT_EQ(form.Bar, form.ProgressBar1);
  EXPECT_EQ(form.RealPart, nullptr);
  EXPECT_EQ(form.len, 0);
  EXPECT_FALSE(form.isVisible());
}

TEST(FFT0Form, ShownWithLengthInCaptionWhileItWorks) {
  TFFT0Form form;
  Watch watch(form);
  const int n = 65536;
  const std::vector<double> x = Ramp(n);
  std::vector<double> re(n), im(n), wantRe(n), wantIm(n);
  EXPECT_EQ(form.Transform(x.data(), n, n, im.data(), re.data()), n);

  // One step per stage: 16 stages against the maximum 15, so the bar is full one stage
  // before the end.
  EXPECT_EQ(form.ProgressBar1->maximum(), 15);
  std::vector<int> expected;
  for (int v = 1; v <= 15; ++v) expected.push_back(v);
  EXPECT_EQ(watch.steps, expected);
  for (size_t k = 0; k < watch.steps.size(); ++k) {
    EXPECT_TRUE(watch.visibleAtStep[k]) << k;
    EXPECT_EQ(watch.captionAtStep[k], "БПФ: 65536") << k;
  }
  EXPECT_EQ(watch.shows, 1);
  EXPECT_FALSE(form.isVisible());  // hidden again at the end
  EXPECT_EQ(form.ProgressBar1->value(), 15);

  // Centred on the screen.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QPoint off = form.geometry().center() - screen.center();
  EXPECT_LE(std::abs(off.x()), 2);
  EXPECT_LE(std::abs(off.y()), 2);

  // The numbers are the core's, and the window remembers the arrays and the length.
  model::FftTransform(x.data(), n, n, wantIm.data(), wantRe.data());
  EXPECT_EQ(std::memcmp(re.data(), wantRe.data(), n * sizeof(double)), 0);
  EXPECT_EQ(std::memcmp(im.data(), wantIm.data(), n * sizeof(double)), 0);
  EXPECT_EQ(form.RealPart, re.data());
  EXPECT_EQ(form.ImaginaryPart, im.data());
  EXPECT_EQ(form.len, n);
}

TEST(FFT0Form, NeverShownWithTheIndicatorOff) {
  TFFT0Form form;
  Watch watch(form);
  form.ResetIndicator();
  EXPECT_FALSE(form.ShowProgress);
  const std::vector<double> x = Ramp(4096);
  std::vector<double> re(4096), im(4096);
  EXPECT_EQ(form.Transform(x.data(), 4096, 4096, im.data(), re.data()), 4096);
  EXPECT_EQ(watch.shows, 0);
  for (bool v : watch.visibleAtStep) EXPECT_FALSE(v);
  EXPECT_EQ(form.windowTitle().toStdString(), "БПФ");
  EXPECT_EQ(watch.steps.size(), 11u);  // the bar is still stepped, once per stage
  EXPECT_EQ(form.ProgressBar1->value(), 11);

  // Switched on again, the next transform shows it.
  form.SetIndicator();
  EXPECT_TRUE(form.ShowProgress);
  form.Transform(x.data(), 4096, 4096, im.data(), re.data());
  EXPECT_EQ(watch.shows, 1);
  EXPECT_EQ(watch.captionAtStep.back(), "БПФ: 4096");
}

TEST(FFT0Form, RefusedRequestShowsNothingAndKeepsState) {
  TFFT0Form form;
  Watch watch(form);
  MessageRecorder rec;
  std::vector<double> x = Ramp(64), re(64, 5.0), im(64, 5.0);
  form.Transform(x.data(), 64, 64, im.data(), re.data());
  std::vector<double> re2(64, 5.0), im2(64, 5.0);
  EXPECT_EQ(form.Transform(x.data(), 64, 32, im2.data(), re2.data()), 0);
  EXPECT_EQ(rec.texts, std::vector<std::string>{"Объём БПФ меньше длины сигнала."});
  EXPECT_EQ(watch.shows, 1);  // the first transform only
  EXPECT_EQ(form.RealPart, re.data());
  EXPECT_EQ(form.len, 64);
  EXPECT_EQ(re2, std::vector<double>(64, 5.0));
}

TEST(FFT0Form, TwoPointTransformKeepsABarThatCanFill) {
  TFFT0Form form;
  MessageRecorder rec;
  double x[2] = {1, 2}, re[2], im[2];
  EXPECT_EQ(form.Transform(x, 0, 0, im, re), 2);
  EXPECT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(form.ProgressBar1->maximum(), 1);
  EXPECT_EQ(form.ProgressBar1->value(), 1);
}
