#include "ui/window/ExportImagesCommand.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <thread>

#include <QDir>
#include <QStringList>

#include "harvest/Harvester.h"
#include "output/EntrySelection.h"
#include "output/ExportImages.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FolderPicker.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

namespace {

const QString kTitle = QStringLiteral("Export Images");
const QString kFolderPrompt = QStringLiteral("Select the folder for the exported images");
const QString kCaptionNamesLabel = QStringLiteral("Name files after captions");
constexpr int kFailuresListed = 20;

// One entry's own copy of its icon (sharing the image bytes) and the files it makes.
struct EntryExport {
  std::unique_ptr<AdvancedIcon> Icon;
  std::vector<ExportItem> Plan;
  int Entry = 0;
};

// Which file of an entry's export failed: an image, an animation frame's image, or the list of
// images for building the cursor.
QString FailedItemText(const ExportFailure& failure) {
  if (failure.Image < 0) return QStringLiteral("cursor list");
  if (failure.Frame < 0) return QStringLiteral("image %1").arg(failure.Image);
  return QStringLiteral("frame %1, image %2").arg(failure.Frame).arg(failure.Image);
}

// The files of each entry, in list order, and how many of them exist already. Copies of the
// icons are taken now: the list may change while a question is open.
std::vector<EntryExport> PlanExports(const Harvester& harvester, const std::vector<int>& entries,
                                     const std::filesystem::path& folder, bool captionNames,
                                     int& existing) {
  std::vector<EntryExport> exports;
  UniqueFileNames names(UniqueFileNames::Repeat::Dashed);
  for (const SelectedEntry& picked : SelectEntries(harvester.Entries, entries)) {
    if (!picked.Entry->Icon) continue;
    EntryExport job{std::make_unique<AdvancedIcon>(), {}, picked.Position};
    job.Icon->Assign(*picked.Entry->Icon);
    job.Plan =
        captionNames
            ? PlanCaptionExport(*job.Icon, picked.Entry->Caption, folder, ExportSelection{}, names)
            : PlanEntryExport(*job.Icon, picked.Position, folder, ExportSelection{});
    for (const ExportItem& file : job.Plan) {
      std::error_code error;
      if (std::filesystem::exists(std::filesystem::symlink_status(file.Path, error))) ++existing;
    }
    exports.push_back(std::move(job));
  }
  return exports;
}

}  // namespace

int ExportEntryImages(Dialogs& dialogs, QWidget* parent, const Harvester& harvester,
                      const std::vector<int>& entries, QString& folder, bool& captionNames) {
  if (entries.empty()) return 0;
  QString chosen = folder;
  FolderOption naming{kCaptionNamesLabel, captionNames};
  if (!SelectFolder(dialogs, parent, kFolderPrompt, QDir::homePath(), chosen, &naming)) return 0;
  if (!IsDirectory(chosen)) return 0;
  folder = chosen;
  captionNames = naming.Checked;

  int existing = 0;
  const std::vector<EntryExport> exports =
      PlanExports(harvester, entries, ToPath(chosen), captionNames, existing);
  if (existing > 0 &&
      !dialogs.Confirm(parent, kTitle,
                       QStringLiteral("%1 of the files to export already exist in %2.\n"
                                      "Do you want to replace them?")
                           .arg(existing)
                           .arg(chosen),
                       Dialogs::Answer::No)) {
    return 0;
  }

  int written = 0;
  QStringList failures;
  std::vector<PlannedExport> batch;
  for (const EntryExport& job : exports) batch.push_back({job.Icon.get(), job.Plan});
  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  WriteEntryExports(batch, threads, [&](std::size_t e, std::vector<ExportFailure> failed) {
    written += static_cast<int>(batch[e].Plan.size() - failed.size());
    for (const ExportFailure& failure : failed) {
      failures << QStringLiteral("Entry %1, %2: %3")
                      .arg(exports[e].Entry)
                      .arg(FailedItemText(failure), FromUtf8(failure.Reason));
    }
  });
  if (!failures.isEmpty()) {
    const qsizetype more = failures.size() - kFailuresListed;
    if (more > 0) {
      failures = failures.mid(0, kFailuresListed);
      failures << QStringLiteral("... and %1 more").arg(more);
    }
    dialogs.ShowNotice(
        parent, kTitle,
        QStringLiteral("Some images could not be exported:\n") + failures.join(QLatin1Char('\n')));
  }
  return written;
}

}  // namespace pictarix
