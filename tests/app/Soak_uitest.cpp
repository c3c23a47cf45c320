// The whole program shaken by a seeded random sequence of user actions: hot-spot clicks, every
// menu command and graph, typed and pasted text in every settings field, scale changes, the
// chart viewer's buttons and up-downs, runs; every modal window and message box is answered
// at random. After every action the bench is checked against an account of what it must
// show that the test keeps itself: the run state, which readings are present, and the
// readings recomputed from the stored realizations with the core functions.
//
// Environment:
//   LAB_SOAK_SEED     the seed (default 1); the actions and all answers follow from it
//   LAB_SOAK_ACTIONS  the number of actions (default DefaultActions)
//   LAB_SOAK_LOG      1: print every action with its steps while it runs
//   LAB_SOAK_HANG     seconds without progress before the watchdog ends the run (default 120)
// A failure prints the seed, the action number and the last actions with their steps. To
// replay it: LAB_SOAK_SEED=<seed> LAB_SOAK_ACTIONS=<number> LAB_SOAK_LOG=1
//   build/ui_tests --gtest_filter=Soak.RandomActions
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/Comfun.h"
#include "app/Diagramincreaseunit.h"
#include "app/EditFloatRules.h"
#include "app/Editfloatunit.h"
#include "app/GraphJournal.h"
#include "app/Unit1.h"
#include "app/Unitreport.h"
#include "chart/Diagram.h"
#include "chart/Keeper.h"
#include "instruments/Correlometer.h"
#include "instruments/Density.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitind.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Circuit.h"
#include "model/Fft0unit.h"
#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/Messages.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"
#include "platform/Canvas.h"
#include "platform/Cursor.h"
#include "platform/Image.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"
#include "platform/SaveDialog.h"
#include "platform/UpDown.h"
#include "tests/support/BenchStart.h"
#include "tests/support/GraphBench.h"
#include "tests/support/Text.h"
#include "tests/support/WidgetInput.h"

namespace {

// Sized so that the whole test stays well under three minutes on a loaded 2-core machine.
constexpr long DefaultActions = 2000;
constexpr int ModalLimitMs = 30000;

// ---------------------------------------------------------------------------------------
// Settings from the environment

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
  const QByteArray text = qgetenv(name);
  if (text.isEmpty()) return fallback;
  bool ok = false;
  const qulonglong v = text.trimmed().toULongLong(&ok);
  if (!ok) {
    ADD_FAILURE() << name << " is not a whole number: " << text.toStdString();
    return fallback;
  }
  return v;
}

// ---------------------------------------------------------------------------------------
// Random choices

std::uint64_t SplitMix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// The choices of one action. Each action has a source of its own, derived from the seed and
// the action number, so the sequence of actions does not depend on how many choices the
// answers inside an action needed.
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : engine_(seed) {}
  int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
  double Unit() { return static_cast<double>(engine_() >> 11) * 0x1p-53; }
  bool Chance(double p) { return Unit() < p; }
  double Between(double a, double b) { return a + (b - a) * Unit(); }
  // An index drawn with the given weights (a weight of 0 is never drawn).
  int Weighted(std::initializer_list<int> weights) {
    int total = 0;
    for (int w : weights) total += w;
    int x = Below(total);
    int i = 0;
    for (int w : weights) {
      if (x < w) return i;
      x -= w;
      ++i;
    }
    return i - 1;
  }

 private:
  std::mt19937_64 engine_;
};

// ---------------------------------------------------------------------------------------
// The log: the last actions with their steps, printed when something fails or hangs

class ActionLog {
 public:
  explicit ActionLog(bool echo) : echo_(echo) {}

  void Begin(long number, const std::string& what) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (recent_.size() == Kept) recent_.pop_front();
    recent_.push_back("#" + std::to_string(number) + " " + what);
    if (echo_) std::printf("%s\n", recent_.back().c_str());
  }
  void Step(int depth, const std::string& what) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::string line = std::string(2 * depth + 4, ' ') + what;
    if (!recent_.empty()) recent_.back() += "\n" + line;
    if (echo_) std::printf("%s\n", line.c_str());
  }
  std::string Recent() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::string all;
    for (const std::string& a : recent_) all += a + "\n";
    return all;
  }

 private:
  static constexpr std::size_t Kept = 12;
  const bool echo_;
  mutable std::mutex mutex_;
  std::deque<std::string> recent_;
};

// Ends the process with the log when the main thread makes no progress for `seconds`: a
// command that never returns (a computation, or a modal loop nobody can close) fails the
// test instead of stalling the run.
class HangWatchdog {
 public:
  HangWatchdog(int seconds, std::function<std::string()> report)
      : limitMs_(seconds * 1000LL), report_(std::move(report)), last_(Now()) {
    thread_ = std::thread([this] { Watch(); });
  }
  ~HangWatchdog() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  HangWatchdog(const HangWatchdog&) = delete;
  HangWatchdog& operator=(const HangWatchdog&) = delete;

  void Beat() { last_ = Now(); }

 private:
  static long long Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::seconds(1), [this] { return stop_; })) {
      if (Now() - last_.load() > limitMs_) {
        const std::string report = report_();
        std::fprintf(stderr, "\nsoak: no progress for %lld s, the program hangs.\n%s\n",
                     limitMs_ / 1000, report.c_str());
        std::fflush(stderr);
        std::_Exit(3);
      }
    }
  }

  const long long limitMs_;
  const std::function<std::string()> report_;
  std::atomic<long long> last_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

// ---------------------------------------------------------------------------------------
// The readings of the bench

struct IndicatorView {
  QLabel* label;
  TFormInd* form;
  TImage* image;
  const char* prefix;  // of the indicator picture's hint
  const char* unit;    // after the reading in the indicator window
  double* reading;
};

// In the bench's indicator order: density in, density out, correlometer in, out.
std::array<IndicatorView, 4> Indicators() {
  return {{{Form1->LabelIpvIn, FormIndIpvIn, Form1->Image6, "Индикатор ИПВ вход: ", "     1/мВ",
            &BenchReadings::DensityIn},
           {Form1->LabelIpvOut, FormIndIpvOut, Form1->Image11, "Индикатор ИПВ выход: ", "     1/мВ",
            &BenchReadings::DensityOut},
           {Form1->LabelKorIn, FormIndKorIn, Form1->Image8,
            "Индикатор коррелометр вход: ", "     мВ*мВ", &BenchReadings::CorrIn},
           {Form1->LabelKorOut, FormIndKorOut, Form1->Image13,
            "Индикатор коррелометр выход: ", "     мВ*мВ", &BenchReadings::CorrOut}}};
}

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The statistics and the four readings a run gives for the stored realizations, computed
// afresh with the core estimators and the parameters the windows hold now.
struct Fresh {
  double inputMean = 0, outputMean = 0, inputSko = 0, outputSko = 0;
  std::array<int, 2> lag{};
  std::array<std::optional<double>, 2> corr;
  std::array<double, 2> density{};

  // In the indicator order; a correlometer without a pair of samples has none.
  std::array<std::optional<double>, 4> Readings() const {
    return {density[0], density[1], corr[0], corr[1]};
  }
  bool Finite() const {
    for (double v : {inputMean, outputMean, inputSko, outputSko, density[0], density[1]})
      if (!std::isfinite(v)) return false;
    for (const auto& c : corr)
      if (c.has_value() && !std::isfinite(*c)) return false;
    return true;
  }
};

Fresh Recompute(int n, double period) {
  const double* x = SampleStore::InputSamples;
  const double* y = SampleStore::OutputSamples;
  Fresh f;
  f.inputMean = FormGenerator->EditFloatM->Val();
  f.inputSko = model::SkoAbout(x, n, f.inputMean);
  f.lag[0] = instruments::LagOf(FormKor->EditFloatTau->Val(), period);
  f.corr[0] = instruments::CorrelationAt(x, n, f.lag[0], f.inputMean, 1.0);
  f.density[0] =
      instruments::DensityAt(x, FormIPV->EditFloatI->Val(), FormIPV->EditFloatL->Val(), n);
  f.outputMean = model::MeanOf(y, n);
  f.outputSko = model::SkoAbout(y, n, f.outputMean);
  f.lag[1] = instruments::LagOf(FormKorOut->EditFloatTau->Val(), period);
  f.corr[1] = instruments::CorrelationAt(y, n, f.lag[1], f.outputMean, 1.0);
  f.density[1] =
      instruments::DensityAt(y, FormIPVOut->EditFloatI->Val(), FormIPVOut->EditFloatL->Val(), n);
  return f;
}

