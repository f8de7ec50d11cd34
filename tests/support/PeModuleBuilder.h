#pragma once
// A PE module made in memory: one resource section holding the resources added, each type's
// names in the order they were added (ids and strings as given, so a test also makes orders
// a linker would not).
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "formats/pe/PeResources.h"

namespace pictarix::testing {

class IconFileBuilder;

class PeModuleBuilder {
 public:
  void AddResource(std::uint16_t type, const ResourceName& name, std::vector<std::uint8_t> bytes);
  // A name listed in the directory whose data cannot be reached (its language table is empty).
  void AddUnreadable(std::uint16_t type, const ResourceName& name);
  // Adds the icon's group resource under `name` and each image's data as an icon resource under
  // its entry's ResourceId.
  void AddGroupIcon(const ResourceName& name, const IconFileBuilder& icon);

  std::vector<std::uint8_t> Build() const;
  std::unique_ptr<PeResources> Open() const;

 private:
  struct Resource {
    std::uint16_t Type = 0;
    ResourceName Name;
    std::vector<std::uint8_t> Bytes;
    bool Unreadable = false;
  };
  // Where each part of the resource section goes, as offsets into it.
  struct Layout {
    std::map<std::uint16_t, std::vector<const Resource*>> Types;  // the root lists ids ascending
    std::map<std::uint16_t, std::uint32_t> TypeTable;
    std::map<const Resource*, std::uint32_t> LanguageTable, DataEntry, NameAt, DataAt;
  };
  Layout Plan() const;
  // The resource section as it lies at `rva`.
  std::vector<std::uint8_t> BuildSection(std::uint32_t rva) const;

  std::vector<Resource> resources_;
};

}  // namespace pictarix::testing
