#pragma once
// TImage: a control that shows its picture, stretched to the control or at its own size,
// with a mouse cursor, a hint (tool tip) and click and mouse-move events.
#include <QWidget>
#include <functional>

#include "platform/Canvas.h"
#include "platform/GraphicsTypes.h"

class TImage : public QWidget {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(QObject* Sender)>;
  using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;

  explicit TImage(QWidget* Owner = nullptr);
  ~TImage() override;

  TBitmap& Picture() { return picture_; }
  TCanvas* Canvas() { return picture_.Canvas(); }

  bool GetStretch() const { return stretch_; }
  void SetStretch(bool on);
  TCursor GetCursor() const { return cursor_; }
  void SetCursor(TCursor c);
  QString GetHint() const { return hint_; }
  void SetHint(const QString& hint);
  bool GetShowHint() const { return showHint_; }
  void SetShowHint(bool on);
  int GetWidth() const { return width(); }
  int GetHeight() const { return height(); }

  // The mouse-move handling of the control, with mouse coordinates in control pixels.
  // Controls built on the image override it and call it to pass the event on.
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void Click();

  TNotifyEvent OnClick;
  TMouseMoveEvent OnMouseMove;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ApplyHint();

  TBitmap picture_;
  bool stretch_ = false;
  TCursor cursor_ = crDefault;
  QString hint_;
  bool showHint_ = true;
  bool pressed_ = false;
};

// The Qt cursor shape of a framework cursor.
Qt::CursorShape CursorShapeOf(TCursor c);
// Keys and buttons of a Qt mouse event as a shift state.
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