std::uint64_t SamplesChecksum(int n) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (const double* a : {SampleStore::InputSamples, SampleStore::OutputSamples})
    for (int i = 0; i < n; ++i) h = (h ^ std::bit_cast<std::uint64_t>(a[i])) * 0x100000001B3ull;
  return h;
}

// ---------------------------------------------------------------------------------------
// The commands of the bench

enum class Command {
  Run,
  Generator,
  Circuit,
  Settings,
  DensityIn,
  DensityOut,
  CorrIn,
  CorrOut,
  IndicatorIpvIn,
  IndicatorIpvOut,
  IndicatorKorIn,
  IndicatorKorOut,
  OscIn,
  OscOut,
  HistIn,
  HistOut,
  KfIn,
  KfOut,
  Characteristic,
  Scale,
  Resize,
  MouseOver,
  SaveBench,
  CopyBench,
  SaveReport,
};

struct CommandInfo {
  Command command;
  const char* name;
  int weight;
};

// How often each command comes: the graphs and the instruments often, the settings often
// enough that the model keeps changing.
constexpr CommandInfo Commands[] = {
    {Command::Run, "Пуск", 8},
    {Command::Generator, "Генератор", 8},
    {Command::Circuit, "Нелинейная цепь", 7},
    {Command::Settings, "Настройки", 5},
    {Command::DensityIn, "ИПВ вход", 3},
    {Command::DensityOut, "ИПВ выход", 3},
    {Command::CorrIn, "Коррелометр вход", 3},
    {Command::CorrOut, "Коррелометр выход", 3},
    {Command::IndicatorIpvIn, "Индикатор ИПВ вход", 2},
    {Command::IndicatorIpvOut, "Индикатор ИПВ выход", 2},
    {Command::IndicatorKorIn, "Индикатор коррелометр вход", 2},
    {Command::IndicatorKorOut, "Индикатор коррелометр выход", 2},
    {Command::OscIn, "Осциллограф вход", 3},
    {Command::OscOut, "Осциллограф выход", 3},
    {Command::HistIn, "Гистограмма на входе", 3},
    {Command::HistOut, "Гистограмма на выходе", 3},
    {Command::KfIn, "График КФ на входе", 3},
    {Command::KfOut, "График КФ на выходе", 3},
    {Command::Characteristic, "Характеристика цепи", 2},
    {Command::Scale, "Масштаб", 5},
    {Command::Resize, "Размер окна", 1},
    {Command::MouseOver, "Мышь над схемой", 4},
    {Command::SaveBench, "Сохранить схему", 1},
    {Command::CopyBench, "Копировать схему", 1},
    {Command::SaveReport, "Сохранить отчёт", 1},
};

const char* NameOf(Command c) {
  for (const CommandInfo& i : Commands)
    if (i.command == c) return i.name;
  return "?";
}

bool IsMeter(Command c) {
  return c == Command::DensityIn || c == Command::DensityOut || c == Command::CorrIn ||
         c == Command::CorrOut;
}
bool IsHistogram(Command c) {
  return c == Command::HistIn || c == Command::HistOut;
}
bool IsKf(Command c) {
  return c == Command::KfIn || c == Command::KfOut;
}
bool IsOscilloscope(Command c) {
  return c == Command::OscIn || c == Command::OscOut;
}

// The scale commands: the status text, the items of both menus, the fraction.
struct ScaleChoice {
  const char* status;  // nullptr: "Авто", any percentage
  QAction* TForm1::*main;
  QAction* TForm1::*popup;
  int num, den;
};
const ScaleChoice Scales[] = {
    {nullptr, &TForm1::N7, &TForm1::N22, 0, 0},
    {"Масштаб: 25%", &TForm1::N201, &TForm1::N251, 1, 4},
    {"Масштаб: 50%", &TForm1::N301, &TForm1::N502, 1, 2},
    {"Масштаб: 75%", &TForm1::N401, &TForm1::N751, 3, 4},
    {"Масштаб: 100%", &TForm1::N501, &TForm1::N1001, 1, 1},
    {"Масштаб: 125%", &TForm1::N601, &TForm1::N1252, 5, 4},
    {"Масштаб: 150%", &TForm1::N701, &TForm1::N1251, 3, 2},
    {"Масштаб: 200%", &TForm1::N801, &TForm1::N2001, 2, 1},
    {"Масштаб: 400%", &TForm1::N901, &TForm1::N4001, 4, 1},
};

const double Periods[] = {0.0005, 0.001, 0.005, 0.01};
const int Lengths[] = {65536, 131072, 262144, 524288};

// Texts a user might type or paste into a numeric field that are not plain numbers in range.
// clang-format off
const char* const Garbage[] = {
    "", "-", ",", ".", "abc", "мВ", "1,2,3", "1..2", "--1", "+5", "1e5", "1e999", "-1e999",
    "nan", "inf", "-inf", "1е5", " 7 ", "99999999999999999999", "5-", ",5", "5,", "0x10",
    "1 000", "1,5e-3", "1e-400", "٣", "½",
};
// clang-format on

// What happened during one action, as the answers saw it.
struct Happened {
  std::vector<std::string> messages;  // message boxes, in order
  std::vector<TDiagramIncrease*> viewers;
  std::vector<QString> viewerCaptions;
  bool gistAccepted = false;
  bool settingsChanged = false;
};

// The account the test keeps of what the bench must show.
struct Expected {
  bool changed = false;  // "Изменено": settings changed (or a run failed) since the last run
  std::array<bool, 4> present{};
  std::array<double, 4> value{};
  int n = 65536;
  double period = 0.005;
  int scale = 4;  // index into Scales
};

struct Before {
  Expected expected;
  std::array<QString, 4> labels;
  std::array<double, 4> readings{};
  std::uint64_t samples = 0;
};

// ---------------------------------------------------------------------------------------
// The soak itself

class Soak {
 public:
  Soak(std::uint64_t seed, bool echo, int hangSeconds)
      : seed_(seed), log_(echo), dog_(hangSeconds, [this] { return Report(); }) {}

  // Performs `count` actions (after a first run), checking the bench after each; stops at
  // the first action that fails a check.
  void Run(long count);

 private:
  std::string Report() const {
    return "seed " + std::to_string(seed_) + ", action " + std::to_string(number_.load()) +
           "; the last actions:\n" + log_.Recent();
  }
  void Step(const std::string& what) { log_.Step(depth_, what); }
  Dice& R() { return *dice_; }

  void Reset();
  void Act(long number, std::optional<Command> forced = std::nullopt);
  Command Choose();
  void Issue(Command c);
  void Menu(QAction* item);
  void ButtonOrMenu(QToolButton* button, QAction* item);
  void HotSpotOrMenu(TImage* image, QAction* item);
  void ScaleCommand();
  void MouseOver();

  // Modal windows.
  int OnModal(QDialog& d);
  void Answer(QDialog& d);
  void Finish(QDialog& d, QAbstractButton* done);
  void TypeInto(TEditFloat& field, double typicalMin, double typicalMax);
  QString FieldText(const TEditFloat& field, double typicalMin, double typicalMax);
  void AnswerGenerator(QDialog& d);
  void AnswerCircuit(QDialog& d);
  void AnswerSettings(QDialog& d);
  void AnswerDensityMeter(QDialog& d, TFormIPV& meter);
  void AnswerCorrelometer(QDialog& d, TFormKor& meter);
  void AnswerIndicator(QDialog& d, TFormInd& form);
  void AnswerHistogram(QDialog& d);
  void AnswerMessage(QMessageBox& box);
  void AnswerSaveDialog(QFileDialog& dialog);
  void AnswerReport(TFormReport& form);
  void AnswerViewer(TDiagramIncrease& w);
  void ViewerStep(TDiagramIncrease& w);
  void CheckViewer(TDiagramIncrease& w);

  // Checks after an action.
  void Verify(Command c, const Before& before);
  void VerifySuccessfulRun(Command c);
  void VerifyFailedRun(const Before& before);
  void VerifyRemeasure(Command c);
  void VerifyMessages(Command c, bool ran, bool runOk, bool remeasured);
  void VerifyGraph(Command c);
  void CheckBench();

  const std::uint64_t seed_;
  ActionLog log_;
  HangWatchdog dog_;
  std::atomic<long> number_{0};
  Dice* dice_ = nullptr;
  int depth_ = 0;
  std::vector<QDialog*> open_;  // the modal windows open now, the innermost last
  Happened happened_;
  Command command_ = Command::Run;  // the command of the action under way
  Expected expected_;
  QTemporaryDir folder_;
  bool gistDone_ = false;  // the histogram settings were closed with "Готово"

