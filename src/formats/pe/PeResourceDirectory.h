#pragma once
// Bounded reads of a PE resource directory: its tables, entry names and data entries. Offsets
// inside the directory count from its start; nothing is read outside the directory's extent
// (from the directory to the end of the section holding it), and no count from the file is
// trusted before it is checked against that extent.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "formats/pe/PeImageLayout.h"
#include "os/Stream.h"

namespace pictarix {

struct ResourceDirectoryEntry {
  bool IsNamed = false;  // the name is a string at NameOffset, else the integer Id
  std::uint32_t NameOffset = 0;
  std::uint16_t Id = 0;
  bool IsSubdirectory = false;  // Offset holds a table, else a data entry
  std::uint32_t Offset = 0;
};

struct ResourceDirectoryTable {
  std::uint32_t Offset = 0;
  std::uint64_t ByteSize = 0;                   // header and every entry its counts claim
  std::vector<ResourceDirectoryEntry> Entries;  // as stored: named entries first, then ids
};

struct ResourceDataEntry {
  std::uint32_t Rva = 0;
  std::uint32_t Size = 0;
};

constexpr std::uint64_t kResourceDataEntrySize = 16;

class PeResourceDirectory {
 public:
  // `extent`: the file bytes from the directory's start to the end of its section.
  PeResourceDirectory(ByteStream& stream, FileRange extent) : stream_(stream), extent_(extent) {}

  // The table at `offset` with at most `maxEntries` of its entries read. Nothing when the
  // whole table its counts claim does not fit inside the extent.
  std::optional<ResourceDirectoryTable> ReadTable(
      std::uint32_t offset, std::size_t maxEntries = std::numeric_limits<std::size_t>::max()) const;
  // The bytes the directory may use, from its start to the end of its section.
  std::uint64_t Size() const { return extent_.Size; }
  // A length-prefixed UTF-16 entry name, and its length alone.
  std::optional<std::u16string> ReadName(std::uint32_t offset) const;
  std::optional<std::uint16_t> NameLength(std::uint32_t offset) const;
  std::optional<ResourceDataEntry> ReadDataEntry(std::uint32_t offset) const;

 private:
  std::optional<std::vector<std::uint8_t>> ReadInside(std::uint64_t offset,
                                                      std::uint64_t size) const;
  // Reads more of the directory's first bytes, where its structures lie, so that it holds at
  // least `end` bytes: twice as much as before each time, so a large directory takes a few
  // reads. False when that would exceed kMaxPrefix (then reads go to the stream one by one).
  bool GrowPrefix(std::uint64_t end) const;

  static constexpr std::uint64_t kFirstRead = 64u << 10;
  static constexpr std::uint64_t kMaxPrefix = 16u << 20;

  ByteStream& stream_;
  FileRange extent_;
  mutable std::vector<std::uint8_t> prefix_;
};

// The directory structures on the way from the root to where a lookup stands. A step onto
// bytes that one of them already occupies (a subdirectory pointing back at an ancestor or at
// itself, or laid over one) is refused, so no lookup can go round in a loop.
class ResourceDirectoryPath {
 public:
  bool Enter(std::uint64_t offset, std::uint64_t size);

 private:
  struct Span {
    std::uint64_t Begin;
    std::uint64_t End;
  };
  std::vector<Span> spans_;
};

}  // namespace pictarix
