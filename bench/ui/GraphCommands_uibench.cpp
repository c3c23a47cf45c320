// Every graph command of the bench end to end at the longest realization, against its own
// computation measured in the same process.
//
// The bench is started as the program starts it (without the title card), the model is run
// once at N = 524288 (a harmonic of 10 mV plus Gaussian noise of 10 mV, circuit 1), and the
// run state stays "Готово", so no command runs the model. "<command>/window" times the
// handler from its call until its chart viewer window has been shown and painted: the window
// is shown by the real exec and closed as soon as its first paint is done (the histogram
// settings window is accepted at once, as a click on "Готово" would). The first use of each
// command, which also lays the viewer out, is not timed. "<command>/computation" times the
// core function the command computes with, on the same samples with the same settings. The
// report gives both medians, the overhead (window minus computation, allowed 15 ms) and the
// same in processor time of the whole process.
//
//   build/labbench_uibench --benchmark_filter=Command --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <string>

#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "app/Oscilloscope.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "bench/RatioReporter.h"
#include "chart/Diagram.h"
#include "instruments/Characteristic.h"
#include "instruments/CorrelationFunction.h"
#include "instruments/Histogram.h"
#include "instruments/Unitgist.h"
#include "model/Fft.h"
#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"
#include "platform/Modal.h"

namespace {

constexpr int N = 524288;
using Clock = std::chrono::steady_clock;

// The bench with a run of N samples behind it, made once.
bool StartBench() {
  if (Form1 != nullptr) return Form1->RunState() == RunStateReady;
  ShowSplashAtStart = false;
  CreateStartupWindows();
  Form1->resize(1008, 656);
  Form1->show();
  if (!QTest::qWaitForWindowExposed(Form1)) return false;
  Form1->FormPaint();
  mathlib::RandSeed(1);
  model::SampleCount = N;
  FormGenerator->ComboBox1->setCurrentIndex(model::KindHarmonicGaussian);
  FormGenerator->EditFloatA->SetVal(10);
  FormGenerator->EditFloatD->SetVal(10);
  Form1->SpeedButton3Click();
  return Form1->RunState() == RunStateReady;
}

// The modal windows of one command: the histogram settings are accepted without being shown;
// a chart viewer is shown by exec and closed once its chart has been painted, the moment
// recorded in `shown`.
class ModalCloser : public QObject {
 public:
  ModalCloser() {
    previous_ = platform::SetModalHook([this](QDialog& d) { return Show(d); });
  }
  ~ModalCloser() override { platform::SetModalHook(previous_); }

