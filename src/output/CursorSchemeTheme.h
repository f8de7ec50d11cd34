#pragma once
// Cursor themes made from cursors: a Windows cursor scheme's folder (its cursor files and, when
// it has one, its .inf), or entries of the list named like a scheme's files. Each role's cursor
// is written as an Xcursor file (output/XcursorFile.h) into a theme (output/CursorTheme.h).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "output/CursorTheme.h"
#include "output/EntrySelection.h"

namespace pictarix {

struct CursorThemeResult {
  CursorThemeWritten Written;
  std::string Name;  // the theme's name as given or found
  // Role cursors that could not be read or converted (their roles are then missing), in plain
  // words naming the file or the entry's caption.
  std::vector<std::string> Problems;
};

// Writes the theme `name` into outputFolder from the selected entries, each role taking the entry
// whose caption is the role's Windows name or one of its usual file names (MatchRolesByFileName, as
// if each caption were a file "<caption>.cur"). Errors of writing raise FCreateError.
CursorThemeResult WriteCursorThemeFromEntries(const EntrySelection& cursors,
                                              const std::filesystem::path& outputFolder,
                                              std::string_view name, std::string_view comment);

// Writes the theme of the scheme in `schemeFolder` (its own files only, no subfolders) into
// outputFolder. Roles come from the first .inf (in byte order) whose scheme names a file of the
// folder (MatchRolesFromScheme), else from the file names (MatchRolesByFileName). The name is
// `name` when given, else the scheme's, else the folder's. Each role's file is read by its content
// (a cursor, animated cursor or icon file). FOpenError when the
// folder cannot be listed; errors of writing raise FCreateError; nothing is written when no role
// has a file (Written.Folder stays empty).
CursorThemeResult WriteCursorThemeFromScheme(const std::filesystem::path& schemeFolder,
                                             const std::filesystem::path& outputFolder,
                                             std::string name);

}  // namespace pictarix
