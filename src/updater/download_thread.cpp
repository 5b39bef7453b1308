// SPDX-License-Identifier: MIT

#include "updater/download_thread.h"

#include "core/update_info.h"
#include "updater/download_target.h"
#include "updater/proxy_factory.h"
#include "updater/transfer_pace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace zr {
namespace {

// How often a request in progress looks for a stop request, so that a stalled
// connection is stopped as promptly as a flowing one.
constexpr int kStopPollMs = 50;
// What a reply may hold before it is read, so that a fast endless body cannot
// pile up between two reads.
constexpr qint64 kReadBufferSize = 256 * 1024;
const QString kStopped = "Stopped.";

QString printable(const QString& text) {
  return QString::fromStdString(printableText(text.toStdString()));
}

QString displayName(const QString& address) {
  return printable(QString::fromStdString(documentName(address.toStdString())));
}

int statusCode(const QNetworkReply* reply) {
  return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

bool hasSuccessStatus(const QNetworkReply* reply) {
  const int status = statusCode(reply);
  return status >= 200 && status <= 299;
}

QString secondsText(int milliseconds) {
  const double seconds = milliseconds / 1000.0;
  return QString("%1 second%2").arg(seconds).arg(seconds == 1 ? "" : "s");
}

QString deadlineText(const QString& name, int deadlineMs) {
  return QString("%1: the transfer did not end within %2.").arg(name, secondsText(deadlineMs));
}

QString statusFailure(const QNetworkReply* reply, const QString& name) {
  return QString("%1: the server answered %2 %3.")
      .arg(name)
      .arg(statusCode(reply))
      .arg(printable(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
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

void DownloadThread::requestStop() {
  stopRequested_ = true;
}

void DownloadThread::run() {
  fileText_.clear();
  progressText_.clear();
  progressPos_ = 0;
  progressMax_ = 1;
  failed_ = false;
  errors_.clear();
  attachedData_ = QList<QByteArray>(items_.size());
  runDeadline_ = runDeadlineMs_ > 0 ? QDeadlineTimer(runDeadlineMs_) : QDeadlineTimer::Forever;

  QNetworkAccessManager client;
  client.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
  client.setProxyFactory(new ProxyFactory);
  if (showStatus_)
    runOnUiThread(&DownloadThread::createStatusWindow);

  sizePass(client);
  transferPass(client);

  if (showStatus_)
    runOnUiThread(&DownloadThread::closeStatusWindow);
}

void DownloadThread::sizePass(QNetworkAccessManager& client) {
  for (const TransferItem& item : std::as_const(items_)) {
    if (stopRequested_ || runDeadline_.hasExpired()) {
      fail(stopRequested_ ? kStopped : deadlineText(displayName(item.address), runDeadlineMs_));
      return;
    }
    lastWorkCount_ = 0;
    fileText_ = "Finding file size...";
    if (showStatus_)
      runOnUiThread(&DownloadThread::updateStatusWindow);
    qint64 contentLength = 0;
    if (send(client, item.address, nullptr, &contentLength))
      progressMax_ += contentLength;
  }
}

void DownloadThread::transferPass(QNetworkAccessManager& client) {
  const qsizetype count = items_.size();
  for (qsizetype i = 0; i < count; ++i) {
    const TransferItem& item = items_[i];
    const QString name = displayName(item.address);
    if (stopRequested_ || runDeadline_.hasExpired()) {
      fail(stopRequested_ ? kStopped : deadlineText(name, runDeadlineMs_));
      return;
    }
    DownloadTarget target(name, item.targetPath, item.sha256);
    if (!target.open()) {
      fail(target.error());
      continue;
    }
    lastWorkCount_ = 0;
    fileText_ = QString("File %1 / %2: %3").arg(i + 1).arg(count).arg(name);
    if (showStatus_)
      runOnUiThread(&DownloadThread::updateStatusWindow);
    if (!send(client, item.address, &target, nullptr))
      target.discard();
    else if (!item.freeAfterTransfer && item.targetPath.isEmpty())
      attachedData_[i] = target.memory();
  }
}

bool DownloadThread::send(QNetworkAccessManager& client, const QString& address,
                          DownloadTarget* target, qint64* contentLength) {
  QNetworkRequest request{QUrl(address)};
  // The body must arrive as the server stores it: its length is checked
  // against Content-Length and its digest against the published one.
  request.setRawHeader("Accept-Encoding", "identity");
  request.setTransferTimeout(stallTimeoutMs_);
  std::unique_ptr<QNetworkReply> reply(target ? client.get(request) : client.head(request));
  reply->setReadBufferSize(kReadBufferSize);

  QString endedHere; // why the request was ended from this side
  const auto endWith = [&](const QString& why) {
    if (endedHere.isEmpty()) {
      endedHere = why;
      reply->abort();
    }
  };
  const auto endOnStop = [&] {
    if (stopRequested_)
      endWith(kStopped);
  };
  const auto promisedLength = [&]() -> std::optional<qint64> {
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() ? std::optional(length.toLongLong()) : std::nullopt;
  };

  const QString name = displayName(address);
  QEventLoop loop;
  connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // An answer that is not a success ends at its headers: its status is the
  // failure, and its body, however long, is not read.
  connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
    if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
      return;
    if (!hasSuccessStatus(reply.get()) && endedHere.isEmpty()) {
      // Aborted once the client has finished with the headers: it goes on to
      // report the status as an error of its own right after this signal.
      endedHere = statusFailure(reply.get(), name);
      QMetaObject::invokeMethod(reply.get(), &QNetworkReply::abort, Qt::QueuedConnection);
    } else if (target && promisedLength() && !target->accepts(*promisedLength()))
      endWith(target->error());
  });
  if (target)
    connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
      const QByteArray data = reply->readAll();
      if (hasSuccessStatus(reply.get()) && !target->write(data))
        endWith(target->error());
    });
  qint64 received = 0;
  connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64 count, qint64) {
    received = count;
    endOnStop();
    if (showStatus_ && endedHere.isEmpty())
      onProgress(count);
  });
  TransferPace pace(minimumRate_, rateWindowMs_);
  QElapsedTimer running;
  running.start();
  QTimer stopPoll;
  stopPoll.setInterval(kStopPollMs);
  connect(&stopPoll, &QTimer::timeout, &loop, [&] {
    endOnStop();
    pace.record(running.elapsed(), received);
    if (const QString why = overTime(name, pace); !why.isEmpty())
      endWith(why);
  });
  stopPoll.start();
  endOnStop();
  if (!reply->isFinished())
    loop.exec();
  if (target && endedHere.isEmpty() && reply->error() == QNetworkReply::NoError &&
      hasSuccessStatus(reply.get()) && !target->write(reply->readAll()))
    endedHere = target->error();

  if (!endedHere.isEmpty())
    return fail(endedHere);
  if (const QString failure = failureOf(reply.get(), name); !failure.isEmpty())
    return fail(failure);
  if (target && !target->finish(promisedLength()))
    return fail(target->error());
  if (contentLength)
    *contentLength = promisedLength().value_or(0);
  return true;
}

QString DownloadThread::failureOf(const QNetworkReply* reply, const QString& name) const {
  if (reply->error() == QNetworkReply::OperationCanceledError)
    return QString("%1: nothing arrived for %2.").arg(name, secondsText(stallTimeoutMs_));
  if (reply->error() != QNetworkReply::NoError)
    return name + ": " + printable(reply->errorString());
  if (!hasSuccessStatus(reply))
    return statusFailure(reply, name);
  return {};
}

QString DownloadThread::overTime(const QString& name, const TransferPace& pace) const {
  if (runDeadline_.hasExpired())
    return deadlineText(name, runDeadlineMs_);
  if (pace.tooSlow())
    return QString("%1: less than %2 bytes per second arrived over %3.")
        .arg(name)
        .arg(minimumRate_)
        .arg(secondsText(rateWindowMs_));
  return {};
}

bool DownloadThread::fail(const QString& error) {
  failed_ = true;
  if (!errors_.contains(error))
    errors_.append(error);
  return false;
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
