#pragma once
// TUpDown: a pair of arrow buttons in one control, up/down or left/right. Pressing an arrow
// steps once at once and then repeats while the mouse stays pressed on it; every step
// moves Position by Increment within Min..Max (wrapping round when Wrap is on) and fires
// OnClick with the arrow. OnMouseDown and OnMouseUp report the press and the release of any
// mouse button on the control, around the steps: the press before the first step, the
// release after the last. A held arrow also lets go when the control can no longer see its
// release: when it is hidden (its window closes) or disabled, when its window is
// deactivated, or when another control or a pop-up takes the mouse. The press then ends
// as a release would end it, OnMouseUp included, and the late release itself is not
// reported again.
#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/GraphicsTypes.h"

enum TUDOrientation { udVertical, udHorizontal };
// btNext: the up or right arrow; btPrev: the down or left arrow.
enum TUDBtnType { btNext, btPrev };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

class TUpDown : public QWidget {
  Q_OBJECT

 public:
  using TUDClickEvent = std::function<void(QObject* Sender, TUDBtnType Button)>;
  using TMouseEvent =
      std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

  // The first repetition follows the press after RepeatDelayMs, the next ones every
  // RepeatIntervalMs.
  static constexpr int RepeatDelayMs = 400;
  static constexpr int RepeatIntervalMs = 100;

  explicit TUpDown(QWidget* Owner = nullptr, TUDOrientation orientation = udVertical);
  ~TUpDown() override;

  TUDOrientation GetOrientation() const { return orientation_; }
  int GetMin() const { return min_; }
  void SetMin(int v) { min_ = v; }
  int GetMax() const { return max_; }
  void SetMax(int v) { max_ = v; }
  int GetPosition() const { return position_; }
  void SetPosition(int v) { position_ = v; }
  int GetIncrement() const { return increment_; }
  void SetIncrement(int v) { increment_ = v; }
  bool GetWrap() const { return wrap_; }
  void SetWrap(bool on) { wrap_ = on; }

  // The arrow under a point of the control: btNext for the upper (vertical) or right
  // (horizontal) half, btPrev for the other.
  TUDBtnType ArrowAt(const QPoint& p) const;
  // The rectangle of one arrow in control pixels.
  QRect ArrowRect(TUDBtnType b) const;
  // True while the mouse holds an arrow down.
  bool IsPressed() const { return held_; }
  // Ends a held press as the release would: the repetition stops and OnMouseUp is called
  // (at the last mouse position). Nothing when no arrow is held.
  void LetGo();

  // One step of an arrow, as a press does: moves Position and fires OnClick.
  void Step(TUDBtnType b);

  TUDClickEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Repeat();
  // Another control or a pop-up has the mouse: the release will not come here.
  bool MouseTakenAway() const;

  TUDOrientation orientation_;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int increment_ = 1;
  bool wrap_ = false;

  bool held_ = false;  // the left button holds an arrow
  TUDBtnType heldArrow_ = btNext;
  bool overHeldArrow_ = false;  // the mouse is still over the held arrow: repeat
  QPoint lastPos_;              // where the mouse was last seen on the control
  bool releaseOwed_ = false;    // a press ended by LetGo: its late release is not reported
  QTimer repeat_;
};
