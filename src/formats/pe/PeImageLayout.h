#pragma once
// The parts of a PE (PE32 or PE32+) module's headers that resource access needs: where the
// resource directory lies and how relative virtual addresses map to file offsets. Only the
// headers are read; nothing of the module is mapped, relocated or run.
#include <cstdint>
#include <optional>
#include <vector>

#include "os/Stream.h"

namespace pictarix {

struct PeSection {
  std::uint32_t VirtualAddress = 0;
  std::uint32_t VirtualSize = 0;
  std::uint32_t SizeOfRawData = 0;
  std::uint32_t PointerToRawData = 0;
};

// A run of bytes of the file: [Offset, Offset + Size), wholly inside the file.
struct FileRange {
  std::uint64_t Offset = 0;
  std::uint64_t Size = 0;
};

struct PeImageLayout {
  bool IsPe32Plus = false;
  // Data directory 2; an RVA of 0 means the module has no resources.
  std::uint32_t ResourceRva = 0;
  std::uint32_t ResourceSize = 0;
  std::vector<PeSection> Sections;
  std::uint64_t FileSize = 0;

  // The file bytes of [rva, rva + size) when they lie wholly inside the raw data of one
  // section (the first in table order that holds `rva`) and inside the file.
  std::optional<FileRange> MapRange(std::uint32_t rva, std::uint64_t size) const;
  // The file bytes from `rva` to the end of its section's raw data (cut at the end of the file).
  std::optional<FileRange> MapToSectionEnd(std::uint32_t rva) const;
  // Whether a section's raw data covers `rva`, whether or not the file still holds it.
  bool SectionCovers(std::uint32_t rva) const;
};

// Reads the bytes of `range`; nothing when the stream holds fewer (the size is checked against
// the stream before anything is allocated).
std::optional<std::vector<std::uint8_t>> ReadFileRange(ByteStream& stream, FileRange range);

// Reads and checks the headers: "MZ", the "PE\0\0" signature at the offset held at 0x3C, the
// file header, the optional header (magic 0x10B or 0x20B) and the section table. Nothing when
// the stream does not hold a PE module.
std::optional<PeImageLayout> ReadPeImageLayout(ByteStream& stream);

}  // namespace pictarix
