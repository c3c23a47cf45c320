// A settings window closed while one of its fields is being edited: by the window
// manager's close (a close event), by Escape, by hiding it or by its button. The edited
// field is committed first, exactly as when the focus leaves it, so the field never closes
// showing a text that is not its value and Changed and the description follow.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/EditFloatRules.h"
#include "app/Editfloatunit.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitkor.h"
#include "model/Generator.h"
#include "model/Unitgenerator.h"
#include "platform/Modal.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/WidgetInput.h"

TEST(WindowClosing, EveryWayOfClosingCommitsTheFieldBeingEdited) {
  MessageRecorder rec;
  TFormGenerator g;
  g.ComboBox1->setCurrentIndex(model::KindHarmonic);
  g.ComboBox1Change();
  const std::pair<const char*, std::function<void(QDialog&)>> closings[] = {
      {"close event", [](QDialog& d) { d.close(); }},
      {"hide", [](QDialog& d) { d.hide(); }},
      {"reject", [](QDialog& d) { d.reject(); }},
      {"done", [](QDialog& d) { d.done(QDialog::Accepted); }},
  };
  ModalScript script;
  double typed = 2;
  for (const auto& [how, close] : closings) {
    typed += 1;
    script.Then([&, how = how, close = close](QDialog& d) {
      input::TypeInto(*g.EditFloatA, QString::number(typed));
      EXPECT_EQ(d.focusWidget(), g.EditFloatA) << how;
      close(d);
    });
    platform::ShowModal(g);
    EXPECT_FALSE(g.isVisible()) << how;
    EXPECT_EQ(g.EditFloatA->Val(), typed) << how;
    EXPECT_TRUE(g.Changed) << how;
    EXPECT_NE(g.Description.find("амплитуда " + editfloat::FormatG(typed) + "мВ"),
              std::string::npos)
        << how << ": " << g.Description;
  }
  EXPECT_TRUE(rec.texts.empty());

  // A value out of range is corrected with the field's message, as on leaving the field.
  script.Then([&](QDialog& d) {
    input::TypeInto(*g.EditFloatA, "50");
    d.close();
  });
  platform::ShowModal(g);
  EXPECT_EQ(g.EditFloatA->Val(), 10.0);
  EXPECT_EQ(g.EditFloatA->TextUtf8(), "10");
  EXPECT_EQ(rec.texts, std::vector<std::string>{editfloat::MsgAboveMaxCorrected});
}

// The histogram settings: Escape typed in the bin width closes the window as its close box
// does (no histogram), and the typed width is the field's value.
TEST(WindowClosing, EscapeInTheBinWidthClosesTheHistogramSettingsWithTheWidthCommitted) {
  MessageRecorder rec;
  TFormGist w;
  ModalScript script;
  script.Then([&](QDialog& d) {
    QTest::mouseClick(w.CheckBox1, Qt::LeftButton);  // "Авто" off
    input::TypeInto(*w.EditFloat1, "0,5");
    QTest::keyClick(w.EditFloat1, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
  });
  platform::ShowModal(w);
  EXPECT_FALSE(w.Accepted);
  EXPECT_EQ(w.EditFloat1->Val(), 0.5);
  EXPECT_EQ(w.EditFloat1->TextUtf8(), "0,5");
}

// Escape in a window without a close box neither closes it nor disturbs the field.
TEST(WindowClosing, EscapeInAWindowWithoutCloseBoxDoesNothing) {
  TFormKor kor;
  ModalScript script;
  script.Then([&](QDialog& d) {
    input::TypeInto(*kor.EditFloatTau, "0,25");
    QTest::keyClick(kor.EditFloatTau, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(kor.EditFloatTau->TextUtf8(), "0,25");
    kor.Button1->click();
  });
  platform::ShowModal(kor);
  EXPECT_EQ(kor.EditFloatTau->Val(), 0.25);
}