  // What the soak went through, printed at its end.
  struct Tally {
    int count = 0;
    double seconds = 0;
  };
  std::map<Command, Tally> commands_;
  std::map<int, long> lengths_;  // actions by the realization length they started with
  long runs_ = 0, failedRuns_ = 0, modals_ = 0, messages_ = 0, holds_ = 0;
  void PrintTally(double seconds, long done) const;
};

void Soak::Run(long count) {
  ASSERT_TRUE(folder_.isValid());
  StartBenchOnce();
  const lab::MessageHandler previousMessages = lab::SetMessageHandler(
      [](const std::string& text) { platform::MessageBoxOk(QString::fromStdString(text)); });
  const platform::ModalHook previousHook =
      platform::SetModalHook([this](QDialog& d) { return OnModal(d); });
  Reset();
  const auto start = std::chrono::steady_clock::now();
  long done = 0;
  Act(0, Command::Run);  // a first run: from here on every reading is accounted for
  for (long k = 1; k <= count && !::testing::Test::HasFailure(); ++k) {
    Act(k);
    ++done;
    if (k % 1000 == 0) {
      const double s =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::printf("soak: %ld actions, %.0f s\n", k, s);
      std::fflush(stdout);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (::testing::Test::HasFailure()) {
    ADD_FAILURE() << "soak: seed " << seed_ << ", failed at action " << number_.load()
                  << ". Replay: LAB_SOAK_SEED=" << seed_ << " LAB_SOAK_ACTIONS=" << number_.load()
                  << " LAB_SOAK_LOG=1 build/ui_tests --gtest_filter=Soak.RandomActions\n"
                  << "The last actions:\n"
                  << log_.Recent();
  }
  PrintTally(seconds, done);
  platform::SetModalHook(previousHook);
  lab::SetMessageHandler(previousMessages);
  ZeroModel();
  Form1->N501Click();
}

// The bench as a fresh start leaves it, with realizations of 65536 samples, and the
// program's random source seeded from the soak's seed so that a replay draws the same
// realizations.
void Soak::Reset() {
  ZeroModel();
  FormCircuit->PageControl1->setCurrentIndex(0);
  for (int i = 0; i < 16; ++i) FormCircuit->Fields[i]->SetVal(model::CircuitFields[i].initial);
  FormCircuit->k = 1;
  FormCircuit->c = 0;
  for (TFormKor* k : {FormKor, FormKorOut}) k->EditFloatTau->SetVal(0);
  for (TFormIPV* m : {FormIPV, FormIPVOut}) {
    m->EditFloatL->SetVal(0);
    m->EditFloatI->SetVal(0.1);
  }
  for (const IndicatorView& v : Indicators()) v.form->ComboBox1->setCurrentIndex(2);
  FormGist->CheckBox1->setChecked(true);
  FormGist->CheckBox1Click();
  FormGist->EditFloat1->SetVal(0.1);
  FormGist->RadioButton3->setChecked(true);
  FormTurn->ComboBoxT->setCurrentIndex(2);
  FormTurn->ComboBoxN->setCurrentIndex(0);
  FormTurn->RadioButton1->setChecked(true);
  FormTurn->CheckBox1->setChecked(true);
  FFT0Form->SetIndicator();
  for (TDiagramIncrease* w : {DiagramIncrease, DiagramIncreaseAnalysis}) {
    if (!w->Diagram1->GetShowFeeler()) w->SpeedButtonMeasureClick();
    if (!w->UpDown1->isHidden()) w->SpeedButtonLimitClick();
    w->SpeedButton1->setChecked(false);
  }
  Form1->resize(1008, 656);
  Form1->N501Click();
  mathlib::RandSeed(static_cast<std::uint32_t>(SplitMix(seed_)));
  expected_ = Expected{};
}

void Soak::PrintTally(double seconds, long done) const {
  std::printf("soak: seed %llu, %ld actions in %.1f s (%.1f per second)\n",
              static_cast<unsigned long long>(seed_), done, seconds, done / seconds);
  std::printf("soak: %ld runs (%ld failed), %ld modal windows, %ld messages, %ld up-down holds\n",
              runs_ + failedRuns_, failedRuns_, modals_, messages_, holds_);
  for (const auto& [n, count] : lengths_) std::printf("soak: %6ld actions at N = %d\n", count, n);
  for (const auto& [c, t] : commands_)
    std::printf("soak: %6d x %7.1f ms  %s\n", t.count, 1000 * t.seconds / t.count, NameOf(c));
  std::fflush(stdout);
}

Command Soak::Choose() {
  int total = 0;
  for (const CommandInfo& c : Commands) total += c.weight;
  int x = R().Below(total);
  for (const CommandInfo& c : Commands) {
    if (x < c.weight) return c.command;
    x -= c.weight;
  }
  return Command::Run;
}

void Soak::Act(long number, std::optional<Command> forced) {
  Dice dice(SplitMix(seed_ ^ SplitMix(static_cast<std::uint64_t>(number))));
  dice_ = &dice;
  number_ = number;
  happened_ = Happened{};
  const Command c = forced ? *forced : Choose();
  command_ = c;
  log_.Begin(number, NameOf(c));
  dog_.Beat();

  Before before;
  before.expected = expected_;
  const auto views = Indicators();
  for (int i = 0; i < 4; ++i) {
    before.labels[i] = views[i].label->text();
    before.readings[i] = *views[i].reading;
  }
  before.samples = SamplesChecksum(expected_.n);

  const auto start = std::chrono::steady_clock::now();
  Issue(c);
  QCoreApplication::processEvents();
  dog_.Beat();
  Verify(c, before);
  dice_ = nullptr;
  Tally& t = commands_[c];
  ++t.count;
  t.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ++lengths_[before.expected.n];
}

void Soak::Menu(QAction* item) {
  Step("menu «" + S(item->text()) + "»");
  item->trigger();
}

void Soak::ButtonOrMenu(QToolButton* button, QAction* item) {
  if (R().Chance(0.5)) {
    Step("tool button «" + S(button->toolTip()) + "»");
    QTest::mouseClick(button, Qt::LeftButton);
  } else {
    Menu(item);
  }
}

void Soak::HotSpotOrMenu(TImage* image, QAction* item) {
  if (R().Chance(0.6)) {
    const QPoint p(R().Below(std::max(1, image->width())), R().Below(std::max(1, image->height())));
    Step("click on the bench at " + std::to_string(p.x()) + "," + std::to_string(p.y()));
    QTest::mouseClick(image, Qt::LeftButton, {}, p);
  } else {
    Menu(item);
  }
}

void Soak::Issue(Command c) {
  TForm1& f = *Form1;
  switch (c) {
    case Command::Run:
      return ButtonOrMenu(f.SpeedButton3, f.N20);
    case Command::Generator:
      return HotSpotOrMenu(f.Image2, f.N8);
    case Command::Circuit:
      return HotSpotOrMenu(f.Image3, f.N9);
    case Command::Settings:
      return Menu(f.N24);
    case Command::DensityIn:
      return HotSpotOrMenu(f.Image5, f.NIpvIn);
    case Command::DensityOut:
      return HotSpotOrMenu(f.Image10, f.NIpvOut);
    case Command::CorrIn:
      return HotSpotOrMenu(f.Image7, f.NKorIn);
    case Command::CorrOut:
      return HotSpotOrMenu(f.Image12, f.NKorOut);
    case Command::IndicatorIpvIn:
      return HotSpotOrMenu(f.Image6, f.NIndIpvIn);
    case Command::IndicatorIpvOut:
      return HotSpotOrMenu(f.Image11, f.NIndIpvOut);
    case Command::IndicatorKorIn:
      return HotSpotOrMenu(f.Image8, f.NIndKorIn);
    case Command::IndicatorKorOut:
      return HotSpotOrMenu(f.Image13, f.NIndKorOut);
    case Command::OscIn:
      return HotSpotOrMenu(f.Image4, f.NOscIn);
    case Command::OscOut:
      return HotSpotOrMenu(f.Image9, f.NOscOut);
    case Command::HistIn:
      return Menu(f.N30);
    case Command::HistOut:
      return Menu(f.N32);
    case Command::KfIn:
      return Menu(f.N42);
    case Command::KfOut:
      return Menu(f.N43);
    case Command::Characteristic:
      return Menu(f.N44);
    case Command::Scale:
      return ScaleCommand();
    case Command::Resize: {
      const int w = 500 + R().Below(900);
      const int h = 300 + R().Below(600);
      Step("window resized to " + std::to_string(w) + " x " + std::to_string(h));
      f.resize(w, h);
      return;
    }
    case Command::MouseOver:
      return MouseOver();
    case Command::SaveBench:
      return ButtonOrMenu(f.SpeedButton1, f.NSaveScheme);
    case Command::CopyBench:
      ButtonOrMenu(f.SpeedButton2, f.NCopyScheme);
      EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(952, 477));
      return;
    case Command::SaveReport:
      return Menu(f.NReport);
  }
}

void Soak::ScaleCommand() {
  const int i = R().Below(9);
  const ScaleChoice& s = Scales[i];
  const int way = R().Below(i == 0 ? 3 : 2);
  if (way == 0) {
    Step("scale menu item «" + S((Form1->*s.main)->text()) + "»");
    (Form1->*s.main)->trigger();
  } else if (way == 1) {
    Step("scale pop-up item «" + S((Form1->*s.popup)->text()) + "»");
    (Form1->*s.popup)->trigger();
  } else {
    Step("tool button «Масштаб»");
    QTest::mouseClick(Form1->ToolButton4, Qt::LeftButton, {}, QPoint(8, 11));
  }
  expected_.scale = i;
}

void Soak::MouseOver() {
  TForm1& f = *Form1;
  TImage* images[] = {f.Image1, f.Image2, f.Image3,  f.Image4,  f.Image5,  f.Image6, f.Image7,
                      f.Image8, f.Image9, f.Image10, f.Image11, f.Image12, f.Image13};
  TImage* image = images[R().Below(13)];
  const QPoint p(R().Below(std::max(1, image->width())), R().Below(std::max(1, image->height())));
  Step("mouse over " + S(image->objectName()) + " at " + std::to_string(p.x()) + "," +
       std::to_string(p.y()));
  QMouseEvent move(QEvent::MouseMove, p, image->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(image, &move);
  QString expected;
  if (image == f.Image1) {
    expected = QStringLiteral("Элемент не выбран");
  } else if (image == f.Image2) {
    expected = QString::fromStdString(FormGenerator->Description);
  } else if (image == f.Image3) {
    expected = QString::fromStdString(FormCircuit->Description);
  } else {
    expected = image->GetHint();
  }
  EXPECT_EQ(S(f.PanelText(2)), S(expected));
}

// ---------------------------------------------------------------------------------------
// Modal windows: every one the program shows comes here and is answered at random

std::vector<double> SettingsValues(const QDialog& d) {
  std::vector<double> v;
  if (&d == FormGenerator) {
    v.push_back(FormGenerator->ComboBox1->currentIndex());
    for (TEditFloat* f : {FormGenerator->EditFloatM, FormGenerator->EditFloatD,
                          FormGenerator->EditFloatA, FormGenerator->EditFloatFr})
      v.push_back(f->Val());
  } else if (&d == FormCircuit) {
    v.push_back(FormCircuit->PageControl1->currentIndex());
    for (TEditFloat* f : FormCircuit->Fields) v.push_back(f->Val());
  } else if (&d == FormTurn) {
    v = {double(FormTurn->ComboBoxT->currentIndex()), double(FormTurn->ComboBoxN->currentIndex()),
         double(FormTurn->CheckBox1->isChecked())};
  }
  return v;
}

int Soak::OnModal(QDialog& d) {
  dog_.Beat();
  const std::string title = S(d.windowTitle());
  Step("window «" + title + "»");
  const std::vector<double> before = SettingsValues(d);
  ++depth_;
  bool timedOut = false;
  QTimer::singleShot(0, &d, [this, &d] {
    // The user acts once the window is the active one, so focus moves as for a user (the
    // offscreen platform activates a window later than it reports it exposed).
    EXPECT_TRUE(QTest::qWaitFor([&d] { return QApplication::activeWindow() == &d; }, 5000))
        << "modal window never became active: " << S(d.windowTitle());
    Answer(d);
  });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, &d, [&] {
    timedOut = true;
    d.reject();
  });
  watchdog.start(ModalLimitMs);
  ++modals_;
  open_.push_back(&d);
  const int rc = d.exec();
  open_.pop_back();
  --depth_;
  EXPECT_FALSE(timedOut) << "modal window left open: " << title;
  dog_.Beat();
  // The window below becomes the active one again, as a window manager makes it (the
  // offscreen platform does not), and the user goes on there.
  QWidget* below = open_.empty() ? static_cast<QWidget*>(Form1) : open_.back();
  if (below->isVisible()) {
    below->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([below] { return QApplication::activeWindow() == below; }, 5000))
        << "«" << S(below->windowTitle()) << "» not active again after «" << title << "» closed";
  }

  // A settings window whose values differ after it closed must report a change.
  bool changed = false;
  if (&d == FormGenerator) changed = FormGenerator->Changed;
  if (&d == FormCircuit) changed = FormCircuit->Changed;
  if (&d == FormTurn) changed = FormTurn->Changed;
  if (!before.empty()) {
    if (SettingsValues(d) != before) {
      EXPECT_TRUE(changed) << title << ": a value changed unseen";
    }
    happened_.settingsChanged = changed;
    if (changed) Step("(changed)");
  }
  if (&d == FormGist) {
    EXPECT_EQ(FormGist->Accepted, gistDone_);
    happened_.gistAccepted = FormGist->Accepted;
  }
  return rc;
}

