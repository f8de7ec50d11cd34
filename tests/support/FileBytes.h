#pragma once
// Whole files of bytes for tests and seed writers. Reading is the core's own ReadWholeFile.
#include <cstdint>
#include <filesystem>
#include <span>

#include "os/Stream.h"

namespace pictarix::testing {

// Writes (replaces) the file; throws std::runtime_error when it cannot.
void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace pictarix::testing
