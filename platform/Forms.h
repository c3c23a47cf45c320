#pragma once
// The dialog frame shared by the program's settings and instrument windows: a fixed
// client size, the frame buttons the window allows, the small dialog font, and the show
// and close events every window reacts to.
#include <QDialog>

class QWidget;

namespace platform {

// The frame buttons of a dialog: none (the window closes only through its own button) or
// the close box alone.
enum class FrameButtons { None, CloseOnly };

// The system colours the windows give their fields.
enum class SystemColor {
  Window,  // background of an editable field
  Menu,    // background of a disabled or read-only field
};

// Paints the widget's background (its text base) in a system colour.
void SetBackground(QWidget& widget, SystemColor color);

// A field whose text is committed when the focus leaves it. A dialog that closes while such
// a field holds its focus finishes the edit first, exactly as a move of the focus to
// another control would, so the field never closes showing a text that is not its value.
class EditField {
 public:
  virtual void FinishEdit() = 0;

 protected:
  ~EditField() = default;
};

class Dialog : public QDialog {
  Q_OBJECT

 public:
  Dialog(QWidget* parent, const QString& caption, int clientWidth, int clientHeight,
         FrameButtons buttons);

  // Every way of closing ends here (a button, Escape, the window manager's close box or
  // Alt+F4, close(), hide()): the field being edited is finished, then FormClose, then the
  // dialog's own close.
  void done(int result) override;
  void setVisible(bool visible) override;

 protected:
  // Called each time the window is shown (not when it comes back from being minimised).
  virtual void FormShow() {}
  // Called each time the window closes, whichever way it is closed.
  virtual void FormClose() {}

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The closing steps before the window disappears: finish the edit, FormClose.
  void Closing();

  FrameButtons buttons_;
  bool closing_ = false;
};

}  // namespace platform
