#include "formats/cur/CursorFileReader.h"

#include <array>

#include "formats/cur/CursorRecords.h"
#include "formats/ico/IconFileReader.h"
#include "model/IconRecords.h"
#include "os/LittleEndian.h"

namespace pictarix {

bool ReadCursorFile(ByteStream& stream, AdvancedIcon& cursor) {
  std::array<std::uint8_t, kIconHeaderSize> header{};
  const auto count = CursorHeaderCount(std::span(header.data(), stream.Read(header)));
  if (!count) return false;
  cursor.Kind = EntryKind::Cursor;
  cursor.Images.SetCapacity(*count);
  ReadIconFileImages(stream, *count, cursor, [](IconImage& image, const IconFileEntry& entry) {
    // The words an icon file uses for planes and bit count hold the hotspot.
    const std::span<const std::uint8_t, kEntryFieldsSize> fields(entry.Fields);
    image.Hotspot =
        CursorHotspot{LoadLe16(fields.subspan<4, 2>()), LoadLe16(fields.subspan<6, 2>())};
    image.Planes = 1;
  });
  return true;
}

}  // namespace pictarix
