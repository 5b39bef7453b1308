// SPDX-License-Identifier: MIT

#pragma once

#include "app/lock_file.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace zr {

// Keeps to one running copy of the program per data folder, so that two copies
// never save over each other's changes nor alert the same reminders twice.
//
// The first copy holds a lock on the file "ZRDorvel.lock" in the data folder (a
// lock of the system, which ends with the process that holds it, so the file a
// killed copy leaves is simply taken over, whatever it holds) and listens on a
// local socket named after the folder. A later copy finds the lock held, asks the
// first one through the socket to show its window, waits a few seconds for its
// reply line, and ends.
//
// Nothing that stands at the lock file's place can hang the start or lock the user
// out: anything but a regular file of at most kMaxLockFileSize bytes (a named pipe,
// a folder, a device or a link) is moved aside with one warning, and a lock file
// that cannot be opened is judged by whether a copy answers on the socket: when
// none does, it is moved aside too.
class SingleInstance : public QObject {
  Q_OBJECT

public:
  enum class Claim {
    First,             // this copy runs; the folder is its own
    OtherAsked,        // another copy runs on the folder and answered the request
    OtherNotAnswering, // another copy holds the folder but does not answer
  };

  static constexpr qint64 kMaxLockFileSize = 4096;
  static constexpr int kAnswerTimeoutMs = 3000;

  explicit SingleInstance(QObject* parent = nullptr);
  // Gives the lock up and removes the lock file.
  ~SingleInstance() override;

  // Claims the data folder (given with a trailing '/') for this copy. When another
  // copy holds it, that copy is asked to show its window, or, with `askToShow`
  // false, only whether it is there. A folder where no lock can be made (a
  // read-only one) is used without a lock unless another copy answers on the socket.
  Claim claim(const QString& dataFolder, bool askToShow);

  // After OtherNotAnswering: what the user is told, naming the lock file, the
  // process that holds it when known, and what to do.
  QString notAnsweringText() const;

  // How long a later copy waits for this one's reply; for tests.
  void setAnswerTimeout(int milliseconds) { answerTimeoutMs_ = milliseconds; }

signals:
  // A later copy asked this one to show its window.
  void showRequested();

private:
  LockFile::Result takeLock();
  // Moves whatever stands at the lock file's place aside, with one warning.
  bool moveLockAside(const QString& why);
  bool askRunningCopy(bool askToShow) const;
  void listen(bool replaceStaleSocket);
  void readRequest(QLocalSocket& socket);

  QString dataFolder_;
  QString lockPath_;
  QString serverName_;
  LockFile lock_;
  qint64 holder_ = 0; // the process that holds the lock, when another one does
  int answerTimeoutMs_ = kAnswerTimeoutMs;
  QLocalServer* server_ = nullptr;
};

} // namespace zr
