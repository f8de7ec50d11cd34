#pragma once
// The writer of icon libraries: the whole list of a library as one 16-bit NE file with a group-
// icon record and an icon-image record, names in Windows-1252 and every block on an alignment
// boundary. The file is assembled in memory, then replaces the target safely.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "library/IconList.h"
#include "library/Progress.h"
#include "platform/Stream.h"

namespace pictarix {

class T16BitWriter {
 public:
  // Writes `icons` (not owned), reporting progress (icons, icons written) while assembling.
  explicit T16BitWriter(const TIconList& icons, TProgress progress = {});

  // Assembles the file and replaces `fileName` with it (EFCreateError propagates; an existing
  // file is never left damaged).
  void Write(const std::filesystem::path& fileName);
  // The whole file. EICLReadError for more than 32767 icons or images, or for data too large
  // for any alignment shift.
  std::vector<std::uint8_t> Assemble();

 private:
  void WriteHeaders();
  void WriteResourceTable();
  void WriteNames();
  // The shift of the size estimate, raised while any offset or length would not fit 16 bits.
  std::uint16_t ChooseAlignShift(std::uint64_t namesEnd) const;
  bool LayoutFits(std::uint64_t namesEnd, unsigned shift) const;
  void Pad();
  void PatchEntry(std::uint64_t entryPos, std::uint64_t start);

  const TIconList& icons_;
  TProgress progress_;
  TMemoryStream stream_;
  std::int64_t totalImages_ = 0;
  std::uint16_t alignShift_ = 1;
  std::vector<std::uint32_t> groupEntryPos_;
  std::vector<std::uint32_t> iconEntryPos_;
};

}  // namespace pictarix
