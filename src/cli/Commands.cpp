// The commands that read the harvest only: list and icl.
#include "cli/Commands.h"

#include <iostream>
#include <numeric>
#include <string>

#include "cli/HarvestRun.h"
#include "cli/JsonWriter.h"
#include "library/IconLibrary.h"
#include "output/LibraryCommands.h"
#include "platform/CodePage.h"
#include "platform/EscapedText.h"

namespace pictarix::cli {

namespace {

// What a line of plain output may show of a name.
std::string Printable(const std::string& text) {
  return EscapeControlChars(SanitizeUtf8(text));
}

}  // namespace

int RunList(const CliArguments& args) {
  // Entries are written as the harvest makes them and then dropped.
  int written = 0;
  const auto writeEntry = [&args, &written](int index, const TListEntry& entry) {
    if (args.Json) {
      std::cout << (index == 0 ? "\n  " : ",\n  ");
      WriteJsonEntry(std::cout, index, entry);
    } else {
      std::cout << index << "\t" << Printable(entry.File.string()) << "\t"
                << Printable(entry.Caption) << "\t" << entry.Icon->Images.Count() << " images";
      if (entry.TileImage < 0) std::cout << ", no 32x32";
      std::cout << "\n";
    }
    ++written;
  };
  if (args.Json) std::cout << "[";
  HarvestRun run(args, writeEntry);
  if (args.Json) std::cout << (written == 0 ? "]\n" : "\n]\n");
  std::cout.flush();
  return run.AllRead && std::cout ? 0 : 1;
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
  const auto& entries = run.Harvester.Entries;
  std::vector<int> all(entries.size());
  std::iota(all.begin(), all.end(), 0);
  try {
    if (SaveEntriesToLibrary(entries, all, target, args.Add) == 0) {
      Complain("no icons found; no library written");
      return 1;
    }
  } catch (const std::exception& e) {
    Complain(e.what());
    return 1;
  }
  return run.AllRead ? 0 : 1;
}

}  // namespace pictarix::cli
