#pragma once

#include "updater/updater.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

namespace zr {

// The main window's side of an update. A silent check at start speaks up only
// when an update is on offer (and is retried an hour after a failure); a check
// the user asked for always tells the outcome. When the user accepts an update
// the files go to the folder "Updates" in the program folder; after a
// successful download the setup program "ZRDorvelSetup.exe" there is started
// and the program shuts down.
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
  // holds, read-only entries included. True when no such folder remains.
  static bool deleteLeftoverUpdates(const QString& programFolder);

  Updater& updater() { return updater_; }
  const QTimer& recheckUpdatesTimer() const { return recheckUpdatesTimer_; }

private:
  void recheckUpdatesTimerFired();
  void onCheckError(bool statusWinShown);
  void onUpdateNotAvailable(bool statusWinShown);
  void onUpdateAvailable();
  void onDownloadDone();
  void onDownloadError();
  void inform(const QString& text);

  QWidget* window_;
  QString programFolder_;
  std::function<bool()> autoCheckForUpdates_;
  std::function<void()> shutDown_;
  Updater updater_;
  QTimer recheckUpdatesTimer_;
};

} // namespace zr
