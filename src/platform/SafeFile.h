#pragma once
// Replacing an output file without ever leaving a half-written file under its name.
#include <cstdint>
#include <filesystem>
#include <span>

namespace pictarix {

// Writes `bytes` as the whole content of `target`. A symbolic link is resolved to its real file;
// the new content goes to a temporary file beside it with the old file's mode, is flushed to
// disk and renamed over the target. When the folder does not allow a new file, the target is
// truncated and written in place. Failures raise EFCreateError with
// "Cannot create file "<path>". <reason>"; a failed write leaves no temporary file behind.
void ReplaceFileContents(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

}  // namespace pictarix
