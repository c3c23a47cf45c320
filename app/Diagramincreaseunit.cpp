#include "app/Diagramincreaseunit.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QShowEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <initializer_list>

#include "app/DiagramIncreaseRules.h"
#include "app/Glyphs.h"
#include "app/GraphJournal.h"
#include "chart/Diagram.h"
#include "chart/GraphData.h"
#include "model/Messages.h"
#include "platform/Cursor.h"
#include "platform/FileWrite.h"
#include "platform/Modal.h"
#include "platform/SaveDialog.h"
#include "platform/Window.h"

TDiagramIncrease* DiagramIncrease = nullptr;
TDiagramIncrease* DiagramIncreaseAnalysis = nullptr;

namespace {

// A tool bar divider: a gap with an etched vertical line in its middle.
class Divider : public QWidget {
 public:
  Divider(QWidget* parent, int width) : QWidget(parent) { setFixedSize(width, 22); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const int x = width() / 2 - 1;
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(x, 1, x, height() - 2);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(x + 1, 1, x + 1, height() - 2);
  }
};

QFrame* EdgeLine(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

viewer::UpDownSizes SizesOf(const TUpDown& vertical, const TUpDown& horizontal) {
  viewer::UpDownSizes s;
  s.verticalWidth = vertical.width();
  s.verticalHeight = vertical.height();
  s.horizontalWidth = horizontal.width();
  s.horizontalHeight = horizontal.height();
  return s;
}

void Place(QWidget& w, const viewer::Rect& r) {
  w.setGeometry(r.left, r.top, r.width, r.height);
}

}  // namespace

TDiagramIncrease::TDiagramIncrease(QWidget* Owner) : QDialog(Owner) {
  setWindowTitle(QStringLiteral("Диаграмма"));
  // System menu and maximize box (and the close box that comes with the system menu); no
  // minimize box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setSizeGripEnabled(false);
  QFont f = QApplication::font();
  f.setPixelSize(11);
  setFont(f);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  BuildChart();  // the handlers of the bars refer to the chart
  BuildMenu();
  BuildToolBar();
  layout->setMenuBar(MainMenu1);
  layout->addWidget(EdgeLine(this));
  layout->addWidget(ToolBar1);
  layout->addWidget(EdgeLine(this));
  layout->addWidget(ScrollBox1, 1);

  resize(812, 591);
  platform::CenterOnScreen(*this);
  FormCreate();
}

TDiagramIncrease::~TDiagramIncrease() = default;

// ---------------------------------------------------------------------------------------
// Construction of the controls

void TDiagramIncrease::BuildMenu() {
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName("MainMenu1");
  auto add = [this](QMenu* menu, const char* name, const char* text, Glyph glyph,
                    void (TDiagramIncrease::*click)()) {
    QAction* a = menu->addAction(GlyphIcon(glyph), QString::fromUtf8(text));
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, click] { (this->*click)(); });
    return a;
  };
  QMenu* file = MainMenu1->addMenu(QStringLiteral("Файл"));
  NClose = add(file, "NClose", "Закрыть", Glyph::Close, &TDiagramIncrease::SpeedButtonCloseClick);

  QMenu* chart = MainMenu1->addMenu(QStringLiteral("Диаграмма"));
  NMeasure = add(chart, "NMeasure", "Измерения", Glyph::Measure,
                 &TDiagramIncrease::SpeedButtonMeasureClick);
  NMeasure->setCheckable(true);
  NMeasure->setChecked(true);
  NLimit = add(chart, "NLimit", "Пределы", Glyph::Limits, &TDiagramIncrease::SpeedButtonLimitClick);
  NLimit->setCheckable(true);
  NRetLimit = add(chart, "NRetLimit", "Исходные пределы", Glyph::RestoreLimits,
                  &TDiagramIncrease::SpeedButtonRetLimClick);
  chart->addSeparator();
  NBmp = add(chart, "NBmp", "Сохранить как рисунок", Glyph::SaveBitmap,
             &TDiagramIncrease::SpeedButtonBmpClick);
  NCopy = add(chart, "NCopy", "Копировать в буфер обмена", Glyph::Copy,
              &TDiagramIncrease::SpeedButtonCopyClick);
  NSaveData = add(chart, "NSaveData", "Сохранить данные...", Glyph::SaveData,
                  &TDiagramIncrease::NSaveDataClick);
}

