// "Сохранить данные..." of the chart viewer driven from the bench: the save dialog, the files
// of an oscillogram, a histogram with its law and a correlation function read back as a
// spreadsheet reads them, the corrected extension and a write the system refuses.
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <vector>

#include "instruments/Histogram.h"
#include "instruments/Unitgist.h"
#include "model/Run.h"
#include "model/Unitturn.h"
#include "platform/SaveDialog.h"
#include "tests/support/Files.h"
#include "tests/support/GraphBench.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SaveDialogScript.h"

using namespace graphtest;

namespace {

// A data file as a spreadsheet reads it.
struct DataFile {
  bool bom = false;
  bool crlfOnly = false;  // every line ends in CR LF
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  std::size_t at = 0;
  for (;;) {
    const std::size_t next = line.find(';', at);
    out.push_back(line.substr(at, next - at));
    if (next == std::string::npos) return out;
    at = next + 1;
  }
}

DataFile Read(const QString& path) {
  DataFile f;
  std::string text = FileBytes(path).toStdString();
  EXPECT_FALSE(text.empty()) << S(path);
  f.bom = text.rfind("\xEF\xBB\xBF", 0) == 0;
  if (f.bom) text.erase(0, 3);
  std::size_t lf = 0, crlf = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') ++lf, crlf += i > 0 && text[i - 1] == '\r';
  f.crlfOnly = lf > 0 && lf == crlf && text.ends_with("\r\n");
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    const std::string line = text.substr(at, end - at);
    if (f.header.empty()) {
      f.header = Fields(line);
    } else {
      f.rows.push_back(Fields(line));
    }
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return f;
}

// A number field read with the decimal comma; the whole field must be the number.
double Num(const std::string& field) {
  std::string s = field;
  for (char& c : s)
    if (c == ',') c = '.';
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  EXPECT_TRUE(!s.empty() && *end == '\0') << "not a number: '" << field << "'";
  return v;
}

class GraphExport : public GraphBench {
 protected:
  void TearDown() override {
    FormGist->RadioButton3->setChecked(true);
    FormTurn->RadioButton1->setChecked(true);
    model::SampleCount = model::DefaultSampleCount;
    Form1->SetPanelText(1, RunStateReady);
  }

  static void Gaussian() {
    FormGenerator->ComboBox1->setCurrentIndex(model::KindGaussianNoise);
    Form1->SetPanelText(1, RunStateChanged);
  }

  // The viewer's part of a script: `user` acts in the window w, then closes it.
  static ModalScript::Action Inside(TDiagramIncrease& w,
                                    std::function<void(TDiagramIncrease&)> user) {
    return [&w, user](QDialog& d) {
      EXPECT_EQ(&d, &w);
      user(w);
      QTest::mouseClick(w.SpeedButtonClose, Qt::LeftButton);
    };
  }

  static void InputOscilloscope() { QTest::mouseClick(Form1->Image4, Qt::LeftButton); }

  QTemporaryDir dir;
};

}  // namespace

