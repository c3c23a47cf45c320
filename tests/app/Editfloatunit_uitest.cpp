#include "app/Editfloatunit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTest>

#include "tests/support/MessageRecorder.h"
#include "tests/support/WidgetInput.h"

namespace {

// A shown, active window with two fields and a button, as in a settings window.
struct Bench {
  QDialog window;
  TEditFloat* field;
  TEditFloat* other;
  QPushButton* button;
  std::vector<int> keys;
  int exits = 0;

  explicit Bench(const editfloat::FieldDesign& design, int maxLength = 0) {
    field = new TEditFloat(&window);
    field->setGeometry(10, 10, 150, 22);
    field->Load(design, maxLength);
    other = new TEditFloat(&window);
    other->setGeometry(10, 40, 150, 22);
    button = new QPushButton("OK", &window);
    button->setGeometry(10, 70, 80, 25);
    QObject::connect(field, &TEditFloat::KeyDown,
                     [this](TEditFloat*, int k) { keys.push_back(k); });
    QObject::connect(field, &TEditFloat::Exit, [this](TEditFloat*) { ++exits; });
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  std::string Text() const { return field->TextUtf8(); }
  // Puts the caret at position pos, or selects the whole text.
  void Caret(int pos) {
    field->setFocus(Qt::OtherFocusReason);
    field->deselect();
    field->setCursorPosition(pos);
  }
  void SelectAll() {
    field->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClick(field, Qt::Key_End, Qt::ShiftModifier);
  }
};

}  // namespace

TEST(EditFloatControl, StartsWithItsDesignAndShowsTheValue) {
  MessageRecorder rec;
  TEditFloat f;
  EXPECT_EQ(f.TextUtf8(), "0");
  EXPECT_EQ(f.Max(), 1);
  EXPECT_TRUE(f.CorrType());
  EXPECT_FALSE(f.CorrMsg());
  f.Load(editfloat::FieldDesign{"0,1", 0.001, 10000, 0.1}, 10);
  EXPECT_EQ(f.TextUtf8(), "0,1");
  EXPECT_EQ(f.Val(), 0.1);
  EXPECT_EQ(f.MaxLength(), 10);
  EXPECT_TRUE(f.CorrMsg());
  f.SetMax(2e6);
  f.SetVal0(1234567);
  EXPECT_EQ(f.TextUtf8(), "1,23457e+06");
  EXPECT_EQ(f.Val(), 1234567);
  EXPECT_TRUE(f.GetModify());  // committing the untouched field stores the shown value
  EXPECT_EQ(f.Val(), 1234570);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(EditFloatControl, MinusKeystrokes) {
  Bench nonNegative(editfloat::FieldDesign{"", 0, 100, 5});
  nonNegative.Caret(0);
  QTest::keyClick(nonNegative.field, '-');
  EXPECT_EQ(nonNegative.Text(), "5");

  Bench b(editfloat::FieldDesign{"", -10, 10, 5});
  b.Caret(1);
  QTest::keyClick(b.field, '-');
  EXPECT_EQ(b.Text(), "5");  // not at the start
  b.Caret(0);
  QTest::keyClick(b.field, '-');
  EXPECT_EQ(b.Text(), "-5");
  b.Caret(0);
  QTest::keyClick(b.field, '-');
  EXPECT_EQ(b.Text(), "-5");  // once only
  QTest::keyClick(b.field, '7');
  EXPECT_EQ(b.Text(), "-5");  // nothing in front of the minus
  b.SelectAll();
  QTest::keyClick(b.field, '3');
  EXPECT_EQ(b.Text(), "-5");
  QTest::keyClick(b.field, '-');
  EXPECT_EQ(b.Text(), "-");
  QTest::keyClick(b.field, '2');
  EXPECT_EQ(b.Text(), "-2");
}

TEST(EditFloatControl, SeparatorKeystrokesAndNormalisation) {
  MessageRecorder rec;
  Bench b(editfloat::FieldDesign{"", 0, 100, 1.5});
  ASSERT_EQ(b.Text(), "1,5");
  b.Caret(3);
  QTest::keyClick(b.field, ',');
  QTest::keyClick(b.field, '.');
  EXPECT_EQ(b.Text(), "1,5");

  b.SelectAll();
  QTest::keyClicks(b.field, "15");
  b.Caret(1);
  QTest::keyClick(b.field, '.');
  EXPECT_EQ(b.Text(), "1.5");
  QTest::keyClick(b.field, ',');
  EXPECT_EQ(b.Text(), "1.5");
  EXPECT_FALSE(b.field->GetModify());  // 1.5 was the value already
  EXPECT_EQ(b.Text(), "1,5");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(EditFloatControl, LettersAndCyrillicAreRejected) {
  Bench b(editfloat::FieldDesign{"", 0, 100, 12});
  b.Caret(2);
  for (char c : std::string("aeE+ xz*")) QTest::keyClick(b.field, c);
  for (QChar c : QString::fromUtf8("йжЁ٣５")) input::TypeChar(*b.field, c);
  EXPECT_EQ(b.Text(), "12");
  QTest::keyClick(b.field, '0');
  EXPECT_EQ(b.Text(), "120");
}

// The editing keys as X11 delivers them, with their texts: Delete "\x7f", Backspace "\b",
// Ctrl+V "\x16". They are no typed characters and work as in any line edit.
TEST(EditFloatControl, EditingKeysWithTheirX11TextsWorkAsInAnyLineEdit) {
  Bench b(editfloat::FieldDesign{"", -100, 100, 12.5});
  auto key = [&](Qt::Key k, const char* text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::KeyAction::Click, b.field, k, QString::fromLatin1(text), mods);
  };
  b.Caret(0);
  key(Qt::Key_Delete, "\x7f");
  EXPECT_EQ(b.Text(), "2,5");
  key(Qt::Key_End, "");
  key(Qt::Key_Backspace, "\b");
  EXPECT_EQ(b.Text(), "2,");
  key(Qt::Key_Delete, "\x7f", Qt::ShiftModifier);  // cut of an empty selection: nothing
  key(Qt::Key_Home, "");
  key(Qt::Key_Minus, "-");
  EXPECT_EQ(b.Text(), "-2,");

  // Select all, copy, paste, undo, cut: the shortcuts with their control characters.
  key(Qt::Key_A, "\x01", Qt::ControlModifier);
  key(Qt::Key_C, "\x03", Qt::ControlModifier);
  key(Qt::Key_End, "");
  key(Qt::Key_V, "\x16", Qt::ControlModifier);
  EXPECT_EQ(b.Text(), "-2,-2,");
  key(Qt::Key_Z, "\x1a", Qt::ControlModifier);
  EXPECT_EQ(b.Text(), "-2,");
  key(Qt::Key_A, "\x01", Qt::ControlModifier);
  key(Qt::Key_X, "\x18", Qt::ControlModifier);
  EXPECT_EQ(b.Text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "-2,");
  // Ctrl+Backspace deletes the word before the caret.
  b.field->setText("12 34");
  key(Qt::Key_Backspace, "\b", Qt::ControlModifier);
  EXPECT_EQ(b.Text(), "12 ");
}

TEST(EditFloatControl, InputMethodTextIsFilteredToo) {
  Bench b(editfloat::FieldDesign{"", 0, 100, 12});
  b.Caret(2);
  QInputMethodEvent letter;
  letter.setCommitString(QString::fromUtf8("й"));
  QApplication::sendEvent(b.field, &letter);
  QInputMethodEvent mixed;
  mixed.setCommitString(QString::fromUtf8("3ж"));
  QApplication::sendEvent(b.field, &mixed);
  EXPECT_EQ(b.Text(), "12");
  QInputMethodEvent digits;
  digits.setCommitString("34");
  QApplication::sendEvent(b.field, &digits);
  EXPECT_EQ(b.Text(), "1234");
}

TEST(EditFloatControl, EnterIsReportedAndGoesNoFurther) {
  Bench b(editfloat::FieldDesign{"", 0, 100, 1});
  int accepted = 0;
  QObject::connect(&b.window, &QDialog::finished, [&](int) { ++accepted; });
  b.button->setDefault(true);
  b.Caret(1);
  QTest::keyClick(b.field, Qt::Key_Return);
  QTest::keyClick(b.field, Qt::Key_Enter);
  QTest::keyClick(b.field, '3');
  EXPECT_EQ(b.keys, (std::vector<int>{TEditFloat::KeyEnter, TEditFloat::KeyEnter, '3'}));
  EXPECT_EQ(accepted, 0);
  EXPECT_TRUE(b.window.isVisible());
  EXPECT_EQ(b.Text(), "13");
}

TEST(EditFloatControl, ExitOnlyWhenFocusMovesInsideTheWindow) {
  Bench b(editfloat::FieldDesign{"", 0, 100, 1});
  b.field->setFocus(Qt::OtherFocusReason);
  QTest::mouseClick(b.button, Qt::LeftButton);
  EXPECT_EQ(b.exits, 1);
  QTest::mouseClick(b.field, Qt::LeftButton);
  // Another window taking the activation is not an exit.
  QDialog box;
  box.show();
  box.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  EXPECT_EQ(b.exits, 1);
  box.hide();
  b.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&b.window));
  QTest::keyClick(b.field, Qt::Key_Tab);
  EXPECT_EQ(b.exits, 2);
}

