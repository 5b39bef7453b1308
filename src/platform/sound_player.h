// SPDX-License-Identifier: MIT

#pragma once

#include <string>

namespace zr {

// Plays a reminder's wave file.
class SoundPlayer {
public:
  virtual ~SoundPlayer() = default;

  // Starts playing the file in the background and returns at once. A file that
  // cannot be played gives the desktop's default beep instead; nothing is reported.
  // The path is the file name as the reminder stores it (bytes, passed through).
  virtual void play(const std::string& path) = 0;
};

} // namespace zr
