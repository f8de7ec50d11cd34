#pragma once
// Which file an output path really names, following symbolic links only where following them
// cannot be used by another user to redirect the write.
#include <filesystem>

namespace pictarix {

// The absolute path of the file `target` names, every symbolic link on the way replaced by what
// it points to. A link is followed as the kernel's protected-symlinks rule follows it: in a
// folder that is sticky and writable by everyone (a shared temporary folder), only a link that
// belongs to the user running or to the folder's owner. Any other link, or more than 40 links,
// raises FCreateError with "Cannot create file "<target>". <reason>"; nothing is created then.
// The file itself need not exist.
std::filesystem::path ResolveOutputPath(const std::filesystem::path& target);

}  // namespace pictarix
