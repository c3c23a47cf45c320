// The chart viewer window driven as a user drives it: a graph command shows it modally, the
// script moves the mouse over the chart, clicks buttons, menus and up-downs, and closes it.
#include "app/Diagramincreaseunit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <cmath>
#include <string>

#include "app/DiagramIncreaseRules.h"
#include "app/GraphJournal.h"
#include "chart/Diagram.h"
#include "chart/DiagramGeometry.h"
#include "platform/Clipboard.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/Text.h"

namespace {

// The series function counts how often the chart evaluates it: once per pixel column of
// every redraw that draws series.
int evaluations = 0;
double Wave(double t) {
  ++evaluations;
  return std::sin(t);
}

// A graph as a command would show it: a wave over 0 .. 20 ms, the first 10 ms in view.
GraphSetup WaveGraph() {
  GraphSetup g;
  g.title = QStringLiteral("Осциллограф: проба");
  g.nameX = QStringLiteral("t,мс");
  g.nameY = QStringLiteral("X(t),мВ");
  g.limitXmin = -20;
  g.limitXmax = 20;
  g.limitYmin = -10;
  g.limitYmax = 10;
  g.bind = [](TDiagram&, TKeeper& base) { base.SetFunction(Wave, 100, 0, 20); };
  g.ranges = [](TDiagram& chart) {
    chart.SetRangeX(0, 10);
    chart.SetRangeY(-1, 1);
  };
  return g;
}

viewer::NetRect NetOf(const TDiagram& d) {
  return {d.Get_xb_net(), d.Get_yb_net(), d.Get_xe_net(), d.Get_ye_net()};
}

void Close(TDiagramIncrease& w) {
  QTest::mouseClick(w.SpeedButtonClose, Qt::LeftButton);
}

// Moves the mouse to p over w with no button held: a mouse-move event sent to the widget.
// (QTest::mouseMove places the screen cursor instead, and the test platform hands that move
// to the first window created under it, not to the window on top.)
void MoveTo(QWidget* w, QPoint p) {
  QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w, &move);
}

QPoint Arrow(const TUpDown* u, TUDBtnType b) {
  return u->ArrowRect(b).center();
}

// Shows the graph in a fresh window and runs the user's part once the window is active.
void Use(TDiagramIncrease& w, const GraphSetup& g, std::function<void(TDiagramIncrease&)> user) {
  ModalScript script;
  script.Then([&w, user](QDialog& d) {
    EXPECT_EQ(&d, &w);
    user(w);
    if (w.isVisible()) Close(w);
  });
  ShowGraph(w, g);
  EXPECT_FALSE(w.isVisible());
}

}  // namespace

