#include "support/FakeModule.h"

#include <algorithm>

#include "formats/pe/ResourceNameCase.h"
#include "support/IconFileBuilder.h"

namespace pictarix::testing {
namespace {

bool SameName(const ResourceName& a, const ResourceName& b) {
  if (a.IsId != b.IsId) return false;
  if (a.IsId) return a.Id == b.Id;
  return std::equal(
      a.Name.begin(), a.Name.end(), b.Name.begin(), b.Name.end(),
      [](char16_t x, char16_t y) { return FoldResourceNameChar(x) == FoldResourceNameChar(y); });
}

}  // namespace

void FakeModule::AddResource(std::uint16_t type, const ResourceName& name,
                             std::vector<std::uint8_t> bytes) {
  resources_.push_back(Resource{type, name, std::move(bytes)});
}

void FakeModule::AddGroupIcon(const ResourceName& name, const IconFileBuilder& icon) {
  AddResource(kResourceTypeGroupIcon, name, icon.BuildGroup());
  for (const auto& entry : icon.Entries()) {
    AddResource(kResourceTypeIcon, ResourceName::FromId(entry.ResourceId), entry.Data);
  }
}

std::vector<ResourceName> FakeModule::EnumResourceNames(std::uint16_t type) {
  std::vector<ResourceName> names;
  for (const Resource& r : resources_) {
    if (r.Type == type) names.push_back(r.Name);
  }
  return names;
}

std::optional<std::vector<std::uint8_t>> FakeModule::FindResource(std::uint16_t type,
                                                                  const ResourceName& name) {
  for (const Resource& r : resources_) {
    if (r.Type == type && SameName(r.Name, name)) return r.Bytes;
  }
  return std::nullopt;
}

int FakeModule::IconCount() {
  return static_cast<int>(EnumResourceNames(kResourceTypeGroupIcon).size());
}

}  // namespace pictarix::testing
