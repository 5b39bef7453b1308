#include "updater/download_thread.h"

#include "platform/proxy_query.h"
#include "updater/document_name.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace zr {
namespace {

// How often a request in progress looks for a stop request, so that a stalled
// connection is stopped as promptly as a flowing one.
constexpr int kStopPollMs = 50;

QNetworkProxy proxyForUpdates() {
  const std::optional<ProxySettings> settings = queryProxySettings();
  if (!settings || !settings->enabled || settings->host.empty())
    return QNetworkProxy(QNetworkProxy::NoProxy);
  return QNetworkProxy(QNetworkProxy::HttpProxy, QString::fromStdString(settings->host),
                       static_cast<quint16>(settings->port));
}

bool hasSuccessStatus(const QNetworkReply* reply) {
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  return status >= 200 && status <= 299;
}

int toProgressValue(qint64 value) {
  return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

} // namespace

DownloadThread::DownloadThread(QObject* parent) : QThread(parent) {
  connect(this, &QThread::finished, this, [this] { emit completed(this); });
}

DownloadThread::~DownloadThread() {
  requestStop();
  // The transfer may be waiting for a display step; serve those here, since
  // the UI thread no longer returns to its event loop for them.
  while (!wait(QDeadlineTimer(20)))
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void DownloadThread::addItem(const QString& address, const QString& targetPath,
                             bool freeAfterTransfer) {
  items_.append(address + u'\t' + targetPath + u'\t' + (freeAfterTransfer ? "-1" : "0"));
}

void DownloadThread::requestStop() {
  stopRequested_ = true;
}

void DownloadThread::run() {
  fileText_.clear();
  progressText_.clear();
  progressPos_ = 0;
  progressMax_ = 1;
  failed_ = false;
  attachedData_ = QList<QByteArray>(items_.size());

  QNetworkAccessManager client;
  client.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
  if (showStatus_)
    runOnUiThread(&DownloadThread::createStatusWindow);
  client.setProxy(proxyForUpdates());

  sizePass(client);
  transferPass(client);

  if (showStatus_)
    runOnUiThread(&DownloadThread::closeStatusWindow);
}

void DownloadThread::sizePass(QNetworkAccessManager& client) {
  for (const QString& item : std::as_const(items_)) {
    if (stopRequested_) {
      failed_ = true;
      return;
    }
    const QString address = item.section(u'\t', 0, 0);
    lastWorkCount_ = 0;
    fileText_ = "Finding file size...";
    if (showStatus_)
      runOnUiThread(&DownloadThread::updateStatusWindow);
    qint64 contentLength = 0;
    if (send(client, address, nullptr, &contentLength))
      progressMax_ += contentLength;
    else
      failed_ = true;
  }
}

void DownloadThread::transferPass(QNetworkAccessManager& client) {
  const qsizetype count = items_.size();
  for (qsizetype i = 0; i < count; ++i) {
    if (stopRequested_) {
      failed_ = true;
      return;
    }
    const QStringList parts = items_[i].split(u'\t');
    const QString& address = parts[0];
    const QString& targetPath = parts[1];
    const bool freeAfterTransfer = parts[2] == "-1";

    QByteArray memory;
    std::unique_ptr<QIODevice> stream;
    if (targetPath.isEmpty())
      stream = std::make_unique<QBuffer>(&memory);
    else
      stream = std::make_unique<QFile>(targetPath);
    if (!stream->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      failed_ = true;
      continue;
    }
    lastWorkCount_ = 0;
    fileText_ = QString("File %1 / %2: %3").arg(i + 1).arg(count).arg(documentName(address));
    if (showStatus_)
      runOnUiThread(&DownloadThread::updateStatusWindow);
    if (!send(client, address, stream.get(), nullptr))
      failed_ = true;
    stream->close();
    if (!freeAfterTransfer && targetPath.isEmpty())
      attachedData_[i] = memory;
  }
}

bool DownloadThread::send(QNetworkAccessManager& client, const QString& address, QIODevice* sink,
                          qint64* contentLength) {
  const QNetworkRequest request{QUrl(address)};
  std::unique_ptr<QNetworkReply> reply(sink ? client.get(request) : client.head(request));
  bool aborted = false;
  const auto abortOnStop = [&] {
    if (stopRequested_ && !aborted) {
      aborted = true;
      reply->abort();
    }
  };

  QEventLoop loop;
  connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  if (sink)
    connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
      const QByteArray data = reply->readAll();
      if (hasSuccessStatus(reply.get()))
        sink->write(data);
    });
  if (showStatus_)
    connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
      abortOnStop();
      if (!aborted)
        onProgress(received);
    });
  QTimer stopPoll;
  stopPoll.setInterval(kStopPollMs);
  connect(&stopPoll, &QTimer::timeout, &loop, abortOnStop);
  stopPoll.start();
  abortOnStop();
  if (!reply->isFinished())
    loop.exec();

  if (reply->error() != QNetworkReply::NoError || !hasSuccessStatus(reply.get()))
    return false;
  if (contentLength)
    *contentLength = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
  return true;
}

void DownloadThread::onProgress(qint64 count) {
  progressText_ = "Downloading...";
  progressPos_ += count - lastWorkCount_;
  lastWorkCount_ = count;
  runOnUiThread(&DownloadThread::updateStatusWindow);
}

void DownloadThread::runOnUiThread(void (DownloadThread::*step)()) {
  QMetaObject::invokeMethod(
      this, [this, step] { (this->*step)(); }, Qt::BlockingQueuedConnection);
}

void DownloadThread::createStatusWindow() {
  statusWindow_ = std::make_unique<StatusWindow>();
  connect(statusWindow_.get(), &StatusWindow::cancelRequested, this, &DownloadThread::requestStop);
  connect(this, &DownloadThread::statusChanged, statusWindow_.get(), &StatusWindow::showStatus);
  updateStatusWindow();
  statusWindow_->show();
}

void DownloadThread::updateStatusWindow() {
  emit statusChanged({statusCaption_, fileText_, progressText_, 0, toProgressValue(progressMax_),
                      toProgressValue(progressPos_)});
}

void DownloadThread::closeStatusWindow() {
  statusWindow_.reset();
}

} // namespace zr
