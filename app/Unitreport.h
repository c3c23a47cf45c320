#pragma once
// TFormReport: "Сохранить отчёт...": the student's name and group, the journal of graphs as
// a check list (newest first, all checked), "Очистить журнал", and "Сохранить", which asks
// for a PDF file name and writes the lab report: the settings of the current model, the
// readings as the bench holds them and the chosen graphs.
#include <QString>

#include "app/ReportPdf.h"
#include "platform/Forms.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class TFormReport : public platform::Dialog {
  Q_OBJECT

 public:
  explicit TFormReport(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;       // " Студент, группа "
  QLineEdit* EditStudent;     // kept while the program runs, never stored
  QGroupBox* GroupBox2;       // " Графики "
  QListWidget* ListGraphs;    // the journal, newest first; the item data is the entry's index
  QPushButton* ButtonClear;   // "Очистить журнал"
  QPushButton* ButtonSave;    // "Сохранить"
  QPushButton* ButtonCancel;  // "Отмена"

  // Handlers.
  void ButtonClearClick();
  // Asks for a file name ("Отчёт.pdf" offered), then SaveReport; closes the window once the
  // report is written.
  void ButtonSaveClick();
  void ButtonCancelClick();

  // Writes the report to the file. Another extension is corrected to ".pdf" with a message,
  // asking the overwrite question when the corrected file exists (declining writes nothing).
  // The file is replaced only once written in full; a failure is reported in a message naming
  // the file and the reason, and an existing file stays as it was. True when written.
  bool SaveReport(const QString& FileName);

  // What the report holds now: the bench's settings and readings and the checked graphs.
  report::ReportContent Content() const;

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  void FillList();
};

// The command "Сохранить отчёт...": the window, shown modally.
void ShowReportWindow();
