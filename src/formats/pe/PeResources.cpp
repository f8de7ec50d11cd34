#include "formats/pe/PeResources.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "formats/pe/BlockCachedStream.h"
#include "formats/pe/PeImageLayout.h"
#include "formats/pe/PeResourceDirectory.h"
#include "formats/pe/PeResourceTypeIndex.h"
#include "os/ReadBudget.h"

namespace pictarix {

namespace {

// The largest run of icon data read at once; data spread wider is read resource by resource,
// which keeps the memory a module needs small and warm (fresh memory costs more to fault in
// than the extra reads).
constexpr std::uint64_t kMaxPrefetch = 1ull << 20;

class PeResources : public ModuleResources {
 public:
  PeResources(std::unique_ptr<ByteStream> stream, PeImageLayout layout,
              std::optional<FileRange> directoryExtent)
      : stream_(std::move(stream)), layout_(std::move(layout)), budget_(stream_) {
    if (directoryExtent) directory_.emplace(stream_, *directoryExtent);
  }

  std::vector<ResourceName> EnumResourceNames(std::uint16_t type) override;
  std::optional<std::vector<std::uint8_t>> FindResource(std::uint16_t type,
                                                        const ResourceName& name) override;
  int IconCount() override;
  std::uint64_t FetchesOverReadLimit() const override { return budget_.Refusals(); }

 private:
  // The names of `type`, their table entered on `path` (after the root). Nothing when the
  // module has no such type or the way there is broken.
  const PeResourceTypeIndex* TypeIndex(std::uint16_t type, ResourceDirectoryPath& path);
  const ResourceDirectoryTable* Root();
  std::optional<ResourceDataEntry> FirstLanguage(std::uint32_t languageTable,
                                                 ResourceDirectoryPath& path) const;
  // The file bytes from the first to the end of the last resource of `type`.
  std::optional<FileRange> DataSpan(std::uint16_t type);
  // Reads the data of the group icons and of the icons, each in one read, before the first
  // fetch: a module's icons are then fetched from memory.
  void PrefetchIcons();

