#pragma once
// THelloForm: the title card shown while the program starts: borderless, centred, on top,
// with the application-start cursor, closed after 5 s or by a click, then freed.
#include <QTimer>
#include <QWidget>

class TImage;

class THelloForm : public QWidget {
  Q_OBJECT

 public:
  explicit THelloForm(QWidget* owner = nullptr);

  TImage* Image1;
  QTimer* Timer1;

  void Timer1Timer();
  void FormClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

// Creates the title card, shows it and paints it at once (the bench's FormCreate).
THelloForm* ShowHelloForm();
// Brings the title card, while it is shown, back over windows shown after it (where no
// window manager keeps it on top).
void RaiseHelloForm();
