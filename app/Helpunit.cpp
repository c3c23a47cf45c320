#include "app/Helpunit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Diagramincreaseunit.h"
#include "app/Unit1.h"
#include "app/Unitreport.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitind.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"
#include "platform/Modal.h"

THelpForm* HelpForm = nullptr;

namespace help {

const char* const GuideRoot = "qrc:/guide/";
const char* const StartPage = "index.html";

namespace {

// The graph a chart viewer shows, told by its title, and the section describing it.
struct GraphTopic {
  const char* titleStart;
  const char* topic;
};
constexpr GraphTopic GraphTopics[] = {
    {"Осциллограф", "oscilloscope.html"},
    {"Гистограмма", "histogram.html"},
    {"Корреляционная функция", "correlation.html"},
    {"Характеристика цепи", "characteristic.html"},
};

QString OwnTopic(const QWidget* w) {
  if (dynamic_cast<const TForm1*>(w) != nullptr) return "bench.html";
  if (dynamic_cast<const TFormGenerator*>(w) != nullptr) return "generator.html";
  if (dynamic_cast<const TFormCircuit*>(w) != nullptr) return "circuit.html";
  if (dynamic_cast<const TFormTurn*>(w) != nullptr) return "settings.html";
  if (dynamic_cast<const TFormIPV*>(w) != nullptr) return "instruments.html#ipv";
  if (dynamic_cast<const TFormKor*>(w) != nullptr) return "instruments.html#kor";
  if (dynamic_cast<const TFormInd*>(w) != nullptr) return "instruments.html#indicator";
  if (dynamic_cast<const TFormGist*>(w) != nullptr) return "histogram.html#settings";
  if (dynamic_cast<const TFormReport*>(w) != nullptr) return "report.html";
  if (dynamic_cast<const TDiagramIncrease*>(w) != nullptr) {
    const QString title = w->windowTitle();
    for (const GraphTopic& g : GraphTopics)
      if (title.startsWith(QString::fromUtf8(g.titleStart))) return g.topic;
    return "viewer.html";
  }
  return {};
}

// A first- or second-level heading of a page: level, id (the anchor), title.
const QRegularExpression& Heading() {
  static const QRegularExpression heading(
      QStringLiteral("<h([12])(?:\\s+id=\"([^\"]+)\")?[^>]*>(.*?)</h\\1>"),
      QRegularExpression::DotMatchesEverythingOption);
  return heading;
}

QString PageText(const QString& page) {
  QFile f(QStringLiteral(":/guide/") + page);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

QString PlainText(const QString& html) {
  return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

// The cursor at an anchor of the document (a heading's id), null when there is none.
QTextCursor AnchorCursor(QTextDocument* doc, const QString& name) {
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      if (it.fragment().charFormat().anchorNames().contains(name)) {
        QTextCursor c(doc);
        c.setPosition(it.fragment().position());
        return c;
      }
    }
  }
  return {};
}

// F1 anywhere in the program: the guide at the section of the window it was pressed in.
class ContextHelp : public QObject {
 public:
  explicit ContextHelp(QObject* parent) : QObject(parent) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    QWidget* window = widget->window();
    if (window == HelpForm) return true;  // already in the guide
    ShowGuide(TopicOf(window));
    return true;
  }
};

}  // namespace

QString TopicOf(const QWidget* window) {
  for (const QWidget* w = window != nullptr ? window->window() : nullptr; w != nullptr;
       w = w->parentWidget() != nullptr ? w->parentWidget()->window() : nullptr) {
    const QString topic = OwnTopic(w);
    if (!topic.isEmpty()) return topic;
  }
  return "bench.html";
}

}  // namespace help

// ---------------------------------------------------------------------------------------
// The guide window

