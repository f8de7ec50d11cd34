#pragma once
// An in-memory module: resources by (type, name), enumerated in the order they were added.
#include <cstdint>
#include <optional>
#include <vector>

#include "formats/pe/ModuleResources.h"

namespace pictarix::testing {

class IconFileBuilder;

class FakeModule : public ModuleResources {
 public:
  void AddResource(std::uint16_t type, const ResourceName& name, std::vector<std::uint8_t> bytes);
  // Adds the icon's group resource under `name` and each image's data as an icon resource under
  // its entry's ResourceId.
  void AddGroupIcon(const ResourceName& name, const IconFileBuilder& icon);

  std::vector<ResourceName> EnumResourceNames(std::uint16_t type) override;
  // String names match case-insensitively, as the platform's lookup does.
  std::optional<std::vector<std::uint8_t>> FindResource(std::uint16_t type,
                                                        const ResourceName& name) override;
  int IconCount() override;

 private:
  struct Resource {
    std::uint16_t Type = 0;
    ResourceName Name;
    std::vector<std::uint8_t> Bytes;
  };
  std::vector<Resource> resources_;
};

}  // namespace pictarix::testing