TEST(ChartViewer, DesignBeforeTheFirstUse) {
  TDiagramIncrease w;
  EXPECT_EQ(S(w.windowTitle()), "Диаграмма");
  EXPECT_TRUE(w.IsFirstShow());
  EXPECT_TRUE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(w.InitXmin, 0.0);
  EXPECT_EQ(w.InitYmax, 0.0);

  // The chart's stored design: range x -1 .. 100, the viewer's fonts, the cross-hair on.
  TDiagram& d = *w.Diagram1;
  EXPECT_EQ(d.GetXmin(), -1.0);
  EXPECT_EQ(d.GetXmax(), 100.0);
  EXPECT_EQ(d.GetFontName(), MakeFont("Times New Roman", -16, fsBold | fsItalic));
  EXPECT_EQ(d.GetFontNameY(), MakeFont("Times New Roman", -16, fsBold | fsItalic));
  EXPECT_EQ(d.GetFontNet(), MakeFont("Times New Roman", -16));
  EXPECT_TRUE(d.GetShowFeeler());

  // Tool bar, left to right, with hints; the sticky buttons in their first states.
  const std::vector<std::pair<QToolButton*, const char*>> bar = {
      {w.SpeedButtonMeasure, "Измерения"},
      {w.SpeedButtonLimit, "Пределы"},
      {w.SpeedButtonRetLim, "Исходные пределы"},
      {w.SpeedButton1, "Не показывать график при изменении пределов"},
      {w.SpeedButtonBmp, "Сохранить как рисунок"},
      {w.SpeedButtonCopy, "Копировать"},
      {w.SpeedButtonClose, "Закрыть"}};
  w.show();  // lay the bar out
  int left = 0;
  for (const auto& [button, hint] : bar) {
    EXPECT_EQ(S(button->toolTip()), hint);
    EXPECT_EQ(button->size(), QSize(23, 22));
    EXPECT_GT(button->x(), left) << hint;
    left = button->x();
  }
  EXPECT_GT(w.Panel2->x(), left);
  EXPECT_EQ(w.Panel2->size(), QSize(191, 22));
  EXPECT_TRUE(w.SpeedButtonMeasure->isCheckable() && w.SpeedButtonMeasure->isChecked());
  EXPECT_TRUE(w.SpeedButtonLimit->isCheckable() && !w.SpeedButtonLimit->isChecked());
  EXPECT_TRUE(w.SpeedButton1->isCheckable() && !w.SpeedButton1->isChecked());
  EXPECT_FALSE(w.SpeedButtonRetLim->isCheckable());
  w.close();

  // The menu.
  const QList<QAction*> menus = w.MainMenu1->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(S(menus[0]->text()), "Файл");
  ASSERT_EQ(menus[0]->menu()->actions().size(), 1);
  EXPECT_EQ(menus[0]->menu()->actions()[0], w.NClose);
  EXPECT_EQ(S(w.NClose->text()), "Закрыть");
  EXPECT_EQ(S(menus[1]->text()), "Диаграмма");
  const QList<QAction*> items = menus[1]->menu()->actions();
  ASSERT_EQ(items.size(), 7);
  EXPECT_EQ(items[0], w.NMeasure);
  EXPECT_EQ(items[1], w.NLimit);
  EXPECT_EQ(items[2], w.NRetLimit);
  EXPECT_TRUE(items[3]->isSeparator());
  EXPECT_EQ(items[4], w.NBmp);
  EXPECT_EQ(items[5], w.NCopy);
  EXPECT_EQ(items[6], w.NSaveData);
  EXPECT_EQ(S(w.NMeasure->text()), "Измерения");
  EXPECT_EQ(S(w.NLimit->text()), "Пределы");
  EXPECT_EQ(S(w.NRetLimit->text()), "Исходные пределы");
  EXPECT_EQ(S(w.NBmp->text()), "Сохранить как рисунок");
  EXPECT_EQ(S(w.NCopy->text()), "Копировать в буфер обмена");
  EXPECT_EQ(S(w.NSaveData->text()), "Сохранить данные...");
  EXPECT_TRUE(w.NMeasure->isChecked());
  EXPECT_FALSE(w.NLimit->isChecked());

  for (TUpDown* u : {w.UpDown1, w.UpDown2, w.UpDown3, w.UpDown4}) {
    EXPECT_TRUE(u->isHidden());
    EXPECT_TRUE(u->GetWrap());
    EXPECT_EQ(u->GetMin(), 0);
    EXPECT_EQ(u->GetPosition(), 0);
  }
  EXPECT_EQ(w.UpDown1->GetOrientation(), udVertical);
  EXPECT_EQ(w.UpDown3->GetOrientation(), udHorizontal);
}

