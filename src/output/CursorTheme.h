#pragma once
// Writing an Xcursor theme's folder: index.theme, and in cursors/ one file per role and links
// for the role's other X names. The cursor files themselves are made by the caller.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "output/CursorRoles.h"

namespace pictarix {

// Writes the Xcursor file of role `role` (an index in CursorRoles()) as the file `target`,
// through the safe replace; answers false when the role has no cursor (nothing written).
// Errors raise PictarixError.
using WriteRoleCursor = std::function<bool(std::size_t role, const std::filesystem::path& target)>;

struct CursorThemeWritten {
  std::filesystem::path Folder;           // outputFolder / the theme's folder name
  std::vector<std::size_t> MissingRoles;  // roles with no cursor, in CursorRoles order
};

// Writes the theme `name` into outputFolder/<name as a safe file name>: cursors/<first X name>
// of each role through `writeRole`, a relative link to it for each other X name of the role
// (replacing what had the name), and index.theme ([Icon Theme], Name=, Comment=), written last.
// Folders are made as needed. Raises FCreateError (or the callback's error) on the first
// failure; what was written before stays.
CursorThemeWritten WriteCursorTheme(const std::filesystem::path& outputFolder,
                                    std::string_view name, std::string_view comment,
                                    const WriteRoleCursor& writeRole);

// The text of index.theme: control characters of the name and comment become spaces, so each
// stays one line.
std::string IndexThemeText(std::string_view name, std::string_view comment);

}  // namespace pictarix
