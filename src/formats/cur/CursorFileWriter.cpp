#include "formats/cur/CursorFileWriter.h"

#include "formats/cur/CursorRecords.h"
#include "formats/ico/IconFileWriter.h"
#include "os/LittleEndian.h"

namespace pictarix {

namespace {

IconEntryFields CursorEntryFields(const IconImage& image) {
  IconEntryFields fields = image.EntryFields();
  const CursorHotspot hotspot = image.Hotspot.value_or(CursorHotspot{});
  const auto x = Le16Bytes(hotspot.X);
  const auto y = Le16Bytes(hotspot.Y);
  fields[4] = x[0];
  fields[5] = x[1];
  fields[6] = y[0];
  fields[7] = y[1];
  return fields;
}

}  // namespace

void WriteCursorFile(const AdvancedIcon& cursor, ByteStream& stream) {
  WriteIconDirectoryFile(cursor, kCursorHeaderType, CursorEntryFields, stream);
}

}  // namespace pictarix
