// SPDX-License-Identifier: MIT

#include "core/wave_file.h"
#include "platform/canberra_sound_player.h"
#include "support/warning_catcher.h"

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <utility>

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

// Points the temporary folder (TMPDIR) at one of the test's own for the life of the
// object, so that what the player leaves there is this run's alone.
class PrivateTemporaryFolder {
public:
  explicit PrivateTemporaryFolder(const QString& path)
      : previous_(qgetenv("TMPDIR")), hadPrevious_(qEnvironmentVariableIsSet("TMPDIR")) {
    qputenv("TMPDIR", QFile::encodeName(path));
  }
  ~PrivateTemporaryFolder() {
    if (hadPrevious_)
      qputenv("TMPDIR", previous_);
    else
      qunsetenv("TMPDIR");
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

  // A wave file made by sox, the way users make them; empty when sox is missing.
  QString soxWave(const QString& name, const QStringList& format) {
    const QString path = dir_.filePath(name);
    QProcess sox;
    sox.start("sox", QStringList{"-n"} + format + QStringList{path, "synth", "0.2", "sine", "440"});
    return sox.waitForFinished(10000) && sox.exitCode() == 0 ? path : QString();
  }

  QTemporaryDir dir_;
  QString wave_;
  int beeps_ = 0;
};

int openDescriptors() {
  return static_cast<int>(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System).size());
}

// Everything that can stand at a sound path and not be a wave file the output plays:
// each gives one beep with one warning line naming it, never blocks, and leaves no
// descriptor open however often it is met.
TEST_F(SoundPlayerTest, WhatCannotBePlayedBeepsOnceAndLeavesNoDescriptor) {
  AlsaConfiguration alsa(dir_, kNullDevice);
  writeText(dir_.filePath("text.wav"), "this is not a wave file\n");
  QFile tone(wave_);
  ASSERT_TRUE(tone.open(QIODevice::ReadOnly));
  const QByteArray good = tone.readAll();
  writeText(dir_.filePath("cut.wav"), good.left(16));
  QByteArray lying = good;
  lying[40] = '\x7f'; // the data chunk claims more than the file holds
  writeText(dir_.filePath("lying.wav"), lying);
  QByteArray padded = good.left(36) + QByteArray("JUNK\x03\0\0\0abc\0", 12) + good.mid(36);
  padded[4] = static_cast<char>(padded[4] + 12); // an odd chunk with its pad byte
  writeText(dir_.filePath("padded.wav"), padded);
  QFile huge(dir_.filePath("huge.wav"));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
  huge.write(good);
  ASSERT_TRUE(huge.resize(static_cast<qint64>(zr::kMaxWaveFileSize) + 1));
  huge.close();
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir_.filePath("fifo.wav")).constData(), 0600), 0);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.wav"));
  ASSERT_TRUE(QFile::link("/dev/zero", dir_.filePath("zero.wav")));
  ASSERT_TRUE(QFile::link(dir_.filePath("nowhere"), dir_.filePath("dangling.wav")));

  QStringList bad = {dir_.filePath("missing.wav"), dir_.filePath("text.wav"),
                     dir_.filePath("cut.wav"),     dir_.filePath("lying.wav"),
                     dir_.filePath("padded.wav"),  dir_.filePath("huge.wav"),
                     dir_.filePath("fifo.wav"),    dir_.filePath("folder.wav"),
                     dir_.filePath("zero.wav"),    dir_.filePath("dangling.wav")};
  for (const auto& [name, format] :
       {std::pair{"24bit.wav", QStringList{"-r", "8000", "-b", "24", "-c", "1"}},
        std::pair{"float.wav", QStringList{"-r", "8000", "-b", "32", "-e", "floating-point"}},
        std::pair{"alaw.wav", QStringList{"-r", "8000", "-e", "a-law", "-c", "1"}},
        std::pair{"6channels.wav", QStringList{"-r", "44100", "-b", "16", "-c", "6"}}}) {
    const QString made = soxWave(name, format);
    if (made.isEmpty())
      GTEST_SKIP() << "sox cannot make " << name;
    bad.append(made);
  }

  const QString temporary = dir_.filePath("tmp");
  ASSERT_TRUE(QDir(dir_.path()).mkdir("tmp"));
  PrivateTemporaryFolder temporaryFolder(temporary);
  auto player = makePlayer();
  QSignalSpy beeped(player.get(), &zr::CanberraSoundPlayer::beeped);
  QSignalSpy finished(player.get(), &zr::CanberraSoundPlayer::finished);
  // A playable sound first, so that the sound output is open before counting.
  player->play(QFile::encodeName(wave_).toStdString());
  ASSERT_TRUE(finished.wait(5000));
  for (const QString& file : bad) {
    SCOPED_TRACE(file.toStdString());
    zr::test::WarningCatcher warnings;
    beeps_ = 0;
    beeped.clear();
    player->play(QFile::encodeName(file).toStdString());
    ASSERT_TRUE(beeped.wait(5000));
    EXPECT_EQ(beeps_, 1);
    const QStringList lines = warnings.take("zrdorvel.sound");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(file)) << lines[0].toStdString();
  }

  const int before = openDescriptors();
  beeps_ = 0;
  for (int i = 0; i < 40; ++i)
    player->play(QFile::encodeName(bad[i % bad.size()]).toStdString());
  ASSERT_TRUE(QTest::qWaitFor([this] { return beeps_ == 40; }, 10000)) << beeps_;
  EXPECT_LE(openDescriptors(), before);
  // Once a playable sound after them has ended, anything they had set going is in.
  finished.clear();
  player->play(QFile::encodeName(wave_).toStdString());
  ASSERT_TRUE(finished.wait(5000));
  EXPECT_TRUE(finished.at(0).at(0).toBool());
  EXPECT_EQ(beeps_, 40);
  // The copies of the sounds played leave no folder behind.
  const QStringList left =
      QDir(temporary).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  EXPECT_EQ(left.join(' ').toStdString(), "");
}

