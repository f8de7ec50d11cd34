#include "formats/IconList.h"

#include <string>

namespace pictarix {

void IconList::CheckIndex(std::int32_t index) const {
  if (index < 0 || index >= Count()) {
    throw ListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

const std::string& IconList::Name(std::int32_t index) const {
  CheckIndex(index);
  return entries_[static_cast<std::size_t>(index)].Name;
}

AdvancedIcon& IconList::Icon(std::int32_t index) const {
  CheckIndex(index);
  return *entries_[static_cast<std::size_t>(index)].Icon;
}

void IconList::AddIcon(std::string name, std::unique_ptr<AdvancedIcon> icon) {
  if (!icon) return;
  if (name.empty()) name = "Icon " + std::to_string(Count() + 1);
  entries_.push_back(IconEntry{std::move(name), std::move(icon)});
}

void IconList::AddAll(std::vector<IconEntry> entries) {
  entries_.reserve(entries_.size() + entries.size());
  for (auto& entry : entries) {
    if (entry.Icon) entries_.push_back(std::move(entry));
  }
}

void IconList::Clear() {
  entries_.clear();
}

void IconList::Delete(std::int32_t index) {
  CheckIndex(index);
  entries_.erase(entries_.begin() + index);
}

IconEntry IconList::Extract(std::int32_t index) {
  CheckIndex(index);
  IconEntry entry = std::move(entries_[static_cast<std::size_t>(index)]);
  entries_.erase(entries_.begin() + index);
  return entry;
}

}  // namespace pictarix
