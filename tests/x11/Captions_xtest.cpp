// Window captions as the X server holds them: exactly the texts the program gives its
// windows, with nothing appended by the toolkit.
#include <gtest/gtest.h>

#include <QToolButton>

#include "app/Diagramincreaseunit.h"
#include "model/Unitgenerator.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"
#include "tests/support/BenchStart.h"
#include "tests/support/ModalScript.h"
#include "tests/x11/XSession.h"

namespace {

// Both captions an X window carries: the UTF-8 one of the window managers and the old one.
void ExpectCaption(QWidget& window, const QString& caption) {
  EXPECT_EQ(xsession::TextProperty(window.winId(), "_NET_WM_NAME").toStdString(),
            caption.toStdString());
  EXPECT_EQ(xsession::TextProperty(window.winId(), "WM_NAME").toStdString(), caption.toStdString());
}

}  // namespace

TEST(CaptionsOnX11, BenchDialogChartViewerAndMessageBoxCarryTheirOwnCaptions) {
  StartBenchOnce();
  ExpectCaption(*Form1, QString::fromUtf8(BenchTitle));

  ModalScript script(30000);
  script.Then([](QDialog& d) {
    ExpectCaption(d, "Генератор");
    d.accept();
  });
  platform::ShowModal(*FormGenerator);
  xsession::AwaitFocusLeft(*FormGenerator);

  // The oscilloscope's chart viewer, with the caption the bench gave it at its first paint.
  script.Then([](QDialog& d) {
    ExpectCaption(d, "Осциллограф: сигнал на входе цепи");
    DiagramIncrease->SpeedButtonCloseClick();
  });
  platform::ShowModal(*DiagramIncrease);
  xsession::AwaitFocusLeft(*DiagramIncrease);

  // A message box is captioned with the title of the laboratory work.
  script.Then([](QDialog& d) {
    ExpectCaption(d, QString::fromUtf8(BenchTitle));
    d.accept();
  });
  platform::MessageBoxOk("Проба");
}