void Soak::Answer(QDialog& d) {
  if (&d == FormGenerator) return AnswerGenerator(d);
  if (&d == FormCircuit) return AnswerCircuit(d);
  if (&d == FormTurn) return AnswerSettings(d);
  if (&d == FormIPV || &d == FormIPVOut) return AnswerDensityMeter(d, static_cast<TFormIPV&>(d));
  if (&d == FormKor || &d == FormKorOut) return AnswerCorrelometer(d, static_cast<TFormKor&>(d));
  for (const IndicatorView& v : Indicators())
    if (&d == v.form) return AnswerIndicator(d, *v.form);
  if (&d == FormGist) return AnswerHistogram(d);
  if (&d == DiagramIncrease || &d == DiagramIncreaseAnalysis)
    return AnswerViewer(static_cast<TDiagramIncrease&>(d));
  if (auto* box = qobject_cast<QMessageBox*>(&d)) return AnswerMessage(*box);
  if (auto* files = qobject_cast<QFileDialog*>(&d)) return AnswerSaveDialog(*files);
  if (auto* report = qobject_cast<TFormReport*>(&d)) return AnswerReport(*report);
  ADD_FAILURE() << "a modal window nobody expects: " << S(d.windowTitle());
  d.reject();
}

// A window without a close box: "Готово", now and then after an Escape that must not close
// it, or the window manager's close.
void Soak::Finish(QDialog& d, QAbstractButton* done) {
  switch (R().Weighted({8, 1, 1})) {
    case 0:
      Step("«Готово»");
      QTest::mouseClick(done, Qt::LeftButton);
      break;
    case 1: {
      Step("Escape, then «Готово»");
      QWidget* focus = d.focusWidget() != nullptr ? d.focusWidget() : &d;
      QTest::keyClick(focus, Qt::Key_Escape);
      EXPECT_TRUE(d.isVisible()) << "Escape closed " << S(d.windowTitle());
      if (d.isVisible()) QTest::mouseClick(done, Qt::LeftButton);
      break;
    }
    default:
      Step("closed by the window manager");
      d.close();
      break;
  }
}

QString Decimal(double v, int decimals, bool point) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  QString s = QString::fromLatin1(text);
  if (!point) s.replace('.', ',');
  return s;
}

// A number in the field's typical range, a limit, a number beyond a limit, or garbage.
QString Soak::FieldText(const TEditFloat& field, double typicalMin, double typicalMax) {
  const double lo = field.Min();
  const double hi = field.Max();
  switch (R().Weighted({10, 1, 2, 2, 4})) {
    case 0:
      return Decimal(R().Between(typicalMin, typicalMax), R().Below(5), R().Chance(0.2));
    case 1:
      return QString::fromStdString(editfloat::FormatG(R().Chance(0.5) ? lo : hi));
    case 2:
      return Decimal(lo - R().Between(0.001, 2) * (1 + std::fabs(lo)), R().Below(4), false);
    case 3:
      return Decimal(hi + R().Between(0.001, 2) * (1 + std::fabs(hi)), R().Below(4), false);
    default:
      if (R().Chance(0.1)) return "0," + QString(300 + R().Below(30), '0') + "1";
      return QString::fromUtf8(Garbage[R().Below(std::size(Garbage))]);
  }
}

