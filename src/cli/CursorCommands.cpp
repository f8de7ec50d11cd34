// xcursor and theme: cursors out to X desktops, as Xcursor files and whole cursor themes.
#include <set>
#include <string>

#include "cli/Commands.h"
#include "cli/HarvestRun.h"
#include "cli/Output.h"
#include "os/Errors.h"
#include "os/EscapedText.h"
#include "os/Files.h"
#include "os/SafeFileName.h"
#include "output/CursorRoles.h"
#include "output/CursorSchemeTheme.h"
#include "output/ExportImages.h"
#include "output/XcursorFile.h"
#include "output/XcursorLibrary.h"

namespace pictarix::cli {

namespace {

// The caption as a file name of its own in the output folder: "-2", "-3", ... on repeats.
std::string UniqueName(const std::string& caption, std::set<std::string>& used) {
  std::string name = SafeFileName(caption, "");
  for (int repeat = 2; used.contains(name); ++repeat) {
    name = SafeFileName(caption, "-" + std::to_string(repeat));
  }
  used.insert(name);
  return name;
}

// One line naming the roles left without a cursor.
std::string MissingRolesText(const CursorThemeWritten& written) {
  std::string text = EscapeControlChars(written.Folder.string()) + ": no cursor for";
  const char* separator = " ";
  for (const std::size_t role : written.MissingRoles) {
    text += separator + std::string(CursorRoles()[role].Name);
    separator = ", ";
  }
  return text;
}

}  // namespace

int RunXcursor(const CliArguments& args) {
  if (!IsDirectory(args.Output)) {
    Complain(args.Output + ": not an existing directory");
    return 1;
  }
  LoadXcursorLibrary();  // before the harvest: without it nothing can be written
  HarvestRun run(args);
  bool ok = run.AllRead;
  ExportSelection selection;
  selection.Entries = args.Entries;
  selection.Names = args.Names;
  std::set<std::string> used;
  int cursors = 0;
  const auto& entries = run.Harvest.Entries;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ListEntry& entry = entries[i];
    if (!selection.SelectsEntry(static_cast<int>(i), entry.Caption)) continue;
    if (entry.Icon->Kind == EntryKind::Icon) continue;
    ++cursors;
    const std::filesystem::path target =
        std::filesystem::path(args.Output) / UniqueName(entry.Caption, used);
    try {
      SaveXcursorFile(*entry.Icon, target);
      WriteOutput(EscapeControlChars(target.string()) + "\n");
    } catch (const PictarixError& e) {
      Complain("entry " + std::to_string(i) + ": " + e.what());
      ok = false;
    }
  }
  if (cursors == 0) {
    Complain("no cursor entry selected; nothing written");
    return 1;
  }
  return ok ? 0 : 1;
}

int RunTheme(const CliArguments& args) {
  if (!IsDirectory(args.Output)) {
    Complain(args.Output + ": not an existing directory");
    return 1;
  }
  LoadXcursorLibrary();
  const std::string& folder = args.Paths.front();
  const CursorThemeResult result = WriteCursorThemeFromScheme(
      folder, args.Output, args.Names.empty() ? std::string() : args.Names.front());
  for (const std::string& problem : result.Problems) Complain(EscapeControlChars(problem));
  if (result.Written.Folder.empty()) {
    Complain(folder + ": no cursor file for any role; no theme written");
    return 1;
  }
  WriteOutput(EscapeControlChars(result.Written.Folder.string()) + "\n");
  const auto& missing = result.Written.MissingRoles;
  if (!missing.empty()) Complain(MissingRolesText(result.Written));
  // Without Arrow the theme has no default pointer.
  const bool hasArrow = missing.empty() || missing.front() != 0;
  return hasArrow && result.Problems.empty() ? 0 : 1;
}

}  // namespace pictarix::cli
