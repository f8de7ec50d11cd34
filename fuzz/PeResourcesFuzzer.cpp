// Feeds any bytes to the PE resource reader as a module, enumerates the group icons and icon
// images and fetches each one, by its name as enumerated and by the same name in lower case.
// Invariants checked: enumeration is stable, a fetched resource is never larger than the input,
// a string name fetches the same bytes whatever its case, and the icon count is the number of
// group icons.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "formats/pe/PeResources.h"
#include "os/Stream.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::u16string LowerCaseAscii(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictarix;
  auto module = PeResources::Open(
      std::make_unique<MemoryStream>(std::vector<std::uint8_t>(data, data + size)));
  if (!module) return 0;
  for (const std::uint16_t type : {kResourceTypeGroupIcon, kResourceTypeIcon}) {
    const auto names = module->Names(type);
    Check(module->Names(type) == names);
    for (const ResourceName& name : names) {
      const auto bytes = module->Resource(type, name);
      if (bytes) Check(bytes->size() <= size);
      if (!name.IsId) {
        Check(module->Resource(type, ResourceName::FromName(LowerCaseAscii(name.Name))) == bytes);
      }
    }
  }
  Check(module->IconCount() == static_cast<int>(module->Names(kResourceTypeGroupIcon).size()));
  return 0;
}
