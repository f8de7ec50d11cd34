#pragma once
// The roles of a cursor theme: each Windows role, the file names cursor packs usually give it,
// and the names an X desktop looks it up by; and the matching of a scheme folder's files to
// roles.
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "formats/inf/CursorSchemeInf.h"

namespace pictarix {

struct CursorRole {
  std::string_view Name;                         // the Windows registry name: "Arrow"
  std::string_view Description;                  // "normal select"
  std::span<const std::string_view> UsualFiles;  // file names without extension, lower case
  std::span<const std::string_view> XNames;      // the first is the file, the rest links to it
};

inline constexpr std::size_t kCursorRoleCount = kSchemeRoles.size();

// Every role, in the Windows order of roles (that of kSchemeRoles).
std::span<const CursorRole, kCursorRoleCount> CursorRoles();

// Per role (in CursorRoles order), the name of its file in the folder; empty when none.
using RoleFiles = std::array<std::string, kCursorRoleCount>;

// Roles matched by file name alone (a folder without an .inf): a cursor file (.cur or .ani)
// whose name without extension is the role's Windows name or one of its usual file names,
// compared without regard to ASCII case. Windows names are matched first (every role), then the
// usual names in order; among files of the same name, the first in byte order. A file serves
// one role at most.
RoleFiles MatchRolesByFileName(std::span<const std::string> folderFiles);

// The files an .inf's scheme names, as they are spelled in the folder (Windows finds files
// without regard to case); a role whose file is not in the folder gets none.
RoleFiles MatchRolesFromScheme(const CursorSchemeInf& scheme,
                               std::span<const std::string> folderFiles);

}  // namespace pictarix
