// SPDX-License-Identifier: MIT

#pragma once

#include "platform/sound_player.h"

#include <QObject>
#include <cstdint>
#include <functional>

struct ca_context;

namespace zr {

// Plays wave files through libcanberra (ALSA). The sound runs on libcanberra's own
// threads; its end is reported on the thread the player lives on.
class CanberraSoundPlayer final : public QObject, public SoundPlayer {
  Q_OBJECT

public:
  // The fallback sound for a file that cannot be played; the desktop's beep by default.
  using Beep = std::function<void()>;

  explicit CanberraSoundPlayer(QObject* parent = nullptr);
  explicit CanberraSoundPlayer(Beep beep, QObject* parent = nullptr);
  ~CanberraSoundPlayer() override;

  CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
  CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

  void play(const std::string& path) override;

signals:
  // A sound that had started has ended: played through, or stopped by an error
  // (then the beep has been given). Not emitted for a sound cut off by destruction.
  void finished(bool played);

private:
  static void onPlayEnded(ca_context* context, std::uint32_t id, int error, void* userdata);
  void handleEnd(int error);
  // Gives the beep in place of a sound, leaving a warning line that says why.
  void beepInstead(const std::string& path, const char* reason);

  ca_context* context_ = nullptr;
  Beep beep_;
  std::uint32_t nextId_ = 1;
  bool driverKeptLoaded_ = false;
};

} // namespace zr
