// The numeric field of every settings window typed on the keyboard of a real X server.
// The keys arrive as a keyboard's do, with the texts X11 gives them (Delete as "\x7f",
// Backspace as "\b", Ctrl+V as "\x16"), which synthetic key events never carry.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <algorithm>

#include "app/EditFloatRules.h"
#include "app/Editfloatunit.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Generator.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"
#include "tests/support/MessageRecorder.h"
#include "tests/x11/XSession.h"

namespace {

using xsession::Keys;
using xsession::WaitFor;

// Presses the keys and waits until the field shows the text a user expects to see.
void Expect(TEditFloat& field, const QStringList& keys, const QString& expected) {
  Keys(keys);
  EXPECT_TRUE(WaitFor([&] { return field.text() == expected; }))
      << keys.join(' ').toStdString() << ": the field shows \"" << field.text().toStdString()
      << "\", expected \"" << expected.toStdString() << "\"";
}

// The editing keys, the arrows, Home and End, a minus, both separators, digits, the
// clipboard and undo shortcuts and Enter, in a field of a shown window. Every group of keys
// ends in a visible change, so a key that is lost or swallowed shows in the text.
void CheckEditingKeys(QWidget& window, TEditFloat& field) {
  MessageRecorder messages;
  ASSERT_TRUE(xsession::ShowAndActivate(window));
  ASSERT_TRUE(field.isEnabled());
  field.setText("12,5");
  xsession::Click(field);
  ASSERT_TRUE(WaitFor([&] { return field.hasFocus(); }));

  // Backspace takes the separator before the caret, Delete the first digit.
  Expect(field, {"End", "Left", "BackSpace", "Home", "Delete", "Right", "comma", "End", "3"},
         "2,53");
  // A minus only in front and only where the lower limit is negative; no second separator.
  const QString minus = field.Min() < 0 ? "-" : "";
  Expect(field, {"Home", "minus", "End", "minus", "period", "comma", "4"}, minus + "2,534");
  // Shift+Home selects, Delete clears; the point as separator, then the comma.
  Expect(field, {"End", "shift+Home", "Delete", "4", "period", "5", "comma", "period"}, "4.5");
  Expect(field, {"BackSpace", "BackSpace", "comma", "7"}, "4,7");
  // Copy, paste and undo work as in any line edit; so do cut and select all.
  Expect(field, {"ctrl+a", "ctrl+c", "End", "ctrl+v"}, "4,74,7");
  Expect(field, {"ctrl+z"}, "4,7");
  Expect(field, {"ctrl+a", "ctrl+x"}, "");
  Expect(field, {"ctrl+v"}, "4,7");

  // Enter commits: the value (brought into the limits) and its text agree.
  const double committed = std::clamp(4.7, field.Min(), field.Max());
  Keys({"Return"});
  EXPECT_TRUE(WaitFor([&] { return field.Val() == committed; })) << field.Val();
  EXPECT_EQ(field.TextUtf8(), editfloat::FormatG(committed));
  EXPECT_TRUE(window.isVisible());  // Enter commits, it closes nothing
  xsession::Hide(window);
}

}  // namespace

TEST(EditingKeysOnX11, GeneratorFields) {
  TFormGenerator g;
  g.ComboBox1->setCurrentIndex(model::KindHarmonicGaussian);
  g.ComboBox1Change();                 // all four fields enabled
  CheckEditingKeys(g, *g.EditFloatM);  // a negative lower limit: the minus is accepted
  CheckEditingKeys(g, *g.EditFloatA);  // from 0: the minus is refused
}

TEST(EditingKeysOnX11, CircuitField) {
  TFormCircuit c;
  CheckEditingKeys(c, *c.Fields[1]);  // x0 of circuit 1, -10 .. 1: 4,7 is corrected to 1
}

TEST(EditingKeysOnX11, DensityMeterField) {
  TFormIPV ipv;
  CheckEditingKeys(ipv, *ipv.EditFloatL);
}

TEST(EditingKeysOnX11, CorrelometerField) {
  TFormKor kor;
  CheckEditingKeys(kor, *kor.EditFloatTau);
}

TEST(EditingKeysOnX11, HistogramSettingsField) {
  TFormGist gist;
  ASSERT_TRUE(xsession::ShowAndActivate(gist));
  xsession::Click(*gist.CheckBox1);  // "Авто" off enables the bin width
  ASSERT_TRUE(WaitFor([&] { return gist.EditFloat1->isEnabled(); }));
  CheckEditingKeys(gist, *gist.EditFloat1);
}

// The model settings have no numeric field: their two lists answer the keyboard, and every
// choice made with it counts as a change.
TEST(EditingKeysOnX11, ModelSettingsLists) {
  TFormTurn turn;
  ASSERT_TRUE(xsession::ShowAndActivate(turn));
  ASSERT_FALSE(turn.Changed);
  turn.ComboBoxT->setFocus(Qt::TabFocusReason);
  Keys({"Home"});
  EXPECT_TRUE(WaitFor([&] { return turn.ComboBoxT->currentIndex() == 0; }));
  EXPECT_TRUE(turn.Changed);
  Keys({"End", "Up"});
  EXPECT_TRUE(WaitFor([&] { return turn.ComboBoxT->currentIndex() == 2; }));
  Keys({"Tab"});  // on to the realization length
  EXPECT_TRUE(WaitFor([&] { return turn.ComboBoxN->hasFocus(); }));
  Keys({"Down"});
  EXPECT_TRUE(WaitFor([&] { return turn.ComboBoxN->currentIndex() == 3; }));
  xsession::Hide(turn);
  EXPECT_EQ(turn.ChosenPeriod, 0.005);
  EXPECT_EQ(turn.ChosenLength, 524288);
}