TEST(ChartViewer, AGraphCommandPreparesTheChartWithSeriesDrawingOff) {
  TDiagramIncrease w;
  GraphSetup g = WaveGraph();
  bool bound = false;
  bool ranged = false;
  g.bind = [&](TDiagram& chart, TKeeper& base) {
    EXPECT_FALSE(chart.IsLineEnabled());
    EXPECT_FALSE(base.IsShown());
    base.SetFunction(Wave, 100, 0, 20);
    bound = true;
  };
  g.ranges = [&](TDiagram& chart) {
    EXPECT_TRUE(bound);
    EXPECT_EQ(chart.GetNameX(), "t,мс");
    EXPECT_EQ(chart.GetLimitXmin(), -20.0);  // the limits are in force
    EXPECT_EQ(chart.GetLimitYmax(), 10.0);
    chart.SetRangeX(0, 10);
    chart.AutoRangeY();
    ranged = true;
  };
  Use(w, g, [&](TDiagramIncrease& v) {
    TDiagram& d = *v.Diagram1;
    EXPECT_TRUE(ranged);
    EXPECT_EQ(S(v.windowTitle()), "Осциллограф: проба");
    EXPECT_EQ(S(d.GetNameDiagram()), "Осциллограф: проба");
    EXPECT_EQ(S(d.GetNameY()), "X(t),мВ");
    EXPECT_TRUE(v.isMaximized());
    EXPECT_TRUE(d.IsLineEnabled());
    EXPECT_TRUE(d.GetKeeper(0)->IsShown());
    EXPECT_EQ(v.InitXmin, 0.0);
    EXPECT_EQ(v.InitXmax, 10.0);
    EXPECT_EQ(v.InitYmin, d.GetYmin());
    EXPECT_EQ(v.InitYmax, d.GetYmax());
    EXPECT_LT(v.InitYmin, -0.99);
    EXPECT_GT(v.InitYmax, 0.99);
    // The chart fills the scroll box less the room of the up-downs.
    const QSize client = v.ScrollBox1->maximumViewportSize();
    EXPECT_EQ(d.geometry(), QRect(21, 5, client.width() - 36, client.height() - 26));
    EXPECT_EQ(d.Picture().Width(), d.width());  // redrawn at its new size
  });
}

TEST(ChartViewer, AGraphGetsExactlyItsLimitsWhateverTheLastGraphLeft) {
  TDiagramIncrease w;
  // The last graph's limits lie wholly below the next one's, on both axes.
  GraphSetup low = WaveGraph();
  low.limitXmin = -20;
  low.limitXmax = 20;
  low.limitYmin = -10;
  low.limitYmax = 10;
  Use(w, low, [](TDiagramIncrease&) {});
  GraphSetup high = WaveGraph();
  high.limitXmin = 40;
  high.limitXmax = 70;
  high.limitYmin = 50;
  high.limitYmax = 60;
  high.ranges = [](TDiagram& chart) {
    chart.SetRangeX(45, 55);
    chart.SetRangeY(52, 58);
  };
  Use(w, high, [](TDiagramIncrease& v) {
    const TDiagram& d = *v.Diagram1;
    EXPECT_EQ(d.GetLimitXmin(), 40.0);
    EXPECT_EQ(d.GetLimitXmax(), 70.0);
    EXPECT_EQ(d.GetLimitYmin(), 50.0);
    EXPECT_EQ(d.GetLimitYmax(), 60.0);
    EXPECT_EQ(v.InitXmin, 45.0);
    EXPECT_EQ(v.InitYmax, 58.0);
  });
  // And back below: the limits follow again.
  Use(w, low, [](TDiagramIncrease& v) {
    EXPECT_EQ(v.Diagram1->GetLimitXmin(), -20.0);
    EXPECT_EQ(v.Diagram1->GetLimitXmax(), 20.0);
    EXPECT_EQ(v.Diagram1->GetLimitYmin(), -10.0);
    EXPECT_EQ(v.Diagram1->GetLimitYmax(), 10.0);
  });
}