// The field as the log names it: its object name, or the caption of its group.
std::string FieldName(const TEditFloat& field) {
  if (!field.objectName().isEmpty()) return S(field.objectName());
  if (const auto* group = qobject_cast<const QGroupBox*>(field.parentWidget()))
    return "«" + S(group->title().trimmed()) + "»";
  return "field";
}

// Types or pastes a text into the field, then commits it with Enter or Tab, or leaves it to
// the next click or the window's close.
void Soak::TypeInto(TEditFloat& field, double typicalMin, double typicalMax) {
  const QString text = FieldText(field, typicalMin, typicalMax);
  const bool paste = R().Chance(0.25);
  const int commit = R().Below(3);
  const char* commits[] = {"Enter", "Tab", "no commit"};
  Step(FieldName(field) + (paste ? " pasted «" : " typed «") + S(text) + "», " + commits[commit]);
  if (paste) {
    QTest::mouseClick(&field, Qt::LeftButton);
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
  } else {
    input::TypeInto(field, text);
  }
  if (commit == 0) QTest::keyClick(&field, Qt::Key_Return);
  if (commit == 1 && field.hasFocus()) QTest::keyClick(&field, Qt::Key_Tab);
}

void Soak::AnswerGenerator(QDialog& d) {
  TFormGenerator& g = *FormGenerator;
  for (int s = R().Below(4); s > 0; --s) {
    if (R().Chance(0.35)) {
      const int kind = R().Weighted({1, 2, 2, 2, 2});
      Step(std::string("signal «") + model::SignalKindTexts[kind] + "»");
      input::ChooseItem(*g.ComboBox1, kind);
      continue;
    }
    struct Field {
      TEditFloat* field;
      double lo, hi;
    };
    std::vector<Field> fields;
    for (const Field& f : {Field{g.EditFloatM, -3, 3}, Field{g.EditFloatD, 0, 3},
                           Field{g.EditFloatA, 0, 3}, Field{g.EditFloatFr, 0.1, 10}})
      if (f.field->isEnabled()) fields.push_back(f);
    if (fields.empty()) continue;
    const Field& f = fields[R().Below(static_cast<int>(fields.size()))];
    TypeInto(*f.field, f.lo, f.hi);
  }
  Finish(d, g.Button1);
}

void Soak::AnswerCircuit(QDialog& d) {
  TFormCircuit& c = *FormCircuit;
  for (int s = R().Below(5); s > 0; --s) {
    if (R().Chance(0.35)) {
      const int page = R().Below(model::CircuitCount);
      Step("tab «Цепь " + std::to_string(page + 1) + "»");
      QTabBar* bar = c.PageControl1->tabBar();
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
      continue;
    }
    std::vector<TEditFloat*> fields;
    for (int i = 0; i < 16; ++i)
      if (model::CircuitFields[i].page == c.PageControl1->currentIndex())
        fields.push_back(c.Fields[i]);
    if (fields.empty()) continue;
    TEditFloat& f = *fields[R().Below(static_cast<int>(fields.size()))];
    TypeInto(f, f.Min(), f.Max());
  }
  Finish(d, c.Button1);
}

void Soak::AnswerSettings(QDialog& d) {
  TFormTurn& t = *FormTurn;
  // Mostly the shortest realization, so that the soak covers many actions, and now and then
  // the longer ones, the longest most.
  auto length = [this, &t] {
    const int i = R().Weighted({80, 5, 5, 10});
    Step("length «" + S(t.ComboBoxN->itemText(i)) + "»");
    input::ChooseItem(*t.ComboBoxN, i);
  };
  for (int s = R().Below(4); s > 0; --s) {
    switch (R().Weighted({2, 3, 2, 1, 1})) {
      case 0:
        length();
        break;
      case 1: {
        const int i = R().Below(4);
        Step("period «" + S(t.ComboBoxT->itemText(i)) + "»");
        input::ChooseItem(*t.ComboBoxT, i);
        break;
      }
      case 2: {
        QRadioButton* b = R().Chance(0.5) ? t.RadioButton1 : t.RadioButton2;
        Step("«" + S(b->text()) + "»");
        QTest::mouseClick(b, Qt::LeftButton);
        break;
      }
      case 3:
        Step("«Индикатор» clicked");
        QTest::mouseClick(t.CheckBox1, Qt::LeftButton);
        break;
      default:
        Step("«По умолчанию»");
        QTest::mouseClick(t.Button2, Qt::LeftButton);
        break;
    }
  }
  if (R().Chance(0.8)) length();
  Finish(d, t.Button1);
}

void Soak::AnswerDensityMeter(QDialog& d, TFormIPV& meter) {
  for (int s = R().Below(3); s > 0; --s) {
    if (R().Chance(0.5)) {
      TypeInto(*meter.EditFloatL, -5, 5);
    } else {
      TypeInto(*meter.EditFloatI, 0.001, 2);
    }
  }
  Finish(d, meter.Button1);
}

void Soak::AnswerCorrelometer(QDialog& d, TFormKor& meter) {
  for (int s = R().Below(3); s > 0; --s) {
    // Mostly delays that fit the realization, and now and then one that does not.
    if (R().Chance(0.75)) {
      TypeInto(*meter.EditFloatTau, 0, 0.2);
    } else {
      TypeInto(*meter.EditFloatTau, 0, 1000);
    }
  }
  Finish(d, meter.Button1);
}

void Soak::AnswerIndicator(QDialog& d, TFormInd& form) {
  for (const IndicatorView& v : Indicators()) {
    if (v.form == &form) {
      EXPECT_EQ(S(form.Edit1->text()), S(v.label->text()) + v.unit) << S(form.windowTitle());
    }
  }
  if (R().Chance(0.7)) {
    const int decimals = R().Below(6);
    Step("decimals «" + std::to_string(decimals) + "»");
    input::ChooseItem(*form.ComboBox1, decimals);
  }
  Finish(d, form.Button1);
}

void Soak::AnswerHistogram(QDialog& d) {
  TFormGist& g = *FormGist;
  for (int s = R().Below(4); s > 0; --s) {
    switch (R().Weighted({2, 3, 3})) {
      case 0:
        Step("«Авто» clicked");
        QTest::mouseClick(g.CheckBox1, Qt::LeftButton);
        break;
      case 1:
        if (g.EditFloat1->isEnabled()) TypeInto(*g.EditFloat1, 0.01, 1);
        break;
      default: {
        QRadioButton* buttons[] = {g.RadioButton1, g.RadioButton2, g.RadioButton3, g.RadioButton4};
        QRadioButton* b = buttons[R().Below(4)];
        Step("«" + S(b->text()) + "»");
        QTest::mouseClick(b, Qt::LeftButton);
        break;
      }
    }
  }
  gistDone_ = false;
  switch (R().Weighted({5, 2, 1, 1})) {
    case 0:
      Step("«Готово»");
      gistDone_ = true;
      QTest::mouseClick(g.Button1, Qt::LeftButton);
      break;
    case 1:
      Step("«Отмена»");
      QTest::mouseClick(g.Button2, Qt::LeftButton);
      break;
    case 2:
      Step("close box");
      d.close();
      break;
    default:
      Step("Escape");
      QTest::keyClick(d.focusWidget() != nullptr ? d.focusWidget() : &d, Qt::Key_Escape);
      break;
  }
}

void Soak::AnswerMessage(QMessageBox& box) {
  const std::string text = S(box.text());
  EXPECT_FALSE(NotANumberText(box.text())) << text;
  if (box.objectName() == QLatin1String(platform::ReplaceQuestionObjectName)) {
    const bool yes = R().Chance(0.5);
    Step(std::string("replace question: ") + (yes ? "Yes" : "No"));
    QTest::mouseClick(box.button(yes ? QMessageBox::Yes : QMessageBox::No), Qt::LeftButton);
    return;
  }
  happened_.messages.push_back(text);
  ++messages_;
  Step("message «" + text + "»");
  switch (R().Below(4)) {
    case 0:
      QTest::mouseClick(box.buttons().value(0), Qt::LeftButton);
      break;
    case 1:
      QTest::keyClick(&box, Qt::Key_Return);
      break;
    case 2:
      QTest::keyClick(&box, Qt::Key_Escape);
      break;
    default:
      box.close();
      break;
  }
}

