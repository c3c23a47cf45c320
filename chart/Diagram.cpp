#include "chart/Diagram.h"

#include <new>

#include "chart/SeriesDrawing.h"
#include "model/Messages.h"
#include "platform/Bmp.h"
#include "platform/Clipboard.h"
#include "platform/SaveDialog.h"

const char* const DiagramNoMemoryMessage =
    "Diagram: Отказано в выделении памяти при создании графика.";
const char* const DiagramCannotCreateMessage = "Diagram: Hе удалось создать график.";
const char* const DiagramDeleteBaseMessage = "Diagram: Попытка удалить базовый график отменена.";

namespace {

// The canvas as the pen of the series drawing.
class CanvasPen : public chart::PenSink {
 public:
  explicit CanvasPen(TCanvas& c) : c_(c) {}
  void MoveTo(int x, int y) override { c_.MoveTo(x, y); }
  void LineTo(int x, int y) override { c_.LineTo(x, y); }
  void Ellipse(int x1, int y1, int x2, int y2) override { c_.Ellipse(x1, y1, x2, y2); }

 private:
  TCanvas& c_;
};

}  // namespace

TDiagram::TDiagram(QWidget* Owner) : TImage(Owner) {
  base_.SetNumber(0);
  base_.ClearNext();
  ShowDiagram();
}

TDiagram::~TDiagram() {
  DeleteKeeperList();
}

chart::PlotMap TDiagram::Map() const {
  chart::PlotMap m;
  m.x0_out = x0_out;
  m.y0_out = y0_out;
  m.w_out = w_out;
  m.h_out = h_out;
  m.xmin = x_.min;
  m.xmax = x_.max;
  m.ymin = y_.min;
  m.ymax = y_.max;
  return m;
}

// ---- Visual properties ----------------------------------------------------------------------

void TDiagram::SetColorBackDiagram(TColor c) {
  ColorBackDiagram = c;
  ShowDiagram();
}
void TDiagram::SetColorBackNet(TColor c) {
  ColorBackNet = c;
  ShowDiagram();
}
void TDiagram::SetColorNetLine(TColor c) {
  ColorNetLine = c;
  ShowDiagram();
}
void TDiagram::SetPenStyleNetLine(TPenStyle s) {
  PenStyleNetLine = s;
  ShowDiagram();
}
void TDiagram::SetNameX(const QString& s) {
  NameX = s;
  ShowDiagram();
}
void TDiagram::SetNameY(const QString& s) {
  NameY = s;
  ShowDiagram();
}
void TDiagram::SetNameDiagram(const QString& s) {
  NameDiagram = s;
  ShowDiagram();
}
void TDiagram::SetFontNameX(const TFont& f) {
  FontNameX.Assign(f);
  ShowDiagram();
}
void TDiagram::SetFontNameY(const TFont& f) {
  FontNameY.Assign(f);
  ShowDiagram();
}
void TDiagram::SetFontName(const TFont& f) {
  FontName.Assign(f);
  ShowDiagram();
}
void TDiagram::SetFontNet(const TFont& f) {
  FontNet.Assign(f);
  ShowDiagram();
}
void TDiagram::SetBitmapX(const TBitmap* b) {
  if (b != nullptr) {
    BitmapX.Assign(*b);
  } else {
    BitmapX.Clear();
  }
  ShowDiagram();
}
void TDiagram::SetBitmapY(const TBitmap* b) {
  if (b != nullptr) {
    BitmapY.Assign(*b);
  } else {
    BitmapY.Clear();
  }
  ShowDiagram();
}

// ---- Ranges and limits --------------------------------------------------------------------

void TDiagram::SetRangeX(double a, double b) {
  if (chart::ApplyRange(x_, a, b)) SetPrecisionX(x_.precision);
}

void TDiagram::SetRangeY(double a, double b) {
  if (chart::ApplyRange(y_, a, b)) SetPrecisionY(y_.precision);
}

void TDiagram::SetPrecisionX(int p) {
  x_.precision = chart::StoredPrecision(p);
  ShowDiagram();
}

void TDiagram::SetPrecisionY(int p) {
  y_.precision = chart::StoredPrecision(p);
  ShowDiagram();
}

void TDiagram::SetLimitX(double a, double b) {
  if (chart::ApplyLimit(x_, a, b) == chart::LimitResult::RangeClamped) SetRangeX(x_.min, x_.max);
}

