#include "formats/ico/IconFileReader.h"

#include <array>
#include <memory>
#include <vector>

#include "formats/ico/IconFileBlocks.h"
#include "model/IconRecords.h"
#include "os/ByteCursor.h"

namespace pictarix {
namespace {

// Moves a stream to Position on every way out of a scope.
struct StreamPositionAtExit {
  explicit StreamPositionAtExit(ByteStream& stream) : Stream(stream), Position(stream.Position()) {}
  ~StreamPositionAtExit() { Stream.Seek(Position); }
  StreamPositionAtExit(const StreamPositionAtExit&) = delete;
  StreamPositionAtExit& operator=(const StreamPositionAtExit&) = delete;

  ByteStream& Stream;
  std::uint64_t Position;
};

// An image from a 16-byte directory entry, its data read from `blocks` at the entry's offset.
std::unique_ptr<IconImage> ImageFromFileEntry(const IconFileEntry& entry, IconFileLayout& blocks) {
  auto image = std::make_unique<IconImage>();
  image->SetEntryFields(entry.Fields);
  image->Data = blocks.Read(entry.ImageOffset, image->BytesInRes);
  image->UpdateFromHeader();
  return image;
}

}  // namespace

bool ReadIconFileHeader(ByteStream& stream, AdvancedIcon& icon, std::uint16_t& count) {
  std::array<std::uint8_t, kIconHeaderSize> raw{};
  const std::size_t got = stream.Read(raw);
  const auto found = IconHeaderCount(std::span(raw.data(), got));
  if (!found) return false;
  count = *found;
  icon.Images.SetCapacity(count);
  return true;
}

void ReadIconFileImages(ByteStream& stream, std::uint16_t count, AdvancedIcon& icon,
                        const EntryImageHook& hook) {
  // The stream ends up after the last entry read, also when that entry's image is refused.
  StreamPositionAtExit after(stream);
  // The whole directory in one read; entries cut off by the end of the file read as zeros.
  std::vector<std::uint8_t> entries(std::size_t{kIconFileEntrySize} * count);
  entries.resize(stream.Read(entries));
  ByteCursor directory(entries);
  IconFileLayout blocks(stream);
  for (int i = 0; i < count; ++i) {
    after.Position += kIconFileEntrySize;
    const IconFileEntry entry =
        IconFileEntry::Parse(directory.TakeZeroFilled<kIconFileEntrySize>());
    std::unique_ptr<IconImage> image = ImageFromFileEntry(entry, blocks);
    if (hook) hook(*image, entry);
    icon.Images.Add(std::move(image));
  }
}

bool ReadIconFile(ByteStream& stream, AdvancedIcon& icon) {
  std::uint16_t count = 0;
  if (!ReadIconFileHeader(stream, icon, count)) return false;
  ReadIconFileImages(stream, count, icon);
  return true;
}

bool ReadIconFile(const std::filesystem::path& path, AdvancedIcon& icon) {
  icon.Images.Clear();
  FileStream stream(path);
  return ReadIconFile(stream, icon);
}

}  // namespace pictarix
