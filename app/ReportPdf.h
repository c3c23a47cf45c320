#pragma once
// The lab report as a PDF document: A4 pages in the program's serif font (embedded), a header
// with the work's title, the student and the date, the bench's schematic, the tables of the
// settings and of the readings, then the chosen graphs two to a page, each with its title,
// its settings line and its picture; page numbers in the footer.
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <vector>

#include "app/GraphJournal.h"
#include "app/ReportText.h"

namespace report {

struct ReportContent {
  QString title;    // the work's title
  QString student;  // name and group as typed
  QDateTime date;
  QImage schematic;
  std::vector<Row> settings;  // two cells a row
  std::vector<Row> readings;  // three cells a row
  QString runStatus;          // said above the readings when not empty
  // The graphs in the order they are printed; they must outlive the call.
  std::vector<const JournalEntry*> graphs;
};

// The document's bytes; empty when the writer could not be started. A picture of the journal
// that cannot be decoded leaves its place empty.
QByteArray ReportPdf(const ReportContent& content);

}  // namespace report
