#include "app/Unit1.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <ctime>

#include "app/BenchScale.h"
#include "app/Comfun.h"
#include "app/Diagramincreaseunit.h"
#include "app/EditFloatRules.h"
#include "app/Editfloatunit.h"
#include "app/Glyphs.h"
#include "app/Hellounit.h"
#include "app/Helpunit.h"
#include "app/OscilloscopeView.h"
#include "app/SavePicture.h"
#include "app/Startup.h"
#include "app/Unitreport.h"
#include "instruments/CharacteristicGraph.h"
#include "instruments/CorrelationGraph.h"
#include "instruments/Correlometer.h"
#include "instruments/HistogramCommand.h"
#include "instruments/Unitind.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Mathlib.h"
#include "model/Messages.h"
#include "model/Run.h"
#include "model/SampleStore.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"
#include "platform/Clipboard.h"
#include "platform/Cursor.h"
#include "platform/Image.h"
#include "platform/Jpeg.h"
#include "platform/Modal.h"

const char* const BenchTitle =
    "Лабораторная работа: прохождение случайного процесса через безынерционную нелинейную цепь";
const char* const RunStateReady = "Готово";
const char* const RunStateRunning = "Выполняется";
const char* const RunStateChanged = "Изменено";

TForm1* Form1 = nullptr;
bool ShowSplashAtStart = true;

namespace {

constexpr int DesignFontPixels = 16;
const char* const NothingSelected = "Элемент не выбран";

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName("Form1");
  setWindowTitle(QString::fromUtf8(BenchTitle));
  resize(1008, 656);
  // The small window font of the program (the default sans family, 8 pt at 96 dpi).
  QFont small = QApplication::font();
  small.setPixelSize(11);
  setFont(small);
  BuildToolBar();
  BuildMenu();
  BuildStatusBar();
  BuildBench();

  ScaleM = 1;
  ScaleD = 1;
  FirstPaint = true;
  // Every start draws a new random sequence: seed with the calendar time in seconds.
  mathlib::RandSeed(static_cast<std::uint32_t>(std::time(nullptr)));
  model::SampleCount = model::DefaultSampleCount;
  BenchReadings::InputMean = 0;
  BenchReadings::OutputMean = 0;

  // FormCreate: the title card, on top while the rest of the start-up runs.
  if (ShowSplashAtStart) ShowHelloForm();
}

TForm1::~TForm1() = default;

// ---------------------------------------------------------------------------------------
// Construction of the controls

