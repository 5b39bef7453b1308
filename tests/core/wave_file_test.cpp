// SPDX-License-Identifier: MIT

#include "core/error.h"
#include "core/wave_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zr {
namespace {

std::string littleEndian(std::uint32_t value, int bytes) {
  std::string text;
  for (int i = 0; i < bytes; ++i)
    text += static_cast<char>((value >> (8 * i)) & 0xFF);
  return text;
}

std::string chunk(const std::string& id, const std::string& content) {
  return id + littleEndian(static_cast<std::uint32_t>(content.size()), 4) + content;
}

std::string format(std::uint32_t code, std::uint32_t channels, std::uint32_t rate,
                   std::uint32_t bits) {
  const std::uint32_t frame = channels * bits / 8;
  return littleEndian(code, 2) + littleEndian(channels, 2) + littleEndian(rate, 4) +
         littleEndian(rate * frame, 4) + littleEndian(frame, 2) + littleEndian(bits, 2);
}

std::string riff(const std::string& chunks) {
  return "RIFF" + littleEndian(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks;
}

const std::string kPcm16 = format(1, 1, 8000, 16);
const std::string kSamples(800, '\x10');

TEST(WaveProblem, TakesOnlyWhatTheSoundOutputPlays) {
  const struct {
    const char* label;
    std::string content;
    const char* problem;
  } cases[] = {
      {"16-bit mono", riff(chunk("fmt ", kPcm16) + chunk("data", kSamples)), ""},
      {"8-bit stereo", riff(chunk("fmt ", format(1, 2, 44100, 8)) + chunk("data", kSamples)), ""},
      {"format with its extension size",
       riff(chunk("fmt ", kPcm16 + std::string(2, '\0')) + chunk("data", kSamples)), ""},
      {"other chunks between, bytes after",
       riff(chunk("JUNK", "1234") + chunk("fmt ", kPcm16) + chunk("LIST", "INFO") +
            chunk("data", kSamples)) +
           "trailing",
       ""},
      {"text", "this is not a wave file", "it does not start with a RIFF WAVE header"},
      {"empty", "", "it does not start with a RIFF WAVE header"},
      {"cut after the header", riff("").substr(0, 12), "it has no format chunk"},
      {"RIFF length past the end",
       "RIFF" + littleEndian(1000000000, 4) + "WAVE" + chunk("fmt ", kPcm16) +
           chunk("data", kSamples),
       "its RIFF length runs past its end"},
      {"no data", riff(chunk("fmt ", kPcm16)), "it has no sound data"},
      {"data before format", riff(chunk("data", kSamples) + chunk("fmt ", kPcm16)),
       "its sound data comes before its format"},
      {"data past the end",
       riff(chunk("fmt ", kPcm16) + "data" + littleEndian(1000000, 4) + kSamples),
       "a chunk runs past its end"},
      {"padded odd chunk",
       riff(chunk("fmt ", kPcm16) + chunk("JUNK", "abc") + '\0' + chunk("data", kSamples)),
       "a chunk runs past its end"},
      {"format of 40 bytes",
       riff(chunk("fmt ", kPcm16 + std::string(24, '\0')) + chunk("data", kSamples)),
       "its format chunk is not 16 or 18 bytes long"},
      {"a-law", riff(chunk("fmt ", format(6, 1, 8000, 8)) + chunk("data", kSamples)),
       "it is not uncompressed PCM"},
      {"extensible", riff(chunk("fmt ", format(0xFFFE, 1, 8000, 16)) + chunk("data", kSamples)),
       "it is not uncompressed PCM"},
      {"3 channels", riff(chunk("fmt ", format(1, 3, 8000, 16)) + chunk("data", kSamples)),
       "it has 3 channels, not 1 or 2"},
      {"rate 0", riff(chunk("fmt ", format(1, 1, 0, 16)) + chunk("data", kSamples)),
       "its sample rate is 0"},
      {"24 bits", riff(chunk("fmt ", format(1, 1, 8000, 24)) + chunk("data", kSamples)),
       "it has 24 bits a sample, not 8 or 16"},
      {"empty data", riff(chunk("fmt ", kPcm16) + chunk("data", "")), "its sound data is empty"},
      {"half a frame", riff(chunk("fmt ", kPcm16) + chunk("data", "abc")),
       "its sound data does not end on a whole frame"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(waveProblem(c.content), c.problem) << c.label;
}

// Named pipes and devices: Linux file semantics (the Windows player checks its own way).
#ifndef _WIN32
TEST(ReadPlayableWave, ReadsOnlyARegularFileThatPasses) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("wave-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string good = riff(chunk("fmt ", kPcm16) + chunk("data", kSamples));
  std::ofstream((folder / "good.wav").string(), std::ios::binary) << good;
  std::ofstream((folder / "text.wav").string(), std::ios::binary) << "text";
  ASSERT_EQ(::mkfifo((folder / "fifo.wav").c_str(), 0600), 0);

  EXPECT_EQ(readPlayableWave((folder / "good.wav").string()), good);
  const auto refusal = [](const std::filesystem::path& path) {
    try {
      readPlayableWave(path.string());
    } catch (const Error& error) {
      return std::string(error.what());
    }
    return std::string();
  };
  EXPECT_EQ(
      refusal(folder / "text.wav"),
      (folder / "text.wav").string() +
          " is not a wave file that can be played: it does not start with a RIFF WAVE header");
  EXPECT_EQ(refusal(folder / "missing.wav"),
            "Unable to read " + (folder / "missing.wav").string() + ": File not found");
  EXPECT_TRUE(
      refusal(folder / "fifo.wav").starts_with("Unable to read " + (folder / "fifo.wav").string()));
  std::filesystem::remove_all(folder);
}

#endif
} // namespace
} // namespace zr
