#include "app/Unitreport.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/Editfloatunit.h"
#include "app/GraphJournal.h"
#include "app/Unit1.h"
#include "instruments/Correlometer.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Messages.h"
#include "model/Run.h"
#include "model/Unitgenerator.h"
#include "platform/Cursor.h"
#include "platform/FileWrite.h"
#include "platform/Image.h"
#include "platform/Modal.h"
#include "platform/SaveDialog.h"

namespace {

// The student's name and group, from one opening of the window to the next.
QString StudentLine;

int Lag(const TFormKor& meter) {
  return instruments::LagOf(meter.EditFloatTau->Val(), FormGenerator->SamplingPeriod);
}

// The readings as the bench shows them now.
report::Readings ReadingsOfBench() {
  using namespace BenchReadings;
  report::Readings r;
  const QLabel* labels[] = {Form1->LabelIpvIn, Form1->LabelKorIn, Form1->LabelIpvOut,
                            Form1->LabelKorOut};
  for (int i = 0; i < 4; ++i) r.shown[i] = labels[i]->text().toStdString();
  r.levelIn = FormIPV->EditFloatL->TextUtf8();
  r.intervalIn = FormIPV->EditFloatI->TextUtf8();
  r.tauIn = FormKor->EditFloatTau->TextUtf8();
  r.lagIn = Lag(*FormKor);
  if (FormIPVOut != nullptr) {
    r.levelOut = FormIPVOut->EditFloatL->TextUtf8();
    r.intervalOut = FormIPVOut->EditFloatI->TextUtf8();
  }
  if (FormKorOut != nullptr) {
    r.tauOut = FormKorOut->EditFloatTau->TextUtf8();
    r.lagOut = Lag(*FormKorOut);
  }
  r.inputMean = InputMean;
  r.inputSko = InputSko;
  r.outputMean = OutputMean;
  r.outputSko = OutputSko;
  r.inputSkoReestimated = InputSkoReestimated;
  return r;
}

// Whether the readings belong to the settings.
report::RunStatus RunStatusOfBench() {
  if (!BenchReadings::RunMade) return report::RunStatus::NoRun;
  if (Form1->RunState() == RunStateChanged) return report::RunStatus::Changed;
  return report::RunStatus::Current;
}

}  // namespace

TFormReport::TFormReport(QWidget* parent)
    : platform::Dialog(parent, QString::fromUtf8("Отчёт"), 380, 336,
                       platform::FrameButtons::CloseOnly) {
  setObjectName("FormReport");
  GroupBox1 = new QGroupBox(QString::fromUtf8(" Студент, группа "), this);
  GroupBox1->setGeometry(8, 4, 364, 52);
  EditStudent = new QLineEdit(GroupBox1);
  EditStudent->setObjectName("EditStudent");
  EditStudent->setGeometry(10, 21, 344, 21);
  EditStudent->setMaxLength(200);

  GroupBox2 = new QGroupBox(QString::fromUtf8(" Графики "), this);
  GroupBox2->setGeometry(8, 62, 364, 230);
  ListGraphs = new QListWidget(GroupBox2);
  ListGraphs->setObjectName("ListGraphs");
  ListGraphs->setGeometry(10, 21, 344, 166);
  ButtonClear = new QPushButton(QString::fromUtf8("Очистить журнал"), GroupBox2);
  ButtonClear->setGeometry(10, 195, 120, 25);

  ButtonSave = new QPushButton(QString::fromUtf8("Сохранить"), this);
  ButtonSave->setGeometry(196, 302, 84, 27);
  ButtonCancel = new QPushButton(QString::fromUtf8("Отмена"), this);
  ButtonCancel->setGeometry(288, 302, 84, 27);
  setTabOrder(EditStudent, ListGraphs);
  setTabOrder(ListGraphs, ButtonClear);
  setTabOrder(ButtonClear, ButtonSave);
  setTabOrder(ButtonSave, ButtonCancel);

  connect(ButtonClear, &QPushButton::clicked, this, &TFormReport::ButtonClearClick);
  connect(ButtonSave, &QPushButton::clicked, this, &TFormReport::ButtonSaveClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &TFormReport::ButtonCancelClick);
}

void TFormReport::FormShow() {
  EditStudent->setText(StudentLine);
  FillList();
  EditStudent->setFocus();
}

void TFormReport::FormClose() {
  StudentLine = EditStudent->text();
}

void TFormReport::FillList() {
  ListGraphs->clear();
  const auto& entries = report::Journal().Entries();
  for (int i = static_cast<int>(entries.size()) - 1; i >= 0; --i) {
    auto* item = new QListWidgetItem(entries[i].time.toString("HH:mm:ss") + QStringLiteral("  ") +
                                     entries[i].title);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    item->setData(Qt::UserRole, i);
    ListGraphs->addItem(item);
  }
  ButtonClear->setEnabled(!entries.empty());
}

void TFormReport::ButtonClearClick() {
  report::Journal().Clear();
  FillList();
}

void TFormReport::ButtonCancelClick() {
  reject();
}

void TFormReport::ButtonSaveClick() {
  platform::SaveFileRequest request;
  request.filter = QStringLiteral("Документы PDF (*.pdf)|*.pdf");
  request.defaultExt = QStringLiteral("pdf");
  request.initialName = QStringLiteral("Отчёт.pdf");
  request.overwritePrompt = true;
  QString name;
  if (!platform::ChooseSaveFileName(this, request, &name)) return;
  if (SaveReport(name)) accept();
}

bool TFormReport::SaveReport(const QString& FileName) {
  QString name = FileName;
  if (!platform::CorrectSaveName(this, name, QStringLiteral(".pdf"))) return false;
  platform::SetScreenCursor(platform::ScreenCursor::HourGlass);
  const QByteArray pdf = report::ReportPdf(Content());
  QString error;
  const bool written = !pdf.isEmpty() && platform::WriteFileReplacing(pdf, name, &error);
  platform::SetScreenCursor(platform::ScreenCursor::Default);
  if (written) return true;
  lab::ShowMessage(pdf.isEmpty() ? "Не удаётся составить отчёт." : error.toStdString());
  return false;
}

report::ReportContent TFormReport::Content() const {
  report::ReportContent c;
  c.title = Form1->windowTitle();
  c.student = EditStudent->text();
  c.date = QDateTime::currentDateTime();
  c.schematic = Form1->Image1->Picture().Image();
  c.settings = report::SettingsTable(report::CurrentModelSettings());
  c.readings = report::ReadingsTable(ReadingsOfBench());
  c.runStatus = QString::fromStdString(report::RunStatusText(RunStatusOfBench()));
  const auto& entries = report::Journal().Entries();
  for (int row = 0; row < ListGraphs->count(); ++row) {
    const QListWidgetItem* item = ListGraphs->item(row);
    const int index = item->data(Qt::UserRole).toInt();
    if (item->checkState() == Qt::Checked && index >= 0 && index < static_cast<int>(entries.size()))
      c.graphs.push_back(&entries[index]);
  }
  return c;
}

void ShowReportWindow() {
  TFormReport form(Form1);
  platform::ShowModal(form);
}
