// SPDX-License-Identifier: MIT

#include "core/wave_file.h"

#include "core/error.h"
#include "core/file_io.h"

#include <cerrno>
#include <cstdint>
#include <optional>

namespace zr {
namespace {

constexpr std::size_t kChunkHeaderSize = 8;
// The two lengths of a PCM format chunk: without and with its (empty) extension size.
constexpr std::size_t kFormatSize = 16;
constexpr std::size_t kExtendedFormatSize = 18;
constexpr std::uint16_t kPcmFormat = 1;

std::uint32_t readLittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = size; i > 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i - 1]);
  return value;
}

struct Chunk {
  std::string_view id;
  std::size_t start = 0; // of its content
  std::size_t size = 0;
};

// The next chunk header at `at`, when a whole one is there.
std::optional<Chunk> chunkAt(std::string_view content, std::size_t at) {
  if (content.size() < kChunkHeaderSize || at > content.size() - kChunkHeaderSize)
    return std::nullopt;
  return Chunk{content.substr(at, 4), at + kChunkHeaderSize, readLittleEndian(content, at + 4, 4)};
}

} // namespace

std::string waveProblem(std::string_view content) {
  if (content.size() < 12 || content.substr(0, 4) != "RIFF" || content.substr(8, 4) != "WAVE")
    return "it does not start with a RIFF WAVE header";
  if (readLittleEndian(content, 4, 4) > content.size() - 8)
    return "its RIFF length runs past its end";

  std::optional<Chunk> format;
  std::optional<Chunk> data;
  for (std::size_t at = 12; !data;) {
    const std::optional<Chunk> chunk = chunkAt(content, at);
    if (!chunk)
      return format ? "it has no sound data" : "it has no format chunk";
    if (chunk->size > content.size() - chunk->start)
      return "a chunk runs past its end";
    if (chunk->id == "fmt " && !format) {
      if (chunk->size != kFormatSize && chunk->size != kExtendedFormatSize)
        return "its format chunk is not 16 or 18 bytes long";
      format = chunk;
    } else if (chunk->id == "data") {
      if (!format)
        return "its sound data comes before its format";
      data = chunk;
    }
    at = chunk->start + chunk->size;
  }

  const std::size_t at = format->start;
  const std::uint32_t code = readLittleEndian(content, at, 2);
  const std::uint32_t channels = readLittleEndian(content, at + 2, 2);
  const std::uint32_t rate = readLittleEndian(content, at + 4, 4);
  const std::uint32_t bits = readLittleEndian(content, at + 14, 2);
  if (code != kPcmFormat)
    return "it is not uncompressed PCM";
  if (channels < 1 || channels > 2)
    return "it has " + std::to_string(channels) + " channels, not 1 or 2";
  if (rate == 0)
    return "its sample rate is 0";
  if (bits != 8 && bits != 16)
    return "it has " + std::to_string(bits) + " bits a sample, not 8 or 16";

  if (data->size == 0)
    return "its sound data is empty";
  if (data->size % (channels * bits / 8) != 0)
    return "its sound data does not end on a whole frame";
  return {};
}

std::string readPlayableWave(const std::string& path) {
  std::optional<std::string> content = readDataFile(path, kMaxWaveFileSize);
  if (!content)
    throw Error("Unable to read " + path + ": " + fileErrorText(ENOENT));
  if (const std::string problem = waveProblem(*content); !problem.empty())
    throw Error(path + " is not a wave file that can be played: " + problem);
  return std::move(*content);
}

} // namespace zr
