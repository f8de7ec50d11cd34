#pragma once
// The writer of icon libraries: the whole list of a library as one 16-bit NE file with a group-
// icon record and an icon-image record, names in Windows-1252 and every block on an alignment
// boundary. The whole layout is planned first, so that every header field is written once with
// its true value and a library the format or the reader cannot hold is refused before anything
// is written; the file is then written front to back into a sink.
#include <cstdint>
#include <string>
#include <vector>

#include "formats/IconList.h"
#include "formats/Progress.h"
#include "os/ByteSink.h"
#include "os/Stream.h"

namespace pictarix {

class IconLibraryWriter {
 public:
  // The most icons and images together: the names follow the table of 12-byte resource entries,
  // and the NE header's 16-bit field for their position must reach them.
  static const std::int64_t kMaxResources;

  // Writes `icons` (not owned), reporting progress (icons, icons written) while writing.
  explicit IconLibraryWriter(const IconList& icons, ProgressCallback progress = {});

  // Checks the limits and places every block: IconLibraryError for more than 32767 icons or
  // images, more than kMaxResources in all, data too large for any alignment shift, or blocks
  // that the reader's budget (ReadBudget) would refuse. Write and Assemble plan first unless
  // planned, so nothing is written for a library that is refused.
  void Plan();
  // Streams the file into `sink` in pieces of at most a few MiB, an image's data as it is; the
  // sink's errors propagate.
  void Write(ByteSink& sink);
  // The whole file in memory.
  std::vector<std::uint8_t> Assemble();

 private:
  void CheckCounts() const;
  // The shift of the size estimate, raised while any offset or length would not fit 16 bits.
  std::uint16_t ChooseAlignShift(std::uint64_t namesEnd);
  // Places every block at `shift`; false when an offset or length does not fit 16 bits.
  bool PlaceBlocks(std::uint64_t namesEnd, unsigned shift);
  void CheckReadBudget() const;
  void WriteFile(ByteStream& out) const;
  void WriteHeaders(ByteStream& out) const;
  void WriteResourceTable(ByteStream& out) const;
  void WriteNames(ByteStream& out) const;
  void WriteEntry(ByteStream& out, std::size_t block, std::uint16_t id) const;
  void PadTo(ByteStream& out, std::size_t block) const;
  std::uint64_t FileSize() const { return starts_.back() + 2; }

  const IconList& icons_;
  ProgressCallback progress_;
  bool planned_ = false;
  std::int64_t totalImages_ = 0;
  // The names as the file stores them, each at most 255 bytes.
  std::vector<std::string> names_;
  std::uint16_t namesField_ = 0;
  std::uint16_t alignShift_ = 1;
  // Where each group directory, then each image, starts; last, where the last block ends.
  std::vector<std::uint64_t> starts_;
};

}  // namespace pictarix
