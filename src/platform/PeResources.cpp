#include "platform/PeResources.h"

#include <map>

#include "platform/PeImageLayout.h"
#include "platform/PeResourceDirectory.h"
#include "platform/ResourceNameCase.h"

namespace pictarix {

namespace {

class TPeResources : public TModuleResources {
 public:
  TPeResources(std::unique_ptr<TStream> stream, PeImageLayout layout,
               std::optional<FileRange> directoryExtent)
      : stream_(std::move(stream)), layout_(std::move(layout)) {
    if (directoryExtent) directory_.emplace(*stream_, *directoryExtent);
  }

  std::vector<ResourceName> EnumResourceNames(std::uint16_t type) override;
  std::optional<std::vector<std::uint8_t>> FindResource(std::uint16_t type,
                                                        const ResourceName& name) override;
  int IconCount() override;

 private:
  // The name table of `type`, entered on `path` (root first). Nothing when the module has no
  // such type or the way there is broken.
  const ResourceDirectoryTable* TypeTable(std::uint16_t type, ResourceDirectoryPath& path);
  const ResourceDirectoryTable* Root();
  std::optional<std::uint32_t> FindNameEntry(const ResourceDirectoryTable& names,
                                             const ResourceName& name) const;
  std::optional<ResourceDataEntry> FirstLanguage(std::uint32_t languageTable,
                                                 ResourceDirectoryPath& path) const;

  std::unique_ptr<TStream> stream_;
  PeImageLayout layout_;
  std::optional<PeResourceDirectory> directory_;
  // Read once: the root and the name tables of the types asked for (their entries are searched
  // for every resource fetched). Language tables are small and read per lookup.
  bool rootRead_ = false;
  std::optional<ResourceDirectoryTable> root_;
  std::map<std::uint16_t, std::optional<ResourceDirectoryTable>> typeTables_;
};

const ResourceDirectoryTable* TPeResources::Root() {
  if (!rootRead_) {
    rootRead_ = true;
    if (directory_) root_ = directory_->ReadTable(0);
  }
  return root_ ? &*root_ : nullptr;
}

const ResourceDirectoryTable* TPeResources::TypeTable(std::uint16_t type,
                                                      ResourceDirectoryPath& path) {
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

  auto cached = typeTables_.find(type);
  if (cached == typeTables_.end()) {
    cached = typeTables_.emplace(type, directory_->ReadTable(typeEntry->Offset)).first;
  }
  const auto& table = cached->second;
  if (!table || !path.Enter(table->Offset, table->ByteSize)) return nullptr;
  return &*table;
}

std::vector<ResourceName> TPeResources::EnumResourceNames(std::uint16_t type) {
  std::vector<ResourceName> names;
  ResourceDirectoryPath path;
  const ResourceDirectoryTable* table = TypeTable(type, path);
  if (table == nullptr) return names;
  names.reserve(table->Entries.size());
  for (const ResourceDirectoryEntry& entry : table->Entries) {
    if (!entry.IsNamed) {
      names.push_back(ResourceName::FromId(entry.Id));
    } else if (auto text = directory_->ReadName(entry.NameOffset)) {
      names.push_back(ResourceName::FromName(std::move(*text)));
    }  // a name that cannot be read cannot be asked for either: left out
  }
  return names;
}

std::optional<std::uint32_t> TPeResources::FindNameEntry(const ResourceDirectoryTable& names,
                                                         const ResourceName& name) const {
  for (const ResourceDirectoryEntry& entry : names.Entries) {
    if (entry.IsNamed == name.IsId) continue;  // ids match id entries, strings named ones
    const bool matches = name.IsId ? entry.Id == name.Id : [&] {
      const auto text = directory_->ReadName(entry.NameOffset);
      return text && ResourceNamesMatch(*text, name.Name);
    }();
    if (!matches) continue;
    // The first match decides, as a lookup does; one that is no subdirectory is broken.
    if (!entry.IsSubdirectory) return std::nullopt;
    return entry.Offset;
  }
  return std::nullopt;
}

std::optional<ResourceDataEntry> TPeResources::FirstLanguage(std::uint32_t languageTable,
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

std::optional<std::vector<std::uint8_t>> TPeResources::FindResource(std::uint16_t type,
                                                                    const ResourceName& name) {
  ResourceDirectoryPath path;
  const ResourceDirectoryTable* names = TypeTable(type, path);
  if (names == nullptr) return std::nullopt;
  const auto languageTable = FindNameEntry(*names, name);
  if (!languageTable) return std::nullopt;
  const auto data = FirstLanguage(*languageTable, path);
  if (!data) return std::nullopt;
  const auto range = layout_.MapRange(data->Rva, data->Size);
  if (!range) return std::nullopt;
  return ReadFileRange(*stream_, *range);
}

int TPeResources::IconCount() {
  return static_cast<int>(EnumResourceNames(kResourceTypeGroupIcon).size());
}

}  // namespace

std::unique_ptr<TModuleResources> OpenModuleFromStream(std::unique_ptr<TStream> stream) {
  if (!stream) return nullptr;
  auto layout = ReadPeImageLayout(*stream);
  if (!layout) return nullptr;
  std::optional<FileRange> directoryExtent;
  if (layout->ResourceRva != 0) directoryExtent = layout->MapToSectionEnd(layout->ResourceRva);
  return std::make_unique<TPeResources>(std::move(stream), std::move(*layout), directoryExtent);
}

}  // namespace pictarix
