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

class Dialog : public QDialog {
  Q_OBJECT

 public:
  Dialog(QWidget* parent, const QString& caption, int clientWidth, int clientHeight,
         FrameButtons buttons);

  // Every way of closing ends here: FormClose, then the dialog's own close.
  void done(int result) override;

 protected:
  // Called each time the window is shown (not when it comes back from being minimised).
  virtual void FormShow() {}
  // Called each time the window closes, whichever way it is closed.
  virtual void FormClose() {}

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  FrameButtons buttons_;
};

}  // namespace platform
