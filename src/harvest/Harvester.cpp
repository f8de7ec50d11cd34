#include "harvest/Harvester.h"

#include <string>
#include <unordered_set>

#include "harvest/BestImageIndex.h"
#include "model/HiResIcon.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

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

struct DirectoryIdHash {
  std::size_t operator()(const DirectoryId& id) const {
    return std::hash<std::uint64_t>{}(id.Inode * 1000003u ^ id.Device);
  }
};

}  // namespace

THarvester::THarvester(THarvestHost& host) : host_(host) {}

bool THarvester::AddEntry(const std::string& name, std::unique_ptr<TAdvancedIcon> icon,
                          int tileImage, const std::filesystem::path& file) {
  // The tile goes in first: when the image list refuses it, no entry is made and the icon copy
  // is released with nothing pointing at it.
  std::unique_ptr<THiResIcon> graphic;
  int imageIndex = -1;
  if (tileImage >= 0 && host_.WantsTiles()) {
    TIconImage* image = icon->Images.Get(tileImage);
    if (image == nullptr) return false;
    graphic = image->CreateGraphic();
    imageIndex = LargeImgs.Add(*graphic);
  }
  TListEntry entry;
  entry.Caption = name;
  entry.SubItemText = name;
  entry.Icon = std::move(icon);
  entry.ImageIndex = imageIndex;
  entry.TileImage = tileImage;
  entry.File = file;
  Entries.push_back(std::move(entry));
  host_.EntryAdded(static_cast<int>(Entries.size()) - 1);
  if (graphic) host_.ShowPreview(*graphic);
  host_.SetPanelText(2, std::to_string(LargeImgs.Count()) + " icons");
  host_.ProcessMessages();
  return true;
}

void THarvester::HarvestFile(const std::filesystem::path& fileName) {
  if (StopRequested) return;
  if (!IsRegularFile(fileName)) return;
  const std::string path = fileName.string();
  host_.SetPanelText(0, "Processing " + SanitizeUtf8(NameWithoutFolder(path)));
  ++FileCount;

  try {
    IconLibrary.Icons.Clear();
    IconLibrary.LoadFromFile(fileName);
  } catch (...) {
    return;
  }

  const int count = IconLibrary.Icons.Count();
  bool stopped = false;
  for (int i = 0; i < count; ++i) {
    if (StopRequested) {
      stopped = true;
      break;
    }
    std::unique_ptr<TAdvancedIcon> copy;
    int tileImage = -1;
    try {
      TAdvancedIcon* icon = &IconLibrary.Icons.Icon(i);
      tileImage = BestImageIndex(*icon, 32, 0);
      if (tileImage < 0 && !(KeepIconsWithoutTile && icon->Images.Count() > 0)) continue;
      copy = std::make_unique<TAdvancedIcon>();
      copy->Assign(*icon);
      if (!AddEntry(IconLibrary.Icons.Name(i), std::move(copy), tileImage, fileName)) continue;
    } catch (...) {
      continue;  // this icon only: the copy, if any, has been released
    }
  }

  if (!stopped && IconLibrary.Icons.Count() == 0 && HasIcoExtension(NameWithoutFolder(path))) {
    HarvestIconFile(fileName);
  }

  host_.SetPanelText(2, std::to_string(LargeImgs.Count()) + " icons");
  host_.SetPanelText(1, std::to_string(FileCount) + " files");
}

void THarvester::HarvestIconFile(const std::filesystem::path& fileName) {
  try {
    auto icon = std::make_unique<TAdvancedIcon>();
    icon->LoadFromFile(fileName);
    const int tileImage = BestImageIndex(*icon, 32, 0);
    if (tileImage < 0 && !(KeepIconsWithoutTile && icon->Images.Count() > 0)) return;
    const std::string caption =
        SanitizeUtf8(WithoutExtension(NameWithoutFolder(fileName.string())));
    AddEntry(caption, std::move(icon), tileImage, fileName);
  } catch (...) {
    // An icon file that cannot be read adds nothing.
  }
}

void THarvester::HarvestDirectory(const std::filesystem::path& directory) {
  // The walk keeps one listing per open level on its own stack instead of recursing, so deep
  // trees cannot exhaust the call stack; the visiting order is that of the recursive walk.
  struct Level {
    std::string Path;  // with its trailing "/"
    std::vector<DirectoryEntry> Names;
    std::size_t Next = 0;
  };
  std::unordered_set<DirectoryId, DirectoryIdHash> visited;
  std::vector<Level> stack;

  auto enter = [&](std::string path) {
    if (StopRequested) return;
    host_.ProcessMessages();
    if (path.empty() || path.back() != '/') path += '/';
    const auto id = IdentifyDirectory(path);
    if (!id || !visited.insert(*id).second) return;
    Level level;
    level.Path = std::move(path);
    ListDirectory(level.Path, level.Names);  // whatever was listed is processed
    stack.push_back(std::move(level));
  };

  enter(directory.string());
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.Next >= level.Names.size() || StopRequested) {
      stack.pop_back();
      continue;
    }
    const DirectoryEntry entry = level.Names[level.Next++];
    const std::string full = level.Path + entry.Name;
    host_.ProcessMessages();
    if (entry.IsRealDirectory) {
      enter(full);
    } else {
      HarvestFile(full);
    }
  }
}

void THarvester::ClearList() {
  Entries.clear();
  LargeImgs.Clear();
  FileCount = 0;
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

bool EnumFiles(const std::filesystem::path& directory, std::vector<std::filesystem::path>& names) {
  std::vector<DirectoryEntry> entries;
  const bool complete = ListDirectory(directory, entries);
  for (auto& entry : entries) names.emplace_back(std::move(entry.Name));
  return complete;
}

}  // namespace pictarix
