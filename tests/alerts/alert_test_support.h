// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"
#include "platform/sound_player.h"

#include <string>
#include <vector>

namespace zr::test {

// Remembers what it was asked to play instead of playing it.
class RecordingSoundPlayer : public SoundPlayer {
public:
  void play(const std::string& path) override { played.push_back(path); }
  std::vector<std::string> played;
};

inline Reminder makeReminder(const std::string& name, Color color,
                             std::vector<std::string> text = {"Line one", "Line two"}) {
  Reminder reminder(45000.0);
  reminder.name = name;
  reminder.color = color;
  reminder.text = std::move(text);
  return reminder;
}

} // namespace zr::test