TEST(ChartViewer, ReadoutInsideTheNetOnly) {
  TDiagramIncrease w;
  Use(w, WaveGraph(), [](TDiagramIncrease& v) {
    TDiagram* d = v.Diagram1;
    const viewer::NetRect net = NetOf(*d);
    const int midX = (net.xb + net.xe) / 2;
    const int midY = (net.yb + net.ye) / 2;
    auto readout = [&](int x, int y) {
      MoveTo(d, QPoint(x, y));
      return v.Panel2->text();
    };

    const QString inside = readout(net.xb + 2, midY);
    const QRegularExpression form("^\\((-?\\d+,\\d+); (-?\\d+,\\d+)\\)$");
    const auto m = form.match(inside);
    ASSERT_TRUE(m.hasMatch()) << S(inside);
    // x with PrecisionX + 2 decimals, y with PrecisionY + 2, near the point under the mouse.
    EXPECT_EQ(m.captured(1).section(',', 1).size(), d->GetPrecisionX() + 2);
    EXPECT_EQ(m.captured(2).section(',', 1).size(), d->GetPrecisionY() + 2);
    EXPECT_NEAR(QString(m.captured(1)).replace(',', '.').toDouble(), d->PhisToMathX(net.xb + 2),
                0.01);
    EXPECT_NEAR(QString(m.captured(2)).replace(',', '.').toDouble(), d->PhisToMathY(midY), 0.01);

    // On the frame, less than two pixels inside it, and outside the net: empty.
    EXPECT_EQ(readout(net.xb + 1, midY), "");
    EXPECT_EQ(readout(net.xb, midY), "");
    EXPECT_EQ(readout(midX, net.yb + 1), "");
    EXPECT_EQ(readout(midX, net.ye - 1), "");
    EXPECT_EQ(readout(net.xe - 1, midY), "");
    EXPECT_EQ(readout(2, 2), "");
    EXPECT_FALSE(readout(net.xe - 2, net.ye - 2).isEmpty());
    EXPECT_FALSE(readout(midX, net.yb + 2).isEmpty());
    EXPECT_EQ(S(readout(d->MathToPhisX(5.0), midY)).substr(0, 7), "(5,00; ");
  });
}

TEST(ChartViewer, MeasuringToggleKeepsChartButtonAndMenuTogether) {
  TDiagramIncrease w;
  Use(w, WaveGraph(), [](TDiagramIncrease& v) {
    TDiagram* d = v.Diagram1;
    const viewer::NetRect net = NetOf(*d);
    const QPoint centre((net.xb + net.xe) / 2, (net.yb + net.ye) / 2);
    auto agree = [&](bool on) {
      EXPECT_EQ(d->GetShowFeeler(), on);
      EXPECT_EQ(v.SpeedButtonMeasure->isChecked(), on);
      EXPECT_EQ(v.NMeasure->isChecked(), on);
    };
    MoveTo(d, centre);
    EXPECT_TRUE(d->IsFeelerDrawn());
    QTest::mouseClick(d, Qt::LeftButton, {}, centre);  // a click on the chart
    agree(false);
    EXPECT_FALSE(d->IsFeelerDrawn());
    QTest::mouseClick(d, Qt::LeftButton, {}, centre);
    agree(true);
    QTest::mouseClick(v.SpeedButtonMeasure, Qt::LeftButton);
    agree(false);
    v.NMeasure->trigger();
    agree(true);
    v.NMeasure->trigger();
    agree(false);
    QTest::mouseClick(v.SpeedButtonMeasure, Qt::LeftButton);
    agree(true);
  });
}

