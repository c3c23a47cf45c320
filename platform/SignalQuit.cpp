#include "platform/SignalQuit.h"

#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <utility>

namespace platform {
namespace {

// The write end of the socket pair; the handler reads nothing else.
volatile sig_atomic_t g_writeFd = -1;

constexpr int Signals[] = {SIGTERM, SIGINT};
struct sigaction g_previous[std::size(Signals)];

const sigset_t& SignalSet() {
  static const sigset_t set = [] {
    sigset_t s;
    sigemptyset(&s);
    for (const int sig : Signals) sigaddset(&s, sig);
    return s;
  }();
  return set;
}

extern "C" void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // Non-blocking: when the pair is full a byte is already waiting, which is enough.
  [[maybe_unused]] const ssize_t n = ::write(g_writeFd, &byte, 1);
  errno = saved;
}

}  // namespace

SignalQuit::SignalQuit(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  int fds[2];
  if (g_writeFd != -1 ||
      ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0) {
    ::pthread_sigmask(SIG_UNBLOCK, &SignalSet(), nullptr);
    return;
  }
  readFd_ = fds[0];
  g_writeFd = fds[1];
  notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalQuit::Drain);

  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(Signals); ++i) ::sigaction(Signals[i], &sa, &g_previous[i]);
  // A signal held back since HoldSignals arrives now, into the socket pair.
  ::pthread_sigmask(SIG_UNBLOCK, &SignalSet(), nullptr);
}

void SignalQuit::HoldSignals() {
  ::pthread_sigmask(SIG_BLOCK, &SignalSet(), nullptr);
}

SignalQuit::~SignalQuit() {
  if (!installed()) return;
  for (std::size_t i = 0; i < std::size(Signals); ++i)
    ::sigaction(Signals[i], &g_previous[i], nullptr);
  delete notifier_;
  const int writeFd = g_writeFd;
  g_writeFd = -1;
  ::close(writeFd);
  ::close(readFd_);
}

void SignalQuit::Drain() {
  char buffer[64];
  bool any = false;
  for (;;) {
    const ssize_t n = ::read(readFd_, buffer, sizeof buffer);
    if (n > 0) {
      any = true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;  // empty (EAGAIN) or closed
  }
  if (any && onSignal_) onSignal_();
}

void QuitGracefully() {
  QCoreApplication::exit(0);
  // When the signal is read in a loop that runs before the application's own (a message box
  // during start-up), the application's loop, which clears the request to exit as it starts,
  // must end as well: this timer fires there. Once the application's loop has ended it is
  // stopped, so it never ends a later loop.
  auto* again = new QTimer(QCoreApplication::instance());
  again->setSingleShot(true);
  QObject::connect(again, &QTimer::timeout, [] { QCoreApplication::exit(0); });
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, again,
                   &QTimer::stop);
  again->start(0);
  // A hidden window leaves the modal stack; the bound only guards against one that would not.
  for (int left = QApplication::topLevelWidgets().size(); left > 0; --left) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) break;
    if (!modal->close()) modal->hide();
  }
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && !w->close()) w->hide();
  }
}

}  // namespace platform