// The save dialog: cancelled, or a name in the soak's folder chosen from a few, some of them
// with a wrong extension; the dialog's own question before replacing a file is answered too.
void Soak::AnswerSaveDialog(QFileDialog& dialog) {
  if (R().Chance(0.3)) {
    Step("save dialog cancelled");
    if (R().Chance(0.5)) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
      dialog.reject();
    }
    return;
  }
  const char* names[] = {"Рисунок.bmp", "chart.bmp", "bench.jpg", "dot.", "noext", "данные.csv"};
  const QString name = QString::fromUtf8(names[R().Below(6)]);
  const bool replace = R().Chance(0.5);
  Step("saved as «" + S(name) + "»");
  dialog.setDirectory(folder_.path());
  auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(edit, nullptr);
  edit->setText(name);
  // The dialog asks itself before it replaces a file (a message box of its own).
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || box->parent() != &dialog) return;
    poll.stop();
    Step(std::string("the dialog's replace question: ") + (replace ? "Yes" : "No"));
    box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
  });
  poll.start();
  auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
  QPushButton* save = buttons != nullptr ? buttons->button(QDialogButtonBox::Save) : nullptr;
  if (save != nullptr && save->isEnabled()) {
    QTest::mouseClick(save, Qt::LeftButton);
  } else {
    static_cast<QDialog&>(dialog).accept();
  }
  poll.stop();
  if (dialog.isVisible()) {
    Step("save dialog cancelled after all");
    dialog.reject();
  }
}

// The report window: a name typed now and then, graphs left out, the journal cleared
// seldom; then "Сохранить" (the save dialog is answered next; a report not written leaves the
// window open, and it is cancelled), "Отмена" or the close box. A report written is a PDF.
void Soak::AnswerReport(TFormReport& form) {
  if (R().Chance(0.3)) {
    const QString name = R().Chance(0.5) ? QString::fromUtf8("Петров П. П., РТ-") : "Smith, 7";
    Step("student «" + S(name) + "»");
    input::TypeInto(*form.EditStudent, name);
  }
  if (form.ListGraphs->count() > 0 && R().Chance(0.7)) {
    // A few graphs chosen, as a student does (all 50 make a report of 26 pages).
    const int keep = R().Below(4);
    Step("the newest " + std::to_string(keep) + " graphs chosen");
    for (int i = keep; i < form.ListGraphs->count(); ++i)
      form.ListGraphs->item(i)->setCheckState(Qt::Unchecked);
  }
  if (R().Chance(0.05)) {
    Step("«Очистить журнал»");
    QTest::mouseClick(form.ButtonClear, Qt::LeftButton);
    EXPECT_TRUE(report::Journal().Entries().empty());
  }
  const int answer = R().Weighted({6, 2, 1});
  if (answer == 0) {
    Step("«Сохранить»");
    QTest::mouseClick(form.ButtonSave, Qt::LeftButton);
    for (const QString& name : QDir(folder_.path()).entryList({"*.pdf"}, QDir::Files)) {
      QFile file(QDir(folder_.path()).filePath(name));
      EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-") << S(name);
    }
    if (!form.isVisible()) return;
  }
  // "Отмена", also after a report not written, which leaves the window open; or the close box.
  Step(answer == 2 ? "close box" : "«Отмена»");
  if (answer == 2) {
    form.close();
  } else {
    QTest::mouseClick(form.ButtonCancel, Qt::LeftButton);
  }
}

const QRegularExpression& ReadoutForm() {
  static const QRegularExpression form("^\\([^;]+; [^;]+\\)$");
  return form;
}

void Soak::AnswerViewer(TDiagramIncrease& w) {
  happened_.viewers.push_back(&w);
  happened_.viewerCaptions.push_back(w.windowTitle());
  CheckViewer(w);
  // The graph as its command built it: an oscillogram over the whole realization, the law
  // over a histogram exactly when one is chosen, and no other graph with a second curve.
  const TKeeper& base = *w.Diagram1->GetKeeper(0);
  EXPECT_TRUE(base.IsShown());
  if (IsOscilloscope(command_)) {
    EXPECT_EQ(base.GetCount(), expected_.n);
  }
  bool further = false;
  for (const TKeeper* k = base.GetNext(); k != nullptr; k = k->GetNext())
    further = further || k->IsShown();
  EXPECT_EQ(further, IsHistogram(command_) && !FormGist->RadioButton3->isChecked());
  for (int s = R().Below(7); s > 0 && w.isVisible(); --s) {
    ViewerStep(w);
    CheckViewer(w);
  }
  if (!w.isVisible()) return;
  // Every text of a redraw: tick labels, names, title.
  std::vector<CanvasCall> calls;
  w.Diagram1->Canvas()->SetRecorder(&calls);
  w.Diagram1->ShowDiagram();
  w.Diagram1->Canvas()->SetRecorder(nullptr);
  for (const CanvasCall& call : calls) {
    if (call.op == "TextOut") {
      EXPECT_FALSE(NotANumberText(call.text)) << S(call.text);
    }
  }

  const bool limitsShown = !w.UpDown1->isHidden();
  switch (R().Weighted({4, 2, 2, 1, limitsShown ? 1 : 0})) {
    case 0:
      Step("«Закрыть»");
      QTest::mouseClick(w.SpeedButtonClose, Qt::LeftButton);
      break;
    case 1:
      Step("menu «Файл» ▸ «Закрыть»");
      w.NClose->trigger();
      break;
    case 2:
      Step("Escape");
      QTest::keyClick(&w, Qt::Key_Escape);
      break;
    case 3:
      Step("closed by the window manager");
      w.close();
      break;
    default: {
      // Escape while an up-down is held: the press ends with the window, and the late
      // release of the mouse finds the up-down hidden.
      TUpDown* u = w.UpDown4;
      const QPoint p = u->ArrowRect(btNext).center();
      Step("UpDown4 held, then Escape, then the mouse let go");
      QTest::mousePress(u, Qt::LeftButton, {}, p);
      QTest::qWait(TUpDown::RepeatDelayMs + 50);
      QTest::keyClick(&w, Qt::Key_Escape);
      QTest::mouseRelease(u, Qt::LeftButton, {}, p);
      break;
    }
  }
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(w.Diagram1->IsLineEnabled()) << "series drawing left off after the window closed";
}

void Soak::ViewerStep(TDiagramIncrease& w) {
  TDiagram& c = *w.Diagram1;
  const bool limitsShown = !w.UpDown1->isHidden();
  const int xb = c.Get_xb_net(), xe = c.Get_xe_net(), yb = c.Get_yb_net(), ye = c.Get_ye_net();
  auto moveTo = [&c](QPoint p) {
    QMouseEvent move(QEvent::MouseMove, p, c.mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&c, &move);
  };
  TUpDown* upDowns[] = {w.UpDown1, w.UpDown2, w.UpDown3, w.UpDown4};
  switch (R().Weighted({4, 1, 1, 2, 2, limitsShown ? 6 : 0, limitsShown ? 1 : 0, 1, 2, 1, 1, 1})) {
    case 0: {
      const QPoint p(xb + 2 + R().Below(std::max(1, xe - xb - 3)),
                     yb + 2 + R().Below(std::max(1, ye - yb - 3)));
      Step("mouse over the net at " + std::to_string(p.x()) + "," + std::to_string(p.y()));
      moveTo(p);
      EXPECT_TRUE(ReadoutForm().match(w.Panel2->text()).hasMatch()) << S(w.Panel2->text());
      break;
    }
    case 1:
      Step("mouse outside the net");
      moveTo(QPoint(1, 1));
      EXPECT_TRUE(w.Panel2->text().isEmpty()) << S(w.Panel2->text());
      break;
    case 2: {
      const QPoint p((xb + xe) / 2, (yb + ye) / 2);
      Step("click on the chart");
      QTest::mouseClick(&c, Qt::LeftButton, {}, p);
      break;
    }
    case 3:
      ButtonOrMenu(w.SpeedButtonMeasure, w.NMeasure);
      break;
    case 4:
      ButtonOrMenu(w.SpeedButtonLimit, w.NLimit);
      break;
    case 5: {
      const int i = R().Below(4);
      const TUDBtnType arrow = R().Chance(0.5) ? btNext : btPrev;
      Step(S(upDowns[i]->objectName()) + (arrow == btNext ? " up/right" : " down/left"));
      QTest::mouseClick(upDowns[i], Qt::LeftButton, {}, upDowns[i]->ArrowRect(arrow).center());
      break;
    }
    case 6: {
      const int i = R().Below(4);
      const TUDBtnType arrow = R().Chance(0.5) ? btNext : btPrev;
      const int repeats = R().Below(3);
      const QPoint p = upDowns[i]->ArrowRect(arrow).center();
      Step(S(upDowns[i]->objectName()) + (arrow == btNext ? " up/right" : " down/left") +
           " held for " + std::to_string(repeats) + " repetitions");
      ++holds_;
      QTest::mousePress(upDowns[i], Qt::LeftButton, {}, p);
      QTest::qWait(TUpDown::RepeatDelayMs + repeats * TUpDown::RepeatIntervalMs + 30);
      QTest::mouseRelease(upDowns[i], Qt::LeftButton, {}, p);
      EXPECT_TRUE(c.IsLineEnabled()) << "series drawing left off after the release";
      break;
    }
    case 7:
      Step("tool button «Не показывать график при изменении пределов»");
      QTest::mouseClick(w.SpeedButton1, Qt::LeftButton);
      break;
    case 8:
      ButtonOrMenu(w.SpeedButtonRetLim, w.NRetLimit);
      EXPECT_EQ(c.GetXmin(), w.InitXmin);
      EXPECT_EQ(c.GetXmax(), w.InitXmax);
      EXPECT_EQ(c.GetYmin(), w.InitYmin);
      EXPECT_EQ(c.GetYmax(), w.InitYmax);
      break;
    case 9:
      ButtonOrMenu(w.SpeedButtonBmp, w.NBmp);
      break;
    case 10:
      ButtonOrMenu(w.SpeedButtonCopy, w.NCopy);
      break;
    default:
      Menu(w.NSaveData);
      break;
  }
}

