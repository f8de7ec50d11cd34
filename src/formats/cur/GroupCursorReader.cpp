#include "formats/cur/GroupCursorReader.h"

#include <string>

#include "formats/cur/CursorRecords.h"
#include "model/IconRecords.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"
#include "os/Errors.h"

namespace pictarix {

bool ReadGroupCursor(PeResources& module, const ResourceName& name, AdvancedIcon& cursor) {
  const auto group = module.Resource(kResourceTypeGroupCursor, name);
  if (!group) {
    throw ResNotFound("Resource " + (name.IsId ? std::to_string(name.Id) : Utf16ToUtf8(name.Name)) +
                      " not found");
  }
  const auto count = CursorHeaderCount(*group);
  if (!count) return false;
  cursor.Kind = EntryKind::Cursor;
  cursor.Images.SetCapacity(*count);
  ByteCursor directory(*group);
  directory.Skip(kIconHeaderSize);
  for (int i = 0; i < *count; ++i) {
    // The entry's sizes are those of the image with its hotspot; only its id is used, the fields
    // come from the image itself. An entry cut off by the end of the group reads as zeros.
    const GroupIconEntry entry = GroupIconEntry::Parse(directory.TakeZeroFilled<kGroupEntrySize>());
    const auto resource = module.Resource(kResourceTypeCursor, ResourceName::FromId(entry.Id));
    if (!resource) throw ResNotFound("Resource " + std::to_string(entry.Id) + " not found");
    cursor.Images.Add(CursorImageFromResource(*resource));
  }
  return true;
}

}  // namespace pictarix
