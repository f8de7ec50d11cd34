#pragma once
// The names of one resource type (the second level of a resource directory), read once: in
// directory order for enumeration, and indexed for lookups by id and by case-folded string, so
// that fetching every resource of a type with many entries stays cheap.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "formats/pe/ResourceName.h"
#include "formats/pe/PeResourceDirectory.h"

namespace pictarix {

class PeResourceTypeIndex {
 public:
  // Reads every entry name of `table`. The names together may take no more bytes than the
  // directory holds (as distinct strings in a sound directory do); names that cannot be read,
  // or that would go over that budget (entries sharing one long string), are left out.
  PeResourceTypeIndex(const PeResourceDirectory& directory, ResourceDirectoryTable table);

  const ResourceDirectoryTable& Table() const { return table_; }
  const std::vector<ResourceName>& Names() const { return names_; }
  // The first entry in directory order that carries `name`.
  std::optional<std::size_t> Find(const ResourceName& name) const;

 private:
  ResourceDirectoryTable table_;
  std::vector<ResourceName> names_;
  std::map<std::uint16_t, std::size_t> firstById_;
  std::map<std::u16string, std::size_t> firstByFoldedName_;
};

}  // namespace pictarix
