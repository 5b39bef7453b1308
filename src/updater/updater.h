// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <optional>

namespace zr {

class DownloadThread;

// One file of the update on offer.
struct OfferedFile {
  QString address;
  QString name;      // the name of the downloaded copy
  QByteArray sha256; // 64 hex digits; empty when none was published
};

// How long the transfers of an update may take. A check must end within its
// deadline; a download must receive at least the minimum rate on average over
// every window of the given length; any transfer fails after the stall time-out
// without a byte.
struct TransferLimits {
  int stallTimeoutMs = 60000;
  int checkDeadlineMs = 60000;
  qint64 minimumDownloadRate = 1024; // bytes per second
  int rateWindowMs = 60000;
};

// What a successful check found on offer.
struct Offer {
  QString version;
  QStringList notes;
  QList<OfferedFile> files;
  bool verified = false; // the server published digests: every file must match one
};

// Looks for a newer version of the program: fetches the update information
// file in the background, reads the version on offer, the files to download and
// the release notes, and reports the outcome through its signals. A file that
// is not a well-formed offer (see readUpdateOffer) fails the check; a new
// version without files is no update. It also asks the user whether to download
// ("Update Available") and downloads the files of the offer the user accepted
// into a folder. An update is one road: while a check, its dialog or a download
// is in progress, no other check starts. Everything here runs on the UI thread.
class Updater : public QObject {
  Q_OBJECT

public:
  explicit Updater(QObject* parent = nullptr);
  // Stops the runs still in progress; their outcome is not reported.
  ~Updater() override;

  QString currentVer() const { return currentVer_; }
  void setCurrentVer(const QString& version) { currentVer_ = version; }
  QString homePageUrl() const { return homePageUrl_; }
  void setHomePageUrl(const QString& address) { homePageUrl_ = address; }
  QString updateInfoUrl() const { return updateInfoUrl_; }
  void setUpdateInfoUrl(const QString& address) { updateInfoUrl_ = address; }
  void setTransferLimits(const TransferLimits& limits) { limits_ = limits; }

  // What the last successful check read; empty until then and during a check.
  const Offer& offer() const { return offer_; }
  // A check, its "Update Available" dialog or a download is in progress.
  bool busy() const;

  // What keeps the updater busy; None when it is not.
  enum class Busy { None, Checking, Asking, Downloading };
  Busy busyWith() const;

  // Starts a check and returns true, or returns false when busy. statusWinShown
  // shows the status window (with Cancel) and is handed on to the check's
  // signals; a check the user asks for while a silent one runs makes that one
  // report to the user.
  bool check(bool statusWinShown);
  // Shows the "Update Available" dialog of the last check's offer modally and
  // returns that offer as it was when the dialog opened, when the user chose
  // "Download Updates".
  std::optional<Offer> askToDownload();
  // Starts downloading every file of the offer into folder (which must exist),
  // with the status window shown, and returns at once. An offer without files,
  // or a verified one with a file that has no digest, fails the download
  // without a transfer. When a download fails, its files are removed at once.
  void download(const Offer& offer, const QString& folder);

signals:
  void checkDone(bool statusWinShown);
  void checkError(bool statusWinShown, const QString& reason);
  void downloadDone();
  void downloadError(const QString& reason);
  void updateAvailable(bool statusWinShown);
  void updateNotAvailable(bool statusWinShown);

private:
  void checkThreadTerminate(DownloadThread* thread);
  void downloadThreadTerminate(DownloadThread* thread, const QStringList& targets);
  void failDownloadLater(const QString& reason);

  QString currentVer_;
  QString homePageUrl_;
  QString updateInfoUrl_;
  TransferLimits limits_;
  Offer offer_;
  QPointer<DownloadThread> checkThread_;
  bool reportCheckToUser_ = false;
  bool dialogOpen_ = false;
  QPointer<DownloadThread> downloadThread_;
};

} // namespace zr
