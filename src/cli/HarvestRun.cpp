#include "cli/HarvestRun.h"

#include <cstdio>

#include "cli/Output.h"
#include "os/Files.h"

namespace pictarix::cli {

HarvestRun::HarvestRun(const CliArguments& args,
                       std::function<void(int index, ListEntry& entry)> sink)
    : Host(false, args.Verbose), Harvest(Host) {
  Harvest.KeepIconsWithoutTile = args.All;
  Harvest.IncludeCursors = args.Cursors;
  if (sink) {
    // An entry that cannot be written stops the harvest at once.
    Harvest.EntrySink = [this, sink = std::move(sink)](int index, ListEntry& entry) {
      sink(index, entry);
      if (OutputHasFailed()) Harvest.StopRequested = true;
    };
  }
  for (const std::string& path : args.Paths) {
    if (Harvest.StopRequested) break;
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(path), error)) {
      Host.EndProgress();
      Complain(path + ": No such file or directory");
      AllRead = false;
      continue;
    }
    Host.BeginArgument(path);
    if (IsDirectory(path)) {
      Harvest.HarvestDirectory(path);
    } else {
      Harvest.HarvestFile(path);
    }
  }
  AllRead = AllRead && !Host.ArgumentFailed();

  Host.EndProgress();
  ThrowIfOutputFailed();
  std::string summary = std::to_string(Harvest.FileCount) + " files, " +
                        std::to_string(Host.EntryCount()) + " icons";
  if (Host.UnreadableCount() > 0)
    summary += ", " + std::to_string(Host.UnreadableCount()) + " unreadable";
  std::fprintf(stderr, "%s\n", summary.c_str());
}

}  // namespace pictarix::cli
