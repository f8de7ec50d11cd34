#pragma once
// Real icon files for window tests: one 32x32 image of 32 bits per pixel with its AND mask,
// filled with one colour.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "support/FileBytes.h"
#include "support/IconFileBuilder.h"

namespace pictarix::testing {

inline void WriteSolidIconFile(const std::filesystem::path& path, std::uint32_t rgb) {
  WriteBytes(path, TrueColourIconFile(std::vector<std::uint32_t>(32 * 32, 0xFF000000u | rgb)));
}

}  // namespace pictarix::testing