TEST(ChartViewer, LimitsCommandShowsTheUpDownsAtTheNetCorners) {
  TDiagramIncrease w;
  Use(w, WaveGraph(), [](TDiagramIncrease& v) {
    TDiagram* d = v.Diagram1;
    const viewer::NetRect net = NetOf(*d);
    const QRect c = d->geometry();
    v.NLimit->trigger();
    for (TUpDown* u : {v.UpDown1, v.UpDown2, v.UpDown3, v.UpDown4}) EXPECT_TRUE(u->isVisible());
    EXPECT_TRUE(v.SpeedButtonLimit->isChecked());
    EXPECT_TRUE(v.NLimit->isChecked());
    EXPECT_EQ(v.UpDown1->geometry(), QRect(5, c.top() + net.yb, 16, 41));
    EXPECT_EQ(v.UpDown2->geometry(), QRect(5, c.top() + net.ye - 41, 16, 41));
    EXPECT_EQ(v.UpDown3->geometry(), QRect(c.left() + net.xb, c.bottom() + 1, 41, 16));
    EXPECT_EQ(v.UpDown4->geometry(), QRect(c.left() + net.xe - 41, c.bottom() + 1, 41, 16));
    // All of them within the scroll box's view, nothing to scroll.
    const QRect view(QPoint(0, 0), v.ScrollBox1->viewport()->size());
    for (TUpDown* u : {v.UpDown1, v.UpDown2, v.UpDown3, v.UpDown4})
      EXPECT_TRUE(view.contains(u->geometry())) << S(u->objectName());

    QTest::mouseClick(v.SpeedButtonLimit, Qt::LeftButton);  // a second use hides them
    for (TUpDown* u : {v.UpDown1, v.UpDown2, v.UpDown3, v.UpDown4}) EXPECT_FALSE(u->isVisible());
    EXPECT_FALSE(v.SpeedButtonLimit->isChecked());
    EXPECT_FALSE(v.NLimit->isChecked());
  });
}

TEST(ChartViewer, EachUpDownClickStepsItsLimit) {
  TDiagramIncrease w;
  Use(w, WaveGraph(), [](TDiagramIncrease& v) {
    TDiagram* d = v.Diagram1;
    QTest::mouseClick(v.SpeedButtonLimit, Qt::LeftButton);
    const double sy = chart::SteppingStep(d->GetPrecisionY(), d->GetYmax() - d->GetYmin());
    const double ymax = d->GetYmax();
    QTest::mouseClick(v.UpDown1, Qt::LeftButton, {}, Arrow(v.UpDown1, btNext));
    EXPECT_EQ(d->GetYmax(), ymax + sy);
    const double sy2 = chart::SteppingStep(d->GetPrecisionY(), d->GetYmax() - d->GetYmin());
    const double ymin = d->GetYmin();
    QTest::mouseClick(v.UpDown2, Qt::LeftButton, {}, Arrow(v.UpDown2, btPrev));
    EXPECT_EQ(d->GetYmin(), ymin - sy2);

    const double sx = chart::SteppingStep(d->GetPrecisionX(), d->GetXmax() - d->GetXmin());
    const double xmin = d->GetXmin();
    const double xmax = d->GetXmax();
    QTest::mouseClick(v.UpDown3, Qt::LeftButton, {}, Arrow(v.UpDown3, btNext));
    EXPECT_EQ(d->GetXmin(), xmin + sx);
    EXPECT_EQ(d->GetXmax(), xmax);
    const double sx2 = chart::SteppingStep(d->GetPrecisionX(), d->GetXmax() - d->GetXmin());
    QTest::mouseClick(v.UpDown4, Qt::LeftButton, {}, Arrow(v.UpDown4, btPrev));
    EXPECT_EQ(d->GetXmax(), xmax - sx2);
    EXPECT_EQ(d->GetXmin(), xmin + sx);
  });
}

