#include "formats/pe/PeResources.h"

#include <algorithm>
#include <cstdint>

namespace pictarix {
namespace {

// The largest run of icon data read at once; data spread wider is read resource by resource,
// which keeps the memory a module needs small and warm (fresh memory costs more to fault in
// than the extra reads).
constexpr std::uint64_t kMaxPrefetch = 1ull << 20;

}  // namespace

PeResources::PeResources(std::unique_ptr<ByteStream> stream, PeImageLayout layout,
                         std::optional<FileRange> directoryExtent)
    : stream_(std::move(stream)), layout_(std::move(layout)), budget_(stream_) {
  if (directoryExtent) directory_.emplace(stream_, *directoryExtent);
}

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

std::vector<ResourceName> PeResources::Names(std::uint16_t type) {
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

std::optional<std::vector<std::uint8_t>> PeResources::Resource(std::uint16_t type,
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

std::unique_ptr<PeResources> PeResources::Open(std::unique_ptr<ByteStream> stream) {
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
