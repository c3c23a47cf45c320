#include "app/EditFloatRules.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/support/MessageRecorder.h"

using namespace editfloat;

namespace {

// A field as the windows declare it: correction messages on, the rest at the defaults.
EditFloatState Field(double min, double max, double val, const std::string& text = "") {
  EditFloatState s;
  ApplyDesign(s, FieldDesign{text, min, max, val});
  return s;
}

bool Key(char32_t key, const std::string& text, int selStart, bool selectionEmpty = true,
         double min = 0, bool expInp = false) {
  return KeyAccepted(key, KeyContext{text, selStart, selectionEmpty, min, expInp});
}

}  // namespace

TEST(EditFloatText, CorrectTextReplacesOnlyTheFirstSeparator) {
  EXPECT_EQ(CorrectText("1.5"), "1,5");
  EXPECT_EQ(CorrectText("1,5"), "1,5");
  EXPECT_EQ(CorrectText("1.2.3"), "1,2.3");
  EXPECT_EQ(CorrectText("1,2.3"), "1,2.3");
  EXPECT_EQ(CorrectText(""), "");
  EXPECT_EQ(CorrectText("abc"), "abc");
  // Multi-byte characters count as one character each.
  EXPECT_EQ(CorrectText("йй.5"), "йй,5");
}

TEST(EditFloatText, CorrectTextLooksAtTheFirst3001CharactersOnly) {
  const std::string head(3000, '1');
  EXPECT_EQ(CorrectText(head + ".5"), head + ",5");    // index 3000 is examined
  EXPECT_EQ(CorrectText(head + "1.5"), head + "1.5");  // index 3001 is not
  // The same limit counted in characters, not bytes.
  std::string cyr;
  for (int i = 0; i < 3000; ++i) cyr += "ж";
  EXPECT_EQ(CorrectText(cyr + "."), cyr + ",");
  EXPECT_EQ(CorrectText(cyr + "ж."), cyr + "ж.");
}

TEST(EditFloatText, TextToNumberAcceptsDecimalNumbersWithComma) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"0", 0},        {"5", 5},           {"-5", -5},       {"+5", 5},     {"1,5", 1.5},
      {",5", 0.5},     {"5,", 5},          {"-,25", -0.25},  {"2e3", 2000}, {"2E3", 2000},
      {"2e+3", 2000},  {"2,5e-3", 0.0025}, {"  7  ", 7},     {"0,1", 0.1},  {"007", 7},
      {"1e-400", 0.0}, {"100000", 100000}, {"0,001", 0.001},
  };
  for (const auto& c : cases) {
    double v = -999;
    EXPECT_TRUE(TextToNumber(c.text, v)) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
  double v = 0;
  ASSERT_TRUE(TextToNumber("-0", v));
  EXPECT_TRUE(std::signbit(v));
}

TEST(EditFloatText, TextToNumberRejectsEverythingElse) {
  const char* bad[] = {"",    " ",    "abc", "1,2,3", "--5",  "-",   "+",   ",",   "1.5",
                       "1e",  "e5",   "1e+", "1 2",   "0x10", "inf", "nan", "5-",  "1,5e3,1",
                       "+-5", "1e3e", "٣",   "５",    "1е3",  "\t5", "5\n", "- 5", "1,,5"};
  for (const char* t : bad) {
    double v = 42;
    EXPECT_FALSE(TextToNumber(t, v)) << t;
    EXPECT_EQ(v, 42) << t;
  }
}

TEST(EditFloatText, TextToNumberSaturatesBeyondTheDoubleRange) {
  double v = 0;
  ASSERT_TRUE(TextToNumber("1e999", v));
  EXPECT_EQ(v, DBL_MAX);
  ASSERT_TRUE(TextToNumber("-1e999", v));
  EXPECT_EQ(v, -DBL_MAX);
  ASSERT_TRUE(TextToNumber(std::string(3000, '9'), v));
  EXPECT_EQ(v, DBL_MAX);
}

TEST(EditFloatText, FormatGIsTheShortGeneralFormatWithComma) {
  EXPECT_EQ(FormatG(0), "0");
  EXPECT_EQ(FormatG(0.1), "0,1");
  EXPECT_EQ(FormatG(-0.25), "-0,25");
  EXPECT_EQ(FormatG(1234567), "1,23457e+06");
  EXPECT_EQ(FormatG(5000.0005), "5000");
  EXPECT_EQ(FormatG(100000), "100000");
  EXPECT_EQ(FormatG(0.00001), "1e-05");
  EXPECT_EQ(FormatG(0.0001), "0,0001");
  EXPECT_EQ(FormatG(-DBL_MAX), "-1,79769e+308");
}