  bool painted = false;
  Clock::time_point shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && dialog_ != nullptr && !painted) {
      painted = true;
      // Queued: it runs once this paint (and the rest of the window's) is done.
      QTimer::singleShot(0, dialog_, [this] {
        shown = Clock::now();
        dialog_->reject();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  int Show(QDialog& d) {
    if (&d == FormGist) {
      FormGist->Accepted = true;
      return QDialog::Accepted;
    }
    auto* window = qobject_cast<TDiagramIncrease*>(&d);
    if (window == nullptr) return d.exec();
    dialog_ = &d;
    window->Diagram1->installEventFilter(this);
    // A window that never paints must not hang the benchmark.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &d, [&d] { d.reject(); });
    watchdog.start(5000);
    const int rc = d.exec();
    window->Diagram1->removeEventFilter(this);
    dialog_ = nullptr;
    return rc;
  }

  QDialog* dialog_ = nullptr;
  platform::ModalHook previous_;
};

// The settings a command reads besides the run: the correlation-function method, the FFT
// progress window, and the histogram's bin width: "Авто", or the finest the field allows,
// 0,01 mV (the 10000-bin cap at the input, about 7000 bins at the output).
struct Settings {
  bool byFft = true;
  bool progress = false;
  bool automaticBins = true;
};

void Apply(const Settings& s) {
  FormTurn->RadioButton1->setChecked(s.byFft);
  FormTurn->RadioButton2->setChecked(!s.byFft);
  ApplyFftIndicator(s.progress);
  FormGist->CheckBox1->setChecked(s.automaticBins);
  FormGist->EditFloat1->SetVal(s.automaticBins ? 0.1 : 0.01);
  FormGist->RadioButton1->setChecked(true);
}

void Window(benchmark::State& state, void (TForm1::*handler)(), Settings settings) {
  if (!StartBench()) {
    state.SkipWithError("the bench could not be started and run");
    return;
  }
  Apply(settings);
  {
    // The first show of a chart viewer lays it out once; the commands after it are timed.
    ModalCloser first;
    (Form1->*handler)();
  }
  for (auto _ : state) {
    ModalCloser closer;
    const Clock::time_point start = Clock::now();
    (Form1->*handler)();
    if (!closer.painted) {
      state.SkipWithError("the window was not shown");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(closer.shown - start).count());
  }
}

void Computation(benchmark::State& state, const std::function<void()>& step, Settings settings) {
  if (!StartBench()) {
    state.SkipWithError("the bench could not be started and run");
    return;
  }
  Apply(settings);
  for (auto _ : state) {
    step();
    benchmark::ClobberMemory();
  }
}

// ---- the computations of the commands, as each command calls them ----

void OscilloscopeView(bool output) {
  const double* x = output ? SampleStore::OutputSamples : SampleStore::InputSamples;
  const osc::OscilloscopeView v = osc::ChooseOscilloscopeView(
      x, model::SampleCount, FormGenerator->SamplingPeriod,
      FormGenerator->ComboBox1->currentIndex(), FormGenerator->EditFloatFr->Val());
  benchmark::DoNotOptimize(v);
}

void HistogramValues(bool output) {
  using namespace BenchReadings;
  static double value[instruments::MaxHistogramBins];
  const double* x = output ? SampleStore::OutputSamples : SampleStore::InputSamples;
  const double count = model::SampleCount;
  const instruments::HistogramRequest request{FormGist->EditFloat1->Val(),
                                              FormGist->CheckBox1->isChecked()};
  double sko = output ? OutputSko : InputSko;
  if (!output)
    sko = instruments::ReestimatedInputSko(FormGenerator->ComboBox1->currentIndex(), x, count,
                                           request.binWidth, InputMean, sko);
  const instruments::HistogramGrid g =
      instruments::PlanHistogram(output ? OutputMean : InputMean, sko, request, !output);
  instruments::HistogramBins(x, count, g.xmin, g.h, g.n, value);
  benchmark::DoNotOptimize(value[g.n / 2]);
}

void CorrelationValues(bool output) {
  using namespace BenchReadings;
  using namespace SampleStore;
  const int lags = instruments::CorrelationFunction(
      output, FormTurn->CorrelationByFft(), output ? OutputSamples : InputSamples,
      model::SampleCount, output ? OutputMean : InputMean, output ? CorrScaleOut : CorrScaleIn,
      [](const double* s, int c, int z, double* im, double* re) {
        return model::FftTransform(s, c, z, im, re);
      },
      {WorkRe, WorkIm, WorkPower});
  benchmark::DoNotOptimize(instruments::CurveIsFinite(WorkRe, lags));
}

void CharacteristicView() {
  benchmark::DoNotOptimize(instruments::ChooseCharacteristicView(FormCircuit->Params()));
}

void Add(const std::string& command, void (TForm1::*handler)(), std::function<void()> step,
         Settings settings = {}) {
  const std::string group = "Command." + command;
  benchratio::SetReference(group, "computation");
  benchratio::SetAllowance(group, 15);
  benchmark::RegisterBenchmark((group + "/computation").c_str(), Computation, step, settings)
      ->Unit(benchmark::kMillisecond)
      ->MeasureProcessCPUTime()
      ->UseRealTime();
  benchmark::RegisterBenchmark((group + "/window").c_str(), Window, handler, settings)
      ->Unit(benchmark::kMillisecond)
      ->MeasureProcessCPUTime()
      ->UseManualTime();
}

int Register() {
  Add("oscilloscope-in", &TForm1::Image4Click, [] { OscilloscopeView(false); });
  Add("oscilloscope-out", &TForm1::Image9Click, [] { OscilloscopeView(true); });
  Add("histogram-in", &TForm1::N30Click, [] { HistogramValues(false); });
  Add("histogram-out", &TForm1::N32Click, [] { HistogramValues(true); });
  Add("histogram-in-fine", &TForm1::N30Click, [] { HistogramValues(false); },
      {.automaticBins = false});
  Add("histogram-out-fine", &TForm1::N32Click, [] { HistogramValues(true); },
      {.automaticBins = false});
  Add("kf-in-fft", &TForm1::N42Click, [] { CorrelationValues(false); });
  Add("kf-in-fft-progress", &TForm1::N42Click, [] { CorrelationValues(false); },
      {.progress = true});
  Add("kf-out-fft", &TForm1::N43Click, [] { CorrelationValues(true); });
  Add("kf-out-fft-progress", &TForm1::N43Click, [] { CorrelationValues(true); },
      {.progress = true});
  Add("kf-in-direct", &TForm1::N42Click, [] { CorrelationValues(false); }, {.byFft = false});
  Add("kf-out-direct", &TForm1::N43Click, [] { CorrelationValues(true); }, {.byFft = false});
  Add("characteristic", &TForm1::N44Click, [] { CharacteristicView(); });
  return 0;
}
const int registered = Register();

}  // namespace