void TDiagram::SetLimitY(double a, double b) {
  if (chart::ApplyLimit(y_, a, b) == chart::LimitResult::RangeClamped) SetRangeY(y_.min, y_.max);
}

// ---- Auto-ranging -------------------------------------------------------------------------------

namespace {

using SeriesField = double (TKeeper::*)() const;
struct Extent {
  double lo, hi;
};

// The smallest lo and the largest hi over the series of the list that hold data. A series
// without a binding has no extent of its own (only the placeholder -1 .. 1), so it must not
// stretch the graph; when no series holds data, the placeholders decide.
Extent ListExtent(const TKeeper& base, SeriesField lo, SeriesField hi) {
  bool any = false;
  Extent e{0, 0};
  for (int pass = 0; pass < 2 && !any; ++pass) {
    for (const TKeeper* k = &base; k != nullptr; k = k->GetNext()) {
      if (pass == 0 && k->GetStorageKind() == StorageKind::None) continue;
      if (!any || (k->*lo)() < e.lo) e.lo = (k->*lo)();
      if (!any || (k->*hi)() > e.hi) e.hi = (k->*hi)();
      any = true;
    }
  }
  return e;
}

// The means of lo and of hi over the list from base on.
Extent ListMean(const TKeeper& base, SeriesField lo, SeriesField hi) {
  Extent sum{0, 0};
  int n = 0;
  for (const TKeeper* k = &base; k != nullptr; k = k->GetNext(), ++n) {
    sum.lo += (k->*lo)();
    sum.hi += (k->*hi)();
  }
  return {sum.lo / n, sum.hi / n};
}

}  // namespace

void TDiagram::AutoRangeX() {
  const Extent e = ListExtent(base_, &TKeeper::GetXmin, &TKeeper::GetXmax);
  SetRangeX(e.lo, e.hi);
}

void TDiagram::AutoRangeY() {
  const Extent e = ListExtent(base_, &TKeeper::GetYmin, &TKeeper::GetYmax);
  SetRangeY(e.lo, e.hi);
}

void TDiagram::AutoRangeXAverage() {
  const Extent e = ListMean(base_, &TKeeper::GetXmin, &TKeeper::GetXmax);
  SetRangeX(e.lo, e.hi);
}

void TDiagram::AutoRangeYAverage() {
  const Extent e = ListMean(base_, &TKeeper::GetYmin, &TKeeper::GetYmax);
  SetRangeY(e.lo, e.hi);
}

// ---- Picture, print mode --------------------------------------------------------------------

void TDiagram::FullSize() {
  Picture().SetSize(GetWidth(), GetHeight());
}

void TDiagram::SetPrintMode() {
  printMode_ = true;
  ShowDiagram();
}

void TDiagram::ResetPrintMode() {
  printMode_ = false;
  ShowDiagram();
}

// ---- Rendering ----------------------------------------------------------------------------------

void TDiagram::ShowDiagram() {
  if (paintingEnabled_) {
    ++redraws_;
    feelerDrawn_ = false;  // the cross vanishes with the old picture
    FullSize();
  }
  TCanvas& c = *Canvas();

  // Frame layout from the text metrics.
  const TFont& larger = FontNameY.Size() > FontName.Size() ? FontNameY : FontName;
  c.Font.Assign(larger);
  chart::FrameInput in;
  in.textHeight = c.TextHeight(QStringLiteral("0"));
  c.Font.Assign(FontNameX);
  in.nameXWidth = c.TextWidth(NameX);
  c.Font.Assign(FontNet);
  in.digitWidth = c.TextWidth(QStringLiteral("0"));
  in.width = GetWidth();
  in.height = GetHeight();
  in.xmin = x_.min;
  in.xmax = x_.max;
  in.ymin = y_.min;
  in.ymax = y_.max;
  in.precisionX = x_.precision;
  in.precisionY = y_.precision;
  // The frame and the grids; the label search may raise the precisions, which then stay
  // raised until the next range or precision request.
  const chart::ChartFrame frame = chart::BuildChartFrame(in);
  layout_ = frame.layout;
  gridX_ = frame.x;
  gridY_ = frame.y;
  x_.precision = gridX_.precision;
  y_.precision = gridY_.precision;
  xb_net = layout_.xb_net;
  yb_net = layout_.yb_net;
  w_net = layout_.w_net;
  h_net = layout_.h_net;
  x0_out = layout_.x0_out;
  y0_out = layout_.y0_out;
  w_out = layout_.w_out;
  h_out = layout_.h_out;
  if (paintingEnabled_) Paint(c);
}