TEST(EditFloatText, FormatGeneralHasFifteenDigits) {
  EXPECT_EQ(FormatGeneral(0.1), "0,1");
  EXPECT_EQ(FormatGeneral(1.0 / 3), "0,333333333333333");
  EXPECT_EQ(FormatGeneral(1234567), "1234567");
  EXPECT_EQ(FormatGeneral(1e20), "1E20");
  EXPECT_EQ(FormatGeneral(-1.5e-5), "-1,5E-5");
}

TEST(EditFloatKeys, MinusOnlyAtTheStartOnceAndWhenNegativeValuesAreAllowed) {
  EXPECT_FALSE(Key('-', "", 0, true, 0));  // Min >= 0
  EXPECT_FALSE(Key('-', "5", 0, true, 0.5));
  EXPECT_TRUE(Key('-', "", 0, true, -10));
  EXPECT_TRUE(Key('-', "5", 0, true, -10));
  EXPECT_FALSE(Key('-', "5", 1, true, -10));   // not at the start
  EXPECT_FALSE(Key('-', "-5", 0, true, -10));  // once only
  // The whole text -5 selected: a minus replaces it, a digit may not go in front of it.
  EXPECT_TRUE(Key('-', "-5", 0, false, -10));
  EXPECT_FALSE(Key('3', "-5", 0, false, -10));
  // Selection that does not start at 0.
  EXPECT_FALSE(Key('-', "15", 1, false, -10));
}

TEST(EditFloatKeys, OneDecimalSeparator) {
  EXPECT_FALSE(Key(',', "1,5", 3));
  EXPECT_FALSE(Key('.', "1,5", 3));
  EXPECT_FALSE(Key(',', "1.5", 3));
  EXPECT_TRUE(Key(',', "15", 1));
  EXPECT_TRUE(Key('.', "15", 1));
  EXPECT_TRUE(Key(',', "", 0));
  // The separator check looks at the whole text, a selection included.
  EXPECT_FALSE(Key(',', "1,5", 0, false));
  // With the "." typed, the next normalisation makes it a comma.
  EXPECT_EQ(CorrectText("1.5"), "1,5");
}

TEST(EditFloatKeys, DigitsAndBackspacePassEverythingElseIsRejected) {
  for (char32_t c = '0'; c <= '9'; ++c) EXPECT_TRUE(Key(c, "12", 2)) << char(c);
  EXPECT_TRUE(Key(KeyBackspace, "12", 2));
  const char32_t rejected[] = {'a',
                               'e',
                               'E',
                               '+',
                               ' ',
                               13 /* Enter */,
                               27 /* Esc */,
                               3 /* copy */,
                               22 /* paste */,
                               24 /* cut */,
                               1,
                               0x0439 /* й */,
                               0x0660 /* Arabic-Indic zero */,
                               0xFF15 /* fullwidth 5 */,
                               127};
  for (char32_t c : rejected) EXPECT_FALSE(Key(c, "12", 2)) << unsigned(c);
  // Nothing in front of a minus, backspace included; behind it digits pass.
  EXPECT_FALSE(Key('5', "-1", 0, true, -10));
  EXPECT_FALSE(Key(KeyBackspace, "-1", 0, true, -10));
  EXPECT_TRUE(Key('5', "-1", 1, true, -10));
  EXPECT_TRUE(Key(KeyBackspace, "-1", 1, true, -10));
}

TEST(EditFloatKeys, ExponentInputLetsSignsSeparatorsAndExponentsThrough) {
  for (char32_t c : {U'-', U'+', U'.', U',', U'e', U'E'}) {
    EXPECT_TRUE(Key(c, "1,5e-3", 0, true, 0, true)) << char(c);
  }
  EXPECT_TRUE(Key('7', "-1", 0, true, -10, true));  // the minus rule does not apply
  EXPECT_TRUE(Key(KeyBackspace, "", 0, true, 0, true));
  EXPECT_FALSE(Key('x', "", 0, true, 0, true));
  EXPECT_FALSE(Key(13, "", 0, true, 0, true));
}

