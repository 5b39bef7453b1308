#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace zr {

class DownloadThread;

// Looks for a newer version of the program: fetches the update information
// file in the background, reads the version on offer, the files to download and
// the release notes, and reports the outcome through its signals. It also asks
// the user whether to download ("Update Available") and downloads the listed
// files into a folder. Everything here runs on the UI thread; every check and
// every download is its own transfer run, and runs do not wait for each other.
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

  // What the last successful check read; empty until then and during a check.
  QString updateVer() const { return updateVer_; }
  QStringList notes() const { return notes_; }
  QStringList files() const { return files_; }

  // Starts a check and returns at once. statusWinShown shows the status window
  // (with Cancel) and is handed on to the check's signals.
  void check(bool statusWinShown);
  // Shows the "Update Available" dialog modally; true when the user chose
  // "Download Updates".
  bool askToDownload();
  // Starts downloading every listed file into folder (which must exist), with
  // the status window shown, and returns at once.
  void download(const QString& folder);

signals:
  void checkDone(bool statusWinShown);
  void checkError(bool statusWinShown);
  void downloadDone();
  void downloadError();
  void updateAvailable(bool statusWinShown);
  void updateNotAvailable(bool statusWinShown);

private:
  void checkThreadTerminate(DownloadThread* thread);
  void downloadThreadTerminate(DownloadThread* thread);

  QString currentVer_;
  QString homePageUrl_;
  QString updateInfoUrl_;
  QString updateVer_;
  QStringList notes_;
  QStringList files_;
};

} // namespace zr
