// export: every image of each entry at its own size, with its transparency, as PNG files.
#include <algorithm>
#include <string>
#include <thread>

#include "cli/Commands.h"
#include "cli/HarvestRun.h"
#include "cli/Output.h"
#include "os/EscapedText.h"
#include "os/Files.h"
#include "output/ExportImages.h"

namespace pictarix::cli {

namespace {

ExportSelection SelectionOf(const CliArguments& args) {
  ExportSelection selection;
  if (args.Largest) selection.Which = ExportSelection::Mode::Largest;
  if (args.Size > 0) {
    selection.Which = ExportSelection::Mode::Size;
    selection.Size = args.Size;
  }
  selection.Entries = args.Entries;
  selection.Names = args.Names;
  return selection;
}

// What a failure names: the frame and image, or the text file.
std::string ItemName(const ExportItem& item) {
  if (item.Image < 0) return item.Path.filename().string();
  const std::string image = "image " + std::to_string(item.Image);
  return item.Frame < 0 ? image : "frame " + std::to_string(item.Frame) + ", " + image;
}

}  // namespace

int RunExport(const CliArguments& args) {
  if (!IsDirectory(args.Output)) {
    Complain(args.Output + ": not an existing directory");
    return 1;
  }
  HarvestRun run(args);
  bool ok = run.AllRead;
  const ExportSelection selection = SelectionOf(args);
  auto& entries = run.Harvest.Entries;
  int selected = 0;
  std::vector<int> indexes;
  std::vector<PlannedExport> exports;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int index = static_cast<int>(i);
    if (!selection.SelectsEntry(index, entries[i].Caption)) continue;
    ++selected;
    exports.push_back(
        {entries[i].Icon.get(), PlanEntryExport(*entries[i].Icon, index, args.Output, selection)});
    indexes.push_back(index);
  }
  // Each core makes pictures while the files already made are written; an entry's paths come
  // out as soon as its files are on the disk.
  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  WriteEntryExports(exports, threads, [&](std::size_t e, std::vector<ExportFailure> failures) {
    auto failure = failures.begin();
    for (const ExportItem& item : exports[e].Plan) {
      if (failure != failures.end() && failure->Image == item.Image &&
          failure->Frame == item.Frame) {
        Complain("entry " + std::to_string(indexes[e]) + ", " + ItemName(item) + ": " +
                 failure->Reason);
        ++failure;
        ok = false;
      } else {
        WriteOutput(EscapeControlChars(item.Path.string()) + "\n");
      }
    }
    // The paths of the files on the disk come out now; a failed write stops the export.
    FlushOutput();
    ThrowIfOutputFailed();
  });
  if (selected == 0) {
    Complain("no entry selected; nothing written");
    return 1;
  }
  return ok ? 0 : 1;
}

}  // namespace pictarix::cli
