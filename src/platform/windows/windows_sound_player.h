// SPDX-License-Identifier: MIT

#pragma once

#include "platform/sound_player.h"

#include <QObject>
#include <QThreadPool>
#include <functional>

namespace zr {

// Plays wave files with PlaySound, asynchronously (SND_ASYNC | SND_FILENAME |
// SND_NODEFAULT). The file is checked and handed to PlaySound on a worker thread of
// the player's own, so a path on a slow or missing network share, a device or a pipe
// never holds up the user-interface thread; a new sound ends the one before.
class WindowsSoundPlayer final : public QObject, public SoundPlayer {
  Q_OBJECT

public:
  // The fallback sound for a file that cannot be played; the system's beep by default.
  using Beep = std::function<void()>;

  explicit WindowsSoundPlayer(QObject* parent = nullptr);
  explicit WindowsSoundPlayer(Beep beep, QObject* parent = nullptr);
  ~WindowsSoundPlayer() override;

  WindowsSoundPlayer(const WindowsSoundPlayer&) = delete;
  WindowsSoundPlayer& operator=(const WindowsSoundPlayer&) = delete;

  void play(const std::string& path) override;

signals:
  // The file has been handed to PlaySound (played true) or refused, and the beep given
  // in its place (played false).
  void started(bool played);

private:
  void report(bool played, const QString& path, const QString& reason);

  Beep beep_;
  QThreadPool worker_;
};

} // namespace zr