THelpForm::THelpForm(QWidget* bench) : QMainWindow(bench, Qt::Window), bench_(bench) {
  setObjectName("HelpForm");
  setWindowTitle(QString::fromUtf8("Руководство пользователя"));

  Browser = new QTextBrowser;
  Browser->setObjectName("Browser");
  Browser->setOpenLinks(true);
  Browser->setOpenExternalLinks(false);

  Contents = new QTreeWidget;
  Contents->setObjectName("Contents");
  Contents->setHeaderHidden(true);
  Contents->setColumnCount(1);
  Results = new QListWidget;
  Results->setObjectName("Results");
  SearchEdit = new QLineEdit;
  SearchEdit->setObjectName("SearchEdit");
  SearchEdit->setPlaceholderText(QString::fromUtf8("Искать в руководстве"));
  SearchEdit->setClearButtonEnabled(true);
  SearchState = new QLabel;
  SearchState->setWordWrap(true);
  auto* searchPage = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchPage);
  searchLayout->setContentsMargins(4, 4, 4, 4);
  searchLayout->addWidget(SearchEdit);
  searchLayout->addWidget(SearchState);
  searchLayout->addWidget(Results, 1);

  Side = new QTabWidget;
  Side->addTab(Contents, QString::fromUtf8("Содержание"));
  Side->addTab(searchPage, QString::fromUtf8("Поиск"));
  auto* split = new QSplitter;
  split->addWidget(Side);
  split->addWidget(Browser);
  split->setStretchFactor(1, 1);
  split->setSizes({200, 700});
  setCentralWidget(split);

  QToolBar* bar = addToolBar(QString::fromUtf8("Навигация"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  NBack = bar->addAction(QString::fromUtf8("◀ Назад"), Browser, &QTextBrowser::backward);
  NBack->setShortcut(QKeySequence::Back);
  NBack->setEnabled(false);
  NForward = bar->addAction(QString::fromUtf8("Вперёд ▶"), Browser, &QTextBrowser::forward);
  NForward->setShortcut(QKeySequence::Forward);
  NForward->setEnabled(false);
  NHome =
      bar->addAction(QString::fromUtf8("Содержание"), this, [this] { ShowTopic(help::StartPage); });
  NFind = new QAction(QString::fromUtf8("Найти"), this);
  NFind->setShortcut(QKeySequence::Find);
  addAction(NFind);
  NFindNext = new QAction(QString::fromUtf8("Найти далее"), this);
  NFindNext->setShortcut(QKeySequence::FindNext);
  addAction(NFindNext);

  connect(Browser, &QTextBrowser::backwardAvailable, NBack, &QAction::setEnabled);
  connect(Browser, &QTextBrowser::forwardAvailable, NForward, &QAction::setEnabled);
  connect(Browser, &QTextBrowser::sourceChanged, this, [this] { MarkPlaces(); });
  const auto openSection = [this](QTreeWidgetItem* item) {
    ShowTopic(item->data(0, Qt::UserRole).toString());
  };
  connect(Contents, &QTreeWidget::itemClicked, this, openSection);
  connect(Contents, &QTreeWidget::itemActivated, this, openSection);
  // A section the search found: shown at the first place of the text in it.
  const auto openResult = [this](QListWidgetItem* item) {
    ShowTopic(item->data(Qt::UserRole).toString());
    FindNext();
  };
  connect(Results, &QListWidget::itemClicked, this, openResult);
  connect(Results, &QListWidget::itemActivated, this, openResult);
  connect(NFind, &QAction::triggered, this, [this] {
    Side->setCurrentIndex(1);
    SearchEdit->setFocus(Qt::ShortcutFocusReason);
    SearchEdit->selectAll();
  });
  connect(NFindNext, &QAction::triggered, this, [this] {
    if (!searched_.isEmpty()) FindNext();
  });
  connect(SearchEdit, &QLineEdit::returnPressed, this, [this] {
    const QString text = SearchEdit->text().simplified();
    if (text.isEmpty()) return;
    if (text != searched_) {
      Search(text);
    } else {
      FindNext();
    }
  });

  BuildContents();
  ShowTopic(help::StartPage);
}

THelpForm::~THelpForm() {
  if (HelpForm == this) HelpForm = nullptr;
}

void THelpForm::BuildContents() {
  // The pages in the order the first page links them.
  static const QRegularExpression link(QStringLiteral("href=\"([a-z0-9-]+\\.html)"));
  pages_ = QStringList{help::StartPage};
  for (const auto& m : link.globalMatch(help::PageText(help::StartPage))) {
    if (!pages_.contains(m.captured(1))) pages_ << m.captured(1);
  }
  for (const QString& page : pages_) {
    QTreeWidgetItem* pageItem = nullptr;
    for (const auto& m : help::Heading().globalMatch(help::PageText(page))) {
      const QString title = help::PlainText(m.captured(3));
      if (m.captured(1) == QLatin1String("1")) {
        pageItem = new QTreeWidgetItem(Contents, QStringList{title});
        pageItem->setData(0, Qt::UserRole, page);
      } else if (pageItem != nullptr && !m.captured(2).isEmpty()) {
        auto* item = new QTreeWidgetItem(pageItem, QStringList{title});
        item->setData(0, Qt::UserRole, page + '#' + m.captured(2));
      }
    }
  }
}

void THelpForm::ShowTopic(const QString& topic) {
  const QUrl url(QString::fromUtf8(help::GuideRoot) + topic);
  Browser->setSource(url);
  // The search goes on from the section shown.
  QTextCursor at(Browser->document());
  if (url.hasFragment()) {
    const QTextCursor anchor = help::AnchorCursor(Browser->document(), url.fragment());
    if (!anchor.isNull()) at = anchor;
  }
  Browser->setTextCursor(at);
  if (url.hasFragment()) Browser->scrollToAnchor(url.fragment());
}

void THelpForm::Open(const QString& topic, QWidget* owner) {
  wanted_ = true;
  Attach(owner);
  ShowTopic(topic);
  show();
  raise();
  activateWindow();
}

QString THelpForm::CurrentTopic() const {
  const QUrl url = Browser->source();
  QString topic = url.fileName();
  if (url.hasFragment()) topic += '#' + url.fragment();
  return topic;
}

// ---------------------------------------------------------------------------------------
// Search

void THelpForm::IndexSections() {
  if (!sections_.empty()) return;
  for (const QString& page : pages_) {
    const QString html = help::PageText(page);
    // A section runs from its heading to the next one; the text before the first second-level
    // heading belongs to the page itself.
    qsizetype from = 0;
    Section current{page, QString(), QString()};
    for (const auto& m : help::Heading().globalMatch(html)) {
      current.text = help::PlainText(html.mid(from, m.capturedStart() - from));
      if (!current.text.isEmpty() && !current.title.isEmpty()) sections_.push_back(current);
      current.topic = m.captured(2).isEmpty() ? page : page + '#' + m.captured(2);
      current.title = help::PlainText(m.captured(3));
      from = m.capturedStart();
    }
    current.text = help::PlainText(html.mid(from));
    if (!current.title.isEmpty()) sections_.push_back(current);
  }
}

void THelpForm::Search(const QString& text) {
  IndexSections();
  searched_ = text;
  Side->setCurrentIndex(1);
  if (SearchEdit->text().simplified() != text) SearchEdit->setText(text);
  Results->clear();
  int places = 0;
  for (const Section& s : sections_) {
    const int n = static_cast<int>(s.text.count(text, Qt::CaseInsensitive));
    if (n == 0) continue;
    places += n;
    auto* item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(s.title).arg(n), Results);
    item->setData(Qt::UserRole, s.topic);
  }
  SearchState->setText(
      places == 0
          ? QString::fromUtf8("Не найдено.")
          : QString::fromUtf8("Найдено мест: %1, разделов: %2.").arg(places).arg(Results->count()));
  MarkPlaces();
  if (places > 0) FindNext();
}

