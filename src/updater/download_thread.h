// SPDX-License-Identifier: MIT

#pragma once

#include "updater/status_window.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

namespace zr {

class DownloadTarget;
class TransferPace;

// One transfer of a run.
struct TransferItem {
  QString address;
  QString targetPath;            // empty: the body is received into memory
  bool freeAfterTransfer = true; // false keeps a body received into memory
  QByteArray sha256;             // 64 hex digits the file must match; empty: not checked
};

// Transfers a list of files over HTTP on its own thread: first a HEAD request
// per item to scale the progress bar, then a GET per item into memory or into
// a file (see DownloadTarget for what a file must pass to appear). Any
// failure, and a stop, sets failed() and adds an error text. A request ends at
// the headers of an answer whose status is not 2xx, and fails when it receives
// nothing for the stall time-out, when the run passes its deadline, or when it
// falls under the minimum average rate. With showStatus the "Status"
// window follows the run and its Cancel stops it; every display step runs on
// the UI thread while the transfer waits for it. Redirects are not followed
// and count as failures; proxies come from the environment (ProxyFactory).
// Emits completed() on the UI thread once the body has ended; the object is
// then never started again.
class DownloadThread : public QThread {
  Q_OBJECT

public:
  static constexpr int kStallTimeoutMs = 60000;

  explicit DownloadThread(QObject* parent = nullptr);
  // Stops a run in progress at once and waits for its thread.
  ~DownloadThread() override;

  // The setters only before start().
  void addItem(const TransferItem& item) { items_.append(item); }
  void setShowStatus(bool show) { showStatus_ = show; }
  bool showStatus() const { return showStatus_; }
  void setStatusCaption(const QString& caption) { statusCaption_ = caption; }
  void setStallTimeout(int milliseconds) { stallTimeoutMs_ = milliseconds; }
  // The whole run must end this long after its start; 0: no deadline.
  void setRunDeadline(int milliseconds) { runDeadlineMs_ = milliseconds; }
  // Every request must receive at least this many bytes per second on average
  // over each window of the given length; 0: no minimum.
  void setMinimumRate(qint64 bytesPerSecond, int windowMs) {
    minimumRate_ = bytesPerSecond;
    rateWindowMs_ = windowMs;
  }

  // Asks the run to stop; the request in progress is aborted at once. Any thread.
  void requestStop();

  // After completed():
  bool failed() const { return failed_; }
  // What went wrong, one line per distinct failure, in order; server text made
  // printable.
  const QStringList& errors() const { return errors_; }
  QByteArray attachedData(int item) const { return attachedData_.value(item); }

signals:
  void completed(zr::DownloadThread* thread);
  // On the UI thread, each time the status window is brought up to date.
  void statusChanged(const zr::TransferStatus& status);

protected:
  void run() override;

private:
  void sizePass(QNetworkAccessManager& client);
  void transferPass(QNetworkAccessManager& client);
  // Sends one request and waits for its end: a GET when there is a target,
  // which receives the body, a HEAD otherwise. Records any failure.
  bool send(QNetworkAccessManager& client, const QString& address, DownloadTarget* target,
            qint64* contentLength);
  // Why a finished request failed (the request for the file of that name);
  // empty when it succeeded.
  QString failureOf(const QNetworkReply* reply, const QString& name) const;
  // Why the request in progress must end now, for the run's deadline or its
  // pace; empty when it may go on.
  QString overTime(const QString& name, const TransferPace& pace) const;
  bool fail(const QString& error);
  void onProgress(qint64 count);
  // Runs a display step on the UI thread and waits for it.
  void runOnUiThread(void (DownloadThread::*step)());
  void createStatusWindow();
  void updateStatusWindow();
  void closeStatusWindow();

  QList<TransferItem> items_;
  bool showStatus_ = false;
  QString statusCaption_;
  int stallTimeoutMs_ = kStallTimeoutMs;
  int runDeadlineMs_ = 0;
  qint64 minimumRate_ = 0;
  int rateWindowMs_ = 0;
  QDeadlineTimer runDeadline_;
  std::atomic<bool> stopRequested_ = false;

  // Written by the transfer, read by the UI thread only while the transfer
  // waits for a display step or after it has ended.
  QString fileText_;
  QString progressText_;
  qint64 progressMax_ = 1;
  qint64 progressPos_ = 0;
  qint64 lastWorkCount_ = 0;
  bool failed_ = false;
  QStringList errors_;
  QList<QByteArray> attachedData_;

  std::unique_ptr<StatusWindow> statusWindow_;
};

} // namespace zr
