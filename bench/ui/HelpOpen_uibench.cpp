// Opening the user guide with F1, until the window is shown with its page laid out and
// painted: "first" makes the window (its contents read from every page) and shows it at a
// section, as the first F1 of a session does; "again" shows the window that is there at
// another page, as every later F1 does. The reference is a bare text browser made, loading
// the same page and painted: the least any help window has to do.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextBrowser>
#include <QUrl>
#include <utility>

#include "app/Helpunit.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "bench/RatioReporter.h"

namespace {

void EnsureBench() {
  if (Form1 != nullptr) return;
  ShowSplashAtStart = false;
  CreateStartupWindows();
  Form1->show();
  Form1->FormPaint();
}

void Painted(QWidget& w) {
  QApplication::processEvents();
  w.repaint();
}

void Reference(benchmark::State& state) {
  for (auto _ : state) {
    QTextBrowser browser;
    browser.resize(600, 680);
    browser.setSource(QUrl(QStringLiteral("qrc:/guide/generator.html")));
    browser.show();
    Painted(browser);
  }
}

void First(benchmark::State& state) {
  EnsureBench();
  for (auto _ : state) {
    delete HelpForm;
    HelpForm = nullptr;
    ShowGuide(QStringLiteral("generator.html"));
    Painted(*HelpForm);
  }
  HelpForm->close();
}

void Again(benchmark::State& state) {
  EnsureBench();
  ShowGuide(QStringLiteral("index.html"));
  bool other = false;
  for (auto _ : state) {
    ShowGuide(QString::fromLatin1(other ? "theory.html#laws" : "generator.html"));
    Painted(*HelpForm);
    other = !other;
  }
  HelpForm->close();
}

int Register() {
  benchratio::SetReference("HelpOpen", "text-browser");
  using Body = void (*)(benchmark::State&);
  const std::pair<const char*, Body> variants[] = {
      {"HelpOpen/text-browser", Reference}, {"HelpOpen/first", First}, {"HelpOpen/again", Again}};
  for (const auto& [name, body] : variants)
    benchmark::RegisterBenchmark(name, body)->Unit(benchmark::kMillisecond)->UseRealTime();
  return 0;
}
const int registered = Register();

}  // namespace
