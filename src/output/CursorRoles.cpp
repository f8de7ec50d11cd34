#include "output/CursorRoles.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "os/AsciiCase.h"

namespace pictarix {

namespace {

constexpr std::string_view kArrowFiles[] = {"pointer", "arrow", "normal", "normal select"};
constexpr std::string_view kArrowX[] = {"left_ptr", "default", "arrow", "top_left_arrow"};
constexpr std::string_view kHelpFiles[] = {"help", "helpsel", "help select"};
constexpr std::string_view kHelpX[] = {"question_arrow", "help", "whats_this", "left_ptr_help"};
constexpr std::string_view kWorkFiles[] = {"working", "work", "background",
                                           "working in background"};
constexpr std::string_view kWorkX[] = {"left_ptr_watch", "progress", "half-busy"};
constexpr std::string_view kWaitFiles[] = {"busy", "wait"};
constexpr std::string_view kWaitX[] = {"watch", "wait"};
constexpr std::string_view kCrossFiles[] = {"precision", "cross", "crosshair", "precision select"};
constexpr std::string_view kCrossX[] = {"crosshair", "cross", "tcross"};
constexpr std::string_view kTextFiles[] = {"text", "beam", "ibeam", "text select"};
constexpr std::string_view kTextX[] = {"xterm", "text", "ibeam"};
constexpr std::string_view kPenFiles[] = {"handwriting", "pen"};
constexpr std::string_view kPenX[] = {"pencil"};
constexpr std::string_view kNoFiles[] = {"unavailable", "unavail", "no"};
constexpr std::string_view kNoX[] = {"circle", "not-allowed", "no-drop", "forbidden",
                                     "crossed_circle"};
constexpr std::string_view kNsFiles[] = {"vert", "ns", "size_ns", "vertical resize"};
constexpr std::string_view kNsX[] = {"sb_v_double_arrow", "ns-resize",  "v_double_arrow",
                                     "size_ver",          "row-resize", "n-resize",
                                     "s-resize",          "top_side",   "bottom_side"};
constexpr std::string_view kWeFiles[] = {"horz", "ew", "size_we", "horizontal resize"};
constexpr std::string_view kWeX[] = {"sb_h_double_arrow", "ew-resize",  "h_double_arrow",
                                     "size_hor",          "col-resize", "e-resize",
                                     "w-resize",          "left_side",  "right_side"};
constexpr std::string_view kNwseFiles[] = {"dgn1", "nwse", "size_nwse", "diagonal resize 1"};
constexpr std::string_view kNwseX[] = {"bd_double_arrow",    "nwse-resize", "size_fdiag",
                                       "nw-resize",          "se-resize",   "top_left_corner",
                                       "bottom_right_corner"};
constexpr std::string_view kNeswFiles[] = {"dgn2", "nesw", "size_nesw", "diagonal resize 2"};
constexpr std::string_view kNeswX[] = {"fd_double_arrow",   "nesw-resize", "size_bdiag",
                                       "ne-resize",         "sw-resize",   "top_right_corner",
                                       "bottom_left_corner"};
constexpr std::string_view kMoveFiles[] = {"move", "size_all"};
constexpr std::string_view kMoveX[] = {"fleur", "move", "all-scroll", "size_all"};
constexpr std::string_view kUpFiles[] = {"alternate", "up", "alternate select"};
constexpr std::string_view kUpX[] = {"sb_up_arrow", "up-arrow", "center_ptr"};
constexpr std::string_view kLinkFiles[] = {"link", "link select"};
constexpr std::string_view kLinkX[] = {"hand2", "pointer", "hand1", "pointing_hand"};
constexpr std::string_view kPinFiles[] = {"pin", "location", "location select"};
constexpr std::string_view kPinX[] = {"pin"};
constexpr std::string_view kPersonFiles[] = {"person", "person select"};
constexpr std::string_view kPersonX[] = {"person"};

// shape check: data table
constexpr std::array<CursorRole, kCursorRoleCount> kRoles = {{
    {"Arrow", "normal select", kArrowFiles, kArrowX},
    {"Help", "help select", kHelpFiles, kHelpX},
    {"AppStarting", "working in background", kWorkFiles, kWorkX},
    {"Wait", "busy", kWaitFiles, kWaitX},
    {"Crosshair", "precision select", kCrossFiles, kCrossX},
    {"IBeam", "text select", kTextFiles, kTextX},
    {"NWPen", "handwriting", kPenFiles, kPenX},
    {"No", "unavailable", kNoFiles, kNoX},
    {"SizeNS", "vertical resize", kNsFiles, kNsX},
    {"SizeWE", "horizontal resize", kWeFiles, kWeX},
    {"SizeNWSE", "diagonal resize 1", kNwseFiles, kNwseX},
    {"SizeNESW", "diagonal resize 2", kNeswFiles, kNeswX},
    {"SizeAll", "move", kMoveFiles, kMoveX},
    {"UpArrow", "alternate select", kUpFiles, kUpX},
    {"Hand", "link select", kLinkFiles, kLinkX},
    {"Pin", "location select", kPinFiles, kPinX},
    {"Person", "person select", kPersonFiles, kPersonX},
}};

bool IsCursorFile(std::string_view name, std::string_view& stem) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = name.substr(dot);
  if (!SameIgnoringAsciiCase(extension, ".cur") && !SameIgnoringAsciiCase(extension, ".ani")) {
    return false;
  }
  stem = name.substr(0, dot);
  return true;
}

// The first file, in byte order, not taken yet whose stem is `wanted`.
std::optional<std::size_t> FindStem(std::span<const std::string> files,
                                    const std::vector<bool>& taken, std::string_view wanted) {
  std::optional<std::size_t> best;
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::string_view stem;
    if (taken[i] || !IsCursorFile(files[i], stem) || !SameIgnoringAsciiCase(stem, wanted)) {
      continue;
    }
    if (!best || files[i] < files[*best]) best = i;
  }
  return best;
}

}  // namespace

std::span<const CursorRole, kCursorRoleCount> CursorRoles() {
  return kRoles;
}

RoleFiles MatchRolesByFileName(std::span<const std::string> folderFiles) {
  RoleFiles matched;
  std::vector<bool> taken(folderFiles.size(), false);
  const auto take = [&](std::size_t role, std::string_view stem) {
    if (!matched[role].empty()) return;
    if (const auto file = FindStem(folderFiles, taken, stem)) {
      taken[*file] = true;
      matched[role] = folderFiles[*file];
    }
  };
  // Windows names first, so that a file named after a role is never taken by another role's
  // usual name.
  for (std::size_t role = 0; role < kCursorRoleCount; ++role) take(role, kRoles[role].Name);
  for (std::size_t role = 0; role < kCursorRoleCount; ++role) {
    for (std::string_view usual : kRoles[role].UsualFiles) take(role, usual);
  }
  return matched;
}

RoleFiles MatchRolesFromScheme(const CursorSchemeInf& scheme,
                               std::span<const std::string> folderFiles) {
  RoleFiles matched;
  for (std::size_t role = 0; role < kCursorRoleCount; ++role) {
    if (scheme.Files[role].empty()) continue;
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < folderFiles.size(); ++i) {
      if (!SameIgnoringAsciiCase(folderFiles[i], scheme.Files[role])) continue;
      if (!best || folderFiles[i] < folderFiles[*best]) best = i;
    }
    if (best) matched[role] = folderFiles[*best];
  }
  return matched;
}

}  // namespace pictarix
