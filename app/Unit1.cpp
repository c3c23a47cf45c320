#include "app/Unit1.h"

#include <ctime>

#include "model/Mathlib.h"
#include "model/SampleStore.h"

const char* const BenchTitle =
    "Лабораторная работа: прохождение случайного процесса через безынерционную нелинейную цепь";

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName("Form1");
  setWindowTitle(QString::fromUtf8(BenchTitle));
  resize(1008, 656);
  // Every start draws a new random sequence: seed with the calendar time in seconds.
  mathlib::RandSeed(static_cast<std::uint32_t>(std::time(nullptr)));
  model::SampleCount = model::DefaultSampleCount;
}
