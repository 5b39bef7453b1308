// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zr {

// A save writes "<file>.zrdorvel-save-XXXXXX" beside the file and renames it over the
// file; a save that was killed leaves it behind.
constexpr std::string_view kSaveMark = ".zrdorvel-save-";
constexpr std::size_t kSaveSuffixLength = 6;

// Whether `name` is a temporary save of the file called `fileName`: the file's name,
// the save mark and six letters or digits.
bool isLeftoverSaveName(std::string_view name, std::string_view fileName);

// A size limit as the error texts give it, in whole MiB.
std::string sizeText(std::size_t bytes);

} // namespace zr