QImage TDiagram::PictureAtDensity(int density) {
  density = std::max(1, density);
  TBitmap picture(GetWidth() * density, GetHeight() * density);
  if (picture.Empty()) return {};
  TCanvas& c = *picture.Canvas();
  c.SetDensity(density);
  Paint(c);
  QImage image = picture.Image();
  picture.Clear();  // the only holder now: no copy for the ratio
  image.setDevicePixelRatio(density);
  return image;
}

void TDiagram::Paint(TCanvas& c) {
  const int density = c.Density();
  c.Pen.Mode = pmCopy;

  // Backgrounds and the frame.
  c.Brush.Style = bsSolid;
  c.Brush.Color = Shown(ColorBackDiagram);
  c.FillRect(0, 0, GetWidth(), GetHeight());
  c.Brush.Color = Shown(ColorBackNet);
  c.FillRect(xb_net, yb_net, Get_xe_net(), Get_ye_net());
  c.Pen.Style = psSolid;
  c.Pen.Width = 1;
  c.Pen.Color = Ink(ColorNetLine);
  c.Rectangle(xb_net, yb_net, Get_xe_net(), Get_ye_net());

  c.Font.Assign(FontNet);
  DrawGrid(c);

  // Title and axis names, on the brush the last label left.
  c.Font.Assign(FontName);
  c.TextOut(x0_out + w_out / 2 - c.TextWidth(NameDiagram) / 2, 0, NameDiagram);
  c.Font.Assign(FontNameX);
  c.TextOut(Get_xe_net() + c.TextWidth(QStringLiteral("0")), Get_ye_net() - c.TextHeight(NameX) / 2,
            NameX);
  c.Font.Assign(FontNameY);
  c.TextOut(xb_net, 0, NameY);

  // Series in list order: later ones lie on top. At a higher density they are drawn in the
  // picture's own pixels, as finely as the picture allows.
  if (lineEnabled_) {
    c.SetDensity(1);
    for (TKeeper* k = &base_; k != nullptr; k = k->GetNext())
      DrawSeries(c, density, k, k->GetType());
    c.SetDensity(density);
  }
  DrawBitmaps(c);
}

void TDiagram::DrawGrid(TCanvas& c) {
  const bool labels = layout_.labels == 1;
  const TColor line = Ink(ColorNetLine);
  const int ye = Get_ye_net();
  const int xe = Get_xe_net();

  for (const chart::GridMark& m : gridX_.marks) {
    c.Pen.Style = m.zero ? psSolid : PenStyleNetLine;
    c.Pen.Width = 1;
    c.Pen.Color = line;
    c.MoveTo(m.pixel, yb_net);
    c.LineTo(m.pixel, ye);
    if (labels) {
      c.Pen.Style = psSolid;
      c.Pen.Width = 1;
      c.MoveTo(m.pixel, ye);
      c.LineTo(m.pixel, ye + 4);
      const QString label = QString::fromLatin1(m.label);
      c.Brush.Color = Shown(ColorBackDiagram);
      c.TextOut(m.pixel - c.TextWidth(label) / 2, ye + 5, label);
    }
  }
  if (labels) {
    for (const chart::MinorTick& t : gridX_.minor) {
      c.Pen.Color = line;
      c.Pen.Style = psSolid;
      c.Pen.Width = 1;
      c.MoveTo(t.pixel, ye);
      c.LineTo(t.pixel, ye + 2);
    }
  }

  for (const chart::GridMark& m : gridY_.marks) {
    c.Pen.Style = m.zero ? psSolid : PenStyleNetLine;
    c.Pen.Width = 1;
    c.Pen.Color = line;
    c.MoveTo(xb_net, m.pixel);
    c.LineTo(xe, m.pixel);
    if (labels) {
      c.Pen.Style = psSolid;
      c.Pen.Width = 1;
      c.MoveTo(xb_net - 4, m.pixel);
      c.LineTo(xb_net, m.pixel);
      const QString label = QString::fromLatin1(m.label);
      c.Brush.Color = Shown(ColorBackDiagram);
      c.TextOut(xb_net - 5 - c.TextWidth(label), m.pixel - c.TextHeight(label) / 2, label);
    }
  }
  if (labels) {
    for (const chart::MinorTick& t : gridY_.minor) {
      c.Pen.Color = line;
      c.Pen.Style = psSolid;
      c.Pen.Width = 1;
      c.MoveTo(xb_net - 2, t.pixel);
      c.LineTo(xb_net, t.pixel);
    }
  }
}

