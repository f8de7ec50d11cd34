#include "library/T16BitReader.h"

#include <algorithm>

#include "library/IconLibrary.h"
#include "library/TICL16Icon.h"
#include "platform/CodePage.h"

namespace pictarix {
namespace {

[[noreturn]] void ThrowReadError() {
  throw EICLReadError("Stream read error");
}

// The name without folder and extension: cut after the last folder separator, then at the
// last dot that follows it.
std::string BaseNameOf(const std::filesystem::path& fileName) {
  const std::u8string utf8 = fileName.u8string();
  std::string name = SanitizeUtf8(std::string(utf8.begin(), utf8.end()));
#ifdef _WIN32
  const auto separator = name.find_last_of("/\\:");
#else
  const auto separator = name.find_last_of('/');
#endif
  if (separator != std::string::npos) name.erase(0, separator + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace

T16BitReader::T16BitReader(TIconLibrary& library, std::filesystem::path fileName)
    : T16BitReader(library, fileName, std::make_unique<TFileStream>(fileName)) {}

T16BitReader::T16BitReader(TIconLibrary& library, std::filesystem::path fileName,
                           std::unique_ptr<TStream> stream)
    : TICLReader(library, std::move(fileName)), stream_(std::move(stream)) {
  baseName_ = BaseNameOf(FileName());
}

void T16BitReader::Reset() {
  icons_.clear();
  alignShift_ = 0;
  headerOffset_ = 0;
  resourceTableOffset_ = 0;
  namesTableOffset_ = 0;
  iconEntries_.clear();
  groupEntries_.clear();
  entryById_.clear();
  typeIds_.clear();
  names_.clear();
  blockCache_.clear();
  budget_ = ReadBudget(*stream_);
  lastError_.clear();
}

bool T16BitReader::ReadIcons() {
  try {
    Reset();
    ReadNEHeader();
    if (resourceTableOffset_ == namesTableOffset_) return true;
    ReadResourceTable();

    const bool namesMatch = names_.size() == groupEntries_.size();
    const int groupCount = GroupCount();
    std::vector<TIconEntry> loaded;
    loaded.reserve(static_cast<std::size_t>(groupCount));
    for (int i = 0; i < groupCount; ++i) {
      auto icon = std::make_unique<TICL16Icon>();
      icon->LoadGroup(*this, i);
      std::string name =
          namesMatch ? Windows1252ToUtf8(names_[static_cast<std::size_t>(i)]) : icon->Name;
      loaded.push_back(TIconEntry{std::move(name), std::move(icon)});
      Library().DoProgress(groupCount, i + 1);
    }
    icons_ = std::move(loaded);
    blockCache_.clear();
    return true;
  } catch (const std::exception& error) {
    lastError_ = error.what();
  } catch (...) {
    lastError_ = "Unknown error";
  }
  icons_.clear();
  blockCache_.clear();
  return false;
}

void T16BitReader::ReadNEHeader() {
  // A field the file ends inside fails its step like a wrong value.
  const auto wordAt = [this](std::uint64_t offset, std::uint16_t& word) {
    stream_->Seek(offset);
    return stream_->ReadU16(word);
  };
  std::uint16_t word = 0;
  if (!wordAt(0, word) || word != kMzSignature) throw EICLReadError("Not a valid ICL File");
  if (!wordAt(kNewHeaderOffsetField, headerOffset_) || headerOffset_ < kMinNeHeaderOffset) {
    throw EICLReadError("Invalid Windows 16 Offset");
  }
  if (!wordAt(headerOffset_, word) || word != kNeSignature) {
    throw EICLReadError("Invalid Windows 16 Header");
  }
  if (!wordAt(headerOffset_ + kResourceTableField, word) || word == 0) {
    throw EICLReadError("No Resources in file");
  }
  resourceTableOffset_ = std::uint32_t{headerOffset_} + word;
  if (!wordAt(headerOffset_ + kResidentNamesField, word) || word == 0) {
    throw EICLReadError("Names Table not found");
  }
  namesTableOffset_ = std::uint32_t{headerOffset_} + word;
}

void T16BitReader::ReadResourceTable() {
  stream_->Seek(resourceTableOffset_);
  if (!stream_->ReadU16(alignShift_)) ThrowReadError();
  if (alignShift_ > kMaxAlignShift) throw EICLReadError("Invalid resource alignment");

  // Every record moves forward through the file, so the walk ends at the terminating 0 or at
  // the end of the file, which fails the read.
  std::uint16_t typeId = 0;
  if (!stream_->ReadU16(typeId)) ThrowReadError();
  while (typeId != 0) {
    std::uint16_t count = 0;
    std::uint32_t reserved = 0;
    if (!stream_->ReadU16(count) || !stream_->ReadU32(reserved)) ThrowReadError();
    typeIds_.push_back(typeId);
    if (IsPredefinedType(typeId, kResourceTypeIcon)) {
      iconEntries_ = ReadEntries(count);
    } else if (IsPredefinedType(typeId, kResourceTypeGroupIcon)) {
      groupEntries_ = ReadEntries(count);
    } else {
      const std::uint64_t skip = std::uint64_t{count} * kResourceEntrySize;
      if (skip > stream_->Size() - std::min(stream_->Size(), stream_->Position())) {
        ThrowReadError();
      }
      stream_->Seek(stream_->Position() + skip);
    }
    if (!stream_->ReadU16(typeId)) ThrowReadError();
  }

  if (!iconEntries_.empty()) {
    entryById_.assign(0x10000, -1);
    for (std::size_t i = iconEntries_.size(); i-- > 0;) {
      entryById_[iconEntries_[i].Id ^ kResourceIdIsInteger] = static_cast<std::int32_t>(i);
    }
  }
  if (!iconEntries_.empty() && !groupEntries_.empty()) ReadResourceNames();
}

std::vector<TResourceEntry> T16BitReader::ReadEntries(std::uint16_t count) {
  const std::uint64_t bytes = std::uint64_t{count} * kResourceEntrySize;
  if (bytes > stream_->Size() - std::min(stream_->Size(), stream_->Position())) {
    ThrowReadError();
  }
  std::vector<TResourceEntry> entries;
  entries.reserve(count);
  std::array<std::uint8_t, kResourceEntrySize> raw{};
  for (int i = 0; i < count; ++i) {
    stream_->ReadBuffer(raw);
    entries.push_back(TResourceEntry::Parse(raw));
  }
  return entries;
}

void T16BitReader::ReadResourceNames() {
  // Each string is at least one byte of the file, so the walk ends with the file at the latest.
  std::uint8_t length = 0;
  if (!stream_->ReadU8(length)) ThrowReadError();
  while (length != 0) {
    std::string name(length, '\0');
    if (stream_->Read(std::span(reinterpret_cast<std::uint8_t*>(name.data()), name.size())) !=
        name.size()) {
      ThrowReadError();
    }
    // Only leading module names are dropped, and only the exact "ICL".
    if (!(names_.empty() && name == kIclModuleName)) names_.push_back(std::move(name));
    if (!stream_->ReadU8(length)) ThrowReadError();
  }
}

int T16BitReader::FindEntry(std::uint16_t id) const {
  if (entryById_.empty() || entryById_[id] < 0) throw EICLReadError("Icon Resource Not Found");
  return entryById_[id];
}

void T16BitReader::Spend(std::uint64_t bytes) {
  if (!budget_.Spend(bytes)) throw EICLReadError("Resources larger than the file can hold");
}

std::vector<std::uint8_t> T16BitReader::ReadGroupBlock(int index) {
  const TResourceEntry& entry = groupEntries_.at(static_cast<std::size_t>(index));
  const std::uint64_t offset = std::uint64_t{entry.Offset} << alignShift_;
  const std::uint64_t length = std::uint64_t{entry.Length} << alignShift_;
  if (length == 0) return {};
  if (offset > stream_->Size() || length > stream_->Size() - offset) ThrowReadError();
  Spend(length);
  std::vector<std::uint8_t> block(static_cast<std::size_t>(length));
  stream_->Seek(offset);
  stream_->ReadBuffer(block);
  return block;
}

// The block of an icon image is its unit length from its unit offset, as far as the file holds
// it. Two departures keep odd files readable without trusting their numbers:
// - a unit length beyond the image's BytesInRes rounded up to a unit is cut there (some tools
//   store lengths in bytes, which the alignment then multiplies into the following resources);
// - a block that runs past the end of the file keeps what the file holds, zero-filled up to
//   BytesInRes.
// An image whose BytesInRes is larger than the whole file cannot be true and fails the read.
// Every image costs its BytesInRes, also when it shares a block already made: that many bytes
// are what each copy and each file written from the icon later holds.
ImageData T16BitReader::ReadImageBlock(int index, std::uint32_t bytesInRes) {
  const std::uint64_t fileSize = stream_->Size();
  if (bytesInRes > fileSize) throw EICLReadError("Icon image larger than its file");
  const auto key = std::make_pair(index, bytesInRes);
  if (const auto cached = blockCache_.find(key); cached != blockCache_.end()) {
    Spend(ReadBudget::kImageOverhead + bytesInRes);
    return cached->second;
  }

  const TResourceEntry& entry = iconEntries_.at(static_cast<std::size_t>(index));
  const std::uint64_t unit = std::uint64_t{1} << alignShift_;
  const std::uint64_t offset = std::uint64_t{entry.Offset} << alignShift_;
  const std::uint64_t unitLength = std::uint64_t{entry.Length} << alignShift_;
  const std::uint64_t roundedSize = (std::uint64_t{bytesInRes} + unit - 1) / unit * unit;
  const std::uint64_t wanted = std::min(unitLength, roundedSize);
  const std::uint64_t held = offset < fileSize ? std::min(wanted, fileSize - offset) : 0;
  const std::uint64_t size = held < wanted ? std::max<std::uint64_t>(held, bytesInRes) : wanted;

  Spend(ReadBudget::kImageOverhead + std::max<std::uint64_t>(size, bytesInRes));
  std::vector<std::uint8_t> block(static_cast<std::size_t>(size));
  stream_->Seek(offset);
  stream_->ReadBuffer(std::span(block.data(), static_cast<std::size_t>(held)));
  auto data = std::make_shared<const std::vector<std::uint8_t>>(std::move(block));
  blockCache_.emplace(key, data);
  return data;
}

}  // namespace pictarix
