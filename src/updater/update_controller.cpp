#include "updater/update_controller.h"

#include "platform/detached_process.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>

namespace zr {
namespace {

constexpr int kRecheckIntervalMs = 3600000;

// Gives the owner write access to every folder below root (and root itself),
// so that nothing inside stays undeletable.
void makeFoldersWritable(const QString& root) {
  const auto writable = QFile::WriteOwner | QFile::ReadOwner | QFile::ExeOwner;
  QFile::setPermissions(root, QFile::permissions(root) | writable);
  QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString folder = it.next();
    QFile::setPermissions(folder, QFile::permissions(folder) | writable);
  }
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
  updater_.check(true);
}

QString UpdateController::downloadFolder() const {
  return programFolder_ + "Updates";
}

bool UpdateController::deleteLeftoverUpdates(const QString& programFolder) {
  QDir folder(programFolder + "Updates");
  if (!folder.exists())
    return true;
  makeFoldersWritable(folder.path());
  return folder.removeRecursively();
}

void UpdateController::recheckUpdatesTimerFired() {
  recheckUpdatesTimer_.stop();
  checkAtStartup();
}

void UpdateController::onCheckError(bool statusWinShown) {
  if (statusWinShown)
    inform("An error was encountered while checking for updates.  Please try again later.");
  else
    recheckUpdatesTimer_.start();
}

void UpdateController::onUpdateNotAvailable(bool statusWinShown) {
  if (statusWinShown)
    inform("There are no updates available at this time.");
}

void UpdateController::onUpdateAvailable() {
  if (!updater_.askToDownload())
    return;
  QDir().mkpath(downloadFolder());
  updater_.download(downloadFolder());
}

void UpdateController::onDownloadDone() {
  inform("The updates have been downloaded successfully!\r\n"
         "This application will now shut down and the update installer will run.");
  startDetachedProgram(downloadFolder() + "/ZRDorvelSetup.exe");
  shutDown_();
}

void UpdateController::onDownloadError() {
  inform("An error was encountered while downloading updates.  Please try again later.");
}

void UpdateController::inform(const QString& text) {
  QMessageBox::information(window_, QGuiApplication::applicationDisplayName(), text);
}

} // namespace zr
