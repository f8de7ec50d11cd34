#include "library/T16BitWriter.h"

#include <algorithm>
#include <array>

#include "library/IconLibrary.h"
#include "library/NeStructures.h"
#include "model/IconRecords.h"
#include "platform/CodePage.h"
#include "platform/LittleEndian.h"
#include "platform/SafeFile.h"

namespace pictarix {
namespace {

constexpr std::uint16_t kUnpatchedOffset = 0x00FF;
constexpr std::uint16_t kUnpatchedLength = 0xFF00;
constexpr std::size_t kMaxNameLength = 255;  // one length byte
constexpr std::uint8_t kTargetWindows = 2;
constexpr std::uint8_t kWindowsMajorVersion = 3;
// Offsets of the header fields and tables; the same for every file.
constexpr std::uint32_t kNeHeaderPos = 128;
constexpr std::uint32_t kNamesFieldPos = 166;
constexpr std::uint32_t kResourceTablePos = 192;

std::uint64_t AlignUp(std::uint64_t position, unsigned shift) {
  const std::uint64_t unit = std::uint64_t{1} << shift;
  return (position + unit - 1) / unit * unit;
}

bool FitsInUnits(std::uint64_t value, unsigned shift) {
  return (value >> shift) <= 0xFFFF;
}

std::uint64_t DirectorySize(const TAdvancedIcon& icon) {
  return kIconHeaderSize + std::uint64_t{kGroupEntrySize} * icon.Images.Count();
}

}  // namespace

T16BitWriter::T16BitWriter(const TIconList& icons, TProgress progress)
    : icons_(icons), progress_(std::move(progress)) {
  for (std::int32_t i = 0; i < icons_.Count(); ++i) totalImages_ += icons_.Icon(i).Images.Count();
}

void T16BitWriter::Write(const std::filesystem::path& fileName) {
  const std::vector<std::uint8_t> bytes = Assemble();
  ReplaceFileContents(fileName, bytes);
}

std::vector<std::uint8_t> T16BitWriter::Assemble() {
  const TIconList& icons = icons_;
  if (icons.Count() > kMaxLibraryIcons) {
    throw EICLReadError("Iconlibraries with more than 32767 Icons are not possible");
  }
  // Image ids carry the high bit, so 32767 is the most a library can number.
  if (totalImages_ > kMaxLibraryIcons) {
    throw EICLReadError("Iconlibraries with more than 32767 Images are not possible");
  }
  stream_ = TMemoryStream();
  groupEntryPos_.clear();
  iconEntryPos_.clear();

  WriteHeaders();
  WriteResourceTable();
  WriteNames();
  alignShift_ = ChooseAlignShift(stream_.Position());
  stream_.Patch(kResourceTablePos, Le16Bytes(alignShift_));

  Pad();
  std::uint16_t imageId = 0;  // images are numbered 1.. through all icons in list order
  for (std::int32_t i = 0; i < icons.Count(); ++i) {
    const TAdvancedIcon& icon = icons.Icon(i);
    const std::uint64_t start = stream_.Position();
    IconHeader{0, kIconResourceType, icon.Images.Count()}.Write(stream_);
    for (int j = 0; j < icon.Images.Count(); ++j) {
      GroupIconEntry{icon.Images.Get(j)->EntryFields(), ++imageId}.Write(stream_);
    }
    Pad();
    PatchEntry(groupEntryPos_[static_cast<std::size_t>(i)], start);
  }
  std::size_t imageNumber = 0;
  for (std::int32_t i = 0; i < icons.Count(); ++i) {
    const TAdvancedIcon& icon = icons.Icon(i);
    for (int j = 0; j < icon.Images.Count(); ++j) {
      const TIconImage& image = *icon.Images.Get(j);
      const std::uint64_t start = stream_.Position();
      // Always BytesInRes bytes, so the file agrees with its directory.
      if (image.HasData()) {
        image.WriteData(stream_);
      } else {
        stream_.WriteZeros(image.BytesInRes);
      }
      Pad();
      PatchEntry(iconEntryPos_[imageNumber++], start);
    }
    if (progress_) progress_(icons.Count(), i + 1);
  }
  stream_.WriteU16(0);
  return stream_.TakeBytes();
}

void T16BitWriter::WriteHeaders() {
  stream_.Write(std::array<std::uint8_t, 2>{'M', 'Z'});
  stream_.WriteZeros(kNewHeaderOffsetField - stream_.Position());
  stream_.WriteU32(kNeHeaderPos);
  stream_.WriteZeros(kNeHeaderPos - 2 - stream_.Position());
  stream_.Write(std::array<std::uint8_t, 2>{'I', 'M'});
  stream_.Write(std::array<std::uint8_t, 2>{'N', 'E'});
  stream_.WriteZeros(32);
  stream_.WriteU16(64);  // segment table: empty, right after the 64-byte header
  stream_.WriteU16(kResourceTablePos - kNeHeaderPos);
  stream_.WriteU16(0);  // resident-name table, set once the names are placed
  stream_.WriteZeros(14);
  stream_.WriteU8(kTargetWindows);
  stream_.WriteZeros(8);
  stream_.WriteU8(kWindowsMajorVersion);
}

void T16BitWriter::WriteResourceTable() {
  const TIconList& icons = icons_;
  stream_.WriteU16(0);  // alignment shift, set once chosen
  const auto writeUnpatchedEntry = [this](std::uint32_t number) {
    stream_.Write(TResourceEntry{kUnpatchedOffset, kUnpatchedLength, kNeResourceFlags,
                                 static_cast<std::uint16_t>(kResourceIdIsInteger + number), 0, 0}
                      .Serialize());
  };
  stream_.WriteU16(kNeTypeGroupIcon);
  stream_.WriteU16(static_cast<std::uint16_t>(icons.Count()));
  stream_.WriteU32(0);
  for (std::int32_t i = 1; i <= icons.Count(); ++i) {
    groupEntryPos_.push_back(static_cast<std::uint32_t>(stream_.Position()));
    writeUnpatchedEntry(static_cast<std::uint32_t>(i));
  }
  stream_.WriteU16(kNeTypeIcon);
  stream_.WriteU16(static_cast<std::uint16_t>(totalImages_));
  stream_.WriteU32(0);
  for (std::int64_t k = 1; k <= totalImages_; ++k) {
    iconEntryPos_.push_back(static_cast<std::uint32_t>(stream_.Position()));
    writeUnpatchedEntry(static_cast<std::uint32_t>(k));
  }
  stream_.WriteU16(0);
}

void T16BitWriter::WriteNames() {
  const auto namesField = static_cast<std::uint16_t>(stream_.Position() - kNeHeaderPos);
  stream_.Patch(kNamesFieldPos, Le16Bytes(namesField));
  const auto writeName = [this](const std::string& bytes) {
    const std::size_t length = std::min(bytes.size(), kMaxNameLength);
    stream_.WriteU8(static_cast<std::uint8_t>(length));
    stream_.Write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), length));
  };
  writeName(kIclModuleName);
  const TIconList& icons = icons_;
  for (std::int32_t i = 0; i < icons.Count(); ++i) writeName(Utf8ToWindows1252(icons.Name(i)));
  stream_.WriteU8(0);
}