void TForm1::BuildToolBar() {
  ToolBar1 = addToolBar(QString());
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setMovable(false);
  ToolBar1->setFixedHeight(29);
  ToolBar1->setIconSize(QSize(20, 20));
  auto spacer = [this](int width) {
    auto* w = new QWidget(ToolBar1);
    w->setFixedWidth(width);
    ToolBar1->addWidget(w);
  };
  auto button = [this](const char* name, Glyph glyph, const char* hint, void (TForm1::*click)()) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setIcon(GlyphIcon(glyph));
    b->setToolTip(QString::fromUtf8(hint));
    b->setFixedSize(23, 22);
    connect(b, &QToolButton::clicked, this, click);
    ToolBar1->addWidget(b);
    return b;
  };
  spacer(8);  // ToolButton1
  SpeedButton1 = button("SpeedButton1", Glyph::Save, "Сохранить схему лабораторной установки",
                        &TForm1::SpeedButton1Click);
  SpeedButton2 = button("SpeedButton2", Glyph::Copy, "Копировать схему лабораторной установки",
                        &TForm1::SpeedButton2Click);
  ToolBar1->addSeparator();  // ToolButton2
  SpeedButton3 = button("SpeedButton3", Glyph::Run, "Пуск", &TForm1::SpeedButton3Click);
  ToolBar1->addSeparator();  // ToolButton3
  ToolButton4 = button("ToolButton4", Glyph::Scale, "Масштаб", &TForm1::ToolButton4Click);
  ToolButton4->setFixedSize(39, 22);
  ToolButton4->setPopupMode(QToolButton::MenuButtonPopup);
  ToolBar1->addSeparator();  // ToolButton5
  spacer(26);                // ToolButton6
  SpeedButton4 = button("SpeedButton4", Glyph::Exit, "Выход", &TForm1::SpeedButton4Click);

  PopupMenuScale = new QMenu(this);
  PopupMenuScale->setObjectName("PopupMenuScale");
  auto* group = new QActionGroup(PopupMenuScale);
  auto item = [&](const char* name, const char* text, void (TForm1::*click)()) {
    QAction* a = PopupMenuScale->addAction(QString::fromUtf8(text));
    a->setObjectName(name);
    a->setCheckable(true);
    group->addAction(a);
    connect(a, &QAction::triggered, this, click);
    return a;
  };
  N22 = item("N22", "Авто", &TForm1::ToolButton4Click);
  N251 = item("N251", "25%", &TForm1::N201Click);
  N502 = item("N502", "50%", &TForm1::N301Click);
  N751 = item("N751", "75%", &TForm1::N401Click);
  N1001 = item("N1001", "100%", &TForm1::N501Click);
  N1252 = item("N1252", "125%", &TForm1::N601Click);
  N1251 = item("N1251", "150%", &TForm1::N701Click);
  N2001 = item("N2001", "200%", &TForm1::N801Click);
  N4001 = item("N4001", "400%", &TForm1::N901Click);
  N22->setChecked(true);
  ToolButton4->setMenu(PopupMenuScale);
}

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  auto add = [this](QMenu* menu, const char* name, const char* text, void (TForm1::*click)()) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, click);
    return a;
  };

  QMenu* file = bar->addMenu("Файл");
  NSaveScheme =
      add(file, "N2", "Сохранить схему лабораторной установки...", &TForm1::SpeedButton1Click);
  NCopyScheme =
      add(file, "N3", "Копировать схему лабораторной установки", &TForm1::SpeedButton2Click);
  NReport = add(file, "NReport", "Сохранить отчёт...", &TForm1::NReportClick);

  QMenu* lab = bar->addMenu("Лабораторная установка");
  N20 = add(lab, "N20", "Пуск", &TForm1::SpeedButton3Click);
  QMenu* hist = lab->addMenu("Построить гистограмму");
  N30 = add(hist, "N30", "Гистограмма на входе", &TForm1::N30Click);
  N32 = add(hist, "N32", "Гистограмма на выходе", &TForm1::N32Click);
  QMenu* kf = lab->addMenu("Построить график КФ");
  N42 = add(kf, "N42", "График КФ на входе...", &TForm1::N42Click);
  N43 = add(kf, "N43", "График КФ на выходе...", &TForm1::N43Click);
  N44 = add(lab, "N44", "Показать характеристику цепи...", &TForm1::N44Click);
  lab->addSeparator();
  N8 = add(lab, "N8", "Генератор...", &TForm1::Image2Click);
  lab->addSeparator();
  N9 = add(lab, "N9", "Нелинейная цепь...", &TForm1::Image3Click);
  lab->addSeparator();
  QMenu* osc = lab->addMenu("Осциллограф");
  NOscIn = add(osc, "N13", "Осциллограф вход...", &TForm1::Image4Click);
  NOscOut = add(osc, "N14", "Осциллограф выход...", &TForm1::Image9Click);
  lab->addSeparator();
  QMenu* ipv = lab->addMenu("ИПВ");
  NIpvIn = add(ipv, "N16", "ИПВ вход...", &TForm1::Image5Click);
  NIpvOut = add(ipv, "N17", "ИПВ выход...", &TForm1::Image10Click);
  lab->addSeparator();
  QMenu* kor = lab->addMenu("Коррелометр");
  NKorIn = add(kor, "N19", "Коррелометр вход...", &TForm1::Image7Click);
  NKorOut = add(kor, "N21", "Коррелометр выход...", &TForm1::Image12Click);
  lab->addSeparator();
  QMenu* ind = lab->addMenu("Индикатор");
  NIndIpvIn = add(ind, "N26", "Индикатор ИПВ вход...", &TForm1::Image6Click);
  NIndKorIn = add(ind, "N27", "Индикатор коррелометр вход...", &TForm1::Image8Click);
  ind->addSeparator();
  NIndIpvOut = add(ind, "N28", "Индикатор ИПВ выход...", &TForm1::Image11Click);
  NIndKorOut = add(ind, "N29", "Индикатор коррелометр выход...", &TForm1::Image13Click);
  lab->addSeparator();
  N24 = add(lab, "N24", "Настройки...", &TForm1::N24Click);

  QMenu* view = bar->addMenu("Вид");
  QMenu* scale = view->addMenu("Масштаб");
  auto* group = new QActionGroup(scale);
  auto radio = [&](const char* name, const char* text, void (TForm1::*click)()) {
    QAction* a = add(scale, name, text, click);
    a->setCheckable(true);
    group->addAction(a);
    return a;
  };
  N7 = radio("N7", "Авто", &TForm1::ToolButton4Click);
  N201 = radio("N201", "25%", &TForm1::N201Click);
  N301 = radio("N301", "50%", &TForm1::N301Click);
  N401 = radio("N401", "75%", &TForm1::N401Click);
  N501 = radio("N501", "100%", &TForm1::N501Click);
  N601 = radio("N601", "125%", &TForm1::N601Click);
  N701 = radio("N701", "150%", &TForm1::N701Click);
  N801 = radio("N801", "200%", &TForm1::N801Click);
  N901 = radio("N901", "400%", &TForm1::N901Click);
  N7->setChecked(true);

  // Three items without caption or command.
  for (int i = 0; i < 3; ++i) bar->addAction(QString());

  QMenu* exit = bar->addMenu("Выход");
  NExit = add(exit, "N6", "Выход", &TForm1::SpeedButton4Click);

  AddHelpMenu(*this);  // "Справка", and F1 in every window
}

