// SPDX-License-Identifier: MIT

#pragma once

#include "updater/download_thread.h"

#include <QList>
#include <QTest>
#include <memory>

namespace zr::test {

constexpr int kRunTimeoutMs = 15000;

// One transfer run with the statuses its window was shown.
class TransferRun {
public:
  explicit TransferRun(bool showStatus = false) : thread_(std::make_unique<DownloadThread>()) {
    thread_->setShowStatus(showStatus);
    thread_->setStatusCaption("Getting Updates...");
    QObject::connect(thread_.get(), &DownloadThread::statusChanged,
                     [this](const TransferStatus& status) { statuses_.append(status); });
    QObject::connect(thread_.get(), &DownloadThread::completed, [this] { completed_ = true; });
  }

  DownloadThread& thread() { return *thread_; }
  const QList<TransferStatus>& statuses() const { return statuses_; }

  // Runs to the end; false when it did not end in time.
  bool runToEnd(int timeoutMs = kRunTimeoutMs) {
    thread_->start();
    return waitForEnd(timeoutMs);
  }
  bool waitForEnd(int timeoutMs = kRunTimeoutMs) {
    return QTest::qWaitFor([this] { return completed_; }, timeoutMs);
  }
  void destroy() { thread_.reset(); }

private:
  std::unique_ptr<DownloadThread> thread_;
  QList<TransferStatus> statuses_;
  bool completed_ = false;
};

} // namespace zr::test
