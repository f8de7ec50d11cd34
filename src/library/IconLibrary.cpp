#include "library/IconLibrary.h"

#include <algorithm>
#include <type_traits>

#include "library/NeStructures.h"
#include "library/T16BitReader.h"
#include "library/T16BitWriter.h"
#include "library/T32BitReader.h"
#include "platform/Stream.h"

namespace pictarix {
namespace {

// A name made only of characters up to the blank (code 32 or less) trims to nothing.
bool IsBlankName(const std::filesystem::path& fileName) {
  using Char = std::filesystem::path::value_type;
  const auto& text = fileName.native();
  return std::all_of(text.begin(), text.end(),
                     [](Char c) { return static_cast<std::make_unsigned_t<Char>>(c) <= 32; });
}

bool ReadWordAt(TStream& stream, std::uint64_t offset, std::uint16_t& word) {
  stream.Seek(offset);
  return stream.ReadU16(word);
}

}  // namespace

void TIconLibrary::Clear() {
  FileName.clear();
  Icons.Clear();
}

TLoadResult TIconLibrary::LoadFromFile(const std::filesystem::path& fileName) {
  if (IsBlankName(fileName)) {
    Clear();
    return TLoadResult::NotModule;
  }
  bool is32Bit = false;
  if (!IsIconModule(fileName, is32Bit)) return TLoadResult::NotModule;
  Icons.Clear();
  const bool loaded = LoadModule(fileName, is32Bit);
  FileName = fileName;
  return loaded ? TLoadResult::Loaded : TLoadResult::ReadFailed;
}

void TIconLibrary::SaveToFile(const std::filesystem::path& fileName) {
  if (Icons.Count() == 0) throw EICLReadError("Unable to write Iconlibrary with no icons");
  if (Icons.Count() > kMaxLibraryIcons) {
    throw EICLReadError("Iconlibraries with more than 32767 Icons are not possible");
  }
  T16BitWriter writer(*this);
  writer.Write(fileName);
}

void TIconLibrary::DoProgress(std::int32_t total, std::int32_t current) {
  if (OnProgress) OnProgress(*this, total, current);
}

bool TIconLibrary::IsIconModule(const std::filesystem::path& fileName, bool& is32Bit) {
  is32Bit = false;
  // Only regular files (after following a link) exist here: a folder is no file, and opening a
  // FIFO or device could block.
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error)) return false;
  TFileStream stream(fileName);
  return IsIconModule(stream, is32Bit);
}

bool TIconLibrary::IsIconModule(TStream& stream, bool& is32Bit) {
  is32Bit = false;
  std::uint16_t word = 0;
  if (!ReadWordAt(stream, 0, word) || word != kMzSignature) return false;
  std::uint16_t headerOffset = 0;
  if (!ReadWordAt(stream, kNewHeaderOffsetField, headerOffset)) return false;
  if (!ReadWordAt(stream, headerOffset, word)) return false;
  if (word != kPeSignature && word != kNeSignature) return false;
  is32Bit = word == kPeSignature;
  return true;
}

bool TIconLibrary::LoadModule(const std::filesystem::path& fileName, bool is32Bit) {
  const std::unique_ptr<TICLReader> reader = CreateReader(fileName, is32Bit);
  if (!reader->ReadIcons()) return false;
  Icons.AddAll(reader->TakeIcons());
  return true;
}

std::unique_ptr<TICLReader> TIconLibrary::CreateReader(const std::filesystem::path& fileName,
                                                       bool is32Bit) {
  if (is32Bit) return std::make_unique<T32BitReader>(*this, fileName);
  return std::make_unique<T16BitReader>(*this, fileName);
}

bool IsIconLibraryFile(const std::filesystem::path& fileName) {
  try {
    bool is32Bit = false;
    if (!TIconLibrary::IsIconModule(fileName, is32Bit) || is32Bit) return false;
    TIconLibrary scratch;
    T16BitReader reader(scratch, fileName);
    if (!reader.ReadIcons()) return false;
    const auto& types = reader.TypeIds();
    return !types.empty() && std::all_of(types.begin(), types.end(), [](std::uint16_t type) {
      return IsPredefinedType(type, kResourceTypeIcon) ||
             IsPredefinedType(type, kResourceTypeGroupIcon);
    });
  } catch (const std::exception&) {
    return false;  // cannot be opened
  }
}

}  // namespace pictarix
