#include "formats/ne/IconLibraryWriter.h"

#include <algorithm>
#include <array>

#include "formats/IconLibrary.h"
#include "formats/ico/ImageDataWriter.h"
#include "formats/ne/NeBlocks.h"
#include "formats/ne/NeStructures.h"
#include "model/IconRecords.h"
#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/ReadBudget.h"

namespace pictarix {
namespace {

constexpr std::size_t kMaxNameLength = 255;  // one length byte
constexpr std::uint8_t kTargetWindows = 2;
constexpr std::uint8_t kWindowsMajorVersion = 3;
// Offsets of the header fields and tables; the same for every file.
constexpr std::uint32_t kNeHeaderPos = 128;
constexpr std::uint32_t kResourceTablePos = 192;
// The names field with no resource entries: the shift, two type records and their end.
constexpr std::uint64_t kNamesFieldBase =
    kResourceTablePos - kNeHeaderPos + 2 + 2 * kTypeRecordSize + 2;
constexpr std::uint64_t kMaxField = 0xFFFF;
constexpr std::uint64_t kMiB = 1 << 20;

std::uint64_t AlignUp(std::uint64_t position, unsigned shift) {
  const std::uint64_t unit = std::uint64_t{1} << shift;
  return (position + unit - 1) / unit * unit;
}

bool FitsInUnits(std::uint64_t value, unsigned shift) {
  return (value >> shift) <= kMaxField;
}

std::uint64_t DirectorySize(const AdvancedIcon& icon) {
  return kIconHeaderSize + std::uint64_t{kGroupEntrySize} * icon.Images.Count();
}

// A write-only stream that hands its bytes to a sink in pieces: small writes are gathered, an
// image's data goes through as it is.
class SinkStream : public ByteStream {
 public:
  explicit SinkStream(ByteSink& sink) : sink_(sink) { buffer_.reserve(kGathered); }

  std::size_t Read(std::span<std::uint8_t>) override {
    throw StreamError("The library file is written only");
  }
  void Write(std::span<const std::uint8_t> bytes) override {
    if (buffer_.size() + bytes.size() > kGathered) Flush();
    if (bytes.size() >= kGathered) {
      sink_.Write(bytes);
    } else {
      buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    }
    position_ += bytes.size();
  }
  std::uint64_t Position() const override { return position_; }
  void Seek(std::uint64_t) override { throw StreamError("The library file is written in order"); }
  std::uint64_t Size() const override { return position_; }

