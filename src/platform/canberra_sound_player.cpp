// SPDX-License-Identifier: MIT

#include "platform/canberra_sound_player.h"

#include "core/error.h"
#include "core/wave_file.h"
#include "platform/logging.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <canberra.h>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <mutex>
#include <string_view>
#include <thread>
#include <unistd.h>
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

// libcanberra 0.30 leaves the file it opened open when it then refuses it. Only
// the program's own copy is ever handed to it, so the descriptors that lead to
// that copy are its leftovers.
void closeDescriptorsOf(const std::string& path) {
  std::vector<int> leftovers;
  if (DIR* folder = ::opendir("/proc/self/fd")) {
    while (const dirent* entry = ::readdir(folder)) {
      const std::string link = std::string("/proc/self/fd/") + entry->d_name;
      char target[4096];
      const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
      if (length > 0 && std::string_view(target, static_cast<std::size_t>(length)) == path)
        leftovers.push_back(std::atoi(entry->d_name));
    }
    ::closedir(folder);
  }
  for (const int descriptor : leftovers)
    ::close(descriptor);
}

// Writes the checked sound to a new file of its own in the folder; empty on failure.
std::string writeCopy(const QString& folder, std::uint32_t id, const std::string& content) {
  const std::string path =
      QFile::encodeName(folder + "/sound-" + QString::number(id) + ".wav").toStdString();
  const int descriptor =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (descriptor < 0)
    return {};
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t count = ::write(descriptor, content.data() + written, content.size() - written);
    if (count < 0 && errno == EINTR)
      continue;
    if (count <= 0)
      break;
    written += static_cast<std::size_t>(count);
  }
  ::close(descriptor);
  if (written == content.size())
    return path;
  ::unlink(path.c_str());
  return {};
}

} // namespace

// The libcanberra context with what its callbacks and the reading threads need. The
// player owns one share; every reading thread holds another while it runs, so the
// context lives on until the last of them ends.
struct CanberraPlayback {
  ~CanberraPlayback() {
    // Waits for every playback thread; their last callbacks find no player.
    if (context != nullptr)
      ca_context_destroy(context);
  }

  // Runs on a reading thread: reads and checks the sound, and starts a copy of it
  // unless the player gave up waiting. Gives the failure's text, or empty.
  std::string start(std::uint32_t id, const std::string& path);

  // Hands a step to the player, on the player's thread, while there is one. A
  // step still queued when the player is destroyed is dropped with its events.
  void tellPlayer(std::function<void(CanberraSoundPlayer&)> step) {
    const std::lock_guard lock(mutex);
    if (player != nullptr)
      QMetaObject::invokeMethod(
          player, [step = std::move(step), target = player] { step(*target); },
          Qt::QueuedConnection);
  }

  static void onPlayEnded(ca_context* context, std::uint32_t id, int error, void* userdata);

  ca_context* context = nullptr;
  std::once_flag driverKeptLoaded;
  std::mutex mutex;
  CanberraSoundPlayer* player = nullptr; // guarded by mutex
  std::set<std::uint32_t> abandoned;     // guarded by mutex
};

std::string CanberraPlayback::start(std::uint32_t id, const std::string& path) {
  std::string content;
  try {
    content = readPlayableWave(path);
  } catch (const Error& error) {
    return error.what();
  }
  {
    const std::lock_guard lock(mutex);
    if (abandoned.erase(id) > 0)
      return {};
  }
  if (context == nullptr)
    return "no sound context";
  // The copy gets a folder of its own that goes with it once the output has it open,
  // so no empty folder stays behind in the temporary folder.
  QTemporaryDir folder{QDir::tempPath() + "/zrdorvel-sound-XXXXXX"};
  if (!folder.isValid())
    return "no folder for its copy: " + folder.errorString().toStdString();
  const std::string copy = writeCopy(folder.path(), id, content);
  if (copy.empty())
    return "its copy cannot be written to " + QFile::encodeName(folder.path()).toStdString();

  ca_proplist* properties = nullptr;
  int result = ca_proplist_create(&properties);
  if (result == CA_SUCCESS) {
    ca_proplist_sets(properties, CA_PROP_MEDIA_FILENAME, copy.c_str());
    result = ca_context_play_full(context, id, properties, &onPlayEnded, this);
    ca_proplist_destroy(properties);
  }
  if (result != CA_SUCCESS)
    closeDescriptorsOf(copy);
  // A sound that plays keeps its open copy; the name is no longer needed.
  ::unlink(copy.c_str());
  if (result != CA_SUCCESS)
    return ca_strerror(result);
  std::call_once(driverKeptLoaded, keepDriverModulesLoaded);
  return {};
}

// Runs on a libcanberra thread, or inside ca_context_destroy.
void CanberraPlayback::onPlayEnded(ca_context*, std::uint32_t, int error, void* userdata) {
  auto* playback = static_cast<CanberraPlayback*>(userdata);
  playback->tellPlayer([error](CanberraSoundPlayer& player) { player.handleEnd(error); });
}

CanberraSoundPlayer::CanberraSoundPlayer(QObject* parent)
    : CanberraSoundPlayer(&QApplication::beep, parent) {}

CanberraSoundPlayer::CanberraSoundPlayer(Beep beep, QObject* parent)
    : QObject(parent), playback_(std::make_shared<CanberraPlayback>()), beep_(std::move(beep)) {
  playback_->player = this;
  if (ca_context_create(&playback_->context) != CA_SUCCESS) {
    playback_->context = nullptr;
    return;
  }
  ca_context_change_props(playback_->context, CA_PROP_APPLICATION_NAME, "ZR Dorvel", nullptr);
}

CanberraSoundPlayer::~CanberraSoundPlayer() {
  const std::lock_guard lock(playback_->mutex);
  playback_->player = nullptr;
}

void CanberraSoundPlayer::play(const std::string& path) {
  const std::uint32_t id = nextId_++;
  starting_.insert(id);
  std::thread([playback = playback_, id, path] {
    const std::string failure = playback->start(id, path);
    playback->tellPlayer([id, path, failure](CanberraSoundPlayer& player) {
      player.handleStart(id, path, failure);
    });
  }).detach();
  QTimer::singleShot(startTimeoutMs_, this, [this, id, path] {
    if (starting_.erase(id) == 0)
      return;
    {
      const std::lock_guard lock(playback_->mutex);
      playback_->abandoned.insert(id);
    }
    beepInstead(path, "it did not start within " + std::to_string(startTimeoutMs_) + " ms");
  });
}

void CanberraSoundPlayer::handleStart(std::uint32_t id, const std::string& path,
                                      const std::string& failure) {
  if (starting_.erase(id) == 0)
    return;
  if (!failure.empty())
    beepInstead(path, failure);
}

void CanberraSoundPlayer::handleEnd(int error) {
  if (error == CA_ERROR_CANCELED || error == CA_ERROR_DESTROYED)
    return;
  const bool played = error == CA_SUCCESS;
  if (!played)
    beepInstead({}, ca_strerror(error));
  emit finished(played);
}

void CanberraSoundPlayer::beepInstead(const std::string& path, const std::string& reason) {
  qCWarning(lcSound, "Could not play the sound %s (%s); beeping instead",
            path.empty() ? "that had started" : path.c_str(), reason.c_str());
  beep_();
  emit beeped();
}

} // namespace zr