void TDiagramIncrease::BuildToolBar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setFixedHeight(27);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setContentsMargins(0, 0, 0, 0);
  auto gap = [this](int width) {
    auto* w = new QWidget(ToolBar1);
    w->setFixedSize(width, 22);
    ToolBar1->addWidget(w);
  };
  auto divider = [this](const char* name) {
    auto* d = new Divider(ToolBar1, 12);
    d->setObjectName(name);
    ToolBar1->addWidget(d);
  };
  auto button = [this](const char* name, Glyph glyph, const char* hint, bool sticky,
                       void (TDiagramIncrease::*click)()) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setIcon(GlyphIcon(glyph));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(QString::fromUtf8(hint));
    b->setFixedSize(23, 22);
    b->setCheckable(sticky);
    b->setFocusPolicy(Qt::NoFocus);
    if (click != nullptr)
      connect(b, &QToolButton::clicked, this, [this, click] { (this->*click)(); });
    ToolBar1->addWidget(b);
    return b;
  };
  gap(8);  // ToolButton1
  SpeedButtonMeasure = button("SpeedButtonMeasure", Glyph::Measure, "Измерения", true,
                              &TDiagramIncrease::SpeedButtonMeasureClick);
  SpeedButtonMeasure->setChecked(true);
  SpeedButtonLimit = button("SpeedButtonLimit", Glyph::Limits, "Пределы", true,
                            &TDiagramIncrease::SpeedButtonLimitClick);
  SpeedButtonRetLim = button("SpeedButtonRetLim", Glyph::RestoreLimits, "Исходные пределы", false,
                             &TDiagramIncrease::SpeedButtonRetLimClick);
  // Read by the up-down handlers only.
  SpeedButton1 = button("SpeedButton1", Glyph::SuspendDrawing,
                        "Не показывать график при изменении пределов", true, nullptr);
  divider("ToolButton4");
  SpeedButtonBmp = button("SpeedButtonBmp", Glyph::SaveBitmap, "Сохранить как рисунок", false,
                          &TDiagramIncrease::SpeedButtonBmpClick);
  SpeedButtonCopy = button("SpeedButtonCopy", Glyph::Copy, "Копировать", false,
                           &TDiagramIncrease::SpeedButtonCopyClick);
  divider("ToolButton5");
  SpeedButtonClose = button("SpeedButtonClose", Glyph::Close, "Закрыть", false,
                            &TDiagramIncrease::SpeedButtonCloseClick);
  divider("ToolButton6");
  Panel2 = new QLabel(ToolBar1);
  Panel2->setObjectName("Panel2");
  Panel2->setFixedSize(191, 22);
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel2->setAlignment(Qt::AlignCenter);
  ToolBar1->addWidget(Panel2);
}

