#include "formats/pe/PeImageLayout.h"

#include <algorithm>

#include "os/ByteCursor.h"

namespace pictarix {

namespace {

constexpr std::uint64_t kNewHeaderOffsetField = 0x3C;
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint64_t kDataDirectorySize = 8;

struct OptionalHeaderFields {
  std::uint64_t RvaCountOffset;     // NumberOfRvaAndSizes
  std::uint64_t DirectoriesOffset;  // first data directory
};

std::optional<std::vector<std::uint8_t>> ReadAt(ByteStream& stream, std::uint64_t offset,
                                                std::uint64_t size) {
  return ReadFileRange(stream, FileRange{offset, size});
}

// Fills the resource directory from the optional header; a header too short to hold it, or
// one that says it has fewer directories, leaves the module without resources.
void ReadResourceDirectory(const ByteCursor& optional, const OptionalHeaderFields& fields,
                           PeImageLayout& layout) {
  const auto rvaCount = optional.U32At(fields.RvaCountOffset);
  if (!rvaCount || *rvaCount <= kResourceDirectoryIndex) return;
  const std::uint64_t entry =
      fields.DirectoriesOffset + kResourceDirectoryIndex * kDataDirectorySize;
  const auto rva = optional.U32At(entry);
  const auto size = optional.U32At(entry + 4);
  if (!rva || !size) return;
  layout.ResourceRva = *rva;
  layout.ResourceSize = *size;
}

std::optional<std::vector<PeSection>> ReadSectionTable(ByteStream& stream, std::uint64_t offset,
                                                       std::uint16_t count) {
  const auto table = ReadAt(stream, offset, count * kSectionHeaderSize);
  if (!table) return std::nullopt;
  const ByteCursor cursor(*table);
  std::vector<PeSection> sections(count);
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t at = i * kSectionHeaderSize;
    PeSection& section = sections[static_cast<std::size_t>(i)];
    section.VirtualSize = cursor.U32At(at + 8).value_or(0);
    section.VirtualAddress = cursor.U32At(at + 12).value_or(0);
    section.SizeOfRawData = cursor.U32At(at + 16).value_or(0);
    section.PointerToRawData = cursor.U32At(at + 20).value_or(0);
  }
  return sections;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileRange(ByteStream& stream, FileRange range) {
  const std::uint64_t size = stream.Size();
  if (range.Offset > size || range.Size > size - range.Offset) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(range.Size));
  stream.Seek(range.Offset);
  if (stream.Read(bytes) != bytes.size()) return std::nullopt;
  return bytes;
}

std::optional<FileRange> PeImageLayout::MapToSectionEnd(std::uint32_t rva) const {
  for (const PeSection& section : Sections) {
    if (rva < section.VirtualAddress) continue;
    const std::uint64_t into = std::uint64_t{rva} - section.VirtualAddress;
    if (into >= section.SizeOfRawData) continue;
    const std::uint64_t offset = std::uint64_t{section.PointerToRawData} + into;
    if (offset >= FileSize) return std::nullopt;
    const std::uint64_t rawLeft = std::uint64_t{section.SizeOfRawData} - into;
    return FileRange{offset, std::min(rawLeft, FileSize - offset)};
  }
  return std::nullopt;
}

bool PeImageLayout::SectionCovers(std::uint32_t rva) const {
  for (const PeSection& section : Sections) {
    if (rva >= section.VirtualAddress &&
        std::uint64_t{rva} - section.VirtualAddress < section.SizeOfRawData) {
      return true;
    }
  }
  return false;
}

std::optional<FileRange> PeImageLayout::MapRange(std::uint32_t rva, std::uint64_t size) const {
  const auto extent = MapToSectionEnd(rva);
  if (!extent || size > extent->Size) return std::nullopt;
  return FileRange{extent->Offset, size};
}

std::optional<PeImageLayout> ReadPeImageLayout(ByteStream& stream) {
  PeImageLayout layout;
  layout.FileSize = stream.Size();

  const auto dosHeader = ReadAt(stream, 0, kNewHeaderOffsetField + 4);
  if (!dosHeader) return std::nullopt;
  const ByteCursor dos(*dosHeader);
  if (dos.U16At(0) != 0x5A4D) return std::nullopt;  // "MZ"
  const std::uint64_t peOffset = dos.U32At(kNewHeaderOffsetField).value_or(0);

  const auto peHeader = ReadAt(stream, peOffset, 4 + kFileHeaderSize);
  if (!peHeader) return std::nullopt;
  const ByteCursor pe(*peHeader);
  if (pe.U32At(0) != 0x00004550) return std::nullopt;  // "PE\0\0"
  const std::uint16_t sectionCount = pe.U16At(4 + 2).value_or(0);
  const std::uint16_t optionalSize = pe.U16At(4 + 16).value_or(0);

  const std::uint64_t optionalOffset = peOffset + 4 + kFileHeaderSize;
  const auto optionalHeader = ReadAt(stream, optionalOffset, optionalSize);
  if (!optionalHeader) return std::nullopt;
  const ByteCursor optional(*optionalHeader);
  const auto magic = optional.U16At(0);
  if (magic == kMagicPe32) {
    ReadResourceDirectory(optional, {92, 96}, layout);
  } else if (magic == kMagicPe32Plus) {
    layout.IsPe32Plus = true;
    ReadResourceDirectory(optional, {108, 112}, layout);
  } else {
    return std::nullopt;
  }

  auto sections = ReadSectionTable(stream, optionalOffset + optionalSize, sectionCount);
  if (!sections) return std::nullopt;
  layout.Sections = std::move(*sections);
  return layout;
}

}  // namespace pictarix
