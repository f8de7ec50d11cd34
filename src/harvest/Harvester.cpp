#include "harvest/Harvester.h"

#include <fcntl.h>

#include <string>

#include "formats/ico/IconFileReader.h"
#include "harvest/BestImageIndex.h"
#include "harvest/TreeWalk.h"
#include "imaging/HiResIcon.h"
#include "imaging/ImagePicture.h"
#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/Files.h"
#include "os/Stream.h"

namespace pictarix {

namespace {

// The name after the last "/" (the folder separator on this platform).
std::string NameWithoutFolder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The extension test of the icon-file fallback: the characters after the last dot of the name,
// ASCII letters lower-cased, are "ico".
bool HasIcoExtension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  if (dot == std::string::npos || name.size() - dot != 4) return false;
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext == "ico";
}

std::string WithoutExtension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

THarvester::THarvester(THarvestHost& host) : host_(host) {}

bool THarvester::AddEntry(const std::string& name, std::unique_ptr<TAdvancedIcon> icon,
                          int tileImage, const std::filesystem::path& file) {
  std::optional<TListEntry> made = MakeListEntry(name, std::move(icon), tileImage,
                                                 host_.WantsTiles() ? &LargeImgs : nullptr, file);
  if (!made) return false;
  TListEntry& entry = *made;
  // The preview shows the tile just made (its image keeps the decoded picture).
  const std::unique_ptr<THiResIcon> graphic =
      entry.ImageIndex >= 0 ? MakeGraphic(*entry.Icon->Images.Get(tileImage)) : nullptr;
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
  host_.ProcessMessages();
  return true;
}

// The walk's files go to the file harvest; its unreadable folders to the host.
class THarvester::Walk : public TWalkVisitor {
 public:
  explicit Walk(THarvester& harvester) : harvester_(harvester) {}
  bool Stopped() override { return harvester_.StopRequested; }
  void Pause() override { harvester_.host_.ProcessMessages(); }
  void File(const std::string& path, OpenedFile file) override {
    harvester_.HarvestOpened(path, std::move(file));
  }
  void Unreadable(const std::string& path, const std::string& reason) override {
    harvester_.host_.FileUnreadable(path, reason);
  }

 private:
  THarvester& harvester_;
};

void THarvester::HarvestFile(const std::filesystem::path& fileName) {
  if (StopRequested) return;
  // Asking first keeps a FIFO or device named here from being opened at all.
  int error = 0;
  const FileKind kind = KindOf(AT_FDCWD, fileName.string(), true, error);
  if (error != 0) {
    host_.FileUnreadable(fileName, SystemErrorText(error));
    return;
  }
  if (kind != FileKind::Regular) return;
  HarvestOpened(fileName.string(), OpenForReading(fileName));
}

void THarvester::HarvestOpened(const std::string& path, OpenedFile opened) {
  if (opened.Error == 0 && opened.Handle.Kind != FileKind::Regular) return;  // swapped in
  const bool panels = host_.ShowsPanels();
  if (panels) host_.SetPanelText(0, "Processing " + SanitizeUtf8(NameWithoutFolder(path)));
  ++FileCount;
  if (opened.Error != 0) {
    host_.FileUnreadable(path, SystemErrorText(opened.Error));
    return;
  }

  TFileStream stream(std::move(opened.Handle));
  IconLibrary.Icons.Clear();
  // Most files of a tree are no module: they are told apart before anything is made for them.
  try {
    bool is32Bit = false;
    if (TIconLibrary::IsIconModule(stream, is32Bit)) {
      const std::filesystem::path fileName(path);
      IconLibrary.LoadFromStream(fileName, std::make_unique<TBorrowedStream>(stream));
      AddLibraryIcons(fileName);
      // The icons read stay listed; what a limit left out makes the file one that was not
      // wholly read.
      if (!IconLibrary.LeftOut.empty()) host_.FileUnreadable(path, IconLibrary.LeftOut);
    }
  } catch (const std::exception& error) {
    host_.FileUnreadable(path, error.what());
    return;
  }

  if (IconLibrary.Icons.Count() == 0 && HasIcoExtension(NameWithoutFolder(path))) {
    HarvestIconFile(path, stream);
  }

  if (panels) {
    host_.SetPanelText(2, std::to_string(LargeImgs.Count()) + " icons");
    host_.SetPanelText(1, std::to_string(FileCount) + " files");
  }
}

void THarvester::AddLibraryIcons(const std::filesystem::path& fileName) {
  const int count = IconLibrary.Icons.Count();
  for (int i = 0; i < count && !StopRequested; ++i) {
    std::unique_ptr<TAdvancedIcon> copy;
    int tileImage = -1;
    try {
      TAdvancedIcon* icon = &IconLibrary.Icons.Icon(i);
      icon->Images.Sort();  // the order the entry keeps, set once
      tileImage = BestImageIndex(*icon, 32, 0);
      if (tileImage < 0 && !(KeepIconsWithoutTile && icon->Images.Count() > 0)) continue;
      copy = std::make_unique<TAdvancedIcon>();
      copy->Assign(*icon);
      if (!AddEntry(IconLibrary.Icons.Name(i), std::move(copy), tileImage, fileName)) continue;
    } catch (...) {
      continue;  // this icon only: the copy, if any, has been released
    }
  }
}

void THarvester::HarvestIconFile(const std::filesystem::path& fileName, TStream& stream) {
  try {
    auto icon = std::make_unique<TAdvancedIcon>();
    stream.Seek(0);
    ReadIconFile(stream, *icon);
    icon->Images.Sort();  // the order the entry keeps, set once
    const int tileImage = BestImageIndex(*icon, 32, 0);
    if (tileImage < 0 && !(KeepIconsWithoutTile && icon->Images.Count() > 0)) return;
    const std::string caption =
        SanitizeUtf8(WithoutExtension(NameWithoutFolder(fileName.string())));
    AddEntry(caption, std::move(icon), tileImage, fileName);
  } catch (const std::exception& error) {
    // An icon file that cannot be read (one whose images claim more than the read limit allows
    // among them) adds nothing, and is said to be unreadable.
    host_.FileUnreadable(fileName, error.what());
  }
}

void THarvester::HarvestDirectory(const std::filesystem::path& directory) {
  Walk walk(*this);
  WalkTree(directory, walk);
}

void THarvester::ClearList() {
  Entries.clear();
  LargeImgs.Clear();
  FileCount = 0;
  sentEntries_ = 0;
  host_.SetPanelText(1, "0 files");
  host_.SetPanelText(2, "0 icons");
}

void THarvester::RemoveEntries(const std::vector<bool>& selected) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < Entries.size(); ++i) {
    if (i < selected.size() && selected[i]) continue;
    if (kept != i) Entries[kept] = std::move(Entries[i]);
    ++kept;
  }
  Entries.resize(kept);
}

}  // namespace pictarix
