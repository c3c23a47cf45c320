#include "app/GraphJournal.h"

#include <QBuffer>
#include <QComboBox>
#include <QImageWriter>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>
#include <cmath>
#include <new>

#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "chart/Diagram.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"

namespace report {
namespace {

// The PNG writer's quality: fast compression that still keeps a chart small (flat colours
// and thin lines), about 100 to 300 kB for a maximized window.
constexpr int PngQuality = 80;

}  // namespace

void GraphJournal::Add(JournalEntry entry) {
  entries_.push_back(std::move(entry));
  while (entries_.size() > static_cast<std::size_t>(JournalCapacity)) entries_.pop_front();
}

GraphJournal& Journal() {
  static GraphJournal journal;
  return journal;
}

int JournalDensity(const TDiagramIncrease& window) {
  return std::max(2, static_cast<int>(std::lround(2 * window.devicePixelRatioF())));
}

void RecordGraph(TDiagramIncrease& window, const QString& settings) {
  try {
    TDiagram& chart = *window.Diagram1;
    const QImage picture = chart.PictureAtDensity(JournalDensity(window));
    if (picture.isNull()) return;
    JournalEntry e;
    e.title = chart.GetNameDiagram();
    e.settings = settings;
    e.time = QDateTime::currentDateTime();
    e.size = picture.size();
    QBuffer buffer(&e.png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(PngQuality);
    if (!writer.write(picture)) return;
    buffer.close();
    Journal().Add(std::move(e));
  } catch (const std::bad_alloc&) {
    // The journal is a record beside the command: without memory for the picture the graph
    // is simply not kept.
  }
}

ModelSettings CurrentModelSettings() {
  ModelSettings s;
  s.kind = FormGenerator->ComboBox1->currentIndex();
  s.generator = {FormGenerator->EditFloatA->TextUtf8(), FormGenerator->EditFloatFr->TextUtf8(),
                 FormGenerator->EditFloatD->TextUtf8(), FormGenerator->EditFloatM->TextUtf8()};
  s.page = FormCircuit->PageControl1->currentIndex();
  for (int i = 0; i < 16; ++i) s.circuit[i] = FormCircuit->Fields[i]->TextUtf8();
  s.period = FormGenerator->SamplingPeriod;
  s.count = model::SampleCount;
  s.method = CorrelationMethodName();
  return s;
}

std::string CorrelationMethodName() {
  const QRadioButton* chosen =
      FormTurn->CorrelationByFft() ? FormTurn->RadioButton1 : FormTurn->RadioButton2;
  return chosen->text().toStdString();
}

QString GraphSettings(const std::string& extra) {
  const ModelSettings s = CurrentModelSettings();
  // The description as the generator window composes it at its close, from the fields now.
  const std::string generator = model::DescribeGenerator(
      FormGenerator->windowTitle().toStdString(), s.kind, s.generator, FormGenerator->Description);
  return QString::fromStdString(
      GraphSettingsLine(generator, s.page, s.circuit, s.period, s.count, extra));
}

}  // namespace report
