#include "platform/SignalQuit.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
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
      ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0)
    return;
  readFd_ = fds[0];
  g_writeFd = fds[1];
  notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalQuit::Drain);

  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(Signals); ++i) ::sigaction(Signals[i], &sa, &g_previous[i]);
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
