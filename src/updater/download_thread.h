#pragma once

#include "updater/status_window.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <memory>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

namespace zr {

// Transfers a list of files over HTTP on its own thread: first a HEAD request
// per item to scale the progress bar, then a GET per item into memory or into a
// new file. Any failure, and a stop, sets failed(). With showStatus the
// "Status" window follows the run and its Cancel stops it; every display step
// runs on the UI thread while the transfer waits for it. Redirects are not
// followed and count as failures. Emits completed() on the UI thread once the
// body has ended; the object is then never started again.
class DownloadThread : public QThread {
  Q_OBJECT

public:
  explicit DownloadThread(QObject* parent = nullptr);
  // Stops a run in progress at once and waits for its thread.
  ~DownloadThread() override;

  // Before start() only. An empty target path receives the body into memory;
  // without freeAfterTransfer that memory stays attached to the item.
  void addItem(const QString& address, const QString& targetPath, bool freeAfterTransfer);
  void setShowStatus(bool show) { showStatus_ = show; }
  bool showStatus() const { return showStatus_; }
  void setStatusCaption(const QString& caption) { statusCaption_ = caption; }

  // Asks the run to stop; the request in progress is aborted at once. Any thread.
  void requestStop();

  // After completed():
  bool failed() const { return failed_; }
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
  // Sends one request and waits for its end; a GET writes the body to sink.
  bool send(QNetworkAccessManager& client, const QString& address, QIODevice* sink,
            qint64* contentLength);
  void onProgress(qint64 count);
  // Runs a display step on the UI thread and waits for it.
  void runOnUiThread(void (DownloadThread::*step)());
  void createStatusWindow();
  void updateStatusWindow();
  void closeStatusWindow();

  QStringList items_;
  bool showStatus_ = false;
  QString statusCaption_;
  std::atomic<bool> stopRequested_ = false;

  // Written by the transfer, read by the UI thread only while the transfer
  // waits for a display step or after it has ended.
  QString fileText_;
  QString progressText_;
  qint64 progressMax_ = 1;
  qint64 progressPos_ = 0;
  qint64 lastWorkCount_ = 0;
  bool failed_ = false;
  QList<QByteArray> attachedData_;

  std::unique_ptr<StatusWindow> statusWindow_;
};

} // namespace zr
