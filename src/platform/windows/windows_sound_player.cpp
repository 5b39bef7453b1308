// SPDX-License-Identifier: MIT

#include "platform/windows/windows_sound_player.h"

#include "platform/logging.h"
#include "platform/stored_text.h"

#include <QPointer>
#include <windows.h> // with <mmsystem.h>: PlaySoundW

namespace zr {
namespace {

// Why the file cannot be played, or an empty text when it is a file on a disk.
QString refusalOf(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return QStringLiteral("it cannot be opened (error %1)").arg(::GetLastError());
  const DWORD type = ::GetFileType(file);
  ::CloseHandle(file);
  if (type != FILE_TYPE_DISK)
    return QStringLiteral("it is not a file on a disk");
  return {};
}

} // namespace

WindowsSoundPlayer::WindowsSoundPlayer(QObject* parent)
    : WindowsSoundPlayer([] { ::MessageBeep(MB_OK); }, parent) {}

WindowsSoundPlayer::WindowsSoundPlayer(Beep beep, QObject* parent)
    : QObject(parent), beep_(std::move(beep)) {
  worker_.setMaxThreadCount(1);
}

WindowsSoundPlayer::~WindowsSoundPlayer() {
  worker_.clear();
  worker_.waitForDone();
  ::PlaySoundW(nullptr, nullptr, 0);
}

void WindowsSoundPlayer::play(const std::string& path) {
  const QString file = fromNativePath(path);
  if (file.isEmpty()) {
    report(false, file, QStringLiteral("no file is given"));
    return;
  }
  const QPointer<WindowsSoundPlayer> self(this);
  worker_.start([self, file] {
    const std::wstring widePath = file.toStdWString();
    QString reason = refusalOf(widePath);
    if (reason.isEmpty() &&
        !::PlaySoundW(widePath.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT))
      reason = QStringLiteral("PlaySound cannot play it");
    QMetaObject::invokeMethod(
        self,
        [self, file, reason] {
          if (self)
            self->report(reason.isEmpty(), file, reason);
        },
        Qt::QueuedConnection);
  });
}

void WindowsSoundPlayer::report(bool played, const QString& path, const QString& reason) {
  if (!played) {
    qCWarning(lcSound).noquote() << "Cannot play the sound" << path << "-" << reason
                                 << "; beeping instead";
    beep_();
  }
  emit started(played);
}

} // namespace zr