TEST(ChartViewer, HoldingAnUpDownWithDrawingSuspendedDrawsTheSeriesOnceAtRelease) {
  TDiagramIncrease w;
  Use(w, WaveGraph(), [](TDiagramIncrease& v) {
    TDiagram* d = v.Diagram1;
    QTest::mouseClick(v.SpeedButtonLimit, Qt::LeftButton);
    QTest::mouseClick(v.SpeedButton1, Qt::LeftButton);
    ASSERT_TRUE(v.SpeedButton1->isChecked());

    const int redraws = d->GetRedrawCount();
    const double xmax = d->GetXmax();
    evaluations = 0;
    QTest::mousePress(v.UpDown4, Qt::LeftButton, {}, Arrow(v.UpDown4, btNext));
    QTest::qWait(TUpDown::RepeatDelayMs + 3 * TUpDown::RepeatIntervalMs);
    EXPECT_GE(d->GetRedrawCount() - redraws, 3);  // every step redrew the chart ...
    EXPECT_GT(d->GetXmax(), xmax);
    EXPECT_EQ(evaluations, 0);  // ... without its series
    EXPECT_FALSE(d->IsLineEnabled());
    QTest::mouseRelease(v.UpDown4, Qt::LeftButton, {}, Arrow(v.UpDown4, btNext));
    EXPECT_TRUE(d->IsLineEnabled());
    const int atRelease = evaluations;
    evaluations = 0;
    d->ShowDiagram();  // one full drawing of the series, for comparison
    EXPECT_GT(evaluations, 0);
    EXPECT_EQ(atRelease, evaluations);

    // With the button up every step draws the series.
    QTest::mouseClick(v.SpeedButton1, Qt::LeftButton);
    ASSERT_FALSE(v.SpeedButton1->isChecked());
    const int perDrawing = evaluations;
    evaluations = 0;
    QTest::mousePress(v.UpDown4, Qt::LeftButton, {}, Arrow(v.UpDown4, btPrev));
    QTest::qWait(TUpDown::RepeatDelayMs + 2 * TUpDown::RepeatIntervalMs);
    EXPECT_GE(evaluations, 2 * perDrawing);
    const int held = evaluations;
    QTest::mouseRelease(v.UpDown4, Qt::LeftButton, {}, Arrow(v.UpDown4, btPrev));
    EXPECT_EQ(evaluations, held);  // the release itself draws nothing more
  });
}

TEST(ChartViewer, ClosingWhileAnUpDownIsHeldEndsThePressAndTheNextGraphStaysPut) {
  TDiagramIncrease w;
  Use(w, WaveGraph(), [](TDiagramIncrease& v) {
    QTest::mouseClick(v.SpeedButtonLimit, Qt::LeftButton);
    QTest::mouseClick(v.SpeedButton1, Qt::LeftButton);  // no series while the limits move
    QTest::mousePress(v.UpDown4, Qt::LeftButton, {}, Arrow(v.UpDown4, btNext));
    QTest::qWait(TUpDown::RepeatDelayMs + TUpDown::RepeatIntervalMs + 50);
    ASSERT_TRUE(v.UpDown4->IsPressed());
    ASSERT_FALSE(v.Diagram1->IsLineEnabled());
    evaluations = 0;
    v.close();  // the close box, with the mouse button still held
  });
  // The press ended as a release ends it: series drawing is back on and the chart drew its
  // series once (and once more into the journal's picture of the closed graph).
  TDiagram* d = w.Diagram1;
  EXPECT_FALSE(w.UpDown4->IsPressed());
  EXPECT_TRUE(d->IsLineEnabled());
  const int atClose = evaluations;
  evaluations = 0;
  d->ShowDiagram();
  d->PictureAtDensity(report::JournalDensity(w));
  EXPECT_EQ(atClose, evaluations);
  // Nothing steps in the hidden window.
  const double xmax = d->GetXmax();
  QTest::qWait(3 * TUpDown::RepeatIntervalMs);
  EXPECT_EQ(d->GetXmax(), xmax);
  // The next graph shown there keeps the ranges it was given.
  Use(w, WaveGraph(), [](TDiagramIncrease& v) {
    EXPECT_EQ(v.InitXmax, 10.0);
    QTest::qWait(TUpDown::RepeatDelayMs + 3 * TUpDown::RepeatIntervalMs);
    EXPECT_EQ(v.Diagram1->GetXmin(), 0.0);
    EXPECT_EQ(v.Diagram1->GetXmax(), 10.0);
  });
}

