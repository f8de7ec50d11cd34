#pragma once
// Replacing an output file without ever leaving a half-written file under its name.
#include <cstdint>
#include <filesystem>
#include <span>

namespace pictarix {

// Writes `bytes` as the whole content of `target`, whose links are followed as ResolveOutputPath
// allows. The content goes into a new file beside the target, unnamed while it is written where
// the file system allows it (else a hidden named file), is flushed, takes the target's name in
// one rename, and the folder is flushed. A replaced file's owner and group (as far as the user
// running may give them) and permission bits without setuid, setgid and sticky are kept; a new
// file gets 0666 less the creation mask. The target is never truncated or written in place: when
// no new file can be made beside it, the write is refused and the target left as it was.
// Failures raise EFCreateError with "Cannot create file "<target>". <reason>" and leave no
// temporary file behind; a killed process leaves none either where the unnamed file is used.
void ReplaceFileContents(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

}  // namespace pictarix
