#include "harvest/Harvester.h"

#include <fcntl.h>

#include <string>
#include <thread>

#include "imaging/HiResIcon.h"
#include "imaging/ImagePicture.h"
#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/Files.h"

namespace pictarix {

namespace {

// How long the caller waits for the next result before it looks at StopRequested again.
constexpr std::chrono::milliseconds kWait{2};

// The name after the last "/" (the folder separator on this platform).
std::string NameWithoutFolder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

Harvester::Harvester(HarvestHost& host) : host_(host) {}

Harvester::~Harvester() {
  EndRun();
}

void Harvester::AddEntry(FileFinding& finding, const std::filesystem::path& file) {
  std::optional<ListEntry> made =
      MakeListEntry(std::move(finding.Caption), std::move(finding.Icon), finding.TileImage,
                    host_.WantsTiles() ? &LargeImgs : nullptr, file);
  if (!made) return;
  ListEntry& entry = *made;
  // The preview shows the tile just made (its image keeps the decoded picture).
  const std::unique_ptr<IconGraphic> graphic =
      entry.ImageIndex >= 0 ? MakeGraphic(*entry.Icon->Images.Get(entry.TileImage)) : nullptr;
  int index = 0;
  if (EntrySink) {
    index = sentEntries_++;
    EntrySink(index, entry);
  } else {
    Entries.push_back(std::move(entry));
    index = static_cast<int>(Entries.size()) - 1;
  }
  host_.EntryAdded(index);
  if (graphic) host_.ShowPreview(*graphic);
  if (host_.ShowsPanels()) host_.SetPanelText(2, std::to_string(LargeImgs.Count()) + " icons");
}

void Harvester::TakeFile(FileRead read) {
  if (!read.Counted) {
    // A folder or name that could not be looked at (or a file swapped for no regular one).
    for (const FileFinding& finding : read.Findings)
      host_.FileUnreadable(read.Path, finding.Problem);
    return;
  }
  const bool panels = host_.ShowsPanels();
  if (panels) host_.SetPanelText(0, "Processing " + SanitizeUtf8(NameWithoutFolder(read.Path)));
  ++FileCount;
  for (int i = 0; i < read.Beeps; ++i) {
    if (OnNumberedGroup) OnNumberedGroup();
  }
  const std::filesystem::path file(read.Path);
  for (FileFinding& finding : read.Findings) {
    if (!finding.Icon) {
      host_.FileUnreadable(file, finding.Problem);
      continue;
    }
    if (StopRequested) continue;
    if (finding.HotspotMoved)
      host_.FileNoted(file, finding.Caption + ": hotspot moved into the image");
    try {
      AddEntry(finding, file);
    } catch (const std::exception& error) {
      // A tile the list refuses: the icon is left out, and an icon file is then one not read.
      if (finding.IconFile) host_.FileUnreadable(file, error.what());
    } catch (...) {
    }
  }
  if (panels && read.Complete) {
    host_.SetPanelText(2, std::to_string(LargeImgs.Count()) + " icons");
    host_.SetPanelText(1, std::to_string(FileCount) + " files");
  }
}

void Harvester::HarvestFile(const std::filesystem::path& fileName) {
  if (StopRequested) return;
  // Asking first keeps a FIFO or device named here from being opened at all.
  int error = 0;
  const FileKind kind = KindOf(AT_FDCWD, fileName.string(), true, error);
  if (error != 0) {
    host_.FileUnreadable(fileName, SystemErrorText(error));
    return;
  }
  if (kind != FileKind::Regular) return;
  ReadOptions options;
  options.KeepIconsWithoutTile = KeepIconsWithoutTile;
  options.Cursors = IncludeCursors;
  options.CursorFiles = true;
  TakeFile(ReadFile(fileName.string(), OpenForReading(fileName), options));
}

void Harvester::HarvestDirectory(const std::filesystem::path& directory) {
  if (StopRequested) return;
  Begin({{directory, true}}, true);
  while (!StopRequested) {
    std::optional<FileRead> read = run_->Next(kWait);
    if (read) {
      TakeFile(std::move(*read));
    } else if (run_->Ended()) {
      break;
    }
  }
  EndRun();
}

void Harvester::Begin(std::vector<HarvestRoot> roots, bool readHere) {
  EndRun();
  EngineOptions options = Engine;
  options.ReadOnCaller = readHere;
  options.Read.KeepIconsWithoutTile = KeepIconsWithoutTile;
  options.Read.Cursors = IncludeCursors;
  run_ = std::make_unique<HarvestEngine>(std::move(roots), std::move(options));
}

bool Harvester::TakeReady(std::chrono::milliseconds budget) {
  if (!run_) return false;
  const auto until = std::chrono::steady_clock::now() + budget;
  while (!StopRequested) {
    std::optional<FileRead> read = run_->Next(std::chrono::milliseconds(0));
    if (!read) {
      if (!run_->Ended()) return true;
      break;
    }
    TakeFile(std::move(*read));
    if (std::chrono::steady_clock::now() >= until) return true;
  }
  EndRun();
  return false;
}

bool Harvester::TakeNext(std::chrono::milliseconds wait) {
  if (!run_) return false;
  if (!StopRequested) {
    std::optional<FileRead> read = run_->Next(wait);
    if (read) {
      TakeFile(std::move(*read));
      return true;
    }
    if (!run_->Ended()) return true;
  }
  EndRun();
  return false;
}

void Harvester::RequestStop() {
  StopRequested = true;
  if (run_) run_->Stop();
}

void Harvester::EndRun() {
  if (!run_) return;
  if (run_->Ended() && !StopRequested) {
    run_.reset();  // its threads are ending of themselves
    return;
  }
  run_->Stop();
  std::thread([run = std::move(run_)]() mutable { run.reset(); }).detach();
}

void Harvester::ClearList() {
  Entries.clear();
  LargeImgs.Clear();
  FileCount = 0;
  sentEntries_ = 0;
  host_.SetPanelText(1, "0 files");
  host_.SetPanelText(2, "0 icons");
}

std::vector<ListEntry> Harvester::RemoveEntries(const std::vector<bool>& selected) {
  std::vector<ListEntry> removed;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < Entries.size(); ++i) {
    if (i < selected.size() && selected[i]) {
      removed.push_back(std::move(Entries[i]));
      continue;
    }
    if (kept != i) Entries[kept] = std::move(Entries[i]);
    ++kept;
  }
  Entries.resize(kept);
  return removed;
}

}  // namespace pictarix
