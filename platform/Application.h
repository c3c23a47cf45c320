#pragma once
// The application object. Every command runs inside an event handler; an exception that
// escapes one (a thread that cannot start, memory that runs out) ends that command only: the
// event is dropped, the normal cursor comes back and a message box says what happened.
#include <QApplication>

namespace platform {

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace platform
