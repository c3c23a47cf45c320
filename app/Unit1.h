#pragma once
// TForm1: the main window, the laboratory bench. It shows the bench schematic with its
// hot-spots and the four reading labels, owns the run-state text of the status bar, scales
// the bench, runs the model and opens the settings and instrument windows.
#include <QMainWindow>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "app/BenchLayout.h"

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QStatusBar;
class QToolBar;
class QToolButton;
class TImage;
class TFormInd;

// The title line of the laboratory work: the caption of the main window.
extern const char* const BenchTitle;

// The run-state texts of status panel 1.
extern const char* const RunStateReady;    // "Готово"
extern const char* const RunStateRunning;  // "Выполняется"
extern const char* const RunStateChanged;  // "Изменено"

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // ---- tool bar ----
  QToolBar* ToolBar1;
  QToolButton* SpeedButton1;  // save the bench picture
  QToolButton* SpeedButton2;  // copy the bench picture
  QToolButton* SpeedButton3;  // "Пуск"
  QToolButton* ToolButton4;   // "Масштаб": "Авто", its arrow opens PopupMenuScale
  QToolButton* SpeedButton4;  // "Выход"
  QMenu* PopupMenuScale;
  QAction *N22, *N251, *N502, *N751, *N1001, *N1252, *N1251, *N2001, *N4001;

  // ---- main menu ----
  QAction *NSaveScheme, *NCopyScheme, *NReport;          // "Файл"
  QAction *N20, *N30, *N32, *N42, *N43, *N44, *N8, *N9;  // "Лабораторная установка"
  QAction *NOscIn, *NOscOut, *NIpvIn, *NIpvOut, *NKorIn, *NKorOut;
  QAction *NIndIpvIn, *NIndKorIn, *NIndIpvOut, *NIndKorOut, *N24;
  QAction *N7, *N201, *N301, *N401, *N501, *N601, *N701, *N801, *N901;  // "Вид" ▸ "Масштаб"
  QAction* NExit;                                                       // "Выход"

  // ---- status bar: 0 the scale, 1 the run state, 2 the element under the mouse ----
  QStatusBar* StatusBar1;
  std::array<QLabel*, 3> Panels;
  QString PanelText(int panel) const;
  void SetPanelText(int panel, const QString& text);
  QString RunState() const { return PanelText(1); }

  // ---- the bench ----
  QScrollArea* ScrollBox1;
  QWidget* Panel1;
  TImage* Image1;  // the schematic
  TImage *Image2, *Image3, *Image4, *Image5, *Image6, *Image7, *Image8, *Image9, *Image10, *Image11,
      *Image12, *Image13;
  QLabel *LabelIpvIn, *LabelKorIn, *LabelIpvOut, *LabelKorOut;

  // BenchScale = ScaleM / ScaleD.
  int ScaleM = 1;
  int ScaleD = 1;
  bool FirstPaint = true;

  // ---- commands ----
  void SpeedButton1Click();  // save the bench picture as a bitmap file
  void SpeedButton2Click();  // copy the bench picture to the clipboard
  void NReportClick();       // the lab report
  void SpeedButton3Click();  // the run
  void SpeedButton4Click();  // exit
  void ToolButton4Click();   // "Авто" scale
  void N201Click();          // 25 %
  void N301Click();          // 50 %
  void N401Click();          // 75 %
  void N501Click();          // 100 %
  void N601Click();          // 125 %
  void N701Click();          // 150 %
  void N801Click();          // 200 %
  void N901Click();          // 400 %
  void Image2Click();        // generator
  void Image3Click();        // circuit
  void N24Click();           // model settings
  void N42Click();           // correlation-function graph of the input
  void N43Click();           // correlation-function graph of the output
  void Image5Click();        // input density meter
  void Image10Click();       // output density meter
  void Image7Click();        // input correlometer
  void Image12Click();       // output correlometer
  void Image6Click();        // indicators
  void Image11Click();
  void Image8Click();
  void Image13Click();
  void Image4Click();  // input oscilloscope
  void Image9Click();  // output oscilloscope
  void N44Click();     // the circuit characteristic graph
  void N30Click();     // input histogram
  void N32Click();     // output histogram

  // ---- the bench's mechanics ----
  void AutoScale();
  void CenterPanel();
  // The first paint: scale to fit, create the windows of the first paint, set captions.
  void FormPaint();

  // The four indicators: what belongs to each reading.
  enum Indicator { IpvIn = 0, IpvOut = 1, KorIn = 2, KorOut = 3 };
  // Writes a reading to its bench label, the label's hint and (steps 4) the indicator
  // picture's hint, with the decimals chosen in the indicator window.
  void ShowReading(double reading, Indicator which, int steps = 4);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct IndicatorBinding {
    TFormInd** form;
    QLabel* label;
    TImage* image;
    const char* prefix;
    const char* unit;
    double* reading;
  };
  IndicatorBinding Binding(Indicator which) const;

  void BuildToolBar();
  void BuildMenu();
  void BuildStatusBar();
  void BuildBench();
  TImage* HotSpot(const bench::Rect& r, const char* hint, void (TForm1::*click)(),
                  bool describesGenerator = false, bool describesCircuit = false);
  QLabel* ReadingLabel(const bench::Rect& r);

  // Scales the panel and its controls to the fraction m/d of the design geometry.
  void ApplyScale(int m, int d);
  void FixedScale(int m, int d, QAction* mainItem, QAction* popupItem, const char* status);
  void ClearReadings();
  // The run after its first steps (cursor, "Выполняется"): the model, then the readings.
  void RunAndShowReadings();
  void MeterClick(bool density, bool output);
  // An oscilloscope: the run when the settings changed, then the graph.
  void Oscilloscope(bool output);
  // Runs the model when the realizations are marked changed; true when they are current
  // (false when that run failed: the command then shows nothing).
  bool RealizationsUpToDate();
  void CorrelationGraphClick(bool output);
  void IndicatorClick(Indicator which);
  // Shows the reading, or when there is none, says why and leaves its label empty.
  void ShowCorrelation(const std::optional<double>& reading, Indicator which, int lag, double tau);
  void MouseOverHotSpot(TImage* image);

  struct Placed {
    QWidget* widget;
    bench::Rect design;
  };
  std::vector<Placed> placed_;
};

extern TForm1* Form1;

// Whether TForm1's creation shows the title card (tests switch it off).
extern bool ShowSplashAtStart;
