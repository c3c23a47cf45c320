#pragma once
// What a user does with the keyboard and the mouse, sent as real events to real widgets.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QString>
#include <QTest>

namespace input {

// Clicks into the field (focus moves there as for a mouse click), selects its whole text
// with Home / Shift+End, deletes it and types the text; Cyrillic characters go as key
// events that carry their text.
inline void TypeInto(QLineEdit& field, const QString& text) {
  QTest::mouseClick(&field, Qt::LeftButton);
  QTest::keyClick(&field, Qt::Key_Home);
  QTest::keyClick(&field, Qt::Key_End, Qt::ShiftModifier);
  QTest::keyClick(&field, Qt::Key_Delete);
  for (const QChar c : text) {
    if (c.unicode() < 128) {
      QTest::keyClick(&field, c.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::KeyAction::Click, &field, Qt::Key_unknown, QString(c),
                          Qt::NoModifier);
    }
  }
}

// Types one character that has no Latin key (a Cyrillic letter, say).
inline void TypeChar(QWidget& widget, QChar c) {
  QTest::sendKeyEvent(QTest::KeyAction::Click, &widget, Qt::Key_unknown, QString(c),
                      Qt::NoModifier);
}

// Chooses an item of a drop-down list with the keyboard: Home, then Down as often as
// needed. Every keystroke is a user's choice, so the list reports each one.
inline void ChooseItem(QComboBox& list, int index) {
  list.setFocus(Qt::TabFocusReason);
  QTest::keyClick(&list, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(&list, Qt::Key_Down);
}

}  // namespace input
