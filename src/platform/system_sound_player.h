// SPDX-License-Identifier: MIT

#pragma once

// The sound player of the system the program is built for.
#ifdef _WIN32
#include "platform/windows/windows_sound_player.h"
namespace zr {
using SystemSoundPlayer = WindowsSoundPlayer;
}
#else
#include "platform/canberra_sound_player.h"
namespace zr {
using SystemSoundPlayer = CanberraSoundPlayer;
}
#endif
