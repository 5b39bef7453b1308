// SPDX-License-Identifier: MIT

#include "app/single_instance.h"

#include "app/logging.h"
#include "core/data_file.h"
#include "core/date_time.h"
#include "platform/stored_text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

namespace zr {
namespace {

// The first copy takes its lock a moment before it listens.
constexpr int kConnectAttempts = 20;
constexpr int kConnectRetryMs = 50;
constexpr qint64 kMaxRequestLength = 64;
const QByteArray kShowRequest = "show\n";
const QByteArray kPresenceRequest = "here?\n";
const QByteArray kReply = "ok\n";

// A per-user socket whose name stands for the data folder, however it was written.
QString serverNameFor(const QString& dataFolder) {
  QString folder = QFileInfo(dataFolder).canonicalFilePath();
  if (folder.isEmpty())
    folder = QDir::cleanPath(dataFolder);
  const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256);
  QString place = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (place.isEmpty())
    place = QDir::tempPath();
  return place + "/zrdorvel-" + QString::fromLatin1(hash.toHex().left(16));
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::claim(const QString& dataFolder, bool askToShow) {
  dataFolder_ = dataFolder;
  lockPath_ = dataFolder + "ZRDorvel.lock";
  serverName_ = serverNameFor(dataFolder);

  if (const QString unusable = LockFile::unusableText(lockPath_, kMaxLockFileSize);
      !unusable.isEmpty())
    moveLockAside(unusable);
  switch (takeLock()) {
  case LockFile::Result::Taken:
    listen(true);
    return Claim::First;
  case LockFile::Result::HeldByOther:
    return askRunningCopy(askToShow) ? Claim::OtherAsked : Claim::OtherNotAnswering;
  case LockFile::Result::CannotOpen:
    break;
  }
  // A lock file that cannot be opened says nothing of a running copy: the socket
  // does. When none answers, the file is in the way of this one.
  const QString openError = lock_.error();
  if (askRunningCopy(askToShow))
    return Claim::OtherAsked;
  if (LockFile::standsThere(lockPath_) &&
      moveLockAside(QString("it cannot be opened (%1)").arg(openError)) &&
      takeLock() == LockFile::Result::Taken) {
    listen(true);
    return Claim::First;
  }
  qCWarning(lcApp).noquote() << "Cannot make the lock file" << lockPath_
                             << "; another copy on this data folder is found by its socket only";
  listen(false);
  return Claim::First;
}

QString SingleInstance::notAnsweringText() const {
  const QString holder =
      holder_ > 0 ? QString("process %1, which holds the lock file %2").arg(holder_).arg(lockPath_)
                  : QString("which holds the lock file %1").arg(lockPath_);
  return "ZR Dorvel is already running on the data folder " + dataFolder_ +
         " but does not answer. End that copy (" + holder +
         ") before starting another one; a copy that was stopped can also be continued.";
}

LockFile::Result SingleInstance::takeLock() {
  const LockFile::Result result = lock_.take(lockPath_, kMaxLockFileSize);
  holder_ = result == LockFile::Result::HeldByOther ? lock_.holder() : 0;
  if (result == LockFile::Result::Taken && !lock_.error().isEmpty())
    qCWarning(lcApp).noquote() << "Cannot write the lock file" << lockPath_ << ":" << lock_.error();
  return result;
}

bool SingleInstance::moveLockAside(const QString& why) {
  DataFile lock(toNativePath(lockPath_));
  const std::string kept = lock.keepAside(SystemClock().now(), false);
  if (kept.empty()) {
    qCWarning(lcApp).noquote() << "The lock file" << lockPath_ << "is unusable (" + why + ")"
                               << "and cannot be moved aside";
    return false;
  }
  qCWarning(lcApp).noquote() << "The lock file" << lockPath_ << "was unusable (" + why + ");"
                             << "it was moved to" << fromNativePath(kept);
  return true;
}

bool SingleInstance::askRunningCopy(bool askToShow) const {
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (socket.waitForConnected(answerTimeoutMs_)) {
      // A copy that is stopped or stuck still accepts the connection: only its
      // reply tells that it runs. The reply is awaited in an event loop, so that a
      // copy in this same thread (in the tests) can give it.
      socket.write(askToShow ? kShowRequest : kPresenceRequest);
      QEventLoop loop;
      QTimer::singleShot(answerTimeoutMs_, &loop, &QEventLoop::quit);
      connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (socket.canReadLine())
          loop.quit();
      });
      connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
      if (!socket.canReadLine())
        loop.exec();
      return socket.canReadLine() && socket.readLine() == kReply;
    }
    if (socket.error() != QLocalSocket::ServerNotFoundError &&
        socket.error() != QLocalSocket::ConnectionRefusedError)
      return false;
    QThread::msleep(kConnectRetryMs);
  }
  return false;
}

void SingleInstance::listen(bool replaceStaleSocket) {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // Holding the lock, a socket left in place can only be a killed copy's.
  if (replaceStaleSocket)
    QLocalServer::removeServer(serverName_);
  if (!server_->listen(serverName_)) {
    qCWarning(lcApp).noquote() << "Later copies cannot reach this one:" << server_->errorString();
    return;
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(*socket); });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      readRequest(*socket);
    }
  });
}

// One short line per connection, answered with one line; anything else is dropped
// with the connection.
void SingleInstance::readRequest(QLocalSocket& socket) {
  if (!socket.canReadLine()) {
    if (socket.bytesAvailable() > kMaxRequestLength)
      socket.disconnectFromServer();
    return;
  }
  const QByteArray request = socket.readLine(kMaxRequestLength);
  if (request == kShowRequest || request == kPresenceRequest) {
    socket.write(kReply);
    socket.flush();
  }
  socket.disconnectFromServer();
  if (request == kShowRequest)
    emit showRequested();
}

} // namespace zr
