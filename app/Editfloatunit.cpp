#include "app/Editfloatunit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QValidator>

// Refuses an edit by the user that would make the text longer than the field's limit; a
// text already longer (a value the field wrote itself) may still be shortened.
class EditFloatLengthLimit : public QValidator {
 public:
  explicit EditFloatLengthLimit(TEditFloat* field) : QValidator(field), field_(field) {}

  State validate(QString& input, int&) const override {
    if (field_->pushing_ || field_->maxLength_ <= 0) return Acceptable;
    const int n = static_cast<int>(input.size());
    return n <= field_->maxLength_ || n < field_->lastLength_ ? Acceptable : Invalid;
  }

 private:
  TEditFloat* field_;
};

TEditFloat::TEditFloat(QWidget* parent) : QLineEdit(parent) {
  setValidator(new EditFloatLengthLimit(this));
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString& t) { lastLength_ = static_cast<int>(t.size()); });
  Push();
}

template <class F>
auto TEditFloat::Apply(F&& f) {
  state_.Text = text().toStdString();
  if constexpr (std::is_void_v<decltype(f())>) {
    f();
    Push();
  } else {
    auto r = f();
    Push();
    return r;
  }
}

void TEditFloat::Push() {
  const QString t = QString::fromStdString(state_.Text);
  if (t == text()) return;
  pushing_ = true;
  setText(t);
  pushing_ = false;
}

void TEditFloat::Load(const editfloat::FieldDesign& design, int maxLength) {
  maxLength_ = maxLength;
  Apply([&] { editfloat::ApplyDesign(state_, design); });
}

void TEditFloat::SetMax(double x) {
  Apply([&] { state_.SetMax(x); });
}
void TEditFloat::SetMin(double x) {
  Apply([&] { state_.SetMin(x); });
}
void TEditFloat::SetVal(double x) {
  Apply([&] { state_.SetVal(x); });
}
void TEditFloat::SetVal0(double x) {
  Apply([&] { state_.SetVal0(x); });
}
bool TEditFloat::GetModify() {
  return Apply([&] { return state_.GetModify(); });
}
bool TEditFloat::TextToVal() {
  return Apply([&] { return state_.TextToVal(); });
}
void TEditFloat::ValToText() {
  Apply([&] { state_.ValToText(); });
}
void TEditFloat::CorrectText() {
  Apply([&] { state_.CorrectText(); });
}

void TEditFloat::KeyPress(char32_t& Key) {
  state_.Text = text().toStdString();
  const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
  if (!state_.KeyAccepted(Key, selStart, !hasSelectedText())) Key = 0;
}

void TEditFloat::SetColor(platform::SystemColor color) {
  color_ = color;
  platform::SetBackground(*this, color);
}

namespace {

// The character a keystroke types, as the keystroke filter sees it. Only real characters
// go through the filter (and Enter, which the field keeps from its window); false for
// every editing key: Backspace, Delete (which X11 delivers with the text "\x7f"), the
// arrows, Home and End, Escape, and the shortcuts with Ctrl, which the line edit handles
// itself (clipboard, undo, select all, delete word).
bool TypedCharacter(const QKeyEvent& e, char32_t& c) {
  if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) {
    c = 13;
    return true;
  }
  const auto mods = e.modifiers();
  if (mods.testFlag(Qt::ControlModifier) || mods.testFlag(Qt::MetaModifier)) return false;
  const QString t = e.text();
  if (t.isEmpty()) return false;
  for (const QChar ch : t)
    if (ch.category() == QChar::Other_Control) return false;
  c = t.toUcs4().value(0);
  return true;
}

}  // namespace

void TEditFloat::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  emit KeyDown(this, enter ? KeyEnter : event->key());
  char32_t c = 0;
  if (TypedCharacter(*event, c)) {
    KeyPress(c);
    if (c == 0) {
      event->accept();  // ignored by the field and by its window
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void TEditFloat::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Only a move to another control of the same window is an exit; a message box or
  // another window taking the activation is not.
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
    emit Exit(this);
}

void TEditFloat::inputMethodEvent(QInputMethodEvent* event) {
  // Text composed through an input method goes through the same filter: a commit with a
  // character the field would reject from the keyboard is dropped whole.
  const QString commit = event->commitString();
  bool accepted = true;
  for (char32_t c : commit.toUcs4()) {
    KeyPress(c);
    if (c == 0) accepted = false;
  }
  if (accepted) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent filtered(event->preeditString(), event->attributes());
  QLineEdit::inputMethodEvent(&filtered);
  event->accept();
}
