#pragma once
// TEditFloat: the single-line numeric entry field of every settings and instrument window.
// It keeps a double value between two inclusive limits next to its text, lets through
// only keystrokes that can form a number, shows the value in the "%g" format with a
// decimal comma, and when the text is committed (GetModify) parses it, corrects bad or
// out-of-range input and says what it did in a message box. The rules themselves are in
// app/EditFloatRules.h; this control applies them to its text.
#include <QLineEdit>

#include "app/EditFloatRules.h"
#include "platform/Forms.h"

class TEditFloat : public QLineEdit, public platform::EditField {
  Q_OBJECT

 public:
  // Key code passed to KeyDown for Enter (either Enter key).
  static constexpr int KeyEnter = 13;

  explicit TEditFloat(QWidget* parent = nullptr);

  // Applies the stored properties of a window description: the text and the length limit
  // (0: none) first, then CorrType, CorrMsg, Max, Min, Val, ExpInp, GFormat.
  void Load(const editfloat::FieldDesign& design, int maxLength);

  bool CorrType() const { return state_.CorrType; }
  void SetCorrType(bool on) { state_.CorrType = on; }
  bool CorrMsg() const { return state_.CorrMsg; }
  void SetCorrMsg(bool on) { state_.CorrMsg = on; }
  bool ExpInp() const { return state_.ExpInp; }
  void SetExpInp(bool on) { state_.ExpInp = on; }
  bool GFormat() const { return state_.GFormat; }
  void SetGFormat(bool on) { state_.GFormat = on; }

  double Val() const { return state_.Val(); }
  double Max() const { return state_.Max(); }
  double Min() const { return state_.Min(); }

  void SetMax(double x);
  void SetMin(double x);
  void SetVal(double x);
  void SetVal0(double x);
  // Commits the text; true when the value changed.
  bool GetModify();
  bool TextToVal();
  void ValToText();
  void CorrectText();
  // The keystroke filter: clears Key (to 0) when the field must ignore it.
  void KeyPress(char32_t& Key);

  // Most characters the user may type or paste; 0 means no limit. Text the field writes
  // itself (a value) is never cut.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n) { maxLength_ = n; }

  // The text as UTF-8.
  std::string TextUtf8() const { return text().toStdString(); }

  // The window closes while this field has the focus: the edit ends as on leaving the
  // field (Exit), so the window's exit handler commits the text.
  void FinishEdit() override { emit Exit(this); }

  void SetColor(platform::SystemColor color);
  platform::SystemColor Color() const { return color_; }

 signals:
  // Focus moved from this field to another control of its window, or the window closed
  // while the field had the focus.
  void Exit(TEditFloat* sender);
  // A key went down in the field, before the keystroke filter (KeyEnter for Enter).
  void KeyDown(TEditFloat* sender, int key);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  friend class EditFloatLengthLimit;
  template <class F>
  auto Apply(F&& f);
  void Push();

  editfloat::EditFloatState state_;
  int maxLength_ = 0;
  int lastLength_ = 0;    // length of the text before the edit being validated
  bool pushing_ = false;  // the field is writing its own text
  platform::SystemColor color_ = platform::SystemColor::Window;
};
