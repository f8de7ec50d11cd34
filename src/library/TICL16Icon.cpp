#include "library/TICL16Icon.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "library/T16BitReader.h"

namespace pictarix {
namespace {

// "%s %0.3d"
std::string NumberedName(const std::string& baseName, int number) {
  std::array<char, 16> digits{};
  std::snprintf(digits.data(), digits.size(), "%03d", number);
  return baseName + " " + digits.data();
}

}  // namespace

TICL16IconImage::TICL16IconImage(const IconEntryFields& fields, ImageData block) {
  SetEntryFields(fields);
  Data = std::move(block);
  UpdateFromHeader();
}

void TICL16Icon::LoadGroup(T16BitReader& reader, int index) {
  Name = NumberedName(reader.BaseName(), index + 1);
  std::vector<std::uint8_t> block = reader.ReadGroupBlock(index);
  if (block.empty()) return;

  // A directory shorter than its image count needs is refused as a whole: the entries it lacks
  // are neither read past its end nor made up.
  std::array<std::uint8_t, kIconHeaderSize> rawHeader{};
  if (block.size() >= rawHeader.size()) {
    std::copy_n(block.begin(), rawHeader.size(), rawHeader.begin());
    const IconHeader header = IconHeader::Parse(rawHeader);
    if (header.IsIcon() &&
        kIconHeaderSize + std::uint64_t{kGroupEntrySize} * header.Count > block.size()) {
      throw EICLReadError("Icon group directory shorter than its image count");
    }
  }

  TMemoryStream directory(std::move(block));
  std::uint16_t count = 0;
  if (!ReadHeader(directory, count)) return;
  for (int i = 0; i < count; ++i) LoadImage(reader, directory);
}

void TICL16Icon::LoadImage(T16BitReader& reader, TStream& directory) {
  std::array<std::uint8_t, kGroupEntrySize> raw{};
  directory.ReadBuffer(raw);
  const GroupIconEntry entry = GroupIconEntry::Parse(raw);
  const int index = reader.FindEntry(entry.Id);
  Images.Add(std::make_unique<TICL16IconImage>(entry.Fields,
                                               reader.ReadImageBlock(index, entry.BytesInRes())));
}

}  // namespace pictarix