chart::NetRect TDiagram::NetAt(int d) const {
  // The frame lines are d pixels wide: the series stay inside them, as at density 1.
  return {xb_net * d + d - 1, yb_net * d + d - 1, Get_xe_net() * d - d + 1,
          Get_ye_net() * d - d + 1};
}

chart::PlotMap TDiagram::MapAt(int d) const {
  chart::PlotMap m = Map();
  m.x0_out *= d;
  m.y0_out *= d;
  m.w_out *= d;
  m.h_out *= d;
  return m;
}

void TDiagram::DrawSeries(TCanvas& c, int density, TKeeper* k, GraphType as) {
  if (k == nullptr || !k->IsShown()) return;
  c.Pen.Color = Ink(k->GetColor());
  c.Pen.Style = psSolid;
  c.Pen.Mode = pmCopy;
  c.Pen.Width = k->GetPenWidth() * density;
  CanvasPen pen(c);
  const chart::NetRect net = NetAt(density);
  const chart::PlotMap map = MapAt(density);
  switch (as) {
    case GraphType::Analog:
    case GraphType::AnalogPeriodic:
      chart::DrawAnalog(pen, *k, net, map, seriesWalk_);
      break;
    case GraphType::Discret:
    case GraphType::DiscretPeriodic:
      chart::DrawDiscret(pen, *k, net, map, seriesWalk_);
      break;
    case GraphType::Radio:
    case GraphType::RadioPeriodic:
      chart::DrawRadio(pen, *k, net, map);
      break;
    case GraphType::Histogram:
      chart::DrawHistogram(pen, *k, net, map, seriesWalk_);
      break;
  }
}

void TDiagram::ShowAnalog(TKeeper* k) {
  DrawSeries(*Canvas(), 1, k, GraphType::Analog);
}

void TDiagram::ShowDiscret(TKeeper* k) {
  DrawSeries(*Canvas(), 1, k, GraphType::Discret);
}

void TDiagram::ShowRadio(TKeeper* k) {
  DrawSeries(*Canvas(), 1, k, GraphType::Radio);
}

void TDiagram::ShowHistogram(TKeeper* k) {
  DrawSeries(*Canvas(), 1, k, GraphType::Histogram);
}

void TDiagram::ShowBitmap() {
  DrawBitmaps(*Canvas());
}

void TDiagram::DrawBitmaps(TCanvas& c) {
  c.Draw(xb_net + 3, yb_net + 3, BitmapY);
  c.Draw(Get_xe_net() - BitmapX.Width() - 3, Get_ye_net() - BitmapX.Height() - 3, BitmapX);
}

void TDiagram::ShowPoint(double x, double y, TColor colour) {
  if (!(x_.min <= x && x <= x_.max && y_.min <= y && y <= y_.max)) return;
  const int px = MathToPhisX(x);
  const int py = MathToPhisY(y);
  if (px >= 0 && py >= 0) Canvas()->SetPixel(px, py, colour);
}

// ---- Series list ----------------------------------------------------------------------------

TKeeper* TDiagram::Last(int* links) const {
  const TKeeper* k = &base_;
  int n = 0;
  while (k->GetNext() != nullptr) {
    k = k->GetNext();
    ++n;
  }
  if (links != nullptr) *links = n;
  return const_cast<TKeeper*>(k);
}

TKeeper* TDiagram::Append() {
  int links = 0;
  TKeeper* last = Last(&links);
  if (links + 1 >= MaxSeries) return nullptr;
  TKeeper* k = new (std::nothrow) TKeeper;
  if (k == nullptr) return nullptr;
  last->SetNext(k);
  k->SetNumber(static_cast<std::uint8_t>(links + 1));
  k->ClearNext();
  return k;
}

std::uint8_t TDiagram::NewKeeper() {
  TKeeper* k = Append();
  if (k == nullptr) {
    lab::ShowMessage(DiagramNoMemoryMessage);
    return 0;
  }
  return k->GetNumber();
}

TKeeper* TDiagram::PNewKeeper() {
  TKeeper* k = Append();
  if (k == nullptr) lab::ShowMessage(DiagramCannotCreateMessage);
  return k;
}

void TDiagram::NewKeeperList(std::uint8_t n) {
  DeleteKeeperList();
  if (n < 2) return;
  for (;;) {
    const std::uint8_t got = NewKeeper();
    // A failed append reports 0: the list keeps what it has instead of trying again.
    if (got == 0 || got >= n - 1) break;
  }
}