TEST_F(SoundPlayerTest, ValidWaveWithoutADeviceBeeps) {
  AlsaConfiguration alsa(dir_, kNoDevice);
  zr::test::WarningCatcher warnings;
  auto player = makePlayer();
  QSignalSpy beeped(player.get(), &zr::CanberraSoundPlayer::beeped);
  QSignalSpy finished(player.get(), &zr::CanberraSoundPlayer::finished);
  player->play(QFile::encodeName(wave_).toStdString());
  ASSERT_TRUE(beeped.wait(5000));
  QCoreApplication::processEvents();
  EXPECT_EQ(beeps_, 1);
  EXPECT_EQ(finished.count(), 0);
  const QStringList lines = warnings.take("zrdorvel.sound");
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(lines[0].contains(wave_)) << lines[0].toStdString();
}

// A sound that takes longer than the time limit to read gives the beep at the limit,
// and does not start playing afterwards.
TEST_F(SoundPlayerTest, SoundThatIsSlowToStartBeepsAtTheTimeLimit) {
  AlsaConfiguration alsa(dir_, kNullDevice);
  const QString big = dir_.filePath("big.wav");
  QFile tone(wave_);
  ASSERT_TRUE(tone.open(QIODevice::ReadOnly));
  QByteArray content = tone.readAll();
  const qsizetype samples = 30 * 1024 * 1024;
  content = content.left(40) + QByteArray(4, '\0') + QByteArray(samples, '\0');
  content[40] = 0;
  content[41] = 0;
  content[42] = static_cast<char>(samples >> 16);
  content[43] = static_cast<char>(samples >> 24);
  const quint32 riff = static_cast<quint32>(content.size() - 8);
  for (int i = 0; i < 4; ++i)
    content[4 + i] = static_cast<char>(riff >> (8 * i));
  writeText(big, content);

  zr::test::WarningCatcher warnings;
  auto player = makePlayer();
  player->setStartTimeout(1);
  QSignalSpy beeped(player.get(), &zr::CanberraSoundPlayer::beeped);
  QSignalSpy finished(player.get(), &zr::CanberraSoundPlayer::finished);
  player->play(QFile::encodeName(big).toStdString());
  ASSERT_TRUE(beeped.wait(5000));
  EXPECT_FALSE(finished.wait(2000));
  EXPECT_EQ(beeps_, 1);
  const QStringList lines = warnings.take("zrdorvel.sound");
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(lines[0].contains("did not start within 1 ms")) << lines[0].toStdString();
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
