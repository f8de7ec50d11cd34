#include "formats/IconLibrary.h"

#include <algorithm>
#include <optional>
#include <type_traits>

#include "formats/ne/NeIcon.h"
#include "formats/ne/NeReader.h"
#include "formats/ne/NeStructures.h"
#include "formats/pe/ModuleResources.h"
#include "formats/pe/PeReader.h"
#include "formats/pe/PeResources.h"
#include "os/ByteCursor.h"
#include "os/Stream.h"

namespace pictarix {
namespace {

// A name made only of characters up to the blank (code 32 or less) trims to nothing.
bool IsBlankName(const std::filesystem::path& fileName) {
  using Char = std::filesystem::path::value_type;
  const auto& text = fileName.native();
  return std::all_of(text.begin(), text.end(),
                     [](Char c) { return static_cast<std::make_unsigned_t<Char>>(c) <= 32; });
}

// The little-endian word at `offset`, or nothing when the stream ends first.
std::optional<std::uint16_t> WordAt(ByteStream& stream, std::uint64_t offset) {
  return ByteCursor(ReadBytesAt(stream, offset, 2)).U16At(0);
}

}  // namespace

void IconLibrary::Clear() {
  FileName.clear();
  LeftOut.clear();
  Icons.Clear();
}

LoadOutcome IconLibrary::LoadFromFile(const std::filesystem::path& fileName) {
  if (IsBlankName(fileName)) {
    Clear();
    return LoadOutcome::NotModule;
  }
  // Only regular files are read: a folder is no file, and a FIFO or device is left unread.
  std::unique_ptr<ByteStream> stream = FileStream::OpenIfRegular(fileName);
  if (!stream) return LoadOutcome::NotModule;
  return LoadFromStream(fileName, std::move(stream));
}

LoadOutcome IconLibrary::LoadFromStream(const std::filesystem::path& fileName,
                                        std::unique_ptr<ByteStream> stream) {
  bool is32Bit = false;
  if (!IsIconModule(*stream, is32Bit)) return LoadOutcome::NotModule;
  Icons.Clear();
  FileName.clear();
  LeftOut.clear();
  openStream_ = std::move(stream);
  try {
    LoadModule(fileName, is32Bit);
  } catch (...) {
    openStream_.reset();
    throw;
  }
  openStream_.reset();
  FileName = fileName;
  return LoadOutcome::Loaded;
}

void IconLibrary::DoProgress(std::int32_t total, std::int32_t current) {
  if (OnProgress) OnProgress(*this, total, current);
}

bool IconLibrary::IsIconModule(const std::filesystem::path& fileName, bool& is32Bit) {
  is32Bit = false;
  const auto stream = FileStream::OpenIfRegular(fileName);
  return stream && IsIconModule(*stream, is32Bit);
}

bool IconLibrary::IsIconModule(ByteStream& stream, bool& is32Bit) {
  is32Bit = false;
  // The MZ header up to the new header's offset, read once.
  const std::vector<std::uint8_t> mzBytes = ReadBytesAt(stream, 0, kNewHeaderOffsetField + 2);
  const ByteCursor mz(mzBytes);
  if (mz.U16At(0) != kMzSignature) return false;
  const auto headerOffset = mz.U16At(kNewHeaderOffsetField);
  if (!headerOffset) return false;
  const auto signature = WordAt(stream, *headerOffset);
  if (signature != kPeSignature && signature != kNeSignature) return false;
  is32Bit = signature == kPeSignature;
  return true;
}

void IconLibrary::LoadModule(const std::filesystem::path& fileName, bool is32Bit) {
  const std::unique_ptr<IconLibraryReader> reader = CreateReader(fileName, is32Bit);
  Icons.AddAll(reader->ReadIcons(
      [this](std::int32_t total, std::int32_t current) { DoProgress(total, current); }));
  LeftOut = reader->LeftOut();
}

std::unique_ptr<IconLibraryReader> IconLibrary::CreateReader(const std::filesystem::path& fileName,
                                                             bool is32Bit) {
  std::unique_ptr<ByteStream> stream = TakeOpenStream(fileName);
  if (!is32Bit) return std::make_unique<NeReader>(fileName, std::move(stream));
  // The module opener is called once, by the reader's ReadIcons; it hands over this stream.
  auto held = std::make_shared<std::unique_ptr<ByteStream>>(std::move(stream));
  return std::make_unique<PeReader>(
      fileName,
      [held](const std::filesystem::path&) { return OpenModuleFromStream(std::move(*held)); },
      OnNumberedGroup);
}

std::unique_ptr<ByteStream> IconLibrary::TakeOpenStream(const std::filesystem::path& fileName) {
  std::unique_ptr<ByteStream> stream = std::move(openStream_);
  if (!stream) stream = std::make_unique<FileStream>(fileName);
  return stream;
}

bool IsIconLibraryFile(const std::filesystem::path& fileName) {
  try {
    bool is32Bit = false;
    if (!IconLibrary::IsIconModule(fileName, is32Bit) || is32Bit) return false;
    NeReader reader(fileName);
    const NeResourceTable table = reader.ReadResourceTable();
    NeBlocks blocks = reader.Blocks(table);
    BuildICL16Icons(table, blocks, reader.BaseName(), {});  // the whole file must read
    const auto& types = table.TypeIds;
    return !types.empty() && std::all_of(types.begin(), types.end(), [](std::uint16_t type) {
      return IsPredefinedType(type, kResourceTypeIcon) ||
             IsPredefinedType(type, kResourceTypeGroupIcon);
    });
  } catch (const std::exception&) {
    return false;  // cannot be opened or read
  }
}

}  // namespace pictarix
