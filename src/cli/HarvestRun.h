#pragma once
// The harvest every command begins with: the PATHs in argument order, then the summary line.
#include <functional>

#include "cli/CliArguments.h"
#include "cli/CliHost.h"
#include "harvest/Harvester.h"

namespace pictarix::cli {

// Entries are made without tiles in every command, so that all number them alike.
struct HarvestRun {
  // With `sink`, the entries go to it as they are made and Harvest.Entries stays empty. When
  // the sink's output cannot be written, the harvest stops and OutputFailed is thrown.
  explicit HarvestRun(const CliArguments& args,
                      std::function<void(int index, ListEntry& entry)> sink = {});

  CliHost Host;
  Harvester Harvest;
  // False when a PATH did not exist or could not be read (the others still went on).
  bool AllRead = true;
};

}  // namespace pictarix::cli
