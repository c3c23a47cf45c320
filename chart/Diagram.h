#pragma once
// TDiagram: the chart control. An image control whose picture it redraws completely on
// every change: backgrounds, the net (grid frame) with grid lines, tick marks and labels,
// the title and axis names, every shown series of its list, and two corner pictures. It
// keeps the visible ranges within limits, steps and auto-ranges them, shows a measuring
// cross-hair that follows the mouse over the net, and exports its picture in print colours
// to the clipboard or to a bitmap file.
//
// Layout, transforms, ranges and grid come from chart/DiagramGeometry, series drawing from
// chart/SeriesDrawing; this class measures texts, keeps the state and paints.
#include <QString>
#include <cstdint>

#include "chart/DiagramGeometry.h"
#include "chart/Keeper.h"
#include "chart/SeriesDrawing.h"
#include "platform/Canvas.h"
#include "platform/GraphicsTypes.h"
#include "platform/Image.h"

class TDiagram : public TImage {
  Q_OBJECT

 public:
  explicit TDiagram(QWidget* Owner = nullptr);
  ~TDiagram() override;

  // ---- Visual properties: each setter stores the value and redraws -----------------------
  TColor GetColorBackDiagram() const { return ColorBackDiagram; }
  void SetColorBackDiagram(TColor c);
  TColor GetColorBackNet() const { return ColorBackNet; }
  void SetColorBackNet(TColor c);
  TColor GetColorNetLine() const { return ColorNetLine; }
  void SetColorNetLine(TColor c);
  TPenStyle GetPenStyleNetLine() const { return PenStyleNetLine; }
  void SetPenStyleNetLine(TPenStyle s);
  QString GetNameX() const { return NameX; }
  void SetNameX(const QString& s);
  QString GetNameY() const { return NameY; }
  void SetNameY(const QString& s);
  QString GetNameDiagram() const { return NameDiagram; }
  void SetNameDiagram(const QString& s);
  const TFont& GetFontNameX() const { return FontNameX; }
  void SetFontNameX(const TFont& f);
  const TFont& GetFontNameY() const { return FontNameY; }
  void SetFontNameY(const TFont& f);
  const TFont& GetFontName() const { return FontName; }
  void SetFontName(const TFont& f);
  const TFont& GetFontNet() const { return FontNet; }
  void SetFontNet(const TFont& f);
  // Copies the picture; none clears it.
  void SetBitmapX(const TBitmap* b);
  void SetBitmapY(const TBitmap* b);
  TBitmap& GetBitmapX() { return BitmapX; }
  TBitmap& GetBitmapY() { return BitmapY; }

  double GetXmin() const { return x_.min; }
  double GetXmax() const { return x_.max; }
  double GetYmin() const { return y_.min; }
  double GetYmax() const { return y_.max; }
  int GetPrecisionX() const { return x_.precision; }
  int GetPrecisionY() const { return y_.precision; }
  double GetLimitXmin() const { return x_.limitMin; }
  double GetLimitXmax() const { return x_.limitMax; }
  double GetLimitYmin() const { return y_.limitMin; }
  double GetLimitYmax() const { return y_.limitMax; }

  // ---- Geometry of the last redraw --------------------------------------------------------
  int Get_x0_out() const { return x0_out; }
  int Get_y0_out() const { return y0_out; }
  int Get_w_out() const { return w_out; }
  int Get_h_out() const { return h_out; }
  int Get_xb_net() const { return xb_net; }
  int Get_yb_net() const { return yb_net; }
  int Get_xe_net() const { return xb_net + w_net; }
  int Get_ye_net() const { return yb_net + h_net; }
  TFont& GetFont() { return Canvas()->Font; }

  // ---- Coordinate transforms (extended precision, truncation toward zero) -----------------
  int MathToPhisX(double x) const { return Map().MathToPhisX(x); }
  int MathToPhisY(double y) const { return Map().MathToPhisY(y); }
  double PhisToMathX(int px) const { return Map().PhisToMathX(px); }
  double PhisToMathY(int py) const { return Map().PhisToMathY(py); }

  // ---- Ranges and limits --------------------------------------------------------------------
  void SetRangeX(double a, double b);
  void SetRangeY(double a, double b);
  void SetXmin(double v) { SetRangeX(v, x_.max); }
  void SetXmax(double v) { SetRangeX(x_.min, v); }
  void SetYmin(double v) { SetRangeY(v, y_.max); }
  void SetYmax(double v) { SetRangeY(y_.min, v); }
  void SetPrecisionX(int p);
  void SetPrecisionY(int p);
  void SetLimitX(double a, double b);
  void SetLimitY(double a, double b);
  void SetLimitXmin(double v) { SetLimitX(v, x_.limitMax); }
  void SetLimitXmax(double v) { SetLimitX(x_.limitMin, v); }
  void SetLimitYmin(double v) { SetLimitY(v, y_.limitMax); }
  void SetLimitYmax(double v) { SetLimitY(y_.limitMin, v); }

