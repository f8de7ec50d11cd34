#include "formats/pe/PeResourceTypeIndex.h"

#include "formats/pe/ResourceNameCase.h"

namespace pictarix {

namespace {

std::u16string Folded(std::u16string text) {
  for (char16_t& c : text) c = FoldResourceNameChar(c);
  return text;
}

}  // namespace

PeResourceTypeIndex::PeResourceTypeIndex(const PeResourceDirectory& directory,
                                         ResourceDirectoryTable table)
    : table_(std::move(table)) {
  std::uint64_t nameBytesLeft = directory.Size();
  names_.reserve(table_.Entries.size());
  for (std::size_t i = 0; i < table_.Entries.size(); ++i) {
    const ResourceDirectoryEntry& entry = table_.Entries[i];
    if (!entry.IsNamed) {
      names_.push_back(ResourceName::FromId(entry.Id));
      firstById_.emplace(entry.Id, i);  // keeps the first of equal ids
      continue;
    }
    const auto length = directory.NameLength(entry.NameOffset);
    if (!length || 2 + 2 * std::uint64_t{*length} > nameBytesLeft) continue;
    auto text = directory.ReadName(entry.NameOffset);
    if (!text) continue;
    nameBytesLeft -= 2 + 2 * std::uint64_t{*length};
    firstByFoldedName_.emplace(Folded(*text), i);
    names_.push_back(ResourceName::FromName(std::move(*text)));
  }
}

std::optional<std::size_t> PeResourceTypeIndex::Find(const ResourceName& name) const {
  if (name.IsId) {
    const auto found = firstById_.find(name.Id);
    if (found == firstById_.end()) return std::nullopt;
    return found->second;
  }
  const auto found = firstByFoldedName_.find(Folded(name.Name));
  if (found == firstByFoldedName_.end()) return std::nullopt;
  return found->second;
}

}  // namespace pictarix