// What the viewer shows: finite ranges inside their limits, a readout without "nan" or
// "inf", the cross-hair and the up-downs agreeing with their buttons and menu checks.
void Soak::CheckViewer(TDiagramIncrease& w) {
  const TDiagram& c = *w.Diagram1;
  for (double v :
       {c.GetXmin(), c.GetXmax(), c.GetYmin(), c.GetYmax(), c.GetLimitXmin(), c.GetLimitXmax(),
        c.GetLimitYmin(), c.GetLimitYmax(), w.InitXmin, w.InitXmax, w.InitYmin, w.InitYmax})
    EXPECT_TRUE(std::isfinite(v)) << S(w.windowTitle());
  EXPECT_LT(c.GetXmin(), c.GetXmax());
  EXPECT_LT(c.GetYmin(), c.GetYmax());
  EXPECT_LE(c.GetLimitXmin(), c.GetXmin());
  EXPECT_LE(c.GetXmax(), c.GetLimitXmax());
  EXPECT_LE(c.GetLimitYmin(), c.GetYmin());
  EXPECT_LE(c.GetYmax(), c.GetLimitYmax());
  EXPECT_FALSE(NotANumberText(w.Panel2->text())) << S(w.Panel2->text());
  EXPECT_EQ(c.GetShowFeeler(), w.SpeedButtonMeasure->isChecked());
  EXPECT_EQ(c.GetShowFeeler(), w.NMeasure->isChecked());
  const bool limitsShown = !w.UpDown1->isHidden();
  EXPECT_EQ(limitsShown, w.SpeedButtonLimit->isChecked());
  EXPECT_EQ(limitsShown, w.NLimit->isChecked());
  for (TUpDown* u : {w.UpDown2, w.UpDown3, w.UpDown4}) EXPECT_EQ(!u->isHidden(), limitsShown);
}

// ---------------------------------------------------------------------------------------
// Checks after every action

void Soak::Verify(Command c, const Before& before) {
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  for (QDialog* d : Form1->findChildren<QDialog*>())
    EXPECT_FALSE(d->isVisible()) << "still shown: " << S(d->windowTitle());
  EXPECT_EQ(platform::CurrentScreenCursor(), platform::ScreenCursor::Default);

  // Which commands run the model first, and which re-measure one reading.
  const bool runsFirst = before.expected.changed && (IsMeter(c) || IsOscilloscope(c) || IsKf(c) ||
                                                     (IsHistogram(c) && happened_.gistAccepted));
  const bool ran = c == Command::Run || runsFirst;
  const bool remeasured = IsMeter(c) && !before.expected.changed;
  bool runOk = false;
  if (ran) {
    const QString state = Form1->RunState();
    if (state == RunStateReady) {
      runOk = true;
      VerifySuccessfulRun(c);
    } else if (state == RunStateChanged) {
      VerifyFailedRun(before);
    } else {
      ADD_FAILURE() << "the run ended with the state «" << S(state) << "»";
    }
  } else {
    EXPECT_EQ(SamplesChecksum(before.expected.n), before.samples)
        << "the realizations changed without a run";
    if (remeasured) {
      VerifyRemeasure(c);
    } else if (happened_.settingsChanged) {
      expected_.changed = true;
      expected_.present = {};
      if (c == Command::Settings) {
        expected_.period = Periods[FormTurn->ComboBoxT->currentIndex()];
        expected_.n = Lengths[FormTurn->ComboBoxN->currentIndex()];
        EXPECT_EQ(FFT0Form->ShowProgress, FormTurn->CheckBox1->isChecked());
      }
    }
  }
  VerifyMessages(c, ran, runOk, remeasured);
  VerifyGraph(c);
  CheckBench();
}

// A run that succeeded: its statistics and readings are those of the stored realizations,
// the output is the characteristic of the input sample by sample, and the input lies where
// its kind can put it.
void Soak::VerifySuccessfulRun(Command c) {
  ++runs_;
  using namespace BenchReadings;
  const int n = expected_.n;
  const Fresh f = Recompute(n, expected_.period);
  EXPECT_TRUE(f.Finite());
  EXPECT_TRUE(SameBits(InputMean, f.inputMean));
  EXPECT_TRUE(SameBits(OutputMean, f.outputMean)) << OutputMean << " " << f.outputMean;
  EXPECT_TRUE(SameBits(OutputSko, f.outputSko)) << OutputSko << " " << f.outputSko;
  // The input histogram re-estimates the deviation after its run.
  if (c != Command::HistIn) {
    EXPECT_TRUE(SameBits(InputSko, f.inputSko)) << InputSko;
  }
  EXPECT_EQ(CorrScaleIn, 1.0);
  EXPECT_EQ(CorrScaleOut, 1.0);

  const double* x = SampleStore::InputSamples;
  const double* y = SampleStore::OutputSamples;
  const model::CircuitParams circuit = FormCircuit->Params();
  for (int i = 0; i < n; ++i) {
    if (!SameBits(y[i], model::Transfer(circuit, x[i]))) {
      ADD_FAILURE() << "output sample " << i << " is not the characteristic of input " << x[i];
      break;
    }
  }
  const model::GeneratorParams g = FormGenerator->Params();
  double reach = -1;  // how far from the mean the kind can go (< 0: no bound)
  if (g.kind == model::KindOff) reach = 0;
  if (g.kind == model::KindHarmonic) reach = g.A * (1 + 1e-12);
  if (g.kind == model::KindUniformNoise) reach = std::sqrt(3.0) * g.D * (1 + 1e-12);
  for (int i = 0; reach >= 0 && i < n; ++i) {
    if (!(std::fabs(x[i] - g.M) <= reach)) {
      ADD_FAILURE() << "input sample " << i << " = " << x[i] << " lies beyond its kind's reach";
      break;
    }
  }

  expected_.changed = false;
  const auto readings = f.Readings();
  for (int i = 0; i < 4; ++i) {
    expected_.present[i] = readings[i].has_value();
    expected_.value[i] = readings[i].value_or(instruments::NoReading);
  }
}

// A run that failed: its samples really give a statistic that is not a number, and the
// readings shown and stored are those of before.
void Soak::VerifyFailedRun(const Before& before) {
  ++failedRuns_;
  const Fresh f = Recompute(expected_.n, expected_.period);
  EXPECT_FALSE(f.Finite()) << "a run failed though its samples give finite statistics";
  const auto views = Indicators();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(views[i].label->text(), before.labels[i]);
    EXPECT_TRUE(SameBits(*views[i].reading, before.readings[i]));
  }
  expected_.changed = true;
}

