#include "cli/HarvestRun.h"

#include <cstdio>

#include "platform/Files.h"

namespace pictarix::cli {

HarvestRun::HarvestRun(const CliArguments& args,
                       std::function<void(int index, TListEntry& entry)> sink)
    : Host(false, args.Verbose), Harvester(Host) {
  Harvester.KeepIconsWithoutTile = args.All;
  Harvester.EntrySink = std::move(sink);
  for (const std::string& path : args.Paths) {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(path), error)) {
      Host.EndProgress();
      Complain(path + ": No such file or directory");
      AllRead = false;
      continue;
    }
    Host.BeginArgument(path);
    if (IsDirectory(path)) {
      Harvester.HarvestDirectory(path);
    } else {
      Harvester.HarvestFile(path);
    }
  }
  AllRead = AllRead && !Host.ArgumentFailed();

  Host.EndProgress();
  std::string summary = std::to_string(Harvester.FileCount) + " files, " +
                        std::to_string(Host.EntryCount()) + " icons";
  if (Host.UnreadableCount() > 0)
    summary += ", " + std::to_string(Host.UnreadableCount()) + " unreadable";
  std::fprintf(stderr, "%s\n", summary.c_str());
}

}  // namespace pictarix::cli
