// The guide called with F1 from a modal window, on a real X server with a window manager: it
// opens at that window's section, takes clicks while the modal window stays open (a link
// followed), and goes back to the bench where it was when that window closes; from a message
// over a modal window it goes back to that window, not to the bench it blocks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include "app/Helpunit.h"
#include "model/Unitgenerator.h"
#include "platform/MessageBox.h"
#include "tests/support/BenchStart.h"
#include "tests/support/ModalScript.h"
#include "tests/x11/XSession.h"

using xsession::WaitFor;

TEST(GuideOnX11, OpenedFromTheGeneratorItTakesClicksAndGoesBackToTheBench) {
  StartBenchOnce();
  QRect placed;
  ModalScript script(60000);
  script.Then([&placed](QDialog& d) {
    // A click on the empty middle of "Параметры" first: the window manager may still be
    // handing the focus over.
    xsession::Click(*FormGenerator->GroupBox2);
    xsession::Keys({"F1"});
    ASSERT_TRUE(WaitFor([] { return HelpForm != nullptr && HelpForm->isActiveWindow(); }, 10000))
        << "the guide did not come up";
    EXPECT_EQ(HelpForm->CurrentTopic().toStdString(), "generator.html");
    EXPECT_EQ(HelpForm->parentWidget(), &d);
    // A link of the generator's section, clicked where it stands on the screen.
    QTextBrowser& browser = *HelpForm->Browser;
    const QTextCursor link =
        browser.document()->find(QString::fromUtf8("Что предсказывает теория"));
    ASSERT_FALSE(link.isNull());
    QTextCursor inside(browser.document());
    inside.setPosition(link.selectionEnd() - 3);
    browser.setTextCursor(inside);
    browser.ensureCursorVisible();  // inside its last word, whatever the wrap
    xsession::ClickAt(*browser.viewport(), browser.cursorRect(inside).center());
    EXPECT_TRUE(WaitFor([] { return HelpForm->CurrentTopic() == "theory.html#laws"; }))
        << HelpForm->CurrentTopic().toStdString();
    placed = HelpForm->geometry();
    xsession::RequestClose(d.winId());
    EXPECT_TRUE(WaitFor([&d] { return !d.isVisible(); }, 10000));
  });
  Form1->Image2Click();
  ASSERT_NE(HelpForm, nullptr);
  EXPECT_TRUE(WaitFor([] { return HelpForm->parentWidget() == Form1 && HelpForm->isVisible(); }))
      << "the guide did not stay open over the bench";
  EXPECT_TRUE(WaitFor([&placed] { return HelpForm->geometry() == placed; }))
      << "moved from (" << placed.x() << ", " << placed.y() << ") to (" << HelpForm->geometry().x()
      << ", " << HelpForm->geometry().y() << ")";
  HelpForm->close();
}

TEST(GuideOnX11, FromAMessageOverTheGeneratorItGoesBackToTheGenerator) {
  StartBenchOnce();
  ModalScript script(60000);
  script.Then([](QDialog& d) {
    // A message box belongs to the active window, as a correction message does to the window
    // where the value was typed.
    ASSERT_TRUE(WaitFor([&d] { return QApplication::activeWindow() == &d; }));
    platform::MessageBoxOk(QString::fromUtf8("Сообщение над окном генератора"));
    EXPECT_TRUE(WaitFor([] {
      return HelpForm != nullptr && HelpForm->parentWidget() == FormGenerator &&
             HelpForm->isVisible();
    })) << "the guide did not come back over the generator";
    FormGenerator->Button1Click();
  });
  script.Then([](QDialog& box) {
    // Its text clicked first: the window manager may still be handing the focus over.
    if (auto* text = box.findChild<QLabel*>("qt_msgbox_label")) xsession::Click(*text);
    xsession::Keys({"F1"});
    ASSERT_TRUE(WaitFor(
        [&box] {
          return HelpForm != nullptr && HelpForm->parentWidget() == &box && HelpForm->isVisible();
        },
        10000))
        << "the guide did not come up over the message";
    EXPECT_EQ(HelpForm->CurrentTopic().toStdString(), "generator.html");
    xsession::RequestClose(box.winId());
    EXPECT_TRUE(WaitFor([&box] { return !box.isVisible(); }, 10000));
  });
  Form1->Image2Click();
  EXPECT_TRUE(WaitFor([] { return HelpForm->parentWidget() == Form1 && HelpForm->isVisible(); }));
  HelpForm->close();
}
