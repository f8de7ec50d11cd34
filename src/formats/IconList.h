#pragma once
// The named icons of one file: an ordered, unsorted list of (name, icon) entries that owns its
// icons. Names are UTF-8 and need not be unique.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/AdvancedIcon.h"
#include "os/Errors.h"

namespace pictarix {

struct IconEntry {
  std::string Name;
  std::unique_ptr<AdvancedIcon> Icon;
};

// An index outside the list: "List index out of bounds (%d)".
class ListError : public PictarixError {
 public:
  using PictarixError::PictarixError;
};

class IconList {
 public:
  IconList() = default;
  IconList(const IconList&) = delete;
  IconList& operator=(const IconList&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
  // ListError for an index outside 0..Count-1.
  const std::string& Name(std::int32_t index) const;
  AdvancedIcon& Icon(std::int32_t index) const;

  // Appends one entry and takes the icon over; a null icon is ignored. An empty name becomes
  // "Icon " and Count+1 in decimal ("Icon %000d").
  void AddIcon(std::string name, std::unique_ptr<AdvancedIcon> icon);
  // Appends all entries in order, names as they stand (entries without an icon are skipped).
  void AddAll(std::vector<IconEntry> entries);
  // Frees every icon.
  void Clear();
  // Frees the entry's icon and removes the entry; ListError (and nothing freed) outside the
  // list.
  void Delete(std::int32_t index);
  // Removes an entry and hands it, with its icon, to the caller; ListError outside the list.
  IconEntry Extract(std::int32_t index);

 private:
  void CheckIndex(std::int32_t index) const;

  std::vector<IconEntry> entries_;
};

}  // namespace pictarix
