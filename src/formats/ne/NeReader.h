#pragma once
// The reader of 16-bit NE files (icon libraries and 16-bit programs): yields the resource table
// (the MZ and NE headers and the table, each read in one piece) and the resource blocks; the
// icons are built from them by BuildICL16Icons.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formats/ICLReader.h"
#include "formats/IconList.h"
#include "formats/Progress.h"
#include "formats/ne/NeBlocks.h"
#include "formats/ne/NeResourceTable.h"
#include "os/Stream.h"

namespace pictarix {

class NeReader {
 public:
  // Opens the file read-only (FOpenError propagates).
  explicit NeReader(std::filesystem::path fileName);
  // Reads from a stream already open; `fileName` gives the base name only.
  NeReader(std::filesystem::path fileName, std::unique_ptr<ByteStream> stream);

  // The resource table; an empty table when the table and the resident-name table start at the
  // same place. IconLibraryError with the reason for a file that is no NE file or ends too soon.
  NeResourceTable ReadResourceTable();
  // The blocks of the file's resources for `table`; valid while the reader lives.
  NeBlocks Blocks(const NeResourceTable& table);
  // The table and the icons built from it; every failure raises IconLibraryError.
  std::vector<IconEntry> ReadIcons(const ProgressCallback& progress);

  // The file's name without folder and extension, UTF-8.
  const std::string& BaseName() const { return baseName_; }

 private:
  // Up to `count` bytes at `offset`, fewer where the file ends.
  std::vector<std::uint8_t> ReadAt(std::uint64_t offset, std::uint64_t count);

  std::unique_ptr<ByteStream> stream_;
  std::string baseName_;
};

}  // namespace pictarix