void TDiagramIncrease::BuildChart() {
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setObjectName("ScrollBox1");
  ScrollBox1->setWidgetResizable(false);
  content_ = new QWidget;
  content_->setObjectName("ScrollBox1Content");
  ScrollBox1->setWidget(content_);
  ScrollBox1->viewport()->installEventFilter(this);

  Diagram1 = new TDiagram(content_);
  Diagram1->setObjectName("Diagram1");
  Diagram1->setGeometry(0, 0, 788, 501);
  // The stored design of the chart: its fonts and the x range -1 .. 100; the other
  // properties keep the chart's own initial values (button-face background, white net,
  // black dotted net lines, "x", "y", "График", solid black cross-hair, cross over the net,
  // limits -100000 .. 100000).
  const TFont names = MakeFont(QStringLiteral("Times New Roman"), -16, fsBold | fsItalic);
  Diagram1->SetFontNameX(names);
  Diagram1->SetFontNameY(names);
  Diagram1->SetFontName(names);
  Diagram1->SetFontNet(MakeFont(QStringLiteral("Times New Roman"), -16));
  Diagram1->SetNetCursor(crCross);
  Diagram1->SetXmax(100);
  Diagram1->OnClick = [this](QObject*) { SpeedButtonMeasureClick(); };
  Diagram1->OnMouseMove = [this](QObject* sender, TShiftState shift, int x, int y) {
    Diagram1MouseMove(sender, shift, x, y);
  };

  TUpDown** upDowns[] = {&UpDown1, &UpDown2, &UpDown3, &UpDown4};
  void (TDiagramIncrease::*clicks[])(QObject*, TUDBtnType) = {
      &TDiagramIncrease::UpDown1Click, &TDiagramIncrease::UpDown2Click,
      &TDiagramIncrease::UpDown3Click, &TDiagramIncrease::UpDown4Click};
  const char* names4[] = {"UpDown1", "UpDown2", "UpDown3", "UpDown4"};
  for (int i = 0; i < 4; ++i) {
    auto* u = new TUpDown(content_, i < 2 ? udVertical : udHorizontal);
    u->setObjectName(names4[i]);
    u->SetWrap(true);
    u->SetMin(0);
    u->SetPosition(0);
    const auto click = clicks[i];
    u->OnClick = [this, click](QObject* sender, TUDBtnType b) { (this->*click)(sender, b); };
    u->OnMouseDown = [this](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
      UpDown1MouseDown(s, b, sh, x, y);
    };
    u->OnMouseUp = [this](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
      UpDown1MouseUp(s, b, sh, x, y);
    };
    u->hide();
    *upDowns[i] = u;
  }
  FitContent();
}

// ---------------------------------------------------------------------------------------
// Showing and layout

void TDiagramIncrease::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TDiagramIncrease::FormShow() {
  platform::ShowMaximized(*this);
  if (!firstShow_) return;
  firstShow_ = false;
  FirstShowLayout();
  layoutProvisional_ = true;
}

void TDiagramIncrease::FirstShowLayout() {
  if (layout() != nullptr) layout()->activate();
  // The client area of the scroll box: the chart fills it, so no scroll bar takes room.
  const QSize client = ScrollBox1->maximumViewportSize();
  const viewer::UpDownSizes sizes = SizesOf(*UpDown1, *UpDown3);
  const viewer::Rect chart = viewer::ChartPlacement(client.width(), client.height(), sizes);
  Place(*Diagram1, chart);
  Diagram1->ShowDiagram();  // the net is known after a redraw
  const viewer::NetRect net{Diagram1->Get_xb_net(), Diagram1->Get_yb_net(), Diagram1->Get_xe_net(),
                            Diagram1->Get_ye_net()};
  const auto places = viewer::UpDownPlacement(chart, net, sizes);
  Place(*UpDown1, places[0]);
  Place(*UpDown2, places[1]);
  Place(*UpDown3, places[2]);
  Place(*UpDown4, places[3]);
  FitContent();
}

void TDiagramIncrease::FitContent() {
  QRect extent(QPoint(0, 0), ScrollBox1->viewport()->size());
  for (QWidget* w : std::initializer_list<QWidget*>{Diagram1, UpDown1, UpDown2, UpDown3, UpDown4})
    extent |= QRect(QPoint(0, 0), w->geometry().bottomRight());
  content_->resize(extent.size());
}

bool TDiagramIncrease::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollBox1->viewport() && event->type() == QEvent::Resize) {
    if (layoutProvisional_) {
      const QWindow* w = windowHandle();
      if (w != nullptr && w->isExposed()) {
        layoutProvisional_ = false;
      } else {
        FirstShowLayout();
      }
    }
    FitContent();
  }
  return QDialog::eventFilter(watched, event);
}

