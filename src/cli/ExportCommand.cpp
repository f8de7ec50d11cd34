// export: every image of each entry at its own size, with its transparency, as PNG files.
#include <iostream>
#include <string>

#include "cli/Commands.h"
#include "cli/HarvestRun.h"
#include "output/ExportImages.h"
#include "platform/CodePage.h"
#include "platform/EscapedText.h"
#include "platform/Files.h"

namespace pictarix::cli {

namespace {

// Writers wait for the disk far more than they compute.
constexpr int kWriterThreads = 8;
constexpr std::size_t kBatchFiles = 512;

TExportSelection SelectionOf(const CliArguments& args) {
  TExportSelection selection;
  if (args.Largest) selection.Which = TExportSelection::Mode::Largest;
  if (args.Size > 0) {
    selection.Which = TExportSelection::Mode::Size;
    selection.Size = args.Size;
  }
  selection.Entries = args.Entries;
  selection.Names = args.Names;
  return selection;
}

}  // namespace

int RunExport(const CliArguments& args) {
  if (!IsDirectory(args.Output)) {
    Complain(args.Output + ": not an existing directory");
    return 1;
  }
  HarvestRun run(args);
  bool ok = run.AllRead;
  const TExportSelection selection = SelectionOf(args);
  auto& entries = run.Harvester.Entries;
  int selected = 0;
  std::vector<int> indexes;
  std::vector<TEntryExport> batch;
  std::size_t files = 0;
  // Files are written a batch at a time, so that many flush together and the paths still come
  // out in order, soon after they are written.
  const auto writeBatch = [&] {
    const auto failures = WriteEntryExports(batch, kWriterThreads);
    for (std::size_t e = 0; e < batch.size(); ++e) {
      auto failure = failures[e].begin();
      for (const TExportItem& item : batch[e].Plan) {
        if (failure != failures[e].end() && failure->Image == item.Image) {
          Complain("entry " + std::to_string(indexes[e]) + ", image " + std::to_string(item.Image) +
                   ": " + failure->Reason);
          ++failure;
          ok = false;
        } else {
          std::cout << EscapeControlChars(SanitizeUtf8(item.Path.string())) << "\n";
        }
      }
    }
    std::cout.flush();
    batch.clear();
    indexes.clear();
    files = 0;
  };
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int index = static_cast<int>(i);
    if (!selection.SelectsEntry(index, entries[i].Caption)) continue;
    ++selected;
    TEntryExport entry{entries[i].Icon.get(),
                       PlanEntryExport(*entries[i].Icon, index, args.Output, selection)};
    files += entry.Plan.size();
    batch.push_back(std::move(entry));
    indexes.push_back(index);
    if (files >= kBatchFiles) writeBatch();
  }
  writeBatch();
  if (selected == 0) {
    Complain("no entry selected; nothing written");
    return 1;
  }
  return ok && std::cout ? 0 : 1;
}

}  // namespace pictarix::cli
