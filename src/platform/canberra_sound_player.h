// SPDX-License-Identifier: MIT

#pragma once

#include "platform/sound_player.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace zr {

struct CanberraPlayback;

// Plays wave files through libcanberra (ALSA). Nothing that stands at a sound path
// can hold the program up or use up its file descriptors: the file is read on a
// thread of its own, only when it is a regular file (opened without blocking) that
// holds a wave file libcanberra plays (see readPlayableWave), and libcanberra is
// handed a private copy of what was read. Anything else, a file that takes longer
// than the time limit to read, or a sound the output refuses gives the beep with one
// warning line. The sound runs on libcanberra's own threads; its end is reported on
// the thread the player lives on.
class CanberraSoundPlayer final : public QObject, public SoundPlayer {
  Q_OBJECT

public:
  // The fallback sound for a file that cannot be played; the desktop's beep by default.
  using Beep = std::function<void()>;
  static constexpr int kStartTimeoutMs = 5000;

  explicit CanberraSoundPlayer(QObject* parent = nullptr);
  explicit CanberraSoundPlayer(Beep beep, QObject* parent = nullptr);
  ~CanberraSoundPlayer() override;

  CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
  CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

  // How long a sound may take from play() until it starts before the beep is given
  // in its place.
  void setStartTimeout(int milliseconds) { startTimeoutMs_ = milliseconds; }

  void play(const std::string& path) override;

signals:
  // A sound that had started has ended: played through, or stopped by an error
  // (then the beep has been given). Not emitted for a sound cut off by destruction.
  void finished(bool played);
  // A sound was refused or failed to start, and the beep was given in its place.
  void beeped();

private:
  friend struct CanberraPlayback;

  void handleStart(std::uint32_t id, const std::string& path, const std::string& failure);
  void handleEnd(int error);
  // Gives the beep in place of a sound, leaving a warning line that says why.
  void beepInstead(const std::string& path, const std::string& reason);

  // What the player shares with its reading threads and libcanberra's callbacks,
  // which may outlive it.
  std::shared_ptr<CanberraPlayback> playback_;
  std::set<std::uint32_t> starting_;
  Beep beep_;
  int startTimeoutMs_ = kStartTimeoutMs;
  std::uint32_t nextId_ = 1;
};

} // namespace zr