void TForm1::BuildStatusBar() {
  StatusBar1 = statusBar();
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  const char* texts[3] = {"Масштаб: 100%", RunStateReady, NothingSelected};
  const int widths[3] = {150, 100, 50};
  for (int i = 0; i < 3; ++i) {
    auto* l = new QLabel(QString::fromUtf8(texts[i]), StatusBar1);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(widths[i]);
    if (i < 2) l->setFixedWidth(widths[i]);
    StatusBar1->addWidget(l, i == 2 ? 1 : 0);
    Panels[i] = l;
  }
}

void TForm1::BuildBench() {
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setObjectName("ScrollBox1");
  ScrollBox1->setWidgetResizable(false);
  ScrollBox1->setBackgroundRole(QPalette::Base);
  QPalette pal = ScrollBox1->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Window, Qt::white);
  ScrollBox1->setPalette(pal);
  auto* area = new QWidget;
  area->setAutoFillBackground(true);
  area->setPalette(pal);
  area->setMouseTracking(true);
  area->installEventFilter(this);
  ScrollBox1->setWidget(area);
  ScrollBox1->installEventFilter(this);
  setCentralWidget(ScrollBox1);

  Panel1 = new QWidget(area);
  Panel1->setObjectName("Panel1");
  Panel1->setAutoFillBackground(true);
  Panel1->setPalette(pal);
  QFont font(QStringLiteral("Times New Roman"));
  font.setPixelSize(DesignFontPixels);
  font.setBold(true);
  font.setItalic(true);
  Panel1->setFont(font);
  Panel1->resize(bench::PanelWidth, bench::PanelHeight);

  Image1 = new TImage(Panel1);
  Image1->setObjectName("Image1");
  Image1->SetStretch(true);
  Image1->Picture().Assign(platform::StoredPicture("bench.jpg"));
  Image1->OnMouseMove = [this](QObject*, TShiftState, int, int) {
    if (PanelText(2) != NothingSelected) SetPanelText(2, NothingSelected);
  };
  placed_.push_back({Image1, {0, 0, bench::PanelWidth, bench::PanelHeight}});

  Image2 = HotSpot(bench::Image2, "Генератор: выключен", &TForm1::Image2Click, true);
  Image3 = HotSpot(bench::Image3, "Нелинейная цепь: цепь 1", &TForm1::Image3Click, false, true);
  Image4 = HotSpot(bench::Image4, "Осциллограф: сигнал на входе цепи", &TForm1::Image4Click);
  Image5 = HotSpot(bench::Image5, "Измеритель плотности вероятности процесса на входе цепи",
                   &TForm1::Image5Click);
  Image6 = HotSpot(bench::Image6, "Индикатор ИПВ вход", &TForm1::Image6Click);
  Image7 = HotSpot(bench::Image7, "Коррелометр на входе цепи", &TForm1::Image7Click);
  Image8 = HotSpot(bench::Image8, "Индикатор коррелометра вход", &TForm1::Image8Click);
  Image9 = HotSpot(bench::Image9, "Осциллограф на выходе цепи", &TForm1::Image9Click);
  Image10 = HotSpot(bench::Image10, "Измеритель плотности вероятности на выходе цепи",
                    &TForm1::Image10Click);
  Image11 = HotSpot(bench::Image11, "Индикатор ИПВ на выходе", &TForm1::Image11Click);
  Image12 = HotSpot(bench::Image12, "Коррелометр на выходе", &TForm1::Image12Click);
  Image13 = HotSpot(bench::Image13, "Индикатор коррелометра на выходе", &TForm1::Image13Click);
  const char* names[] = {"Image2", "Image3", "Image4",  "Image5",  "Image6",  "Image7",
                         "Image8", "Image9", "Image10", "Image11", "Image12", "Image13"};
  TImage* spots[] = {Image2, Image3, Image4,  Image5,  Image6,  Image7,
                     Image8, Image9, Image10, Image11, Image12, Image13};
  for (int i = 0; i < 12; ++i) spots[i]->setObjectName(names[i]);

  LabelIpvIn = ReadingLabel(bench::LabelIpvIn);
  LabelIpvIn->setObjectName("LabelIpvIn");
  LabelKorIn = ReadingLabel(bench::LabelKorIn);
  LabelKorIn->setObjectName("LabelKorIn");
  LabelIpvOut = ReadingLabel(bench::LabelIpvOut);
  LabelIpvOut->setObjectName("LabelIpvOut");
  LabelKorOut = ReadingLabel(bench::LabelKorOut);
  LabelKorOut->setObjectName("LabelKorOut");
  ApplyScale(1, 1);
}

