#pragma once
// The icon a file is known by: the first icon the window would list for it.
#include <filesystem>
#include <memory>

#include "model/AdvancedIcon.h"

namespace pictarix::thumbnailer {

// The first icon with images of a module (a PE module: its first group icon in resource
// directory order; an NE module or icon library: its first group), or the icon file itself when
// the file is no module and its name ends in ".ico", as the harvest reads files; the cursor of a
// file named ".cur" or ".ani" (an animated cursor's images are those of the frame its first step
// shows). Cursors inside modules are not read. Of a PE module
// only the groups up to that icon are read. Nothing when the file is no regular file or holds
// no icon; errors of opening and reading propagate.
std::unique_ptr<AdvancedIcon> LoadFirstIcon(const std::filesystem::path& file);

}  // namespace pictarix::thumbnailer