void TDiagramIncrease::hideEvent(QHideEvent* event) {
  layoutProvisional_ = false;
  QDialog::hideEvent(event);
}

void TDiagramIncrease::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TDiagramIncrease::StoreInitialLimits() {
  InitXmin = Diagram1->GetXmin();
  InitXmax = Diagram1->GetXmax();
  InitYmin = Diagram1->GetYmin();
  InitYmax = Diagram1->GetYmax();
}

// ---------------------------------------------------------------------------------------
// Handlers

void TDiagramIncrease::Diagram1MouseMove(QObject*, TShiftState, int X, int Y) {
  const viewer::NetRect net{Diagram1->Get_xb_net(), Diagram1->Get_yb_net(), Diagram1->Get_xe_net(),
                            Diagram1->Get_ye_net()};
  QString text;
  if (viewer::ReadoutInside(net, X, Y)) {
    text = QString::fromStdString(
        viewer::ReadoutText(Diagram1->PhisToMathX(X), Diagram1->PhisToMathY(Y),
                            Diagram1->GetPrecisionX(), Diagram1->GetPrecisionY()));
  }
  if (Panel2->text() != text) Panel2->setText(text);
}

void TDiagramIncrease::SpeedButtonMeasureClick() {
  const bool on = !Diagram1->GetShowFeeler();
  Diagram1->SetShowFeeler(on);
  SpeedButtonMeasure->setChecked(on);
  NMeasure->setChecked(on);
}

void TDiagramIncrease::SpeedButtonLimitClick() {
  const bool on = UpDown1->isHidden();
  for (TUpDown* u : {UpDown1, UpDown2, UpDown3, UpDown4}) u->setVisible(on);
  SpeedButtonLimit->setChecked(on);
  NLimit->setChecked(on);
}

void TDiagramIncrease::StepLimit(TUDBtnType button, void (TDiagram::*increase)(),
                                 void (TDiagram::*reduce)()) {
  (Diagram1->*(button == btNext ? increase : reduce))();
}

void TDiagramIncrease::UpDown1Click(QObject*, TUDBtnType Button) {
  StepLimit(Button, &TDiagram::IncreaseYmax, &TDiagram::ReduceYmax);
}

void TDiagramIncrease::UpDown2Click(QObject*, TUDBtnType Button) {
  StepLimit(Button, &TDiagram::IncreaseYmin, &TDiagram::ReduceYmin);
}

void TDiagramIncrease::UpDown3Click(QObject*, TUDBtnType Button) {
  StepLimit(Button, &TDiagram::IncreaseXmin, &TDiagram::ReduceXmin);
}

void TDiagramIncrease::UpDown4Click(QObject*, TUDBtnType Button) {
  StepLimit(Button, &TDiagram::IncreaseXmax, &TDiagram::ReduceXmax);
}

void TDiagramIncrease::UpDown1MouseDown(QObject*, TMouseButton, TShiftState, int, int) {
  if (!SpeedButton1->isChecked()) return;
  Diagram1->EnableLine(false);
  drawingSuspended_ = true;
}

void TDiagramIncrease::UpDown1MouseUp(QObject*, TMouseButton, TShiftState, int, int) {
  // Series drawing comes back even if the button was raised while the mouse was held.
  if (!SpeedButton1->isChecked() && !drawingSuspended_) return;
  drawingSuspended_ = false;
  Diagram1->EnableLine(true);
  Diagram1->ShowDiagram();
}

void TDiagramIncrease::SpeedButtonRetLimClick() {
  // Each setter moves one end and redraws. The lower end goes first, unless the current
  // range lies wholly below the initial one, where that would keep the current upper end.
  if (viewer::RestoreOrderFor(Diagram1->GetXmax(), InitXmin) == viewer::RestoreOrder::MinFirst) {
    Diagram1->SetXmin(InitXmin);
    Diagram1->SetXmax(InitXmax);
  } else {
    Diagram1->SetXmax(InitXmax);
    Diagram1->SetXmin(InitXmin);
  }
  if (viewer::RestoreOrderFor(Diagram1->GetYmax(), InitYmin) == viewer::RestoreOrder::MinFirst) {
    Diagram1->SetYmin(InitYmin);
    Diagram1->SetYmax(InitYmax);
  } else {
    Diagram1->SetYmax(InitYmax);
    Diagram1->SetYmin(InitYmin);
  }
}