TEST(ChartViewer, RestoreLimitsReturnsToTheStoredRanges) {
  TDiagramIncrease w;
  Use(w, WaveGraph(), [](TDiagramIncrease& v) {
    TDiagram* d = v.Diagram1;
    auto expectInitial = [&] {
      EXPECT_EQ(d->GetXmin(), 0.0);
      EXPECT_EQ(d->GetXmax(), 10.0);
      EXPECT_EQ(d->GetYmin(), -1.0);
      EXPECT_EQ(d->GetYmax(), 1.0);
    };
    // Within the initial ranges.
    d->SetRangeX(3, 5);
    d->SetRangeY(0.2, 0.5);
    const int redraws = d->GetRedrawCount();
    QTest::mouseClick(v.SpeedButtonRetLim, Qt::LeftButton);
    expectInitial();
    EXPECT_EQ(d->GetRedrawCount() - redraws, 4);  // one redraw per end

    // Wider and wholly above: the lower end first works as well.
    d->SetRangeX(12, 18);
    d->SetRangeY(2, 9);
    v.NRetLimit->trigger();
    expectInitial();

    // Wholly below the initial lower ends: setting the lower end first would turn the pair
    // round and leave -6 .. 10; the upper end goes first instead.
    d->SetRangeX(-8, -6);
    d->SetRangeY(-9, -5);
    v.NRetLimit->trigger();
    expectInitial();

    // Ending just short of the initial lower end (closer than the narrowest range).
    d->SetRangeX(-3, 0.0000005);
    v.NRetLimit->trigger();
    expectInitial();
  });
}

