#include "app/Startup.h"

#include <QString>
#include <exception>

#include "app/Diagramincreaseunit.h"
#include "app/Unit1.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitind.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Fft0unit.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"
#include "platform/MessageBox.h"

namespace {

template <typename T>
void Create(T*& instance) {
  if (instance == nullptr) instance = new T(Form1);
}

void SetCaption(QWidget* w, const char* caption) {
  if (w != nullptr) w->setWindowTitle(QString::fromUtf8(caption));
}

}  // namespace

void CreateStartupWindows() {
  Form1 = new TForm1();
  Create(DiagramIncrease);
  Create(FormGist);
  Create(FormIPV);
  Create(FormTurn);
  Create(FormGenerator);
  Create(FormKor);
  Create(FormCircuit);
  Create(FFT0Form);
}

void CreateFirstPaintWindows() {
  try {
    Create(FormIndIpvIn);
    Create(FormIndIpvOut);
    Create(FormIndKorIn);
    Create(FormIndKorOut);
    Create(DiagramIncreaseAnalysis);
    Create(FormIPVOut);
    Create(FormKorOut);
  } catch (const std::exception& e) {
    platform::MessageBoxOk(QString::fromUtf8(e.what()));
  }
}

void SetFirstPaintCaptions() {
  SetCaption(DiagramIncrease, "Осциллограф: сигнал на входе цепи");
  SetCaption(DiagramIncreaseAnalysis, "Гистограмма");
  SetCaption(FormIPV, "ИПВ вход");
  SetCaption(FormIPVOut, "ИПВ выход");
  SetCaption(FormIndIpvIn, "Индикатор ИПВ вход");
  SetCaption(FormIndIpvOut, "Индикатор ИПВ выход");
  SetCaption(FormIndKorIn, "Индикатор коррелометр вход");
  SetCaption(FormKorOut, "Коррелометр выход");
  SetCaption(FormIndKorOut, "Индикатор коррелометр выход");
}

void ApplyFftIndicator(bool on) {
  if (FFT0Form == nullptr) return;
  if (on) {
    FFT0Form->SetIndicator();
  } else {
    FFT0Form->ResetIndicator();
  }
}
