#include "cli/Commands.h"

#include <cstdio>
#include <iostream>
#include <numeric>
#include <string>

#include "cli/CliHost.h"
#include "cli/JsonWriter.h"
#include "harvest/Harvester.h"
#include "library/IconLibrary.h"
#include "output/BatchSave.h"
#include "output/LibraryCommands.h"
#include "output/SaveEntry.h"
#include "output/SaveFormat.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/Files.h"

namespace pictarix::cli {

namespace {

// Harvests every PATH in argument order, as the window does. Answers false when a PATH does
// not exist (the others still go on).
bool HarvestPaths(THarvester& harvester, const std::vector<std::string>& paths) {
  bool allFound = true;
  for (const std::string& path : paths) {
    std::error_code error;
    const bool exists = std::filesystem::exists(std::filesystem::path(path), error);
    if (!exists) {
      std::fprintf(stderr, "pictarix-cli: %s: No such file or directory\n",
                   SanitizeUtf8(path).c_str());
      allFound = false;
      continue;
    }
    if (IsDirectory(path)) {
      harvester.HarvestDirectory(path);
    } else {
      harvester.HarvestFile(path);
    }
  }
  return allFound;
}

void PrintSummary(CliHost& host, const THarvester& harvester) {
  host.EndProgress();
  std::fprintf(stderr, "%d files, %zu icons\n", harvester.FileCount, harvester.Entries.size());
}

struct Run {
  explicit Run(const CliArguments& args, bool wantsTiles) : host(wantsTiles), harvester(host) {
    harvester.KeepIconsWithoutTile = args.All;
    allFound = HarvestPaths(harvester, args.Paths);
    PrintSummary(host, harvester);
  }
  CliHost host;
  THarvester harvester;
  bool allFound = true;
};

}  // namespace

int RunList(const CliArguments& args) {
  Run run(args, false);
  const auto& entries = run.harvester.Entries;
  if (args.Json) {
    std::cout << "[";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::cout << (i == 0 ? "\n  " : ",\n  ");
      WriteJsonEntry(std::cout, static_cast<int>(i), entries[i]);
    }
    std::cout << (entries.empty() ? "]\n" : "\n]\n");
  } else {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const auto& entry = entries[i];
      std::cout << i << "\t" << SanitizeUtf8(entry.File.string()) << "\t"
                << SanitizeUtf8(entry.Caption) << "\t" << entry.Icon->Images.Count() << " images";
      if (entry.TileImage < 0) std::cout << ", no 32x32";
      std::cout << "\n";
    }
  }
  std::cout.flush();
  return run.allFound && std::cout ? 0 : 1;
}

int RunSave(const CliArguments& args) {
  const int format = FormatFromExt("." + args.Format);
  if (format < sfIcon || format > sfPng) {
    std::fprintf(stderr, "pictarix-cli: unknown format '%s'\n", args.Format.c_str());
    return 2;
  }
  if (!IsDirectory(args.Output)) {
    std::fprintf(stderr, "pictarix-cli: %s: not an existing directory\n",
                 SanitizeUtf8(args.Output).c_str());
    return 1;
  }
  // Tiles for every format, so that entry i is the window's entry i whatever is written: an
  // icon whose 32x32 image cannot be drawn makes no entry there.
  Run run(args, true);
  bool ok = run.allFound;
  const int count = static_cast<int>(run.harvester.Entries.size());
  for (int i = 0; i < count; ++i) {
    try {
      SaveEntryAs(run.harvester, BatchFileName(args.Output, i, format), i, format);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "pictarix-cli: %s\n", SanitizeUtf8(e.what()).c_str());
      ok = false;
    }
  }
  return ok ? 0 : 1;
}

int RunIcl(const CliArguments& args) {
  const std::filesystem::path target = args.Library;
  std::error_code error;
  // Refuse a target that cannot be added to before a possibly long harvest.
  if (args.Add && std::filesystem::exists(target, error) && !IsIconLibraryFile(target)) {
    std::fprintf(stderr, "pictarix-cli: %s: not an icon library; left unchanged\n",
                 SanitizeUtf8(args.Library).c_str());
    return 1;
  }

  Run run(args, false);
  const auto& entries = run.harvester.Entries;
  std::vector<int> all(entries.size());
  std::iota(all.begin(), all.end(), 0);
  try {
    if (SaveEntriesToLibrary(entries, all, target, args.Add) == 0) {
      std::fprintf(stderr, "pictarix-cli: no icons found; no library written\n");
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pictarix-cli: %s\n", SanitizeUtf8(e.what()).c_str());
    return 1;
  }
  return run.allFound ? 0 : 1;
}

}  // namespace pictarix::cli
