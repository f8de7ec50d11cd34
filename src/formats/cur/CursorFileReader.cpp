#include "formats/cur/CursorFileReader.h"

#include <array>
#include <memory>
#include <vector>

#include "formats/cur/CursorRecords.h"
#include "formats/ico/IconFileBlocks.h"
#include "model/IconRecords.h"
#include "os/ByteCursor.h"

namespace pictarix {

bool ReadCursorFile(ByteStream& stream, AdvancedIcon& cursor) {
  std::array<std::uint8_t, kIconHeaderSize> header{};
  const auto count = CursorHeaderCount(std::span(header.data(), stream.Read(header)));
  if (!count) return false;
  cursor.Kind = EntryKind::Cursor;
  cursor.Images.SetCapacity(*count);
  // The whole directory in one read; entries cut off by the end of the file read as zeros.
  std::vector<std::uint8_t> entries(std::size_t{kIconFileEntrySize} * *count);
  entries.resize(stream.Read(entries));
  ByteCursor directory(entries);
  IconFileLayout blocks(stream);
  for (int i = 0; i < *count; ++i) {
    const IconFileEntry entry =
        IconFileEntry::Parse(directory.TakeZeroFilled<kIconFileEntrySize>());
    auto image = std::make_unique<IconImage>();
    image->SetEntryFields(entry.Fields);
    // The words an icon file uses for planes and bit count hold the hotspot.
    image->Hotspot = CursorHotspot{image->Planes, image->BitCount};
    image->Planes = 1;
    image->Data = blocks.Read(entry.ImageOffset, image->BytesInRes);
    image->UpdateFromHeader();
    cursor.Images.Add(std::move(image));
  }
  return true;
}

}  // namespace pictarix
