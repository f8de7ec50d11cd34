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

struct TIconEntry {
  std::string Name;
  std::unique_ptr<TAdvancedIcon> Icon;
};

// An index outside the list: "List index out of bounds (%d)".
class EListError : public EPictarixError {
 public:
  using EPictarixError::EPictarixError;
};

class TIconList {
 public:
  TIconList() = default;
  TIconList(const TIconList&) = delete;
  TIconList& operator=(const TIconList&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
  // EListError for an index outside 0..Count-1.
  const std::string& Name(std::int32_t index) const;
  TAdvancedIcon& Icon(std::int32_t index) const;

  // Appends one entry and takes the icon over; a null icon is ignored. An empty name becomes
  // "Icon " and Count+1 in decimal ("Icon %000d").
  void AddIcon(std::string name, std::unique_ptr<TAdvancedIcon> icon);
  // Appends all entries in order, names as they stand (entries without an icon are skipped).
  void AddAll(std::vector<TIconEntry> entries);
  // Frees every icon.
  void Clear();
  // Frees the entry's icon and removes the entry; EListError (and nothing freed) outside the
  // list.
  void Delete(std::int32_t index);
  // Removes an entry and hands it, with its icon, to the caller; EListError outside the list.
  TIconEntry Extract(std::int32_t index);

 private:
  void CheckIndex(std::int32_t index) const;

  std::vector<TIconEntry> entries_;
};

}  // namespace pictarix