void TDiagram::DeleteKeeperList() {
  TKeeper* k = base_.GetNext();
  while (k != nullptr) {
    TKeeper* next = k->GetNext();
    delete k;
    k = next;
  }
  base_.ClearNext();
}

void TDiagram::PDeleteKeeper(TKeeper* s) {
  if (s == &base_) {
    lab::ShowMessage(DiagramDeleteBaseMessage);
    return;
  }
  for (TKeeper* prev = &base_; prev->GetNext() != nullptr; prev = prev->GetNext()) {
    if (prev->GetNext() != s) continue;
    prev->SetNext(s->GetNext());
    delete s;
    std::uint8_t number = prev->GetNumber();
    for (TKeeper* k = prev->GetNext(); k != nullptr; k = k->GetNext()) k->SetNumber(++number);
    return;
  }
}

void TDiagram::DeleteKeeper(std::uint8_t n) {
  TKeeper* k = GetKeeper(n);
  if (k != nullptr) PDeleteKeeper(k);
}

TKeeper* TDiagram::GetKeeper(std::uint8_t n) {
  for (TKeeper* k = &base_; k != nullptr; k = k->GetNext())
    if (k->GetNumber() == n) return k;
  return nullptr;
}

std::uint8_t TDiagram::GetKeeperListLength() const {
  int links = 0;
  Last(&links);
  return static_cast<std::uint8_t>(1 + links);
}

// ---- Feeler -------------------------------------------------------------------------------

void TDiagram::DrawFeeler(int x, int y, const FeelerPen& pen) {
  TCanvas& c = *Canvas();
  c.Pen.Mode = pmNotXor;
  c.Pen.Style = pen.style;
  c.Pen.Width = pen.width;
  c.Pen.Color = pen.color;
  c.MoveTo(x, y + 11);
  c.LineTo(x, Get_ye_net());
  c.MoveTo(x - 11, y);
  c.LineTo(xb_net, y);
}

void TDiagram::SetShowFeeler(bool b) {
  if (b == ShowFeeler) return;
  ShowFeeler = b;
  if (!b && feelerDrawn_) {
    DrawFeeler(feelerX_, feelerY_, drawnPen_);
    feelerDrawn_ = false;
  }
}

void TDiagram::MouseMove(TShiftState Shift, int X, int Y) {
  if (!cursorSaved_) {
    savedCursor_ = GetCursor();
    cursorSaved_ = true;
  }
  const bool inside = xb_net < X && X < Get_xe_net() && yb_net < Y && Y < Get_ye_net();
  const TCursor wanted = inside ? (ShowFeeler ? crCross : NetCursor) : savedCursor_;
  if (GetCursor() != wanted) SetCursor(wanted);
  if (ShowFeeler) {
    // The cross is erased with the pen it was drawn with, whatever the properties say now.
    if (feelerDrawn_) DrawFeeler(feelerX_, feelerY_, drawnPen_);
    if (inside) {
      drawnPen_ = {PenStyleFeeler, PenWidthFeeler, ColorFeeler};
      DrawFeeler(X, Y, drawnPen_);
      feelerX_ = X;
      feelerY_ = Y;
      feelerDrawn_ = true;
    } else {
      feelerDrawn_ = false;
    }
  }
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
  TImage::MouseMove(Shift, X, Y);
}

// ---- Export ------------------------------------------------------------------------------------

void TDiagram::CopyToClipboard() {
  SetPrintMode();
  platform::ClipboardSetPicture(Picture().Image());
  ResetPrintMode();
}

void TDiagram::SaveBmpFile() {
  platform::SaveFileRequest request;
  request.filter = QStringLiteral("Bitmaps (*.bmp)|*.bmp");
  request.defaultExt = QStringLiteral("bmp");
  request.initialName = QStringLiteral("Диаграмма.bmp");
  request.overwritePrompt = true;
  request.picturePreview = true;
  QString name;
  if (platform::ChooseSaveFileName(this, request, &name)) SaveBmpFile(name);
}

void TDiagram::SaveBmpFile(const QString& FileName) {
  QString name = FileName;
  if (!platform::CorrectSaveName(this, name, QStringLiteral(".bmp"))) return;
  SetPrintMode();
  QString error;
  const bool written = platform::WriteBmpFile(Picture().Image(), name, &error);
  ResetPrintMode();
  if (!written) lab::ShowMessage(error.toStdString());
}
