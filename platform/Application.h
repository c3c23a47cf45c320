#pragma once
// The application object. Every command runs inside an event handler; an exception that
// escapes one (a thread that cannot start, memory that runs out) ends that command only: the
// event is dropped, the normal cursor comes back and a message box says what happened.
#include <QApplication>
#include <exception>
#include <string>

namespace platform {

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

// The message of a command ended by an exception (nullptr: not a standard exception).
std::string CommandFailureText(const std::exception* e);

// Ends the current command after an exception: the normal cursor and the message. Never
// throws; when even the message cannot be shown, the text goes to standard error.
void ReportCommandFailure(const std::exception* e) noexcept;

}  // namespace platform
