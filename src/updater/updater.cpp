#include "updater/updater.h"

#include "core/update_info.h"
#include "updater/ask_to_download_dialog.h"
#include "updater/document_name.h"
#include "updater/download_thread.h"

namespace zr {
namespace {

QStringList toStringList(const std::vector<std::string>& lines) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines)
    list.append(QString::fromLocal8Bit(line));
  return list;
}

} // namespace

Updater::Updater(QObject* parent) : QObject(parent) {}

Updater::~Updater() {
  for (DownloadThread* thread : findChildren<DownloadThread*>(Qt::FindDirectChildrenOnly)) {
    thread->disconnect(this);
    delete thread;
  }
}

void Updater::check(bool statusWinShown) {
  updateVer_.clear();
  notes_.clear();
  files_.clear();

  auto* thread = new DownloadThread(this);
  thread->setShowStatus(statusWinShown);
  thread->setStatusCaption("Checking for updates...");
  thread->addItem(updateInfoUrl_, QString(), false);
  connect(thread, &DownloadThread::completed, this, &Updater::checkThreadTerminate);
  thread->start();
}

void Updater::checkThreadTerminate(DownloadThread* thread) {
  thread->deleteLater();
  const bool statusWinShown = thread->showStatus();
  if (thread->failed()) {
    emit checkError(statusWinShown);
    return;
  }
  const QByteArray text = thread->attachedData(0);
  const UpdateInfo info = readUpdateInfo(std::string_view(text.constData(), text.size()));
  updateVer_ = QString::fromLocal8Bit(info.version);
  files_ = toStringList(info.files);
  notes_ = toStringList(info.notes);
  emit checkDone(statusWinShown);
  if (isUpdateOnOffer(currentVer_.toLocal8Bit().toStdString(), info.version))
    emit updateAvailable(statusWinShown);
  else
    emit updateNotAvailable(statusWinShown);
}

bool Updater::askToDownload() {
  AskToDownloadDialog dialog;
  dialog.setYourVersion(currentVer_);
  dialog.setUpdateVersion(updateVer_);
  dialog.setNotes(notes_);
  dialog.setHomePage(homePageUrl_);
  return dialog.exec() == QDialog::Accepted;
}

void Updater::download(const QString& folder) {
  auto* thread = new DownloadThread(this);
  thread->setShowStatus(true);
  thread->setStatusCaption("Getting Updates...");
  for (const QString& address : std::as_const(files_))
    thread->addItem(address, folder + u'/' + documentName(address), true);
  connect(thread, &DownloadThread::completed, this, &Updater::downloadThreadTerminate);
  thread->start();
}

void Updater::downloadThreadTerminate(DownloadThread* thread) {
  thread->deleteLater();
  if (thread->failed())
    emit downloadError();
  else
    emit downloadDone();
}

} // namespace zr