bool THelpForm::FindNext() {
  if (searched_.isEmpty()) return false;
  if (Browser->find(searched_)) return true;
  // On to the next page that holds the text, from the page after this one round to it: a
  // page holds it when one of its indexed sections does.
  IndexSections();
  const auto holds = [this](const QString& page) {
    return std::any_of(sections_.begin(), sections_.end(), [&](const Section& s) {
      return s.topic.section('#', 0, 0) == page && s.text.contains(searched_, Qt::CaseInsensitive);
    });
  };
  const qsizetype here = pages_.indexOf(Browser->source().fileName());
  for (qsizetype step = 1; step <= pages_.size(); ++step) {
    const QString page = pages_[(here + step) % pages_.size()];
    if (!holds(page)) continue;
    ShowTopic(page);
    Browser->moveCursor(QTextCursor::Start);
    return Browser->find(searched_);
  }
  return false;
}

void THelpForm::MarkPlaces() {
  QList<QTextEdit::ExtraSelection> marks;
  if (!searched_.isEmpty()) {
    QTextDocument* doc = Browser->document();
    QTextCharFormat yellow;
    yellow.setBackground(QColor(255, 236, 120));
    for (QTextCursor c = doc->find(searched_); !c.isNull(); c = doc->find(searched_, c))
      marks.append({c, yellow});
  }
  Browser->setExtraSelections(marks);
}