TEST(ChartViewer, CopyAndSaveGoThroughTheChart) {
  MessageRecorder rec;
  QTemporaryDir dir;
  TDiagramIncrease w;
  ModalScript script;
  QString offered;
  script.Then([&](QDialog&) {
    QTest::mouseClick(w.SpeedButtonCopy, Qt::LeftButton);
    const QImage clip = platform::ClipboardPicture();
    EXPECT_EQ(clip.size(), w.Diagram1->size());
    // In print colours: the background white, while the screen keeps its colours.
    EXPECT_EQ(clip.pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_FALSE(w.Diagram1->GetPrintMode());
    w.NBmp->trigger();  // asks for the file name (scripted next)
    w.NClose->trigger();
  });
  script.Then([&](QDialog& d) {
    auto* fd = qobject_cast<QFileDialog*>(&d);
    ASSERT_NE(fd, nullptr);
    offered = QFileInfo(fd->selectedFiles().value(0)).fileName();
    // It opens in the current folder, whatever folder an earlier run left behind.
    EXPECT_EQ(fd->directory().absolutePath(), QDir::current().absolutePath());
    fd->setDirectory(dir.path());
    fd->findChild<QLineEdit*>("fileNameEdit")->setText("wave");
    d.accept();
  });
  ShowGraph(w, WaveGraph());
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(S(offered), "Диаграмма.bmp");
  const QImage saved(dir.filePath("wave.bmp"), "BMP");
  EXPECT_EQ(saved.size(), w.Diagram1->size());
  EXPECT_TRUE(rec.texts.empty());
}

TEST(ChartViewer, TheFirstShowLayoutIsKeptAtTheSecond) {
  TDiagramIncrease w;
  QRect chart;
  std::array<QRect, 4> upDowns;
  int netLeft = 0;
  Use(w, WaveGraph(), [&](TDiagramIncrease& v) {
    EXPECT_FALSE(v.IsFirstShow());
    v.SpeedButtonLimitClick();
    chart = v.Diagram1->geometry();
    upDowns = {v.UpDown1->geometry(), v.UpDown2->geometry(), v.UpDown3->geometry(),
               v.UpDown4->geometry()};
    netLeft = v.Diagram1->Get_xb_net();
    // A resize once the window is on screen moves nothing.
    v.showNormal();
    v.resize(640, 480);
    QTest::qWait(20);
    EXPECT_EQ(v.Diagram1->geometry(), chart);
    EXPECT_EQ(v.UpDown3->geometry(), upDowns[2]);
  });

  // A second graph whose y labels are wider, so a new layout would move the up-downs.
  GraphSetup g = WaveGraph();
  g.limitYmin = -60000;
  g.limitYmax = 60000;
  g.ranges = [](TDiagram& c) {
    c.SetRangeX(0, 10);
    c.SetRangeY(-50000, 50000);
  };
  Use(w, g, [&](TDiagramIncrease& v) {
    EXPECT_TRUE(v.isMaximized());
    EXPECT_NE(v.Diagram1->Get_xb_net(), netLeft);
    EXPECT_EQ(v.Diagram1->geometry(), chart);
    EXPECT_EQ(v.UpDown1->geometry(), upDowns[0]);
    EXPECT_EQ(v.UpDown2->geometry(), upDowns[1]);
    EXPECT_EQ(v.UpDown3->geometry(), upDowns[2]);
    EXPECT_EQ(v.UpDown4->geometry(), upDowns[3]);
    // The chart keeps the state of the last use: the up-downs are still shown, the
    // cross-hair still on.
    EXPECT_TRUE(v.UpDown1->isVisible());
    EXPECT_TRUE(v.SpeedButtonLimit->isChecked());
    EXPECT_TRUE(v.Diagram1->GetShowFeeler());
  });
}

TEST(ChartViewer, AGraphIsPaintedOnceBeforeItsWindowShows) {
  TDiagramIncrease w;
  Use(w, WaveGraph(), [](TDiagramIncrease&) {});  // past the first show's layout
  const int before = w.Diagram1->GetRedrawCount();
  int painted = 0;
  GraphSetup g = WaveGraph();  // every name and range new: each setter lays the chart out
  g.title = g.nameX = g.nameY = QStringLiteral("Другой");
  g.ranges = [](TDiagram& c) {
    c.SetRangeX(2, 8);
    c.AutoRangeY();
  };
  Use(w, g, [&](TDiagramIncrease& v) { painted = v.Diagram1->GetRedrawCount() - before; });
  EXPECT_EQ(painted, 1);
  EXPECT_TRUE(w.Diagram1->IsPaintingEnabled());
}

TEST(ChartViewer, CloseFromTheMenuEndsTheModalShow) {
  TDiagramIncrease w;
  ModalScript script;
  bool closed = false;
  script.Then([&](QDialog&) {
    w.NClose->trigger();
    closed = true;
  });
  ShowGraph(w, WaveGraph());
  EXPECT_TRUE(closed);
  EXPECT_FALSE(w.isVisible());
}

TEST(ChartViewer, TheFirstLayoutFollowsASizeChangeBeforeTheWindowIsOnScreen) {
  // A window manager may still change the size of the maximized window after the show and
  // before the window appears: the first layout follows, so the chart fits the box.
  TDiagramIncrease w;
  w.show();
  ASSERT_FALSE(w.windowHandle()->isExposed());
  w.showNormal();
  w.resize(700, 500);
  auto fits = [&w] {
    const QSize client = w.ScrollBox1->maximumViewportSize();
    EXPECT_EQ(w.Diagram1->geometry(), QRect(21, 5, client.width() - 36, client.height() - 26));
    EXPECT_EQ(w.UpDown3->y(), w.Diagram1->geometry().bottom() + 1);
  };
  fits();
  const QRect chart = w.Diagram1->geometry();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.resize(600, 400);  // once on screen, the layout stays
  EXPECT_EQ(w.Diagram1->geometry(), chart);
  w.hide();  // and at the next show as well, before and after the window is on screen
  w.show();
  w.showNormal();
  w.resize(500, 300);
  EXPECT_EQ(w.Diagram1->geometry(), chart);
  w.close();
}
