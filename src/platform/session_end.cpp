// SPDX-License-Identifier: MIT

#include "platform/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zr {
namespace {

constexpr int kSignals[3] = {SIGTERM, SIGINT, SIGHUP};
// How long the close may take once a signal asked for the end.
constexpr unsigned kCloseDeadlineSeconds = 2;

// The write end of the live watcher's pipe. A signal handler can reach nothing else,
// so this one value has to be shared with it.
volatile sig_atomic_t signalPipe = -1;

extern "C" void onEndingSignal(int) {
  const int savedErrno = errno;
  // From now on a second signal ends the program at once, and so does the alarm
  // should the close not end it in time (with the main thread stuck, say).
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  for (const int signalNumber : kSignals)
    ::sigaction(signalNumber, &standard, nullptr);
  ::alarm(kCloseDeadlineSeconds);
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(signalPipe, &byte, 1);
  errno = savedErrno;
}

} // namespace

SessionEndWatcher::SessionEndWatcher(QObject* parent) : QObject(parent) {
  Q_ASSERT(signalPipe == -1);
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
    qFatal("SessionEndWatcher: cannot create a pipe");
  signalPipe = pipe_[1];

  notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    drainPipe();
    announce();
  });

  struct sigaction action {};
  action.sa_handler = onEndingSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i)
    ::sigaction(kSignals[i], &action, &previous_[i]);

  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(
        app, &QGuiApplication::commitDataRequest, this, [this] { announce(); },
        Qt::DirectConnection);
    connect(
        app, &QCoreApplication::aboutToQuit, this, [this] { announce(); }, Qt::DirectConnection);
  }
}

SessionEndWatcher::~SessionEndWatcher() {
  ::alarm(0);
  for (int i = 0; i < 3; ++i)
    ::sigaction(kSignals[i], &previous_[i], nullptr);
  signalPipe = -1;
  delete notifier_;
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void SessionEndWatcher::drainPipe() {
  char buffer[64];
  while (::read(pipe_[0], buffer, sizeof buffer) > 0) {
  }
}

void SessionEndWatcher::announce() {
  if (announced_)
    return;
  announced_ = true;
  emit sessionEnding();
}

} // namespace zr
