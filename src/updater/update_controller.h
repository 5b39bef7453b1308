// SPDX-License-Identifier: MIT

#pragma once

#include "updater/updater.h"

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

namespace zr {

// The main window's side of an update. A silent check at start speaks up only
// when an update is on offer (a failure leaves a warning line in the log and
// is retried an hour later); a check the user asked for always tells the
// outcome, failures with their reason. When the user accepts an update the
// files go to the folder "Updates" in the program folder; after a successful
// download the setup program "ZRDorvelSetup.exe" there is started and the
// program shuts down, unless the setup program cannot be started.
class UpdateController : public QObject {
  Q_OBJECT

public:
  // programFolder ends with a path separator. autoCheckForUpdates reads the
  // current setting; shutDown ends the program (the "Shut Down" command).
  UpdateController(QWidget* window, const QString& programFolder, const QString& updateInfoUrl,
                   const QString& homePageUrl, std::function<bool()> autoCheckForUpdates,
                   std::function<void()> shutDown);

  void setCurrentVersion(const QString& version) { updater_.setCurrentVer(version); }
  // The check at start, made only when the setting allows it.
  void checkAtStartup();
  // The "Check For Updates" command.
  void checkInteractively();

  QString downloadFolder() const;
  // Deletes a leftover "Updates" folder of the program folder with all it
  // holds, read-only entries included; when "Updates" is a symbolic link, only
  // the link. True when no such folder remains.
  static bool deleteLeftoverUpdates(const QString& programFolder);

  Updater& updater() { return updater_; }
  const QTimer& recheckUpdatesTimer() const { return recheckUpdatesTimer_; }

private:
  void recheckUpdatesTimerFired();
  void onCheckError(bool statusWinShown, const QString& reason);
  void onUpdateNotAvailable(bool statusWinShown);
  void onUpdateAvailable();
  void onDownloadDone();
  void onDownloadError(const QString& reason);
  // A message box titled like the program; the reason, when there is one,
  // goes below the text.
  void tell(QMessageBox::Icon icon, const QString& text, const QString& reason = {});

  QWidget* window_;
  QString programFolder_;
  std::function<bool()> autoCheckForUpdates_;
  std::function<void()> shutDown_;
  Updater updater_;
  QTimer recheckUpdatesTimer_;
};

} // namespace zr
