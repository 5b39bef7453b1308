// SPDX-License-Identifier: MIT

#include "platform/canberra_sound_player.h"

#include "platform/logging.h"

#include <QApplication>
#include <canberra.h>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

namespace {

// libcanberra unloads its output driver module when a context is destroyed, even
// while a playback thread of that driver is still on its way out; that thread then
// runs into unmapped code. The driver modules loaded so far (they live in a
// "libcanberra-<version>" folder) are therefore marked to stay in memory for good.
void keepDriverModulesLoaded() {
  std::vector<std::string> modules;
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* found) {
        const std::string_view name = info->dlpi_name != nullptr ? info->dlpi_name : "";
        const auto folder = name.find("/libcanberra-");
        if (folder != std::string_view::npos &&
            name.find('/', folder + 1) != std::string_view::npos)
          static_cast<std::vector<std::string>*>(found)->emplace_back(name);
        return 0;
      },
      &modules);
  for (const std::string& module : modules)
    dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace

CanberraSoundPlayer::CanberraSoundPlayer(QObject* parent)
    : CanberraSoundPlayer(&QApplication::beep, parent) {}

CanberraSoundPlayer::CanberraSoundPlayer(Beep beep, QObject* parent)
    : QObject(parent), beep_(std::move(beep)) {
  if (ca_context_create(&context_) != CA_SUCCESS) {
    context_ = nullptr;
    return;
  }
  ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "ZR Dorvel", nullptr);
}

CanberraSoundPlayer::~CanberraSoundPlayer() {
  if (context_ != nullptr)
    ca_context_destroy(context_);
}

void CanberraSoundPlayer::play(const std::string& path) {
  if (context_ == nullptr) {
    beepInstead(path, "no sound context");
    return;
  }
  ca_proplist* properties = nullptr;
  if (const int result = ca_proplist_create(&properties); result != CA_SUCCESS) {
    beepInstead(path, ca_strerror(result));
    return;
  }
  ca_proplist_sets(properties, CA_PROP_MEDIA_FILENAME, path.c_str());
  const int result = ca_context_play_full(context_, nextId_++, properties, &onPlayEnded, this);
  ca_proplist_destroy(properties);
  if (result != CA_SUCCESS) {
    beepInstead(path, ca_strerror(result));
    return;
  }
  if (!driverKeptLoaded_) {
    keepDriverModulesLoaded();
    driverKeptLoaded_ = true;
  }
}

// Runs on a libcanberra thread, or inside ca_context_destroy. The player is still
// whole then: its destructor destroys the context first, and that waits until every
// playback thread has made its last call here. The result is handed to the
// player's thread; a player destroyed before it arrives drops it with its events.
void CanberraSoundPlayer::onPlayEnded(ca_context*, std::uint32_t, int error, void* userdata) {
  auto* player = static_cast<CanberraSoundPlayer*>(userdata);
  QMetaObject::invokeMethod(
      player, [player, error] { player->handleEnd(error); }, Qt::QueuedConnection);
}

void CanberraSoundPlayer::handleEnd(int error) {
  if (error == CA_ERROR_CANCELED || error == CA_ERROR_DESTROYED)
    return;
  const bool played = error == CA_SUCCESS;
  if (!played)
    beepInstead({}, ca_strerror(error));
  emit finished(played);
}

void CanberraSoundPlayer::beepInstead(const std::string& path, const char* reason) {
  qCWarning(lcSound, "Could not play the sound %s (%s); beeping instead",
            path.empty() ? "that had started" : path.c_str(), reason);
  beep_();
}

} // namespace zr
