#include "app/GraphJournal.h"

#include <QBuffer>
#include <QComboBox>
#include <QHash>
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

// The PNG writer's quality: the fastest compression (zlib level 1), which still keeps a chart
// small: flat colours and thin lines.
constexpr int PngQuality = 80;

// The picture with a colour table when it has at most 256 colours, as a chart drawn with
// aliased lines and a few text shades has: a quarter of the bytes to compress and to decode
// again, and PNG stores it without row filters. A null image when it has more colours.
QImage Indexed(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QImage out(rgb.size(), QImage::Format_Indexed8);
  if (out.isNull()) return {};
  QList<QRgb> table;
  QHash<QRgb, uchar> index;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* to = out.scanLine(y);
    QRgb last = 0;
    uchar lastIndex = 0;
    bool any = false;
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb c = from[x];
      if (!any || c != last) {
        auto it = index.constFind(c);
        if (it == index.constEnd()) {
          if (table.size() == 256) return {};
          it = index.insert(c, static_cast<uchar>(table.size()));
          table.push_back(c);
        }
        last = c;
        lastIndex = *it;
        any = true;
      }
      to[x] = lastIndex;
    }
  }
  out.setColorTable(table);
  return out;
}

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
    const QImage indexed = Indexed(picture);
    if (!writer.write(indexed.isNull() ? picture : indexed)) return;
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
  s.generator = FormGenerator->Texts();
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
  return QString::fromStdString(GraphSettingsLine(FormGenerator->CurrentDescription(), s.page,
                                                  s.circuit, s.period, s.count, extra));
}

}  // namespace report
