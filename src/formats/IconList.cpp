#include "formats/IconList.h"

#include <string>

namespace pictarix {

void TIconList::CheckIndex(std::int32_t index) const {
  if (index < 0 || index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

const std::string& TIconList::Name(std::int32_t index) const {
  CheckIndex(index);
  return entries_[static_cast<std::size_t>(index)].Name;
}

TAdvancedIcon& TIconList::Icon(std::int32_t index) const {
  CheckIndex(index);
  return *entries_[static_cast<std::size_t>(index)].Icon;
}

void TIconList::AddIcon(std::string name, std::unique_ptr<TAdvancedIcon> icon) {
  if (!icon) return;
  if (name.empty()) name = "Icon " + std::to_string(Count() + 1);
  entries_.push_back(TIconEntry{std::move(name), std::move(icon)});
}

void TIconList::AddAll(std::vector<TIconEntry> entries) {
  entries_.reserve(entries_.size() + entries.size());
  for (auto& entry : entries) {
    if (entry.Icon) entries_.push_back(std::move(entry));
  }
}

void TIconList::Clear() {
  entries_.clear();
}

void TIconList::Delete(std::int32_t index) {
  CheckIndex(index);
  entries_.erase(entries_.begin() + index);
}

TIconEntry TIconList::Extract(std::int32_t index) {
  CheckIndex(index);
  TIconEntry entry = std::move(entries_[static_cast<std::size_t>(index)]);
  entries_.erase(entries_.begin() + index);
  return entry;
}

}  // namespace pictarix