std::uint16_t T16BitWriter::ChooseAlignShift(std::uint64_t namesEnd) const {
  const TIconList& icons = icons_;
  std::uint64_t estimate = namesEnd;
  for (std::int32_t i = 0; i < icons.Count(); ++i) {
    const TAdvancedIcon& icon = icons.Icon(i);
    estimate += kIconHeaderSize;
    for (int j = 0; j < icon.Images.Count(); ++j) {
      estimate += kGroupEntrySize + icon.Images.Get(j)->BytesInRes;
    }
  }
  unsigned shift = 0;
  while (shift <= kMaxAlignShift && (std::uint64_t{0xFFFF} << shift) < estimate) ++shift;
  // The estimate leaves out the padding; the shift grows until the real layout fits.
  while (shift <= kMaxAlignShift && !LayoutFits(namesEnd, shift)) ++shift;
  if (shift > kMaxAlignShift) throw EICLReadError("Icon data too large for an icon library");
  return static_cast<std::uint16_t>(shift);
}

bool T16BitWriter::LayoutFits(std::uint64_t namesEnd, unsigned shift) const {
  const TIconList& icons = icons_;
  std::uint64_t position = AlignUp(namesEnd, shift);
  const auto place = [&position, shift](std::uint64_t size) {
    const std::uint64_t start = position;
    position = AlignUp(position + size, shift);
    return FitsInUnits(start, shift) && FitsInUnits(position - start, shift);
  };
  for (std::int32_t i = 0; i < icons.Count(); ++i) {
    if (!place(DirectorySize(icons.Icon(i)))) return false;
  }
  for (std::int32_t i = 0; i < icons.Count(); ++i) {
    const TAdvancedIcon& icon = icons.Icon(i);
    for (int j = 0; j < icon.Images.Count(); ++j) {
      if (!place(icon.Images.Get(j)->BytesInRes)) return false;
    }
  }
  return true;
}

void T16BitWriter::Pad() {
  const std::uint64_t position = stream_.Position();
  stream_.WriteZeros(AlignUp(position, alignShift_) - position);
}

void T16BitWriter::PatchEntry(std::uint64_t entryPos, std::uint64_t start) {
  const auto offset = static_cast<std::uint16_t>(start >> alignShift_);
  const auto length = static_cast<std::uint16_t>((stream_.Position() - start) >> alignShift_);
  stream_.Patch(entryPos, Le16Bytes(offset));
  stream_.Patch(entryPos + 2, Le16Bytes(length));
}

}  // namespace pictarix