  // ---- Stepping -------------------------------------------------------------------------------
  void IncrementXmin(double d) { SetRangeX(x_.min + d, x_.max); }
  void IncrementXmax(double d) { SetRangeX(x_.min, x_.max + d); }
  void IncrementYmin(double d) { SetRangeY(y_.min + d, y_.max); }
  void IncrementYmax(double d) { SetRangeY(y_.min, y_.max + d); }
  void IncreaseXmin() { IncrementXmin(StepX()); }
  void ReduceXmin() { IncrementXmin(-StepX()); }
  void IncreaseXmax() { IncrementXmax(StepX()); }
  void ReduceXmax() { IncrementXmax(-StepX()); }
  void IncreaseYmin() { IncrementYmin(StepY()); }
  void ReduceYmin() { IncrementYmin(-StepY()); }
  void IncreaseYmax() { IncrementYmax(StepY()); }
  void ReduceYmax() { IncrementYmax(-StepY()); }

  // ---- Auto-ranging over the series of the list that are bound to data, shown or hidden ---
  // (the extents; the averages take every series of the list)
  void AutoRangeX();
  void AutoRangeY();
  void AutoRangeXAverage();
  void AutoRangeYAverage();

  // ---- Other ------------------------------------------------------------------------------------
  static int num2char(char* buf, double x, int precision) {
    return chart::num2char(buf, x, precision);
  }
  // A new empty picture of the control's size.
  void FullSize();
  void SetPrintMode();
  void ResetPrintMode();
  bool GetPrintMode() const { return printMode_; }
  void SetLeftTopX(int) { ShowDiagram(); }
  // Series drawing on or off for the following redraws; does not redraw.
  void EnableLine(bool on) { lineEnabled_ = on; }
  bool IsLineEnabled() const { return lineEnabled_; }
  // Painting on or off for the following redraws; does not redraw. With painting off a
  // redraw still lays the chart out (frame, grids, precisions: what later requests read) but
  // leaves the picture as it is, so a hidden chart being set up in many steps is painted
  // once, by the redraw after painting is back on, exactly as the last of those steps would
  // have painted it.
  void EnablePainting(bool on) { paintingEnabled_ = on; }
  bool IsPaintingEnabled() const { return paintingEnabled_; }
  // How bars, stems and the extremes of curves are walked: only the samples that can draw
  // (the default), or every sample position of the view (the plain walk: the same picture,
  // for comparison and measurement). Does not redraw.
  void SetSeriesWalk(chart::SeriesWalk walk) { seriesWalk_ = walk; }

  // ---- Rendering --------------------------------------------------------------------------------
  void ShowDiagram();
  void ShowAnalog(TKeeper* k);
  void ShowDiscret(TKeeper* k);
  void ShowRadio(TKeeper* k);
  void ShowHistogram(TKeeper* k);
  void ShowBitmap();
  // One pixel at (x, y) when the point is in the visible ranges; lasts until the next redraw.
  void ShowPoint(double x, double y, TColor colour);
  // The chart as it stands drawn anew into a picture of `density` times the pixels along
  // each axis (its device pixel ratio says so): the layout, grid, labels, names and series of
  // the last redraw, in the current colours, the texts and curves as fine as the picture
  // allows; no cross-hair. A null picture when there is no memory for it.
  QImage PictureAtDensity(int density);

  // ---- Series list: the base series 0 and the series the chart allocates behind it --------
  // Numbers run 0, 1, 2 ... without gaps; a list holds at most MaxSeries series.
  static constexpr int MaxSeries = 255;
  void NewKeeperList(std::uint8_t n);
  void DeleteKeeperList();
  std::uint8_t NewKeeper();
  TKeeper* PNewKeeper();
  void DeleteKeeper(std::uint8_t n);
  void PDeleteKeeper(TKeeper* k);
  TKeeper* GetKeeper(std::uint8_t n);
  std::uint8_t GetKeeperListLength() const;