TEST(EditFloatState, ConstructionAndDesignOrder) {
  MessageRecorder rec;
  EditFloatState s;
  EXPECT_EQ(s.Val(), 0.0);
  EXPECT_EQ(s.Max(), 1.0);
  EXPECT_EQ(s.Min(), 0.0);
  EXPECT_EQ(s.Text, "0");
  EXPECT_TRUE(s.CorrType);
  EXPECT_FALSE(s.CorrMsg);
  EXPECT_FALSE(s.ExpInp);
  EXPECT_TRUE(s.GFormat);
  EXPECT_FALSE(s.Modified());

  // Max before Min, Val checked with both limits: none of the system's fields gives a
  // message while it is built.
  const FieldDesign designs[] = {{"0,1", 0.001, 10000, 0.1}, {"0", -100000, 100000, 0},
                                 {"0,1", 0.01, 100, 0.1},    {"1", 0.1, 10, 1},
                                 {"0", -10, 10, 0},          {"0", -10, 1, 0},
                                 {"-1", -10, 1, -1},         {"0,1", 0.001, 1, 0.1}};
  for (const auto& d : designs) {
    EditFloatState f;
    ApplyDesign(f, d);
    EXPECT_EQ(f.Val(), d.val);
    EXPECT_EQ(f.Min(), d.min);
    EXPECT_EQ(f.Max(), d.max);
    EXPECT_EQ(f.Text, d.text);
    EXPECT_TRUE(f.CorrMsg);
  }
  EXPECT_TRUE(rec.texts.empty());
}

TEST(EditFloatState, LimitSettersRefuseAnInvertedRange) {
  MessageRecorder rec;
  EditFloatState s = Field(0, 10, 5);
  s.SetMax(-1);
  EXPECT_EQ(s.Max(), 10);
  s.SetMin(11);
  EXPECT_EQ(s.Min(), 0);
  s.SetMax(NAN);
  s.SetMin(-INFINITY);
  EXPECT_EQ(s.Max(), 10);
  EXPECT_EQ(s.Min(), 0);
  EXPECT_EQ(s.Val(), 5);
  EXPECT_EQ(rec.texts, (std::vector<std::string>{MsgMaxBelowMin, MsgMinAboveMax, MsgMaxBelowMin,
                                                 MsgMinAboveMax}));
  EXPECT_EQ(rec.texts[0], "TEditInt: Максимальное значение должно быть больше минимального.");
  EXPECT_EQ(rec.texts[1], "TEditInt: Минимальное значение должно быть меньше максимального.");

  // Max equal to Min is accepted; the value follows the limits without a message.
  rec.texts.clear();
  s.SetMax(0);
  EXPECT_EQ(s.Max(), 0);
  EXPECT_EQ(s.Val(), 0);
  EXPECT_EQ(s.Text, "0");
  s.SetMax(20);
  s.SetMin(3);
  EXPECT_EQ(s.Val(), 3);
  EXPECT_TRUE(s.Modified());
  EXPECT_TRUE(rec.texts.empty());
}

TEST(EditFloatState, SetVal0CorrectsOrRestoresWithTheExactMessages) {
  MessageRecorder rec;
  EditFloatState s = Field(-10, 10, 2);
  s.SetVal0(-11);
  EXPECT_EQ(s.Val(), -10);
  EXPECT_TRUE(s.Modified());
  s.SetVal0(-10);  // exactly Min: no message, no change
  EXPECT_FALSE(s.Modified());
  s.SetVal0(11);
  EXPECT_EQ(s.Val(), 10);
  s.SetVal0(10);  // exactly Max
  EXPECT_FALSE(s.Modified());
  EXPECT_EQ(rec.texts,
            (std::vector<std::string>{
                "Введённое значение параметра меньше минимально-допустимого.\n Произведена "
                "коррекция.",
                "Введённое значение параметра больше максимально-допустимого.\n Произведена "
                "коррекция."}));

  rec.texts.clear();
  s.CorrType = false;
  s.SetVal0(3);
  s.SetVal0(-20);
  EXPECT_EQ(s.Val(), 3);
  EXPECT_FALSE(s.Modified());
  s.SetVal0(20);
  EXPECT_EQ(s.Val(), 3);
  EXPECT_EQ(s.Text, "3");
  EXPECT_EQ(rec.texts, (std::vector<std::string>{
                           "Введённое значение параметра меньше минимально-допустимого.\n "
                           "Прежнее значение параметра восстановлено.",
                           "Введённое значение параметра больше максимально-допустимого.\n "
                           "Прежнее значение параметра восстановлено."}));

  // Without CorrMsg the same corrections are silent.
  rec.texts.clear();
  s.CorrType = true;
  s.CorrMsg = false;
  s.SetVal0(1e9);
  EXPECT_EQ(s.Val(), 10);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(EditFloatState, NaNNeverBecomesTheValue) {
  MessageRecorder rec;
  EditFloatState s = Field(0.001, 10000, 0.1);
  s.SetVal(NAN);
  EXPECT_EQ(s.Val(), 5000);  // the middle, as its text 5000 shows (SetVal re-reads it)
  s.CorrType = false;
  s.SetVal(NAN);
  EXPECT_EQ(s.Val(), 5000);
  EXPECT_EQ(rec.texts, (std::vector<std::string>{MsgNotNumberCorrected, MsgNotNumberRestored}));
}

TEST(EditFloatState, EmptyFieldTakesTheMiddleOfTheRange) {
  MessageRecorder rec;
  EditFloatState s = Field(0.001, 10000, 0.1, "0,1");
  s.Text = "";
  EXPECT_TRUE(s.GetModify());
  EXPECT_EQ(s.Val(), 5000.0005);
  EXPECT_EQ(s.Text, "5000");
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0],
            "Строка ввода имеет некорректный формат или пуста. \n Произведена коррекция.");
}

