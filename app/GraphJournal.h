#pragma once
// The journal of graphs: what the student saw in each graph window, kept from the moment the
// window closed until the program ends, for the lab report. The series' arrays are rewritten
// by later commands, so the picture is what is kept: the chart drawn anew at twice the
// window's pixel density (the same ranges, layout and overlays, no cross-hair), compressed as
// PNG in memory. At most JournalCapacity graphs, the oldest going first; nothing of it is
// written to disk.
#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>
#include <deque>
#include <string>

#include "app/ReportText.h"

class TDiagramIncrease;

namespace report {

struct JournalEntry {
  QString title;     // the chart's title, the window's caption
  QString settings;  // what the graph was built with, one line
  QDateTime time;    // when its window closed
  QByteArray png;    // the picture
  QSize size;        // the picture's size in pixels
};

constexpr int JournalCapacity = 50;

class GraphJournal {
 public:
  // Appends an entry; beyond the capacity the oldest goes.
  void Add(JournalEntry entry);
  void Clear() { entries_.clear(); }
  // Oldest first.
  const std::deque<JournalEntry>& Entries() const { return entries_; }

 private:
  std::deque<JournalEntry> entries_;
};

// The program's journal.
GraphJournal& Journal();

// The picture of a closing graph window: its chart drawn again at this many pixels per window
// pixel (twice the window's own pixel density).
int JournalDensity(const TDiagramIncrease& window);

// Puts the graph of a chart viewer window into the journal as the window closes: its picture,
// its title, `settings` and the time. A picture there is no memory for is not kept.
void RecordGraph(TDiagramIncrease& window, const QString& settings);

// ---- The model as the windows hold it now --------------------------------------------------

ModelSettings CurrentModelSettings();
// The correlation method chosen in the model settings, as its button names it.
std::string CorrelationMethodName();
// The settings line of a graph built now: the generator's description, the circuit, T and N,
// then `extra` (see GraphSettingsLine).
QString GraphSettings(const std::string& extra = {});

}  // namespace report
