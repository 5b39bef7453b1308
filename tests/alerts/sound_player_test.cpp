// SPDX-License-Identifier: MIT

#include "platform/canberra_sound_player.h"
#include "support/warning_catcher.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Writes a short 8 kHz mono 16-bit tone as a RIFF wave file.
void writeToneWave(const QString& path) {
  constexpr int kRate = 8000;
  constexpr int kSamples = 800;
  QByteArray samples;
  QDataStream stream(&samples, QIODevice::WriteOnly);
  stream.setByteOrder(QDataStream::LittleEndian);
  for (int i = 0; i < kSamples; ++i)
    stream << static_cast<qint16>(8000 * std::sin(i / 5.0));

  QByteArray file;
  QDataStream out(&file, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("RIFF", 4);
  out << static_cast<quint32>(36 + samples.size());
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << quint32(kRate) << quint32(kRate * 2)
      << quint16(2) << quint16(16);
  out.writeRawData("data", 4);
  out << static_cast<quint32>(samples.size());
  out.writeRawData(samples.constData(), static_cast<int>(samples.size()));

  QFile wave(path);
  ASSERT_TRUE(wave.open(QIODevice::WriteOnly));
  wave.write(file);
}

void writeText(const QString& path, const QByteArray& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

// Points ALSA at a configuration of our own for the life of the object. ALSA
// reloads its configuration when this variable changes, so a test can choose
// between "no device at all" and "a default device that swallows the sound".
class AlsaConfiguration {
public:
  AlsaConfiguration(const QTemporaryDir& dir, const QByteArray& text)
      : previous_(qgetenv("ALSA_CONFIG_PATH")),
        hadPrevious_(qEnvironmentVariableIsSet("ALSA_CONFIG_PATH")) {
    const QString path = dir.filePath("asound-%1.conf").arg(qHash(text));
    writeText(path, text);
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(path));
  }
  ~AlsaConfiguration() {
    if (hadPrevious_)
      qputenv("ALSA_CONFIG_PATH", previous_);
    else
      qunsetenv("ALSA_CONFIG_PATH");
  }

private:
  QByteArray previous_;
  bool hadPrevious_;
};

const QByteArray kNoDevice = "";
const QByteArray kNullDevice = "pcm.!default { type null }\n";

class SoundPlayerTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    wave_ = dir_.filePath("tone.wav");
    writeToneWave(wave_);
  }

  std::unique_ptr<zr::CanberraSoundPlayer> makePlayer() {
    return std::make_unique<zr::CanberraSoundPlayer>([this] { ++beeps_; });
  }

  QTemporaryDir dir_;
  QString wave_;
  int beeps_ = 0;
};

TEST_F(SoundPlayerTest, FileThatCannotBePlayedBeepsAtOnce) {
  writeText(dir_.filePath("text.wav"), "this is not a wave file\n");
  struct Case {
    const char* what;
    QString file;
    QByteArray alsa;
  };
  const Case cases[] = {
      {"missing file, working device", dir_.filePath("missing.wav"), kNullDevice},
      {"text named .wav, working device", dir_.filePath("text.wav"), kNullDevice},
      {"valid wave, no device", wave_, kNoDevice},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AlsaConfiguration alsa(dir_, c.alsa);
    beeps_ = 0;
    zr::test::WarningCatcher warnings;
    auto player = makePlayer();
    QSignalSpy finished(player.get(), &zr::CanberraSoundPlayer::finished);
    player->play(QFile::encodeName(c.file).toStdString());
    EXPECT_EQ(beeps_, 1);
    if (c.alsa == kNullDevice) {
      // A playable sound after it: once its end is in, anything the failed one
      // had set going would have come in as well.
      player->play(QFile::encodeName(wave_).toStdString());
      ASSERT_TRUE(finished.wait(5000));
      ASSERT_EQ(finished.count(), 1);
      EXPECT_TRUE(finished.at(0).at(0).toBool());
    } else {
      // Without a device nothing plays at all; only what is already queued can come.
      QCoreApplication::processEvents();
      EXPECT_EQ(finished.count(), 0);
    }
    EXPECT_EQ(beeps_, 1);
    const QStringList lines = warnings.take("zrdorvel.sound");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(c.file)) << lines[0].toStdString();
  }
}

TEST_F(SoundPlayerTest, PlayableFileDoesNotBeepAndReportsItsEndOnTheMainThread) {
  AlsaConfiguration alsa(dir_, kNullDevice);
  auto player = makePlayer();
  QThread* endThread = nullptr;
  QObject::connect(player.get(), &zr::CanberraSoundPlayer::finished, player.get(),
                   [&endThread] { endThread = QThread::currentThread(); });
  QSignalSpy finished(player.get(), &zr::CanberraSoundPlayer::finished);

  player->play(QFile::encodeName(wave_).toStdString());
  ASSERT_TRUE(finished.wait(5000));
  EXPECT_TRUE(finished.at(0).at(0).toBool());
  EXPECT_EQ(endThread, QCoreApplication::instance()->thread());
  EXPECT_EQ(beeps_, 0);
}

TEST_F(SoundPlayerTest, PlayerDestroyedWhileSoundsPlayStaysQuiet) {
  AlsaConfiguration alsa(dir_, kNullDevice);
  auto player = makePlayer();
  for (int i = 0; i < 3; ++i)
    player->play(QFile::encodeName(wave_).toStdString());
  // Destruction waits for every playback thread, so all they will ever send is
  // queued by now.
  player.reset();
  QCoreApplication::processEvents();
  EXPECT_EQ(beeps_, 0);
}

} // namespace
