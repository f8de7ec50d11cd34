#include "formats/ico/GroupIconReader.h"

#include <array>
#include <memory>
#include <string>

#include "model/IconRecords.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"
#include "os/Errors.h"

namespace pictarix {
namespace {

// The name as the platform's "Resource %s not found" shows it.
std::string NameForMessage(const ResourceName& name) {
  return name.IsId ? std::to_string(name.Id) : Utf16ToUtf8(name.Name);
}

// An image from a 14-byte group entry, its data the icon resource the entry names.
std::unique_ptr<IconImage> ImageFromGroupEntry(const std::array<std::uint8_t, kGroupEntrySize>& raw,
                                               PeResources& module) {
  auto image = std::make_unique<IconImage>();
  const GroupIconEntry entry = GroupIconEntry::Parse(raw);
  image->SetEntryFields(entry.Fields);
  auto resource = module.Resource(kResourceTypeIcon, ResourceName::FromId(entry.Id));
  if (!resource) throw ResNotFound("Resource " + std::to_string(entry.Id) + " not found");
  // The whole resource becomes Data; BytesInRes keeps the group entry's value.
  image->SetData(std::move(*resource));
  image->UpdateFromHeader();
  return image;
}

}  // namespace

bool ReadGroupIcon(PeResources& module, const ResourceName& name, AdvancedIcon& icon) {
  auto group = module.Resource(kResourceTypeGroupIcon, name);
  if (!group) throw ResNotFound("Resource " + NameForMessage(name) + " not found");
  const auto count = IconHeaderCount(*group);
  if (!count) return false;
  icon.Images.SetCapacity(*count);
  ByteCursor directory(*group);
  directory.Skip(kIconHeaderSize);
  for (int i = 0; i < *count; ++i) {
    // An entry cut off by the end of the group reads as zeros.
    icon.Images.Add(ImageFromGroupEntry(directory.TakeZeroFilled<kGroupEntrySize>(), module));
  }
  return true;
}

}  // namespace pictarix
