// SPDX-License-Identifier: MIT

#include "updater/update_controller.h"

#include "platform/detached_process.h"
#include "updater/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>

namespace zr {
namespace {

constexpr int kRecheckIntervalMs = 3600000;

// Removes a file; a read-only one (which Windows refuses to delete) is made writable
// first.
bool removeFile(const QFileInfo& entry) {
  if (QFile::remove(entry.filePath()))
    return true;
  return !entry.isSymLink() &&
         QFile::setPermissions(entry.filePath(), entry.permissions() | QFile::WriteOwner) &&
         QFile::remove(entry.filePath());
}

// Deletes a folder with everything in it. Symbolic links are removed
// themselves and never followed, and permissions change only on real folders and
// files inside, so nothing outside the folder is touched.
bool removeFolderTree(const QString& folder) {
  QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ReadOwner | QFile::WriteOwner |
                                    QFile::ExeOwner);
  bool removed = true;
  const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                           QDir::Hidden | QDir::System);
  for (const QFileInfo& entry : entries) {
    if (entry.isDir() && !entry.isSymLink())
      removed = removeFolderTree(entry.filePath()) && removed;
    else
      removed = removeFile(entry) && removed;
  }
  return QDir().rmdir(folder) && removed;
}

} // namespace

UpdateController::UpdateController(QWidget* window, const QString& programFolder,
                                   const QString& updateInfoUrl, const QString& homePageUrl,
                                   std::function<bool()> autoCheckForUpdates,
                                   std::function<void()> shutDown)
    : window_(window), programFolder_(programFolder),
      autoCheckForUpdates_(std::move(autoCheckForUpdates)), shutDown_(std::move(shutDown)) {
  updater_.setUpdateInfoUrl(updateInfoUrl);
  updater_.setHomePageUrl(homePageUrl);
  recheckUpdatesTimer_.setInterval(kRecheckIntervalMs);
  connect(&recheckUpdatesTimer_, &QTimer::timeout, this,
          &UpdateController::recheckUpdatesTimerFired);
  connect(&updater_, &Updater::checkError, this, &UpdateController::onCheckError);
  connect(&updater_, &Updater::updateNotAvailable, this, &UpdateController::onUpdateNotAvailable);
  connect(&updater_, &Updater::updateAvailable, this, &UpdateController::onUpdateAvailable);
  connect(&updater_, &Updater::downloadDone, this, &UpdateController::onDownloadDone);
  connect(&updater_, &Updater::downloadError, this, &UpdateController::onDownloadError);
}

void UpdateController::checkAtStartup() {
  if (autoCheckForUpdates_())
    updater_.check(false);
}

void UpdateController::checkInteractively() {
  const Updater::Busy busy = updater_.busyWith();
  if (updater_.check(true))
    return;
  // Refused: a silent check in progress now reports its end to the user as well.
  // Under the open "Update Available" dialog the user already sees the outcome.
  if (busy == Updater::Busy::Checking)
    tell(QMessageBox::Information, "A check for updates is already running.");
  else if (busy == Updater::Busy::Downloading)
    tell(QMessageBox::Information, "An update is being downloaded.");
}

QString UpdateController::downloadFolder() const {
  return programFolder_ + "Updates";
}

bool UpdateController::deleteLeftoverUpdates(const QString& programFolder) {
  const QString path = programFolder + "Updates";
  const QFileInfo entry(path);
  if (!entry.isSymLink() && !entry.exists())
    return true;
  const bool removed = entry.isSymLink() ? QFile::remove(path)
                       : entry.isDir()   ? removeFolderTree(path)
                                         : false;
  if (!removed)
    qCWarning(lcUpdater).noquote()
        << "The leftover download folder" << path << "could not be deleted.";
  return removed;
}

void UpdateController::recheckUpdatesTimerFired() {
  recheckUpdatesTimer_.stop();
  checkAtStartup();
}

void UpdateController::onCheckError(bool statusWinShown, const QString& reason) {
  if (statusWinShown) {
    tell(QMessageBox::Information,
         "An error was encountered while checking for updates.  Please try again later.", reason);
  } else {
    qCWarning(lcUpdater).noquote()
        << "The update check failed:" << QString(reason).replace('\n', "; ");
    recheckUpdatesTimer_.start();
  }
}

void UpdateController::onUpdateNotAvailable(bool statusWinShown) {
  recheckUpdatesTimer_.stop();
  if (statusWinShown)
    tell(QMessageBox::Information, "There are no updates available at this time.");
}

void UpdateController::onUpdateAvailable() {
  recheckUpdatesTimer_.stop();
  const std::optional<Offer> offer = updater_.askToDownload();
  if (!offer)
    return;
  QDir().mkpath(downloadFolder());
  updater_.download(*offer, downloadFolder());
}

void UpdateController::onDownloadDone() {
  tell(QMessageBox::Information,
       "The updates have been downloaded successfully!\r\n"
       "This application will now shut down and the update installer will run.");
  const QString setupProgram = downloadFolder() + "/ZRDorvelSetup.exe";
  if (!startDetachedProgram(setupProgram)) {
    tell(QMessageBox::Critical, "Unable to start " + setupProgram);
    return;
  }
  shutDown_();
}

void UpdateController::onDownloadError(const QString& reason) {
  tell(QMessageBox::Information,
       "An error was encountered while downloading updates.  Please try again later.", reason);
}

void UpdateController::tell(QMessageBox::Icon icon, const QString& text, const QString& reason) {
  QMessageBox box(icon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, window_);
  box.setTextFormat(Qt::PlainText);
  if (!reason.isEmpty()) {
    box.setInformativeText(reason);
    // The reason quotes the server; it must never be read as markup.
    for (QLabel* label : box.findChildren<QLabel*>())
      if (label->text() == reason)
        label->setTextFormat(Qt::PlainText);
  }
  box.exec();
}

} // namespace zr