// A meter closed while the realizations are current measures its side once more: the
// density meter with its level and interval, the correlometer without centring, with the
// last run's scale.
void Soak::VerifyRemeasure(Command c) {
  const bool output = c == Command::DensityOut || c == Command::CorrOut;
  const double* samples = output ? SampleStore::OutputSamples : SampleStore::InputSamples;
  const int n = expected_.n;
  if (c == Command::DensityIn || c == Command::DensityOut) {
    const TFormIPV& meter = output ? *FormIPVOut : *FormIPV;
    const int i = output ? TForm1::IpvOut : TForm1::IpvIn;
    expected_.present[i] = true;
    expected_.value[i] =
        instruments::DensityAt(samples, meter.EditFloatI->Val(), meter.EditFloatL->Val(), n);
  } else {
    const TFormKor& meter = output ? *FormKorOut : *FormKor;
    const int i = output ? TForm1::KorOut : TForm1::KorIn;
    const int lag = instruments::LagOf(meter.EditFloatTau->Val(), expected_.period);
    const std::optional<double> v = instruments::CorrelationAt(samples, n, lag, 0.0, 1.0);
    expected_.present[i] = v.has_value();
    expected_.value[i] = v.value_or(instruments::NoReading);
  }
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// Every message is one the program may show for what was done, none reads "nan" or "inf",
// and the ones a run or a re-measurement owes are there.
void Soak::VerifyMessages(Command c, bool ran, bool runOk, bool remeasured) {
  const char* fieldMessages[] = {editfloat::MsgBelowMinCorrected, editfloat::MsgAboveMaxCorrected,
                                 editfloat::MsgNotNumberCorrected};
  const bool editing =
      c == Command::Generator || c == Command::Circuit || IsMeter(c) || IsHistogram(c);
  const bool saving =
      c == Command::SaveBench || c == Command::SaveReport || !happened_.viewers.empty();
  int noDelay = 0, failed = 0;
  for (const std::string& m : happened_.messages) {
    bool known = false;
    for (const char* f : fieldMessages) known = known || (editing && m == f);
    if (Contains(m, "не умещается в реализации") && (ran || remeasured)) {
      known = true;
      ++noDelay;
    }
    if (Contains(m, "Расчёт прерван") && ran) {
      known = true;
      ++failed;
    }
    if (Contains(m, "Формат файлов") && Contains(m, "Произведена коррекция.") && saving)
      known = true;
    if (Contains(m, "График не построен") && IsKf(c)) known = true;
    EXPECT_TRUE(known) << "a message nobody expects: «" << m << "»";
  }
  if (ran && runOk) {
    int missing = 0;
    for (int i : {TForm1::KorIn, TForm1::KorOut}) missing += expected_.present[i] ? 0 : 1;
    EXPECT_EQ(noDelay, missing) << "each correlometer without a reading says why, once";
  }
  if (ran) {
    EXPECT_EQ(failed, runOk ? 0 : 1) << "a failed run says so, once";
  }
  if (remeasured && (c == Command::CorrIn || c == Command::CorrOut)) {
    const int i = c == Command::CorrIn ? TForm1::KorIn : TForm1::KorOut;
    EXPECT_EQ(noDelay, expected_.present[i] ? 0 : 1);
  }
}

// A graph command shows its graph in its viewer exactly when there is something to show.
void Soak::VerifyGraph(Command c) {
  const bool current = Form1->RunState() == RunStateReady;
  TDiagramIncrease* viewer = nullptr;
  const char* title = nullptr;
  bool shown = false;
  bool refused = false;
  for (const std::string& m : happened_.messages) refused = refused || Contains(m, "не построен");
  switch (c) {
    case Command::OscIn:
    case Command::OscOut:
      viewer = DiagramIncrease;
      title = c == Command::OscIn ? "Осциллограф: сигнал на входе цепи"
                                  : "Осциллограф: сигнал на выходе цепи";
      shown = current;
      break;
    case Command::HistIn:
    case Command::HistOut:
      viewer = DiagramIncreaseAnalysis;
      title = c == Command::HistIn ? "Гистограмма вход" : "Гистограмма выход";
      shown = current && happened_.gistAccepted;
      break;
    case Command::KfIn:
    case Command::KfOut:
      viewer = DiagramIncreaseAnalysis;
      title = c == Command::KfIn ? "Корреляционная функция на входе"
                                 : "Корреляционная функция на выходе";
      shown = current && !refused;
      break;
    case Command::Characteristic:
      viewer = DiagramIncreaseAnalysis;
      title = "Характеристика цепи";
      shown = true;
      break;
    default:
      break;
  }
  ASSERT_EQ(happened_.viewers.size(), shown ? 1u : 0u);
  if (shown) {
    EXPECT_EQ(happened_.viewers[0], viewer);
    EXPECT_EQ(S(happened_.viewerCaptions[0]), title);
    // The graph went into the journal as its window closed.
    ASSERT_FALSE(report::Journal().Entries().empty());
    EXPECT_EQ(S(report::Journal().Entries().back().title), title);
  }
  EXPECT_LE(report::Journal().Entries().size(), std::size_t{report::JournalCapacity});
}

// The bench as the account says it must be.
void Soak::CheckBench() {
  const TForm1& f = *Form1;
  EXPECT_EQ(S(f.RunState()), expected_.changed ? RunStateChanged : RunStateReady);
  EXPECT_EQ(model::SampleCount, expected_.n);
  EXPECT_EQ(FormGenerator->SamplingPeriod, expected_.period);

  const auto views = Indicators();
  QStringList texts;
  for (int i = 0; i < 4; ++i) {
    const IndicatorView& v = views[i];
    const std::string name = S(v.label->objectName());
    texts << v.label->text() << v.label->toolTip() << v.image->GetHint();
    EXPECT_EQ(v.label->toolTip(), v.label->text()) << name;
    if (expected_.present[i]) {
      EXPECT_TRUE(SameBits(*v.reading, expected_.value[i]))
          << name << ": stored " << *v.reading << ", computed " << expected_.value[i];
      EXPECT_EQ(S(v.label->text()),
                FormatFloatComma(v.form->ComboBox1->currentIndex(), expected_.value[i]))
          << name;
    } else {
      EXPECT_TRUE(v.label->text().isEmpty()) << name << " shows «" << S(v.label->text()) << "»";
    }
    if (i >= TForm1::KorIn && !v.label->text().isEmpty()) {
      EXPECT_EQ(S(v.image->GetHint()), v.prefix + S(v.label->text())) << name;
    }
  }
  for (const TImage* image : f.Panel1->findChildren<TImage*>()) texts << image->GetHint();
  for (int i = 0; i < 3; ++i) texts << f.PanelText(i);
  {
    using namespace BenchReadings;
    for (double v : {InputMean, OutputMean, InputSko, OutputSko, CorrIn, CorrOut, CorrScaleIn,
                     CorrScaleOut, DensityIn, DensityOut})
      EXPECT_TRUE(std::isfinite(v)) << "a statistic of the bench is not a number";
  }
  for (const QString& t : texts) EXPECT_FALSE(NotANumberText(t)) << S(t);

  // The scale: the status text and the checked item of both radio groups.
  const ScaleChoice& s = Scales[expected_.scale];
  if (s.status != nullptr) {
    EXPECT_EQ(S(f.PanelText(0)), s.status);
    EXPECT_NEAR(f.Panel1->width(), 952.0 * s.num / s.den, 1.0);
  } else {
    EXPECT_TRUE(QRegularExpression("^Масштаб: \\d+%$").match(f.PanelText(0)).hasMatch())
        << S(f.PanelText(0));
  }
  EXPECT_TRUE((f.*s.main)->isChecked());
  EXPECT_TRUE((f.*s.popup)->isChecked());

  // Every entry field holds a finite value within its limits and, its window closed, shows
  // exactly that value.
  for (const TEditFloat* e : Form1->findChildren<TEditFloat*>()) {
    const std::string name = S(e->window()->windowTitle()) + " / " + FieldName(*e);
    EXPECT_TRUE(std::isfinite(e->Val())) << name;
    EXPECT_LE(e->Min(), e->Val()) << name;
    EXPECT_LE(e->Val(), e->Max()) << name;
    EXPECT_FALSE(NotANumberText(e->text())) << name;
    const std::string shown =
        e->GFormat() ? editfloat::FormatG(e->Val()) : editfloat::FormatGeneral(e->Val());
    EXPECT_EQ(e->TextUtf8(), shown) << name;
  }
}

void RunSoak(std::uint64_t seed, long actions) {
  const bool echo = EnvNumber("LAB_SOAK_LOG", 0) != 0;
  const int hang = static_cast<int>(EnvNumber("LAB_SOAK_HANG", 120));
  std::printf("soak: seed %llu, %ld actions\n", static_cast<unsigned long long>(seed), actions);
  std::fflush(stdout);
  Soak soak(seed, echo, hang);
  soak.Run(actions);
}

}  // namespace

TEST(Soak, RandomActions) {
  RunSoak(EnvNumber("LAB_SOAK_SEED", 1),
          static_cast<long>(EnvNumber("LAB_SOAK_ACTIONS", DefaultActions)));
}

// Seeds that found a fault, run up to the action that showed it.

// Circuit 6 with b = 1e-306 typed as a long decimal (action 1528): its characteristic
// (action 1886) was bound over an interval that overflows, and the chart refused it with a
// message.
TEST(Soak, Seed4CharacteristicOfAnAlmostFlatSmoothLimiter) {
  RunSoak(4, 1886);
}
