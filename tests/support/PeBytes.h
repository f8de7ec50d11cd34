#pragma once
// A built module's bytes, for making damaged modules in tests.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace pictarix::testing {

// The bytes, with the places of its resource directory found independently of
// the reader under test (the section by its name ".rsrc").
class PeBytes {
 public:
  explicit PeBytes(const std::filesystem::path& path);

  std::vector<std::uint8_t>& Bytes() { return bytes_; }
  void Save(const std::filesystem::path& path) const;
  std::uint32_t U32(std::uint64_t offset) const;
  void SetU32(std::uint64_t offset, std::uint32_t value);
  void SetU16(std::uint64_t offset, std::uint16_t value);

  // File offset of data directory 2 (the resource directory's RVA, then its size).
  std::uint64_t ResourceDataDirectory() const;
  std::uint64_t ResourceSectionOffset() const { return rsrcOffset_; }
  std::uint32_t ResourceSectionRva() const { return rsrcRva_; }
  std::uint32_t ResourceSectionRawSize() const { return rsrcRawSize_; }

  // Resource directory navigation, all in file offsets. The root table:
  std::uint64_t Root() const { return rsrcOffset_; }
  // The entry of `table` with integer id `id` (throws when there is none).
  std::uint64_t EntryWithId(std::uint64_t table, std::uint16_t id) const;
  std::uint64_t EntryAt(std::uint64_t table, std::size_t index) const;
  // What an entry points at: a table or a data entry.
  std::uint64_t Target(std::uint64_t entry) const;
  // Makes an entry point at the table at file offset `table` (as a subdirectory).
  void PointAtTable(std::uint64_t entry, std::uint64_t table);

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t peOffset_ = 0;
  std::uint64_t rsrcOffset_ = 0;
  std::uint32_t rsrcRva_ = 0;
  std::uint32_t rsrcRawSize_ = 0;
};

}  // namespace pictarix::testing
