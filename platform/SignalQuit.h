#pragma once
// Ending the program on SIGTERM and SIGINT (a desktop session's logout, kill, Ctrl+C): the
// signal handler only writes a byte into a socket pair; the event loop reads it and quits the
// way the user's exit command does, so the windows close and the process returns 0.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace platform {

// Installs handlers for SIGTERM and SIGINT while it lives and calls `onSignal` from the event
// loop, once for every batch of signals that arrived since the loop last looked. The previous
// handlers come back when it is destroyed. Only one instance installs at a time; when a
// second one is made, or the socket pair cannot be had, it installs nothing and the signals
// keep the action they had.
class SignalQuit : public QObject {
 public:
  explicit SignalQuit(std::function<void()> onSignal, QObject* parent = nullptr);
  ~SignalQuit() override;
  SignalQuit(const SignalQuit&) = delete;
  SignalQuit& operator=(const SignalQuit&) = delete;

  bool installed() const { return readFd_ != -1; }

  // Blocks SIGTERM and SIGINT in the calling thread and the threads it starts later, until a
  // SignalQuit is made: a signal that comes while the toolkit starts up waits, and is then
  // handled like any other.
  static void HoldSignals();

 private:
  void Drain();

  std::function<void()> onSignal_;
  int readFd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

// The graceful quit: ends every running event loop with code 0 (modal windows included, and
// any modal window a handler opens afterwards returns at once), then closes the modal windows
// from the innermost outwards and the other top-level windows; a window that refuses to close
// is hidden. Called before the application's loop has started, it ends that loop at its start.
void QuitGracefully();

}  // namespace platform
