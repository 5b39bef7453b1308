// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace zr {

// Keeps to one running copy of the program per data folder, so that two copies
// never save over each other's changes nor alert the same reminders twice.
//
// The first copy holds a lock file, "ZRDorvel.lock" in the data folder (one left
// by a copy that was killed is taken over), and listens on a local socket named
// after the folder. A later copy finds the lock held, asks the first one through
// the socket to show its window, and ends.
class SingleInstance : public QObject {
  Q_OBJECT

public:
  enum class Claim {
    First,             // this copy runs; the folder is its own
    OtherAsked,        // another copy runs on the folder and got the request
    OtherNotAnswering, // another copy holds the folder but its socket does not answer
  };

  explicit SingleInstance(QObject* parent = nullptr);
  ~SingleInstance() override;

  // Claims the data folder (given with a trailing '/') for this copy. When another
  // copy holds it, that copy is asked to show its window, or, with `askToShow`
  // false, only whether it is there. A folder where no lock can be made (a
  // read-only one) is used without a lock unless another copy answers on the socket.
  Claim claim(const QString& dataFolder, bool askToShow);

signals:
  // A later copy asked this one to show its window.
  void showRequested();

private:
  bool askRunningCopy(bool askToShow) const;
  void listen(bool replaceStaleSocket);
  void readRequest(QLocalSocket& socket);

  QString serverName_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
};

} // namespace zr
