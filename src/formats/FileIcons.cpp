#include "formats/FileIcons.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

#include "formats/ICLReader.h"
#include "formats/ani/AnimatedCursorReader.h"
#include "formats/cur/CursorFileReader.h"
#include "formats/cur/NeCursors.h"
#include "formats/ico/IconFileReader.h"
#include "formats/ne/NeIcon.h"
#include "formats/ne/NeReader.h"
#include "formats/ne/NeStructures.h"
#include "formats/pe/PeReader.h"
#include "formats/pe/PeResources.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/ReadBudget.h"

namespace pictarix {
namespace {

// "RIFF", the form's size and its type: enough to tell an animated cursor.
constexpr std::uint64_t kRiffHeaderSize = 12;

// The name after the last "/" (the folder separator on this platform).
std::string NameWithoutFolder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The extension test of the file fallbacks: the characters after the last dot of the name,
// ASCII letters lower-cased, are `extension` (three lower-case letters).
bool HasExtension(const std::string& name, const char* extension) {
  const auto dot = name.find_last_of('.');
  if (dot == std::string::npos || name.size() - dot != 4) return false;
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext == extension;
}

std::string WithoutExtension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

FileIcons ReadNeIcons(ByteStream& stream, const std::filesystem::path& name,
                      const FileIconsOptions& options) {
  NeReader reader(name, std::make_unique<BorrowedStream>(stream));
  const NeResourceTable table = reader.ReadResourceTable();
  NeBlocks blocks = reader.Blocks(table);
  FileIcons read;
  read.Found = Container::NeModule;
  read.Icons = BuildICL16Icons(
      table, blocks, reader.BaseName(), options.Progress,
      options.AllOrNothing ? MissingImage::FailTheRead : MissingImage::LeaveOutTheIcon);
  if (options.Cursors) {
    std::size_t leftOut = 0;
    for (IconEntry& cursor : BuildNeCursors(table, blocks, reader.BaseName(), leftOut))
      read.Icons.push_back(std::move(cursor));
    for (IconEntry& cursor : BuildNeAnimatedCursors(table, blocks, reader.BaseName(), leftOut))
      read.Icons.push_back(std::move(cursor));
    if (leftOut > 0) {
      const std::size_t all = table.GroupCursorEntries.size() + table.AnimatedEntries.size();
      read.LeftOut = "Part of this file was left out: " + std::to_string(leftOut) + " of " +
                     std::to_string(all) + " cursors (damaged or over the read limit)";
    }
  }
  const auto& types = table.TypeIds;
  read.IconsOnly = !types.empty() && std::all_of(types.begin(), types.end(), [](auto type) {
    return IsPredefinedType(type, kResourceTypeIcon) ||
           IsPredefinedType(type, kResourceTypeGroupIcon);
  });
  return read;
}

// A file that is no module, read as an icon file: one icon named after the file, or nothing when
// the header is no icon header.
FileIcons ReadIconFileIcon(ByteStream& stream, const std::string& fileName) {
  FileIcons read;
  try {
    auto icon = std::make_unique<AdvancedIcon>();
    stream.Seek(0);
    if (!ReadIconFile(stream, *icon)) return read;
    read.Found = Container::IconFile;
    read.Icons.push_back(
        IconEntry{SanitizeUtf8(WithoutExtension(NameWithoutFolder(fileName))), std::move(icon)});
  } catch (const std::exception&) {
    read.Found = Container::IconFile;
    read.IconFileError = std::current_exception();
  }
  return read;
}

// Reads the animated cursor `stream` holds into `cursor`; what was left out goes to `read`.
void ReadAnimatedCursorFile(ByteStream& stream, AdvancedIcon& cursor, FileIcons& read) {
  ReadBudget budget(stream);
  if (!budget.Spend(stream.Size())) throw FormatError("Animated cursor larger than the read limit");
  const std::vector<std::uint8_t> bytes = ReadBytesAt(stream, 0, stream.Size());
  std::string leftOut = ReadAnimatedCursor(bytes, cursor);
  if (!leftOut.empty()) read.LeftOut = "Part of this file was left out: " + leftOut;
}

// A file that is no module, read as a cursor file or an animated cursor by its content: one
// cursor named after the file, or nothing when its content is neither.
FileIcons ReadCursorFileIcon(ByteStream& stream, const std::string& fileName) {
  FileIcons read;
  try {
    auto cursor = std::make_unique<AdvancedIcon>();
    if (IsAnimatedCursor(ReadBytesAt(stream, 0, kRiffHeaderSize))) {
      read.Found = Container::CursorFile;
      ReadAnimatedCursorFile(stream, *cursor, read);
    } else {
      stream.Seek(0);
      if (!ReadCursorFile(stream, *cursor)) return read;
    }
    read.Found = Container::CursorFile;
    read.Icons.push_back(
        IconEntry{SanitizeUtf8(WithoutExtension(NameWithoutFolder(fileName))), std::move(cursor)});
  } catch (const std::exception&) {
    read.Found = Container::CursorFile;
    read.IconFileError = std::current_exception();
  }
  return read;
}

// A file that is no module: a cursor file when cursors are asked for and its content is one, an
// icon file by its name otherwise.
FileIcons ReadFileByName(ByteStream& stream, const std::string& fileName,
                         const FileIconsOptions& options) {
  if (options.Stop.stop_requested()) return {};
  const std::string baseName = NameWithoutFolder(fileName);
  const bool cursorName = HasExtension(baseName, "cur") || HasExtension(baseName, "ani");
  const bool iconName = options.IconFiles && HasExtension(baseName, "ico");
  const bool cursorsHere =
      cursorName ? options.Cursors || options.CursorFiles : iconName && options.Cursors;
  if (cursorsHere) {
    FileIcons cursor = ReadCursorFileIcon(stream, fileName);
    if (cursor.Found != Container::None) return cursor;
  }
  // A ".cur" or ".ani" that holds an icon is read as one where cursor files are read.
  if (!iconName && !(cursorsHere && options.IconFiles)) return {};
  return ReadIconFileIcon(stream, fileName);
}

}  // namespace

Container DetectModule(ByteStream& stream) {
  // The MZ header up to the new header's offset, read once.
  const std::vector<std::uint8_t> mzBytes = ReadBytesAt(stream, 0, kNewHeaderOffsetField + 2);
  const ByteCursor mz(mzBytes);
  if (mz.U16At(0) != kMzSignature) return Container::None;
  const auto headerOffset = mz.U16At(kNewHeaderOffsetField);
  if (!headerOffset) return Container::None;
  const auto signature = ByteCursor(ReadBytesAt(stream, *headerOffset, 2)).U16At(0);
  if (signature == kPeSignature) return Container::PeModule;
  if (signature == kNeSignature) return Container::NeModule;
  return Container::None;
}

FileIcons ReadFileIcons(ByteStream& stream, const std::filesystem::path& name,
                        const FileIconsOptions& options) {
  switch (DetectModule(stream)) {
    case Container::PeModule: {
      const auto module = PeResources::Open(std::make_unique<BorrowedStream>(stream));
      if (!module) throw IconLibraryError("Not a valid 32-bit module");
      return ReadPeIcons(*module, options);
    }
    case Container::NeModule:
      return ReadNeIcons(stream, name, options);
    default:
      break;
  }
  return ReadFileByName(stream, name.string(), options);
}

}  // namespace pictarix
