#include "app/Unit1.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>

#include "model/Messages.h"
#include "model/SampleStore.h"
#include "platform/MessageBox.h"
#include "tests/support/ModalScript.h"

TEST(MainWindow, FrameCaptionAndDefaults) {
  model::SampleCount = 1;
  TForm1 form;
  EXPECT_EQ(form.windowTitle().toStdString(), BenchTitle);
  EXPECT_EQ(model::SampleCount, 262144);
}

TEST(MessageBox, CoreMessageShowsOneButtonWithExactText) {
  platform::InstallMessageBox();
  ModalScript script;
  QString seen;
  int buttons = -1;
  script.Then([&](QDialog& d) {
    auto* box = qobject_cast<QMessageBox*>(&d);
    ASSERT_NE(box, nullptr);
    seen = box->text();
    buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  lab::ShowMessage("Модуль БПФ: Попытка установить нулевой объем преобразования.");
  EXPECT_EQ(seen.toStdString(), "Модуль БПФ: Попытка установить нулевой объем преобразования.");
  EXPECT_EQ(buttons, 1);
  lab::SetMessageHandler(nullptr);
}
