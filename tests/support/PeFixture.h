#pragma once
// Real PE modules for tests, made at test time by the MinGW binutils from a resource script
// (windres compiles it, ld links a resource-only DLL), and an editor of the built bytes for
// making damaged modules. Without the tools the tests that need them skip.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pictarix::testing {

struct PeToolchain {
  std::filesystem::path Windres;
  std::filesystem::path Ld;
  bool Available() const;
};

// The tools the build found; the paths arrive as compile definitions of the test binary.
#if defined(PICTARIX_WINDRES64) && defined(PICTARIX_LD64)
inline PeToolchain Pe32PlusToolchain() {
  return {PICTARIX_WINDRES64, PICTARIX_LD64};
}
#endif
#if defined(PICTARIX_WINDRES32) && defined(PICTARIX_LD32)
inline PeToolchain Pe32Toolchain() {
  return {PICTARIX_WINDRES32, PICTARIX_LD32};
}
#endif

// Writes `script` as `<name>.rc` into `folder` (beside the files it names, which the test
// writes first), compiles and links it to `<name>.dll`. Nothing when a tool fails; `log` then
// holds what the tools said. windres stores string names in upper case.
std::optional<std::filesystem::path> BuildModule(const PeToolchain& tools,
                                                 const std::filesystem::path& folder,
                                                 const std::string& name, const std::string& script,
                                                 std::string* log = nullptr);

// A 32 bpp icon image (bitmap header with doubled height, pixels all `fill`, zero mask).
std::vector<std::uint8_t> SmallIconImage(std::uint8_t width, std::uint8_t fill);
// An icon file holding `image` (made by SmallIconImage with the same width) as its only image.
std::vector<std::uint8_t> SingleImageIconFile(std::uint8_t width,
                                              const std::vector<std::uint8_t>& image);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A built module's bytes, with the places of its resource directory found independently of
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
  // The entry of `table` with integer id `id` (the test fails when there is none).
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
