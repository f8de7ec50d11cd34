#include "output/CursorSchemeTheme.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "formats/inf/CursorSchemeInf.h"
#include "formats/inf/InfText.h"
#include "harvest/FileRead.h"
#include "os/AsciiCase.h"
#include "os/Errors.h"
#include "os/Files.h"
#include "os/Stream.h"
#include "output/CursorRoles.h"
#include "output/XcursorFile.h"

namespace pictarix {

namespace {

// Finds the cursor of a role's file name (nullptr: none), recording why when it has none.
using CursorOfFile = std::function<const AdvancedIcon*(const std::string& file)>;

CursorThemeResult WriteRoles(const RoleFiles& files, const std::filesystem::path& outputFolder,
                             std::string name, std::string_view comment,
                             const CursorOfFile& cursorOf,
                             const std::function<std::string(const std::string&)>& label) {
  CursorThemeResult result;
  result.Name = std::move(name);
  result.Written =
      WriteCursorTheme(outputFolder, result.Name, comment,
                       [&](std::size_t role, const std::filesystem::path& target) {
                         if (files[role].empty()) return false;
                         const AdvancedIcon* cursor = cursorOf(files[role]);
                         if (cursor == nullptr) return false;
                         try {
                           SaveXcursorFile(*cursor, target);
                         } catch (const FormatError& e) {
                           result.Problems.push_back(label(files[role]) + ": " + e.what());
                           return false;
                         }
                         return true;
                       });
  return result;
}

bool AnyFile(const RoleFiles& files) {
  return std::any_of(files.begin(), files.end(), [](const auto& f) { return !f.empty(); });
}

bool HasExtension(std::string_view name, std::string_view extension) {
  return name.size() > extension.size() &&
         SameIgnoringAsciiCase(name.substr(name.size() - extension.size()), extension);
}

// The start of an .inf (more is never read); nothing when it cannot be read.
std::optional<InfText> ReadInf(int folder, const std::string& name) {
  OpenedFile opened = OpenInFolder(folder, name);
  if (opened.Error != 0 || opened.Handle.Kind != FileKind::Regular) return std::nullopt;
  try {
    FileStream stream(std::move(opened.Handle));
    std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(stream.Size(), kMaxInfBytes));
    bytes.resize(stream.Read(bytes));
    return ReadInfText(bytes);
  } catch (const PictarixError&) {
    return std::nullopt;
  }
}

// The roles' files: from the first .inf naming a file of the folder, else by file name.
RoleFiles MatchRoles(int folder, const std::vector<std::string>& names, std::string& schemeName) {
  for (const std::string& name : names) {
    if (!HasExtension(name, ".inf")) continue;
    const std::optional<InfText> inf = ReadInf(folder, name);
    if (!inf) continue;
    const CursorSchemeInf scheme = ReadCursorScheme(*inf);
    RoleFiles files = MatchRolesFromScheme(scheme, names);
    if (AnyFile(files)) {
      schemeName = scheme.Name;
      return files;
    }
  }
  return MatchRolesByFileName(names);
}

std::string FolderName(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::path normal = std::filesystem::absolute(folder, error).lexically_normal();
  if (normal.filename().empty()) normal = normal.parent_path();
  const std::string name = normal.filename().string();
  return name.empty() ? "cursors" : name;
}

// The cursor of a scheme's file (the first the file holds), or nullptr with the reason in
// `problems`.
std::unique_ptr<AdvancedIcon> ReadSchemeCursor(int folder, const std::string& file,
                                               std::vector<std::string>& problems) {
  ReadOptions options;
  options.KeepIconsWithoutTile = true;
  options.Cursors = true;
  options.CursorFiles = true;
  FileRead read = ReadFile(file, OpenInFolder(folder, file), options);
  for (FileFinding& finding : read.Findings) {
    if (finding.Icon) return std::move(finding.Icon);
    problems.push_back(file + ": " + finding.Problem);
  }
  if (read.Findings.empty()) problems.push_back(file + ": no cursor in it");
  return nullptr;
}

}  // namespace

CursorThemeResult WriteCursorThemeFromEntries(const EntrySelection& cursors,
                                              const std::filesystem::path& outputFolder,
                                              std::string_view name, std::string_view comment) {
  std::vector<std::string> names;
  std::map<std::string, const AdvancedIcon*> byName;
  for (const SelectedEntry& cursor : cursors) {
    names.push_back(cursor.Entry->Caption + ".cur");
    byName.emplace(names.back(), cursor.Entry->Icon.get());  // the first of a caption
  }
  const RoleFiles files = MatchRolesByFileName(names);
  return WriteRoles(
      files, outputFolder, std::string(name), comment,
      [&byName](const std::string& file) { return byName.at(file); },
      [](const std::string& file) { return file.substr(0, file.size() - 4); });
}

CursorThemeResult WriteCursorThemeFromScheme(const std::filesystem::path& schemeFolder,
                                             const std::filesystem::path& outputFolder,
                                             std::string name) {
  OpenedFile opened = OpenForReading(schemeFolder);
  if (opened.Error != 0 || opened.Handle.Kind != FileKind::Directory) {
    throw FOpenError("Cannot open folder \"" + schemeFolder.string() + "\". " +
                     SystemErrorText(opened.Error != 0 ? opened.Error : ENOTDIR));
  }
  FolderReader folder(std::move(opened.Handle));
  std::vector<DirectoryEntry> entries;
  if (const int error = folder.List(entries); error != 0) {
    throw FOpenError("Cannot list folder \"" + schemeFolder.string() + "\". " +
                     SystemErrorText(error));
  }
  std::vector<std::string> names;
  for (DirectoryEntry& entry : entries) {
    if (entry.Kind != FileKind::Directory) names.push_back(std::move(entry.Name));
  }
  std::string schemeName;
  const RoleFiles files = MatchRoles(folder.Descriptor(), names, schemeName);
  if (name.empty()) name = !schemeName.empty() ? schemeName : FolderName(schemeFolder);
  if (!AnyFile(files)) return CursorThemeResult{{}, std::move(name), {}};

  std::map<std::string, std::unique_ptr<AdvancedIcon>> read;  // each file read once
  std::vector<std::string> problems;
  const auto cursorOf = [&](const std::string& file) -> const AdvancedIcon* {
    if (!read.contains(file)) read[file] = ReadSchemeCursor(folder.Descriptor(), file, problems);
    return read[file].get();
  };
  const std::string comment = "Cursors of the Windows scheme \"" + name + "\"";
  CursorThemeResult result = WriteRoles(files, outputFolder, std::move(name), comment, cursorOf,
                                        [](const std::string& file) { return file; });
  result.Problems.insert(result.Problems.begin(), problems.begin(), problems.end());
  return result;
}

}  // namespace pictarix