TEST(EditFloatState, BadInputAlwaysEndsInsideTheLimitsWithTheRightMessage) {
  struct Case {
    const char* text;
    double expected;
    const char* message;  // nullptr: none
  } cases[] = {
      {"", 5, MsgNotNumberCorrected},
      {"abc", 5, MsgNotNumberCorrected},
      {"1,2,3", 5, MsgNotNumberCorrected},
      {"--5", 5, MsgNotNumberCorrected},
      {"1e999", 10, MsgAboveMaxCorrected},
      {"-1e999", 0, MsgBelowMinCorrected},
      {"-3", 0, MsgBelowMinCorrected},
      {"12", 10, MsgAboveMaxCorrected},
      {"10", 10, nullptr},
      {"0", 0, nullptr},
      {"7.5", 7.5, nullptr},
      {"2e-1", 0.2, nullptr},
  };
  for (const auto& c : cases) {
    MessageRecorder rec;
    EditFloatState s = Field(0, 10, 1);
    s.Text = c.text;
    s.GetModify();
    EXPECT_EQ(s.Val(), c.expected) << c.text;
    if (c.message) {
      EXPECT_EQ(rec.texts, std::vector<std::string>{c.message}) << c.text;
    } else {
      EXPECT_TRUE(rec.texts.empty()) << c.text;
    }
  }
  // A 3000-character paste.
  MessageRecorder rec;
  EditFloatState s = Field(0, 1000, 0);
  s.Text = std::string(3000, '7');
  EXPECT_TRUE(s.GetModify());
  EXPECT_EQ(s.Val(), 1000);
  EXPECT_EQ(rec.texts, std::vector<std::string>{MsgAboveMaxCorrected});
}

TEST(EditFloatState, GetModifyReportsOnlyARealChange) {
  MessageRecorder rec;
  EditFloatState s = Field(0, 10, 1);
  EXPECT_FALSE(s.GetModify());  // untouched
  s.Text = "1,0";
  EXPECT_FALSE(s.GetModify());
  EXPECT_EQ(s.Text, "1");
  s.Text = "2.5";
  EXPECT_TRUE(s.GetModify());
  EXPECT_EQ(s.Val(), 2.5);
  EXPECT_EQ(s.Text, "2,5");
  s.Text = "2,5";
  EXPECT_FALSE(s.GetModify());
  EXPECT_TRUE(rec.texts.empty());
}

TEST(EditFloatState, WithoutCorrTypeBadTextRestoresThePreviousValue) {
  MessageRecorder rec;
  EditFloatState s = Field(0, 10, 4);
  s.CorrType = false;
  s.Text = "x";
  EXPECT_FALSE(s.GetModify());
  EXPECT_EQ(s.Val(), 4);
  EXPECT_EQ(s.Text, "4");
  s.Text = "11";
  EXPECT_FALSE(s.GetModify());
  EXPECT_EQ(s.Val(), 4);
  EXPECT_EQ(rec.texts, (std::vector<std::string>{MsgNotNumberRestored, MsgAboveMaxRestored}));
  EXPECT_EQ(rec.texts[0],
            "Строка ввода имеет некорректный формат или пуста. \n Значение параметра "
            "восстановлено.");
}