// ---------------------------------------------------------------------------------------
// Place, size and owner

void THelpForm::RememberPlace() {
  if (!isVisible()) return;
  // The client area: a window manager puts a window shown again there whatever its frame.
  place_ = geometry();
}

void THelpForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  RememberPlace();
}

void THelpForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RememberPlace();
}

void THelpForm::closeEvent(QCloseEvent* event) {
  wanted_ = false;
  QMainWindow::closeEvent(event);
}

void THelpForm::Attach(QWidget* owner) {
  if (owner == nullptr) owner = bench_;
  if (!place_.isValid()) {
    // First opening: the right part of the bench's screen, beside the windows it describes.
    const QRect screen = bench_->screen()->availableGeometry();
    const int w = std::min(900, screen.width() * 5 / 8);
    const int h = screen.height() * 17 / 20;
    place_ = QRect(screen.right() - w - 24, screen.top() + (screen.height() - h) / 2, w, h);
    setGeometry(place_);
  }
  if (parentWidget() == owner) return;
  if (parentWidget() != nullptr && parentWidget() != bench_)
    parentWidget()->removeEventFilter(this);
  const QRect place = place_;
  setParent(owner, windowFlags());  // hides the window
  setGeometry(place);
  place_ = place;
  if (owner != bench_) owner->installEventFilter(this);
  if (wanted_) show();
}

bool THelpForm::eventFilter(QObject* watched, QEvent* event) {
  // The modal window the guide belongs to is closing: back to the modal window under it (the
  // one it was opened from, such as the window under a message box), if any, else to the
  // bench. At once, before the closing window may be destroyed with the guide inside.
  if (event->type() == QEvent::Hide && watched == parentWidget() && watched != bench_) {
    QWidget* closing = parentWidget();
    QWidget* next = QApplication::activeModalWidget();
    if (next == closing || (next != nullptr && !next->isVisible())) next = nullptr;
    for (QWidget* w = closing->parentWidget(); next == nullptr && w != nullptr;
         w = w->window()->parentWidget()) {
      if (w->window()->isVisible() && w->window()->isModal()) next = w->window();
    }
    Attach(next != nullptr ? next : bench_);
  }
  return QMainWindow::eventFilter(watched, event);
}

void ShowGuide(const QString& topic) {
  if (Form1 == nullptr) return;
  if (HelpForm == nullptr) HelpForm = new THelpForm(Form1);
  // Over the active modal window, if any: the only window that takes input meanwhile.
  HelpForm->Open(topic, QApplication::activeModalWidget());
}

// ---------------------------------------------------------------------------------------
// The menu and the about box

void AddHelpMenu(QMainWindow& bench) {
  QMenu* menu = bench.menuBar()->addMenu(QString::fromUtf8("Справка"));
  // F1 itself is handled for every window below; the menu only shows the key.
  QAction* guide = menu->addAction(QString::fromUtf8("Руководство пользователя\tF1"));
  guide->setObjectName("NGuide");
  QObject::connect(guide, &QAction::triggered, &bench,
                   [] { ShowGuide(QString::fromUtf8(help::StartPage)); });
  QAction* about = menu->addAction(QString::fromUtf8("О программе..."));
  about->setObjectName("NAbout");
  QObject::connect(about, &QAction::triggered, &bench, [] { ShowAbout(); });
  static bool filterInstalled = false;
  if (!filterInstalled) {
    qApp->installEventFilter(new help::ContextHelp(qApp));
    filterInstalled = true;
  }
}

QString AboutText() {
  // LAB_VERSION: the project's version, defined for this file by cmake/Guide.cmake.
  return QString::fromUtf8(
             "Лабораторная установка, версия %1\n\n"
             "Виртуальная лабораторная работа: прохождение случайного процесса через "
             "безынерционную нелинейную цепь.\n\n"
             "Лицензия MIT (Expat): программу можно свободно использовать, изменять и "
             "распространять; она предоставляется без каких-либо гарантий.\n"
             "© Авторы программы «Лабораторная установка».\n\n"
             "Qt %2")
      .arg(QStringLiteral(LAB_VERSION), QString::fromLatin1(qVersion()));
}

void ShowAbout() {
  QMessageBox box(QMessageBox::Information, QString::fromUtf8("О программе"), AboutText(),
                  QMessageBox::Ok, Form1);
  platform::ShowModal(box);
}
