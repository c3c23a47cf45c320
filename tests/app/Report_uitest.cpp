// "Сохранить отчёт..." from the bench: graphs closed into the journal, the report written
// through its window and the save dialog, read back with pdftotext and pdfinfo; a write the
// system refuses.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/GraphJournal.h"
#include "app/Unitreport.h"
#include "instruments/Unitgist.h"
#include "tests/support/GraphBench.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SaveDialogScript.h"
#include "tests/support/WidgetInput.h"

using namespace graphtest;

namespace {

std::string Output(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  EXPECT_TRUE(p.waitForFinished(60000)) << S(program) << " did not run";
  return p.readAllStandardOutput().toStdString();
}

class Report : public GraphBench {
 protected:
  void SetUp() override {
    GraphBench::SetUp();
    report::Journal().Clear();
  }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(Report, TwoGraphsAndTheReadingsAsTheBenchShowsThem) {
  // The command is the third item of "Файл", after the two scheme items, without an icon.
  EXPECT_EQ(Form1->menuBar()->actions().value(0)->menu()->actions(),
            (QList<QAction*>{Form1->NSaveScheme, Form1->NCopyScheme, Form1->NReport}));
  EXPECT_TRUE(Form1->NReport->icon().isNull());
  FormGenerator->ComboBox1->setCurrentIndex(model::KindGaussianNoise);
  Form1->SpeedButton3Click();
  Capture(*DiagramIncrease, [] { Form1->Image4Click(); });
  {
    // The input histogram re-estimates the input deviation of Gaussian noise.
    ModalScript histogram;
    histogram.Then([](QDialog&) {
      FormGist->CheckBox1->setChecked(true);
      FormGist->RadioButton3->setChecked(true);
      QTest::mouseClick(FormGist->Button1, Qt::LeftButton);
    });
    histogram.Then([](QDialog& d) { d.close(); });
    Form1->N30Click();
  }
  EXPECT_TRUE(BenchReadings::InputSkoReestimated);
  const auto& journal = report::Journal().Entries();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].size, DiagramIncrease->Diagram1->size() * 2);

  const QString student = QString::fromUtf8("Иванова А. Б., группа РТ-21");
  MessageRecorder rec;
  ModalScript script;
  std::vector<QString> listed;
  script.Then([&](QDialog& d) {
    auto& form = dynamic_cast<TFormReport&>(d);
    for (int i = 0; i < form.ListGraphs->count(); ++i) {
      EXPECT_EQ(form.ListGraphs->item(i)->checkState(), Qt::Checked);
      listed.push_back(form.ListGraphs->item(i)->text().mid(10));
    }
    input::TypeInto(*form.EditStudent, student);
    QTest::mouseClick(form.ButtonSave, Qt::LeftButton);
  });
  SaveOffer offer;
  script.Then(SaveAsOffered(dir.path(), "отчёт.txt", offer));
  // The line is kept for the next opening.
  script.Then([&](QDialog& d) {
    EXPECT_EQ(dynamic_cast<TFormReport&>(d).EditStudent->text(), student);
    d.reject();
  });
  Form1->NReport->trigger();
  Form1->NReport->trigger();

  EXPECT_EQ(S(offer.name), "Отчёт.pdf");
  EXPECT_EQ(offer.filters, QStringList{"Документы PDF (*.pdf)"});
  EXPECT_EQ(S(offer.suffix), "pdf");
  EXPECT_TRUE(offer.asksBeforeReplacing);
  EXPECT_EQ(listed,
            (std::vector<QString>{"Гистограмма вход", "Осциллограф: сигнал на входе цепи"}));
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0], S(dir.filePath("отчёт.txt")) +
                              ":\nФормат файлов .txt не поддерживается.Произведена коррекция.");
  const QString pdf = dir.filePath("отчёт.pdf");
  // The text with every run of blanks and line breaks as one blank.
  const std::string text =
      S(QString::fromStdString(Output("pdftotext", {"-layout", pdf, "-"})).simplified());
  const std::string info = Output("pdfinfo", {pdf});
  EXPECT_TRUE(QString::fromStdString(info).contains(QRegularExpression("\nPages: +2\n"))) << info;
  for (const std::string& expected :
       {std::string(BenchTitle).substr(0, 40), S(student), std::string("Гауссов шум"),
        std::string("Настройки модели"), std::string("Страница 2 из 2"),
        S(Form1->LabelIpvIn->text()) + " 1/мВ", S(Form1->LabelKorIn->text()) + " мВ*мВ",
        S(Form1->LabelIpvOut->text()) + " 1/мВ", S(Form1->LabelKorOut->text()) + " мВ*мВ",
        std::string("оценено гистограммой"), std::string("(авто). Наложить: Только гистограмма.")})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  // The graphs newest first.
  const auto histogram = text.find("Гистограмма вход");
  const auto osc = text.find("Осциллограф: сигнал на входе цепи");
  EXPECT_LT(histogram, osc);
  // Every font of the document is embedded (the column "emb").
  const QStringList fonts = QString::fromStdString(Output("pdffonts", {pdf})).split('\n');
  ASSERT_GT(fonts.size(), 3);
  for (const QString& line : fonts.mid(2, fonts.size() - 3)) {
    const QStringList f = line.split(' ', Qt::SkipEmptyParts);
    EXPECT_EQ(f.value(f.size() - 5), "yes") << S(line);
  }
}

TEST_F(Report, AWriteTheSystemRefusesIsReportedAndTheWindowStays) {
  const QString target = dir.filePath("нет такой папки/Отчёт.pdf");
  MessageRecorder rec;
  ModalScript script;
  bool written = true;
  script.Then([&](QDialog& d) {
    written = dynamic_cast<TFormReport&>(d).SaveReport(target);
    EXPECT_TRUE(d.isVisible());
    d.reject();
  });
  Form1->NReport->trigger();
  EXPECT_FALSE(written);
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0], "Не удаётся записать файл " + S(target) + ": папка не существует.");
  EXPECT_FALSE(QFileInfo::exists(target));
}
