#pragma once
// The reader of 16-bit NE files (icon libraries and 16-bit programs): parses the MZ and NE
// headers, the resource table and its name strings, and turns every group-icon resource into
// one named icon. The file is read through a stream, only where needed.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "library/ICLReader.h"
#include "library/NeStructures.h"
#include "model/IconImage.h"
#include "platform/ReadBudget.h"
#include "platform/Stream.h"

namespace pictarix {

class T16BitReader : public TICLReader {
 public:
  // Opens the file read-only (EFOpenError propagates).
  T16BitReader(TIconLibrary& library, std::filesystem::path fileName);
  // Reads from a stream already open; `fileName` gives the base name only.
  T16BitReader(TIconLibrary& library, std::filesystem::path fileName,
               std::unique_ptr<TStream> stream);

  // Reads all icons: true on success, false on any error (the icons read so far are freed).
  // Never raises.
  bool ReadIcons() override;

  // The file's name without folder and extension, UTF-8.
  const std::string& BaseName() const { return baseName_; }
  std::uint16_t AlignShift() const { return alignShift_; }
  std::uint16_t IconCount() const { return static_cast<std::uint16_t>(iconEntries_.size()); }
  std::uint16_t GroupCount() const { return static_cast<std::uint16_t>(groupEntries_.size()); }
  // Every type id of the resource table, in file order (after a read got that far).
  const std::vector<std::uint16_t>& TypeIds() const { return typeIds_; }
  // The message of the error that ended the last read; empty after a successful one.
  const std::string& LastError() const { return lastError_; }

  // Index of the first icon-image entry with integer id `id`; EICLReadError "Icon Resource Not
  // Found" when there is none.
  int FindEntry(std::uint16_t id) const;
  // The data of group entry `index`; empty for a length of 0; EICLReadError when the file ends
  // before the block does.
  std::vector<std::uint8_t> ReadGroupBlock(int index);
  // The data of icon-image entry `index` for an image of `bytesInRes` bytes (see the .cpp).
  ImageData ReadImageBlock(int index, std::uint32_t bytesInRes);

 private:
  void Reset();
  void ReadNEHeader();
  void ReadResourceTable();
  std::vector<TResourceEntry> ReadEntries(std::uint16_t count);
  void ReadResourceNames();
  // Counts bytes made from file data against what the file can reasonably give.
  void Spend(std::uint64_t bytes);

  std::unique_ptr<TStream> stream_;
  std::string baseName_;
  std::uint16_t alignShift_ = 0;
  std::uint16_t headerOffset_ = 0;
  std::uint32_t resourceTableOffset_ = 0;
  std::uint32_t namesTableOffset_ = 0;
  std::vector<TResourceEntry> iconEntries_;
  std::vector<TResourceEntry> groupEntries_;
  std::vector<std::int32_t> entryById_;  // first icon-image entry per id, -1 for none
  std::vector<std::uint16_t> typeIds_;
  std::vector<std::string> names_;  // Windows-1252 name strings of the resource table
  // Image blocks already made, by (entry index, BytesInRes): groups that list the same image
  // share its data.
  std::map<std::pair<int, std::uint32_t>, ImageData> blockCache_;
  // Every block made from file data counts against it: groups and images that all point at the
  // same bytes cannot multiply them without bound.
  ReadBudget budget_{0};
  std::string lastError_;
};

}  // namespace pictarix