  // ---- Measuring cross-hair (feeler) --------------------------------------------------------
  bool GetShowFeeler() const { return ShowFeeler; }
  void SetShowFeeler(bool b);
  TPenStyle GetPenStyleFeeler() const { return PenStyleFeeler; }
  void SetPenStyleFeeler(TPenStyle s) { PenStyleFeeler = s; }
  int GetPenWidthFeeler() const { return PenWidthFeeler; }
  void SetPenWidthFeeler(int w) { PenWidthFeeler = w; }
  TColor GetColorFeeler() const { return ColorFeeler; }
  void SetColorFeeler(TColor c) { ColorFeeler = c; }
  TCursor GetNetCursor() const { return NetCursor; }
  void SetNetCursor(TCursor c) { NetCursor = c; }
  bool IsFeelerDrawn() const { return feelerDrawn_; }

  // The chart's own mouse-move event (sender, shift state, x, y in chart pixels).
  TMouseMoveEvent OnMouseMove;
  void MouseMove(TShiftState Shift, int X, int Y) override;

  // ---- Export in print colours --------------------------------------------------------------
  void CopyToClipboard();
  // Asks for a file name ("Диаграмма.bmp" offered), then saves.
  void SaveBmpFile();
  // Saves as a Windows bitmap; another extension is corrected to ".bmp" with a message,
  // and when the corrected file exists the overwrite question is asked (declining saves
  // nothing). A file that cannot be written is reported in a message; the chart returns to
  // its colours.
  void SaveBmpFile(const QString& FileName);

  // ---- What the last redraw computed (for the window hosting the chart, and tests) --------
  const chart::FrameLayout& Layout() const { return layout_; }
  const chart::AxisGrid& GridX() const { return gridX_; }
  const chart::AxisGrid& GridY() const { return gridY_; }
  // Redraws that painted the picture.
  int GetRedrawCount() const { return redraws_; }

 private:
  struct FeelerPen {
    TPenStyle style = psSolid;
    int width = 1;
    TColor color = clBlack;
  };

  chart::PlotMap Map() const;
  double StepX() const { return chart::SteppingStep(x_.precision, x_.max - x_.min); }
  double StepY() const { return chart::SteppingStep(y_.precision, y_.max - y_.min); }
  TColor Shown(TColor normal) const { return printMode_ ? clWhite : normal; }
  TColor Ink(TColor normal) const { return printMode_ ? clBlack : normal; }
  // Everything but the layout, which the last redraw computed, onto c at its density.
  void Paint(TCanvas& c);
  void DrawGrid(TCanvas& c);
  // The net and the transforms in the pixels of a picture of that density.
  chart::NetRect NetAt(int density) const;
  chart::PlotMap MapAt(int density) const;
  // Series k drawn as the type `as` on c, a canvas at density 1 over a picture of `density`.
  void DrawSeries(TCanvas& c, int density, TKeeper* k, GraphType as);
  void DrawBitmaps(TCanvas& c);
  void DrawFeeler(int x, int y, const FeelerPen& pen);
  TKeeper* Last(int* links) const;
  // A new default series at the end of the list; none when memory or numbers run out.
  TKeeper* Append();

  int xb_net = 0, yb_net = 0, w_net = 0, h_net = 0;
  int x0_out = 0, y0_out = 0, w_out = 0, h_out = 0;
  TColor ColorBackDiagram = clBtnFace;
  TColor ColorBackNet = clWhite;
  TColor ColorNetLine = clBlack;
  TPenStyle PenStyleNetLine = psDot;
  QString NameY = QStringLiteral("y");
  QString NameX = QStringLiteral("x");
  QString NameDiagram = QStringLiteral("График");
  TFont FontNameX, FontNameY, FontName, FontNet;
  bool printMode_ = false;
  TBitmap BitmapX, BitmapY;
  bool lineEnabled_ = true;
  bool paintingEnabled_ = true;
  chart::SeriesWalk seriesWalk_ = chart::SeriesWalk::Visible;
  bool ShowFeeler = true;
  bool feelerDrawn_ = false;
  bool cursorSaved_ = false;
  int feelerX_ = 0, feelerY_ = 0;
  TCursor NetCursor = crCross;
  TCursor savedCursor_ = crDefault;
  TPenStyle PenStyleFeeler = psSolid;
  int PenWidthFeeler = 1;
  TColor ColorFeeler = clBlack;
  FeelerPen drawnPen_;
  chart::AxisState x_;
  chart::AxisState y_;
  TKeeper base_;

  chart::FrameLayout layout_;
  chart::AxisGrid gridX_, gridY_;
  int redraws_ = 0;
};

// The messages of the chart, exact texts (the first letter of the second word of the
// could-not-create message is a Latin H).
extern const char* const DiagramNoMemoryMessage;
extern const char* const DiagramCannotCreateMessage;
extern const char* const DiagramDeleteBaseMessage;