TImage* TForm1::HotSpot(const bench::Rect& r, const char* hint, void (TForm1::*click)(),
                        bool describesGenerator, bool describesCircuit) {
  auto* image = new TImage(Panel1);
  image->SetStretch(true);
  image->SetCursor(crHandPoint);
  image->SetHint(QString::fromUtf8(hint));
  image->SetShowHint(true);
  if (click != nullptr) image->OnClick = [this, click](QObject*) { (this->*click)(); };
  image->OnMouseMove = [this, image, describesGenerator, describesCircuit](QObject*, TShiftState,
                                                                           int, int) {
    if (describesGenerator) {
      if (FormGenerator != nullptr) SetPanelText(2, Q(FormGenerator->Description));
    } else if (describesCircuit) {
      if (FormCircuit != nullptr) SetPanelText(2, Q(FormCircuit->Description));
    } else {
      MouseOverHotSpot(image);
    }
  };
  placed_.push_back({image, r});
  return image;
}

QLabel* TForm1::ReadingLabel(const bench::Rect& r) {
  auto* l = new QLabel(QStringLiteral("0,0"), Panel1);
  l->setAlignment(Qt::AlignCenter);
  l->setAutoFillBackground(true);
  QPalette pal = l->palette();
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::black);
  l->setPalette(pal);
  l->setToolTip(QStringLiteral("0,0"));
  placed_.push_back({l, r});
  return l;
}

