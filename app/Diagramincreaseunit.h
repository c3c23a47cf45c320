#pragma once
// TDiagramIncrease: the chart viewer window in which every graph of the bench is shown. It
// hosts one chart, Diagram1, with a tool bar and a menu for the measuring cross-hair, the
// limit up-downs at the net's edges, the return to the initial limits, saving the chart as
// a bitmap file, copying it, saving its numbers for a spreadsheet and closing. The window
// computes nothing itself: a graph command fills Diagram1, records the initial limits and
// shows the window modally (ShowGraph below does this in the one order every command uses).
#include <QDialog>
#include <QString>
#include <functional>

#include "platform/GraphicsTypes.h"
#include "platform/UpDown.h"

class QAction;
class QLabel;
class QMenuBar;
class QScrollArea;
class QToolBar;
class QToolButton;
class TDiagram;
class TKeeper;

class TDiagramIncrease : public QDialog {
  Q_OBJECT

 public:
  explicit TDiagramIncrease(QWidget* Owner = nullptr);
  ~TDiagramIncrease() override;

  // ---- menu ----
  QMenuBar* MainMenu1;
  QAction* NClose;  // "Файл" ▸ "Закрыть"
  QAction* NMeasure;  // "Диаграмма" ▸ "Измерения" (checked while the cross-hair is on)
  QAction* NLimit;     // "Пределы" (checked while the up-downs are shown)
  QAction* NRetLimit;  // "Исходные пределы"
  QAction* NBmp;       // "Сохранить как рисунок"
  QAction* NCopy;      // "Копировать в буфер обмена"
  QAction* NSaveData;  // "Сохранить данные...": the graph's numbers for a spreadsheet

  // ---- tool bar ----
  QToolBar* ToolBar1;
  QToolButton* SpeedButtonMeasure;  // sticky, down while the cross-hair is on
  QToolButton* SpeedButtonLimit;    // sticky, down while the up-downs are shown
  QToolButton* SpeedButtonRetLim;
  QToolButton* SpeedButton1;  // sticky: no series while an up-down is held
  QToolButton* SpeedButtonBmp;
  QToolButton* SpeedButtonCopy;
  QToolButton* SpeedButtonClose;
  QLabel* Panel2;  // the cursor coordinate readout

  // ---- the chart and its up-downs (Ymax, Ymin, Xmin, Xmax) ----
  QScrollArea* ScrollBox1;
  TDiagram* Diagram1;
  TUpDown* UpDown1;
  TUpDown* UpDown2;
  TUpDown* UpDown3;
  TUpDown* UpDown4;

  // The graph's limits as its command first showed it; "Исходные пределы" returns to them.
  double InitXmin = 0;
  double InitXmax = 0;
  double InitYmin = 0;
  double InitYmax = 0;

  // Records the chart's current visible ranges as the initial limits.
  void StoreInitialLimits();
  // True until the first show has laid out the chart and the up-downs.
  bool IsFirstShow() const { return firstShow_; }

  // ---- handlers ----
  void FormCreate() {}
  void Diagram1MouseMove(QObject* Sender, TShiftState Shift, int X, int Y);
  void SpeedButtonMeasureClick();  // tool button, menu and a click on the chart
  void SpeedButtonLimitClick();
  void UpDown1Click(QObject* Sender, TUDBtnType Button);  // Ymax
  void UpDown2Click(QObject* Sender, TUDBtnType Button);  // Ymin
  void UpDown3Click(QObject* Sender, TUDBtnType Button);  // Xmin
  void UpDown4Click(QObject* Sender, TUDBtnType Button);  // Xmax
  void UpDown1MouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void UpDown1MouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void SpeedButtonRetLimClick();
  void SpeedButtonBmpClick();
  void SpeedButtonCopyClick();
  // Asks for a file name (CSV, the chart title offered), then SaveDataFile.
  void NSaveDataClick();
  void SpeedButtonCloseClick();

  // Writes the numbers of every shown series inside the visible x range to a data file
  // (see chart/GraphData). Another extension is corrected to ".csv" with a message, asking
  // the overwrite question when the corrected file exists (declining writes nothing). The
  // file is replaced only once written in full; a failure is reported in a message naming
  // the file and the reason, and an existing file stays as it was.
  void SaveDataFile(const QString& FileName);

  // Every way of closing ends here.
  void done(int result) override;

 protected:
  // Every show: maximized; the first show also lays out the chart and the up-downs.
  virtual void FormShow();
  virtual void FormClose() {}

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenu();
  void BuildToolBar();
  void BuildChart();
  // Chart geometry from the scroll box's client area, a redraw, then the up-downs at the
  // net's corners.
  void FirstShowLayout();
  // The scroll box content covers its client area and every control in it.
  void FitContent();
  // One step of a limit: the up or right arrow increases it, the other reduces it.
  void StepLimit(TUDBtnType button, void (TDiagram::*increase)(), void (TDiagram::*reduce)());

  bool firstShow_ = true;
  // The first-show layout follows the scroll box's size until the window is first on
  // screen: a window manager may still adjust the maximized frame after the show.
  bool layoutProvisional_ = false;
  bool drawingSuspended_ = false;  // an up-down press switched series drawing off
  QWidget* content_ = nullptr;
};

// What a graph command puts into a chart viewer window.
struct GraphSetup {
  // The chart title, also the window caption.
  QString title;
  QString nameX;
  QString nameY;
  double limitXmin = -100000;
  double limitXmax = 100000;
  double limitYmin = -100000;
  double limitYmax = 100000;
  // Binds the data to the base series and sets its look (series drawing is off meanwhile);
  // may set up, show or hide further series.
  std::function<void(TDiagram& chart, TKeeper& base)> bind;
  // Sets the visible ranges once the limits are in force (SetRangeX, AutoRangeY, ...).
  std::function<void(TDiagram& chart)> ranges;
  // False: the graph is the base series alone; every further series (the histogram's law)
  // is hidden and unbound before bind, so no hidden curve of an earlier graph counts in
  // AutoRangeY. True: bind sets up the further series itself.
  bool usesFurtherSeries = false;
  // What the graph is built with, one line for the journal of graphs (see app/GraphJournal).
  QString settings;
};

// Shows a graph in the window: hides the base series (and, unless the graph uses them,
// hides and unbinds the further series) and switches series drawing off; with painting off
// binds the data, sets the names, title and caption, the limits and the ranges and records
// the initial limits; shows the base series, switches series drawing on, redraws (the one
// picture painted) and shows the window modally. Returns when the user has closed the
// window, after putting the graph as it was seen into the journal of graphs; the chart keeps
// the graph.
void ShowGraph(TDiagramIncrease& window, const GraphSetup& graph);

// The two chart viewer windows of the bench: the oscilloscopes, and the histograms,
// correlation functions and the characteristic.
extern TDiagramIncrease* DiagramIncrease;
extern TDiagramIncrease* DiagramIncreaseAnalysis;
