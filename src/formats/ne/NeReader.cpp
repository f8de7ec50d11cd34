#include "formats/ne/NeReader.h"

#include <algorithm>

#include "formats/ne/NeIcon.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"

namespace pictarix {
namespace {

// The MZ header up to its new-header offset field; the NE header up to its names-table field.
constexpr std::uint64_t kMzHeaderSize = kNewHeaderOffsetField + 2;
constexpr std::uint64_t kNeHeaderSize = kResidentNamesField + 2;
// The first read of a resource table; most tables fit, larger ones are read again twice as
// large until they fit or the file ends.
constexpr std::uint64_t kFirstTableRead = 4096;

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

NeReader::NeReader(std::filesystem::path fileName)
    : NeReader(fileName, std::make_unique<FileStream>(fileName)) {}

NeReader::NeReader(std::filesystem::path fileName, std::unique_ptr<ByteStream> stream)
    : stream_(std::move(stream)), baseName_(BaseNameOf(fileName)) {}

std::vector<std::uint8_t> NeReader::ReadAt(std::uint64_t offset, std::uint64_t count) {
  return ReadBytesAt(*stream_, offset, count);
}

NeResourceTable NeReader::ReadResourceTable() {
  // A field the file ends inside fails its step like a wrong value.
  const std::vector<std::uint8_t> mzBytes = ReadAt(0, kMzHeaderSize);
  const ByteCursor mz(mzBytes);
  if (mz.U16At(0) != kMzSignature) throw IconLibraryError("Not a valid ICL File");
  const auto headerOffset = mz.U16At(kNewHeaderOffsetField);
  if (!headerOffset || *headerOffset < kMinNeHeaderOffset) {
    throw IconLibraryError("Invalid Windows 16 Offset");
  }
  const std::vector<std::uint8_t> neBytes = ReadAt(*headerOffset, kNeHeaderSize);
  const ByteCursor ne(neBytes);
  if (ne.U16At(0) != kNeSignature) throw IconLibraryError("Invalid Windows 16 Header");
  const auto tableField = ne.U16At(kResourceTableField);
  if (!tableField || *tableField == 0) throw IconLibraryError("No Resources in file");
  const auto namesField = ne.U16At(kResidentNamesField);
  if (!namesField || *namesField == 0) throw IconLibraryError("Names Table not found");
  if (*tableField == *namesField) return {};  // a resource table of no size

  const std::uint64_t tableOffset = std::uint64_t{*headerOffset} + *tableField;
  for (std::uint64_t count = kFirstTableRead;; count *= 2) {
    const std::vector<std::uint8_t> bytes = ReadAt(tableOffset, count);
    if (auto table = NeResourceTable::Parse(ByteCursor(bytes))) return std::move(*table);
    if (bytes.size() < count) throw IconLibraryError("Stream read error");  // the file ended first
  }
}

NeBlocks NeReader::Blocks(const NeResourceTable& table) {
  return NeBlocks(*stream_, table.AlignShift);
}

std::vector<IconEntry> NeReader::ReadIcons(const ProgressCallback& progress) {
  const NeResourceTable table = ReadResourceTable();
  NeBlocks blocks = Blocks(table);
  return BuildICL16Icons(table, blocks, baseName_, progress, MissingImage::LeaveOutTheIcon);
}

}  // namespace pictarix
