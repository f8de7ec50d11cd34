#pragma once
// Access to the resources of a module opened as data: what the platform's module-resource
// interface offers (open as data file, enumerate names of a type, find/load/size a resource,
// release). Nothing of a module is ever executed or relocated.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pictarix {

constexpr std::uint16_t kResourceTypeIcon = 3;
constexpr std::uint16_t kResourceTypeGroupIcon = 14;

// A resource name: an integer id (0..65535) or a string (UTF-16, as modules store it).
struct ResourceName {
  bool IsId = true;
  std::uint16_t Id = 0;
  std::u16string Name;

  static ResourceName FromId(std::uint16_t id) { return ResourceName{true, id, {}}; }
  static ResourceName FromName(std::u16string name) {
    return ResourceName{false, 0, std::move(name)};
  }
  bool operator==(const ResourceName&) const = default;
};

class ModuleResources {
 public:
  virtual ~ModuleResources() = default;

  // Names of every resource of `type`, in the order of the resource directory: string names
  // first, then integer ids ascending, as stored.
  virtual std::vector<ResourceName> EnumResourceNames(std::uint16_t type) = 0;

  // The bytes of one resource (the first language in directory order); string names match
  // case-insensitively. Nothing when the module has no such resource or it cannot be read.
  virtual std::optional<std::vector<std::uint8_t>> FindResource(std::uint16_t type,
                                                                const ResourceName& name) = 0;

  // The module's icon count as the platform reports it (used only as a progress total).
  virtual int IconCount() = 0;

  // How many fetches found nothing because the module's read limit was reached (the resource
  // itself is there): what a reader leaves out for this reason it must say.
  virtual std::uint64_t FetchesOverReadLimit() const { return 0; }
};

// Opens a module as data; nothing when it cannot be loaded as a module. Releasing the result
// releases the module.
std::unique_ptr<ModuleResources> OpenModuleAsData(const std::filesystem::path& path);

}  // namespace pictarix
