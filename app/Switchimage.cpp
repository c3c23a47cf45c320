#include "app/Switchimage.h"

#include <QImage>
#include <QLine>
#include <QPoint>
#include <vector>

#include "model/Messages.h"

const char* const SwitchNoMemoryMessage =
    "TSwitchImage::CanvaSizeSwitch: отказано в динамической памяти";

namespace {

constexpr int InitialSide = 50;

// The figure of a switch in a W x H picture: every point the drawing uses.
struct SwitchShape {
  int r = 0;                     // radius of the contact and pivot circles
  std::vector<QPoint> contacts;  // one or two contact circles
  QPoint pivot;                  // the filled circle the lever turns on
  QPoint leverEnd;               // the lever runs from here to the pivot
  std::vector<QLine> inputLeads;
  QLine outputLead;  // from the pivot to the opposite edge
};

// Contacts on the left or on the right, the pivot opposite them.
SwitchShape SideShape(int W, int H, bool left, SWITCH_TYPE type, CHANELS channel) {
  SwitchShape s;
  s.r = W / 9;
  const int r = s.r;
  const int xa = W / 4;
  const int xb = W - xa;
  const int y1 = H / 4;
  const int ym = H / 2;
  const int y2 = H - y1;
  const int xc = left ? xa : xb;  // the contacts
  const int xp = left ? xb : xa;  // the pivot
  const int edge = left ? 0 : W;  // where the inputs come from
  const int beyond = left ? xc - r / 2 : xc + r / 2;
  s.pivot = {xp, ym};
  s.outputLead = {xp, ym, left ? W : 0, ym};
  if (type == swSwitch) {
    s.contacts = {{xc, y1}, {xc, y2}};
    s.leverEnd = channel == swChanel0 ? QPoint(beyond, y1 - r / 3) : QPoint(beyond, y2 + r / 3);
    s.inputLeads = {{edge, y1, xc, y1}, {edge, y2, xc, y2}};
  } else {
    s.contacts = {{xc, ym}};
    // Open: the lever points away, above the contact; closed: it crosses the contact.
    s.leverEnd = channel == swChanel0 ? QPoint(beyond, y1 - r / 3) : QPoint(beyond, ym);
    s.inputLeads = {left ? QLine(xc, ym, 0, ym) : QLine(W, ym, xc, ym)};
  }
  return s;
}

// Contacts at the top or at the bottom, the pivot opposite them.
SwitchShape EndShape(int W, int H, bool up, SWITCH_TYPE type, CHANELS channel) {
  SwitchShape s;
  s.r = W / 9;
  const int r = s.r;
  const int xa = W / 4;
  const int xb = W - xa;
  const int xm = W / 2;
  const int yc = up ? H / 4 : H - H / 4;  // the contacts
  const int yp = up ? H - H / 4 : H / 4;  // the pivot
  const int edge = up ? 0 : H;
  const int beyond = up ? yc - r / 2 : yc + r / 2;
  s.pivot = {xm, yp};
  s.outputLead = {xm, yp, xm, up ? H : 0};
  if (type == swSwitch) {
    s.contacts = {{xa, yc}, {xb, yc}};
    s.leverEnd = channel == swChanel0 ? QPoint(xa - r / 3, beyond) : QPoint(xb + r / 3, beyond);
    s.inputLeads = {{xa, edge, xa, yc}, {xb, edge, xb, yc}};
  } else {
    s.contacts = {{xm, yc}};
    s.leverEnd = channel == swChanel0 ? QPoint(xa - r / 3, beyond) : QPoint(xm, beyond);
    s.inputLeads = {{xm, edge, xm, yc}};
  }
  return s;
}

void Circle(TCanvas& c, QPoint at, int r) {
  c.Ellipse(at.x() - r, at.y() - r, at.x() + r, at.y() + r);
}

void Line(TCanvas& c, const QLine& l) {
  c.MoveTo(l.x1(), l.y1());
  c.LineTo(l.x2(), l.y2());
}

}  // namespace

TSwitchImage::TSwitchImage(QWidget* Owner) : TImage(Owner) {
  resize(InitialSide, InitialSide);
  DrawSwitch();
}

