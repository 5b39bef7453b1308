// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zr {

// The largest wave file the program plays.
inline constexpr std::size_t kMaxWaveFileSize = std::size_t{32} * 1024 * 1024;

// Why the bytes are not a wave file the sound output plays; empty when they are
// one: "RIFF", a RIFF length within the file and "WAVE", then chunks walked by
// their stated lengths (as the player walks them, without pad bytes) up to a "fmt "
// chunk of 16 or 18 bytes that describes uncompressed PCM (format 1) of 1 or 2
// channels, a rate above 0 and 8 or 16 bits a sample, followed by a "data" chunk
// that is not empty, lies within the file and holds whole frames.
std::string waveProblem(std::string_view content);

// The content of a wave file that is safe to hand to the sound output: read as a
// data file (a regular file only, opened without blocking, at most
// kMaxWaveFileSize) and passing waveProblem. Throws zr::Error naming the path
// and the reason otherwise, a missing file included.
std::string readPlayableWave(const std::string& path);

} // namespace zr