TEST(EditFloatControl, LengthLimitHoldsForTypingButNotForTheFieldsOwnText) {
  MessageRecorder rec;
  Bench b(editfloat::FieldDesign{"", -10, 10, 0}, 6);
  input::TypeInto(*b.field, "-,00012");
  EXPECT_EQ(b.Text(), "-,0001");
  EXPECT_TRUE(b.field->GetModify());
  EXPECT_EQ(b.Text(), "-0,0001");  // seven characters, written whole
  EXPECT_EQ(b.field->Val(), -0.0001);
  b.Caret(7);
  QTest::keyClick(b.field, '5');
  EXPECT_EQ(b.Text(), "-0,0001");  // still no typing beyond the limit
  QTest::keyClick(b.field, Qt::Key_Backspace);
  EXPECT_EQ(b.Text(), "-0,000");  // but it may be shortened
  EXPECT_TRUE(rec.texts.empty());
}

TEST(EditFloatControl, CommittingBadTextCorrectsWithTheMessage) {
  MessageRecorder rec;
  Bench b(editfloat::FieldDesign{"", 0.001, 10000, 0.1});
  b.field->setText("");
  EXPECT_TRUE(b.field->GetModify());
  EXPECT_EQ(b.field->Val(), 5000.0005);
  EXPECT_EQ(b.Text(), "5000");
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0],
            "Строка ввода имеет некорректный формат или пуста. \n Произведена коррекция.");
  // A 3000-character paste into a field without a length limit.
  rec.texts.clear();
  b.field->setText(QString(3000, '8'));
  EXPECT_TRUE(b.field->GetModify());
  EXPECT_EQ(b.field->Val(), 10000);
  EXPECT_EQ(b.Text(), "10000");
  EXPECT_EQ(rec.texts, std::vector<std::string>{editfloat::MsgAboveMaxCorrected});
}
