#pragma once
// How a module names a resource, and the two resource types that hold icons.
#include <cstdint>
#include <string>

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

}  // namespace pictarix
