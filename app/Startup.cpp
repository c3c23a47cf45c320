#include "app/Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <clocale>
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

void SetUpApplication() {
  // The toolkit takes the user's locale at start; number texts of the C runtime must keep
  // the point whatever the desktop language (the program puts the comma in itself).
  std::setlocale(LC_NUMERIC, "C");
  // Not the application display name: the X11 platform appends it to every caption.
  platform::SetApplicationTitle(QString::fromUtf8(BenchTitle));
  auto* qtbase = new QTranslator(qApp);
  if (qtbase->load(QLocale(QLocale::Russian), "qtbase", "_",
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(qtbase);
}

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
