#pragma once
// TForm1: the main window, the laboratory bench.
#include <QMainWindow>

// The title line of the laboratory work: the caption of the main window.
extern const char* const BenchTitle;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
};

extern TForm1* Form1;
