#pragma once
// The cursor scheme an .inf installs: the scheme's name and, per role, the name of its file.
// Cursor packs write it in one of three ways, read here in this order of trust:
//  - a registry line HKCU,"Control Panel\Cursors\Schemes",<name>,<flags>,"<file>,<file>,..."
//    listing one file per role in the Windows order of roles (an empty item: no file);
//  - registry lines HKCU,"Control Panel\Cursors",<role>,<flags>,"<file>", one per role;
//  - without either, the usual [Strings] keys of the common installer (pointer, help, work,
//    busy, ...).
// Only the last part of each path is kept: a file of the scheme is looked for in the scheme's
// own folder, never where the .inf says.
#include <array>
#include <string>
#include <string_view>

#include "formats/inf/InfText.h"

namespace pictarix {

// The roles in the order a scheme's registry value lists their files; the Windows registry
// names of the roles.
inline constexpr std::array<std::string_view, 17> kSchemeRoles = {
    "Arrow",   "Help",    "AppStarting", "Wait",   "Crosshair", "IBeam",
    "NWPen",   "No",      "SizeNS",      "SizeWE", "SizeNWSE",  "SizeNESW",
    "SizeAll", "UpArrow", "Hand",        "Pin",    "Person"};

struct CursorSchemeInf {
  std::string Name;  // the scheme's name, empty when the file gives none
  // Per role (in kSchemeRoles order), a bare file name; empty when the scheme names none.
  std::array<std::string, kSchemeRoles.size()> Files;
};

CursorSchemeInf ReadCursorScheme(const InfText& inf);

}  // namespace pictarix