// ---------------------------------------------------------------------------------------
// Status bar

QString TForm1::PanelText(int panel) const {
  return Panels[panel]->text();
}

void TForm1::SetPanelText(int panel, const QString& text) {
  Panels[panel]->setText(text);
}

void TForm1::MouseOverHotSpot(TImage* image) {
  SetPanelText(2, image->GetHint());
}

// ---------------------------------------------------------------------------------------
// Scaling

void TForm1::ApplyScale(int m, int d) {
  Panel1->resize(benchscale::MulDiv(bench::PanelWidth, m, d),
                 benchscale::MulDiv(bench::PanelHeight, m, d));
  for (const Placed& p : placed_) {
    const bench::Rect r = benchscale::Scaled(p.design, m, d);
    p.widget->setGeometry(r.left, r.top, r.width, r.height);
  }
  QFont font = Panel1->font();
  font.setPixelSize(std::max(1, benchscale::MulDiv(DesignFontPixels, m, d)));
  Panel1->setFont(font);
}

void TForm1::CenterPanel() {
  const int W = ScrollBox1->width();
  const int H = ScrollBox1->height();
  const int left = benchscale::CenterOffset(W, Panel1->width());
  const int top = benchscale::CenterOffset(H, Panel1->height());
  Panel1->move(left, top);
  QWidget* area = ScrollBox1->widget();
  const QSize view = ScrollBox1->maximumViewportSize();
  area->resize(std::max(view.width(), left + Panel1->width() + 1),
               std::max(view.height(), top + Panel1->height() + 1));
  if (area->width() <= view.width() && area->height() <= view.height()) area->resize(view);
}

void TForm1::AutoScale() {
  const benchscale::AutoScaleResult r = benchscale::AutoScale(
      ScrollBox1->width(), ScrollBox1->height(), bench::PanelWidth, bench::PanelHeight);
  ScaleM = r.scale.num;
  ScaleD = r.scale.den;
  ApplyScale(ScaleM, ScaleD);
  CenterPanel();
  SetPanelText(0, QStringLiteral("Масштаб: %1%").arg(r.percent));
}

void TForm1::ToolButton4Click() {
  AutoScale();
  N7->setChecked(true);
  N22->setChecked(true);
}

void TForm1::FixedScale(int m, int d, QAction* mainItem, QAction* popupItem, const char* status) {
  ScaleM = m;
  ScaleD = d;
  ApplyScale(m, d);
  mainItem->setChecked(true);
  popupItem->setChecked(true);
  CenterPanel();
  SetPanelText(0, QString::fromUtf8(status));
}

void TForm1::N201Click() {
  FixedScale(1, 4, N201, N251, "Масштаб: 25%");
}
void TForm1::N301Click() {
  FixedScale(1, 2, N301, N502, "Масштаб: 50%");
}
void TForm1::N401Click() {
  FixedScale(3, 4, N401, N751, "Масштаб: 75%");
}
void TForm1::N501Click() {
  FixedScale(1, 1, N501, N1001, "Масштаб: 100%");
}
void TForm1::N601Click() {
  FixedScale(5, 4, N601, N1252, "Масштаб: 125%");
}
void TForm1::N701Click() {
  FixedScale(3, 2, N701, N1251, "Масштаб: 150%");
}
void TForm1::N801Click() {
  FixedScale(2, 1, N801, N2001, "Масштаб: 200%");
}
void TForm1::N901Click() {
  FixedScale(4, 1, N901, N4001, "Масштаб: 400%");
}

// ---------------------------------------------------------------------------------------
// Events