TEST(EditFloatState, DisplayRoundsToSixDigitsAndCommitStoresTheShownValue) {
  MessageRecorder rec;
  EditFloatState s = Field(0, 2e6, 0);
  s.SetVal0(1234567);
  EXPECT_EQ(s.Text, "1,23457e+06");
  EXPECT_EQ(s.Val(), 1234567);
  EXPECT_TRUE(s.GetModify());  // untouched, but the shown value differs
  EXPECT_EQ(s.Val(), 1234570);
  EXPECT_FALSE(s.GetModify());
  s.SetVal(1.23456789);
  EXPECT_EQ(s.Val(), 1.23457);
  EXPECT_EQ(s.Text, "1,23457");
  // "2e3" pasted into a field without exponent input still reads 2000.
  s.Text = "2e3";
  EXPECT_TRUE(s.GetModify());
  EXPECT_EQ(s.Val(), 2000);
  EXPECT_EQ(s.Text, "2000");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(EditFloatState, SetValKeepsTheValueInsideLimitsWithManyDigits) {
  MessageRecorder rec;
  EditFloatState s = Field(0, 1.23456789, 0);
  s.SetVal(5);  // corrected to Max; its text 1,23457 would read above Max
  EXPECT_EQ(s.Val(), 1.23456789);
  EXPECT_EQ(s.Text, "1,23457");
  EXPECT_EQ(rec.texts, std::vector<std::string>{MsgAboveMaxCorrected});
}

TEST(EditFloatState, GeneralFormatWhenGFormatIsOff) {
  EditFloatState s = Field(0, 10, 0);
  s.GFormat = false;
  s.SetVal(1.0 / 3);
  EXPECT_EQ(s.Text, "0,333333333333333");
  EXPECT_EQ(s.Val(), 0.333333333333333);
}

// Random texts from an alphabet that reaches every branch of the parser, under random
// limits and switches: never a crash, never a value outside [Min, Max] or not finite, and
// a message exactly when the text did not stand as typed.
TEST(EditFloatFuzz, TextToValueAlwaysEndsInsideTheLimits) {
  std::mt19937_64 rng(20240611);
  const std::vector<std::string> pieces = {
      "0", "1",  "2",  "5",   "9",    ",",     ".",   "-",   "+",  "e",  "E",  " ",    "a",    "x",
      "ж", "\t", "00", "999", "e999", "e-999", "inf", "nan", "1e", ",,", "--", "\xff", "\xd0", "٣"};
  std::uniform_int_distribution<int> pieceOf(0, int(pieces.size()) - 1);
  std::uniform_int_distribution<int> lengthOf(0, 12);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> scaleOf(-4, 6);
  std::bernoulli_distribution coin(0.5);

  MessageRecorder rec;
  long checked = 0;
  for (int i = 0; i < 100000; ++i) {
    const double scale = std::pow(10.0, scaleOf(rng));
    double a = unit(rng) * scale, b = unit(rng) * scale;
    if (a > b) std::swap(a, b);
    EditFloatState s = Field(a, b, a);
    s.CorrType = coin(rng);
    std::string text;
    if (i % 1000 == 0) {
      text = std::string(3000, '1') + ",5";
    } else {
      const int len = lengthOf(rng);
      for (int k = 0; k < len; ++k) text += pieces[pieceOf(rng)];
    }
    const double before = s.Val();
    s.Text = text;
    rec.texts.clear();
    const bool modified = s.GetModify();
    ASSERT_TRUE(std::isfinite(s.Val())) << text;
    ASSERT_GE(s.Val(), s.Min()) << text;
    ASSERT_LE(s.Val(), s.Max()) << text;
    ASSERT_EQ(modified, s.Val() != before) << text;
    ASSERT_LE(rec.texts.size(), 2u) << text;
    double parsed;
    const bool readable = TextToNumber(CorrectText(text), parsed);
    if (readable && parsed >= s.Min() && parsed <= s.Max()) {
      ASSERT_TRUE(rec.texts.empty()) << text;
      ASSERT_EQ(s.Val(), parsed) << text;
    } else {
      ASSERT_FALSE(rec.texts.empty()) << text;
      if (!s.CorrType) {
        ASSERT_EQ(s.Val(), before) << text;
      }
    }
    ++checked;
  }
  EXPECT_EQ(checked, 100000);
}
