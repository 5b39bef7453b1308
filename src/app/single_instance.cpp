// SPDX-License-Identifier: MIT

#include "app/single_instance.h"

#include "app/logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace zr {
namespace {

constexpr int kAnswerTimeoutMs = 2000;
// The first copy takes its lock a moment before it listens.
constexpr int kConnectAttempts = 20;
constexpr int kConnectRetryMs = 50;
const QByteArray kShowRequest = "show\n";

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
  serverName_ = serverNameFor(dataFolder);
  lock_ = std::make_unique<QLockFile>(dataFolder + "ZRDorvel.lock");
  // Only a lock whose process is gone is stale, however old it is.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) {
    listen(true);
    return Claim::First;
  }
  if (lock_->error() == QLockFile::LockFailedError)
    return askRunningCopy(askToShow) ? Claim::OtherAsked : Claim::OtherNotAnswering;
  qCWarning(lcApp).noquote() << "Cannot make the lock file" << lock_->fileName()
                             << "; another copy on this data folder is found by its socket only";
  lock_.reset();
  if (askRunningCopy(askToShow))
    return Claim::OtherAsked;
  listen(false);
  return Claim::First;
}

bool SingleInstance::askRunningCopy(bool askToShow) const {
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (socket.waitForConnected(kAnswerTimeoutMs)) {
      if (askToShow) {
        socket.write(kShowRequest);
        if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
          return false;
      }
      socket.disconnectFromServer();
      return true;
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

// One short line per connection; anything else is dropped with the connection.
void SingleInstance::readRequest(QLocalSocket& socket) {
  if (socket.bytesAvailable() < kShowRequest.size())
    return;
  const QByteArray request = socket.read(kShowRequest.size());
  socket.disconnectFromServer();
  if (request == kShowRequest)
    emit showRequested();
}

} // namespace zr
