#pragma once
// THelpForm: the user guide inside the program. The guide is Russian HTML built into the
// program (its pages and pictures lie under qrc:/guide/); the window shows one page at a
// time beside the guide's contents, goes back and forward, and searches every page (Ctrl+F,
// then Enter or F3 for the next place). It is not modal, is made at its first use and lives
// until the program ends, keeping its place and size in between.
//
// F1 in any window of the program opens the guide at the section that describes that
// window. A modal window blocks input to every window that is not its own, so while the
// guide is called from one it becomes that window's child (and takes input); when that
// window closes, the guide goes back to the bench where it was.
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace help {

// The folder of the guide's pages in the program's resources, and its first page: the
// title and the contents.
extern const char* const GuideRoot;  // "qrc:/guide/"
extern const char* const StartPage;  // "index.html"

// The section of the guide that describes a window ("generator.html",
// "instruments.html#kor"): the window's own, else that of the window it belongs to; the
// bench's when none has one. A chart viewer is described by the section of the graph it
// shows.
QString TopicOf(const QWidget* window);

}  // namespace help

class THelpForm : public QMainWindow {
  Q_OBJECT

 public:
  // `bench`: the window the guide belongs to when no modal window is open.
  explicit THelpForm(QWidget* bench);
  // A window the guide belongs to may take it along when it is destroyed (a message box
  // destroyed while open): the next F1 then makes a new one.
  ~THelpForm() override;

  QTextBrowser* Browser;
  QTabWidget* Side;  // "Содержание", "Поиск"
  QTreeWidget* Contents;
  QLineEdit* SearchEdit;
  QListWidget* Results;
  QLabel* SearchState;
  QAction* NBack;
  QAction* NForward;
  QAction* NHome;
  QAction* NFind;      // Ctrl+F: to the search field
  QAction* NFindNext;  // F3

  // Shows the page and section of a topic: "generator.html", "instruments.html#kor".
  void ShowTopic(const QString& topic);
  // Shows the window at a topic over `owner` (the bench when none), raised and active.
  void Open(const QString& topic, QWidget* owner);
  // The page and section shown now, as a topic.
  QString CurrentTopic() const;
  // The guide's pages in the order of its contents (the first page's links).
  const QStringList& Pages() const { return pages_; }

  // Searches the whole guide for the text (case is ignored): lists the sections that hold
  // it with the number of places, marks the places on the page shown and moves to the
  // first place after the cursor.
  void Search(const QString& text);
  // The next place of the searched text: further on this page, else on the next page that
  // holds it (from the last page on to the first). False when the guide has none.
  bool FindNext();

  // Makes the guide the child window of `owner` (the bench or a modal window), keeping its
  // place and size, and shown again if it was open.
  void Attach(QWidget* owner);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Section {
    QString topic;  // page#anchor
    QString title;
    QString text;  // the plain text of the section
  };
  void BuildContents();
  void IndexSections();
  void MarkPlaces();
  void RememberPlace();

  QWidget* bench_;
  QStringList pages_;
  std::vector<Section> sections_;  // filled at the first search
  QString searched_;
  bool wanted_ = false;  // open, as far as the user is concerned
  QRect place_;          // where the user left the window; invalid until its first opening
};

// The guide window; nullptr until its first use.
extern THelpForm* HelpForm;

// Opens the guide at a topic, over the window that asked for it (see above), active.
void ShowGuide(const QString& topic);

// The bench's menu "Справка" after its last menu: "Руководство пользователя" (the guide from
// its contents; F1 opens it at the section of the window F1 is pressed in, in every window
// of the program) and "О программе...".
void AddHelpMenu(QMainWindow& bench);

// "О программе...": the program's name, version, purpose, licence and the Qt version.
QString AboutText();
void ShowAbout();
