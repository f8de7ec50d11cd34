#include "capi/Handles.h"

#include "os/Files.h"

namespace {

// How long a wait for the next file lasts before a stop is looked for again.
constexpr std::chrono::milliseconds kWait{2};

}  // namespace

pictarix_harvest::pictarix_harvest(std::filesystem::path path, bool all, bool cursors)
    : Path(std::move(path)), Tree(pictarix::IsDirectory(Path.string())), Host(Path), Harvest(Host) {
  Harvest.KeepIconsWithoutTile = all;
  Harvest.IncludeCursors = cursors;
  Harvest.EntrySink = [this](int, pictarix::ListEntry& entry) {
    Ready.push_back(std::move(entry));
  };
}

pictarix_harvest::Step pictarix_harvest::Next() {
  for (;;) {
    if (StopAsked) {
      Harvest.RequestStop();
      Ready.clear();
      return Step::Stopped;
    }
    if (!Ready.empty()) return Step::Entry;
    if (ended_) return Host.ArgumentFailure().empty() ? Step::End : Step::Failed;
    if (!started_) {
      started_ = true;
      if (!Tree) {
        Harvest.HarvestFile(Path);
        ended_ = true;
        continue;
      }
      Harvest.Begin({{Path, true}}, true);
    }
    if (!Harvest.TakeNext(kWait)) ended_ = true;
  }
}