void TSwitchImage::SetChanel(CHANELS c) {
  Chanel = c;
  DrawSwitch();
}

void TSwitchImage::SetSwitchType(SWITCH_TYPE t) {
  SwitchType = t;
  DrawSwitch();
}

void TSwitchImage::SetOrientation(ORIENTATION o) {
  Orientation = o;
  DrawSwitch();
}

void TSwitchImage::SetBrushColor(TColor c) {
  BrushColor = c;
  DrawSwitch();
}

void TSwitchImage::SetBrushStyle(TBrushStyle s) {
  BrushStyle = s;
  DrawSwitch();
}

void TSwitchImage::SetPenStyle(TPenStyle s) {
  PenStyle = s;
  DrawSwitch();
}

void TSwitchImage::SetPenColor(TColor c) {
  PenColor = c;
  DrawSwitch();
}

void TSwitchImage::SetWidthLine(std::uint16_t w) {
  WidthLine = w == 0 ? 1 : w;
  DrawSwitch();
}

void TSwitchImage::Click() {
  // The image control's own click handling is firing OnClick, done here before the flip.
  if (OnClick) OnClick(this);
  if (ClickSwitch == swEnable) ReSwitch();
}

void TSwitchImage::ReSwitch() {
  SetChanel(Chanel == swChanel0 ? swChanel1 : swChanel0);
}

void TSwitchImage::DrawSwitch() {
  if (!CanvaSizeSwitch()) return;
  switch (Orientation) {
    case swLeft:
      DrawLeftSwitch();
      break;
    case swRight:
      DrawRightSwitch();
      break;
    case swUP:
      DrawUpSwitch();
      break;
    case swDown:
      DrawDownSwitch();
      break;
  }
}

bool TSwitchImage::CanvaSizeSwitch() {
  int w = width();
  int h = height();
  if (h < w) h = w;
  if (w < h) w = h;
  resize(w, h);
  if (w <= 0) return false;  // nothing to draw on
  {
    QImage fresh(width(), height(), QImage::Format_RGB32);
    if (fresh.isNull()) {
      lab::ShowMessage(SwitchNoMemoryMessage);
      return false;
    }
    // White under a clear brush, as any fresh picture.
    fresh.fill(0xFFFFFFFFu);
    Picture().Assign(fresh);
  }  // the picture is the only holder of the pixels from here on
  SwitchBrushIni();
  SwitchPenIni();
  CanvasClearSwitch();
  return true;
}

void TSwitchImage::SwitchBrushIni() {
  Canvas()->Brush.Color = BrushColor;
  Canvas()->Brush.Style = BrushStyle;
}

void TSwitchImage::SwitchPenIni() {
  Canvas()->Pen.Style = PenStyle;
  Canvas()->Pen.Width = WidthLine;
  Canvas()->Pen.Color = PenColor;
}

void TSwitchImage::CanvasClearSwitch() {
  Canvas()->FillRect(0, 0, width(), height());
}

void TSwitchImage::DrawLeftSwitch() {
  DrawShape(swLeft);
}

void TSwitchImage::DrawRightSwitch() {
  DrawShape(swRight);
}

void TSwitchImage::DrawUpSwitch() {
  DrawShape(swUP);
}

void TSwitchImage::DrawDownSwitch() {
  DrawShape(swDown);
}

void TSwitchImage::DrawShape(ORIENTATION orientation) {
  const int W = width();
  const int H = height();
  const SwitchShape s = orientation == swLeft || orientation == swRight
                            ? SideShape(W, H, orientation == swLeft, SwitchType, Chanel)
                            : EndShape(W, H, orientation == swUP, SwitchType, Chanel);
  TCanvas& c = *Canvas();
  c.Rectangle(0, 0, W, H);  // the frame
  for (const QPoint& p : s.contacts) Circle(c, p, s.r);
  c.Brush.Color = PenColor;
  c.Brush.Style = bsSolid;
  Circle(c, s.pivot, s.r);
  SwitchBrushIni();
  Line(c, {s.leverEnd, s.pivot});
  for (const QLine& l : s.inputLeads) Line(c, l);
  Line(c, s.outputLead);
}