void TForm1::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  if (FirstPaint) FormPaint();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollBox1 && event->type() == QEvent::Resize) {
    CenterPanel();  // a resize re-centres only; the scale stays
  } else if (watched == ScrollBox1->widget() && event->type() == QEvent::MouseMove) {
    if (PanelText(2) != NothingSelected) SetPanelText(2, NothingSelected);
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormPaint() {
  if (!FirstPaint) return;
  FirstPaint = false;
  AutoScale();
  CreateFirstPaintWindows();
  SetFirstPaintCaptions();
  RaiseHelloForm();
}

// ---------------------------------------------------------------------------------------
// Readings

TForm1::IndicatorBinding TForm1::Binding(Indicator which) const {
  switch (which) {
    case IpvIn:
      return {&FormIndIpvIn,          LabelIpvIn,  Image6,
              "Индикатор ИПВ вход: ", "     1/мВ", &BenchReadings::DensityIn};
    case IpvOut:
      return {&FormIndIpvOut,          LabelIpvOut, Image11,
              "Индикатор ИПВ выход: ", "     1/мВ", &BenchReadings::DensityOut};
    case KorIn:
      return {
          &FormIndKorIn,         LabelKorIn, Image8, "Индикатор коррелометр вход: ", "     мВ*мВ",
          &BenchReadings::CorrIn};
    case KorOut:
      break;
  }
  return {
      &FormIndKorOut,         LabelKorOut, Image13, "Индикатор коррелометр выход: ", "     мВ*мВ",
      &BenchReadings::CorrOut};
}

void TForm1::ShowReading(double reading, Indicator which, int steps) {
  const IndicatorBinding b = Binding(which);
  const int decimals = *b.form != nullptr ? (*b.form)->ComboBox1->currentIndex() : 2;
  b.label->setText(Q(FormatFloatComma(decimals, reading)));
  b.label->setToolTip(b.label->text());
  if (steps >= 4) b.image->SetHint(QString::fromUtf8(b.prefix) + b.label->toolTip());
}

void TForm1::ShowCorrelation(const std::optional<double>& reading, Indicator which, int lag,
                             double tau) {
  if (reading.has_value()) {
    ShowReading(*reading, which);
    return;
  }
  // No reading: the label, its hint and the indicator picture's hint lose the old value
  // together (the picture keeps its prefix, so the status bar still names the device).
  const IndicatorBinding b = Binding(which);
  b.label->clear();
  b.label->setToolTip(QString());
  b.image->SetHint(QString::fromUtf8(b.prefix));
  const double period = FormGenerator->SamplingPeriod;
  const int n = model::SampleCount;
  const TFormKor* kor = which == KorIn ? FormKor : FormKorOut;
  const QString caption = kor != nullptr ? kor->windowTitle() : QString();
  lab::ShowMessage(caption.toStdString() + ": задержка " + editfloat::FormatG(tau) +
                   " мс не умещается в реализации из " + std::to_string(n) +
                   " отсчётов с периодом " + editfloat::FormatG(period) + " мс (сдвиг " +
                   std::to_string(lag) + " отсчётов). Наибольшая задержка для этой реализации: " +
                   instruments::LongestDelayText(n, period) + " мс. Показание не вычислено.");
}

void TForm1::ClearReadings() {
  LabelKorIn->clear();
  LabelIpvIn->clear();
  LabelKorIn->setToolTip(LabelKorIn->text());
  LabelIpvIn->setToolTip(LabelIpvIn->text());
  LabelKorOut->clear();
  LabelIpvOut->clear();
  LabelKorOut->setToolTip(LabelKorOut->text());
  LabelIpvOut->setToolTip(LabelIpvOut->text());
}

// ---------------------------------------------------------------------------------------
// The run

void TForm1::SpeedButton3Click() {
  platform::SetScreenCursor(platform::ScreenCursor::HourGlass);
  SetPanelText(1, RunStateRunning);
  try {
    RunAndShowReadings();
  } catch (...) {
    // Ended by an exception: the samples may be half rewritten, so they are marked stale and
    // the next command runs the model again. The application's handler restores the cursor
    // and says what happened.
    SetPanelText(1, RunStateChanged);
    throw;
  }
}

void TForm1::RunAndShowReadings() {
  using namespace BenchReadings;
  model::RunSettings s;
  s.generator = FormGenerator->Params();
  s.circuit = FormCircuit->Params();
  s.n = model::SampleCount;
  s.tauIn = FormKor->EditFloatTau->Val();
  s.tauOut = FormKorOut != nullptr ? FormKorOut->EditFloatTau->Val() : 0.0;
  TFormIPV* in = FormIPV;
  TFormIPV* out = FormIPVOut;
  s.measureIn = [in](const double* x, double n) { return in->Measure(x, n); };
  if (out != nullptr)
    s.measureOut = [out](const double* x, double n) { return out->Measure(x, n); };
  const model::RunOutcome outcome = model::RunModel(FormGenerator->Gen, s);

  if (!outcome.finite) {
    // The readings of the last good run stay, but the samples are not theirs any more.
    SetPanelText(1, RunStateChanged);
    platform::SetScreenCursor(platform::ScreenCursor::Default);
    lab::ShowMessage(
        "Расчёт прерван: при заданных параметрах цепи выходной сигнал не выражается конечными "
        "числами. Показания предыдущего расчёта сохранены.");
    return;
  }
  ShowCorrelation(outcome.corrInValid ? std::optional<double>(CorrIn) : std::nullopt, KorIn,
                  outcome.lagIn, s.tauIn);
  ShowReading(DensityIn, IpvIn, 3);
  ShowCorrelation(outcome.corrOutValid ? std::optional<double>(CorrOut) : std::nullopt, KorOut,
                  outcome.lagOut, s.tauOut);
  ShowReading(DensityOut, IpvOut, 3);
  SetPanelText(1, RunStateReady);
  platform::SetScreenCursor(platform::ScreenCursor::Default);
}

// ---------------------------------------------------------------------------------------
// Settings windows

void TForm1::Image2Click() {
  platform::ShowModal(*FormGenerator);
  Image2->SetHint(Q(FormGenerator->Description));
  if (!FormGenerator->Changed) return;
  SetPanelText(1, RunStateChanged);
  ClearReadings();
}

void TForm1::Image3Click() {
  platform::ShowModal(*FormCircuit);
  Image3->SetHint(Q(FormCircuit->Description));
  if (!FormCircuit->Changed) return;
  SetPanelText(1, RunStateChanged);
  ClearReadings();
}

void TForm1::N24Click() {
  platform::ShowModal(*FormTurn);
  if (!FormTurn->Changed) return;
  model::SampleCount = FormTurn->ChosenLength;
  FormGenerator->SamplingPeriod = FormTurn->ChosenPeriod;
  ApplyFftIndicator(FormTurn->CheckBox1->isChecked());
  SetPanelText(1, RunStateChanged);
  ClearReadings();
}

// ---------------------------------------------------------------------------------------
// Instruments

void TForm1::MeterClick(bool density, bool output) {
  using namespace BenchReadings;
  const int n = model::SampleCount;
  const double* samples = output ? SampleStore::OutputSamples : SampleStore::InputSamples;
  if (density) {
    TFormIPV* meter = output ? FormIPVOut : FormIPV;
    TImage* image = output ? Image10 : Image5;
    platform::ShowModal(*meter);
    platform::SetScreenCursor(platform::ScreenCursor::HourGlass);
    image->SetHint(meter->windowTitle() + ": уровень " + meter->EditFloatL->text() +
                   "мВ; интервал " + meter->EditFloatI->text() + "мВ");
    if (RunState() == RunStateChanged) {
      SpeedButton3Click();
      return;
    }
    double& reading = output ? DensityOut : DensityIn;
    reading = meter->Measure(samples, n);
    ShowReading(reading, output ? IpvOut : IpvIn);
  } else {
    TFormKor* meter = output ? FormKorOut : FormKor;
    TImage* image = output ? Image12 : Image7;
    platform::ShowModal(*meter);
    platform::SetScreenCursor(platform::ScreenCursor::HourGlass);
    image->SetHint(meter->windowTitle() + ": задержка " + meter->EditFloatTau->text() + " мс");
    if (RunState() == RunStateChanged) {
      SpeedButton3Click();
      return;
    }
    const double tau = meter->EditFloatTau->Val();
    const int lag = instruments::LagOf(tau, FormGenerator->SamplingPeriod);
    const std::optional<double> value =
        instruments::CorrelationAt(samples, n, lag, 0.0, output ? CorrScaleOut : CorrScaleIn);
    double& reading = output ? CorrOut : CorrIn;
    reading = value.value_or(instruments::NoReading);
    ShowCorrelation(value, output ? KorOut : KorIn, lag, tau);
  }
  platform::SetScreenCursor(platform::ScreenCursor::Default);
}

void TForm1::Image5Click() {
  MeterClick(true, false);
}
void TForm1::Image10Click() {
  MeterClick(true, true);
}
void TForm1::Image7Click() {
  MeterClick(false, false);
}
void TForm1::Image12Click() {
  MeterClick(false, true);
}

void TForm1::IndicatorClick(Indicator which) {
  const IndicatorBinding b = Binding(which);
  if (*b.form == nullptr) return;
  (*b.form)->Edit1->setText(b.label->text() + QString::fromUtf8(b.unit));
  platform::ShowModal(**b.form);
  if (b.label->text().isEmpty()) return;
  ShowReading(*b.reading, which);
}

void TForm1::Image6Click() {
  IndicatorClick(IpvIn);
}
void TForm1::Image11Click() {
  IndicatorClick(IpvOut);
}
void TForm1::Image8Click() {
  IndicatorClick(KorIn);
}
void TForm1::Image13Click() {
  IndicatorClick(KorOut);
}

// ---------------------------------------------------------------------------------------
// Graphs

void TForm1::Oscilloscope(bool output) {
  if (!RealizationsUpToDate()) return;
  ShowOscillogram(*DiagramIncrease, output ? OscilloscopeSide::Output : OscilloscopeSide::Input);
}

void TForm1::Image4Click() {
  Oscilloscope(false);
}
void TForm1::Image9Click() {
  Oscilloscope(true);
}

void TForm1::N44Click() {
  if (DiagramIncreaseAnalysis != nullptr)
    ShowCharacteristic(*DiagramIncreaseAnalysis, *FormCircuit);
}

bool TForm1::RealizationsUpToDate() {
  if (RunState() == RunStateChanged) SpeedButton3Click();
  return RunState() == RunStateReady;
}

void TForm1::N30Click() {
  instruments::HistogramCommand(instruments::HistogramSide::Input,
                                [this] { return RealizationsUpToDate(); });
}

void TForm1::N32Click() {
  instruments::HistogramCommand(instruments::HistogramSide::Output,
                                [this] { return RealizationsUpToDate(); });
}

void TForm1::CorrelationGraphClick(bool output) {
  if (!RealizationsUpToDate()) return;
  ShowCorrelationGraph(output);
}

void TForm1::N42Click() {
  CorrelationGraphClick(false);
}
void TForm1::N43Click() {
  CorrelationGraphClick(true);
}

// ---------------------------------------------------------------------------------------
// Picture, exit

void TForm1::SpeedButton1Click() {
  SavePictureAsBmp(*Image1);
}

void TForm1::SpeedButton2Click() {
  platform::ClipboardSetPicture(Image1->Picture().Image());
}

void TForm1::NReportClick() {
  ShowReportWindow();
}

void TForm1::SpeedButton4Click() {
  QApplication::closeAllWindows();
  QApplication::quit();
}
