// The user guide inside the program: F1 in each kind of window opens its own section, every
// link and picture of the guide resolves, the search crosses pages, and the "Справка" menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextBrowser>
#include <functional>
#include <set>

#include "app/Helpunit.h"
#include "instruments/Unitgist.h"
#include "tests/support/BenchStart.h"
#include "tests/support/Files.h"
#include "tests/support/ModalScript.h"

namespace {

class Guide : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartBenchOnce(); }
  void SetUp() override { ZeroModel(); }
  void TearDown() override {
    if (HelpForm != nullptr) HelpForm->close();
  }
};

QString PageText(const QString& page) {
  return QString::fromUtf8(FileBytes(":/guide/" + page));
}

// F1 pressed where the keyboard focus is in the active window.
void PressF1(QWidget& window) {
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus != nullptr && focus->window() == &window ? focus : &window, Qt::Key_F1);
}

// The section F1 opened in a modal window, which is then closed.
ModalScript::Action F1Then(QString* topic) {
  return [topic](QDialog& d) {
    PressF1(d);
    if (HelpForm != nullptr && HelpForm->isVisible()) *topic = HelpForm->CurrentTopic();
    // Over the modal window, so that it takes input while that window is open.
    if (HelpForm != nullptr) {
      EXPECT_EQ(HelpForm->parentWidget(), &d);
    }
    d.reject();
  };
}

}  // namespace

TEST_F(Guide, F1OpensTheSectionOfTheWindowItIsPressedIn) {
  struct Row {
    const char* topic;
    std::function<void()> open;  // opens the window modally through the bench
    int windows;                 // modal windows on the way (the histogram settings first)
  };
  const Row rows[] = {
      {"generator.html", [] { Form1->Image2Click(); }, 1},
      {"circuit.html", [] { Form1->Image3Click(); }, 1},
      {"settings.html", [] { Form1->N24Click(); }, 1},
      {"instruments.html#ipv", [] { Form1->Image5Click(); }, 1},
      {"instruments.html#ipv", [] { Form1->Image10Click(); }, 1},
      {"instruments.html#kor", [] { Form1->Image7Click(); }, 1},
      {"instruments.html#kor", [] { Form1->Image12Click(); }, 1},
      {"instruments.html#indicator", [] { Form1->Image6Click(); }, 1},
      {"instruments.html#indicator", [] { Form1->Image11Click(); }, 1},
      {"instruments.html#indicator", [] { Form1->Image8Click(); }, 1},
      {"instruments.html#indicator", [] { Form1->Image13Click(); }, 1},
      {"histogram.html#settings", [] { Form1->N30Click(); }, 1},
      {"oscilloscope.html", [] { Form1->Image4Click(); }, 1},
      {"oscilloscope.html", [] { Form1->Image9Click(); }, 1},
      {"histogram.html", [] { Form1->N32Click(); }, 2},
      {"correlation.html", [] { Form1->N42Click(); }, 1},
      {"characteristic.html", [] { Form1->N44Click(); }, 1},
      {"report.html", [] { Form1->NReportClick(); }, 1},
  };
  for (const Row& row : rows) {
    QString topic;
    {
      ModalScript script;
      if (row.windows == 2) script.Then([](QDialog&) { FormGist->Button1Click(); });
      script.Then(F1Then(&topic));
      row.open();
    }
    EXPECT_EQ(topic.toStdString(), row.topic);
    if (HelpForm != nullptr) HelpForm->close();
  }
  PressF1(*Form1);
  ASSERT_NE(HelpForm, nullptr);
  EXPECT_EQ(HelpForm->CurrentTopic().toStdString(), "bench.html");
  EXPECT_EQ(HelpForm->parentWidget(), Form1);
}

// Every page is in the contents, and every link and picture of every page resolves: the page,
// the heading its anchor names, the picture.
TEST_F(Guide, EveryLinkAndPictureResolves) {
  ShowGuide(help::StartPage);
  const QStringList pages = QDir(":/guide").entryList({"*.html"});
  EXPECT_EQ(std::set<QString>(pages.begin(), pages.end()),
            std::set<QString>(HelpForm->Pages().begin(), HelpForm->Pages().end()));
  static const QRegularExpression ref(R"re((href|src)="([^"#]*)(?:#([^"]*))?")re");
  for (const QString& page : pages) {
    for (const auto& m : ref.globalMatch(PageText(page))) {
      const QString file = m.captured(2).isEmpty() ? page : m.captured(2);
      const std::string where = (page + ": " + m.captured(0)).toStdString();
      ASSERT_TRUE(QFile::exists(":/guide/" + file)) << where;
      if (file.endsWith(".png")) {
        EXPECT_FALSE(QImage(":/guide/" + file).isNull()) << where;
      }
      if (!m.captured(3).isEmpty()) {
        EXPECT_TRUE(PageText(file).contains("id=\"" + m.captured(3) + "\"")) << where;
      }
    }
  }
}

// A search lists the sections of several pages, and the next place moves on to another page.
TEST_F(Guide, SearchCoversTheWholeGuide) {
  ShowGuide("first.html");
  HelpForm->Search(QString::fromUtf8("Коррелометр"));
  EXPECT_GT(HelpForm->Results->count(), 3);
  bool movedOn = false;
  for (int i = 0; i < 40 && !movedOn; ++i) {
    ASSERT_TRUE(HelpForm->FindNext());
    movedOn = HelpForm->CurrentTopic() != "first.html";
  }
  EXPECT_TRUE(movedOn);
  EXPECT_TRUE(HelpForm->Browser->textCursor().selectedText().compare(
                  QString::fromUtf8("коррелометр"), Qt::CaseInsensitive) == 0);
}

// "Справка" follows "Выход": the guide from its contents, and the about box.
TEST_F(Guide, HelpMenuFollowsExit) {
  const QList<QAction*> menus = Form1->menuBar()->actions();
  ASSERT_GE(menus.size(), 2);
  EXPECT_EQ(menus[menus.size() - 2]->text().toStdString(), "Выход");
  ASSERT_EQ(menus.back()->text().toStdString(), "Справка");
  auto* guide = Form1->findChild<QAction*>("NGuide");
  ASSERT_NE(guide, nullptr);
  guide->trigger();
  EXPECT_EQ(HelpForm->CurrentTopic().toStdString(), "index.html");
  QString about;
  {
    ModalScript script;
    script.Then([&about](QDialog& d) {
      about = static_cast<QMessageBox&>(d).text();
      d.accept();
    });
    Form1->findChild<QAction*>("NAbout")->trigger();
  }
  EXPECT_EQ(about, AboutText());
  EXPECT_TRUE(about.contains(QString::fromLatin1(qVersion())));
}