  BlockCachedStream stream_;
  PeImageLayout layout_;
  std::optional<PeResourceDirectory> directory_;
  // Read once: the root and the names of the types asked for. Language tables are small and
  // read per lookup.
  bool rootRead_ = false;
  bool prefetched_ = false;
  std::optional<ResourceDirectoryTable> root_;
  std::map<std::uint16_t, std::optional<PeResourceTypeIndex>> types_;
  // Every fetched resource counts against it, over the module's life: entries that all point
  // at the same bytes (65535 icons of one group naming one large image) cannot multiply them.
  ReadBudget budget_;
};

std::optional<FileRange> PeResources::DataSpan(std::uint16_t type) {
  ResourceDirectoryPath typePath;
  const PeResourceTypeIndex* index = TypeIndex(type, typePath);
  if (index == nullptr) return std::nullopt;
  std::uint64_t begin = UINT64_MAX;
  std::uint64_t end = 0;
  for (const ResourceDirectoryEntry& entry : index->Table().Entries) {
    if (!entry.IsSubdirectory) continue;
    ResourceDirectoryPath path = typePath;
    const auto data = FirstLanguage(entry.Offset, path);
    const auto range = data ? layout_.MapRange(data->Rva, data->Size) : std::nullopt;
    if (!range) continue;
    begin = std::min(begin, range->Offset);
    end = std::max(end, range->Offset + range->Size);
  }
  if (end <= begin) return std::nullopt;
  return FileRange{begin, end - begin};
}

void PeResources::PrefetchIcons() {
  if (prefetched_) return;
  prefetched_ = true;
  for (const std::uint16_t type : {kResourceTypeGroupIcon, kResourceTypeIcon}) {
    const auto span = DataSpan(type);
    if (span && span->Size <= std::min(kMaxPrefetch, budget_.Left())) stream_.Load(*span);
  }
}

const ResourceDirectoryTable* PeResources::Root() {
  if (!rootRead_) {
    rootRead_ = true;
    if (directory_) root_ = directory_->ReadTable(0);
  }
  return root_ ? &*root_ : nullptr;
}

const PeResourceTypeIndex* PeResources::TypeIndex(std::uint16_t type, ResourceDirectoryPath& path) {
  const ResourceDirectoryTable* root = Root();
  if (root == nullptr || !path.Enter(root->Offset, root->ByteSize)) return nullptr;
  const ResourceDirectoryEntry* typeEntry = nullptr;
  for (const ResourceDirectoryEntry& entry : root->Entries) {
    if (!entry.IsNamed && entry.Id == type) {
      typeEntry = &entry;
      break;
    }
  }
  if (typeEntry == nullptr || !typeEntry->IsSubdirectory) return nullptr;

  auto cached = types_.find(type);
  if (cached == types_.end()) {
    std::optional<PeResourceTypeIndex> index;
    if (auto table = directory_->ReadTable(typeEntry->Offset)) {
      index.emplace(*directory_, std::move(*table));
    }
    cached = types_.emplace(type, std::move(index)).first;
  }
  const auto& index = cached->second;
  if (!index || !path.Enter(index->Table().Offset, index->Table().ByteSize)) return nullptr;
  return &*index;
}

std::vector<ResourceName> PeResources::EnumResourceNames(std::uint16_t type) {
  ResourceDirectoryPath path;
  const PeResourceTypeIndex* index = TypeIndex(type, path);
  if (index == nullptr) return {};
  return index->Names();
}

std::optional<ResourceDataEntry> PeResources::FirstLanguage(std::uint32_t languageTable,
                                                            ResourceDirectoryPath& path) const {
  const auto languages = directory_->ReadTable(languageTable, 1);
  if (!languages || languages->Entries.empty()) return std::nullopt;
  if (!path.Enter(languages->Offset, languages->ByteSize)) return std::nullopt;
  const ResourceDirectoryEntry& first = languages->Entries.front();
  // Type, name and language are the only levels: a fourth table is refused.
  if (first.IsSubdirectory) return std::nullopt;
  if (!path.Enter(first.Offset, kResourceDataEntrySize)) return std::nullopt;
  return directory_->ReadDataEntry(first.Offset);
}

std::optional<std::vector<std::uint8_t>> PeResources::FindResource(std::uint16_t type,
                                                                   const ResourceName& name) {
  PrefetchIcons();
  ResourceDirectoryPath path;
  const PeResourceTypeIndex* index = TypeIndex(type, path);
  if (index == nullptr) return std::nullopt;
  // The first entry with the name decides, as a lookup does; one that is no table is broken.
  const auto found = index->Find(name);
  if (!found) return std::nullopt;
  const ResourceDirectoryEntry& entry = index->Table().Entries[*found];
  if (!entry.IsSubdirectory) return std::nullopt;
  const auto data = FirstLanguage(entry.Offset, path);
  if (!data) return std::nullopt;
  const auto range = layout_.MapRange(data->Rva, data->Size);
  if (!range) return std::nullopt;
  if (!budget_.Spend(range->Size)) return std::nullopt;
  // Copied straight from the block that holds it, without clearing a buffer first.
  if (const auto held = stream_.View(*range)) {
    return std::vector<std::uint8_t>(held->begin(), held->end());
  }
  return ReadFileRange(stream_, *range);
}

int PeResources::IconCount() {
  return static_cast<int>(EnumResourceNames(kResourceTypeGroupIcon).size());
}

}  // namespace

std::unique_ptr<ModuleResources> OpenModuleFromStream(std::unique_ptr<ByteStream> stream) {
  if (!stream) return nullptr;
  auto layout = ReadPeImageLayout(*stream);
  if (!layout) return nullptr;
  std::optional<FileRange> directoryExtent;
  if (layout->ResourceRva != 0) {
    directoryExtent = layout->MapToSectionEnd(layout->ResourceRva);
    // A module cut short before the resources its sections hold is damaged, not one without
    // icons (a directory that no section holds stays a module without resources).
    if (!directoryExtent && layout->SectionCovers(layout->ResourceRva)) return nullptr;
  }
  return std::make_unique<PeResources>(std::move(stream), std::move(*layout), directoryExtent);
}

}  // namespace pictarix
