// SPDX-License-Identifier: MIT

#include "updater/updater.h"

#include "core/error.h"
#include "core/update_info.h"
#include "platform/stored_text.h"
#include "updater/ask_to_download_dialog.h"
#include "updater/download_thread.h"
#include "updater/logging.h"

#include <QFile>
#include <QUrl>

namespace zr {
namespace {

Offer toOffer(const UpdateOffer& offer) {
  Offer result;
  result.version = toShownText(offer.version);
  for (const std::string& note : offer.notes)
    result.notes.append(toShownText(note));
  for (const UpdateFile& file : offer.files)
    result.files.append({toShownText(file.address), toShownText(file.name),
                         QByteArray::fromStdString(file.sha256)});
  result.verified = offer.verified;
  return result;
}

} // namespace

Updater::Updater(QObject* parent) : QObject(parent) {}

Updater::~Updater() {
  for (DownloadThread* thread : findChildren<DownloadThread*>(Qt::FindDirectChildrenOnly)) {
    thread->disconnect(this);
    delete thread;
  }
}

bool Updater::busy() const {
  return busyWith() != Busy::None;
}

Updater::Busy Updater::busyWith() const {
  if (checkThread_)
    return Busy::Checking;
  if (dialogOpen_)
    return Busy::Asking;
  if (downloadThread_)
    return Busy::Downloading;
  return Busy::None;
}

bool Updater::check(bool statusWinShown) {
  if (busy()) {
    if (checkThread_ && statusWinShown)
      reportCheckToUser_ = true;
    return false;
  }
  offer_ = {};
  reportCheckToUser_ = false;

  auto* thread = new DownloadThread(this);
  thread->setShowStatus(statusWinShown);
  thread->setStatusCaption("Checking for updates...");
  thread->setStallTimeout(limits_.stallTimeoutMs);
  thread->setRunDeadline(limits_.checkDeadlineMs);
  thread->addItem({updateInfoUrl_, QString(), false, {}});
  connect(thread, &DownloadThread::completed, this, &Updater::checkThreadTerminate);
  checkThread_ = thread;
  thread->start();
  return true;
}

void Updater::checkThreadTerminate(DownloadThread* thread) {
  thread->deleteLater();
  checkThread_ = nullptr;
  const bool statusWinShown = thread->showStatus() || reportCheckToUser_;
  if (thread->failed()) {
    emit checkError(statusWinShown, thread->errors().join('\n'));
    return;
  }
  const QByteArray body = thread->attachedData(0);
  const bool overHttps = QUrl(updateInfoUrl_).scheme() == "https";
  try {
    offer_ = toOffer(readUpdateOffer(std::string_view(body.constData(), body.size()), overHttps));
  } catch (const Error& error) {
    emit checkError(statusWinShown, toShownText(error.what()));
    return;
  }
  emit checkDone(statusWinShown);
  if (!isUpdateOnOffer(toStoredText(currentVer_), offer_.version.toStdString())) {
    emit updateNotAvailable(statusWinShown);
  } else if (offer_.files.isEmpty()) {
    qCWarning(lcUpdater).noquote()
        << "Version" << offer_.version << "is on offer without files, so it is not offered.";
    emit updateNotAvailable(statusWinShown);
  } else {
    emit updateAvailable(statusWinShown);
  }
}

std::optional<Offer> Updater::askToDownload() {
  const Offer offer = offer_;
  AskToDownloadDialog dialog;
  dialog.setYourVersion(currentVer_);
  dialog.setUpdateVersion(offer.version);
  dialog.setNotes(offer.notes);
  dialog.setHomePage(homePageUrl_);
  dialogOpen_ = true;
  const bool accepted = dialog.exec() == QDialog::Accepted;
  dialogOpen_ = false;
  return accepted ? std::optional(offer) : std::nullopt;
}

void Updater::download(const Offer& offer, const QString& folder) {
  if (offer.files.isEmpty())
    return failDownloadLater("The update lists no files to download.");
  for (const OfferedFile& file : offer.files)
    if (offer.verified && file.sha256.isEmpty())
      return failDownloadLater(file.name + " has no SHA-256 digest.");

  auto* thread = new DownloadThread(this);
  thread->setShowStatus(true);
  thread->setStatusCaption("Getting Updates...");
  thread->setStallTimeout(limits_.stallTimeoutMs);
  thread->setMinimumRate(limits_.minimumDownloadRate, limits_.rateWindowMs);
  QStringList targets;
  for (const OfferedFile& file : offer.files) {
    targets.append(folder + u'/' + file.name);
    thread->addItem({file.address, targets.last(), true, file.sha256});
  }
  connect(thread, &DownloadThread::completed, this,
          [this, targets](DownloadThread* ended) { downloadThreadTerminate(ended, targets); });
  downloadThread_ = thread;
  thread->start();
}

void Updater::failDownloadLater(const QString& reason) {
  QMetaObject::invokeMethod(
      this, [this, reason] { emit downloadError(reason); }, Qt::QueuedConnection);
}

void Updater::downloadThreadTerminate(DownloadThread* thread, const QStringList& targets) {
  thread->deleteLater();
  // Still busy while the outcome is told, so that no check starts under its
  // message; the handlers may end the program, and this object with it.
  const QPointer<Updater> self(this);
  if (!thread->failed()) {
    emit downloadDone();
  } else {
    // Nothing of a failed download is kept: the files that did arrive would
    // only fill the disk until the next start.
    for (const QString& target : targets)
      QFile::remove(target);
    emit downloadError(thread->errors().join('\n'));
  }
  if (self)
    downloadThread_ = nullptr;
}

} // namespace zr
