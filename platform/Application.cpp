#include "platform/Application.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "model/Messages.h"
#include "platform/Cursor.h"

namespace platform {
namespace {

// The message of a command ended by an exception (nullptr: not a standard exception).
std::string CommandFailureText(const std::exception* e) {
  if (dynamic_cast<const std::bad_alloc*>(e) != nullptr)
    return "Недостаточно памяти для выполнения команды. Команда прервана.";
  if (e == nullptr) return "Непредвиденная ошибка при выполнении команды. Команда прервана.";
  return std::string("Ошибка при выполнении команды: ") + e->what() + ". Команда прервана.";
}

// The normal cursor and the message. Never throws: when even the message cannot be shown
// (no memory left for it), the text goes to standard error.
void ReportCommandFailure(const std::exception* e) noexcept {
  try {
    SetScreenCursor(ScreenCursor::Default);
  } catch (...) {
  }
  try {
    lab::ShowMessage(CommandFailureText(e));
  } catch (...) {
    std::fputs("labbench: команда прервана из-за ошибки.\n", stderr);
  }
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ReportCommandFailure(&e);
  } catch (...) {
    ReportCommandFailure(nullptr);
  }
  return true;  // the event is consumed: the command that failed does not go on
}

}  // namespace platform