// The dialog offers the chart title as a CSV name and asks before replacing; the file holds the
// samples in view, the view the user set last.
TEST_F(GraphExport, AnOscillogramFromTheMenuHoldsTheSamplesInView) {
  Gaussian();
  MessageRecorder rec;
  ModalScript script;
  SaveOffer offer;
  script.Then(Inside(*DiagramIncrease, [&](TDiagramIncrease& w) {
    w.NSaveData->trigger();  // the dialog is scripted next
    // A view of its own, 1 .. 1,5 ms: the second file holds samples 200 .. 300.
    w.Diagram1->SetRangeX(1, 1.5);
    w.SaveDataFile(dir.filePath("part.csv"));
  }));
  script.Then(SaveAsOffered(dir.path(), {}, offer));
  InputOscilloscope();
  EXPECT_TRUE(rec.texts.empty()) << rec.texts.front();
  EXPECT_EQ(S(offer.name), "Осциллограф сигнал на входе цепи.csv");
  EXPECT_EQ(S(offer.suffix), "csv");
  EXPECT_EQ(offer.filters, QStringList{"Таблицы CSV (*.csv)"});
  EXPECT_TRUE(offer.asksBeforeReplacing);

  const double* in = SampleStore::InputSamples;
  const DataFile whole = Read(dir.filePath(offer.name));
  EXPECT_TRUE(whole.bom);
  EXPECT_TRUE(whole.crlfOnly);
  EXPECT_EQ(whole.header, (std::vector<std::string>{"t,мс", "X(t),мВ"}));
  ASSERT_EQ(whole.rows.size(), 1001u);  // 0 .. 5 ms, both ends
  for (std::size_t i = 0; i < whole.rows.size(); ++i) {
    ASSERT_EQ(whole.rows[i].size(), 2u);
    EXPECT_NEAR(Num(whole.rows[i][0]), i * 0.005, 1e-12);
    ASSERT_EQ(Num(whole.rows[i][1]), in[i]) << i;  // the very double
  }
  EXPECT_EQ(whole.rows[3][0], "0,015");

  const DataFile part = Read(dir.filePath("part.csv"));
  ASSERT_EQ(part.rows.size(), 101u);
  EXPECT_EQ(part.rows.front()[0], "1");
  EXPECT_EQ(part.rows.back()[0], "1,5");
  for (std::size_t i = 0; i < part.rows.size(); ++i)
    ASSERT_EQ(Num(part.rows[i][1]), in[200 + i]) << i;
}

// Bins and law side by side: each an x-y pair a spreadsheet plots together.
TEST_F(GraphExport, AHistogramWithTheNormalLaw) {
  Gaussian();
  MessageRecorder rec;
  ModalScript script;
  script.Then([](QDialog&) {
    FormGist->RadioButton1->setChecked(true);
    QTest::mouseClick(FormGist->Button1, Qt::LeftButton);
  });
  std::vector<double> bins;
  double xmin = 0, xmax = 0, step = 0, columns = 0;
  script.Then(Inside(*DiagramIncreaseAnalysis, [&](TDiagramIncrease& w) {
    const TKeeper& base = *w.Diagram1->GetKeeper(0);
    for (int i = 0; i < base.GetCount(); ++i) bins.push_back(base.GetSample(i));
    xmin = base.GetXmin();
    xmax = base.GetXmax();
    step = base.GetStep();
    columns = w.Diagram1->Get_w_out() + 1;
    w.SaveDataFile(dir.filePath("gist.csv"));
  }));
  Form1->N30->trigger();
  EXPECT_TRUE(rec.texts.empty()) << rec.texts.front();

  const DataFile f = Read(dir.filePath("gist.csv"));
  EXPECT_EQ(f.header, (std::vector<std::string>{"x,мВ (столбцы)", "w(x),1/мВ (столбцы)",
                                                "x,мВ (кривая)", "w(x),1/мВ (кривая)"}));
  // Every bin at its centre; the law at every pixel column of the view; below the bins'
  // end their two fields stay empty.
  ASSERT_GT(bins.size(), 10u);
  ASSERT_EQ(f.rows.size(), columns);
  for (std::size_t r = 0; r < f.rows.size(); ++r) {
    ASSERT_EQ(f.rows[r].size(), 4u);
    if (r < bins.size()) {
      EXPECT_NEAR(Num(f.rows[r][0]), xmin + r * step, 1e-9);
      EXPECT_EQ(Num(f.rows[r][1]), bins[r]) << r;
    } else {
      EXPECT_EQ(f.rows[r][0] + f.rows[r][1], "");
    }
    const double x = Num(f.rows[r][2]);
    EXPECT_EQ(Num(f.rows[r][3]),
              instruments::NormalLaw(x, BenchReadings::InputMean, BenchReadings::InputSko));
  }
  EXPECT_EQ(Num(f.rows[0][2]), xmin);
  EXPECT_EQ(Num(f.rows.back()[2]), xmax);
}

