// The commands that read the harvest only: list and icl.
#include "cli/Commands.h"

#include <string>

#include "cli/HarvestRun.h"
#include "cli/JsonWriter.h"
#include "cli/Output.h"
#include "formats/IconLibrary.h"
#include "model/Animation.h"
#include "os/EscapedText.h"
#include "output/LibraryCommands.h"

namespace pictarix::cli {
namespace {

// A tab and the entry's kind (and an animated cursor's frame count), in a listing that includes
// cursors and for every cursor; nothing for an icon otherwise.
std::string KindText(const AdvancedIcon& icon, bool withKind) {
  if (!withKind && icon.Kind == EntryKind::Icon) return {};
  std::string text = std::string("\t") + KindName(icon.Kind);
  if (icon.Frames) text += ", " + std::to_string(icon.Frames->Frames.size()) + " frames";
  return text;
}

}  // namespace

int RunList(const CliArguments& args) {
  // Entries are written as the harvest makes them and then dropped.
  int written = 0;
  const auto writeEntry = [&args, &written](int index, const ListEntry& entry) {
    std::string text;
    if (args.Json) {
      text = (index == 0 ? "\n  " : ",\n  ") + JsonEntry(index, entry, args.Cursors);
    } else {
      text = std::to_string(index) + "\t" + EscapeControlChars(entry.File.string()) + "\t" +
             EscapeControlChars(entry.Caption) + "\t" + std::to_string(entry.Icon->Images.Count()) +
             " images";
      if (entry.TileImage < 0) text += ", no 32x32";
      text += KindText(*entry.Icon, args.Cursors) + "\n";
    }
    WriteOutput(text);
    ++written;
  };
  if (args.Json) WriteOutput("[");
  HarvestRun run(args, writeEntry);
  if (args.Json) WriteOutput(written == 0 ? "]\n" : "\n]\n");
  return run.AllRead ? 0 : 1;
}

int RunIcl(const CliArguments& args) {
  const std::filesystem::path target = args.Library;
  std::error_code error;
  // Refuse a target that must not be replaced before a possibly long harvest: --add needs an
  // icon library, and a file of any other kind is replaced only when asked to.
  if (std::filesystem::exists(target, error) && !IsIconLibraryFile(target)) {
    if (args.Add) {
      Complain(args.Library + ": not an icon library; left unchanged");
      return 1;
    }
    if (!args.Force) {
      Complain(args.Library + ": not an icon library; left unchanged (--force replaces it)");
      return 1;
    }
  }

  HarvestRun run(args);
  EntrySelection refused;
  try {
    const auto written =
        SaveEntriesToLibrary(SelectAllEntries(run.Harvest.Entries), target, args.Add, &refused);
    for (const SelectedEntry& picked : refused)
      Complain("entry " + std::to_string(picked.Position) + ": \"" + picked.Entry->Caption +
               "\" is " +
               (picked.Entry->Icon->Kind == EntryKind::Cursor ? "a cursor" : "an animated cursor") +
               ", not an icon; left out of the library");
    if (written == 0) {
      Complain("no icons found; no library written");
      return 1;
    }
  } catch (const std::exception& e) {
    Complain(e.what());
    return 1;
  }
  return run.AllRead && refused.empty() ? 0 : 1;
}

}  // namespace pictarix::cli
