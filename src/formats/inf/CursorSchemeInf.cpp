#include "formats/inf/CursorSchemeInf.h"

#include <optional>
#include <vector>

#include "os/AsciiCase.h"

namespace pictarix {

namespace {

constexpr std::string_view kCursorsKey = "Control Panel\\Cursors";
constexpr std::string_view kSchemesKey = "Control Panel\\Cursors\\Schemes";

struct StringsKeyRole {
  std::string_view Key;
  std::size_t Role;  // index in kSchemeRoles
};

// The [Strings] keys of the common cursor installer and their roles ("hand" is its
// handwriting pen, "link" the hand). Spelling slips that packs copy from each other included.
// shape check: data table
constexpr StringsKeyRole kStringsKeys[] = {
    {"pointer", 0}, {"arrow", 0},       {"help", 1},      {"work", 2},        {"working", 2},
    {"busy", 3},    {"cross", 4},       {"precision", 4}, {"text", 5},        {"beam", 5},
    {"hand", 6},    {"handwriting", 6}, {"pen", 6},       {"unavailable", 7}, {"unavailiable", 7},
    {"unavail", 7}, {"vert", 8},        {"horz", 9},      {"dgn1", 10},       {"dgn2", 11},
    {"move", 12},   {"alternate", 13},  {"alt", 13},      {"link", 14},       {"pin", 15},
    {"person", 16}};

bool IsUserOrMachineHive(std::string_view root) {
  return SameIgnoringAsciiCase(root, "HKCU") || SameIgnoringAsciiCase(root, "HKEY_CURRENT_USER") ||
         SameIgnoringAsciiCase(root, "HKLM") || SameIgnoringAsciiCase(root, "HKEY_LOCAL_MACHINE");
}

// True when `subkey` is `key` or ends in "\" + `key` (the machine's schemes live under
// Software\Microsoft\Windows\CurrentVersion\Control Panel\Cursors\Schemes).
bool IsKey(std::string_view subkey, std::string_view key) {
  while (!subkey.empty() && subkey.back() == '\\') subkey.remove_suffix(1);
  if (subkey.size() < key.size()) return false;
  const std::string_view tail = subkey.substr(subkey.size() - key.size());
  if (!SameIgnoringAsciiCase(tail, key)) return false;
  return subkey.size() == key.size() || subkey[subkey.size() - key.size() - 1] == '\\';
}

// The last part of a path, or nothing for a part that names no file.
std::string BareFileName(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  while (!path.empty() && (path.front() == ' ' || path.front() == '\t')) path.remove_prefix(1);
  while (!path.empty() && (path.back() == ' ' || path.back() == '\t')) path.remove_suffix(1);
  if (path == "." || path == "..") return {};
  return std::string(path);
}

std::optional<std::size_t> RoleIndex(std::string_view name) {
  for (std::size_t i = 0; i < kSchemeRoles.size(); ++i) {
    if (SameIgnoringAsciiCase(kSchemeRoles[i], name)) return i;
  }
  return std::nullopt;
}

// The value of a registry line: its fifth field on, as one text (an unquoted list of files is
// split at its commas like the fields before it).
std::string RegistryValue(const InfText& inf, const InfLine& line) {
  std::string value;
  for (std::size_t i = 4; i < line.Fields.size(); ++i) {
    if (i > 4) value += ',';
    value += line.Fields[i];
  }
  return inf.Expand(value);
}

// Fills `scheme` from the registry lines of every section; answers whether any was found.
bool ReadRegistryLines(const InfText& inf, CursorSchemeInf& scheme) {
  bool schemeListRead = false;
  bool found = false;
  for (const InfSection& section : inf.Sections()) {
    for (const InfLine& line : section.Lines) {
      if (!line.Key.empty() || line.Fields.size() < 5) continue;
      if (!IsUserOrMachineHive(line.Fields[0])) continue;
      const std::string subkey = inf.Expand(line.Fields[1]);
      if (IsKey(subkey, kSchemesKey) && !schemeListRead) {
        schemeListRead = true;
        found = true;
        scheme.Name = inf.Expand(line.Fields[2]);
        const std::string list = RegistryValue(inf, line);
        std::size_t role = 0;
        for (std::size_t start = 0; start <= list.size() && role < kSchemeRoles.size(); ++role) {
          std::size_t comma = list.find(',', start);
          if (comma == std::string::npos) comma = list.size();
          std::string file = BareFileName(std::string_view(list).substr(start, comma - start));
          if (!file.empty()) scheme.Files[role] = std::move(file);
          start = comma + 1;
        }
      } else if (IsKey(subkey, kCursorsKey)) {
        const auto role = RoleIndex(inf.Expand(line.Fields[2]));
        if (!role) continue;
        found = true;
        if (scheme.Files[*role].empty())
          scheme.Files[*role] = BareFileName(RegistryValue(inf, line));
      }
    }
  }
  return found;
}

void ReadStringsKeys(const InfText& inf, CursorSchemeInf& scheme) {
  for (const StringsKeyRole& entry : kStringsKeys) {
    if (!scheme.Files[entry.Role].empty()) continue;
    const auto value = inf.FindString(entry.Key);
    if (value) scheme.Files[entry.Role] = BareFileName(inf.Expand(*value));
  }
}

}  // namespace

CursorSchemeInf ReadCursorScheme(const InfText& inf) {
  CursorSchemeInf scheme;
  if (!ReadRegistryLines(inf, scheme)) ReadStringsKeys(inf, scheme);
  if (scheme.Name.empty()) {
    if (const auto name = inf.FindString("SCHEME_NAME")) scheme.Name = inf.Expand(*name);
  }
  return scheme;
}

}  // namespace pictarix