// The curve as the screen shows it, negative lags included: K(-T) = K(T).
TEST_F(GraphExport, ACorrelationFunctionWithItsMirroredPart) {
  Gaussian();
  MessageRecorder rec;
  ModalScript script;
  double xmin = 0, xmax = 0;
  script.Then(Inside(*DiagramIncreaseAnalysis, [&](TDiagramIncrease& w) {
    xmin = w.Diagram1->GetXmin();
    xmax = w.Diagram1->GetXmax();
    w.SaveDataFile(dir.filePath("kf.csv"));
  }));
  Form1->N42->trigger();
  EXPECT_TRUE(rec.texts.empty()) << rec.texts.front();

  const DataFile f = Read(dir.filePath("kf.csv"));
  EXPECT_EQ(f.header, (std::vector<std::string>{"\u0422,мс", "Rвх(\u0422),мкВт"}));
  // The view -0,49995 .. 0,49995 ms at 0,005 ms: lags -99 .. 99.
  EXPECT_DOUBLE_EQ(xmin, -0.49995);
  ASSERT_EQ(f.rows.size(), 199u);
  for (std::size_t r = 0; r < f.rows.size(); ++r) {
    const int lag = static_cast<int>(r) - 99;
    EXPECT_NEAR(Num(f.rows[r][0]), lag * 0.005, 1e-12);
    ASSERT_EQ(Num(f.rows[r][1]), SampleStore::WorkRe[std::abs(lag)]) << lag;
  }
  EXPECT_EQ(f.rows[99][0], "0");
  EXPECT_GT(xmax, 0.495);
}

// A name typed with another extension is written as .csv after a message; when that file
// exists the overwrite question comes, and "No" writes nothing.
TEST_F(GraphExport, AnotherExtensionIsCorrectedToCsv) {
  MessageRecorder rec;
  ModalScript script;
  const QString kept = dir.filePath("kept.csv");
  ASSERT_TRUE(PutFile(kept, "old"));
  script.Then(Inside(*DiagramIncrease, [&](TDiagramIncrease& w) {
    w.SaveDataFile(dir.filePath("wave.txt"));
    w.SaveDataFile(dir.filePath("kept.dat"));  // the question is scripted next
  }));
  script.Then([](QDialog& d) {
    EXPECT_EQ(d.objectName(), platform::ReplaceQuestionObjectName);
    d.reject();
  });
  InputOscilloscope();
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(rec.texts[0], S(dir.filePath("wave.txt")) +
                              ":\nФормат файлов .txt не поддерживается.Произведена коррекция.");
  EXPECT_TRUE(QFile::exists(dir.filePath("wave.csv")));
  EXPECT_FALSE(QFile::exists(dir.filePath("wave.txt")));
  EXPECT_EQ(FileBytes(kept), "old");
}

// A folder the user may not write to: the message names the file and the reason, and the
// file already there stays as it was.
TEST_F(GraphExport, AFolderThatCannotBeWrittenLeavesTheFileThereIntact) {
  const QString folder = dir.filePath("shut");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString target = folder + "/data.csv";
  ASSERT_TRUE(PutFile(target, "old"));
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                        QFileDevice::ExeOther);
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                    QFileDevice::ReadOther | QFileDevice::ExeOther);
  QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadOther | QFileDevice::WriteOther);
  // An administrator writes anywhere: act as an ordinary user for file access meanwhile.
  const bool administrator = geteuid() == 0;
  auto asUser = [administrator](bool user) {
    if (!administrator) return;
    setfsgid(user ? 65534 : 0);
    setfsuid(user ? 65534 : 0);
  };
  asUser(true);
  {
    QFile probe(folder + "/probe");
    if (probe.open(QIODevice::WriteOnly)) {
      probe.remove();
      asUser(false);
      GTEST_SKIP() << "the folder stays writable here";
    }
  }
  MessageRecorder rec;
  ModalScript script;
  script.Then(Inside(*DiagramIncrease, [&](TDiagramIncrease& w) { w.SaveDataFile(target); }));
  InputOscilloscope();
  asUser(false);
  QFile::setPermissions(folder,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0],
            "Не удаётся записать файл " + S(target) + ": нет права на запись или файл занят.");
  EXPECT_EQ(FileBytes(target), "old");
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"data.csv"});
}