void TDiagramIncrease::SpeedButtonBmpClick() {
  Diagram1->SaveBmpFile();
}

void TDiagramIncrease::SpeedButtonCopyClick() {
  Diagram1->CopyToClipboard();
}

void TDiagramIncrease::NSaveDataClick() {
  platform::SaveFileRequest request;
  request.filter = QStringLiteral("Таблицы CSV (*.csv)|*.csv");
  request.defaultExt = QStringLiteral("csv");
  request.initialName =
      QString::fromStdString(chart::DataFileName(Diagram1->GetNameDiagram().toStdString()));
  request.overwritePrompt = true;
  QString name;
  if (platform::ChooseSaveFileName(this, request, &name)) SaveDataFile(name);
}

void TDiagramIncrease::SaveDataFile(const QString& FileName) {
  QString name = FileName;
  if (!platform::CorrectSaveName(this, name, QStringLiteral(".csv"))) return;
  platform::SetScreenCursor(platform::ScreenCursor::HourGlass);
  const TDiagram& d = *Diagram1;
  chart::PlotMap view;
  view.x0_out = d.Get_x0_out();
  view.y0_out = d.Get_y0_out();
  view.w_out = d.Get_w_out();
  view.h_out = d.Get_h_out();
  view.xmin = d.GetXmin();
  view.xmax = d.GetXmax();
  view.ymin = d.GetYmin();
  view.ymax = d.GetYmax();
  const std::string text =
      chart::DataFileText(d.GetNameX().toStdString(), d.GetNameY().toStdString(),
                          chart::ShownSeriesRows(*Diagram1->GetKeeper(0), view));
  QString error;
  const bool written = platform::WriteFileReplacing(
      QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())), name, &error);
  platform::SetScreenCursor(platform::ScreenCursor::Default);
  if (!written) lab::ShowMessage(error.toStdString());
}

void TDiagramIncrease::SpeedButtonCloseClick() {
  close();
}

// ---------------------------------------------------------------------------------------

void ShowGraph(TDiagramIncrease& window, const GraphSetup& graph) {
  TDiagram& chart = *window.Diagram1;
  TKeeper& base = *chart.GetKeeper(0);
  base.Hide();
  if (!graph.usesFurtherSeries) {
    for (TKeeper* k = base.GetNext(); k != nullptr; k = k->GetNext()) {
      k->Hide();
      k->Clear();
    }
  }
  chart.EnableLine(false);
  {
    // The window is hidden: each setter below redraws, and only the last picture is ever
    // seen, so they lay the chart out without painting it (five to eight full pictures saved).
    struct PaintingOff {
      TDiagram& chart;
      ~PaintingOff() { chart.EnablePainting(true); }
    } paintingOff{chart};
    chart.EnablePainting(false);
    if (graph.bind) graph.bind(chart, base);
    chart.SetNameY(graph.nameY);
    chart.SetNameX(graph.nameX);
    chart.SetNameDiagram(graph.title);
    window.setWindowTitle(graph.title);
    // Both limits of an axis in one call. One end after the other would pair a new lower
    // limit above the previous graph's upper limit with that upper limit, and the limits
    // would come out wider than the graph asks for.
    chart.SetLimitX(graph.limitXmin, graph.limitXmax);
    chart.SetLimitY(graph.limitYmin, graph.limitYmax);
    if (graph.ranges) graph.ranges(chart);
    window.StoreInitialLimits();
  }
  base.Show();
  chart.EnableLine(true);
  chart.ShowDiagram();
  platform::ShowModal(window);
  report::RecordGraph(window, graph.settings);
}
