#include "formats/ico/IconFileWriter.h"

#include <cstdint>
#include <vector>

#include "formats/ico/ImageDataWriter.h"
#include "model/IconRecords.h"
#include "os/Errors.h"

namespace pictarix {

void WriteIconFile(const AdvancedIcon& icon, ByteStream& stream) {
  WriteIconDirectoryFile(
      icon, kIconResourceType, [](const IconImage& image) { return image.EntryFields(); }, stream);
}

void WriteIconDirectoryFile(const AdvancedIcon& icon, std::uint16_t type, EntryFieldsOf fields,
                            ByteStream& stream) {
  const IconImageList& images = icon.Images;
  const std::uint16_t count = images.Count();
  if (count == 0) return;
  // Data blocks follow the directory contiguously, in list order. Every offset must fit the
  // entry's 32 bits, or the file could not describe itself: refuse before writing anything.
  std::vector<std::uint32_t> offsets(count);
  std::uint64_t offset = kIconHeaderSize + std::uint64_t{kIconFileEntrySize} * count;
  for (int i = 0; i < count; ++i) {
    if (offset > UINT32_MAX) throw FormatError("Icon too large for an icon file");
    offsets[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(offset);
    offset += images.Get(i)->BytesInRes;
  }
  IconHeader{0, type, count}.Write(stream);
  for (int i = 0; i < count; ++i) {
    IconFileEntry{fields(*images.Get(i)), offsets[static_cast<std::size_t>(i)]}.Write(stream);
  }
  for (int i = 0; i < count; ++i) WriteImageData(*images.Get(i), stream);
}

}  // namespace pictarix