  void Flush() {
    sink_.Write(buffer_);
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kGathered = 1 << 20;
  ByteSink& sink_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t position_ = 0;
};

}  // namespace

const std::int64_t IconLibraryWriter::kMaxResources =
    (kMaxField - kNamesFieldBase) / kResourceEntrySize;

IconLibraryWriter::IconLibraryWriter(const IconList& icons, ProgressCallback progress)
    : icons_(icons), progress_(std::move(progress)) {
  for (std::int32_t i = 0; i < icons_.Count(); ++i) totalImages_ += icons_.Icon(i).Images.Count();
}

void IconLibraryWriter::Write(ByteSink& sink) {
  if (!planned_) Plan();
  SinkStream out(sink);
  WriteFile(out);
  out.Flush();
}

std::vector<std::uint8_t> IconLibraryWriter::Assemble() {
  if (!planned_) Plan();
  MemoryStream out;
  WriteFile(out);
  return out.TakeBytes();
}

void IconLibraryWriter::Plan() {
  planned_ = false;
  CheckCounts();
  names_.clear();
  names_.reserve(static_cast<std::size_t>(icons_.Count()) + 1);
  names_.emplace_back(kIclModuleName);
  for (std::int32_t i = 0; i < icons_.Count(); ++i) {
    std::string name = Utf8ToWindows1252(icons_.Name(i));
    name.resize(std::min(name.size(), kMaxNameLength));
    names_.push_back(std::move(name));
  }
  const std::uint64_t resources = static_cast<std::uint64_t>(icons_.Count() + totalImages_);
  namesField_ = static_cast<std::uint16_t>(kNamesFieldBase + kResourceEntrySize * resources);
  std::uint64_t namesEnd = kNeHeaderPos + namesField_ + 1;  // the 0 that ends the names
  for (const std::string& name : names_) namesEnd += 1 + name.size();
  alignShift_ = ChooseAlignShift(namesEnd);
  CheckReadBudget();
  planned_ = true;
}

void IconLibraryWriter::CheckCounts() const {
  if (icons_.Count() > kMaxLibraryIcons) {
    throw IconLibraryError("Iconlibraries with more than 32767 Icons are not possible");
  }
  // Image ids carry the high bit, so 32767 is the most a library can number.
  if (totalImages_ > kMaxLibraryIcons) {
    throw IconLibraryError("Iconlibraries with more than 32767 Images are not possible");
  }
  const std::int64_t resources = icons_.Count() + totalImages_;
  if (resources > kMaxResources) {
    throw IconLibraryError("An icon library holds at most " + std::to_string(kMaxResources) +
                           " icons and images together; these are " + std::to_string(resources));
  }
}

std::uint16_t IconLibraryWriter::ChooseAlignShift(std::uint64_t namesEnd) {
  std::uint64_t estimate = namesEnd;
  for (std::int32_t i = 0; i < icons_.Count(); ++i) {
    const AdvancedIcon& icon = icons_.Icon(i);
    estimate += kIconHeaderSize;
    for (int j = 0; j < icon.Images.Count(); ++j) {
      estimate += kGroupEntrySize + icon.Images.Get(j)->BytesInRes;
    }
  }
  unsigned shift = 0;
  while (shift <= kMaxAlignShift && (kMaxField << shift) < estimate) ++shift;
  // The estimate leaves out the padding; the shift grows until the real layout fits.
  while (shift <= kMaxAlignShift && !PlaceBlocks(namesEnd, shift)) ++shift;
  if (shift > kMaxAlignShift) throw IconLibraryError("Icon data too large for an icon library");
  return static_cast<std::uint16_t>(shift);
}

bool IconLibraryWriter::PlaceBlocks(std::uint64_t namesEnd, unsigned shift) {
  starts_.assign(1, AlignUp(namesEnd, shift));
  starts_.reserve(static_cast<std::size_t>(icons_.Count() + totalImages_) + 1);
  const auto place = [this, shift](std::uint64_t size) {
    const std::uint64_t start = starts_.back();
    starts_.push_back(AlignUp(start + size, shift));
    return FitsInUnits(start, shift) && FitsInUnits(starts_.back() - start, shift);
  };
  for (std::int32_t i = 0; i < icons_.Count(); ++i) {
    if (!place(DirectorySize(icons_.Icon(i)))) return false;
  }
  for (std::int32_t i = 0; i < icons_.Count(); ++i) {
    const AdvancedIcon& icon = icons_.Icon(i);
    for (int j = 0; j < icon.Images.Count(); ++j) {
      if (!place(icon.Images.Get(j)->BytesInRes)) return false;
    }
  }
  return true;
}

// The reader takes the blocks of a file from a budget (ReadBudget, NeBlocks); a library whose
// blocks it would refuse is not written.
void IconLibraryWriter::CheckReadBudget() const {
  ReadBudget budget(FileSize());
  const std::uint64_t limit = budget.Left();
  std::uint64_t needed = 0;
  bool fits = true;
  const auto spend = [&](std::uint64_t cost) {
    needed += cost;
    fits = budget.Spend(cost) && fits;
  };
  const auto groups = static_cast<std::size_t>(icons_.Count());
  for (std::size_t block = 0; block < groups; ++block) spend(starts_[block + 1] - starts_[block]);
  std::size_t block = groups;
  for (std::int32_t i = 0; i < icons_.Count(); ++i) {
    const AdvancedIcon& icon = icons_.Icon(i);
    for (int j = 0; j < icon.Images.Count(); ++j, ++block) {
      spend(
          NeBlocks::ImageCost(starts_[block + 1] - starts_[block], icon.Images.Get(j)->BytesInRes));
    }
  }
  if (fits) return;
  if (needed <= limit) {
    throw IconLibraryError("An icon library holds no image larger than " +
                           std::to_string(ReadBudget::kMaxClaim / kMiB) + " MiB");
  }
  throw IconLibraryError("An icon library holds at most " + std::to_string(limit / kMiB) +
                         " MiB of icon data; these icons need " +
                         std::to_string((needed + kMiB - 1) / kMiB) + " MiB");
}

void IconLibraryWriter::WriteFile(ByteStream& out) const {
  WriteHeaders(out);
  WriteResourceTable(out);
  WriteNames(out);
  PadTo(out, 0);
  std::size_t block = 0;
  std::uint16_t imageId = 0;  // images are numbered 1.. through all icons in list order
  for (std::int32_t i = 0; i < icons_.Count(); ++i) {
    const AdvancedIcon& icon = icons_.Icon(i);
    IconHeader{0, kIconResourceType, icon.Images.Count()}.Write(out);
    for (int j = 0; j < icon.Images.Count(); ++j) {
      GroupIconEntry{icon.Images.Get(j)->EntryFields(), ++imageId}.Write(out);
    }
    PadTo(out, ++block);
  }
  for (std::int32_t i = 0; i < icons_.Count(); ++i) {
    const AdvancedIcon& icon = icons_.Icon(i);
    for (int j = 0; j < icon.Images.Count(); ++j) {
      const IconImage& image = *icon.Images.Get(j);
      // Always BytesInRes bytes, so the file agrees with its directory.
      if (image.HasData()) {
        WriteImageData(image, out);
      } else {
        out.WriteZeros(image.BytesInRes);
      }
      PadTo(out, ++block);
    }
    if (progress_) progress_(icons_.Count(), i + 1);
  }
  out.WriteU16(0);
}

void IconLibraryWriter::WriteHeaders(ByteStream& out) const {
  out.Write(std::array<std::uint8_t, 2>{'M', 'Z'});
  out.WriteZeros(kNewHeaderOffsetField - out.Position());
  out.WriteU32(kNeHeaderPos);
  out.WriteZeros(kNeHeaderPos - 2 - out.Position());
  out.Write(std::array<std::uint8_t, 2>{'I', 'M'});
  out.Write(std::array<std::uint8_t, 2>{'N', 'E'});
  out.WriteZeros(32);
  out.WriteU16(64);  // segment table: empty, right after the 64-byte header
  out.WriteU16(kResourceTablePos - kNeHeaderPos);
  out.WriteU16(namesField_);
  out.WriteZeros(14);
  out.WriteU8(kTargetWindows);
  out.WriteZeros(8);
  out.WriteU8(kWindowsMajorVersion);
}

void IconLibraryWriter::WriteResourceTable(ByteStream& out) const {
  out.WriteU16(alignShift_);
  const auto icons = static_cast<std::size_t>(icons_.Count());
  out.WriteU16(kNeTypeGroupIcon);
  out.WriteU16(static_cast<std::uint16_t>(icons));
  out.WriteU32(0);
  for (std::size_t i = 0; i < icons; ++i) WriteEntry(out, i, static_cast<std::uint16_t>(i + 1));
  out.WriteU16(kNeTypeIcon);
  out.WriteU16(static_cast<std::uint16_t>(totalImages_));
  out.WriteU32(0);
  for (std::size_t k = 0; k < static_cast<std::size_t>(totalImages_); ++k) {
    WriteEntry(out, icons + k, static_cast<std::uint16_t>(k + 1));
  }
  out.WriteU16(0);
}

void IconLibraryWriter::WriteEntry(ByteStream& out, std::size_t block, std::uint16_t id) const {
  const std::uint64_t start = starts_[block];
  const std::uint64_t length = starts_[block + 1] - start;
  out.Write(ResourceEntry{static_cast<std::uint16_t>(start >> alignShift_),
                          static_cast<std::uint16_t>(length >> alignShift_), kNeResourceFlags,
                          static_cast<std::uint16_t>(kResourceIdIsInteger + id), 0, 0}
                .Serialize());
}

void IconLibraryWriter::WriteNames(ByteStream& out) const {
  for (const std::string& name : names_) {
    out.WriteU8(static_cast<std::uint8_t>(name.size()));
    out.Write(std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()));
  }
  out.WriteU8(0);
}

void IconLibraryWriter::PadTo(ByteStream& out, std::size_t block) const {
  out.WriteZeros(starts_[block] - out.Position());
}

}  // namespace pictarix
