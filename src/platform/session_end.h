// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#ifdef Q_OS_WIN
#include <memory>
class QAbstractNativeEventFilter;
#else
#include <csignal>
class QSocketNotifier;
#endif

namespace zr {

// Tells the program that it is being ended from outside: the desktop session ends
// (the session manager asks to commit data, or the application is about to quit) or
// the process receives SIGTERM, SIGINT or SIGHUP. The program answers by shutting down
// the ordinary way, so its close sequence runs and its settings are written.
//
// The signals reach the event loop through a pipe: the handler only write()s a byte,
// and a socket notifier turns it into sessionEnding() on the main thread, from whatever
// event loop runs then (a modal box's included). The first signal also gives the close
// a deadline: the handlers go back to the system's, so a second signal ends the process
// at once, and an alarm ends it (SIGALRM) when it is still there two seconds later.
// Only one watcher may exist at a time; when destroyed it cancels that alarm and
// restores the previous handlers, so it should outlive the program's close.
//
// On Windows the end of the session is WM_QUERYENDSESSION, and WM_ENDSESSION when the
// session really ends, seen by a native event filter: sessionEnding() is emitted, and the
// close it starts has run when the message's handling returns, before the system ends
// the process.
class SessionEndWatcher : public QObject {
  Q_OBJECT

public:
  explicit SessionEndWatcher(QObject* parent = nullptr);
  ~SessionEndWatcher() override;

  SessionEndWatcher(const SessionEndWatcher&) = delete;
  SessionEndWatcher& operator=(const SessionEndWatcher&) = delete;

signals:
  // Emitted once, the first time any of the reasons above occurs. It can also come
  // while the application quits after the program has closed by itself, so the
  // receiver must do nothing when it has already shut down.
  void sessionEnding();

private:
  void announce();

#ifdef Q_OS_WIN
  std::unique_ptr<QAbstractNativeEventFilter> filter_;
#else
  void drainPipe();

  int pipe_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
  struct sigaction previous_[3] = {};
#endif
  bool announced_ = false;
};

} // namespace zr
