#include "app/EditFloatRules.h"

#include <locale.h>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/Messages.h"

namespace editfloat {

const char* const MsgBelowMinCorrected =
    "Введённое значение параметра меньше минимально-допустимого.\n Произведена коррекция.";
const char* const MsgBelowMinRestored =
    "Введённое значение параметра меньше минимально-допустимого.\n Прежнее значение параметра "
    "восстановлено.";
const char* const MsgAboveMaxCorrected =
    "Введённое значение параметра больше максимально-допустимого.\n Произведена коррекция.";
const char* const MsgAboveMaxRestored =
    "Введённое значение параметра больше максимально-допустимого.\n Прежнее значение параметра "
    "восстановлено.";
const char* const MsgNotNumberCorrected =
    "Строка ввода имеет некорректный формат или пуста. \n Произведена коррекция.";
const char* const MsgNotNumberRestored =
    "Строка ввода имеет некорректный формат или пуста. \n Значение параметра восстановлено.";
const char* const MsgMaxBelowMin =
    "TEditInt: Максимальное значение должно быть больше минимального.";
const char* const MsgMinAboveMax =
    "TEditInt: Минимальное значение должно быть меньше максимального.";

namespace {

// Characters examined by CorrectText: indices 0 .. 3000.
constexpr int CorrectTextSpan = 3001;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The C locale, whatever the process locale is (the toolkit switches LC_NUMERIC to the
// user's locale, where strtod would expect a comma).
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

// "%.<precision>g" in the C locale, the first "." replaced by ",".
std::string FormatWithPrecision(double value, int precision) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
  std::string s(buf, r.ptr);
  const auto dot = s.find('.');
  if (dot != std::string::npos) s[dot] = DecimalSeparator;
  return s;
}

}  // namespace

std::string CorrectText(const std::string& text) {
  std::string s = text;
  int index = 0;  // character index; UTF-8 continuation bytes belong to the character before
  for (std::size_t i = 0; i < s.size() && index < CorrectTextSpan; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if ((c & 0xC0) == 0x80) continue;
    if (c == '.' || c == ',') {
      s[i] = DecimalSeparator;
      break;
    }
    ++index;
  }
  return s;
}

bool TextToNumber(const std::string& text, double& value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  std::string ascii;  // the number rewritten for the C conversion
  ascii.reserve(n + 1);
  if (i < n && (text[i] == '+' || text[i] == '-')) ascii += text[i++];
  int mantissaDigits = 0;
  while (i < n && IsDigit(text[i])) {
    ascii += text[i++];
    ++mantissaDigits;
  }
  if (i < n && text[i] == DecimalSeparator) {
    ascii += '.';
    ++i;
    while (i < n && IsDigit(text[i])) {
      ascii += text[i++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ascii += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ascii += text[i++];
    int exponentDigits = 0;
    while (i < n && IsDigit(text[i])) {
      ascii += text[i++];
      ++exponentDigits;
    }
    if (exponentDigits == 0) return false;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return false;

  double v = strtod_l(ascii.c_str(), nullptr, CLocale());
  if (std::isinf(v)) {
    // Beyond the double range: the largest finite value of that sign.
    v = std::copysign(std::numeric_limits<double>::max(), v);
  }
  value = v;
  return true;
}

std::string FormatG(double value) {
  return FormatWithPrecision(value, 6);
}

std::string FormatGeneral(double value) {
  // Fifteen significant digits; an exponent is written as "E" and its value without
  // leading zeros or a plus sign (1E20, 1E-5).
  std::string s = FormatWithPrecision(value, 15);
  const auto e = s.find('e');
  if (e == std::string::npos) return s;
  std::string mantissa = s.substr(0, e);
  std::string exponent = s.substr(e + 1);
  std::string sign;
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
    if (exponent[0] == '-') sign = "-";
    exponent.erase(0, 1);
  }
  while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
  return mantissa + "E" + sign + exponent;
}

bool KeyAccepted(char32_t key, const KeyContext& context) {
  const auto contains = [&](char c) { return context.text.find(c) != std::string::npos; };
  const bool separator = key == U'.' || key == U',' || key == char32_t(DecimalSeparator);
  bool finalRule = true;
  if (context.expInp) {
    if (key == U'-' || key == U'+' || key == U'e' || key == U'E' || separator) return true;
  } else if (key == U'-' && context.min < 0) {
    if (context.selStart != 0) return false;
    if (!context.selectionEmpty) return true;
    return !contains('-');
  } else if (separator) {
    return !(contains('.') || contains(',') || contains(DecimalSeparator));
  } else if (contains('-') && context.selStart == 0) {
    // Nothing may be typed in front of the minus sign.
    finalRule = false;
  }
  if (!finalRule) return false;
  return key == KeyBackspace || (key >= U'0' && key <= U'9');
}

EditFloatState::EditFloatState() {
  ValToText();
}

void EditFloatState::SetMax(double x) {
  if (x >= min_ && std::isfinite(x)) {
    max_ = x;
    if (val_ > max_) SetVal0(max_);
  } else {
    lab::ShowMessage(MsgMaxBelowMin);
  }
}

void EditFloatState::SetMin(double x) {
  if (x <= max_ && std::isfinite(x)) {
    min_ = x;
    if (val_ < min_) SetVal0(min_);
  } else {
    lab::ShowMessage(MsgMinAboveMax);
  }
}

namespace {
double Middle(double min, double max) {
  const double m = (min + max) * 0.5;
  return std::isfinite(m) ? m : min * 0.5 + max * 0.5;
}
}  // namespace

void EditFloatState::SetVal0(double x) {
  if (std::isnan(x)) {
    // Not a number at all (only a caller's arithmetic can produce it): treated like an
    // unreadable entry, so no NaN ever becomes the value.
    if (CorrMsg) lab::ShowMessage(CorrType ? MsgNotNumberCorrected : MsgNotNumberRestored);
    x = CorrType ? Middle(min_, max_) : val_;
  }
  if (x < min_) {
    if (CorrMsg) lab::ShowMessage(CorrType ? MsgBelowMinCorrected : MsgBelowMinRestored);
    x = CorrType ? min_ : val_;
  }
  if (x > max_) {
    if (CorrMsg) lab::ShowMessage(CorrType ? MsgAboveMaxCorrected : MsgAboveMaxRestored);
    x = CorrType ? max_ : val_;
  }
  if (val_ == x) {
    modified_ = false;
  } else {
    modified_ = true;
    val_ = x;
  }
  ValToText();
}

void EditFloatState::SetVal(double x) {
  SetVal0(x);
  const double exact = val_;
  TextToVal();
  // The shown text rounds to six digits; a limit with more digits than that could put the
  // re-read value just outside the range. Keep the exact value then.
  if (val_ < min_ || val_ > max_) val_ = exact;
}

bool EditFloatState::GetModify() {
  const double old = val_;
  if (!TextToVal()) {
    if (CorrMsg) lab::ShowMessage(CorrType ? MsgNotNumberCorrected : MsgNotNumberRestored);
    val_ = CorrType ? Middle(min_, max_) : old;
  }
  const double candidate = val_;
  val_ = old;
  SetVal0(candidate);
  return modified_;
}

bool EditFloatState::TextToVal() {
  CorrectText();
  double v;
  if (!TextToNumber(Text, v)) return false;
  val_ = v;
  return true;
}

void EditFloatState::ValToText() {
  if (GFormat) {
    Text = FormatG(val_);
    CorrectText();
  } else {
    Text = FormatGeneral(val_);
  }
}

void EditFloatState::CorrectText() {
  Text = editfloat::CorrectText(Text);
}

bool EditFloatState::KeyAccepted(char32_t key, int selStart, bool selectionEmpty) const {
  return editfloat::KeyAccepted(key, KeyContext{Text, selStart, selectionEmpty, min_, ExpInp});
}

void ApplyDesign(EditFloatState& state, const FieldDesign& design) {
  state.Text = design.text;
  state.CorrType = design.corrType;
  state.CorrMsg = design.corrMsg;
  state.SetMax(design.max);
  state.SetMin(design.min);
  state.SetVal(design.val);
  state.ExpInp = design.expInp;
  state.GFormat = design.gFormat;
}

}  // namespace editfloat
