// save: entry i as DIR/i.EXT, what the window's Save As writes for that format.
#include <filesystem>
#include <string>

#include "cli/Commands.h"
#include "cli/HarvestRun.h"
#include "imaging/HiResIcon.h"
#include "imaging/ImagePicture.h"
#include "os/Errors.h"
#include "os/Files.h"
#include "output/BatchSave.h"
#include "output/SaveEntry.h"

namespace pictarix::cli {

namespace {

bool UsesTile(SaveFormat format) {
  return format == SaveFormat::Bitmap || format == SaveFormat::Jpeg || format == SaveFormat::Png;
}

// Gives the entry its 32x32 tile as the window would; an image that cannot be drawn leaves it
// without one, and saving then reports it.
void MakeTile(Harvester& harvester, ListEntry& entry) {
  IconImage* image = entry.Icon->Images.Get(entry.TileImage);
  if (image == nullptr) return;
  try {
    const auto graphic = MakeGraphic(*image);
    entry.ImageIndex = harvester.LargeImgs.Add(*graphic);
  } catch (const PictarixError&) {
    entry.ImageIndex = -1;
  }
}

std::string WhyNothing(SaveFormat format) {
  return format == SaveFormat::Gif ? "no image of at most 256 colours" : "no 32x32 image";
}

std::string WhyFailed(SaveFormat format) {
  return format == SaveFormat::Gif ? "its image cannot be decoded"
                                   : "its 32x32 image cannot be decoded";
}

// Names the entry refused and what the format needs.
std::string WhyRefused(const ListEntry& entry, SaveFormat format) {
  const std::string needs = format == SaveFormat::Cursor ? "a cursor" : "an animated cursor";
  const std::string is = entry.Icon->Kind == EntryKind::Icon ? "an icon" : "a still cursor";
  return "\"" + entry.Caption + "\" is " + is + ", not " + needs;
}

}  // namespace

int RunSave(const CliArguments& args) {
  const auto format = FormatFromExt("." + args.Format);
  if (!format) {
    Complain("unknown format '" + args.Format + "'");
    return 2;
  }
  if (!IsDirectory(args.Output)) {
    Complain(args.Output + ": not an existing directory");
    return 1;
  }
  HarvestRun run(args);
  bool ok = run.AllRead;
  auto& entries = run.Harvest.Entries;
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    ListEntry& entry = entries[static_cast<std::size_t>(i)];
    if (UsesTile(*format) && entry.TileImage >= 0) MakeTile(run.Harvest, entry);
    const std::string prefix = "entry " + std::to_string(i) + ": no " + args.Format + " written, ";
    try {
      const std::filesystem::path name = BatchFileName(args.Output, i, *format);
      switch (SaveEntryPicture(entry, run.Harvest.LargeImgs, name, *format)) {
        case SaveResult::Written:
          break;
        case SaveResult::NothingToSave:
          Complain(prefix + WhyNothing(*format));
          break;
        case SaveResult::CannotDecode:
          Complain(prefix + WhyFailed(*format));
          ok = false;
          break;
        case SaveResult::WrongKind:
          Complain(prefix + WhyRefused(entry, *format));
          ok = false;
          break;
      }
    } catch (const std::exception& e) {
      Complain("entry " + std::to_string(i) + ": " + e.what());
      ok = false;
    }
    // Tiles are needed for one picture only.
    if (entry.ImageIndex >= 0) run.Harvest.LargeImgs.Clear();
    entry.ImageIndex = -1;
  }
  return ok ? 0 : 1;
}

}  // namespace pictarix::cli
