#pragma once
// The rules of the numeric entry field, free of any window system: text to value, value to
// text, the correction of committed input and the keystroke filter. TEditFloat (the Qt
// control) keeps an EditFloatState next to its text and calls these rules.
//
// Texts are UTF-8. The decimal separator is always ",": a "." typed or pasted by the user
// is accepted and normalised to "," by CorrectText.
#include <string>

namespace editfloat {

constexpr char DecimalSeparator = ',';

// The messages of the field (a line feed inside; the blank after it is part of the text).
extern const char* const MsgBelowMinCorrected;
extern const char* const MsgBelowMinRestored;
extern const char* const MsgAboveMaxCorrected;
extern const char* const MsgAboveMaxRestored;
extern const char* const MsgNotNumberCorrected;
extern const char* const MsgNotNumberRestored;
extern const char* const MsgMaxBelowMin;  // SetMax refused
extern const char* const MsgMinAboveMax;  // SetMin refused

// Examines the first 3001 characters of text and replaces the first "." or "," among them
// by the decimal separator; the rest of the text is left as it is.
std::string CorrectText(const std::string& text);

// Reads a number written as [blanks][sign]digits[separator digits][e|E [sign] digits][blanks]
// with the decimal separator "," (at least one mantissa digit, before or after the
// separator). Returns false for anything else: an empty text, letters, a second separator,
// a second sign, "." (CorrectText normalises the first one beforehand), "inf" or "nan".
// A magnitude beyond the double range saturates to the largest finite double of its sign,
// so the result is always finite; a magnitude below the smallest one reads as zero or a
// subnormal value of its sign.
bool TextToNumber(const std::string& text, double& value);

// The value in the C format "%g" (six significant digits), separator ",".
std::string FormatG(double value);
// The value with fifteen significant digits (the general float-to-text conversion),
// separator ",".
std::string FormatGeneral(double value);

// What the keystroke filter looks at besides the character itself.
struct KeyContext {
  std::string text;            // the whole current text, a selection included
  int selStart = 0;            // caret position, 0 = before the first character
  bool selectionEmpty = true;  // no text selected
  double min = 0;              // lower limit of the field
  bool expInp = false;         // exponent input allowed
};

constexpr char32_t KeyBackspace = 8;

// True when the typed character may reach the text; false when the field must ignore it.
bool KeyAccepted(char32_t key, const KeyContext& context);

// The value, the limits and the switches of one entry field next to its text. Messages go
// to lab::ShowMessage.
class EditFloatState {
 public:
  // The initial values (Val 0, Max 1, Min 0, CorrType and GFormat on, CorrMsg and ExpInp
  // off) and the text of the value.
  EditFloatState();

  std::string Text;  // the text of the field as the user sees it

  bool CorrType = true;  // correct to a limit / the middle (true) or restore (false)
  bool CorrMsg = false;  // announce every correction or restoration
  bool ExpInp = false;   // "+", "e", "E" may be typed
  bool GFormat = true;   // "%g" (true) or fifteen significant digits (false)

  double Val() const { return val_; }
  double Max() const { return max_; }
  double Min() const { return min_; }
  // True when the last SetVal0 changed the value.
  bool Modified() const { return modified_; }

  // Upper limit, inclusive: accepted when x >= Min (and finite), the value brought down to
  // it if needed; otherwise a message and no change.
  void SetMax(double x);
  // Lower limit, inclusive: accepted when x <= Max (and finite), the value raised to it if
  // needed; otherwise a message and no change.
  void SetMin(double x);
  // SetVal0(x), then TextToVal: the value becomes what its text shows.
  void SetVal(double x);
  // Range check and correction, Modified, the value and its text.
  void SetVal0(double x);
  // Commits the text: parse, correct, store. True when the value changed.
  bool GetModify();
  // Reads the text (after CorrectText) into the value; false, value unchanged, when the
  // text is not a number.
  bool TextToVal();
  // Writes the value into the text.
  void ValToText();
  // Normalises the first decimal separator of the text.
  void CorrectText();

  // The keystroke filter with this field's text, limits and switches.
  bool KeyAccepted(char32_t key, int selStart, bool selectionEmpty) const;

 private:
  double val_ = 0.0;
  double max_ = 1.0;
  double min_ = 0.0;
  bool modified_ = false;
};

// The stored properties of one field as a window declares them, applied in the order a
// window description loads them: the text, then CorrType, CorrMsg, Max, Min, Val, ExpInp,
// GFormat (so Max is set before Min and Val is checked against both limits).
struct FieldDesign {
  std::string text;
  double min = 0, max = 1, val = 0;
  bool corrMsg = true;
  bool corrType = true;
  bool expInp = false;
  bool gFormat = true;
};
void ApplyDesign(EditFloatState& state, const FieldDesign& design);

}  // namespace editfloat
